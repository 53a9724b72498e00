// Test support: a driver that records everything the device layer hands it
// (points, boxes, polygons, colours, palettes, widths, flushes, erasures),
// and a fixture that puts it behind a freshly initialised library on the
// file-less "VIRT" output. Optionally the fixture pretends another device
// code afterwards, so that the device rules of the drawing layer can be
// watched without that device's own output.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/state.h"
#include "devices/driver.h"
#include "draw/pipeline.h"
#include "korvan.h"
#include "support/plot_fixture.h"

namespace korvan::test {

struct Event {
  enum Kind { Point, Box, Polygon, Colour, Palette, Width, Flush, Erase };
  Kind kind;
  float x = 0, y = 0;  // Point; Box: first corner
  int mode = 0;        // Point: 2 draw, 3 move
  float x2 = 0, y2 = 0;  // Box: second corner
  int value = 0;       // Box colour, Colour index, Palette table number, Width n
  int previous = 0;    // Colour: g.currentColour when the driver was asked
  int rgb = 0;         // Colour: the table entry of the index
};

struct Seg {
  float x1, y1, x2, y2;
};

struct RecPolygon {
  std::vector<float> x, y;
};

class Recorder : public Driver {
 public:
  explicit Recorder(bool polygons = false) : acceptPolygons(polygons) {}
  void point(Global& g, float x, float y, int mode) override {
    Event e{Event::Point};
    e.x = x;
    e.y = y;
    e.mode = mode;
    events.push_back(e);
    if (onPoint) onPoint(g, x, y, mode);
  }
  void box(Global&, float x1, float y1, float x2, float y2, int colour) override {
    Event e{Event::Box};
    e.x = x1;
    e.y = y1;
    e.x2 = x2;
    e.y2 = y2;
    e.value = colour;
    events.push_back(e);
  }
  bool polygons() const override { return acceptPolygons; }
  void polygon(Global&, const float* xs, const float* ys, int n) override {
    Event e{Event::Polygon};
    e.value = n;
    events.push_back(e);
    polys.push_back({std::vector<float>(xs, xs + n), std::vector<float>(ys, ys + n)});
  }
  void colour(Global& g, int index) override {
    Event e{Event::Colour};
    e.value = index;
    e.previous = g.currentColour;
    e.rgb = index >= 0 && index < 256 ? g.colourTable[index] : -1;
    events.push_back(e);
    if (onColour) onColour(g, index);
  }
  void palette(Global& g) override {
    Event e{Event::Palette};
    e.value = g.colourTableNo;
    events.push_back(e);
  }
  void width(Global& g, int n) override {
    Event e{Event::Width};
    e.value = n;
    events.push_back(e);
    if (strokesWidth)
      g.lineWidth = -n;
    else
      Driver::width(g, n);
  }
  void flush(Global&) override { events.push_back(Event{Event::Flush}); }
  void erase(Global&) override { events.push_back(Event{Event::Erase}); }

  // Only the events of one kind.
  std::vector<Event> only(Event::Kind k) const {
    std::vector<Event> out;
    for (const Event& e : events)
      if (e.kind == k) out.push_back(e);
    return out;
  }
  std::vector<Event> points() const { return only(Event::Point); }
  int count(Event::Kind k) const { return static_cast<int>(only(k).size()); }
  int moves() const {
    int n = 0;
    for (const Event& e : events) n += e.kind == Event::Point && e.mode == 3;
    return n;
  }
  int draws() const {
    int n = 0;
    for (const Event& e : events) n += e.kind == Event::Point && e.mode == 2;
    return n;
  }
  // Every draw as a segment from the pen position before it.
  std::vector<Seg> segments() const {
    std::vector<Seg> out;
    bool have = false;
    float px = 0, py = 0;
    for (const Event& e : events) {
      if (e.kind != Event::Point) continue;
      if (e.mode == 2 && have) out.push_back({px, py, e.x, e.y});
      px = e.x;
      py = e.y;
      have = true;
    }
    return out;
  }
  // The drawn paths: each begins at a move and collects the draws after it.
  std::vector<std::vector<Event>> paths() const {
    std::vector<std::vector<Event>> out;
    for (const Event& e : events) {
      if (e.kind != Event::Point) continue;
      if (e.mode == 3 || out.empty()) out.emplace_back();
      out.back().push_back(e);
    }
    return out;
  }
  void clear() {
    events.clear();
    polys.clear();
  }

  std::vector<Event> events;
  std::vector<RecPolygon> polys;  // the vertices of each polygon
  bool acceptPolygons = false;
  bool strokesWidth = false;  // behave like a device that strokes wide lines
  // Called after the event is recorded, for tests that act from inside the
  // device layer.
  void (*onPoint)(Global&, float, float, int) = nullptr;
  void (*onColour)(Global&, int) = nullptr;
};

class RecordingTest : public PlotTest {
 protected:
  // korini on "VIRT"; the recorder then replaces its driver. With a device
  // code, g.device is set to it afterwards (the table loaded by korini stays
  // that of "VIRT"; call setvlt to load one under the new code).
  void start(int device = 0) {
    metafl("VIRT");
    korini();
    Global& g = qqgglb();
    if (g.driver) {
      g.driver->finish(g);
      g.driver.reset();
    }
    rec = new Recorder();
    g.driver.reset(rec);
    if (device != 0) g.device = device;
  }
  void TearDown() override {
    if (qqsglb(0) == 1) {
      Global& g = qqgglb();
      if (g.level >= 1) {
        g.protocolOn = 0;
        g.device = 603;
        quiet([] { korfin(); });
      }
      g.driver.reset();
      g.driver.reset();
    }
    PlotTest::TearDown();
  }
  static Global& G() { return qqgglb(); }
  // Flushes the open stroke and returns the drawn segments.
  std::vector<Seg> drawn() {
    qqstrk(G());
    return rec->segments();
  }
  template <class F>
  static void quiet(F f) {
    (void)output(f);
  }

  Recorder* rec = nullptr;
};

inline double segLength(const Seg& s) { return std::hypot(s.x2 - s.x1, s.y2 - s.y1); }

}  // namespace korvan::test
