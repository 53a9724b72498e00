// Characters per second for a page of text (50 lines of 80 characters) in
// both stroke fonts, written to PostScript and to the PNG raster, and the
// cost of measuring a string. Glyphs are found by walking the records of
// their alphabet from its start, so a character late in a table (the
// accented letters of the complex font) costs more than an early one.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/state.h"
#include "korvan.h"
#include "temp_dir.h"

namespace {

constexpr int kLines = 50, kColumns = 80;

std::string line(int k, bool accented) {
  std::string s;
  for (int i = 0; i < kColumns; ++i)
    s += accented && i % 4 == 0 ? static_cast<char>(127 + (i + k) % 114)
                                : static_cast<char>(33 + (i * 7 + k) % 94);
  return s;
}

void page(benchmark::State& state, const char* keyword, const char* file, bool complex,
          bool accented) {
  TempDir dir;
  std::string lines[kLines];
  for (int k = 0; k < kLines; ++k) lines[k] = line(k, accented);
  for (auto _ : state) {
    korvan::qqsglb(1);
    metafl(keyword);
    korini();
    korvan::qqgglb().protocolOn = 0;
    if (complex) complx();
    height(30);
    for (int k = 0; k < kLines; ++k) messag(lines[k].c_str(), 40, 40 + 40 * k);
    korfin();
    std::remove(file);
  }
  state.SetItemsProcessed(state.iterations() * kLines * kColumns);
}

void BM_PagePsDefault(benchmark::State& s) { page(s, "PS", "korvan.ps", false, false); }
void BM_PagePsComplex(benchmark::State& s) { page(s, "PS", "korvan.ps", true, false); }
void BM_PagePsAccented(benchmark::State& s) { page(s, "PS", "korvan.ps", true, true); }
void BM_PagePngDefault(benchmark::State& s) { page(s, "PNG", "korvan.png", false, false); }
void BM_PagePngComplex(benchmark::State& s) { page(s, "PNG", "korvan.png", true, false); }

void BM_Measure(benchmark::State& state) {
  korvan::qqsglb(1);
  metafl("VIRT");
  korini();
  if (state.range(0) == 3) complx();
  std::string s = line(0, state.range(0) == 3);
  for (auto _ : state) benchmark::DoNotOptimize(nlmess(s.c_str()));
  state.SetItemsProcessed(state.iterations() * kColumns);
  korvan::qqgglb().protocolOn = 0;
  korfin();
}

}  // namespace

BENCHMARK(BM_PagePsDefault)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PagePsComplex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PagePsAccented)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PagePngDefault)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PagePngComplex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Measure)->Arg(1)->Arg(3);
