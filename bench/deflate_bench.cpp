// The compressor of PDF content streams and PNG image data: zlib and
// libdeflate (zlib format) at several levels, on data like the library
// writes: a content stream of ellipse paths and the filtered rows of an
// 853 x 603 palette raster with ellipses. Reports bytes in and out.
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "devices/raster/raster.h"

namespace {

// 300000 bytes, the size of one collected content stream: closed ellipses
// of 1000 segments, one colour and path each.
const std::vector<std::uint8_t>& contentStream() {
  static std::vector<std::uint8_t> s;
  if (!s.empty()) return s;
  std::mt19937 rng(17);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  char line[64];
  while (s.size() < 300000) {
    double a = 14 + 250 * u(rng), b = 10 + 0.9 * a * u(rng);
    double cx = 50 + 740 * u(rng), cy = 50 + 490 * u(rng);
    int n = std::snprintf(line, sizeof line, "%5.3f %5.3f %5.3f RG\n", u(rng), u(rng), u(rng));
    s.insert(s.end(), line, line + n);
    for (int i = 0; i <= 1000; ++i) {
      double t = 2 * M_PI * (i % 1000) / 1000;
      n = std::snprintf(line, sizeof line, "%.2f %.2f %s\n", cx + a * std::cos(t),
                        cy + b * std::sin(t), i == 0 ? "m" : "l");
      s.insert(s.end(), line, line + n);
    }
    s.insert(s.end(), {'S', '\n'});
  }
  s.resize(300000);
  return s;
}

// The PNG image data: each row behind its filter byte 0.
const std::vector<std::uint8_t>& rasterRows() {
  static std::vector<std::uint8_t> s;
  if (!s.empty()) return s;
  korvan::VirtualRaster r;
  int w = 0, h = 0;
  r.qqvini(2969, 2099, &w, &h, 0, 0, 0);
  std::mt19937 rng(17);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  for (int e = 0; e < 200; ++e) {
    r.qqvclr(1 + e % 255);
    double a = 15 + 250 * u(rng), b = 9 + 0.9 * a * u(rng);
    double cx = w * u(rng), cy = h * u(rng);
    int px = static_cast<int>(cx + a), py = static_cast<int>(cy);
    for (int i = 1; i <= 1000; ++i) {
      double t = 2 * M_PI * i / 1000;
      int x = static_cast<int>(cx + a * std::cos(t)), y = static_cast<int>(cy + b * std::sin(t));
      r.qqvlin(px, py, x, y);
      px = x;
      py = y;
    }
  }
  s.resize(static_cast<std::size_t>(w + 1) * h);
  for (int y = 0; y < h; ++y) {
    s[static_cast<std::size_t>(w + 1) * y] = 0;
    r.qqvrdr(s.data() + static_cast<std::size_t>(w + 1) * y + 1, 0, y, w, 1);
  }
  return s;
}

const std::vector<std::uint8_t>& input(int which) {
  return which == 0 ? contentStream() : rasterRows();
}

void BM_Zlib(benchmark::State& state) {
  const auto& in = input(static_cast<int>(state.range(0)));
  int level = static_cast<int>(state.range(1));
  std::vector<std::uint8_t> out(compressBound(in.size()));
  uLongf n = 0;
  for (auto _ : state) {
    n = out.size();
    compress2(out.data(), &n, in.data(), in.size(), level);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(in.size()));
  state.counters["out"] = static_cast<double>(n);
  state.counters["ratio"] = static_cast<double>(in.size()) / static_cast<double>(n);
}

void BM_Libdeflate(benchmark::State& state) {
  const auto& in = input(static_cast<int>(state.range(0)));
  int level = static_cast<int>(state.range(1));
  libdeflate_compressor* c = libdeflate_alloc_compressor(level);
  std::vector<std::uint8_t> out(libdeflate_zlib_compress_bound(c, in.size()));
  std::size_t n = 0;
  for (auto _ : state) n = libdeflate_zlib_compress(c, in.data(), in.size(), out.data(), out.size());
  libdeflate_free_compressor(c);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(in.size()));
  state.counters["out"] = static_cast<double>(n);
  state.counters["ratio"] = static_cast<double>(in.size()) / static_cast<double>(n);
}

// input 0 the content stream, 1 the raster rows; then the level
void levels(benchmark::internal::Benchmark* b) {
  for (int which : {0, 1})
    for (int level : {1, 2, 3, 4, 6, 9}) b->Args({which, level});
  b->ArgNames({"png", "level"});
}
BENCHMARK(BM_Zlib)->Apply(levels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Libdeflate)->Apply(levels)->Unit(benchmark::kMicrosecond);

}  // namespace
