// What a smooth driver takes from the plot state: the pixel width and cap
// of the lines, and the clip window in pixels.
#pragma once

#include <algorithm>
#include <cmath>

#include "core/state.h"
#include "devices/raster/smooth.h"

namespace korvan {

// A line is as wide as its width in plot units on the device, and never
// thinner than one pixel. Solid lines end square, like the outlines of the
// other devices; dashed lines end flush, so that dashes keep their lengths;
// dashes shorter than the width (dots) end round.
inline void qqsmst(const Global& g, double* width, LineCap* cap) {
  const double s = g.deviceScale;
  *width = std::max(1.0, static_cast<double>(std::max(g.lineWidth, 1)) * s);
  if (g.patternLength <= 1) {
    *cap = LineCap::Square;
    return;
  }
  int shortest = g.linePattern[0];
  for (int i = 0; i < g.patternLength && i < 10; i += 2) shortest = std::min(shortest, g.linePattern[i]);
  *cap = static_cast<double>(shortest) * s < *width ? LineCap::Round : LineCap::Butt;
}

// The pixels of the clip window, as the device points of its corners
// round: (x0, y0) .. (x1, y1), given the device transform.
template <class Transform>
void qqsmcl(const Global& g, Transform toDevice, int* x0, int* y0, int* x1, int* y1) {
  float ax, ay, bx, by;
  toDevice(static_cast<float>(g.clipXmin), static_cast<float>(g.clipYmin), ax, ay);
  toDevice(static_cast<float>(g.clipXmax), static_cast<float>(g.clipYmax), bx, by);
  *x0 = static_cast<int>(std::lround(std::min(ax, bx)));
  *x1 = static_cast<int>(std::lround(std::max(ax, bx)));
  *y0 = static_cast<int>(std::lround(std::min(ay, by)));
  *y1 = static_cast<int>(std::lround(std::max(ay, by)));
}

}  // namespace korvan
