// Test support of the axis tests: a plot on the text metafile ("GKSL") read
// back as line segments in plot units.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/state.h"
#include "draw/pipeline.h"
#include "korvan.h"
#include "support/plot_fixture.h"
#include "text/text.h"

namespace korvan::test {

struct Line {
  double x1, y1, x2, y2;
  int colour = -1;  // the colour index it was drawn in; -1 before any change
  bool vertical() const { return std::fabs(x1 - x2) < 0.01; }
  bool horizontal() const { return std::fabs(y1 - y2) < 0.01; }
};

// The segments of a "GKSL" file: fields below 1.5 are coordinates scaled to
// the longer page side; 2 and 3 give the pen of the point before them and
// of those after it; larger codes carry no point: 10..98 set colour 1..89
// (each 99 before them adds 89), 9 ends the file.
inline std::vector<Line> readMetafile(const std::string& file, double w = 2969, double h = 2099) {
  std::vector<Line> out;
  std::vector<double> coords;
  std::size_t pos = file.find('\n');
  double px = 0, py = 0;
  bool have = false;
  int mode = 3, colour = -1, bank = 0;
  auto point = [&](double x, double y, int m) {
    if (m == 2 && have) out.push_back({px, py, x, y, colour});
    px = x;
    py = y;
    have = true;
  };
  double pendingX = 0, pendingY = 0;
  bool pending = false;
  for (pos = pos == std::string::npos ? file.size() : pos + 1; pos + 10 <= file.size();) {
    if (file[pos] == '\n') {
      ++pos;
      continue;
    }
    const double v = std::stod(file.substr(pos, 10));
    pos += 10;
    if (v < 1.5) {
      coords.push_back(v);
      if (coords.size() == 2) {
        if (pending) point(pendingX, pendingY, mode);
        pendingX = coords[0] * std::max(w, h);
        pendingY = h - coords[1] * std::max(w, h);
        pending = true;
        coords.clear();
      }
    } else if (std::fabs(v - 2) < 1e-6 || std::fabs(v - 3) < 1e-6) {
      mode = static_cast<int>(std::lround(v));
    } else if (std::fabs(v - 99) < 1e-6) {
      bank += 89;
    } else if (v > 9.5 && v < 98.5) {
      // The colour holds from the point that follows it.
      if (pending) point(pendingX, pendingY, mode);
      pending = false;
      colour = (bank + static_cast<int>(std::lround(v)) - 9) % 256;
      bank = 0;
    }
  }
  if (pending) point(pendingX, pendingY, mode);
  return out;
}

class GkslPlot : public PlotTest {
 protected:
  // korini on "GKSL" with the protocol off.
  void open() {
    metafl("GKSL");
    korini();
    qqgglb().protocolOn = 0;
  }
  // korfin and the file's segments.
  std::vector<Line> close() {
    korfin();
    return readMetafile(slurp("korvan.met"));
  }
  // True when the text layer draws strokes (it may still be a stand-in that
  // only measures).
  static bool textDraws() {
    Global& g = qqgglb();
    const int before = g.vectorCount;
    dtext(g, "8", 5, 5, 0.0f, 20);
    qqstrk(g);
    return g.vectorCount > before;
  }
};

}  // namespace korvan::test
