// The charts at the public API: error bar and bar geometry from the text
// metafile, the scales autgrf chooses, histogram counts, the legend's
// shielded box, and bad input refused with a warning and nothing drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "axes/gksl_plot.h"

namespace korvan::test {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

bool has(const std::vector<Line>& lines, double x1, double y1, double x2, double y2) {
  for (const Line& l : lines) {
    const bool same = std::fabs(l.x1 - x1) < 0.6 && std::fabs(l.y1 - y1) < 0.6 &&
                      std::fabs(l.x2 - x2) < 0.6 && std::fabs(l.y2 - y2) < 0.6;
    const bool back = std::fabs(l.x1 - x2) < 0.6 && std::fabs(l.y1 - y2) < 0.6 &&
                      std::fabs(l.x2 - x1) < 0.6 && std::fabs(l.y2 - y1) < 0.6;
    if (same || back) return true;
  }
  return false;
}

class ChartsTest : public GkslPlot {
 protected:
  // 100 plot units per user unit: (x, y) lies at (500 + 100 x, 1500 - 100 y).
  void system() {
    open();
    axspos(500, 1500);
    axslen(1001, 1001);
    graf(0, 10, 0, 2, 0, 10, 0, 2);
  }
};

TEST_F(ChartsTest, ErrorBarsRunFromLowToHighWithCapsOfTheSetWidth) {
  system();
  ebrcap(40);
  const float x[2] = {5, 2}, y[2] = {5, 3}, lo[2] = {1, 0.5f}, hi[2] = {2, 1};
  ebary(x, y, lo, hi, 2);
  ebarx(x, y, lo, hi, 2);
  const auto lines = close();
  // vertical: from y - lo to y + hi, caps 40 wide at both ends
  EXPECT_TRUE(has(lines, 1000, 1100, 1000, 800));
  EXPECT_TRUE(has(lines, 980, 1100, 1020, 1100));
  EXPECT_TRUE(has(lines, 980, 800, 1020, 800));
  EXPECT_TRUE(has(lines, 700, 1250, 700, 1100));
  // horizontal: from x - lo to x + hi, caps across
  EXPECT_TRUE(has(lines, 900, 1000, 1200, 1000));
  EXPECT_TRUE(has(lines, 900, 980, 900, 1020));
  EXPECT_TRUE(has(lines, 1200, 980, 1200, 1020));
  EXPECT_TRUE(has(lines, 650, 1200, 800, 1200));
}

TEST_F(ChartsTest, ErrorBarsAreClippedToTheAxisSystem) {
  system();
  const float x[1] = {5}, y[1] = {9}, lo[1] = {1}, hi[1] = {5};
  ebary(x, y, lo, hi, 1);
  const auto lines = close();
  for (const Line& l : lines)
    // the bar from 8 to 14 ends at the top of the system; the tick at
    // x = 5 above the top edge is the axis's own
    if (l.vertical() && std::fabs(l.x1 - 1000) < 0.6 && std::max(l.y1, l.y2) > 520) {
      EXPECT_GE(std::min(l.y1, l.y2), 500.0);
    }
}

TEST_F(ChartsTest, BarsAreOutlinedRectanglesOfTheSetWidthAndDirection) {
  system();
  barwid(1.0f);
  const float x[2] = {5, 8}, y1[2] = {2, 0}, y2[2] = {6, 3};
  barplt(x, y1, y2, 2);
  bardir("HORI");
  const float p[1] = {2}, a[1] = {1}, b[1] = {4};
  barplt(p, a, b, 1);
  const auto lines = close();
  // vertical bar at 5 from 2 to 6: x 950..1050, y 1300..900
  EXPECT_TRUE(has(lines, 950, 1300, 1050, 1300));
  EXPECT_TRUE(has(lines, 1050, 1300, 1050, 900));
  EXPECT_TRUE(has(lines, 1050, 900, 950, 900));
  EXPECT_TRUE(has(lines, 950, 900, 950, 1300));
  // horizontal bar at y 2 from x 1 to 4: x 600..900, y 1350..1250
  EXPECT_TRUE(has(lines, 600, 1350, 600, 1250));
  EXPECT_TRUE(has(lines, 900, 1350, 900, 1250));
  // the fill of the first bar: lines inside it
  int fill = 0;
  for (const Line& l : lines) {
    const double mx = (l.x1 + l.x2) / 2, my = (l.y1 + l.y2) / 2;
    if (mx > 951 && mx < 1049 && my > 901 && my < 1299) ++fill;
  }
  EXPECT_GT(fill, 0);
}

TEST_F(ChartsTest, BarsWithoutAWidthTakeMostOfTheirSpacing) {
  system();
  const float x[3] = {2, 4, 6}, y1[3] = {0, 0, 0}, y2[3] = {1, 1, 1};
  barplt(x, y1, y2, 3);
  const auto lines = close();
  // 0.8 of the spacing 2: 1.6 wide, x 120..280 around 200 plot units
  EXPECT_TRUE(has(lines, 620, 1500 - 100, 780, 1400));
}

struct ScaleCase {
  const char* what;
  std::vector<float> data;
  bool log;
  float a, e, step;
  bool warns;
};

TEST_F(ChartsTest, AutgrfChoosesRoundEndsAndSteps) {
  const ScaleCase cases[] = {
      {"0.13..9.7", {0.13f, 4.0f, 9.7f}, false, 0, 10, 2, false},
      {"decades", {1e-3f, 2.0f, 1e5f}, true, -3, 5, 1, false},
      {"constant", {5, 5, 5}, false, 4.4f, 5.6f, 0.2f, false},
      {"one point", {3}, false, 2.7f, 3.3f, 0.1f, false},
      {"zero", {0, 0}, false, -1, 1, 0.5f, false},
      {"NaN and infinity left out", {kNaN, 1, 4, kInf, -kInf}, false, 1, 4, 0.5f, false},
      {"all negative on a log axis", {-1, -5}, true, -5, -1, 0.5f, true},
      {"negative", {-730, -12}, false, -800, 0, 100, false},
  };
  for (const ScaleCase& c : cases) {
    SCOPED_TRACE(c.what);
    qqsglb(1);
    open();
    if (c.log) axsscl("LOG", "X");
    const std::vector<float> y(c.data.size(), 1.0f);
    const std::string said =
        output([&] { autgrf(c.data.data(), y.data(), static_cast<int>(c.data.size())); });
    EXPECT_EQ(said.find("Warning") != std::string::npos, c.warns) << said;
    ASSERT_EQ(qqgglb().level, 2);
    float a = 0, e = 0, org = 0, step = 0;
    getgrf(&a, &e, &org, &step, "X");
    EXPECT_NEAR(a, c.a, 1e-5);
    EXPECT_NEAR(e, c.e, 1e-5);
    EXPECT_NEAR(org, c.a, 1e-5);
    EXPECT_NEAR(step, c.step, 1e-6);
    endgrf();
    korfin();
  }
}

TEST_F(ChartsTest, AutgrfStepsAreRoundAndHoldTheData) {
  const float ranges[][2] = {{0.0f, 1.0f}, {-3.3f, 7.9f}, {1200, 1800}, {0.0021f, 0.0094f},
                             {-1e6f, 2e6f}, {17, 18}};
  for (const auto& r : ranges) {
    SCOPED_TRACE(r[0]);
    qqsglb(1);
    open();
    autgrf(r, r, 2);
    float a, e, org, step;
    getgrf(&a, &e, &org, &step, "Y");
    const double mant = step / std::pow(10.0, std::floor(std::log10(step) + 1e-6));
    EXPECT_TRUE(std::fabs(mant - 1) < 1e-4 || std::fabs(mant - 2) < 1e-4 ||
                std::fabs(mant - 5) < 1e-4)
        << step;
    EXPECT_LE(a, r[0]);
    EXPECT_GE(e, r[1]);
    const double labels = (e - a) / step + 1;
    EXPECT_GE(labels, 4.99);
    EXPECT_LE(labels, 9.01);
    endgrf();
    korfin();
  }
}

TEST_F(ChartsTest, HistogramCountsMatchAnIndependentCount) {
  system();
  std::vector<float> data;
  for (int i = 0; i < 500; ++i) data.push_back(static_cast<float>((i * 37) % 101) * 0.0625f - 3.0f);
  data.push_back(kNaN);
  data.push_back(2.0f);   // the upper end: the last bin
  data.push_back(-2.0f);  // the lower end: the first bin
  data.push_back(2.5f);   // outside
  const int bins = 8;
  const float xa = -2.0f, xe = 2.0f;
  std::vector<int> counts(bins, -1);
  hstgrm(data.data(), static_cast<int>(data.size()), bins, xa, xe, counts.data());
  for (int k = 0; k < bins; ++k) {
    const double lo = xa + k * 0.5, hi = lo + 0.5;
    int expected = 0;
    for (float v : data)
      if (v >= lo && (v < hi || (k == bins - 1 && v == hi))) ++expected;
    EXPECT_EQ(counts[static_cast<std::size_t>(k)], expected) << "bin " << k;
  }
  hstgrm(data.data(), static_cast<int>(data.size()), bins, xa, xe, nullptr);  // counts optional
  close();
}

TEST_F(ChartsTest, TheLegendIsNotDrawnOverByLaterCurves) {
  for (bool withLegend : {false, true}) {
    SCOPED_TRACE(withLegend);
    qqsglb(1);
    std::remove("korvan.met");  // else the next plot gets a new version's name
    system();
    height(40);
    const float x[2] = {0, 10}, y[2] = {1, 1};
    crvnam("first");
    curve(x, y, 2);
    if (withLegend) legend("UR");
    // a line across the whole system through the legend's upper margin
    const float ay = 10.0f - 0.3f;  // 30 plot units below the top edge
    const float cy[2] = {ay, ay};
    curve(x, cy, 2);
    const auto lines = close();
    double covered = 0;
    for (const Line& l : lines)
      if (std::fabs(l.y1 - 530) < 0.05 && std::fabs(l.y2 - 530) < 0.05)
        covered += std::fabs(l.x2 - l.x1);
    if (withLegend)
      EXPECT_LT(covered, 900);
    else
      EXPECT_GT(covered, 990);
  }
}

TEST_F(ChartsTest, CurveMarkersWithoutTheLineAndItsClip) {
  system();
  hsymbl(20);
  crvsym(0);
  crvlin("OFF");
  const float x[3] = {1, 5, 20}, y[3] = {1, 5, 5};
  curve(x, y, 3);
  const auto lines = close();
  // squares of side 20 at (600, 1400) and (1000, 1000); none at x = 20
  EXPECT_TRUE(has(lines, 590, 1390, 590, 1410));
  EXPECT_TRUE(has(lines, 990, 990, 990, 1010));
  for (const Line& l : lines) {
    EXPECT_FALSE(l.x1 > 1600 || l.x2 > 1600);        // the marker at x = 20 is clipped
    EXPECT_FALSE(has({l}, 600, 1400, 1000, 1000));  // no connecting line
  }
}

TEST_F(ChartsTest, UserCoordinatesAndPlotUnitsConvertBothWays) {
  system();
  int nx = 0, ny = 0;
  usrpos(2.5f, 7.0f, &nx, &ny);
  EXPECT_EQ(nx, 750);
  EXPECT_EQ(ny, 800);
  float x = 0, y = 0;
  posusr(750, 800, &x, &y);
  EXPECT_NEAR(x, 2.5f, 1e-4);
  EXPECT_NEAR(y, 7.0f, 1e-4);
  usrlin(1, 1, 3, 2);
  const auto lines = close();
  EXPECT_TRUE(has(lines, 600, 1400, 800, 1300));
}

TEST_F(ChartsTest, PanelsShareThePageWithoutOverlapping) {
  open();
  int right[4], top[4], left[4], bottom[4];
  for (int i = 1; i <= 4; ++i) {
    panel(2, 2, i);
    graf(0, 1, 0, 1, 0, 1, 0, 1);
    int x0, y0, x1, y1;
    usrpos(0, 0, &x0, &y0);
    usrpos(1, 1, &x1, &y1);
    left[i - 1] = x0;
    bottom[i - 1] = y0;
    right[i - 1] = x1;
    top[i - 1] = y1;
    endgrf();
  }
  close();
  EXPECT_LT(right[0], left[1]);
  EXPECT_LT(bottom[0], top[2]);
  EXPECT_EQ(left[0], left[2]);
  EXPECT_EQ(top[0], top[1]);
  for (int i = 0; i < 4; ++i) {
    EXPECT_GT(left[i], 0);
    EXPECT_LT(right[i], 2969);
    EXPECT_GT(top[i], 0);
    EXPECT_LT(bottom[i], 2099);
  }
}

struct BadCall {
  const char* what;
  int level;  // the level the call is made at
  std::function<void()> call;
};

TEST_F(ChartsTest, BadInputWarnsAndDrawsNothing) {
  static const float x[3] = {1, 2, 3}, y[3] = {1, 2, 3}, nan3[3] = {1, kNaN, 3};
  const BadCall calls[] = {
      {"ebary n 0", 2, [] { ebary(x, y, y, y, 0); }},
      {"ebarx null", 2, [] { ebarx(x, nullptr, y, y, 3); }},
      {"ebary NaN", 2, [] { ebary(x, nan3, y, y, 3); }},
      {"barplt n -1", 2, [] { barplt(x, y, y, -1); }},
      {"barplt NaN", 2, [] { barplt(nan3, y, y, 3); }},
      {"hstgrm bins 0", 2, [] { hstgrm(x, 3, 0, 0.0f, 1.0f, nullptr); }},
      {"hstgrm xa = xe", 2, [] { hstgrm(x, 3, 4, 1.0f, 1.0f, nullptr); }},
      {"hstgrm xa > xe", 2, [] { hstgrm(x, 3, 4, 2.0f, 1.0f, nullptr); }},
      {"hstgrm NaN end", 2, [] { hstgrm(x, 3, 4, kNaN, 1.0f, nullptr); }},
      {"hstgrm null", 2, [] { hstgrm(nullptr, 3, 4, 0.0f, 1.0f, nullptr); }},
      {"hstgrm n 0", 2, [] { hstgrm(x, 0, 4, 0.0f, 1.0f, nullptr); }},
      {"fillbt one point", 2, [] { fillbt(x, y, y, 1); }},
      {"fillbt NaN", 2, [] { fillbt(x, y, nan3, 3); }},
      {"legend with nothing named", 2, [] { legend("UR"); }},
      {"legend at a bad place", 2, [] { legend("MIDDLE"); }},
      {"grid negative", 2, [] { grid(-1, 1); }},
      {"usrmsg NaN", 2, [] { usrmsg("a", kNaN, 1.0f); }},
      {"usrsym bad symbol", 2, [] { usrsym(99, 1.0f, 1.0f); }},
      {"usrlin infinity", 2, [] { usrlin(0, 0, kInf, 1); }},
      {"title null", 2, [] { title(nullptr); }},
      {"crvsym 24", 2, [] { crvsym(24); }},
      {"panel 5 of 4", 1, [] { panel(2, 2, 5); }},
      {"panel 0 rows", 1, [] { panel(0, 2, 1); }},
      {"panel 0", 1, [] { panel(1, 1, 0); }},
      {"autgrf n 0", 1, [] { autgrf(x, y, 0); }},
      {"autgrf null", 1, [] { autgrf(nullptr, y, 3); }},
      {"autgrf only NaN", 1, [] { autgrf(nan3 + 1, y, 1); }},
      {"title at level 1", 1, [] { title("a"); }},
      {"ebary at level 1", 1, [] { ebary(x, y, y, y, 3); }},
  };
  for (const BadCall& c : calls) {
    SCOPED_TRACE(c.what);
    qqsglb(1);
    open();
    if (c.level == 2) graf(0, 10, 0, 2, 0, 10, 0, 2);
    Global& g = qqgglb();
    qqstrk(g);
    const int before = g.vectorCount, warnings = g.warningCount, level = g.level;
    const std::string said = output(c.call);
    qqstrk(g);
    EXPECT_NE(said.find("Warning"), std::string::npos) << said;
    EXPECT_GT(g.warningCount, warnings);
    EXPECT_EQ(g.vectorCount, before);
    EXPECT_EQ(g.level, level);
    korfin();
  }
}

TEST_F(ChartsTest, TitleLinesAreCentredAboveTheSystem) {
  system();
  if (!textDraws()) GTEST_SKIP() << "the text layer draws nothing yet";
  tithgt(50);
  // the by-address form, blank-filled as a Fortran caller passes it
  const char text[] = "Wide first line|B      ";
  title_(text, static_cast<int>(sizeof text - 1));
  const auto lines = close();
  // Nothing of the axes reaches more than its long ticks (24) above the top
  // edge at 500 except the labels of the right and left side (half a label
  // height); the title lies above both.
  double xmin = 1e9, xmax = -1e9;
  std::vector<double> ys;
  for (const Line& l : lines) {
    // (textDraws left its "8" in the page corner)
    if (std::max(l.y1, l.y2) >= 470 || std::min(l.x1, l.x2) < 100) continue;
    xmin = std::min({xmin, l.x1, l.x2});
    xmax = std::max({xmax, l.x1, l.x2});
    ys.push_back(l.y1);
    ys.push_back(l.y2);
  }
  ASSERT_FALSE(ys.empty());
  EXPECT_NEAR((xmin + xmax) / 2, 1000, 6);
  // two lines of height 50: a gap between two bands of strokes
  std::sort(ys.begin(), ys.end());
  double gap = 0;
  for (std::size_t i = 1; i < ys.size(); ++i) gap = std::max(gap, ys[i] - ys[i - 1]);
  EXPECT_GT(gap, 10);
  EXPECT_LT(ys.back() - ys.front(), 3 * 50);
  // the single "B" of the second line is centred too: its strokes below the gap
  double bmin = 1e9, bmax = -1e9;
  const double split = ys.back() - 60;
  for (const Line& l : lines)
    if (std::max(l.y1, l.y2) < 470 && std::min(l.y1, l.y2) > split && std::min(l.x1, l.x2) >= 100) {
      bmin = std::min({bmin, l.x1, l.x2});
      bmax = std::max({bmax, l.x1, l.x2});
    }
  EXPECT_NEAR((bmin + bmax) / 2, 1000, 15);
}

TEST_F(ChartsTest, ByAddressFormsReachTheSameRoutines) {
  system();
  const float x[3] = {1, 2, 3}, y[3] = {1, 2, 3};
  const int n = 3, bins = 2;
  const float xa = 0, xe = 4;
  int counts[2] = {-1, -1};
  hstgrm_(x, &n, &bins, &xa, &xe, counts);
  EXPECT_EQ(counts[0], 1);
  EXPECT_EQ(counts[1], 2);
  const char nm[] = "data    ";
  crvnam_(nm, static_cast<int>(sizeof nm - 1));
  curve_(x, y, &n);
  EXPECT_EQ(qqgglb().keyCount, 1);
  EXPECT_STREQ(qqgglb().keys[0].name, "data");
  const float px = 5, py = 5;
  int nx = 0, ny = 0;
  usrpos_(&px, &py, &nx, &ny);
  EXPECT_EQ(nx, 1000);
  EXPECT_EQ(ny, 1000);
  float a, e, org, step;
  getgrf_(&a, &e, &org, &step, "Y", 1);
  EXPECT_EQ(e, 10.0f);
  close();
}

TEST_F(ChartsTest, LegendSamplesShowMarkersAndFills) {
  system();
  height(40);  // rows of 60 from (540, 540): samples 120 long
  const float x[2] = {1, 2}, y[2] = {1, 2}, y2[2] = {2, 3};
  crvsym(0);
  crvlin("OFF");
  crvnam("points");
  curve(x, y, 2);
  crvnam("band");
  fillbt(x, y, y2, 2);
  legend("UL");
  const auto lines = close();
  // the square of the first item in the middle of its sample, and no line
  EXPECT_TRUE(has(lines, 582, 552, 582, 588));
  EXPECT_TRUE(has(lines, 618, 552, 618, 588));
  EXPECT_FALSE(has(lines, 540, 570, 660, 570));
  // the band's box, outlined
  EXPECT_TRUE(has(lines, 540, 610, 660, 610));
  EXPECT_TRUE(has(lines, 660, 650, 540, 650));
}

}  // namespace
}  // namespace korvan::test
