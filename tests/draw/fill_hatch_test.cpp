// Area fills: device polygons, scan-line hatching, bands, cross-hatching,
// patterns and their warnings, as seen by the device layer.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "draw/fill.h"
#include "draw/fill_recording.h"

namespace korvan::test {
namespace {

class FillTest : public DrawTest {
 protected:
  void SetUp() override {
    DrawTest::SetUp();
    start();
    G().outlineOn = 0;  // only the hatching reaches the recorder
  }
  void fill(std::vector<int> x, std::vector<int> y) {
    areaf(x.data(), y.data(), static_cast<int>(x.size()));
  }
  static std::vector<Segment> horizontal(const std::vector<Segment>& s) {
    std::vector<Segment> out;
    for (const Segment& v : s)
      if (v.y1 == v.y2) out.push_back(v);
    return out;
  }
};

TEST_F(FillTest, HatchLinesOfNeighbouringFiguresLieOnOneFamily) {
  mypat(45, 1, 2, 0);
  float s = G().hatchSpacing;
  ASSERT_NEAR(s, 11.9999f, 1e-4f);
  double sa = std::sin(45.0 * M_PI / 180.0), ca = std::cos(45.0 * M_PI / 180.0);
  std::set<long> linesA, linesB;
  auto collect = [&](std::set<long>& lines) {
    std::vector<Segment> segs = drawn();
    ASSERT_FALSE(segs.empty());
    for (const Segment& v : segs) {
      EXPECT_NEAR(lineAngle(v), 45.0, 0.01);
      // The turned y of a hatch line is a whole multiple of the spacing.
      double k = (sa * v.x1 + ca * v.y1) / s;
      EXPECT_NEAR(k, std::round(k), 0.01) << v.x1 << "," << v.y1;
      lines.insert(std::lround(k));
    }
    rec->clear();
  };
  fill({100, 400, 400, 100}, {100, 100, 400, 400});
  collect(linesA);
  fill({400, 700, 700, 400}, {250, 250, 600, 600});
  collect(linesB);
  std::vector<long> common;
  std::set_intersection(linesA.begin(), linesA.end(), linesB.begin(), linesB.end(),
                        std::back_inserter(common));
  EXPECT_GE(common.size(), 8u);
}

TEST_F(FillTest, VertexOnAScanLineCountsOnce) {
  mypat(0, 2, 0, 0);  // lines 20 apart, no bands
  fill({500, 600, 600}, {600, 500, 700});
  int at600 = 0;
  for (const Segment& v : horizontal(drawn())) {
    if (v.y1 != 600.0f) continue;
    ++at600;
    EXPECT_FLOAT_EQ(std::min(v.x1, v.x2), 500.0f);
    EXPECT_FLOAT_EQ(std::max(v.x1, v.x2), 600.0f);
  }
  EXPECT_EQ(at600, 1);

  // A lowest vertex on a scan line gives two equal crossings, which cancel.
  rec->clear();
  fill({550, 500, 600}, {800, 900, 900});
  std::set<float> ys;
  for (const Segment& v : horizontal(drawn())) ys.insert(v.y1);
  EXPECT_EQ(ys.count(800.0f), 0u);
  EXPECT_EQ(ys, (std::set<float>{820, 840, 860, 880}));
}

TEST_F(FillTest, BandPatternDrawsTwoLinesAndSkipsThree) {
  mypat(0, 2, 3, 0);
  EXPECT_EQ(G().hatchGroupOn, 2);
  EXPECT_EQ(G().hatchGroupOff, 3);
  fill({100, 300, 300, 100}, {100, 100, 1100, 1100});
  std::vector<float> ys;
  for (const Segment& v : horizontal(drawn())) ys.push_back(v.y1);
  std::vector<float> expected;
  for (int i = 0; 100 + 20 * i < 1100; ++i)
    if (i % 5 < 2) expected.push_back(static_cast<float>(100 + 20 * i));
  EXPECT_EQ(ys, expected);
}

TEST_F(FillTest, Type4BandsAndTypes6And7BeforeAnyBand) {
  mypat(0, 6, 0, 0);  // dashed lines, no band counts selected yet: every line
  fill({100, 300, 300, 100}, {100, 100, 300, 300});
  std::set<long> ys;  // the dash walk moves y by rounding only
  for (const Segment& v : drawn()) {
    EXPECT_NEAR(v.y1, v.y2, 1e-3);
    ys.insert(std::lround(v.y1 * 10.0f));
  }
  std::size_t lines = 0;  // scan lines at multiples of 1.9999 inside the square
  for (int k = 0; k < 200; ++k) {
    float y = static_cast<float>(k) * 1.9999f;
    lines += y >= 100.0f && y < 300.0f;
  }
  EXPECT_EQ(ys.size(), lines);

  rec->clear();
  mypat(0, 4, 1, 0);  // 1 apart, 8 drawn, 9 skipped
  EXPECT_EQ(G().hatchGroupOff, 9);
  fill({100, 300, 300, 100}, {100, 100, 151, 151});
  std::vector<float> got;
  for (const Segment& v : horizontal(drawn())) got.push_back(v.y1);
  std::vector<float> expected;
  for (int y = 100; y < 151; ++y)
    if ((y - 100) % 17 < 8) expected.push_back(static_cast<float>(y));
  EXPECT_EQ(got, expected);
}

TEST_F(FillTest, CrossHatchingUsesTheCrossingAngle) {
  auto angles = [&]() {
    std::vector<long> seq;
    for (const Segment& v : drawn()) {
      long a = std::lround(lineAngle(v));
      if (seq.empty() || seq.back() != a) seq.push_back(a);
    }
    rec->clear();
    return seq;
  };
  shdpat(5);
  fill({500, 900, 900, 500}, {500, 500, 900, 900});
  EXPECT_EQ(angles(), (std::vector<long>{45, 135}));
  mypat(120, 1, 5, 1);
  fill({500, 900, 900, 500}, {500, 500, 900, 900});
  EXPECT_EQ(angles(), (std::vector<long>{120, 60}));
  mypat(135, 1, 5, 1);
  fill({500, 900, 900, 500}, {500, 500, 900, 900});
  EXPECT_EQ(angles(), (std::vector<long>{135, 45}));
}

TEST_F(FillTest, ConcaveFigureIsDrawnInPassesWithZigZag) {
  mypat(0, 2, 0, 0);
  // A U: lines from 100 to 380 cross it four times, lines from 400 on twice.
  fill({100, 200, 200, 300, 300, 400, 400, 100}, {100, 100, 400, 400, 100, 100, 500, 500});
  std::vector<Segment> segs = horizontal(drawn());
  ASSERT_EQ(segs.size(), 20u + 15u);
  // Pass 1: the first span of every line, bottom to top of the scan.
  for (int i = 0; i < 20; ++i) {
    const Segment& v = segs[static_cast<std::size_t>(i)];
    EXPECT_FLOAT_EQ(v.y1, 100.0f + 20.0f * static_cast<float>(i));
    EXPECT_FLOAT_EQ(std::min(v.x1, v.x2), 100.0f);
    EXPECT_EQ(v.x1 < v.x2, i % 2 == 0) << "pass 1 line " << i;
  }
  // Pass 2: the right arm, zig-zagging again from its first line.
  for (int i = 0; i < 15; ++i) {
    const Segment& v = segs[static_cast<std::size_t>(20 + i)];
    EXPECT_FLOAT_EQ(v.y1, 100.0f + 20.0f * static_cast<float>(i));
    EXPECT_FLOAT_EQ(std::min(v.x1, v.x2), 300.0f);
    EXPECT_FLOAT_EQ(std::max(v.x1, v.x2), 400.0f);
    EXPECT_EQ(v.x1 < v.x2, i % 2 == 0) << "pass 2 line " << i;
  }
}

TEST_F(FillTest, ManySpansFromTheFifthOnRunLeftToRight) {
  mypat(0, 2, 0, 0);
  // A comb of six teeth: six spans on the lines through the teeth.
  std::vector<int> x, y;
  for (int t = 0; t < 6; ++t) {
    int x0 = 100 + 100 * t;
    x.insert(x.end(), {x0, x0, x0 + 50, x0 + 50});
    y.insert(y.end(), {500, 100, 100, 500});
  }
  x.insert(x.end(), {650, 100});
  y.insert(y.end(), {600, 600});
  fill(x, y);
  std::vector<Segment> segs = horizontal(drawn());
  std::map<int, int> spansPerTooth;
  bool allForward = true;
  for (const Segment& v : segs) {
    int tooth = static_cast<int>(std::min(v.x1, v.x2) - 100) / 100;
    if (v.y1 < 500 && tooth >= 4) {
      spansPerTooth[tooth]++;
      allForward = allForward && v.x1 < v.x2;
    }
  }
  EXPECT_EQ(spansPerTooth[4], 20);
  EXPECT_EQ(spansPerTooth[5], 20);
  EXPECT_TRUE(allForward);
}

TEST_F(FillTest, SolidPatternGoesToTheDeviceOnlyWhenWhollyInside) {
  Global& g = G();
  g.driver.reset();
  rec = new Recorder(true);
  g.driver.reset(rec);
  g.outlineOn = 1;
  shdpat(16);
  fill({100, 200, 150}, {100, 100, 200});
  EXPECT_EQ(rec->polys.size(), 1u);
  EXPECT_EQ(rec->polys[0].x, (std::vector<float>{100, 200, 150}));
  int outline = rec->draws();
  EXPECT_EQ(outline, 3);  // the outline only, no hatch lines

  rec->clear();
  g.outlineOn = 0;
  fill({-10, 200, 150}, {100, 100, 200});
  std::vector<Segment> segs = horizontal(drawn());
  EXPECT_TRUE(rec->polys.empty());
  ASSERT_GT(segs.size(), 40u);
  std::set<float> ys;
  for (const Segment& v : segs) ys.insert(v.y1);
  std::vector<float> v(ys.begin(), ys.end());
  for (std::size_t i = 1; i < v.size(); ++i) EXPECT_NEAR(v[i] - v[i - 1], 1.9999f, 1e-3f);
  for (const Segment& s : segs) EXPECT_GE(std::min(s.x1, s.x2), 0.0f);  // clipped at the window
}

TEST_F(FillTest, LargeAndHugePolygonsAreFilled) {
  mypat(0, 1, 0, 0);
  const int n = 100000;
  std::vector<int> x(n), y(n);
  for (int i = 0; i < n; ++i) {
    double a = 2.0 * M_PI * i / n;
    x[static_cast<std::size_t>(i)] = static_cast<int>(std::lround(1400 + 900 * std::cos(a)));
    y[static_cast<std::size_t>(i)] = static_cast<int>(std::lround(1000 + 900 * std::sin(a)));
  }
  fill(x, y);
  std::vector<Segment> segs = horizontal(drawn());
  EXPECT_NEAR(static_cast<double>(segs.size()), 1800.0 / 1.9999, 2.0);
  for (const Segment& s : segs) {
    EXPECT_LE(std::hypot(s.x1 - 1400, s.y1 - 1000), 901.0);
    EXPECT_LE(std::hypot(s.x2 - 1400, s.y2 - 1000), 901.0);
  }

  // Far larger than the page: hatched where the window shows it.
  rec->clear();
  auto t0 = std::chrono::steady_clock::now();
  fill({-2000000000, 2000000000, 0}, {2000000000, 2000000000, -2000000000});
  segs = horizontal(drawn());
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  EXPECT_LT(seconds, 30.0);  // a bound against endless loops, not a speed test
  EXPECT_NEAR(static_cast<double>(segs.size()), 2099.0 / 1.9999, 3.0);
  for (const Segment& s : segs) {
    EXPECT_FLOAT_EQ(std::min(s.x1, s.x2), 0.0f);
    EXPECT_FLOAT_EQ(std::max(s.x1, s.x2), 2969.0f);
  }
}

TEST_F(FillTest, TooManyCrossingsStopTheHatching) {
  mypat(0, 2, 0, 0);
  std::vector<int> x, y;
  for (int t = 0; t < 51; ++t) {
    int x0 = 100 + 20 * t;
    x.insert(x.end(), {x0, x0, x0 + 10, x0 + 10});
    y.insert(y.end(), {500, 100, 100, 500});
  }
  x.insert(x.end(), {1110, 100});
  y.insert(y.end(), {600, 600});
  std::string out = output([&] { fill(x, y); });
  EXPECT_NE(out.find(" <<<< Warning  26: Too many intersections in areaf!"), std::string::npos)
      << out;
  EXPECT_TRUE(horizontal(drawn()).empty());
}

TEST_F(FillTest, PatternsAndTheirChecks) {
  Global& g = G();
  shdpat(17);  // 550: dotted lines, density 5
  EXPECT_EQ(g.shadingPattern, 17);
  EXPECT_EQ(g.fillType, 5);
  EXPECT_EQ(g.hatchDensity, 5);
  EXPECT_NEAR(g.hatchSpacing, 26.9999f, 1e-4f);
  shdpat(9);  // 45211
  EXPECT_EQ(g.hatchAngle, 45);
  EXPECT_EQ(g.fillType, 2);
  EXPECT_EQ(g.crossHatch, 1);
  EXPECT_EQ(g.hatchGroupOff, 1);
  shdpat(12345);  // a code of its own
  EXPECT_EQ(g.shadingPattern, 12345);
  EXPECT_EQ(g.hatchAngle, 12);
  EXPECT_EQ(g.fillType, 3);
  EXPECT_EQ(g.hatchDensity, 4);
  EXPECT_EQ(g.crossHatch, 1);

  std::string out = output([] {
    shdpat(-1);
    mypat(180, 1, 0, 0);
    mypat(0, 8, 0, 0);
    mypat(0, 1, 10, 0);
    mypat(0, 1, 0, 2);
  });
  EXPECT_NE(out.find("Warning   2: Incorrect parameter in shdpat!   (  -1)"), std::string::npos);
  EXPECT_NE(out.find("in mypat!   ( 180)"), std::string::npos);
  EXPECT_NE(out.find("in mypat!   (   8)"), std::string::npos);
  EXPECT_NE(out.find("in mypat!   (  10)"), std::string::npos);
  EXPECT_NE(out.find("in mypat!   (   2)"), std::string::npos);
  EXPECT_EQ(g.shadingPattern, 12345);

  g.device = 221;
  mypat(0, 1, 0, 0);
  EXPECT_NEAR(g.hatchSpacing, 0.39999f, 1e-6f);
  mypat(0, 2, 0, 0);
  EXPECT_NEAR(g.hatchSpacing, 20.0f, 1e-6f);
  g.device = 201;

  out = output([] {
    int x[1] = {0};
    areaf(x, x, 0);
  });
  EXPECT_NE(out.find("Warning   2: Incorrect parameter in areaf!   (   0)"), std::string::npos);
}

TEST_F(FillTest, HatchingLeavesTheCallersLineStyle) {
  int pattern[3] = {7, 3, 2};
  myline(pattern, 3);
  shdpat(17);  // dotted hatch lines
  fill({100, 300, 300, 100}, {100, 100, 300, 300});
  EXPECT_EQ(G().patternLength, 3);
  EXPECT_EQ(G().linePattern[0], 7);
  EXPECT_EQ(G().linePattern[2], 2);
  EXPECT_EQ(G().penUp, 0);
}

TEST_F(FillTest, GlyphFillDrawsVerticalLinesTwoApart) {
  Global& g = G();
  float x[4] = {100, 120, 120, 100}, y[4] = {200, 200, 260, 260};
  shdfll(g, x, y, 4);
  EXPECT_TRUE(drawn().empty());  // glyph fill off
  g.glyphFill = 1;
  shdfll(g, x, y, 4);
  std::vector<Segment> segs = drawn();
  ASSERT_EQ(segs.size(), 10u);  // x = 100, 102, ..., 118: the far edge is excluded
  for (std::size_t i = 0; i < segs.size(); ++i) {
    EXPECT_FLOAT_EQ(segs[i].x1, segs[i].x2);
    EXPECT_FLOAT_EQ(segs[i].x1, 100.0f + 2.0f * static_cast<float>(i));
    EXPECT_FLOAT_EQ(std::fabs(segs[i].y2 - segs[i].y1), 60.0f);
  }
}

}  // namespace
}  // namespace korvan::test
