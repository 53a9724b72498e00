// The PNG and GIF writers on a plot of the default raster size, 853 x 603,
// in palette and true-colour mode. The files go to memory.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "core/sink.h"
#include "devices/image/image.h"
#include "devices/raster/raster.h"

namespace {

using korvan::ImageInfo;
using korvan::VirtualRaster;

// A plot like the orbit viewers draw: a dark page, a border, nested ellipses
// in several colours and a few filled boxes.
void drawPlot(VirtualRaster& r, int mode) {
  int w = 0, h = 0;
  r.qqvini(2969, 2099, &w, &h, 0, 0, mode);
  static int table[256];
  for (int i = 0; i < 256; ++i) table[i] = ((i * 5) & 255) << 16 | ((i * 3) & 255) << 8 | (255 - i);
  r.qqvvlt(table);
  r.qqvfll(0, 0, w - 1, h - 1, 0);
  r.qqvclr(255);
  r.qqvlin(0, 0, w - 1, 0);
  r.qqvlin(w - 1, 0, w - 1, h - 1);
  r.qqvlin(w - 1, h - 1, 0, h - 1);
  r.qqvlin(0, h - 1, 0, 0);
  for (int k = 1; k <= 12; ++k) {
    r.qqvclr(20 * k);
    double a = 30.0 * k, b = 22.0 * k;
    int px = static_cast<int>(w / 2 + a), py = h / 2;
    for (int i = 1; i <= 1000; ++i) {
      double t = 2 * M_PI * i / 1000;
      int x = static_cast<int>(w / 2 + a * std::cos(t)), y = static_cast<int>(h / 2 + b * std::sin(t));
      r.qqvlin(px, py, x, y);
      px = x;
      py = y;
    }
  }
  for (int k = 0; k < 8; ++k) r.qqvfll(20 + 30 * k, 20, 40 + 30 * k, 40, 30 * k + 7);
}

ImageInfo specOf(const VirtualRaster& r, int device) {
  ImageInfo s;
  s.device = r.trueColour() ? -device : device;
  s.byteOrder = korvan::qqpord();
  s.width = r.width();
  s.height = r.height();
  s.table = r.table();
  return s;
}

void BM_Png(benchmark::State& state) {
  VirtualRaster r;
  drawPlot(r, static_cast<int>(state.range(0)));
  ImageInfo info = specOf(r, 604);
  std::vector<std::uint8_t> file;
  for (auto _ : state) {
    file.clear();
    korvan::ByteSink sink(&file);
    benchmark::DoNotOptimize(korvan::qqppng(sink, info, r, 0));
  }
  state.counters["bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_Png)->Arg(0)->Arg(1)->ArgName("truecolour")->Unit(benchmark::kMillisecond);

void BM_Gif(benchmark::State& state) {
  VirtualRaster r;
  drawPlot(r, static_cast<int>(state.range(0)));
  ImageInfo info = specOf(r, 607);
  std::vector<std::uint8_t> file;
  for (auto _ : state) {
    file.clear();
    korvan::ByteSink sink(&file);
    benchmark::DoNotOptimize(korvan::qqpgif(sink, info, r, 0, 0));
  }
  state.counters["bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_Gif)->Arg(0)->Arg(1)->ArgName("truecolour")->Unit(benchmark::kMillisecond);

}  // namespace
