// An animation as the viewers draw it (page fill, three slowly turning
// ellipses of width 4, the star) written as one animated GIF against the
// same frames written as separate PNG files: time and bytes per frame.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/state.h"
#include "korvan.h"
#include "temp_dir.h"

namespace {

constexpr int kFrames = 50;

// korini, without the end-of-run protocol on the console.
void begin(const char* format) {
  metafl(format);
  korini();
  korvan::qqgglb().protocolOn = 0;
}

void frame(int k) {
  static const char* const colour[3] = {"RED", "GREEN", "YELLOW"};
  pagfll(0);
  linwid(4);
  for (int i = 2; i >= 0; --i) {
    color(colour[i]);
    int a = 250 + 220 * i, b = a - 20 - 5 * i;
    arcell(1485 + 30 * i, 1050, a, b, 0.0f, 360.0f, 0.2f * k + 17.0f * i);
  }
  symbol(21, 1485, 1050);
}

std::uintmax_t sizeOf(const char* name) {
  std::error_code ec;
  std::uintmax_t n = std::filesystem::file_size(name, ec);
  return ec ? 0 : n;
}

void BM_AnimatedGif(benchmark::State& state) {
  TempDir dir;
  std::uintmax_t bytes = 0;
  for (auto _ : state) {
    begin("AGIF");
    for (int k = 0; k < kFrames; ++k) {
      frame(k);
      endgrf();
    }
    korfin();
    bytes = sizeOf("korvan.gif");
    std::remove("korvan.gif");
  }
  state.counters["bytes/frame"] = static_cast<double>(bytes) / kFrames;
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kFrames, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_AnimatedGif)->Unit(benchmark::kMillisecond);

void BM_SeparatePngs(benchmark::State& state) {
  TempDir dir;
  std::uintmax_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (int k = 0; k < kFrames; ++k) {
      begin("PNG");
      frame(k);
      korfin();
      bytes += sizeOf("korvan.png");
      std::remove("korvan.png");
    }
  }
  state.counters["bytes/frame"] = static_cast<double>(bytes) / kFrames;
  state.counters["frames/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kFrames, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SeparatePngs)->Unit(benchmark::kMillisecond);

}  // namespace
