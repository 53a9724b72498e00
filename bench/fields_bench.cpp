// Speed of the fields layer: contours and filled bands of a 1000 x 1000
// grid at 20 levels on the file-less raster output, and the Delaunay
// triangulation of 10^5 and 10^6 random points, a shaded 200 x 200 surface
// written to PNG and PDF, its mesh with hidden lines to PDF, and the bands
// written to PDF, SVG and PostScript with the files' sizes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

#include "core/state.h"
#include "korvan.h"
#include "temp_dir.h"

namespace {

struct Plot {
  Plot() {
    korvan::qqsglb(1);
    metafl("VIRT");
    korini();
    korvan::qqgglb().protocolOn = 0;
    axspos(300, 1900);
    axslen(1700, 1700);
    graf(0, 1, 0, 0.2f, 0, 1, 0, 0.2f);
  }
  ~Plot() {
    endgrf();
    korfin();
    korvan::qqsglb(1);
  }
};

// A field with peaks, saddles and long closed lines.
struct Field {
  int n;
  std::vector<float> x, y, z, levels;
  explicit Field(int side) : n(side), x(side), y(side), z(static_cast<std::size_t>(side) * side) {
    for (int i = 0; i < n; ++i) x[i] = y[i] = static_cast<float>(i) / (n - 1);
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < n; ++i)
        z[i + static_cast<std::size_t>(j) * n] =
            std::sin(9 * x[i]) * std::cos(7 * y[j]) + 0.5f * std::sin(23 * x[i] * y[j]);
    for (int k = 0; k <= 20; ++k) levels.push_back(-1.5f + 3.0f * k / 20);
  }
};

void BM_Contours(benchmark::State& state) {
  const Field f(static_cast<int>(state.range(0)));
  Plot plot;
  for (auto _ : state)
    for (int k = 0; k < 20; ++k) isolin(f.x.data(), f.n, f.y.data(), f.n, f.z.data(), f.levels[k]);
  state.SetItemsProcessed(state.iterations() * f.n * f.n * 20);
}
BENCHMARK(BM_Contours)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_Bands(benchmark::State& state) {
  const Field f(static_cast<int>(state.range(0)));
  Plot plot;
  for (auto _ : state) isobnd(f.x.data(), f.n, f.y.data(), f.n, f.z.data(), f.levels.data(), 21);
  state.SetItemsProcessed(state.iterations() * f.n * f.n);
}
BENCHMARK(BM_Bands)->Arg(1000)->Unit(benchmark::kMillisecond);

// The same bands written to a vector file: the whole plot, with the file's
// size as a counter (each band's regions go out as whole rings).
void BM_BandsFile(benchmark::State& state, const char* format, const char* name) {
  const Field f(static_cast<int>(state.range(0)));
  TempDir dir;
  double bytes = 0;
  for (auto _ : state) {
    korvan::qqsglb(1);
    metafl(format);
    korini();
    korvan::qqgglb().protocolOn = 0;
    axspos(300, 1900);
    axslen(1700, 1700);
    graf(0, 1, 0, 0.2f, 0, 1, 0, 0.2f);
    isobnd(f.x.data(), f.n, f.y.data(), f.n, f.z.data(), f.levels.data(), 21);
    endgrf();
    korfin();
    std::error_code ec;
    bytes = static_cast<double>(std::filesystem::file_size(name, ec));
    std::remove(name);
  }
  korvan::qqsglb(1);
  state.counters["bytes"] = bytes;
  state.SetItemsProcessed(state.iterations() * f.n * f.n);
}
BENCHMARK_CAPTURE(BM_BandsFile, pdf, "PDF", "korvan.pdf")->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BandsFile, svg, "SVG", "korvan.svg")->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BandsFile, ps, "POST", "korvan.psc")->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_Delaunay(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::mt19937 rng(1);
  std::uniform_real_distribution<float> u(0, 1);
  std::vector<float> x(n), y(n);
  for (int i = 0; i < n; ++i) {
    x[i] = u(rng);
    y[i] = u(rng);
  }
  std::vector<int> a(2 * n), b(2 * n), c(2 * n);
  for (auto _ : state)
    benchmark::DoNotOptimize(delaun(x.data(), y.data(), n, a.data(), b.data(), c.data(), 2 * n));
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_Delaunay)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A grid of 10^6 points: every square co-circular, the hard case for the
// in-circle test.
void BM_DelaunayGrid(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0)), n = side * side;
  std::vector<float> x, y;
  for (int j = 0; j < side; ++j)
    for (int i = 0; i < side; ++i) {
      x.push_back(static_cast<float>(i));
      y.push_back(static_cast<float>(j));
    }
  std::vector<int> a(2 * n), b(2 * n), c(2 * n);
  for (auto _ : state)
    benchmark::DoNotOptimize(delaun(x.data(), y.data(), n, a.data(), b.data(), c.data(), 2 * n));
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_DelaunayGrid)->Arg(1000)->Unit(benchmark::kMillisecond);

// A 200 x 200 surface coloured by height (or its mesh), the whole plot to a
// file.
void BM_Surface(benchmark::State& state, const char* format, bool mesh) {
  const int n = 200;
  std::vector<float> x(n), y(n), z(static_cast<std::size_t>(n) * n);
  for (int i = 0; i < n; ++i) x[i] = y[i] = -3.0f + 6.0f * i / (n - 1);
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i)
      z[i + static_cast<std::size_t>(j) * n] =
          std::exp(-(x[i] * x[i] + y[j] * y[j]) / 2) + 0.2f * std::sin(3 * x[i]) * std::cos(2 * y[j]);
  TempDir dir;
  for (auto _ : state) {
    korvan::qqsglb(1);
    metafl(format);
    korini();
    korvan::qqgglb().protocolOn = 0;
    axspos(400, 1950);
    axslen(1800, 1800);
    axes3d(-3, 3, -3, 1, -3, 3, -3, 1, -0.3f, 1.3f, 0, 0.5f);
    if (mesh)
      mesh3d(x.data(), n, y.data(), n, z.data());
    else
      surf3d(x.data(), n, y.data(), n, z.data());
    endgrf();
    korfin();
    std::remove(format[1] == 'N' ? "korvan.png" : "korvan.pdf");
  }
  korvan::qqsglb(1);
  state.SetItemsProcessed(state.iterations() * (n - 1) * (n - 1));
}
BENCHMARK_CAPTURE(BM_Surface, png, "PNG", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Surface, pdf, "PDF", false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Surface, mesh_pdf, "PDF", true)->Unit(benchmark::kMillisecond);

}  // namespace
