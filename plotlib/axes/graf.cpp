// graf: the axis system with its scaling, its clip window and its four
// sides; the user-to-plot transform of the system.
#include <cfloat>
#include <cmath>
#include <cstring>
#include <utility>

#include "axes/axes.h"
#include "core/state.h"
#include "draw/device_ops.h"
#include "core/strings.h"
#include "devices/dispatch.h"
#include "draw/colour.h"
#include "draw/pipeline.h"
#include "korvan.h"
#include "text/text.h"

namespace korvan {

namespace {
constexpr double kFar = 1.0e6;

float clampPlot(double v) {
  if (std::isnan(v)) return static_cast<float>(kFar);  // off the page
  if (v > kFar) v = kFar;
  if (v < -kFar) v = -kFar;
  return static_cast<float>(v);
}

// log10 of an axis value; a value <= 0 maps to the fallback when that is on
// and lies infinitely far below the axis otherwise.
double logValue(const Global& g, double v) {
  if (v > 0.0) return std::log10(v);
  if (g.logFallback) return g.logFallbackValue;
  return -HUGE_VAL;
}

int truncClamped(double v) { return static_cast<int>(clampPlot(v)); }

// A logarithmic axis runs from 10^a to 10^e: both must be floats, as the
// ranges, ticks and labels of the axis are.
bool powersFit(float a, float e) {
  for (double v : {static_cast<double>(a), static_cast<double>(e)}) {
    const double p = std::pow(10.0, v);
    if (!(p >= FLT_MIN && p <= FLT_MAX)) return false;
  }
  return true;
}

// How far the labels and the name of a side stick out of the rectangle.
int sideMargin(Global& g, int side) {
  sgrafp(g, side, 0);
  const int ax = side % 2 == 1 ? 0 : 1;
  const AxisSettings& s = g.axis[ax];
  int tick = 0;
  if (s.ticks > 0) tick = s.tickPos == 0 ? s.tickLong : s.tickPos == 2 ? s.tickLong / 2 : 0;
  int ext = tick;
  if (s.labelType != 0) {
    const bool across = (ax == 0) == (s.labelOrient == 0);  // label height across
    const int w = across ? g.charHeight
                         : maxnuy(g, g.axisA[ax], g.axisE[ax], g.axisOr[ax], g.axisStep[ax],
                                  s.logScale, ax + 1);
    ext += s.labelDist + w;
  }
  if (trmlen(s.name) > 0) ext += s.nameDist + s.nameHeight;
  sgrafp(g, side, 1);
  return ext;
}
}  // namespace

void qqrel2(const Global& g, float x, float y, float* xp, float* yp) {
  double dx, dy;
  qqrel2d(g, x, y, &dx, &dy);
  *xp = clampPlot(dx);
  *yp = clampPlot(dy);
}

void qqrel2d(const Global& g, float x, float y, double* xp, double* yp) {
  double xv = x, yv = y;
  if (g.axis[0].logScale) xv = logValue(g, xv);
  if (g.axis[1].logScale) yv = logValue(g, yv);
  *xp = (xv - g.axisA[0]) * g.axisFactor[0] + g.axisOrigin[0];
  *yp = g.axisOrigin[1] - (yv - g.axisA[1]) * g.axisFactor[1];
}

bool erraxs(Global& g, float a, float e, float org, float step) {
  bool ok = true;
  if (std::fabs(e - a) < g.axisEps) {
    warnin(g, 10);
    ok = false;
  }
  if (std::fabs(step) < g.axisEps) {
    warnin(g, 9);
    ok = false;
  }
  if (!ok) return false;
  const float lo = e > a ? a : e, hi = e > a ? e : a;
  if (org < lo || org > hi) warnin(g, 12);
  if (e > a ? step < 0.0f : step > 0.0f) warnin(g, 50);
  return true;
}

// Automatic scaling is switched off by the reset and nothing switches it
// on, so the given scaling always holds.
void gscale(Global&, int) {}

void sxyscl(Global& g, float xa, float xe, float xor_, float xstep, float ya, float ye,
            float yor, float ystep) {
  const float a[2] = {xa, ya}, e[2] = {xe, ye}, o[2] = {xor_, yor}, st[2] = {xstep, ystep};
  const int len[2] = {g.axisLenX, g.axisLenY};
  const int pos[2] = {g.axisPosX, g.axisPosY};
  for (int i = 0; i < 2; ++i) {
    g.axisA[i] = a[i];
    g.axisE[i] = e[i];
    g.axisOr[i] = o[i];
    g.axisStep[i] = st[i];
    g.axisFactor[i] = static_cast<float>((len[i] - 1.0) / (static_cast<double>(e[i]) - a[i]));
    g.axisOrigin[i] = static_cast<float>(pos[i]);
    float r0 = a[i], r1 = e[i];
    if (g.axis[i].logScale) {
      r0 = static_cast<float>(std::pow(10.0, r0));
      r1 = static_cast<float>(std::pow(10.0, r1));
    }
    if (r0 > r1) std::swap(r0, r1);
    g.axisRange[i][0] = r0;
    g.axisRange[i][1] = r1;
  }
}

void newori(Global& g) {
  const bool four = g.twoAxes == 0 && g.crossed == 0;
  const int bottom = sideMargin(g, 1), left = sideMargin(g, 4);
  const int top = four ? sideMargin(g, 3) : 0, right = four ? sideMargin(g, 2) : 0;
  const long x0 = static_cast<long>(g.axisPosX) - left;
  const long x1 = static_cast<long>(g.axisPosX) + g.axisLenX - 1 + right;
  const long y0 = static_cast<long>(g.axisPosY) - g.axisLenY + 1 - top;
  const long y1 = static_cast<long>(g.axisPosY) + bottom;
  g.shiftX = static_cast<int>((g.pageWidth - (x1 - x0 + 1)) / 2 - x0);
  g.shiftY = static_cast<int>((g.pageHeight - (y1 - y0 + 1)) / 2 - y0);
}

void sgrafp(Global& g, int side, int mode) {
  AxisSettings& s = g.axis[side % 2 == 1 ? 0 : 1];
  if (mode == 0) {
    g.sideLineOn = s.lineOn;
    g.sideTicks = s.ticks;
    g.sideLabelType = s.labelType;
    std::memcpy(g.sideName, s.name, sizeof s.name);
    const int level = g.sideLevel[side - 1];
    if (level < 4) s.name[0] = '\0';
    if (level < 3) s.labelType = 0;
    if (level < 2) s.ticks = 0;
    if (level < 1) s.lineOn = 0;
  } else {
    s.lineOn = g.sideLineOn;
    s.ticks = g.sideTicks;
    s.labelType = g.sideLabelType;
    std::memcpy(s.name, g.sideName, sizeof s.name);
  }
}

void daxgit(Global& g, int kind) {
  float xp, yp;
  qqrel2(g, 0.0f, 0.0f, &xp, &yp);
  g.axisLineFlag = 1;
  const float eps = g.axisEps;
  if ((kind & 1) && g.axisRange[1][0] + eps < 0.0f && g.axisRange[1][1] - eps > 0.0f) {
    strtqq(g, static_cast<float>(g.axisPosX), yp);
    connqq(g, static_cast<float>(g.axisPosX + g.axisLenX - 1), yp);
  }
  if ((kind & 2) && g.axisRange[0][0] + eps < 0.0f && g.axisRange[0][1] - eps > 0.0f) {
    strtqq(g, xp, static_cast<float>(g.axisPosY));
    connqq(g, xp, static_cast<float>(g.axisPosY - g.axisLenY + 1));
  }
  qqstrk(g);
  g.axisLineFlag = 0;
}

}  // namespace korvan

