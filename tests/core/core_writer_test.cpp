// The vector writers' number formatting gives printf's characters; the
// file sink's buffer passes every byte on, in order, by the time it closes.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include "core/fixed.h"
#include "core/sink.h"

namespace {

std::string fixed(float v, int d) {
  char buf[128];
  return std::string(buf, korvan::fmtFixed(buf, v, d));
}

std::string printed(const char* fmt, double v) {
  char buf[512];
  std::snprintf(buf, sizeof buf, fmt, v);
  return buf;
}

TEST(FixedTest, FormatsLikePrintf) {
  // ties, negative zero, values that round to zero, huge and non-finite ones
  const float cases[] = {0.0f,   -0.0f,  0.005f,  0.015f,  0.125f,  -0.125f, 0.0625f, 2.675f,
                         -0.004f, 1e-30f, 999.995f, 1e20f, -3e38f,  INFINITY, -INFINITY, NAN};
  for (float v : cases) {
    EXPECT_EQ(fixed(v, 2), printed("%.2f", v)) << v;
    EXPECT_EQ(fixed(v, 3), printed("%.3f", v)) << v;
  }
  std::mt19937 rng(3);
  for (int i = 0; i < 200000; ++i) {
    std::uint32_t bits = rng();
    float any;
    std::memcpy(&any, &bits, sizeof any);
    float page = static_cast<float>(static_cast<int>(bits % 4000000) - 1000000) / 1000.0f;
    for (float v : {any, page}) {
      ASSERT_EQ(fixed(v, 2), printed("%.2f", v)) << v;
      ASSERT_EQ(fixed(v, 3), printed("%.3f", v)) << v;
    }
  }
  for (int n : {0, 7, -7, 12345, -99999, INT_MAX, INT_MIN}) {
    char buf[32];
    EXPECT_EQ(std::string(buf, korvan::fmtInt(buf, n)), std::to_string(n));
    char want[32];
    std::snprintf(want, sizeof want, "%5d", n);
    EXPECT_EQ(std::string(buf, korvan::fmtInt(buf, n, 5)), want);
  }
}

TEST(SinkTest, BufferedBytesReachTheFile) {
  std::string expected;
  std::string name = ::testing::TempDir() + "korvan_sink_test.bin";
  std::FILE* f = std::fopen(name.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  korvan::ByteSink sink(f);
  std::mt19937 rng(5);
  // small pieces, pieces that straddle the buffer and pieces larger than it
  for (std::size_t n : {1u, 7u, 65535u, 3u, 65536u, 200000u, 11u, 65530u, 9u}) {
    std::string piece(n, '\0');
    for (char& c : piece) c = static_cast<char>(rng());
    sink.write(piece.data(), piece.size());
    expected += piece;
  }
  sink.printf("%d", 42);
  expected += "42";
  EXPECT_EQ(sink.count(), expected.size());
  ASSERT_TRUE(sink.close());
  std::FILE* in = std::fopen(name.c_str(), "rb");
  ASSERT_NE(in, nullptr);
  std::string got(expected.size() + 1, '\0');
  got.resize(std::fread(got.data(), 1, got.size(), in));
  std::fclose(in);
  std::remove(name.c_str());
  EXPECT_TRUE(got == expected);
}

}  // namespace
