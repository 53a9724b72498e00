// Speed of the software fills and figures on the file-less raster output:
// a hatched polygon of many points, large circles, filled symbols and lines
// through shielded regions.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "core/state.h"
#include "korvan.h"

namespace {

struct Plot {
  Plot() {
    korvan::qqsglb(1);
    metafl("VIRT");
    korini();
    korvan::qqgglb().protocolOn = 0;
  }
  ~Plot() {
    korfin();
    korvan::qqsglb(1);
  }
};

void BM_HatchedPolygon(benchmark::State& state) {
  Plot plot;
  int n = static_cast<int>(state.range(0));
  std::vector<int> x(static_cast<std::size_t>(n)), y(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    double a = 2.0 * M_PI * i / n;
    x[static_cast<std::size_t>(i)] = static_cast<int>(1400 + 900 * std::cos(a));
    y[static_cast<std::size_t>(i)] = static_cast<int>(1000 + 900 * std::sin(a));
  }
  shdpat(5);
  for (auto _ : state) areaf(x.data(), y.data(), n);
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_HatchedPolygon)->Arg(100)->Arg(10000)->Arg(100000);

void BM_Circle(benchmark::State& state) {
  Plot plot;
  int r = static_cast<int>(state.range(0));
  for (auto _ : state) arcell(1400, 1000, r, r, 0.0f, 360.0f, 0.0f);
}
BENCHMARK(BM_Circle)->Arg(100)->Arg(900);

void BM_FilledSymbol(benchmark::State& state) {
  Plot plot;
  for (auto _ : state) symbol(21, 1400, 1000);
}
BENCHMARK(BM_FilledSymbol);

void BM_LineThroughShields(benchmark::State& state) {
  Plot plot;
  for (int i = 0; i < 100; ++i) shlrec(20 + 25 * i, 900, 10, 200);
  for (auto _ : state) line(0, 1000, 2969, 1000);
}
BENCHMARK(BM_LineThroughShields);

}  // namespace
