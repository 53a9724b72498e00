// Bars, histograms and bands between two curves: filled with the current
// colour (or the shading pattern when one is set) and cut to the axis
// system.
#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <vector>

#include "axes/axes.h"
#include "charts/charts.h"
#include "core/state.h"
#include "draw/pipeline.h"
#include "korvan.h"

using namespace korvan;

namespace {

// 0.8 of the closest spacing of the positions; one position (or all equal)
// takes 0.8 of the label step of its axis.
float autoWidth(const Global& g, const float* p, int n) {
  std::vector<float> s(p, p + n);
  std::sort(s.begin(), s.end());
  float gap = 0.0f;
  for (int i = 1; i < n; ++i) {
    const float d = s[i] - s[i - 1];
    if (d > 0.0f && (gap == 0.0f || d < gap)) gap = d;
  }
  if (gap == 0.0f) {
    const int ax = g.barHori ? 1 : 0;
    gap = std::fabs(g.axisStep[ax]);
    if (g.axis[ax].logScale || gap == 0.0f) gap = 1.0f;
  }
  return 0.8f * gap;
}

// Begins drawing in the axis system with a solid fill where none is set.
FillState begin(Global& g) {
  g.level = 3;
  sclpax(g, 0);
  const FillState saved = qqfsav(g);
  qqfsol(g);
  return saved;
}

void end(Global& g, const FillState& saved) {
  qqstrk(g);
  qqfrst(g, saved);
  sclpax(g, 1);
}

}  // namespace

extern "C" {

void barplt(const float* xray, const float* y1ray, const float* y2ray, int n) {
  Global* gp = jqqlev(2, 3, "barplt");
  if (!gp) return;
  Global& g = *gp;
  const float* arrays[3] = {xray, y1ray, y2ray};
  if (!qqchkd(g, n, arrays, 3)) return;
  const float w = g.barWidth > 0.0f ? g.barWidth : autoWidth(g, xray, n);
  const FillState saved = begin(g);
  for (int i = 0; i < n; ++i) qqdbar(g, xray[i], y1ray[i], y2ray[i], w);
  end(g, saved);
  qqkadd(g, 2);
}

void hstgrm(const float* xray, int n, int nbins, float xa, float xe, int* iray) {
  Global* gp = jqqlev(2, 3, "hstgrm");
  if (!gp) return;
  Global& g = *gp;
  if (n < 1) return warni1(g, 30, n);
  if (!xray) return warnc1(g, 2, "null array");
  if (nbins < 1) return warni1(g, 2, nbins);
  if (!std::isfinite(xa) || !std::isfinite(xe) || !(xa < xe)) return warnc1(g, 2, "xa >= xe");
  std::unique_ptr<int[]> bins(new (std::nothrow) int[static_cast<std::size_t>(nbins)]());
  if (!bins) return warnin(g, 53);
  const double span = static_cast<double>(xe) - xa;
  for (int i = 0; i < n; ++i) {
    const double v = xray[i];
    if (!(v >= xa && v <= xe)) continue;  // outside, or NaN
    // Bins are half open, [lower, upper); the last one holds xe too.
    long long k = static_cast<long long>(std::floor((v - xa) / span * nbins));
    if (k >= nbins) k = nbins - 1;
    if (k < 0) k = 0;
    bins[static_cast<std::size_t>(k)] += 1;
  }
  if (iray) std::copy(bins.get(), bins.get() + nbins, iray);
  const double w = span / nbins;
  const FillState saved = begin(g);
  for (int k = 0; k < nbins; ++k)
    if (bins[static_cast<std::size_t>(k)] > 0)
      qqdbar(g, static_cast<float>(xa + (k + 0.5) * w), 0.0f,
             static_cast<float>(bins[static_cast<std::size_t>(k)]), static_cast<float>(w));
  end(g, saved);
  qqkadd(g, 2);
}

void fillbt(const float* xray, const float* y1ray, const float* y2ray, int n) {
  Global* gp = jqqlev(2, 3, "fillbt");
  if (!gp) return;
  Global& g = *gp;
  if (n < 2) return warni1(g, 30, n);
  const float* arrays[3] = {xray, y1ray, y2ray};
  if (!qqchkd(g, n, arrays, 3)) return;
  std::unique_ptr<float[]> work(new (std::nothrow) float[4 * static_cast<std::size_t>(n)]);
  if (!work) return warnin(g, 53);
  float* x = work.get();
  float* y = x + 2 * n;
  for (int i = 0; i < n; ++i) {
    qqrel2(g, xray[i], y1ray[i], &x[i], &y[i]);
    qqrel2(g, xray[n - 1 - i], y2ray[n - 1 - i], &x[n + i], &y[n + i]);
  }
  const FillState saved = begin(g);
  qqfclp(g, x, y, 2 * n);
  end(g, saved);
  qqkadd(g, 2);
}

}  // extern "C"
