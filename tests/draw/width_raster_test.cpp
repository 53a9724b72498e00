// Wide lines as they come out in a real image: a PNG file read back with
// netpbm's pngtopnm, and the stroke thickness counted in pixels.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "korvan.h"
#include "support/plot_fixture.h"

namespace korvan::test {
namespace {

struct Image {
  int w = 0, h = 0;
  std::vector<std::uint8_t> rgb;
  bool red(int x, int y) const {
    const unsigned char* p = &rgb[3 * (static_cast<std::size_t>(y) * w + x)];
    return p[0] > 200 && p[1] < 60 && p[2] < 60;
  }
  bool green(int x, int y) const {
    const unsigned char* p = &rgb[3 * (static_cast<std::size_t>(y) * w + x)];
    return p[1] > 200 && p[0] < 60 && p[2] < 60;
  }
};

bool readPpm(const std::string& name, Image& img) {
  return korvan::test::readPpm(name, img.w, img.h, img.rgb);
}

using WidthRasterTest = PlotTest;

TEST_F(WidthRasterTest, EmulatedWidthFillsTheStrokeInPixels) {
  metafl("PNG");
  korini();
  color("RED");
  linwid(40);
  line(300, 700, 2600, 700);
  color("GREE");
  linwid(1);
  line(300, 1500, 2600, 1500);
  Global& g = qqgglb();
  g.protocolOn = 0;
  const float s = g.deviceScale;  // pixels per plot unit
  ::testing::internal::CaptureStdout();
  korfin();
  ::testing::internal::GetCapturedStdout();
  ASSERT_TRUE(exists("korvan.png"));
  ASSERT_EQ(std::system("pngtopnm korvan.png > korvan.ppm 2> /dev/null"), 0);
  Image img;
  ASSERT_TRUE(readPpm("korvan.ppm", img));

  // Across the wide line, in a few columns: one run of red pixels as thick
  // as 40 plot units, without holes.
  for (int ux : {800, 1450, 2100}) {
    int x = static_cast<int>(ux * s + 0.5f);
    int first = -1, last = -1, count = 0;
    for (int y = 0; y < img.h; ++y)
      if (img.red(x, y)) {
        if (first < 0) first = y;
        last = y;
        ++count;
      }
    ASSERT_GE(first, 0) << "column " << x;
    EXPECT_EQ(count, last - first + 1) << "a hole in the stroke at column " << x;
    EXPECT_NEAR(count, 40 * s, 2.0) << "column " << x;
    EXPECT_NEAR(0.5 * (first + last), 700 * s, 1.5);
  }
  // The square cap reaches 20 units beyond the end point.
  int y = static_cast<int>(700 * s + 0.5f);
  int right = -1;
  for (int x = 0; x < img.w; ++x)
    if (img.red(x, y)) right = x;
  EXPECT_NEAR(right, 2620 * s, 1.5);
  // The thin line stays thin.
  int x = static_cast<int>(1450 * s + 0.5f), thin = 0;
  for (int yy = 0; yy < img.h; ++yy) thin += img.green(x, yy);
  EXPECT_GE(thin, 1);
  EXPECT_LE(thin, 2);
}

}  // namespace
}  // namespace korvan::test
