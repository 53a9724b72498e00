// The everyday plot: an axis system with a title and a grid, 10 curves of
// 10^5 points, markers on one of them, and a legend, written as PDF and
// PNG. Reports the time of one plot, the file size and the peak resident
// memory of the process (run one format per process for its own peak:
// --benchmark_filter=PDF or =PNG).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/state.h"
#include "korvan.h"
#include "temp_dir.h"

namespace {

constexpr int kCurves = 10;
constexpr int kPoints = 100000;

struct Data {
  std::vector<float> x;
  std::vector<std::vector<float>> y;
  Data() : x(kPoints), y(kCurves, std::vector<float>(kPoints)) {
    for (int i = 0; i < kPoints; ++i) x[static_cast<std::size_t>(i)] = 10.0f * i / (kPoints - 1);
    for (int k = 0; k < kCurves; ++k)
      for (int i = 0; i < kPoints; ++i) {
        const float t = x[static_cast<std::size_t>(i)];
        y[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)] =
            std::sin(t * (1.0f + 0.3f * k)) * std::exp(-0.1f * t) + 0.2f * k - 1.0f;
      }
  }
};

void plot(const Data& d, const char* format) {
  static const char* const colours[] = {"RED", "GREEN", "BLUE", "CYAN", "MAGENTA", "YELLOW", "ORANGE", "WHITE", "RED", "BLUE"};
  std::remove("korvan.pdf");
  std::remove("korvan.png");
  metafl(format);
  korini();
  korvan::qqgglb().protocolOn = 0;
  name("Time", "X");
  name("Signal", "Y");
  graf(0, 10, 0, 2, -2, 2, -2, 1);
  title("Ten signals");
  color("CYAN");
  dot();
  grid(1, 1);
  solid();
  for (int k = 0; k < kCurves; ++k) {
    char n[16];
    std::snprintf(n, sizeof n, "signal %d", k + 1);
    color(colours[k]);
    crvnam(n);
    // markers on the first curve, at every point as asked
    crvsym(k == 0 ? 3 : -1);
    curve(d.x.data(), d.y[static_cast<std::size_t>(k)].data(), kPoints);
  }
  crvsym(-1);
  color("FORE");
  legend("OUT");
  endgrf();
  korfin();
}

long peakKiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

void everyday(benchmark::State& state, const char* format, const char* file) {
  TempDir dir;
  static const Data data;
  for (auto _ : state) plot(data, format);
  std::error_code ec;
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file, ec));
  state.counters["peak_KiB"] = static_cast<double>(peakKiB());
  state.SetItemsProcessed(state.iterations() * kCurves * kPoints);
}

void BM_EverydayPlotPDF(benchmark::State& state) { everyday(state, "PDF", "korvan.pdf"); }
void BM_EverydayPlotPNG(benchmark::State& state) { everyday(state, "PNG", "korvan.png"); }

BENCHMARK(BM_EverydayPlotPDF)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_EverydayPlotPNG)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
