// The view of the 3-D box: the box's unit cube -1..1 seen from azimuth and
// elevation (camera), fitted into the axis rectangle, in relative plot
// coordinates. Shared by the box (axes3d) and the surfaces drawn in it.
#pragma once

#include <algorithm>
#include <cmath>

#include "core/state.h"

namespace korvan {

struct View {
  double r[3], s[3], d[3];  // screen right, screen up, towards the viewer
  double cx, cy, scale;
};

inline View viewOf(const Global& g) {
  const double rad = 3.141592653589793 / 180.0;
  const double a = g.viewAzimuth * rad, e = g.viewElevation * rad;
  View v{};
  v.d[0] = std::cos(e) * std::cos(a);
  v.d[1] = std::cos(e) * std::sin(a);
  v.d[2] = std::sin(e);
  v.r[0] = -std::sin(a);
  v.r[1] = std::cos(a);
  v.r[2] = 0;
  v.s[0] = -std::sin(e) * std::cos(a);
  v.s[1] = -std::sin(e) * std::sin(a);
  v.s[2] = std::cos(e);
  // The cube -1..1 fits the axis rectangle whatever the view.
  v.cx = g.axisPosX + g.axisLenX / 2.0;
  v.cy = g.axisPosY - g.axisLenY / 2.0;
  const double reach = std::sqrt(3.0);
  v.scale = std::min(g.axisLenX, g.axisLenY) / (2.0 * reach);
  return v;
}

// A user point in the box's unit cube -1..1.
inline void unit(const Global& g, double x, double y, double z, double u[3]) {
  const double p[3] = {x, y, z};
  for (int k = 0; k < 3; ++k) u[k] = 2.0 * (p[k] - g.box3d[k][0]) / (g.box3d[k][1] - g.box3d[k][0]) - 1.0;
}

inline void project(const View& v, const double u[3], float* px, float* py, double* depth) {
  const double sx = v.r[0] * u[0] + v.r[1] * u[1] + v.r[2] * u[2];
  const double sy = v.s[0] * u[0] + v.s[1] * u[1] + v.s[2] * u[2];
  *depth = v.d[0] * u[0] + v.d[1] * u[1] + v.d[2] * u[2];
  *px = static_cast<float>(v.cx + v.scale * sx);
  *py = static_cast<float>(v.cy - v.scale * sy);
}

}  // namespace korvan
