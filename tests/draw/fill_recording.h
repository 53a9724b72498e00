// Test support for the fills, figures and symbols: a fixture that puts the
// recording driver behind a freshly initialised library.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/state.h"
#include "devices/driver.h"
#include "draw/pipeline.h"
#include "korvan.h"
#include "support/plot_fixture.h"
#include "support/recording_driver.h"

namespace korvan::test {

// The fills, figures and symbols read the recorded points and segments.
using Point = Event;
using Segment = Seg;

class DrawTest : public PlotTest {
 protected:
  // korini on "GKSL", then the recorder takes the driver's place.
  void start(bool polygons = false) {
    metafl("GKSL");
    korini();
    Global& g = qqgglb();
    g.driver.reset();
    rec = new Recorder(polygons);
    g.driver.reset(rec);
  }
  void TearDown() override {
    if (qqsglb(0) == 1 && qqgglb().level >= 1) {
      qqgglb().protocolOn = 0;
      korfin();
    }
    PlotTest::TearDown();
  }
  // Flushes the open stroke and returns what was drawn since the last clear.
  std::vector<Segment> drawn() {
    qqstrk(qqgglb());
    return rec->segments();
  }
  static Global& G() { return qqgglb(); }


  Recorder* rec = nullptr;
};

// Direction of a segment in degrees 0..180, counterclockwise on the page.
inline double lineAngle(const Segment& s) {
  double a = std::atan2(-(s.y2 - s.y1), s.x2 - s.x1) * 180.0 / M_PI;
  while (a < 0) a += 180.0;
  while (a >= 180.0 - 1e-6) a -= 180.0;
  return a;
}

inline double length(const Segment& s) { return std::hypot(s.x2 - s.x1, s.y2 - s.y1); }

}  // namespace korvan::test
