// The Delaunay triangulation of delaun against qhull's on the same random
// points (10^5 and 10^6). qhull is linked into this benchmark only.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <vector>

extern "C" {
#include <libqhull_r/qhull_ra.h>
}

#include "korvan.h"

namespace {

struct Cloud {
  std::vector<float> x, y;
  std::vector<double> xy;
  explicit Cloud(int n) : x(n), y(n), xy(2 * static_cast<std::size_t>(n)) {
    std::mt19937 rng(1);
    std::uniform_real_distribution<float> u(0, 1);
    for (int i = 0; i < n; ++i) {
      x[i] = u(rng);
      y[i] = u(rng);
      xy[2 * i] = x[i];
      xy[2 * i + 1] = y[i];
    }
  }
};

void BM_Delaun(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const Cloud c(n);
  std::vector<int> a(2 * n), b(2 * n), t(2 * n);
  int nt = 0;
  for (auto _ : state) nt = delaun(c.x.data(), c.y.data(), n, a.data(), b.data(), t.data(), 2 * n);
  state.counters["triangles"] = nt;
}
BENCHMARK(BM_Delaun)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_Qhull(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  Cloud c(n);
  int nt = 0;
  for (auto _ : state) {
    qhT qh_qh;
    qhT* qh = &qh_qh;
    qh_zero(qh, stderr);
    char options[] = "qhull d Qt Qbb Qc Qz Q12";
    if (qh_new_qhull(qh, 2, n, c.xy.data(), False, options, nullptr, stderr) == 0) {
      nt = 0;
      facetT* facet;
      FORALLfacets {
        if (!facet->upperdelaunay) ++nt;
      }
    }
    qh_freeqhull(qh, !qh_ALL);
    int curlong, totlong;
    qh_memfreeshort(qh, &curlong, &totlong);
  }
  state.counters["triangles"] = nt;
}
BENCHMARK(BM_Qhull)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
