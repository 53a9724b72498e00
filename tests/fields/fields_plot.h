// Test support of the field tests: an axis system of known place and scale,
// and its plot read back in user coordinates from the text metafile or as
// pixels from a PPM.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "axes/axes.h"
#include "axes/gksl_plot.h"

namespace korvan::test {

struct Pt {
  double x, y;
};

class FieldPlot : public GkslPlot {
 protected:
  // An axis system of 1001 x 1001 units at (800, 1600) for -2..2 both ways.
  void axes(const char* format = "GKSL") {
    metafl(format);
    korini();
    qqgglb().protocolOn = 0;
    axspos(kLeft, kBottom);
    axslen(kSide, kSide);
    graf(-2, 2, -2, 1, -2, 2, -2, 1);
    float x0, y0, x1, y1;
    qqrel2(qqgglb(), 0, 0, &x0, &y0);
    qqrel2(qqgglb(), 1, 1, &x1, &y1);
    ox_ = x0;
    oy_ = y0;
    fx_ = x1 - x0;
    fy_ = y1 - y0;
  }
  // User coordinates of a plot point of this system.
  static Pt user(double px, double py) { return {(px - ox_) / fx_, (py - oy_) / fy_}; }
  // The polylines drawn inside the axis frame, in user coordinates: a new
  // one starts wherever a segment does not begin where the last one ended.
  static std::vector<std::vector<Pt>> polylines(const std::vector<Line>& segs) {
    std::vector<std::vector<Pt>> out;
    Pt last{1e9, 1e9};
    for (const Line& s : segs) {
      const Pt a = user(s.x1, s.y1), b = user(s.x2, s.y2);
      if (std::fabs(a.x) > 1.98 || std::fabs(a.y) > 1.98 || std::fabs(b.x) > 1.98 ||
          std::fabs(b.y) > 1.98)
        continue;  // frame and ticks
      if (std::fabs(a.x - last.x) > 1e-3 || std::fabs(a.y - last.y) > 1e-3) out.push_back({a});
      out.back().push_back(b);
      last = b;
    }
    return out;
  }
  static inline double ox_ = 0, oy_ = 0, fx_ = 1, fy_ = 1;
  static constexpr int kLeft = 800, kBottom = 1600, kSide = 1001;
};

// A PPM read into memory with the pixel of a plot point.
struct Picture {
  int w = 0, h = 0;
  std::vector<std::uint8_t> rgb;
  bool read(const std::string& name) { return readPpm(name, w, h, rgb); }
  std::uint32_t at(int x, int y) const {
    const std::size_t k = 3 * (static_cast<std::size_t>(y) * w + x);
    return rgb[k] << 16 | rgb[k + 1] << 8 | rgb[k + 2];
  }
  int px(double plotX) const { return static_cast<int>(plotX * w / 2969.0); }
  int py(double plotY) const { return static_cast<int>(plotY * h / 2099.0); }
};

}  // namespace korvan::test
