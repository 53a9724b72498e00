// Test support for the fills, figures and symbols: a driver that records
// what reaches the device layer, and a fixture that installs it behind a
// freshly initialised library.
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

namespace korvan::test {

struct Point {
  float x, y;
  int mode;  // 2 draw, 3 move
};

struct Segment {
  float x1, y1, x2, y2;
};

struct RecPolygon {
  std::vector<float> x, y;
};

class RecordingDriver : public Driver {
 public:
  explicit RecordingDriver(bool polygons) : polygons_(polygons) {}
  void point(Global&, float x, float y, int mode) override { points.push_back({x, y, mode}); }
  bool polygons() const override { return polygons_; }
  void polygon(Global&, const float* xs, const float* ys, int n) override {
    RecPolygon p;
    p.x.assign(xs, xs + n);
    p.y.assign(ys, ys + n);
    polys.push_back(p);
  }
  void box(Global&, float, float, float, float, int) override {}

  // The drawn pieces: every draw from the pen position before it.
  std::vector<Segment> segments() const {
    std::vector<Segment> out;
    bool have = false;
    float px = 0, py = 0;
    for (const Point& p : points) {
      if (p.mode == 2 && have) out.push_back({px, py, p.x, p.y});
      if (p.mode == 2 || p.mode == 3) {
        px = p.x;
        py = p.y;
        have = true;
      }
    }
    return out;
  }
  int draws() const {
    int n = 0;
    for (const Point& p : points) n += p.mode == 2;
    return n;
  }
  int moves() const {
    int n = 0;
    for (const Point& p : points) n += p.mode == 3;
    return n;
  }
  void clear() {
    points.clear();
    polys.clear();
  }

  std::vector<Point> points;
  std::vector<RecPolygon> polys;

 private:
  bool polygons_;
};

class DrawTest : public PlotTest {
 protected:
  // korini on "GKSL", then the recorder takes the driver's place.
  void start(bool polygons = false) {
    metafl("GKSL");
    korini();
    Global& g = qqgglb();
    g.driver.reset();
    rec = new RecordingDriver(polygons);
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

  // What the library prints while f runs.
  template <class F>
  static std::string output(F f) {
    ::testing::internal::CaptureStdout();
    f();
    std::fflush(stdout);
    return ::testing::internal::GetCapturedStdout();
  }

  RecordingDriver* rec = nullptr;
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
