// Point and segment clipping against the clipping window.
#include "draw/clip.h"

#include <cmath>

#include "core/state.h"
#include "devices/dispatch.h"
#include "draw/shield.h"

namespace korvan {

int jqqclp(const Global& g, float x, float y) {
  // Written as "not inside" so that NaN never reaches a driver.
  bool inside = x >= static_cast<float>(g.clipXmin) && x <= static_cast<float>(g.clipXmax) &&
                y >= static_cast<float>(g.clipYmin) && y <= static_cast<float>(g.clipYmax);
  return inside ? 0 : 1;
}

namespace {
int side(float v, float lo, float hi) {
  if (v > hi + 0.001f) return 3;
  if (v >= lo - 0.001f) return 2;
  return 1;  // below the minimum, or NaN
}
}  // namespace

int chkval(float x, float y, int* cx, int* cy, float xmin, float ymin, float xmax, float ymax) {
  *cx = side(x, xmin, xmax);
  *cy = side(y, ymin, ymax);
  return (*cx != 2 ? 1 : 0) + (*cy != 2 ? 1 : 0);
}

float xcut(float x1, float y1, float x2, float y2, float yc) {
  if (std::fabs(y1 - y2) < 1e-35f) return x1;
  return x1 + (yc - y1) * (x2 - x1) / (y2 - y1);
}

float ycut(float x1, float y1, float x2, float y2, float xc) {
  if (std::fabs(x2 - x1) < 1e-35f) return y1;
  return y1 + (xc - x1) * (y2 - y1) / (x2 - x1);
}

void qqcutp(float& x1, float& y1, float& x2, float& y2, bool first, int cx, int cy, float xmin,
            float ymin, float xmax, float ymax) {
  float& px = first ? x1 : x2;
  float& py = first ? y1 : y2;
  if (cx == 1) {
    py = ycut(x1, y1, x2, y2, xmin);
    px = xmin;
  } else if (cx == 3) {
    py = ycut(x1, y1, x2, y2, xmax);
    px = xmax;
  } else if (cy == 1) {
    px = xcut(x1, y1, x2, y2, ymin);
    py = ymin;
  } else {
    px = xcut(x1, y1, x2, y2, ymax);
    py = ymax;
  }
}

float qqatan(float a, float b) {
  if (std::fabs(b) > 1e-6f) return static_cast<float>(std::atan2(static_cast<double>(a), static_cast<double>(b)));
  return a < 0.0f ? -1.570796f : 1.570796f;
}

bool qqclps(Global& g, float x1, float y1, float x2, float y2, bool penAtStart) {
  const float xmin = static_cast<float>(g.clipXmin), ymin = static_cast<float>(g.clipYmin);
  const float xmax = static_cast<float>(g.clipXmax), ymax = static_cast<float>(g.clipYmax);
  bool startMoved = false, endMoved = false;
  // Each cut puts one coordinate on an edge, so four cuts settle any finite
  // segment; rounding at huge coordinates or NaN could otherwise cycle.
  for (int cuts = 0;; ++cuts) {
    int cx1, cy1, cx2, cy2;
    int n1 = chkval(x1, y1, &cx1, &cy1, xmin, ymin, xmax, ymax);
    int n2 = chkval(x2, y2, &cx2, &cy2, xmin, ymin, xmax, ymax);
    if (n1 == 0 && n2 == 0) break;
    if ((cx1 == cx2 && cx1 != 2) || (cy1 == cy2 && cy1 != 2)) return false;
    if (cuts == 8) return false;
    bool first = n1 != 0;
    qqcutp(x1, y1, x2, y2, first, first ? cx1 : cx2, first ? cy1 : cy2, xmin, ymin, xmax, ymax);
    if (first)
      startMoved = true;
    else
      endMoved = true;
  }
  if (startMoved || !penAtStart) xjdraw(g, x1, y1, 3);
  if (g.shieldCount != 0)
    qqbl01(g, x1, y1, x2, y2);
  else
    xjdraw(g, x2, y2, 2);
  return !endMoved;
}

void clip2d(Global& g, float x1, float y1, float x2, float y2) { qqclps(g, x1, y1, x2, y2, true); }

}  // namespace korvan
