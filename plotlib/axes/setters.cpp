// The settings a program gives the next axis system (names, lengths,
// position, label digits, ticks, logarithmic scaling) and curve, which
// draws user coordinates inside the current one.
#include <cmath>
#include <cstdio>

#include "axes/axes.h"
#include "core/state.h"
#include "core/wrap.h"
#include "draw/pipeline.h"
#include "korvan.h"

using namespace korvan;

namespace {
constexpr int kFar = 1000000;

// The axes a text such as "X", "Y" or "XYZ" names; false after warning 2
// for any other letter or for none.
bool axesOf(Global& g, const char* cax, bool sel[3]) {
  sel[0] = sel[1] = sel[2] = false;
  bool any = false;
  for (const char* p = cax ? cax : ""; *p; ++p) {
    const char c = *p;
    if (c == ' ') continue;
    const int k = c == 'X' || c == 'x' ? 0 : c == 'Y' || c == 'y' ? 1 : c == 'Z' || c == 'z' ? 2 : -1;
    if (k < 0) {
      any = false;
      break;
    }
    sel[k] = any = true;
  }
  if (!any) warnc1(g, 2, cax ? cax : "");
  return any;
}

// Cuts the segment to the plot coordinates the pipeline takes (within
// kFar), so that no end has to be clamped and the piece keeps the
// segment's direction. False when nothing of it lies within. Ends that lie
// within stay exactly as they are.
bool cutToPlotRange(double& x1, double& y1, double& x2, double& y2) {
  const double dx = x2 - x1, dy = y2 - y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 + kFar, kFar - x1, y1 + kFar, kFar - y1};
  double t0 = 0.0, t1 = 1.0;
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      if (t > t1) return false;
      if (t > t0) t0 = t;
    } else {
      if (t < t0) return false;
      if (t < t1) t1 = t;
    }
  }
  const double ax = x1, ay = y1;
  if (t1 < 1.0) {
    x2 = ax + t1 * dx;
    y2 = ay + t1 * dy;
  }
  if (t0 > 0.0) {
    x1 = ax + t0 * dx;
    y1 = ay + t0 * dy;
  }
  return true;
}
}  // namespace

extern "C" {

void name(const char* cstr, const char* cax) {
  Global* g = jqqlev(1, 3, "name");
  bool sel[3];
  if (!g || !axesOf(*g, cax, sel)) return;
  for (int k = 0; k < 3; ++k)
    if (sel[k]) std::snprintf(g->axis[k].name, sizeof g->axis[k].name, "%s", cstr ? cstr : "");
}

void axslen(int nxl, int nyl) {
  Global* g = jqqlev(1, 1, "axslen");
  if (!g) return;
  if (nxl < 2 || nyl < 2) {
    warni1(*g, 11, nxl < 2 ? nxl : nyl);
    return;
  }
  // Plot coordinates end at a million units; longer axes cannot be drawn.
  if (!jqqval(*g, nxl, 2, kFar) || !jqqval(*g, nyl, 2, kFar)) return;
  g->axisLenX = nxl;
  g->axisLenY = nyl;
}

void axspos(int nxa, int nya) {
  Global* g = jqqlev(1, 1, "axspos");
  if (!g) return;
  if (!jqqval(*g, nxa, -kFar, kFar) || !jqqval(*g, nya, -kFar, kFar)) return;
  if (g->origin == 1 && g->noFlip != 1) nya = g->pageHeight - nya;
  g->axisPosX = nxa;
  g->axisPosY = nya;
}

void labdig(int ndig, const char* cax) {
  Global* g = jqqlev(1, 3, "labdig");
  bool sel[3];
  if (!g || !jqqval(*g, ndig, -1, 20) || !axesOf(*g, cax, sel)) return;
  for (int k = 0; k < 3; ++k)
    if (sel[k]) g->axis[k].labelDigits = ndig;
}

void ticks(int ntic, const char* cax) {
  Global* g = jqqlev(1, 3, "ticks");
  bool sel[3];
  if (!g || !jqqval(*g, ntic, 0, -1) || !axesOf(*g, cax, sel)) return;
  for (int k = 0; k < 3; ++k)
    if (sel[k]) g->axis[k].ticks = ntic;
}

void axsscl(const char* cscl, const char* cax) {
  Global* g = jqqlev(1, 1, "axsscl");
  bool sel[3];
  if (!g) return;
  const int n = jqqind(*g, "LIN +LOG ", 2, cscl ? cscl : "");
  if (n == 0 || !axesOf(*g, cax, sel)) return;
  for (int k = 0; k < 3; ++k)
    if (sel[k]) g->axis[k].logScale = n - 1;
}

void curve(const float* xray, const float* yray, int n) {
  Global* gp = jqqlev(2, 3, "curve");
  if (!gp) return;
  Global& g = *gp;
  if (n < 1 || !xray || !yray) {
    warni1(g, 2, n);
    return;
  }
  g.level = 3;
  sclpax(g, 0);
  bool have = false;  // a previous point to draw from
  bool at = false;    // the line stands at that point
  double px = 0.0, py = 0.0;
  for (int i = 0; i < n && g.curveLine; ++i) {
    const float x = xray[i], y = yray[i];
    // A point that has no place on the axes leaves a gap.
    if (!qqusbl(g, x, y)) {
      have = false;
      continue;
    }
    double xp, yp;
    qqrel2d(g, x, y, &xp, &yp);
    if (!have) {
      at = std::fabs(xp) <= kFar && std::fabs(yp) <= kFar;
      if (at) strtqq(g, static_cast<float>(xp), static_cast<float>(yp));
    } else {
      double x1 = px, y1 = py, x2 = xp, y2 = yp;
      if (cutToPlotRange(x1, y1, x2, y2)) {
        if (!at || x1 != px || y1 != py)
          strtqq(g, static_cast<float>(x1), static_cast<float>(y1));
        connqq(g, static_cast<float>(x2), static_cast<float>(y2));
        at = x2 == xp && y2 == yp;
      } else {
        at = false;
      }
    }
    have = true;
    px = xp;
    py = yp;
  }
  if (g.curveSymbol >= 0) qqcmrk(g, xray, yray, n);
  sclpax(g, 1);
  qqkadd(g, 1);
}

void name_(const char* cstr, const char* cax, int len1, int len2) {
  char text[133];
  qqwrcp(text, cstr, len1, 132);
  name(text, Key4(cax, len2));
}
void axslen_(const int* nxl, const int* nyl) { axslen(*nxl, *nyl); }
void axspos_(const int* nxa, const int* nya) { axspos(*nxa, *nya); }
void labdig_(const int* ndig, const char* cax, int len) { labdig(*ndig, Key4(cax, len)); }
void ticks_(const int* ntic, const char* cax, int len) { ticks(*ntic, Key4(cax, len)); }
void axsscl_(const char* cscl, const char* cax, int len1, int len2) {
  axsscl(Key4(cscl, len1), Key4(cax, len2));
}
void curve_(const float* xray, const float* yray, const int* n) { curve(xray, yray, *n); }

}  // extern "C"
