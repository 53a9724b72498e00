// Wide lines: the outlines the stroke flush draws around the centre line,
// and the width call of the devices that stroke wide lines themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/recording_driver.h"

namespace korvan::test {
namespace {

class WidthTest : public RecordingTest {
 protected:
  void SetUp() override {
    RecordingTest::SetUp();
    start();
  }
  // The paths drawn by one stroke: the centre line first, then the outlines.
  std::vector<std::vector<Event>> strokePaths(std::initializer_list<std::pair<float, float>> pts) {
    Global& g = G();
    bool first = true;
    for (auto [x, y] : pts) {
      if (first)
        strtqq(g, x, y);
      else
        connqq(g, x, y);
      first = false;
    }
    qqstrk(g);
    return rec->paths();
  }
  // The larger and the smaller coordinate offset of a point from (c, c).
  static float far(const Event& e, float c) {
    return std::max(std::fabs(e.x - c), std::fabs(e.y - c));
  }
  static float near(const Event& e, float c) {
    return std::min(std::fabs(e.x - c), std::fabs(e.y - c));
  }
};

TEST_F(WidthTest, WidthOneDrawsTheCentreLineOnly) {
  linwid(1);
  auto p = strokePaths({{100, 100}, {200, 100}});
  ASSERT_EQ(p.size(), 1u);
  EXPECT_EQ(p[0].size(), 2u);
}

TEST_F(WidthTest, OutlineCountsAndHalfWidths) {
  struct {
    int width;
    std::vector<float> halves;
  } cases[] = {{2, {1.0f}}, {3, {1.5f}}, {4, {2.0f}}, {5, {1.5f, 2.5f}}, {10, {1.5f, 3.0f, 5.0f}}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.width);
    rec->clear();
    linwid_(&c.width);
    auto p = strokePaths({{100, 100}, {200, 100}});
    ASSERT_EQ(p.size(), 1 + c.halves.size());
    for (std::size_t k = 0; k < c.halves.size(); ++k) {
      const float d = c.halves[k];
      const auto& o = p[k + 1];
      // move to the first corner and four edges round the rectangle
      ASSERT_EQ(o.size(), 5u);
      EXPECT_EQ(o[0].mode, 3);
      const float want[5][2] = {{100 - d, 100 - d}, {200 + d, 100 - d}, {200 + d, 100 + d},
                                {100 - d, 100 + d}, {100 - d, 100 - d}};
      for (int i = 0; i < 5; ++i) {
        EXPECT_NEAR(o[i].x, want[i][0], 1e-4);
        EXPECT_NEAR(o[i].y, want[i][1], 1e-4);
      }
    }
  }
}

TEST_F(WidthTest, SlantedSegmentGetsARotatedRectangle) {
  linwid(4);
  auto p = strokePaths({{100, 100}, {400, 500}});  // direction (0.6, 0.8) on the page
  ASSERT_EQ(p.size(), 2u);
  const auto& o = p[1];
  ASSERT_EQ(o.size(), 5u);
  const float ux = 0.6f, uy = 0.8f;  // page direction
  for (int i = 0; i < 4; ++i) {
    // every corner lies 2 off the line and 2 beyond an end
    float rx = o[i].x - 100, ry = o[i].y - 100;
    float along = rx * ux + ry * uy, across = -rx * uy + ry * ux;
    EXPECT_NEAR(std::fabs(across), 2.0f, 1e-3);
    EXPECT_TRUE(std::fabs(along + 2.0f) < 1e-3 || std::fabs(along - 502.0f) < 1e-3) << along;
  }
  // the first corner is on the left of the direction of travel (y up)
  float rx = o[0].x - 100, ry = o[0].y - 100;
  EXPECT_LT(-rx * uy + ry * ux, 0.0f);
}

TEST_F(WidthTest, ClosedSquareHasConcentricPairsAndNoCaps) {
  linwid(10);
  auto p = strokePaths({{100, 100}, {300, 100}, {300, 300}, {100, 300}, {100, 100}});
  ASSERT_EQ(p.size(), 7u);  // the centre line and three pairs
  const float halves[3] = {1.5f, 3.0f, 5.0f};
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    const auto& outer = p[1 + 2 * k];
    const auto& inner = p[2 + 2 * k];
    // each pass: a move, then an edge and a bevel join per side
    ASSERT_EQ(outer.size(), 9u);
    ASSERT_EQ(inner.size(), 9u);
    EXPECT_EQ(outer[0].mode, 3);
    EXPECT_EQ(inner[0].mode, 3);
    // Every corner of a pass lies on a side offset by d, at the end of the
    // side it belongs to: outside the square on the first pass, inside on
    // the second (where the bevels cross).
    for (const Event& e : outer) {
      EXPECT_NEAR(far(e, 200), 100 + halves[k], 1e-3);
      EXPECT_NEAR(near(e, 200), 100, 1e-3);
    }
    for (const Event& e : inner) {
      EXPECT_NEAR(far(e, 200), 100, 1e-3);
      EXPECT_NEAR(near(e, 200), 100 - halves[k], 1e-3);
    }
    // each pass ends where it began
    EXPECT_NEAR(outer.back().x, outer[0].x, 1e-3);
    EXPECT_NEAR(outer.back().y, outer[0].y, 1e-3);
    EXPECT_NEAR(inner.back().x, inner[0].x, 1e-3);
    EXPECT_NEAR(inner.back().y, inner[0].y, 1e-3);
  }
}

