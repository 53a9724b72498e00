// Ellipses, arcs and pie sectors: segment counts, the parametric and polar
// forms, arcs through 0 degrees, rotation, filling and bad arguments.
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "draw/figure.h"
#include "draw/fill_recording.h"

namespace korvan::test {
namespace {

class ArcTest : public DrawTest {
 protected:
  void SetUp() override {
    DrawTest::SetUp();
    start();
  }
  // Points of the figure only (after a flush), with a window that holds it.
  std::vector<Point> figure(int nx, int ny, int na, int nb, float a, float b, float t,
                            bool wide = false) {
    Global& g = G();
    if (wide) {
      g.clipXmin = g.clipYmin = -10000;
      g.clipXmax = g.clipYmax = 10000;
    }
    qqstrk(g);
    rec->clear();
    arcell(nx, ny, na, nb, a, b, t);
    qqstrk(g);
    return rec->points();
  }
  static double angleAt(const Point& p, double cx, double cy) {
    double a = std::atan2(-(p.y - cy), p.x - cx) * 180.0 / M_PI;
    return a < 0 ? a + 360.0 : a;
  }
};

TEST_F(ArcTest, SegmentCountFollowsRadiusAndSpan) {
  struct Case {
    int r, draws;
  } cases[] = {{1, 0}, {2, 5}, {100, 62}, {2000, 1000}};
  for (const Case& c : cases) {
    figure(1400, 1000, c.r, c.r, 0.0f, 360.0f, 0.0f, true);
    EXPECT_EQ(rec->draws(), c.draws) << "radius " << c.r;
    if (c.draws > 0) {
      EXPECT_EQ(rec->points().front().mode, 3);
    }
  }
  // 30 degrees of an ellipse whose larger semi-axis is 19: no segment.
  EXPECT_TRUE(figure(1400, 1000, 19, 5, 0.0f, 30.0f, 0.0f).empty());
  // Equal angles draw the full figure.
  figure(1400, 1000, 100, 100, 45.0f, 45.0f, 0.0f);
  EXPECT_EQ(rec->draws(), 62);
}

TEST_F(ArcTest, FullCircleIsClosedAndOnTheCircle) {
  std::vector<Point> p = figure(1000, 1000, 100, 100, 0.0f, 360.0f, 0.0f);
  ASSERT_EQ(p.size(), 63u);
  EXPECT_NEAR(p.front().x, 1100.0f, 1e-3f);
  EXPECT_NEAR(p.front().y, 1000.0f, 1e-3f);
  EXPECT_NEAR(p.back().x, 1100.0f, 1e-2f);
  EXPECT_NEAR(p.back().y, 1000.0f, 1e-2f);
  for (const Point& q : p) EXPECT_NEAR(std::hypot(q.x - 1000, q.y - 1000), 100.0, 1e-3);
  // Counterclockwise on the page: the second point lies above the first.
  EXPECT_LT(p[1].y, p[0].y);
}

TEST_F(ArcTest, ArcThroughZeroDegreesRunsCounterclockwise) {
  std::vector<Point> p = figure(1400, 1000, 300, 300, 270.0f, 90.0f, 0.0f);
  ASSERT_EQ(p.size(), 95u);  // trunc(300 * pi / 10) = 94 segments
  EXPECT_NEAR(p.front().x, 1400.0f, 1e-2f);
  EXPECT_NEAR(p.front().y, 1300.0f, 1e-2f);
  EXPECT_NEAR(p.back().x, 1400.0f, 1e-2f);
  EXPECT_NEAR(p.back().y, 700.0f, 1e-2f);
  bool throughZero = false;
  for (const Point& q : p) {
    EXPECT_GE(q.x, 1400.0f - 1e-2f);  // the left half is left out
    throughZero = throughZero || (std::fabs(q.y - 1000.0f) < 12.0f && q.x > 1699.0f);
  }
  EXPECT_TRUE(throughZero);
}

TEST_F(ArcTest, PartialEllipseEndsOnTheTrueRaysFullEllipseIsParametric) {
  std::vector<Point> p = figure(1400, 1000, 400, 200, 30.0f, 60.0f, 0.0f);
  ASSERT_GE(p.size(), 2u);
  EXPECT_NEAR(angleAt(p.front(), 1400, 1000), 30.0, 0.01);
  EXPECT_NEAR(angleAt(p.back(), 1400, 1000), 60.0, 0.01);
  for (const Point& q : p) {
    double u = (q.x - 1400) / 400.0, v = (q.y - 1000) / 200.0;
    EXPECT_NEAR(u * u + v * v, 1.0, 1e-4);
  }

  p = figure(1400, 1000, 400, 200, 0.0f, 0.0f, 0.0f);
  EXPECT_EQ(rec->draws(), 251);  // trunc(400 * 2 pi / 10) segments
  double d = 6.2831855 / 251.0;
  EXPECT_NEAR(p[1].x, 1400 + 400 * std::cos(d), 1e-2);
  EXPECT_NEAR(p[1].y, 1000 - 200 * std::sin(d), 1e-2);
}

TEST_F(ArcTest, RotationTurnsTheFigureCounterclockwise) {
  std::vector<Point> p = figure(1400, 1000, 400, 100, 0.0f, 360.0f, 90.0f);
  EXPECT_NEAR(p.front().x, 1400.0f, 1e-2f);
  EXPECT_NEAR(p.front().y, 600.0f, 1e-2f);
  for (const Point& q : p) {
    EXPECT_LE(std::fabs(q.x - 1400.0f), 100.01f);
    EXPECT_LE(std::fabs(q.y - 1000.0f), 400.01f);
  }
}

TEST_F(ArcTest, FilledArcIsAPieSectorFilledEllipseIsNot) {
  Global& g = G();
  g.driver.reset();
  rec = new Recorder(true);
  g.driver.reset(rec);
  shdpat(16);
  arcell(1400, 1000, 300, 300, 0.0f, 90.0f, 0.0f);
  ASSERT_EQ(rec->polys.size(), 1u);
  const RecPolygon& pie = rec->polys[0];
  ASSERT_EQ(pie.x.size(), 48u + 2u);  // 47 segments, the centre, the start again
  EXPECT_FLOAT_EQ(pie.x[48], 1400.0f);
  EXPECT_FLOAT_EQ(pie.y[48], 1000.0f);
  EXPECT_FLOAT_EQ(pie.x[49], pie.x[0]);
  // The outline went round the sector too.
  EXPECT_EQ(rec->draws(), 49);

  rec->clear();
  arcell(1400, 1000, 100, 100, 0.0f, 360.0f, 0.0f);
  ASSERT_EQ(rec->polys.size(), 1u);
  EXPECT_EQ(rec->polys[0].x.size(), 63u);
  for (std::size_t i = 0; i < 63; ++i)
    EXPECT_NEAR(std::hypot(rec->polys[0].x[i] - 1400, rec->polys[0].y[i] - 1000), 100.0, 1e-3);
}

TEST_F(ArcTest, HugeSemiAxesDoNotBreakAnything) {
  figure(1400, 1000, INT_MAX, INT_MAX, 0.0f, 360.0f, 0.0f);
  EXPECT_EQ(rec->draws(), 0);  // wholly outside the page
  std::vector<Point> p = figure(1400, 1000, INT_MAX, 1, 0.0f, 360.0f, 0.0f);
  for (const Point& q : p) {
    EXPECT_GE(q.x, 0.0f);
    EXPECT_LE(q.x, 2969.0f);
  }
  // With a fill the huge polygon is hatched where the page shows it.
  mypat(0, 1, 0, 0);
  p = figure(1400, 1000, INT_MAX / 2, INT_MAX / 2, 0.0f, 180.0f, 30.0f);
  EXPECT_GT(p.size(), 100u);
  figure(0, 0, INT_MAX, INT_MAX, -1e30f, 1e30f, 1e30f);
}

TEST_F(ArcTest, BadArgumentsWarnAndDrawNothing) {
  std::string out = output([&] {
    figure(1000, 1000, 0, 100, 0.0f, 360.0f, 0.0f);
    figure(1000, 1000, 100, -5, 0.0f, 360.0f, 0.0f);
  });
  EXPECT_TRUE(rec->points().empty());
  EXPECT_NE(out.find(" <<<< Warning   2: Incorrect parameter in arcell!   (   0)"), std::string::npos);
  EXPECT_NE(out.find("in arcell!   (  -5)"), std::string::npos);
}

TEST_F(ArcTest, BottomOriginFlipsTheCentre) {
  pagorg("BOTT");
  std::vector<Point> p = figure(1000, 100, 50, 50, 0.0f, 360.0f, 0.0f);
  ASSERT_FALSE(p.empty());
  EXPECT_NEAR(p.front().x, 1050.0f, 1e-3f);
  EXPECT_NEAR(p.front().y, 1999.0f, 1e-3f);
}

TEST_F(ArcTest, AngleHelpers) {
  EXPECT_NEAR(qqang1(180.0f), 3.1415927f, 1e-6f);
  EXPECT_NEAR(qqang2(-0.5f), 6.2831855f - 0.5f, 1e-6f);
  EXPECT_NEAR(qqang2(7.0f), 7.0f - 6.2831855f, 1e-6f);
  EXPECT_FLOAT_EQ(qqang2(6.283190f), 6.283190f);  // inside the tolerance
  EXPECT_NEAR(qqang2(1e20f), qqang2(std::fmod(1e20f, 6.2831855f)), 1e-5f);
  float x[2] = {1.0f, 0.0f}, y[2] = {0.0f, 1.0f};
  trfro2(x, y, 2, 1.0f, 0.0f);
  EXPECT_FLOAT_EQ(x[0], 0.0f);
  EXPECT_FLOAT_EQ(y[0], 1.0f);
  EXPECT_FLOAT_EQ(x[1], -1.0f);
  EXPECT_FLOAT_EQ(y[1], 0.0f);
}

}  // namespace
}  // namespace korvan::test
