// The everyday plot: an axis system with 10 curves of 10^5 points each
// (smooth: damped sines of different frequencies), to PDF, SVG and
// PostScript, with the curves simplified (crvtol's default) and without
// (crvtol(0)). Reports the time and the bytes of the file.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "core/state.h"
#include "korvan.h"
#include "temp_dir.h"

namespace {

constexpr int kCurves = 10;
constexpr int kPoints = 100000;

struct Curves {
  std::vector<float> x, y[kCurves];
  Curves() {
    x.resize(kPoints);
    for (int i = 0; i < kPoints; ++i) x[i] = 10.0f * static_cast<float>(i) / (kPoints - 1);
    for (int k = 0; k < kCurves; ++k) {
      y[k].resize(kPoints);
      for (int i = 0; i < kPoints; ++i)
        y[k][i] = static_cast<float>(std::exp(-0.05 * k * x[i]) *
                                     std::sin((1.0 + 0.5 * k) * x[i] + 0.3 * k));
    }
  }
};

const Curves& curves() {
  static const Curves c;
  return c;
}

// One plot; returns the bytes of the file.
std::uintmax_t plot(const char* keyword, const char* file, bool simplified) {
  const Curves& c = curves();
  korvan::qqsglb(1);
  metafl(keyword);
  korini();
  korvan::qqgglb().protocolOn = 0;
  if (!simplified) crvtol(0.0f);
  graf(0.0f, 10.0f, 0.0f, 2.0f, -1.0f, 1.0f, -1.0f, 0.5f);
  for (int k = 0; k < kCurves; ++k) {
    color(k % 2 ? "RED" : "BLUE");
    curve(c.x.data(), c.y[k].data(), kPoints);
  }
  endgrf();
  korfin();
  std::error_code ec;
  auto bytes = std::filesystem::file_size(file, ec);
  std::remove(file);
  return ec ? 0 : bytes;
}

void run(benchmark::State& state, const char* keyword, const char* file) {
  TempDir dir;
  const bool simplified = state.range(0) != 0;
  std::uintmax_t bytes = 0;
  for (auto _ : state) bytes = plot(keyword, file, simplified);
  state.SetItemsProcessed(state.iterations() * kCurves * kPoints);
  state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_EverydayPdf(benchmark::State& s) { run(s, "PDF", "korvan.pdf"); }
void BM_EverydaySvg(benchmark::State& s) { run(s, "SVG", "korvan.svg"); }
void BM_EverydayPostScript(benchmark::State& s) { run(s, "PS", "korvan.ps"); }

// Argument: 1 simplified (the default), 0 every point.
BENCHMARK(BM_EverydayPdf)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EverydaySvg)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EverydayPostScript)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
