// Shielded regions: the region list, its records and counters, and lines
// drawn around plain and rotated regions.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "draw/fill_recording.h"
#include "draw/shield.h"

namespace korvan::test {
namespace {

class ShieldTest : public DrawTest {
 protected:
  void SetUp() override {
    DrawTest::SetUp();
    start();
  }
  // The points of one line drawn after the regions are in place.
  std::vector<Point> lineThrough(int x1, int y1, int x2, int y2) {
    qqstrk(G());
    rec->clear();
    line(x1, y1, x2, y2);
    qqstrk(G());
    return rec->points();
  }
};

void expectPoint(const Point& p, float x, float y, int mode, float tol = 0.01f) {
  EXPECT_NEAR(p.x, x, tol);
  EXPECT_NEAR(p.y, y, tol);
  EXPECT_EQ(p.mode, mode) << "at " << p.x << "," << p.y;
}

TEST_F(ShieldTest, LineIsInterruptedByARectangle) {
  shlrec(400, 400, 200, 100);
  Global& g = G();
  EXPECT_EQ(g.shieldCount, 1);
  EXPECT_EQ(g.shieldUsed, 6);
  EXPECT_EQ(g.shieldList[0], 100);  // rectangle, user class, in force
  EXPECT_EQ(g.shieldList[1], 1);
  EXPECT_EQ(std::vector<int>(g.shieldList + 2, g.shieldList + 6), (std::vector<int>{400, 400, 599, 499}));

  std::vector<Point> p = lineThrough(100, 450, 900, 450);
  ASSERT_EQ(p.size(), 4u);
  expectPoint(p[0], 100, 450, 3);
  expectPoint(p[1], 400, 450, 2);
  expectPoint(p[2], 599, 450, 3);
  expectPoint(p[3], 900, 450, 2);

  // Wholly inside: nothing but moves.
  p = lineThrough(450, 420, 550, 480);
  for (const Point& q : p) EXPECT_EQ(q.mode, 3);
  // Starting inside: a move to the border, then drawn on.
  p = lineThrough(500, 450, 500, 800);
  ASSERT_EQ(p.size(), 3u);
  expectPoint(p[1], 500, 499, 3);
  expectPoint(p[2], 500, 800, 2);
}

TEST_F(ShieldTest, UserRegionsGetAFrame) {
  rec->clear();
  shlrec(400, 400, 200, 100);
  std::vector<Point> p = rec->points();
  ASSERT_EQ(p.size(), 5u);
  expectPoint(p[0], 400, 400, 3);
  expectPoint(p[1], 400, 499, 2);
  expectPoint(p[2], 599, 499, 2);
  expectPoint(p[3], 599, 400, 2);
  expectPoint(p[4], 400, 400, 2);
}

// Where the line y = c meets the rectangle turned by a degrees about its
// upper-left corner: the smallest and largest x.
std::pair<double, double> crossing(double x0, double y0, double w, double h, double a, double c) {
  double t = a * M_PI / 180.0;
  auto corner = [&](double u, double v) {
    return std::pair<double, double>{x0 + std::cos(t) * u + std::sin(t) * v,
                                     y0 - std::sin(t) * u + std::cos(t) * v};
  };
  std::pair<double, double> k[4] = {corner(0, 0), corner(w, 0), corner(w, h), corner(0, h)};
  double lo = 1e9, hi = -1e9;
  for (int i = 0; i < 4; ++i) {
    auto [xa, ya] = k[i];
    auto [xb, yb] = k[(i + 1) % 4];
    if ((ya - c) * (yb - c) > 0 || ya == yb) continue;
    double x = xa + (c - ya) * (xb - xa) / (yb - ya);
    lo = std::min(lo, x);
    hi = std::max(hi, x);
  }
  return {lo, hi};
}

TEST_F(ShieldTest, LineIsInterruptedByARotatedRectangle) {
  shlrct(400, 400, 200, 100, 30.0f);
  Global& g = G();
  EXPECT_EQ(g.shieldList[0], 200);
  EXPECT_EQ(g.shieldUsed, 7);
  EXPECT_EQ(g.shieldList[6], 524);  // 30 degrees in radians times 1000

  for (int c : {350, 420, 460}) {
    auto [enter, leave] = crossing(400, 400, 199, 99, 30.0, c);
    std::vector<Point> p = lineThrough(100, c, 900, c);
    ASSERT_EQ(p.size(), 4u) << c;
    expectPoint(p[0], 100, static_cast<float>(c), 3);
    expectPoint(p[1], static_cast<float>(enter), static_cast<float>(c), 2, 0.5f);
    expectPoint(p[2], static_cast<float>(leave), static_cast<float>(c), 3, 0.5f);
    expectPoint(p[3], 900, static_cast<float>(c), 2);
  }
  // Below the turned rectangle's lowest corner the line is whole.
  std::vector<Point> p = lineThrough(100, 490, 900, 490);
  EXPECT_EQ(p.size(), 2u);
}

TEST_F(ShieldTest, SymbolRegionsCanBeHiddenShownAndDeleted) {
  shield("SYMB", "ON");
  symbol(0, 500, 500);
  Global& g = G();
  ASSERT_EQ(g.shieldCount, 1);
  EXPECT_EQ(g.shieldList[0], 120);
  EXPECT_EQ(std::vector<int>(g.shieldList + 2, g.shieldList + 6), (std::vector<int>{479, 479, 521, 521}));
  EXPECT_EQ(g.userShields, 0);

  EXPECT_EQ(lineThrough(400, 500, 600, 500).size(), 4u);
  shield("SYMB", "NOVI");
  EXPECT_EQ(g.shieldList[0], 121);
  std::vector<Point> p = lineThrough(400, 500, 600, 500);
  ASSERT_EQ(p.size(), 2u);
  expectPoint(p[1], 600, 500, 2);
  shield("SYMB", "VIS");
  EXPECT_EQ(lineThrough(400, 500, 600, 500).size(), 4u);
  shield("SYMB", "DELE");
  EXPECT_EQ(g.shieldCount, 0);
  EXPECT_EQ(g.shieldUsed, 0);
  EXPECT_EQ(g.shieldAuto[1], 1);
  shield("SYMB", "RESE");
  EXPECT_EQ(g.shieldAuto[1], 0);
}

TEST_F(ShieldTest, RotatedSymbolKeepsItsRegionAroundIt) {
  shield("SYMB", "ON");
  G().symbolAngle = 45.0f;
  symbol(0, 1000, 1000);
  ASSERT_EQ(G().shieldCount, 1);
  // The centre and the turned corners of the symbol lie in the region.
  EXPECT_EQ(qqbl06(G(), 1000, 1000), 3);
  EXPECT_EQ(qqbl06(G(), 1000, 1000 - 25), 3);
  EXPECT_EQ(qqbl06(G(), 1000 + 25, 1000), 3);
  EXPECT_EQ(qqbl06(G(), 1000 - 25, 1000), 3);
  EXPECT_EQ(qqbl06(G(), 1000, 1000 + 25), 3);
  EXPECT_EQ(qqbl06(G(), 1000, 1000 + 35), 2);
}

TEST_F(ShieldTest, ShlresRemovesTheLastUserRegions) {
  Global& g = G();
  shlrec(100, 100, 10, 10);
  shlrec(200, 100, 10, 10);
  shield("SYMB", "ON");
  symbol(3, 300, 100);
  shlrct(400, 100, 10, 10, 20.0f);
  EXPECT_EQ(g.shieldCount, 4);
  EXPECT_EQ(g.userShields, 3);
  EXPECT_EQ(g.shieldUsed, 6 + 6 + 6 + 7);
  shlres(2);
  EXPECT_EQ(g.shieldCount, 2);
  EXPECT_EQ(g.userShields, 1);
  EXPECT_EQ(g.shieldUsed, 12);
  EXPECT_EQ(g.shieldList[2], 100);  // the first user region stays
  EXPECT_EQ(g.shieldList[6], 120);  // and the symbol region after it
  shlres(5);
  EXPECT_EQ(g.shieldCount, 1);
  EXPECT_EQ(g.userShields, 0);
  shield("SYMB", "DELE");
  EXPECT_EQ(g.shieldCount, 0);
  // An empty list starts its numbering again.
  shlrec(100, 100, 10, 10);
  EXPECT_EQ(g.shieldList[1], 1);
  EXPECT_EQ(g.shieldSerial, 1);
}

TEST_F(ShieldTest, FullListAndBadArgumentsWarn) {
  std::string out = output([] {
    for (int i = 0; i < 166; ++i) shlrec(10 + 5 * i, 1500, 2, 2);
  });
  EXPECT_EQ(out.find("Warning"), std::string::npos);
  EXPECT_EQ(G().shieldUsed, 996);
  out = output([] { shlrec(10, 1700, 2, 2); });
  EXPECT_NE(out.find(" <<<< Warning  47: Blanking buffer overflow in shlrec!"), std::string::npos);
  EXPECT_EQ(G().shieldCount, 166);

  out = output([] {
    shlrec(0, 0, 0, 5);
    shlrct(0, 0, 5, -3, 10.0f);
    shlres(0);
    shield("XXXX", "ON");
    shield("MESS", "OOPS");
  });
  EXPECT_NE(out.find("Incorrect parameter in shlrec!   (   0)"), std::string::npos);
  EXPECT_NE(out.find("Incorrect parameter in shlrct!   (  -3)"), std::string::npos);
  EXPECT_NE(out.find("Incorrect parameter in shlres!   (   0)"), std::string::npos);
  EXPECT_NE(out.find("in shield!   (XXXX)"), std::string::npos);
  EXPECT_NE(out.find("in shield!   (OOPS)"), std::string::npos);
  EXPECT_EQ(G().shieldCount, 166);
}

TEST_F(ShieldTest, TooManyCrossingPointsLeaveTheLastRegionsOpen) {
  for (int i = 0; i < 160; ++i) shlrec(10 + 10 * i, 1500, 3, 20);
  std::vector<Point> p;
  std::string out = output([&] { p = lineThrough(0, 1510, 2000, 1510); });
  EXPECT_NE(out.find("Warning  26: Too many intersections"), std::string::npos);
  int moves = 0;
  for (const Point& q : p) moves += q.mode == 3;
  EXPECT_EQ(moves, 1 + 150);  // the start, and past each region examined
}

TEST_F(ShieldTest, ByAddressFormsCutKeywordsToFourCharacters) {
  Global& g = G();
  shield_("SYMBOLS", "ON", 7, 2);
  EXPECT_EQ(g.shieldAuto[1], 1);
  int nsym = 0, x = 500, y = 500, w = 20, h = 10, n = 1;
  float a = 15.0f;
  symbol_(&nsym, &x, &y);
  EXPECT_EQ(g.shieldCount, 1);
  shlrec_(&x, &y, &w, &h);
  shlrct_(&x, &y, &w, &h, &a);
  EXPECT_EQ(g.userShields, 2);
  shlres_(&n);
  EXPECT_EQ(g.userShields, 1);
  shield_("SYMBxx", "DELETE", 6, 6);
  EXPECT_EQ(g.shieldCount, 1);
  int pat = 9, ia = 30, it = 1, id = 2, ic = 1;
  shdpat_(&pat);
  EXPECT_EQ(g.shadingPattern, 9);
  mypat_(&ia, &it, &id, &ic);
  EXPECT_EQ(g.shadingPattern, 30121);
}

}  // namespace
}  // namespace korvan::test
