// Vectors: every digit of the arrow form, shaft and head geometry, and the
// warnings of bad forms.
#include <cmath>
#include <string>
#include <vector>

#include "draw/fill_recording.h"

namespace korvan::test {
namespace {

class VectorTest : public DrawTest {
 protected:
  void SetUp() override {
    DrawTest::SetUp();
    start();
  }
  std::vector<Point> arrow(int x1, int y1, int x2, int y2, int ivec) {
    qqstrk(G());
    rec->clear();
    vector(x1, y1, x2, y2, ivec);
    qqstrk(G());
    return rec->points();
  }
};

void expectPoint(const Point& p, float x, float y, int mode) {
  EXPECT_NEAR(p.x, x, 0.01f);
  EXPECT_NEAR(p.y, y, 0.01f);
  EXPECT_EQ(p.mode, mode) << p.x << "," << p.y;
}

TEST_F(VectorTest, OpenHeadOf1421) {
  std::vector<Point> p = arrow(100, 1000, 600, 1000, 1421);
  ASSERT_EQ(p.size(), 5u);
  expectPoint(p[0], 100, 1000, 3);
  expectPoint(p[1], 600, 1000, 2);
  float w = 1.5f / 4.5f * 50.0f;  // 16.67
  expectPoint(p[2], 550, 1000 - w, 3);
  expectPoint(p[3], 600, 1000, 2);
  expectPoint(p[4], 550, 1000 + w, 2);
}

TEST_F(VectorTest, HeadGeometryAlongAnyDirection) {
  for (auto [x2, y2] : {std::pair{400, 500}, std::pair{-200, 300}, std::pair{100, -300},
                        std::pair{-250, -250}}) {
    std::vector<Point> p = arrow(1000, 1000, 1000 + x2, 1000 + y2, 1421);
    ASSERT_EQ(p.size(), 5u);
    double L = std::hypot(x2, y2);
    double ux = x2 / L, uy = y2 / L;
    const Point &a = p[2], &tip = p[3], &b = p[4];
    EXPECT_NEAR(tip.x, 1000 + x2, 0.01);
    double bx = (a.x + b.x) / 2, by = (a.y + b.y) / 2;
    EXPECT_NEAR(tip.x - bx, 50 * ux, 0.01);  // length 50 along the shaft
    EXPECT_NEAR(tip.y - by, 50 * uy, 0.01);
    EXPECT_NEAR(std::hypot(a.x - b.x, a.y - b.y), 2 * 50 * 1.5 / 4.5, 0.01);
    EXPECT_NEAR((a.x - b.x) * ux + (a.y - b.y) * uy, 0.0, 0.01);  // base across the shaft
  }
}

TEST_F(VectorTest, DownwardVerticalHeadIsSymmetric) {
  std::vector<Point> p = arrow(500, 100, 500, 600, 1421);
  ASSERT_EQ(p.size(), 5u);
  EXPECT_NEAR(p[2].x + p[4].x, 1000.0f, 0.01f);
  EXPECT_NEAR(std::fabs(p[2].x - p[4].x), 2 * 50 * 1.5f / 4.5f, 0.01f);
  EXPECT_NEAR(p[2].y, 550.0f, 0.01f);
  EXPECT_NEAR(p[4].y, 550.0f, 0.01f);
}

TEST_F(VectorTest, ShortenedShaftAndTwoClosedHeads) {
  // 1412: head length 50, closed unfilled heads, shaft between the bases.
  std::vector<Point> p = arrow(100, 1000, 600, 1000, 1412);
  float w = 1.5f / 4.5f * 50.0f;
  ASSERT_EQ(p.size(), 10u);
  expectPoint(p[0], 150, 1000, 3);
  expectPoint(p[1], 550, 1000, 2);
  expectPoint(p[2], 550, 1000 - w, 3);
  expectPoint(p[3], 600, 1000, 2);
  expectPoint(p[4], 550, 1000 + w, 2);
  expectPoint(p[5], 550, 1000 - w, 2);
  expectPoint(p[6], 150, 1000 - w, 3);  // the back head points outwards
  expectPoint(p[7], 100, 1000, 2);
  expectPoint(p[8], 150, 1000 + w, 2);
  expectPoint(p[9], 150, 1000 - w, 2);

  // 33: full shaft; the second head's base at the start, pointing forwards.
  p = arrow(100, 1000, 600, 1000, 33);
  ASSERT_EQ(p.size(), 10u);
  expectPoint(p[0], 100, 1000, 3);
  expectPoint(p[1], 600, 1000, 2);
  expectPoint(p[3], 600, 1000, 2);
  expectPoint(p[6], 100, 1000 - 0.5f / 4.5f * 10.0f, 3);
  expectPoint(p[7], 110, 1000, 2);
}

TEST_F(VectorTest, FilledHeadIsHatchedInside) {
  std::vector<Point> p = arrow(100, 1000, 600, 1000, 1401);
  ASSERT_GT(p.size(), 6u);
  expectPoint(p[5], 550, 1000 - 1.5f / 4.5f * 50.0f, 2);  // closed outline
  std::vector<Segment> segs = rec->segments();
  int hatch = 0;
  for (std::size_t i = 4; i < segs.size(); ++i) {
    const Segment& s = segs[i];
    if (s.y1 != s.y2) continue;
    ++hatch;
    double k = s.y1 / 0.75;
    EXPECT_NEAR(k, std::round(k), 1e-3);
    EXPECT_GE(std::min(s.x1, s.x2), 550.0f - 0.01f);
    EXPECT_LE(std::max(s.x1, s.x2), 600.0f + 0.01f);
  }
  EXPECT_NEAR(hatch, 2 * 16.67 / 0.75, 2.0);
}

TEST_F(VectorTest, PlainLinesFollowTheLineStyle) {
  dash();
  std::vector<Point> p = arrow(100, 1000, 145, 1000, 0);
  EXPECT_EQ(rec->draws(), 3);  // dashes 0-10, 20-30 and 40-45
  p = arrow(100, 1000, 145, 1000, 2340);
  EXPECT_EQ(rec->draws(), 3);
  // Heads stay solid in a dashed style.
  solid();
  dash();
  p = arrow(100, 1000, 600, 1000, 1421);
  EXPECT_EQ(p[p.size() - 3].mode, 3);
  EXPECT_EQ(p[p.size() - 2].mode, 2);
  EXPECT_EQ(p[p.size() - 1].mode, 2);
}

TEST_F(VectorTest, BadFormsWarn) {
  std::vector<Point> p;
  std::string out = output([&] { p = arrow(100, 1000, 600, 1000, 1025); });
  EXPECT_NE(out.find(" <<<< Warning   2: Incorrect parameter in vector!   (   5)"), std::string::npos);
  ASSERT_EQ(p.size(), 2u);  // the shaft stays
  expectPoint(p[1], 600, 1000, 2);
  out = output([&] { p = arrow(100, 1000, 600, 1000, 1015); });
  EXPECT_NE(out.find("Incorrect parameter in vector!   (   5)"), std::string::npos);
  EXPECT_TRUE(p.empty());
  out = output([&] { p = arrow(100, 1000, 600, 1000, 1441); });
  EXPECT_NE(out.find("in vector!   (   4)"), std::string::npos);
  EXPECT_EQ(p.size(), 2u);
}

TEST_F(VectorTest, HeadsFollowTheOriginOffset) {
  G().shiftX = 100;
  G().shiftY = -50;
  std::vector<Point> p = arrow(100, 1000, 600, 1000, 1421);
  ASSERT_EQ(p.size(), 5u);
  expectPoint(p[0], 200, 950, 3);
  expectPoint(p[3], 700, 950, 2);
}

}  // namespace
}  // namespace korvan::test
