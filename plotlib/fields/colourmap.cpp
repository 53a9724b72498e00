// Colour maps: heatmp draws a matrix as cells coloured by value inside the
// axis system, colkey the colour bar of the last routine that coloured by
// value, with its own labelled axis.
#include <algorithm>
#include <cmath>
#include <vector>

#include "axes/axes.h"
#include "core/state.h"
#include "core/wrap.h"
#include "draw/colour.h"
#include "draw/fill.h"
#include "draw/pipeline.h"
#include "fields/fields.h"
#include "korvan.h"

namespace korvan {

SolidFill::SolidFill(Global& g)
    : g_(g), pattern_(g.shadingPattern), type_(g.fillType), angle_(g.hatchAngle),
      cross_(g.crossHatch), dens_(g.hatchDensity), on_(g.hatchGroupOn), off_(g.hatchGroupOff),
      colour_(g.currentColour), spacing_(g.hatchSpacing) {
  qqmypt(g, 0, 1, 0, 0);
  g.shadingPattern = 16;
}

SolidFill::~SolidFill() {
  g_.shadingPattern = pattern_;
  g_.fillType = type_;
  g_.hatchAngle = angle_;
  g_.crossHatch = cross_;
  g_.hatchDensity = dens_;
  g_.hatchSpacing = spacing_;
  g_.hatchGroupOn = on_;
  g_.hatchGroupOff = off_;
  qqsclr(g_, colour_);
}

namespace {

void box(Global& g, float x1, float y1, float x2, float y2) {
  const float px[4] = {x1, x2, x2, x1}, py[4] = {y1, y1, y2, y2};
  qqfpol(g, px, py, 4);
}

// A step of 1, 2 or 5 times a power of ten that gives about five labels.
float niceStep(float range) {
  const double raw = std::fabs(range) / 5.0;
  if (!(raw > 0) || !std::isfinite(raw)) return 1.0f;
  const double p = std::pow(10.0, std::floor(std::log10(raw)));
  const double m = raw / p;
  return static_cast<float>((m < 1.5 ? 1 : m < 3.5 ? 2 : m < 7.5 ? 5 : 10) * p);
}

}  // namespace

int qqvclr(float v, float zmin, float zmax) {
  const float t = (v - zmin) / (zmax - zmin);
  const int k = static_cast<int>(std::floor(t * 254.0f));
  return 1 + std::clamp(k, 0, 253);
}

}  // namespace korvan

using namespace korvan;

