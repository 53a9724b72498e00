// The stroke path: solid, dashed and emulated wide polylines through the
// stroke buffer and the clipper to a driver that only counts.
#include <benchmark/benchmark.h>

#include <cmath>

#include "core/state.h"
#include "devices/driver.h"
#include "draw/pipeline.h"
#include "korvan.h"

namespace {

using namespace korvan;

class CountingDriver : public Driver {
 public:
  void point(Global&, float, float, int) override { ++points; }
  void box(Global&, float, float, float, float, int) override {}
  long points = 0;
};

Global& setUp() {
  qqsglb(1);
  metafl("VIRT");
  korini();
  Global& g = qqgglb();
  g.driver->finish(g);
  g.driver.reset();
  g.driver.reset(new CountingDriver());
  return g;
}

void tearDown(Global& g) {
  g.driver.reset();
  g.driver.reset();
  g.level = 0;
  qqsglb(1);
}

// A wave across the page that leaves the clipping window at both sides.
void wave(Global& g, benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    strtqq(g, -100.0f, 1000.0f);
    for (int i = 1; i < n; ++i) {
      float t = static_cast<float>(i) / static_cast<float>(n);
      connqq(g, -100.0f + 3200.0f * t, 1000.0f + 400.0f * std::sin(40.0f * t));
    }
    qqstrk(g);
  }
  long points = static_cast<CountingDriver*>(g.driver.get())->points;
  state.counters["points/s"] =
      benchmark::Counter(static_cast<double>(points), benchmark::Counter::kIsRate);
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_SolidPolyline(benchmark::State& state) {
  Global& g = setUp();
  wave(g, state);
  tearDown(g);
}
BENCHMARK(BM_SolidPolyline)->Arg(1000)->Arg(100000);

void BM_DashedPolyline(benchmark::State& state) {
  Global& g = setUp();
  chndsh();
  wave(g, state);
  tearDown(g);
}
BENCHMARK(BM_DashedPolyline)->Arg(1000)->Arg(100000);

void BM_WidePolyline(benchmark::State& state) {
  Global& g = setUp();
  linwid(10);
  wave(g, state);
  tearDown(g);
}
BENCHMARK(BM_WidePolyline)->Arg(1000)->Arg(100000);

}  // namespace
