// Filled polygons of the charts: the fill settings of one call, the cut to
// the clipping window, outlines and bars.
#include <cmath>
#include <utility>
#include <vector>

#include "axes/axes.h"
#include "charts/charts.h"
#include "core/state.h"
#include "draw/fill.h"
#include "draw/pipeline.h"

namespace korvan {

FillState qqfsav(const Global& g) {
  return {g.shadingPattern, g.fillType,      g.hatchAngle,    g.crossHatch,
          g.hatchDensity,   g.hatchGroupOn,  g.hatchGroupOff, g.hatchSpacing};
}

void qqfrst(Global& g, const FillState& s) {
  g.shadingPattern = s.shading;
  g.fillType = s.fillType;
  g.hatchAngle = s.hatchAngle;
  g.crossHatch = s.crossHatch;
  g.hatchDensity = s.hatchDensity;
  g.hatchGroupOn = s.hatchGroupOn;
  g.hatchGroupOff = s.hatchGroupOff;
  g.hatchSpacing = s.hatchSpacing;
}

void qqfsol(Global& g) {
  if (g.fillType != 0) return;
  if (qqmypt(g, 0, 1, 0, 0)) g.shadingPattern = 16;
}

bool qqchkd(Global& g, int n, const float* const* arrays, int count) {
  if (n < 1) {
    warni1(g, 30, n);
    return false;
  }
  for (int a = 0; a < count; ++a) {
    if (!arrays[a]) {
      warnc1(g, 2, "null array");
      return false;
    }
    for (int i = 0; i < n; ++i)
      if (!std::isfinite(arrays[a][i])) {
        warni1(g, 2, i + 1);  // the number of the point, counted from 1
        return false;
      }
  }
  return true;
}

void qqfclp(Global& g, const float* x, const float* y, int n) {
  if (n < 3 || g.fillType == 0) return;
  const float lo[2] = {static_cast<float>(g.clipXmin - g.shiftX),
                       static_cast<float>(g.clipYmin - g.shiftY)};
  const float hi[2] = {static_cast<float>(g.clipXmax - g.shiftX),
                       static_cast<float>(g.clipYmax - g.shiftY)};
  std::vector<float> px(x, x + n), py(y, y + n), qx, qy;
  // One edge of the window after the other (Sutherland-Hodgman).
  for (int edge = 0; edge < 4; ++edge) {
    const int ax = edge / 2;
    const bool low = edge % 2 == 0;
    const float c = low ? lo[ax] : hi[ax];
    auto coord = [&](std::size_t i) { return ax == 0 ? px[i] : py[i]; };
    auto inside = [&](std::size_t i) { return low ? coord(i) >= c : coord(i) <= c; };
    qx.clear();
    qy.clear();
    const std::size_t m = px.size();
    for (std::size_t i = 0; i < m; ++i) {
      const std::size_t j = (i + m - 1) % m;
      const bool in = inside(i), inPrev = inside(j);
      if (in != inPrev) {
        const float t = (coord(j) - c) / (coord(j) - coord(i));
        float cx = px[j] + t * (px[i] - px[j]), cy = py[j] + t * (py[i] - py[j]);
        if (ax == 0) cx = c; else cy = c;  // exactly on the edge
        qx.push_back(cx);
        qy.push_back(cy);
      }
      if (in) {
        qx.push_back(px[i]);
        qy.push_back(py[i]);
      }
    }
    std::swap(px, qx);
    std::swap(py, qy);
    if (px.size() < 3) return;
  }
  dareaf(g, px.data(), py.data(), static_cast<int>(px.size()));
}

void qqoutl(Global& g, const float* x, const float* y, int n) {
  if (n < 2) return;
  const float sx = static_cast<float>(g.shiftX), sy = static_cast<float>(g.shiftY);
  qqmove(g, x[0] + sx, y[0] + sy);
  for (int i = 1; i < n; ++i) qqdraw(g, x[i] + sx, y[i] + sy);
  qqdraw(g, x[0] + sx, y[0] + sy);
  qqstrk(g);
}

void qqdbar(Global& g, float p, float v1, float v2, float w) {
  const float a = p - w / 2.0f, b = p + w / 2.0f;
  float ux[4] = {a, b, b, a}, uy[4] = {v1, v1, v2, v2};
  if (g.barHori) std::swap(ux, uy);
  float x[4], y[4];
  for (int i = 0; i < 4; ++i) qqrel2(g, ux[i], uy[i], &x[i], &y[i]);
  qqfclp(g, x, y, 4);
  qqoutl(g, x, y, 4);
}

}  // namespace korvan
