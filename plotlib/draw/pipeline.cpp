// The move/draw pipeline: the current point, the line-style walk, the
// 100-point stroke buffer and its flush through the clipper to the device
// dispatch; the axis window; the public line.
#include "draw/pipeline.h"

#include <algorithm>
#include <cmath>

#include "core/state.h"
#include "devices/dispatch.h"
#include "devices/device_table.h"
#include "devices/driver.h"
#include "draw/clip.h"
#include "draw/figure.h"
#include "draw/shield.h"
#include "draw/width.h"
#include "korvan.h"

namespace korvan {

namespace {
constexpr int kStroke = 100;

void openStroke(Global& g, float x, float y) {
  g.strokeX[0] = x;
  g.strokeY[0] = y;
  g.strokeCount = 1;
}
}  // namespace

void qqstrk(Global& g) {
  // A flush asked for while one is being emitted (a colour change from the
  // device layer) has nothing left to do: the stroke is on its way.
  if (g.strokeCount == 0 || g.stroking != 0) return;
  g.stroking = 1;
  const int n = g.strokeCount;
  const float* x = g.strokeX;
  const float* y = g.strokeY;
  bool inside = jqqclp(g, x[0], y[0]) == 0;
  bool penAt = inside;  // the device pen stands at the segment start
  int k = 1;
  if (inside) {
    xjdraw(g, x[0], y[0], 3);
    // The points up to the first one outside go to the device as they are,
    // without shielded regions in one batch.
    // (jqqclp's test with the window's bounds read once)
    const float xlo = static_cast<float>(g.clipXmin), xhi = static_cast<float>(g.clipXmax);
    const float ylo = static_cast<float>(g.clipYmin), yhi = static_cast<float>(g.clipYmax);
    while (k < n && x[k] >= xlo && x[k] <= xhi && y[k] >= ylo && y[k] <= yhi) ++k;
    if (g.shieldCount != 0) {
      for (int i = 1; i < k; ++i) qqbl01(g, x[i - 1], y[i - 1], x[i], y[i]);
    } else {
      xjdraws(g, x + 1, y + 1, k - 1);
    }
  }
  for (; k < n; ++k) penAt = qqclps(g, x[k - 1], y[k - 1], x[k], y[k], penAt);
  if (g.lineWidth > 1) {
    // A smooth driver has stroked the width from the centre line; the
    // outlines are still counted.
    if (g.driver) g.driver->countOnly(g, true);
    qqwide(g);
    if (g.driver) g.driver->countOnly(g, false);
  }
  g.strokeCount = 0;
  g.stroking = 0;
}

void qqmove(Global& g, float x, float y) {
  qqstrk(g);
  openStroke(g, x, y);
}

void qqdraw(Global& g, float x, float y) {
  g.strokeX[g.strokeCount] = x;
  g.strokeY[g.strokeCount] = y;
  g.strokeCount += 1;
  if (g.strokeCount == kStroke) {
    // The full buffer goes out; its last point starts the next stroke, so
    // the two join without a gap.
    qqstrk(g);
    openStroke(g, x, y);
  }
}

void strtqq(Global& g, float x, float y) {
  g.curX = x + static_cast<float>(g.shiftX);
  g.curY = y + static_cast<float>(g.shiftY);
  qqstrk(g);
  openStroke(g, g.curX, g.curY);
}

namespace {
// The part [ta, tb] of the line from (x0, y0) along (dx, dy) that lies within
// `margin` units of the clipping window; ta > tb when none of [0, len] does.
void visibleRange(const Global& g, double x0, double y0, double dx, double dy, double len,
                  double margin, double* ta, double* tb) {
  double lo = 0.0, hi = len;
  auto bound = [&](double p, double q) {  // keeps the t with p * t <= q
    if (p == 0.0) {
      if (q < 0.0) hi = -1.0;
      return;
    }
    double r = q / p;
    if (p < 0.0) {
      if (r > lo) lo = r;
    } else if (r < hi) {
      hi = r;
    }
  };
  bound(-dx, x0 - (g.clipXmin - margin));
  bound(dx, g.clipXmax + margin - x0);
  bound(-dy, y0 - (g.clipYmin - margin));
  bound(dy, g.clipYmax + margin - y0);
  if (lo > hi) {
    lo = len;
    hi = -1.0;
  }
  *ta = lo;
  *tb = hi;
}
}  // namespace

void connqq(Global& g, float x, float y) {
  const float X = x + static_cast<float>(g.shiftX);
  const float Y = y + static_cast<float>(g.shiftY);
  if (g.patternLength <= 1) {
    qqdraw(g, X, Y);
    g.curX = X;
    g.curY = Y;
    return;
  }
  const float theta = qqatan(g.curY - Y, X - g.curX);
  const float sn = std::sin(theta), cs = std::cos(theta);
  const double len = Y == g.curY ? std::fabs(X - g.curX) : std::fabs((g.curY - Y) / sn);
  const double x0 = g.curX, y0 = g.curY;
  // The walk runs in double along the segment: in float, a step of one unit
  // is lost on a segment of some million units and the walk never ends.
  // With an odd number of elements a pass through the pattern ends in the
  // other pen state: only two passes bring the phase back.
  double period = 0.0;
  for (int i = 0; i < g.patternLength; ++i) period += g.linePattern[i];
  if (g.patternLength % 2 != 0) period *= 2.0;
  // Outlines of a wide line lie up to half its width (diagonally a little
  // more) beside the centre line: a dash that far off the window still shows.
  double margin = 1.0;
  if (g.lineWidth > 1) {
    const int w = static_cast<int>(static_cast<float>(g.lineWidth) * g.unitScale + 0.5f);
    margin += static_cast<double>(w) / g.unitScale;
  }
  double ta, tb;
  visibleRange(g, x0, y0, cs, -sn, len, margin, &ta, &tb);
  // Every pen change lies at first + whole units: whole periods can be
  // skipped without changing where any later change falls.
  const double first = g.patternRest;
  double whole = 0.0;
  bool started = false;
  double t = 0.0;
  double rest = first;
  while (len - t >= rest) {
    const double next = started ? first + (whole + rest) : first;
    if (!(next > t)) {
      t = len;  // the coordinates hold no finer step: nothing more to walk
      break;
    }
    if (started) whole += rest;
    started = true;
    t = next;
    g.curX = static_cast<float>(x0 + cs * t);
    g.curY = static_cast<float>(y0 - sn * t);
    if (g.penUp == 0)
      qqdraw(g, g.curX, g.curY);
    else
      qqmove(g, g.curX, g.curY);
    g.patternIndex = g.patternIndex >= g.patternLength ? 1 : g.patternIndex + 1;
    g.penUp = 1 - g.penUp;
    rest = g.linePattern[g.patternIndex - 1];
    if (g.penUp != 0) continue;
    // A dash begins here, its stroke holds only this point. Whole periods off
    // the window draw nothing and end in this same state at a dash start:
    // jump to the last of them (keeping one period before the segment end).
    double upper;
    if (t < ta)
      upper = std::min(ta, len - period);
    else if (t > tb)
      upper = len - period;
    else
      continue;
    const double k = std::floor((upper - t) / period);
    if (k < 1.0) continue;
    whole += k * period;
    t = first + whole;
    g.curX = static_cast<float>(x0 + cs * t);
    g.curY = static_cast<float>(y0 - sn * t);
    qqmove(g, g.curX, g.curY);
  }
  if (g.penUp == 0)
    qqdraw(g, X, Y);
  else
    qqmove(g, X, Y);
  const double left = rest - (len - t);
  g.patternRest = static_cast<float>(left > 0.0 ? left : rest);
  g.curX = X;
  g.curY = Y;
}

void lineqq(Global& g, int nx1, int ny1, int nx2, int ny2) {
  strtqq(g, static_cast<float>(nx1), static_cast<float>(ny1));
  connqq(g, static_cast<float>(nx2), static_cast<float>(ny2));
}

void rvline(Global& g, int nx1, int ny1, int nx2, int ny2) {
  static int backwards = 0;
  if (backwards == 0)
    lineqq(g, nx1, ny1, nx2, ny2);
  else
    lineqq(g, nx2, ny2, nx1, ny1);
  backwards = 1 - backwards;
}

void setclp(Global& g) {
  int m = g.axisClipMargin;
  if (m == -1 && deviceInfo(g.device).pixels &&
      g.deviceScale > 0.0f)
    m = -1 - static_cast<int>(0.99f / g.deviceScale + 0.5f);
  const int nxa = g.axisPosX + g.shiftX, nya = g.axisPosY + g.shiftY;
  int xmin = nxa - m;
  int ymin = nya - g.axisLenY - m + 1;
  int xmax = nxa + g.axisLenX + m - 1;
  int ymax = nya + m;
  if (xmin < 0) xmin = 0;
  if (ymin < 0) ymin = 0;
  if (xmax > g.pageWidth) xmax = g.pageWidth;
  if (ymax > g.pageHeight) ymax = g.pageHeight;
  g.axisClipXmin = xmin;
  g.axisClipYmin = ymin;
  g.axisClipXmax = xmax;
  g.axisClipYmax = ymax;
}

void sclpax(Global& g, int mode) {
  if (g.axisClipMarker == 2) return;
  qqstrk(g);
  if (mode == 0) {
    g.savedClip[0] = g.clipXmin;
    g.savedClip[1] = g.clipYmin;
    g.savedClip[2] = g.clipXmax;
    g.savedClip[3] = g.clipYmax;
    if (g.axisClipXmin > g.clipXmin) g.clipXmin = g.axisClipXmin;
    if (g.axisClipYmin > g.clipYmin) g.clipYmin = g.axisClipYmin;
    if (g.axisClipXmax < g.clipXmax) g.clipXmax = g.axisClipXmax;
    if (g.axisClipYmax < g.clipYmax) g.clipYmax = g.axisClipYmax;
  } else {
    g.clipXmin = g.savedClip[0];
    g.clipYmin = g.savedClip[1];
    g.clipXmax = g.savedClip[2];
    g.clipYmax = g.savedClip[3];
  }
}

}  // namespace korvan

using namespace korvan;

extern "C" {

void line(int nx1, int ny1, int nx2, int ny2) {
  Global* gp = jqqlev(1, 3, "line");
  if (!gp) return;
  Global& g = *gp;
  ny1 = qqyorg(g, ny1);
  ny2 = qqyorg(g, ny2);
  strtqq(g, static_cast<float>(nx1), static_cast<float>(ny1));
  connqq(g, static_cast<float>(nx2), static_cast<float>(ny2));
}

}  // extern "C"
