// Symbols: the shapes, their size and rotation, filled shapes, the
// out-of-page message and the checks of symbol and hsymbl.
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "draw/fill_recording.h"

namespace korvan::test {
namespace {

class SymbolTest : public DrawTest {
 protected:
  void SetUp() override {
    DrawTest::SetUp();
    start();
  }
  std::vector<Point> draw(int nsym, int x, int y) {
    qqstrk(G());
    rec->clear();
    symbol(nsym, x, y);
    qqstrk(G());
    return rec->points();
  }
};

void expectPoint(const Point& p, float x, float y, int mode) {
  EXPECT_NEAR(p.x, x, 0.01f);
  EXPECT_NEAR(p.y, y, 0.01f);
  EXPECT_EQ(p.mode, mode) << p.x << "," << p.y;
}

TEST_F(SymbolTest, SquareOfTheDefaultHeight) {
  std::vector<Point> p = draw(0, 500, 500);
  ASSERT_EQ(p.size(), 5u);
  expectPoint(p[0], 482, 482, 3);
  expectPoint(p[1], 482, 518, 2);
  expectPoint(p[2], 518, 518, 2);
  expectPoint(p[3], 518, 482, 2);
  expectPoint(p[4], 482, 482, 2);
}

TEST_F(SymbolTest, EveryOutlineShapeHasItsPolylines) {
  // Polylines (moves) and draws of the outline shapes.
  struct Shape {
    int nsym, moves, draws;
  } shapes[] = {{0, 1, 4},  {1, 1, 8},  {2, 1, 3},  {3, 2, 2},  {4, 2, 2},  {5, 1, 4},
                {6, 1, 3},  {7, 3, 6},  {8, 4, 4},  {9, 3, 6},  {10, 3, 10}, {11, 2, 6},
                {12, 3, 6}, {13, 3, 10}, {14, 2, 7}, {15, 1, 18}, {22, 1, 10}};
  for (const Shape& s : shapes) {
    draw(s.nsym, 1000, 1000);
    EXPECT_EQ(rec->moves(), s.moves) << "symbol " << s.nsym;
    EXPECT_EQ(rec->draws(), s.draws) << "symbol " << s.nsym;
    for (const Point& q : rec->points()) {
      EXPECT_LE(std::fabs(q.x - 1000), 18.01f) << "symbol " << s.nsym;
      EXPECT_LE(std::fabs(q.y - 1000), 18.01f) << "symbol " << s.nsym;
    }
  }
  // The half circle is the upper half, closed along its diameter.
  std::vector<Point> p = draw(22, 1000, 1000);
  ASSERT_EQ(p.size(), 11u);
  for (const Point& q : p) EXPECT_LE(q.y, 1000.0f);
  expectPoint(p.back(), 1000 + 49 * 0.36f, 1000, 2);
}

TEST_F(SymbolTest, FilledCircleIsHatchedWithDenseLines) {
  std::vector<Point> p = draw(21, 1000, 1000);
  ASSERT_GT(p.size(), 19u);
  EXPECT_EQ(p[0].mode, 3);
  for (int i = 1; i < 19; ++i) EXPECT_EQ(p[static_cast<std::size_t>(i)].mode, 2);
  expectPoint(p[18], 1000 + 49 * 0.36f, 1000 - 9 * 0.36f, 2);
  std::set<long> lines;
  std::vector<Segment> segs = rec->segments();
  for (std::size_t i = 18; i < segs.size(); ++i) {
    const Segment& s = segs[i];
    ASSERT_EQ(s.y1, s.y2);
    double k = s.y1 / 0.75;
    EXPECT_NEAR(k, std::round(k), 1e-3);
    lines.insert(std::lround(k));
    EXPECT_LE(std::hypot(s.x1 - 1000, s.y1 - 1000), 18.0);
  }
  // Every scan line across the circle, without a gap.
  EXPECT_EQ(static_cast<double>(lines.size()), std::floor(2 * 49 * 0.36 / 0.75));
  EXPECT_EQ(*lines.rbegin() - *lines.begin() + 1, static_cast<long>(lines.size()));

  // The other filled shapes are hatched too; their outlines stay the same.
  for (int nsym : {16, 17, 18, 19, 20, 23}) {
    draw(nsym, 1000, 1000);
    EXPECT_GT(rec->draws(), 30) << "symbol " << nsym;
  }
}

TEST_F(SymbolTest, HeightAndRotation) {
  hsymbl(100);
  std::vector<Point> p = draw(2, 1000, 1000);
  ASSERT_EQ(p.size(), 4u);
  expectPoint(p[0], 1000, 950, 3);  // apex up
  G().symbolAngle = 90.0f;
  p = draw(2, 1000, 1000);
  ASSERT_EQ(p.size(), 4u);
  expectPoint(p[0], 950, 1000, 3);  // turned counterclockwise: apex left
  expectPoint(p[1], 1050, 950, 2);
}

TEST_F(SymbolTest, OutOfPageIsReportedAndStillDrawn) {
  Global& g = G();
  std::string out = output([&] { draw(0, 2969, 500); });
  EXPECT_EQ(out, "");
  int before = g.warningCount;
  std::vector<Point> p;
  out = output([&] { p = draw(0, 2970, 500); });
  EXPECT_EQ(out, " >>>> (2970/500) out of page in symbol!\n");
  EXPECT_EQ(g.warningCount, before + 1);
  ASSERT_FALSE(p.empty());
  for (const Point& q : p) EXPECT_LE(q.x, 2969.0f);
  EXPECT_GT(rec->draws(), 0);

  pagorg("BOTT");
  out = output([&] { draw(0, 100, 2100); });
  EXPECT_EQ(out, " >>>> (100/-1) out of page in symbol!\n");
  g.messagesOn = 0;
  out = output([&] { draw(0, -5, 100); });
  EXPECT_EQ(out, "");
  EXPECT_EQ(g.warningCount, before + 3);
}

TEST_F(SymbolTest, BadNumbersAndHeightsWarn) {
  std::string out = output([&] {
    EXPECT_TRUE(draw(24, 500, 500).empty());
    EXPECT_TRUE(draw(-1, 500, 500).empty());
    hsymbl(0);
    hsymbl(10001);
  });
  EXPECT_NE(out.find(" <<<< Warning   2: Incorrect parameter in symbol!   (  24)"), std::string::npos);
  EXPECT_NE(out.find("in symbol!   (  -1)"), std::string::npos);
  EXPECT_NE(out.find("in hsymbl!   (   0)"), std::string::npos);
  EXPECT_NE(out.find("in hsymbl!   (10001)"), std::string::npos);
  EXPECT_EQ(G().symbolHeight, 36);
  hsymbl(10000);
  EXPECT_EQ(G().symbolHeight, 10000);
}

}  // namespace
}  // namespace korvan::test