TEST_F(WidthTest, OpenSquareGetsSquareCaps) {
  linwid(10);
  auto p = strokePaths({{100, 100}, {300, 100}, {300, 300}, {100, 300}, {101, 100}});
  ASSERT_EQ(p.size(), 4u);  // the centre line and one closed outline each
  for (int k = 0; k < 3; ++k) {
    const auto& o = p[1 + k];
    ASSERT_EQ(o.size(), 1u + 4 * 5 - 4);  // the move and 4N - 4 edges
    const float d = k == 2 ? 5.0f : 1.5f * (k + 1);
    // the start cap: the outline begins d before the first point
    EXPECT_NEAR(o[0].x, 100 - d, 1e-3);
    EXPECT_NEAR(o[0].y, 100 - d, 1e-3);
    EXPECT_NEAR(o.back().x, o[0].x, 1e-3);
    EXPECT_NEAR(o.back().y, o[0].y, 1e-3);
    // the end cap reaches d beyond the last point, above y = 100
    float top = 1e9f;
    for (const Event& e : o) top = std::min(top, e.y);
    EXPECT_LT(top, 100 - d + 1e-3);
    bool capBeyondEnd = false;
    for (const Event& e : o) capBeyondEnd |= e.y < 100 - d + 0.2f && e.x > 100 - d && e.x < 102 + d;
    EXPECT_TRUE(capBeyondEnd);
  }
}

TEST_F(WidthTest, OutlinesFollowTheUnitScale) {
  Global& g = G();
  g.unitScale = 2.0f;  // W = 20: seven outlines, the last at 10 / 2 plot units
  linwid(10);
  auto p = strokePaths({{100, 100}, {200, 100}});
  ASSERT_EQ(p.size(), 8u);
  EXPECT_NEAR(p[1][0].y, 100 - 0.75f, 1e-4);
  EXPECT_NEAR(p[7][0].y, 100 - 5.0f, 1e-4);
}

TEST_F(WidthTest, OutlineEdgesAreClipped) {
  linwid(10);
  auto p = strokePaths({{100, 1}, {200, 1}});
  const Global& g = G();
  for (const auto& path : p)
    for (const Event& e : path) {
      EXPECT_GE(e.y, static_cast<float>(g.clipYmin));
      EXPECT_GE(e.x, 95.0f - 1e-3);
    }
  // the outermost outline runs along the window edge y = 0 where it is cut
  bool onEdge = false;
  for (const Event& e : p.back()) onEdge |= e.y == 0.0f;
  EXPECT_TRUE(onEdge);
}

TEST_F(WidthTest, OutlinesGoRoundShieldedRegions) {
  shlrec(140, 80, 20, 40);  // x 140..159, y 80..119
  rec->clear();
  linwid(6);
  lineqq(G(), 100, 100, 200, 100);
  qqstrk(G());
  ASSERT_GT(rec->draws(), 2);
  for (const Seg& s : rec->segments()) {
    float mx = 0.5f * (s.x1 + s.x2), my = 0.5f * (s.y1 + s.y2);
    bool inside = mx > 140.5f && mx < 158.5f && my > 80.5f && my < 118.5f;
    EXPECT_FALSE(inside) << s.x1 << "," << s.y1 << " - " << s.x2 << "," << s.y2;
  }
}

TEST_F(WidthTest, LinwidFlushesAndAsksTheDriver) {
  Global& g = G();
  lineqq(g, 0, 10, 100, 10);
  linwid(7);
  ASSERT_EQ(rec->events.size(), 3u);
  EXPECT_EQ(rec->events[0].kind, Event::Point);
  EXPECT_EQ(rec->events[1].kind, Event::Point);
  EXPECT_EQ(rec->events[2].kind, Event::Width);
  EXPECT_EQ(rec->events[2].value, 7);
  EXPECT_EQ(g.lineWidth, 7);
}

TEST_F(WidthTest, DevicesThatStrokeWidthsGetNoOutlines) {
  rec->strokesWidth = true;
  linwid(10);
  EXPECT_EQ(G().lineWidth, -10);
  auto p = strokePaths({{100, 100}, {200, 100}, {200, 200}});
  EXPECT_EQ(p.size(), 1u);
}

TEST_F(WidthTest, OutOfRangeWidthsWarnAndChangeNothing) {
  linwid(3);
  rec->clear();
  for (int bad : {0, 32001}) {
    std::string out = output([&] { linwid(bad); });
    EXPECT_NE(out.find("Warning   2"), std::string::npos);
    EXPECT_NE(out.find("linwid"), std::string::npos);
  }
  EXPECT_EQ(G().lineWidth, 3);
  EXPECT_EQ(rec->count(Event::Width), 0);
  linwid(32000);
  EXPECT_EQ(G().lineWidth, 32000);
}

}  // namespace
}  // namespace korvan::test
