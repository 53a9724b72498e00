// The settings a program gives the next axis system (names, lengths,
// position, label digits, ticks, logarithmic scaling) and curve, which
// draws user coordinates inside the current one, leaving out the points
// that lie within crvtol of the line through their neighbours.
#include <cmath>
#include <cstdio>
#include <new>

#include "axes/axes.h"
#include "core/state.h"
#include "core/wrap.h"
#include "draw/pipeline.h"
#include "draw/simplify.h"
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

// A point that has no place on the axes leaves a gap in a curve.
bool usable(const Global& g, float x, float y) {
  return std::isfinite(x) && std::isfinite(y) &&
         (g.logFallback || ((!g.axis[0].logScale || x > 0.0f) && (!g.axis[1].logScale || y > 0.0f)));
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

void crvtol(float tol) {
  Global* g = jqqlev(1, 3, "crvtol");
  if (!g) return;
  if (!(tol >= 0.0f) || !std::isfinite(tol)) {
    warnin(*g, 2);
    return;
  }
  g->curveTolerance = tol;
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
  // The plot coordinates of the whole curve, a point that has no place on
  // the axes as NaN (a gap), and the points the device needs of them.
  const auto count = static_cast<std::size_t>(n);
  float* xp = nullptr;
  int* keep = nullptr;
  if (g.curveTolerance > 0.0f && n >= 3) {
    xp = new (std::nothrow) float[2 * count];
    keep = new (std::nothrow) int[count];
  }
  if (xp && keep) {
    float* yp = xp + count;
    for (int i = 0; i < n; ++i) {
      if (usable(g, xray[i], yray[i]))
        qqrel2(g, xray[i], yray[i], &xp[i], &yp[i]);
      else
        xp[i] = yp[i] = NAN;
    }
    const int m = qqsimp(xp, yp, n, g.curveTolerance, keep);
    bool open = false;
    for (int k = 0; k < m; ++k) {
      const int i = keep[k];
      if (std::isnan(xp[i])) {
        open = false;
      } else if (open) {
        connqq(g, xp[i], yp[i]);
      } else {
        strtqq(g, xp[i], yp[i]);
        open = true;
      }
    }
  } else {
    bool open = false;
    for (int i = 0; i < n; ++i) {
      if (!usable(g, xray[i], yray[i])) {
        open = false;
        continue;
      }
      float x, y;
      qqrel2(g, xray[i], yray[i], &x, &y);
      if (open) {
        connqq(g, x, y);
      } else {
        strtqq(g, x, y);
        open = true;
      }
    }
  }
  delete[] xp;
  delete[] keep;
  sclpax(g, 1);
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
void crvtol_(const float* tol) { crvtol(*tol); }

}  // extern "C"