extern "C" {

void heatmp(const float* zmat, int nx, int ny, float zmin, float zmax) {
  Global* gp = jqqlev(2, 3, "heatmp");
  if (!gp) return;
  Global& g = *gp;
  if (nx < 1 || ny < 1) {
    warni1(g, 2, nx < 1 ? nx : ny);
    return;
  }
  if (!zmat) {
    warnin(g, 2);
    return;
  }
  if (!(zmax > zmin) || !std::isfinite(zmin) || !std::isfinite(zmax)) {
    warnin(g, 2);
    return;
  }
  // The cells divide the axes evenly in plot units; their edges meet the
  // axis ends exactly.
  auto value = [&](int ax, float v) { return g.axis[ax].logScale ? std::pow(10.0f, v) : v; };
  float x0, y0, x1, y1;
  qqrel2(g, value(0, g.axisA[0]), value(1, g.axisA[1]), &x0, &y0);
  qqrel2(g, value(0, g.axisE[0]), value(1, g.axisE[1]), &x1, &y1);
  g.level = 3;
  sclpax(g, 0);
  {
    SolidFill solid(g);
    for (int j = 0; j < ny; ++j) {
      const float ya = y0 + (y1 - y0) * j / ny, yb = y0 + (y1 - y0) * (j + 1) / ny;
      int runColour = -1, runStart = 0;
      auto flush = [&](int iEnd) {
        if (runColour >= 0) {
          if (g.currentColour != runColour) qqsclr(g, runColour);
          box(g, x0 + (x1 - x0) * runStart / nx, ya, x0 + (x1 - x0) * iEnd / nx, yb);
        }
        runColour = -1;
      };
      for (int i = 0; i < nx; ++i) {
        const float v = zmat[i + static_cast<std::size_t>(j) * nx];
        const int c = std::isnan(v) ? -1 : qqvclr(v, zmin, zmax);
        if (c != runColour) {
          flush(i);
          runColour = c;
          runStart = i;
        }
      }
      flush(nx);
    }
  }
  sclpax(g, 1);
  g.keySet = 1;
  g.keyMin = zmin;
  g.keyMax = zmax;
  g.keyBands = 0;
}

void colkey(const char* cpos) {
  Global* gp = jqqlev(2, 3, "colkey");
  if (!gp) return;
  Global& g = *gp;
  const int pos = jqqind(g, "RIGH BOTT ", 2, cpos ? cpos : "");
  if (pos == 0) return;
  if (!g.keySet) {
    warnin(g, 2);
    return;
  }
  const float lo = g.keyMin, hi = g.keyMax;
  const int gap = std::max(20, g.axisLenX / 20), thick = std::max(20, g.axisLenX / 25);
  // The bar: bottom-left corner (bx, by), length along the values len.
  int bx, by, len;
  if (pos == 1) {
    bx = g.axisPosX + g.axisLenX + gap;
    by = g.axisPosY;
    len = g.axisLenY;
  } else {
    bx = g.axisPosX;
    len = g.axisLenX;
    by = g.axisPosY + gap + thick + 2 * g.charHeight + g.axis[0].labelDist + g.axis[0].tickLong;
  }
  auto along = [&](float v) { return (v - lo) / (hi - lo) * (len - 1); };
  {
    SolidFill solid(g);
    const int n = g.keyBands > 0 ? g.keyBands : 254;
    for (int k = 0; k < n; ++k) {
      const float a = g.keyBands > 0 ? along(g.keyLevels[k]) : static_cast<float>(len - 1) * k / n;
      const float b = g.keyBands > 0 ? along(g.keyLevels[k + 1]) : static_cast<float>(len - 1) * (k + 1) / n;
      qqsclr(g, g.keyBands > 0 ? qqbclr(k, n) : 1 + k);
      if (pos == 1)
        box(g, bx, by - a, bx + thick, by - b);
      else
        box(g, bx + a, by - thick, bx + b, by);
    }
  }
  // Frame, then the axis along the far side of the bar.
  const float fx[5] = {float(bx), float(bx + (pos == 1 ? thick : len - 1)),
                       float(bx + (pos == 1 ? thick : len - 1)), float(bx), float(bx)};
  const float fy[5] = {float(by), float(by), float(by - (pos == 1 ? len - 1 : thick)),
                       float(by - (pos == 1 ? len - 1 : thick)), float(by)};
  strtqq(g, fx[0], fy[0]);
  for (int k = 1; k < 5; ++k) connqq(g, fx[k], fy[k]);
  const float step = niceStep(hi - lo);
  const float org = std::ceil(lo / step - 1e-4f) * step;
  if (pos == 1) {
    const int just = g.axis[1].labelJust;
    g.axis[1].labelJust = 1;  // the labels start at the bar
    daxis(g, lo, hi, org, step, len, "", 0, bx + thick, by, 0, 2);
    g.axis[1].labelJust = just;
  } else {
    daxis(g, lo, hi, org, step, len, "", 0, bx, by, 0, 1);
  }
  qqstrk(g);
}

void heatmp_(const float* zmat, const int* nx, const int* ny, const float* zmin, const float* zmax) {
  heatmp(zmat, *nx, *ny, *zmin, *zmax);
}
void colkey_(const char* cpos, int len) { colkey(Key4(cpos, len)); }

}  // extern "C"
