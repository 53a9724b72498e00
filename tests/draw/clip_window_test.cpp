// Clipping of strokes against the clipping window, as the device sees it.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "draw/clip.h"
#include "support/recording_driver.h"

namespace korvan::test {
namespace {

class ClipTest : public RecordingTest {
 protected:
  void SetUp() override {
    RecordingTest::SetUp();
    start();
    Global& g = G();
    g.clipXmin = 100;
    g.clipYmin = 100;
    g.clipXmax = 200;
    g.clipYmax = 200;
  }
  // One stroke through the pipeline, flushed.
  std::vector<Event> stroke(std::initializer_list<std::pair<float, float>> pts) {
    Global& g = G();
    bool first = true;
    for (auto [x, y] : pts) {
      if (first)
        qqmove(g, x, y);
      else
        qqdraw(g, x, y);
      first = false;
    }
    qqstrk(g);
    return rec->points();
  }
  static void expectPoint(const Event& e, float x, float y, int mode) {
    EXPECT_EQ(e.mode, mode);
    EXPECT_NEAR(e.x, x, 1e-4);
    EXPECT_NEAR(e.y, y, 1e-4);
  }
};

TEST_F(ClipTest, LeavingTheWindowEndsOnTheEdge) {
  std::vector<Event> p = stroke({{150, 150}, {250, 175}});
  ASSERT_EQ(p.size(), 2u);
  expectPoint(p[0], 150, 150, 3);
  expectPoint(p[1], 200, 162.5f, 2);
}

TEST_F(ClipTest, EnteringTheWindowBeginsWithAMoveToTheEdge) {
  std::vector<Event> p = stroke({{150, 20}, {150, 150}});
  ASSERT_EQ(p.size(), 2u);
  expectPoint(p[0], 150, 100, 3);
  expectPoint(p[1], 150, 150, 2);
}

TEST_F(ClipTest, EveryReentryIsAMove) {
  std::vector<Event> p = stroke({{150, 150}, {250, 150}, {250, 250}, {150, 160}, {120, 120}});
  ASSERT_EQ(p.size(), 5u);
  expectPoint(p[0], 150, 150, 3);
  expectPoint(p[1], 200, 150, 2);
  // (250, 150) -> (250, 250) lies right of the window and is dropped;
  // (250, 250) -> (150, 160) is cut at x = 200 (y 205), then at y = 200
  expectPoint(p[2], 200.0f - 50.0f / 9.0f, 200, 3);
  expectPoint(p[3], 150, 160, 2);
  expectPoint(p[4], 120, 120, 2);
}

TEST_F(ClipTest, CrossingSegmentIsCutAtBothEnds) {
  std::vector<Event> p = stroke({{0, 150}, {300, 150}});
  ASSERT_EQ(p.size(), 2u);
  expectPoint(p[0], 100, 150, 3);
  expectPoint(p[1], 200, 150, 2);
}

TEST_F(ClipTest, SegmentsWhollyOnOneSideEmitNothing) {
  EXPECT_TRUE(stroke({{10, 120}, {90, 180}}).empty());                // left
  EXPECT_TRUE(stroke({{210, 120}, {290, 180}}).empty());              // right
  EXPECT_TRUE(stroke({{120, 10}, {180, 90}}).empty());                // above
  EXPECT_TRUE(stroke({{120, 210}, {180, 290}}).empty());              // below
  // passing outside the upper-left corner: cut once, then both above
  EXPECT_TRUE(stroke({{50, 120}, {120, 50}}).empty());
}

TEST_F(ClipTest, ToleranceDiffersBetweenPointTestAndSegmentClipper) {
  Global& g = G();
  const float nearEdge = 200.0005f;
  EXPECT_EQ(jqqclp(g, nearEdge, 150), 1);
  EXPECT_EQ(jqqclp(g, 200.0f, 150), 0);
  int cx, cy;
  EXPECT_EQ(chkval(nearEdge, 150, &cx, &cy, 100, 100, 200, 200), 0);
  EXPECT_EQ(cx, 2);
  EXPECT_EQ(chkval(200.002f, 99.0f, &cx, &cy, 100, 100, 200, 200), 2);
  EXPECT_EQ(cx, 3);
  EXPECT_EQ(cy, 1);
  // The stroke goes through the clipper from that point on, which keeps it.
  std::vector<Event> p = stroke({{150, 150}, {nearEdge, 150}, {150, 160}});
  ASSERT_EQ(p.size(), 3u);
  expectPoint(p[0], 150, 150, 3);
  EXPECT_EQ(p[1].mode, 2);
  EXPECT_EQ(p[1].x, nearEdge);
  expectPoint(p[2], 150, 160, 2);
}

TEST_F(ClipTest, StrokeStartingInTheToleranceBandStillStartsWithAMove) {
  // The pen must not draw from wherever it stood before.
  std::vector<Event> p = stroke({{200.0005f, 150}, {150, 150}});
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[0].mode, 3);
  EXPECT_FLOAT_EQ(p[0].x, 200.0005f);
  expectPoint(p[1], 150, 150, 2);
}

TEST_F(ClipTest, NonFiniteAndHugeCoordinatesNeverHangOrReachTheDevice) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  std::vector<Event> p = stroke({{150, 150}, {nan, nan}, {160, 160}, {inf, 150}, {-1e30f, 1e30f}});
  ASSERT_GE(p.size(), 1u);
  expectPoint(p[0], 150, 150, 3);
  // Segments to NaN are dropped; (160, 160) -> (inf, 150) is cut at the
  // edge. The device only ever sees finite points.
  for (const Event& e : rec->points()) {
    EXPECT_TRUE(std::isfinite(e.x));
    EXPECT_TRUE(std::isfinite(e.y));
  }
  rec->clear();
  clip2d(G(), -3e7f, 150.3f, 3e7f, 150.7f);
  std::vector<Event> q = rec->points();
  ASSERT_EQ(q.size(), 2u);
  EXPECT_NEAR(q[0].x, 100, 1e-3);
  EXPECT_NEAR(q[1].x, 200, 1e-3);
}

TEST(ClipHelpers, CutsAndAngles) {
  EXPECT_FLOAT_EQ(xcut(0, 0, 10, 20, 5), 2.5f);
  EXPECT_FLOAT_EQ(xcut(7, 3, 9, 3, 10), 7.0f);  // horizontal: x1
  EXPECT_FLOAT_EQ(ycut(0, 0, 10, 20, 5), 10.0f);
  EXPECT_FLOAT_EQ(ycut(4, 3, 4, 9, 10), 3.0f);  // vertical: y1
  EXPECT_FLOAT_EQ(qqatan(1, 0), 1.570796f);
  EXPECT_FLOAT_EQ(qqatan(-2, 5e-7f), -1.570796f);
  EXPECT_FLOAT_EQ(qqatan(0, 0), 1.570796f);
  EXPECT_FLOAT_EQ(qqatan(1, 1), static_cast<float>(std::atan2(1.0, 1.0)));
  EXPECT_FLOAT_EQ(qqatan(0, -3), static_cast<float>(M_PI));
}

}  // namespace
}  // namespace korvan::test
