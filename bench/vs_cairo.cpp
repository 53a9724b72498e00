// The library against cairo, side by side in one process: the same random
// closed ellipses of 1000 segments, width 4 plot units, one colour per
// ellipse, on the default page, drawn through the library's stroke pipeline
// and through cairo, to PDF, SVG, PostScript and PNG (no antialiasing), and
// to PNG anti-aliased: the library's smooth mode against cairo's default
// antialiasing. At the end a table gives both rates, their ratio and the
// bytes written. Beside them stands the floor of the text formats: the same
// device coordinates formatted with the library's own formatter into memory
// and written to a file, nothing else; "x floor" is how many times longer
// the library takes than that.
//
//   vs_cairo [--benchmark_filter=...]   (Google Benchmark options)
//   vs_cairo --once korvan|cairo|floor PDF|SVG|PostScript|PNG|PNG-smooth ellipses
//       one plot outside the benchmark, for instruction counts:
//       valgrind --tool=callgrind --toggle-collect='*Plot*' vs_cairo --once ...
#include <benchmark/benchmark.h>
#include <cairo-pdf.h>
#include <cairo-ps.h>
#include <cairo-svg.h>
#include <cairo.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/fixed.h"
#include "core/state.h"
#include "draw/colour.h"
#include "draw/pipeline.h"
#include "korvan.h"
#include "temp_dir.h"