using namespace korvan;

namespace {
void fail(Global& g, const char* text) {
  if (text) {
    qqserr(g, text);
    warnin(g, 101);
  }
  g.level = 1;
}

void drawSide(Global& g, int side, int nx, int ny) {
  const int ax = side % 2 == 1 ? 0 : 1;
  sgrafp(g, side, 0);
  daxis(g, g.axisA[ax], g.axisE[ax], g.axisOr[ax], g.axisStep[ax],
        ax == 0 ? g.axisLenX : g.axisLenY, g.axis[ax].name, side >= 3 ? 1 : 0, nx, ny,
        g.axis[ax].logScale, ax + 1);
  sgrafp(g, side, 1);
}
}  // namespace

extern "C" {

void graf(float xa, float xe, float xor_, float xstep, float ya, float ye, float yor,
          float ystep) {
  Global* gp = jqqlev(1, 1, "graf");
  if (!gp) return;
  Global& g = *gp;
  g.level = 2;
  g.polar = 0;
  g.denseWarned = 0;
  g.keyCount = 0;  // the legend lists the items of this system only
  gscale(g, 1);
  gscale(g, 2);
  const float all[8] = {xa, xe, xor_, xstep, ya, ye, yor, ystep};
  for (float v : all)
    if (!std::isfinite(v)) {
      warnin(g, 2);
      return fail(g, nullptr);
    }
  if ((g.axis[0].logScale && !powersFit(xa, xe)) || (g.axis[1].logScale && !powersFit(ya, ye))) {
    warnin(g, 2);
    return fail(g, nullptr);
  }
  const bool okX = erraxs(g, xa, xe, xor_, xstep);
  const bool okY = erraxs(g, ya, ye, yor, ystep);
  if (!okX || !okY) return fail(g, nullptr);
  if (g.crossed && (g.axis[0].logScale || g.axis[1].logScale))
    return fail(g, "Crossed axis systems must have linear scaling");

  sxyscl(g, xa, xe, xor_, xstep, ya, ye, yor, ystep);
  if (g.crossed) {
    const float eps = g.axisEps;
    if (g.axisRange[0][0] - eps > 0.0f || g.axisRange[0][1] + eps < 0.0f ||
        g.axisRange[1][0] - eps > 0.0f || g.axisRange[1][1] + eps < 0.0f)
      return fail(g, "No origin found for crossed axis system");
    if (g.crossCentre) {
      g.axisPosX = truncClamped(g.crossX + std::trunc((g.axisLenX - 1.0) * xa / (xe - xa)));
      g.axisPosY = truncClamped(g.crossY - 1 +
                                std::trunc(g.axisLenY - (g.axisLenY - 1.0) * ye / (ye - ya)));
      g.axisOrigin[0] = static_cast<float>(g.axisPosX);
      g.axisOrigin[1] = static_cast<float>(g.axisPosY);
    } else {
      float xp, yp;
      qqrel2(g, 0.0f, 0.0f, &xp, &yp);
      g.crossX = static_cast<int>(xp + 0.5f);
      g.crossY = static_cast<int>(yp + 0.5f);
    }
  }
  if (g.centreRequest == 1 && g.polar == 0) {
    newori(g);
    g.centreRequest = 2;
  }
  g.rightEdge = g.axisPosX + g.axisLenX - 1;
  g.topEdge = g.axisPosY - g.axisLenY + 1;
  setclp(g);
  if (g.noDrawing) return;

  if (g.axisBgColour >= 0) {
    const int previous = g.currentColour;
    dbox(g, g.axisPosX, g.topEdge, g.rightEdge, g.axisPosY, g.axisBgColour);
    if (g.currentColour != previous) qqsclr(g, previous);
  }
  if (g.crossed) {
    drawSide(g, 1, g.axisPosX, g.crossY);
    drawSide(g, 4, g.crossX, g.axisPosY);
  } else {
    drawSide(g, 1, g.axisPosX, g.axisPosY);
    drawSide(g, 4, g.axisPosX, g.axisPosY);
    if (g.twoAxes == 0) {
      drawSide(g, 3, g.axisPosX, g.topEdge);
      drawSide(g, 2, g.rightEdge, g.axisPosY);
    }
  }
  // The frame is drawn in page coordinates: the origin offset is added here.
  if (g.axisFrame != 0)
    dframe(g, g.axisPosX + g.shiftX, g.topEdge + g.shiftY, g.axisLenX, g.axisLenY, g.axisFrame,
           0.0f);
}

void graf_(const float* xa, const float* xe, const float* xor_, const float* xstep,
           const float* ya, const float* ye, const float* yor, const float* ystep) {
  graf(*xa, *xe, *xor_, *xstep, *ya, *ye, *yor, *ystep);
}

}  // extern "C"
