// Axis systems through the public routines, read back from the text
// metafile: scaling, ticks, labels, names, warnings, zero line, clipping.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "axes/axes.h"
#include "axes/gksl_plot.h"
#include "draw/pipeline.h"

namespace korvan::test {
namespace {

struct Scale {
  float xa, xe, xor_, xstep;
};

class GrafTest : public GkslPlot {
 protected:
  // The lower-left corner (400, 1700), 1001 x 501 plot units.
  void system(Scale x, Scale y = {0, 5, 0, 1}) {
    axspos(400, 1700);
    axslen(1001, 501);
    graf(x.xa, x.xe, x.xor_, x.xstep, y.xa, y.xe, y.xor_, y.xstep);
  }
  template <class F>
  static void quiet(F f) {
    (void)output(f);
  }
  // Ticks of the lower X axis: x position and length.
  static std::map<int, int> lowerTicks(const std::vector<Line>& lines) {
    std::map<int, int> out;
    for (const Line& l : lines)
      if (l.vertical() && std::fabs(std::min(l.y1, l.y2) - 1700) < 0.01 && std::fabs(l.y1 - l.y2) < 30)
        out[static_cast<int>(std::lround(l.x1))] = static_cast<int>(std::lround(std::fabs(l.y1 - l.y2)));
    return out;
  }
};

TEST_F(GrafTest, UserToPlotCoordinates) {
  struct {
    Scale x, y;
    float ux, uy, px, py;
  } cases[] = {
      {{0, 10, 0, 2}, {0, 5, 0, 1}, 10, 5, 1400, 1200},   // factor 100, y upwards
      {{0, 10, 0, 2}, {0, 5, 0, 1}, 0, 0, 400, 1700},
      {{10, 0, 10, -2}, {0, 5, 0, 1}, 10, 0, 400, 1700},  // reversed
      {{10, 0, 10, -2}, {0, 5, 0, 1}, 2.5, 0, 1150, 1700},
      {{0, 10, 0, 2}, {0, 5, 0, 1}, 1e7, -1e9, 1e6, 1e6},  // clamped
      {{0, 10, 0, 2}, {0, 5, 0, 1}, -1e30, 1e30, -1e6, -1e6},
  };
  for (auto& c : cases) {
    open();
    system(c.x, c.y);
    float px, py;
    qqrel2(qqgglb(), c.ux, c.uy, &px, &py);
    EXPECT_FLOAT_EQ(px, c.px) << c.ux;
    EXPECT_FLOAT_EQ(py, c.py) << c.uy;
    EXPECT_EQ(qqgglb().level, 2);
    endgrf();
    close();
    std::filesystem::remove("korvan.met");
  }
  open();  // logarithmic: graf takes powers of ten; <= 0 off the axis
  axsscl("LOG", "XY");
  system({-1, 3, -1, 1}, {0, 2, 0, 1});
  float px, py;
  qqrel2(qqgglb(), 100.0f, 10.0f, &px, &py);
  EXPECT_FLOAT_EQ(px, 400 + 3 * 250);
  EXPECT_FLOAT_EQ(py, 1700 - 250);
  qqrel2(qqgglb(), 0.0f, -1.0f, &px, &py);
  EXPECT_FLOAT_EQ(px, -1e6);
  EXPECT_FLOAT_EQ(py, 1e6);
  close();
}

TEST_F(GrafTest, TicksOfTheLowerAxis) {
  struct {
    const char* what;
    Scale x;
    int ticksPerStep;
    bool log;
    int count, longCount;
    int last;  // x of the rightmost tick
  } cases[] = {
      {"0..10 step 2", {0, 10, 0, 2}, 2, false, 11, 6, 1400},
      {"0..9 step 2", {0, 9, 0, 2}, 2, false, 10, 5, 1400},
      {"reversed", {10, 0, 10, -2}, 2, false, 11, 6, 1400},
      {"origin inside", {0, 10, 3, 2}, 1, false, 5, 5, 1300},
      {"no ticks", {0, 10, 0, 2}, 0, false, 0, 0, 0},
      {"decades", {-1, 2, -1, 1}, 2, true, 28, 4, 1400},
      {"log linear ticks", {-1, 2, -1, 1}, 1, true, 4, 4, 1400},
  };
  for (auto& c : cases) {
    open();
    ticks(c.ticksPerStep, "X");
    if (c.log) axsscl("LOG", "X");
    system(c.x);
    endgrf();
    std::map<int, int> t = lowerTicks(close());
    std::filesystem::remove("korvan.met");
    int longs = 0;
    for (auto [x, len] : t) longs += len == 24;
    EXPECT_EQ(static_cast<int>(t.size()), c.count) << c.what;
    EXPECT_EQ(longs, c.longCount) << c.what;
    if (!t.empty()) {
      EXPECT_EQ(t.rbegin()->first, c.last) << c.what;
      EXPECT_EQ(t.begin()->second, 24) << c.what;  // the first label's tick
    }
  }
}

TEST_F(GrafTest, DateAxesTickAtTheMonthSteps) {
  // 1 January 2000 to 1 January 2001: steps 1 (months) and 2 (quarters).
  struct {
    const char* what;
    Scale x;
    int ticksPerStep, months;
  } cases[] = {
      {"months", {0, 366, 0, 1}, 2, 1},
      {"months from February", {0, 366, 31, 1}, 2, 1},
      {"quarters in thirds", {0, 366, 0, 2}, 3, 3},
      {"reversed", {366, 0, 366, -1}, 2, 1},
  };
  for (auto& c : cases) {
    open();
    Global& g = qqgglb();
    qqbdat(g, 1, 1, 2000);
    g.axis[0].labelType = 14;
    ticks(c.ticksPerStep, "X");
    system(c.x);
    endgrf();
    std::vector<Line> lines = close();
    std::filesystem::remove("korvan.met");
    std::map<int, int> lower = lowerTicks(lines);
    std::map<int, int> expected;  // the month starts long, their parts short
    const double factor = 1000.0 / (c.x.xe - c.x.xa);
    for (int m = 0; m <= 12; m += c.months) {
      const int d0 = m == 12 ? 366 : incdat(1, m + 1, 2000);
      const int d1 = m + c.months > 12 ? 0 : m + c.months == 12 ? 366 : incdat(1, m + c.months + 1, 2000);
      for (int j = 0; j < c.ticksPerStep && (j == 0 || m < 12); ++j) {
        const double day = d0 + j * (d1 - d0) / static_cast<double>(c.ticksPerStep);
        expected[static_cast<int>((day - c.x.xa) * factor + 400.5)] = j == 0 ? 24 : 16;
      }
    }
    EXPECT_EQ(lower, expected) << c.what;
    int upper = 0;  // the upper side draws no labels but the same ticks
    for (const Line& l : lines)
      upper += l.vertical() && std::fabs(std::max(l.y1, l.y2) - 1200) < 0.01 && std::fabs(l.y1 - l.y2) < 30;
    EXPECT_EQ(upper, static_cast<int>(expected.size())) << c.what;
  }
}

TEST_F(GrafTest, GridOnADateAxisFollowsTheMonths) {
  // A year by months: lines at the month starts, or at every second one.
  for (int every : {1, 2}) {
    open();
    qqbdat(qqgglb(), 1, 1, 2000);
    qqgglb().axis[0].labelType = 14;
    system({0, 366, 0, 1});
    grid(every, 0);
    std::vector<Line> lines = close();
    std::filesystem::remove("korvan.met");
    std::vector<int> at;
    for (const Line& l : lines)  // inside the frame: the lines on it are clipped away
      if (l.vertical() && std::fabs(std::fabs(l.y1 - l.y2) - 498) < 1) at.push_back(static_cast<int>(std::lround(l.x1)));
    std::vector<int> expected;
    for (int m = every; m < 12; m += every) {
      const int day = incdat(1, m + 1, 2000);
      expected.push_back(static_cast<int>(day * 1000.0 / 366 + 400.5));
    }
    EXPECT_EQ(at, expected) << every;
  }
}

TEST_F(GrafTest, SidesAndTheirLevels) {
  open();
  system({0, 10, 0, 2});
  endgrf();
  std::vector<Line> lines = close();
  int up = 0, right = 0, left = 0, down = 0;
  for (const Line& l : lines) {
    if (l.vertical() && std::fabs(std::max(l.y1, l.y2) - 1200) < 0.01 && std::fabs(l.y1 - l.y2) < 30) ++up;
    if (l.horizontal() && std::fabs(std::min(l.x1, l.x2) - 1400) < 0.01 && std::fabs(l.x1 - l.x2) < 30) ++right;
    if (l.horizontal() && std::fabs(std::max(l.x1, l.x2) - 400) < 0.01 && std::fabs(l.x1 - l.x2) < 30) ++left;
    if (l.vertical() && std::fabs(std::min(l.y1, l.y2) - 1700) < 0.01 && std::fabs(l.y1 - l.y2) < 30) ++down;
  }
  // Every side ticks away from the rectangle; Y: 0..5 step 1, 2 per step.
  EXPECT_EQ(down, 11);
  EXPECT_EQ(up, 11);
  EXPECT_EQ(left, 11);
  EXPECT_EQ(right, 11);

  std::filesystem::remove("korvan.met");
  open();
  qqgglb().twoAxes = 1;
  qqgglb().sideLevel[0] = 1;  // the lower axis: its line only
  system({0, 10, 0, 2});
  endgrf();
  lines = close();
  int lower = 0, upper = 0;
  for (const Line& l : lines) {
    if (l.x1 < 400.5) continue;  // the left axis and its labels
    lower += l.vertical() && std::max(l.y1, l.y2) > 1700.5;
    upper += l.vertical() && std::min(l.y1, l.y2) < 1199.5;
  }
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 0);
}

TEST_F(GrafTest, Warnings) {
  struct {
    const char* what;
    Scale x, y;
    int crossed, logX;
    const char* message;
    int level;
  } cases[] = {
      {"equal ends", {1, 1, 1, 1}, {0, 5, 0, 1}, 0, 0, "Warning  10: Begin and end of scaling are equal in graf!", 1},
      {"zero step", {0, 10, 0, 2}, {0, 5, 0, 0}, 0, 0, "Warning   9: Step equal zero in graf!", 1},
      {"origin out", {0, 10, 11, 2}, {0, 5, 0, 1}, 0, 0, "Warning  12: Startlabel out of scaling in graf!", 2},
      {"step sign", {0, 10, 0, -2}, {0, 5, 0, 1}, 0, 0, "Warning  50: Incorrect sign for step in graf!", 2},
      {"reversed step sign", {10, 0, 10, 2}, {0, 5, 0, 1}, 0, 0, "Warning  50", 2},
      {"not a number", {0, NAN, 0, 2}, {0, 5, 0, 1}, 0, 0, "Warning   2: Incorrect parameter in graf!", 1},
      {"crossed log", {-1, 1, -1, 1}, {-1, 1, -1, 1}, 1, 1,
       "Warning 101: Crossed axis systems must have linear scaling in graf!", 1},
      {"crossed no origin", {1, 10, 1, 1}, {-1, 1, -1, 1}, 1, 0,
       "Warning 101: No origin found for crossed axis system in graf!", 1},
      {"crossed", {-5, 5, -4, 2}, {-2, 2, -2, 1}, 1, 0, "", 2},
      // log axes take exponents: 10^1000 and 10^-60 are no floats
      {"log of values", {0, 1000, 0, 100}, {0, 5, 0, 1}, 0, 1, "Warning   2: Incorrect parameter in graf!", 1},
      {"log too small", {-60, 0, -60, 10}, {0, 5, 0, 1}, 0, 1, "Warning   2", 1},
      {"log in range", {-30, 30, -30, 10}, {0, 5, 0, 1}, 0, 1, "", 2},
  };
  for (auto& c : cases) {
    open();
    qqgglb().crossed = c.crossed;
    if (c.logX) axsscl("LOG", "X");
    std::string out = output([&] { system(c.x, c.y); });
    if (*c.message)
      EXPECT_NE(out.find(c.message), std::string::npos) << c.what << ": " << out;
    else
      EXPECT_EQ(out, "") << c.what;
    EXPECT_EQ(qqgglb().level, c.level) << c.what;
    close();
    std::filesystem::remove("korvan.met");
  }
  open();
  std::string out = output([] {
    xaxgit();                    // level 1
    graf(0, 1, 0, 1, 0, 1, 0, 1);
    graf(0, 1, 0, 1, 0, 1, 0, 1);  // level 2
    axslen(100, 100);              // level 2
    endgrf();
    axslen(1, 100);
    name("x", "Q");
    labdig(-2, "X");
    ticks(-1, "X");
    axsscl("SQRT", "X");
    float v = 0;
    curve(&v, &v, 1);              // level 1
  });
  const char* expected[] = {
      "Warning   3: Incorrect level in xaxgit!   (   1)", "Warning   3: Incorrect level in graf!   (   2)",
      "Warning   3: Incorrect level in axslen!   (   2)", "Warning  11: Axis length < 2 in axslen!   (   1)",
      "Warning   2: Incorrect parameter in name!   (Q)",  "Warning   2: Incorrect parameter in labdig!   (  -2)",
      "Warning   2: Incorrect parameter in ticks!   (  -1)", "Warning   2: Incorrect parameter in axsscl!   (SQRT)",
      "Warning   3: Incorrect level in curve!   (   1)"};
  for (const char* e : expected) EXPECT_NE(out.find(e), std::string::npos) << e << "\n" << out;
  close();
}

TEST_F(GrafTest, TooDenseAxesSaySoOnce) {
  struct {
    const char* what;
    Scale x, y;
    int ticksPerStep;
  } cases[] = {
      {"labels and ticks of X", {0, 10000, 0, 1}, {0, 5, 0, 1}, 2},
      {"both axes", {0, 10000, 0, 1}, {0, 10000, 0, 1}, 2},
      {"ticks only", {0, 1000, 0, 1000}, {0, 5, 0, 1}, 5000},
  };
  for (auto& c : cases) {
    open();
    ticks(c.ticksPerStep, "X");
    std::string out = output([&] { system(c.x, c.y); });
    int n = 0;
    for (std::size_t p = 0; (p = out.find("Warning 101: Too many ticks or labels for the axis length in graf!", p)) != std::string::npos; ++p) ++n;
    EXPECT_EQ(n, 1) << c.what << ": " << out;
    EXPECT_EQ(qqgglb().level, 2) << c.what;  // the system is still made
    endgrf();
    EXPECT_TRUE(lowerTicks(close()).empty()) << c.what;
    std::filesystem::remove("korvan.met");
  }
}

TEST_F(GrafTest, CrossedAxesMeetAtTheUserOrigin) {
  for (int centre = 0; centre <= 1; ++centre) {
    open();
    Global& g = qqgglb();
    g.crossed = 1;
    g.crossCentre = centre;
    g.crossX = 1000;
    g.crossY = 1000;
    system({-5, 5, -4, 2}, {-1, 4, -1, 1});
    const int cx = centre ? 1000 : 400 + 500, cy = centre ? 1000 : 1700 - 100;
    EXPECT_EQ(g.crossX, cx);
    EXPECT_EQ(g.crossY, cy);
    float px, py;
    qqrel2(g, 0, 0, &px, &py);
    EXPECT_NEAR(px, cx, 0.5);
    EXPECT_NEAR(py, cy, 0.5);
    endgrf();
    std::vector<Line> lines = close();
    std::filesystem::remove("korvan.met");
    bool xAxis = false, yAxis = false;
    for (const Line& l : lines) {
      xAxis |= l.horizontal() && std::fabs(l.y1 - cy) < 0.01 && std::fabs(l.x2 - l.x1) > 999;
      yAxis |= l.vertical() && std::fabs(l.x1 - cx) < 0.01 && std::fabs(l.y2 - l.y1) > 499;
    }
    EXPECT_TRUE(xAxis && yAxis) << centre;
  }
}

TEST_F(GrafTest, ZeroLineAndCurveClipping) {
  open();
  system({0, 10, 0, 2}, {-5, 5, -5, 1});
  xaxgit();
  const float xs[] = {0, 10, NAN, 5, 5}, ys[] = {1, 1, 0, -10, 10};
  curve(xs, ys, 5);
  EXPECT_EQ(qqgglb().level, 3);
  endgrf();
  EXPECT_EQ(qqgglb().level, 1);
  EXPECT_EQ(qqgglb().clipXmin, 0);  // the page again
  std::vector<Line> lines = close();
  bool zero = false, cut = false, vertical = false, through = false;
  for (const Line& l : lines) {
    zero |= l.horizontal() && std::fabs(l.y1 - 1450) < 0.01 && std::fabs(std::fabs(l.x2 - l.x1) - 1000) < 0.01;
    // the default margin keeps the curve one unit inside the frame
    cut |= l.horizontal() && std::fabs(l.y1 - 1400) < 0.01 && std::fabs(l.x1 - 401) < 0.01 &&
           std::fabs(l.x2 - 1399) < 0.01;
    vertical |= l.vertical() && std::fabs(l.x1 - 900) < 0.01 && std::fabs(l.y1 - 1699) < 0.01 &&
                std::fabs(l.y2 - 1201) < 0.01;
    through |= !l.horizontal() && !l.vertical() && std::min(l.x1, l.x2) > 400.5 &&
               std::max(l.x1, l.x2) < 1399.5 && std::min(l.y1, l.y2) > 1200.5 &&
               std::max(l.y1, l.y2) < 1699.5;  // no line across the gap
  }
  EXPECT_TRUE(zero);
  EXPECT_TRUE(cut);
  EXPECT_TRUE(vertical);
  EXPECT_FALSE(through);

  std::filesystem::remove("korvan.met");
  open();  // no zero line when 0 lies outside the Y range
  system({0, 10, 0, 2}, {1, 5, 1, 1});
  xaxgit();
  endgrf();
  for (const Line& l : close()) EXPECT_FALSE(l.horizontal() && std::fabs(l.x2 - l.x1) > 999 && l.y1 > 1200.5 && l.y1 < 1699.5);
}

TEST_F(GrafTest, EndgrfEndsAnAxisClippingHeldApplied) {
  open();
  system({0, 10, 0, 2});
  Global& g = qqgglb();
  sclpax(g, 0);
  g.axisClipMarker = 2;
  EXPECT_EQ(g.clipXmin, 401);
  endgrf();
  EXPECT_EQ(g.axisClipMarker, 0);
  EXPECT_EQ(g.clipXmin, 0);
  EXPECT_EQ(g.clipXmax, g.pageWidth);
  EXPECT_EQ(g.level, 1);
  close();
}

TEST_F(GrafTest, CentringPutsTheBlockInTheMiddleOfThePage) {
  open();
  Global& g = qqgglb();
  g.centreRequest = 1;
  for (int& l : g.sideLevel) l = 2;  // ticks only: 24 units out on each side
  system({0, 10, 0, 2});
  EXPECT_EQ(g.centreRequest, 2);
  EXPECT_EQ(g.shiftX, (2969 - (1001 + 48)) / 2 - (400 - 24));
  EXPECT_EQ(g.shiftY, (2099 - (501 + 48)) / 2 - (1200 - 24));
  EXPECT_EQ(g.axisClipXmin, 400 + g.shiftX + 1);
  close();
}

TEST_F(GrafTest, BackgroundFillsTheRectangleAndKeepsTheColour) {
  open();
  color("RED");
  Global& g = qqgglb();
  const int red = g.currentColour;
  g.axisBgColour = 3;
  system({0, 10, 0, 2});
  EXPECT_EQ(g.currentColour, red);
  endgrf();
  int rows = 0;  // this device hatches a box with rows 1.4 units apart
  for (const Line& l : close())
    rows += l.horizontal() && std::fabs(std::fabs(l.x2 - l.x1) - 1000) < 0.01 && l.y1 > 1200.5 &&
            l.y1 < 1699.5;
  EXPECT_GT(rows, 300);
}

TEST_F(GrafTest, ByAddressFormsAndLabelOmission) {
  open();
  const int two = 2, len = 1001;
  axslen_(&len, &len);
  name_("Height  ", "YX", 8, 1);  // the axes text is cut to its length
  axsscl_("LOG ", "X", 4, 1);
  labdig_(&two, "Y", 1);
  ticks_(&two, "Y", 1);
  const float a = 0, e = 2, st = 1;
  graf_(&a, &e, &a, &st, &a, &e, &a, &st);
  Global& g = qqgglb();
  EXPECT_STREQ(g.axis[1].name, "Height  ");
  EXPECT_STREQ(g.axis[0].name, "");
  EXPECT_EQ(g.axis[0].logScale, 1);
  EXPECT_EQ(g.axis[1].labelDigits, 2);
  EXPECT_EQ(g.axisLenX, 1001);
  EXPECT_EQ(g.level, 2);
  endgrf_();
  EXPECT_EQ(g.level, 1);
  close();

  struct {
    int m, omit, first, last, inc;
  } cases[] = {{5, 0, 0, 5, 1}, {5, 1, 1, 5, 1}, {5, 2, 0, 4, 1}, {5, 3, 1, 4, 1},
               {5, 4, 0, 5, 5}, {5, 5, 0, 0, 1}, {5, 6, 5, 5, 1}, {0, 4, 0, 0, 1}};
  for (auto c : cases) {
    int first, last, inc;
    endpar(c.m, c.omit, &first, &last, &inc);
    EXPECT_EQ(first * 10000 + last * 100 + inc, c.first * 10000 + c.last * 100 + c.inc) << c.omit;
  }
}

TEST_F(GrafTest, ExtremeScalingsEndAndStayOnThePage) {
  struct {
    Scale x;
    bool log;
  } cases[] = {{{0, 1e30f, 0, 1e-30f}, false}, {{-3e38f, 3e38f, 0, 1}, false},
               {{0, 1, 1e30f, 1}, false},      {{-1e30f, 1e30f, -1e30f, 1}, true},
               {{1e20f, 1e20f * 1.001f, 1e20f, 1e15f}, false}};
  for (auto& c : cases) {
    open();
    if (c.log) axsscl("LOG", "X");
    quiet([&] { system(c.x); });
    const float xs[] = {-1e38f, 0, 1e38f}, ys[] = {0, 1e38f, -1e38f};
    quiet([&] { curve(xs, ys, 3); });  // a refused system leaves level 1
    endgrf();
    for (const Line& l : close())
      for (double v : {l.x1, l.y1, l.x2, l.y2}) EXPECT_TRUE(v >= 0 && v <= 2969) << c.x.xe;
    std::filesystem::remove("korvan.met");
  }
  open();  // axis settings beyond the plot coordinates are refused
  quiet([] {
    axslen(2000000, 100);
    axspos(0, -2000000);
  });
  EXPECT_EQ(qqgglb().axisLenX, 1980);
  EXPECT_EQ(qqgglb().axisPosY, 1799);
  close();
}

TEST_F(GrafTest, LabelsSitAtTheirTicks) {
  open();
  if (!textDraws()) {
    close();
    GTEST_SKIP() << "the text layer draws nothing yet";
  }
  labdig(-1, "XY");
  name("Abc", "X");
  system({0, 10, 0, 2});
  endgrf();
  std::vector<Line> lines = close();
  // Label strokes below the lower axis, grouped by gaps along x.
  std::vector<std::pair<double, double>> groups;  // min x, max x
  double nameTop = 1e9;
  for (const Line& l : lines) {
    const double y0 = std::min(l.y1, l.y2), y1 = std::max(l.y1, l.y2);
    if (y0 > 1700 + 48 + 36 + 20) {
      nameTop = std::min(nameTop, y0);
      continue;
    }
    if (y0 < 1700 + 40 || y1 > 1700 + 48 + 40 || l.x1 < 300) continue;
    const double a = std::min(l.x1, l.x2), b = std::max(l.x1, l.x2);
    bool merged = false;
    for (auto& gr : groups)
      if (a <= gr.second + 30 && b >= gr.first - 30) {  // the digits of one label
        gr.first = std::min(gr.first, a);
        gr.second = std::max(gr.second, b);
        merged = true;
      }
    if (!merged) groups.push_back({a, b});
  }
  std::sort(groups.begin(), groups.end());
  ASSERT_EQ(groups.size(), 6u);
  for (int i = 0; i < 6; ++i) EXPECT_NEAR((groups[i].first + groups[i].second) / 2, 400 + 200 * i, 8) << i;
  // The name below the labels: name distance 30 under labels of height 36.
  EXPECT_NEAR(nameTop, 1700 + 48 + 36 + 30, 6);
}

}  // namespace
}  // namespace korvan::test