namespace {

constexpr int kSegments = 1000;
constexpr double kPageW = 2969.0, kPageH = 2099.0;
constexpr double kWidth = 4.0;  // plot units

// Closed ellipses inside the page, point 0 repeated at the end.
struct Geometry {
  std::vector<float> x, y;  // (kSegments + 1) points per ellipse
  std::vector<int> rgb;     // one packed colour per ellipse
  int count = 0;
};

const Geometry& geometry(int count) {
  static std::map<int, Geometry> cache;
  Geometry& g = cache[count];
  if (g.count == count) return g;
  std::mt19937 rng(17);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  g.count = count;
  for (int e = 0; e < count; ++e) {
    double a = 50.0 + 900.0 * u(rng), b = 30.0 + 0.9 * a * u(rng);
    double cx = kPageW / 2 + (kPageW / 2 - 100.0) * (2 * u(rng) - 1);
    double cy = kPageH / 2 + (kPageH / 2 - 100.0) * (2 * u(rng) - 1);
    double phi = 2 * M_PI * u(rng), c = std::cos(phi), s = std::sin(phi);
    for (int i = 0; i <= kSegments; ++i) {
      double t = 2 * M_PI * (i % kSegments) / kSegments;
      double px = a * std::cos(t), py = b * std::sin(t);
      g.x.push_back(static_cast<float>(cx + c * px - s * py));
      g.y.push_back(static_cast<float>(cy + s * px + c * py));
    }
    g.rgb.push_back(static_cast<int>(rng() & 0xFFFFFF));
  }
  return g;
}

struct Output {
  const char* name;     // as in the table
  const char* keyword;  // metafl
  const char* file;     // the library's file name
  bool smooth = false;  // anti-aliased
};
const Output kOutputs[] = {
    {"PDF", "PDF", "korvan.pdf"},
    {"SVG", "SVG", "korvan.svg"},
    {"PostScript", "PS", "korvan.ps"},
    {"PNG", "PNG", "korvan.png"},
    {"PNG-smooth", "PNG", "korvan.png", true},
};

std::uintmax_t sizeOf(const char* file) {
  std::error_code ec;
  auto n = std::filesystem::file_size(file, ec);
  return ec ? 0 : n;
}

// One plot through the library; returns the bytes of the file.
std::uintmax_t korvanPlot(const Output& out, const Geometry& geo) {
  korvan::qqsglb(1);
  metafl(out.keyword);
  if (out.smooth) smooth("ON");
  korini();
  korvan::Global& g = korvan::qqgglb();
  g.protocolOn = 0;
  linwid(static_cast<int>(kWidth));
  const int n = kSegments + 1;
  for (int e = 0; e < geo.count; ++e) {
    int index = 1 + e % 255;
    // every ellipse its own colour: table entries are reloaded in turn
    g.colourTable[index] = geo.rgb[static_cast<std::size_t>(e)];
    korvan::shwvlt(g);
    korvan::qqsclr(g, index);
    const float* x = geo.x.data() + static_cast<std::size_t>(e) * n;
    const float* y = geo.y.data() + static_cast<std::size_t>(e) * n;
    korvan::strtqq(g, x[0], y[0]);
    for (int i = 1; i < n; ++i) korvan::connqq(g, x[i], y[i]);
  }
  korfin();
  std::uintmax_t bytes = sizeOf(out.file);
  std::remove(out.file);
  return bytes;
}

// The same plot through cairo, written to a file like the library's; returns
// the bytes of the file.
std::uintmax_t cairoPlot(const Output& out, const Geometry& geo) {
  std::string kind = out.name;
  const char* file = "cairo.out";
  cairo_surface_t* surface = nullptr;
  // The page in points (A4 landscape) or, for PNG, the library's raster.
  const double pt = 72.0 / 254.0;
  double scale = pt;
  if (kind == "PDF")
    surface = cairo_pdf_surface_create(file, kPageW * pt, kPageH * pt);
  else if (kind == "SVG")
    surface = cairo_svg_surface_create(file, kPageW * pt, kPageH * pt);
  else if (kind == "PostScript")
    surface = cairo_ps_surface_create(file, kPageW * pt, kPageH * pt);
  else {
    // the size of the library's raster; RGB24 as its true-colour raster
    surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 853, 603);
    scale = 852.0 / kPageW;
  }
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, scale, scale);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  if (kind == "PNG") cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);  // PNG-smooth: the default
  cairo_set_line_width(cr, kWidth);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_BEVEL);
  const int n = kSegments + 1;
  for (int e = 0; e < geo.count; ++e) {
    int v = geo.rgb[static_cast<std::size_t>(e)];
    cairo_set_source_rgb(cr, ((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0,
                         (v & 255) / 255.0);
    const float* x = geo.x.data() + static_cast<std::size_t>(e) * n;
    const float* y = geo.y.data() + static_cast<std::size_t>(e) * n;
    cairo_move_to(cr, x[0], y[0]);
    for (int i = 1; i < n - 1; ++i) cairo_line_to(cr, x[i], y[i]);
    cairo_close_path(cr);
    cairo_stroke(cr);
  }
  cairo_destroy(cr);
  if (out.smooth || kind == "PNG") cairo_surface_write_to_png(surface, file);
  cairo_surface_finish(surface);
  cairo_surface_destroy(surface);
  std::uintmax_t bytes = sizeOf(file);
  std::remove(file);
  return bytes;
}

// The floor of PostScript and SVG: every point of the plot as the record
// the driver writes for it ("x y d " in 1/20 mm, " x, y" in pixels),
// formatted into memory and written to a file 64 KiB at a time (the size of
// the library's own file buffer). The device scales are the drivers' for the
// default page. Returns the bytes written; 0 for the other formats.
std::uintmax_t floorPlot(const Output& out, const Geometry& geo, std::vector<char>& mem) {
  const std::string kind = out.name;
  const bool ps = kind == "PostScript";
  if (!ps && kind != "SVG") return 0;
  const float s = ps ? 3900.0f / 2100.0f : 852.0f / 2969.0f;
  std::FILE* f = std::fopen("floor.out", "wb");
  if (!f) return 0;
  std::setvbuf(f, nullptr, _IONBF, 0);
  constexpr std::size_t kChunk = 65536;
  mem.resize(kChunk + 128);
  char* const begin = mem.data();
  char* const full = begin + kChunk;
  char* p = begin;
  std::uintmax_t bytes = 0;
  const std::size_t points = geo.x.size();
  for (std::size_t i = 0; i < points; ++i) {
    if (ps) {
      // the page turned onto the portrait sheet, rounded
      p = korvan::fmtInt(p, static_cast<int>(geo.y[i] * s + 0.5f));
      *p++ = ' ';
      p = korvan::fmtInt(p, static_cast<int>(geo.x[i] * s + 0.5f));
      *p++ = ' ';
      *p++ = 'd';
      *p++ = ' ';
    } else {
      *p++ = ' ';
      p = korvan::fmtFixed(p, geo.x[i] * s, 2);
      *p++ = ',';
      *p++ = ' ';
      p = korvan::fmtFixed(p, geo.y[i] * s, 2);
    }
    if (p >= full) {
      std::fwrite(begin, 1, static_cast<std::size_t>(p - begin), f);
      bytes += static_cast<std::uintmax_t>(p - begin);
      p = begin;
    }
  }
  std::fwrite(begin, 1, static_cast<std::size_t>(p - begin), f);
  bytes += static_cast<std::uintmax_t>(p - begin);
  std::fclose(f);
  std::remove("floor.out");
  return bytes;
}

// Rates and sizes of every run, for the table at the end.
struct Result {
  double korvan = 0, cairo = 0, floor = 0;
  double korvanBytes = 0, cairoBytes = 0;
};
std::map<std::pair<std::string, int>, Result> results;

enum class Who { Korvan, Cairo, Floor };

void run(benchmark::State& state, const Output& out, Who who) {
  TempDir dir;
  const Geometry& geo = geometry(static_cast<int>(state.range(0)));
  std::uintmax_t bytes = 0;
  std::vector<char> mem;
  for (auto _ : state) {
    if (who == Who::Cairo)
      bytes = cairoPlot(out, geo);
    else if (who == Who::Floor)
      bytes = floorPlot(out, geo, mem);
    else
      bytes = korvanPlot(out, geo);
  }
  const long segments = static_cast<long>(geo.count) * kSegments;
  state.SetItemsProcessed(state.iterations() * segments);
  state.counters["bytes"] = static_cast<double>(bytes);
}

// Collects items per second and bytes from the runs as they are reported.
class Reporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.error_occurred || r.run_type != Run::RT_Iteration) continue;
      std::string name = r.benchmark_name();  // Korvan/PDF/1000
      auto s1 = name.find('/'), s2 = name.rfind('/');
      if (s1 == std::string::npos || s2 == s1) continue;
      std::string who = name.substr(0, s1), out = name.substr(s1 + 1, s2 - s1 - 1);
      int count = std::stoi(name.substr(s2 + 1));
      Result& res = results[{out, count}];
      double rate = r.counters.count("items_per_second") ? double(r.counters.at("items_per_second")) : 0;
      double bytes = r.counters.count("bytes") ? double(r.counters.at("bytes")) : 0;
      if (who == "Cairo") {
        res.cairo = rate;
        res.cairoBytes = bytes;
      } else if (who == "Floor") {
        res.floor = rate;
      } else {
        res.korvan = rate;
        res.korvanBytes = bytes;
      }
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--once") {
    for (const Output& out : kOutputs) {
      if (std::string(argv[3]) != out.name) continue;
      TempDir dir;
      const Geometry& geo = geometry(std::atoi(argv[4]));
      const std::string who = argv[2];
      std::vector<char> mem;
      std::uintmax_t bytes = who == "cairo"   ? cairoPlot(out, geo)
                             : who == "floor" ? floorPlot(out, geo, mem)
                                              : korvanPlot(out, geo);
      std::printf("%s %s: %ju bytes\n", argv[2], out.name, bytes);
      return 0;
    }
    return 1;
  }
  for (const Output& out : kOutputs) {
    for (Who who : {Who::Korvan, Who::Cairo, Who::Floor}) {
      const std::string kind = out.name;
      if (who == Who::Floor && kind != "PostScript" && kind != "SVG") continue;
      std::string name = std::string(who == Who::Cairo   ? "Cairo/"
                                     : who == Who::Floor ? "Floor/"
                                                         : "Korvan/") +
                         out.name;
      benchmark::RegisterBenchmark(name.c_str(),
                                   [&out, who](benchmark::State& s) { run(s, out, who); })
          ->Arg(10)
          ->Arg(1000)
          ->Arg(2000)
          ->Unit(benchmark::kMillisecond);
    }
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Reporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\n%-11s %9s %14s %14s %7s %12s %12s %14s %8s\n", "output", "segments",
              "korvan seg/s", "cairo seg/s", "ratio", "korvan bytes", "cairo bytes",
              "floor seg/s", "x floor");
  for (const auto& [key, r] : results) {
    std::printf("%-11s %9d %14.4g %14.4g %7.2f %12.0f %12.0f", key.first.c_str(),
                key.second * kSegments, r.korvan, r.cairo, r.cairo > 0 ? r.korvan / r.cairo : 0.0,
                r.korvanBytes, r.cairoBytes);
    if (r.floor > 0 && r.korvan > 0)
      std::printf(" %14.4g %8.2f\n", r.floor, r.floor / r.korvan);
    else
      std::printf(" %14s %8s\n", "-", "-");
  }
  return 0;
}
