// Writing PostScript and SVG files of many line segments: the cost per
// segment must stay flat as the plot grows (path buffers of 50 points, the
// line buffer, no re-scanning of what was written).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/state.h"
#include "devices/dispatch.h"
#include "korvan.h"
#include "temp_dir.h"

namespace {

// One plot of n segments: a zigzag polyline over the page with a colour
// change every 1000 segments, so that paths and groups are cut as usual.
void plot(const char* keyword, const char* file, long n) {
  korvan::qqsglb(1);
  metafl(keyword);
  korini();
  korvan::Global& g = korvan::qqgglb();
  g.protocolOn = 0;
  korvan::xjdraw(g, 0.0f, 0.0f, 3);
  for (long k = 1; k <= n; ++k) {
    float x = static_cast<float>(k % 2900);
    float y = static_cast<float>((k * 7) % 2000);
    korvan::xjdraw(g, x, y, 2);
    if (k % 1000 == 0) color(k % 2000 ? "RED" : "BLUE");
  }
  korfin();
  std::remove(file);
}

void BM_PostScriptSegments(benchmark::State& state) {
  TempDir dir;
  for (auto _ : state) plot("POST", "korvan.psc", state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}

void BM_SvgSegments(benchmark::State& state) {
  TempDir dir;
  for (auto _ : state) plot("SVG", "korvan.svg", state.range(0));
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_PostScriptSegments)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_SvgSegments)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
