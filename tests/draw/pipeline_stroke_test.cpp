// The stroke buffer and its flushes, the origin offset, the public line and
// endgrf, and the axis window, observed at the device layer.
#include <gtest/gtest.h>

#include "draw/clip.h"
#include "support/recording_driver.h"

namespace korvan::test {
namespace {

using PipelineTest = RecordingTest;

float zig(int i) { return 100.0f + static_cast<float>(i % 2) * 7.0f; }

TEST_F(PipelineTest, LongPolylineFlushesAfterPoints100And199AndJoins) {
  start();
  Global& g = G();
  strtqq(g, 10.0f, zig(0));
  for (int i = 1; i < 250; ++i) {
    connqq(g, 10.0f + i, zig(i));
    if (i == 98) {
      EXPECT_EQ(rec->count(Event::Point), 0) << "nothing before the buffer is full";
    }
    if (i == 99) {
      EXPECT_EQ(rec->count(Event::Point), 100) << "first flush at point 100";
    }
    if (i == 197) {
      EXPECT_EQ(rec->count(Event::Point), 100);
    }
    if (i == 198) {
      EXPECT_EQ(rec->count(Event::Point), 200) << "second flush at point 199";
    }
  }
  EXPECT_EQ(g.strokeCount, 52);
  strtqq(g, 0.0f, 0.0f);  // the next move ends the stroke
  std::vector<Event> p = rec->points();
  ASSERT_EQ(p.size(), 252u);
  EXPECT_EQ(rec->moves(), 3);
  EXPECT_EQ(rec->draws(), 249);
  // Each flush begins with a move to where the previous one ended.
  ASSERT_EQ(p[100].mode, 3);
  EXPECT_FLOAT_EQ(p[100].x, p[99].x);
  EXPECT_FLOAT_EQ(p[100].y, p[99].y);
  ASSERT_EQ(p[200].mode, 3);
  EXPECT_FLOAT_EQ(p[200].x, p[199].x);
  EXPECT_FLOAT_EQ(p[200].y, p[199].y);
  EXPECT_FLOAT_EQ(p[200].x, 10.0f + 198);
  // The drawn polyline is the one given, without gaps.
  std::vector<Seg> s = rec->segments();
  ASSERT_EQ(s.size(), 249u);
  for (const Seg& piece : s) EXPECT_NEAR(segLength(piece), std::hypot(1.0, 7.0), 1e-4);
  EXPECT_FLOAT_EQ(p.back().x, 259.0f);
  EXPECT_FLOAT_EQ(p.back().y, zig(249));
}

TEST_F(PipelineTest, SinglePointStrokeIsOnlyAMove) {
  start();
  Global& g = G();
  strtqq(g, 50.0f, 60.0f);
  qqstrk(g);
  ASSERT_EQ(rec->count(Event::Point), 1);
  EXPECT_EQ(rec->events[0].mode, 3);
  qqstrk(g);  // nothing open: nothing happens
  EXPECT_EQ(rec->count(Event::Point), 1);
  EXPECT_EQ(g.strokeCount, 0);
}

TEST_F(PipelineTest, OriginOffsetAppliesToStyledButNotToAbsoluteCalls) {
  start();
  Global& g = G();
  g.shiftX = 100;
  g.shiftY = 200;
  lineqq(g, 1, 2, 3, 4);
  qqmove(g, 1.0f, 2.0f);
  qqdraw(g, 3.0f, 4.0f);
  qqstrk(g);
  std::vector<Event> p = rec->points();
  ASSERT_EQ(p.size(), 4u);
  EXPECT_FLOAT_EQ(p[0].x, 101.0f);
  EXPECT_FLOAT_EQ(p[1].y, 204.0f);
  EXPECT_FLOAT_EQ(g.curX, 103.0f);
  EXPECT_FLOAT_EQ(p[2].x, 1.0f);
  EXPECT_FLOAT_EQ(p[3].y, 4.0f);
}

TEST_F(PipelineTest, AbsoluteDrawsIgnoreTheLineStyle) {
  start();
  Global& g = G();
  dash();
  qqmove(g, 0.0f, 10.0f);
  qqdraw(g, 100.0f, 10.0f);
  qqstrk(g);
  EXPECT_EQ(rec->draws(), 1);
}

TEST_F(PipelineTest, LineFlipsYForTheBottomOrigin) {
  start();
  Global& g = G();
  line(10, 20, 30, 40);
  g.origin = 1;
  line(10, 20, 30, 40);
  g.noFlip = 1;
  line(10, 20, 30, 40);
  qqstrk(g);
  std::vector<Event> p = rec->points();
  ASSERT_EQ(p.size(), 6u);
  EXPECT_FLOAT_EQ(p[1].y, 40.0f);
  EXPECT_FLOAT_EQ(p[2].y, static_cast<float>(g.pageHeight - 20));
  EXPECT_FLOAT_EQ(p[3].y, static_cast<float>(g.pageHeight - 40));
  EXPECT_FLOAT_EQ(p[5].y, 40.0f);
}

TEST_F(PipelineTest, LineOutsideTheLevelsDrawsNothing) {
  std::string out = output([] { line(0, 0, 10, 10); });
  EXPECT_NE(out.find("Warning   3"), std::string::npos);
  EXPECT_NE(out.find("line"), std::string::npos);
  start();
  int before = rec->count(Event::Point);
  int a = 1, b = 2, c = 3, d = 4;
  line_(&a, &b, &c, &d);
  qqstrk(G());
  EXPECT_EQ(rec->count(Event::Point), before + 2);
}

TEST_F(PipelineTest, RvlineAlternatesDirection) {
  start();
  Global& g = G();
  // The switch is process-wide; find its phase first.
  rvline(g, 0, 0, 10, 0);
  qqstrk(g);
  bool forwardFirst = rec->points()[0].x == 0.0f;
  rec->clear();
  rvline(g, 0, 0, 10, 0);
  rvline(g, 0, 0, 10, 0);
  qqstrk(g);
  std::vector<Event> p = rec->points();
  ASSERT_EQ(p.size(), 4u);
  // after an odd number of calls the next one goes the other way
  EXPECT_FLOAT_EQ(p[0].x, forwardFirst ? 10.0f : 0.0f);
  EXPECT_FLOAT_EQ(p[2].x, forwardFirst ? 0.0f : 10.0f);
  EXPECT_FLOAT_EQ(p[3].x, forwardFirst ? 10.0f : 0.0f);
}

TEST_F(PipelineTest, EndgrfFlushesMakesVisibleAndReturnsToLevelOne) {
  start();
  Global& g = G();
  g.level = 2;
  g.axisAttr[0] = 5;
  line(0, 0, 10, 10);
  endgrf_();
  EXPECT_EQ(g.level, 1);
  EXPECT_EQ(g.axisAttr[0], 0);
  ASSERT_EQ(rec->events.size(), 3u);
  EXPECT_EQ(rec->events[0].kind, Event::Point);
  EXPECT_EQ(rec->events[1].kind, Event::Point);
  EXPECT_EQ(rec->events[2].kind, Event::Flush);
}

TEST_F(PipelineTest, EndgrfRestoresAHeldAxisWindow) {
  start();
  Global& g = G();
  g.axisClipXmin = 100;
  g.axisClipYmin = 100;
  g.axisClipXmax = 200;
  g.axisClipYmax = 200;
  sclpax(g, 0);
  g.axisClipMarker = 2;
  sclpax(g, 1);  // held: nothing happens
  EXPECT_EQ(g.clipXmax, 200);
  endgrf();
  EXPECT_EQ(g.axisClipMarker, 0);
  EXPECT_EQ(g.clipXmin, 0);
  EXPECT_EQ(g.clipXmax, g.pageWidth);
  EXPECT_EQ(g.clipYmax, g.pageHeight);
}

TEST_F(PipelineTest, AxisWindowOnAFileDeviceLiesOneUnitInsideTheFrame) {
  start(201);
  Global& g = G();
  g.axisPosX = 300;
  g.axisPosY = 1800;
  g.axisLenX = 2000;
  g.axisLenY = 1400;
  setclp(g);
  EXPECT_EQ(g.axisClipXmin, 301);
  EXPECT_EQ(g.axisClipXmax, 300 + 2000 - 2);
  EXPECT_EQ(g.axisClipYmin, 1800 - 1400 + 2);
  EXPECT_EQ(g.axisClipYmax, 1799);
  sclpax(g, 0);
  // a curve point on the left axis line is clipped, one unit right is drawn
  lineqq(g, 300, 1000, 300, 1100);
  lineqq(g, 301, 1000, 301, 1100);
  qqstrk(g);
  std::vector<Event> p = rec->points();
  ASSERT_EQ(p.size(), 2u);
  EXPECT_FLOAT_EQ(p[0].x, 301.0f);
  sclpax(g, 1);
  EXPECT_EQ(g.clipXmin, 0);
}

TEST_F(PipelineTest, AxisWindowNarrowsByAPixelOnRasterAndIsBoundedByThePage) {
  start();
  Global& g = G();
  g.deviceScale = 0.25f;  // four plot units per pixel
  g.axisPosX = -50;
  g.axisPosY = 1000;
  g.axisLenX = 4000;
  g.axisLenY = 500;
  setclp(g);
  // m = -1 - nint(0.99 / 0.25) = -5
  EXPECT_EQ(g.axisClipXmin, 0);  // -50 + 5 is negative
  EXPECT_EQ(g.axisClipXmax, g.pageWidth);
  EXPECT_EQ(g.axisClipYmin, 1000 - 500 + 5 + 1);
  EXPECT_EQ(g.axisClipYmax, 1000 - 5);
  g.axisClipMargin = 10;
  g.shiftX = 7;
  g.axisPosX = 100;
  setclp(g);
  EXPECT_EQ(g.axisClipXmin, 100 + 7 - 10);
}

TEST_F(PipelineTest, SclpaxOnlyTightensAndFlushesFirst) {
  start();
  Global& g = G();
  g.clipXmin = 50;
  g.clipXmax = 500;
  g.axisClipXmin = 10;
  g.axisClipXmax = 400;
  g.axisClipYmin = 20;
  g.axisClipYmax = 5000;
  lineqq(g, 0, 30, 600, 30);
  sclpax(g, 0);
  EXPECT_EQ(rec->count(Event::Point), 2) << "the open stroke went out under the old window";
  EXPECT_EQ(g.clipXmin, 50);
  EXPECT_EQ(g.clipXmax, 400);
  EXPECT_EQ(g.clipYmin, 20);
  EXPECT_EQ(g.clipYmax, g.pageHeight);
}

}  // namespace
}  // namespace korvan::test
