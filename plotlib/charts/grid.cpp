// grid: lines across the axis system at the labels, and on a logarithmic
// axis at the minor ticks of every decade too.
#include <algorithm>
#include <cmath>

#include "axes/axes.h"
#include "core/state.h"
#include "draw/pipeline.h"
#include "korvan.h"

using namespace korvan;

namespace {

// More lines than plot units along the axis would only fill it.
bool tooMany(double count, int len) { return !(count <= static_cast<double>(len)); }

// One line at axis value v (of the scale, a logarithm on a log axis).
void gridLine(Global& g, int ax, double v) {
  const double along = (v - g.axisA[ax]) * g.axisFactor[ax];
  if (!(std::fabs(along) < 1.0e6)) return;
  if (ax == 0) {
    const float x = static_cast<float>(std::trunc(along + g.axisPosX + 0.5));
    strtqq(g, x, static_cast<float>(g.axisPosY));
    connqq(g, x, static_cast<float>(g.topEdge));
  } else {
    const float y = static_cast<float>(std::trunc(g.axisPosY + 0.5 - along));
    strtqq(g, static_cast<float>(g.axisPosX), y);
    connqq(g, static_cast<float>(g.rightEdge), y);
  }
}

void gridAxis(Global& g, int ax, int every) {
  if (every <= 0) return;
  const double a = g.axisA[ax], e = g.axisE[ax], org = g.axisOr[ax], step = g.axisStep[ax];
  const int len = ax == 0 ? g.axisLenX : g.axisLenY;
  // A date axis is labelled at whole months, not at every step of days.
  const int dates = qqdnlb(g, ax + 1, a, e, org, step);
  if (dates >= 0) {
    if (!tooMany(static_cast<double>(dates) / every, len))
      for (int i = 0; i < dates; i += every) gridLine(g, ax, qqdlab(g, org, step, a, e, i));
    return;
  }
  const double m = std::trunc((e - org) / step + 0.0001);
  if (m >= 0.0 && !tooMany(m / every, len))
    for (long long i = 0; i <= static_cast<long long>(m); i += every)
      gridLine(g, ax, org + static_cast<double>(i) * step);
  const bool log = g.axis[ax].logScale != 0;
  if (!log || std::floor(org) != org || std::fabs(step) != 1.0) return;
  const double lo = std::min(a, e), hi = std::max(a, e);
  const double d0 = std::floor(lo), d1 = std::ceil(hi);
  if (tooMany(9.0 * (d1 - d0), len)) return;
  for (double d = d0; d <= d1; d += 1.0)
    for (int k = 2; k <= 9; ++k) {
      const double w = d + std::log10(static_cast<double>(k));
      if (w >= lo && w <= hi) gridLine(g, ax, w);
    }
}

}  // namespace

extern "C" {

void grid(int nx, int ny) {
  Global* gp = jqqlev(2, 3, "grid");
  if (!gp) return;
  Global& g = *gp;
  if (nx < 0 || ny < 0) {
    warni1(g, 2, std::min(nx, ny));
    return;
  }
  g.level = 3;
  sclpax(g, 0);
  gridAxis(g, 0, nx);
  gridAxis(g, 1, ny);
  qqstrk(g);
  sclpax(g, 1);
}

}  // extern "C"
