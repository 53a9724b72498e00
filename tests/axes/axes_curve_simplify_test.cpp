// curve leaves out the points that lie within crvtol of the line through
// their neighbours: what the device receives, what a reader renders, and the
// simplifier's promise on its own.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "axes/axes.h"
#include "draw/simplify.h"
#include "support/files.h"
#include "support/recording_driver.h"

namespace korvan::test {
namespace {

class CurveSimplifyTest : public RecordingTest {
 protected:
  // An axis system, then only what curve sends.
  void system(float xa, float xe, float ya, float ye) {
    start();
    graf(xa, xe, xa, (xe - xa) / 5, ya, ye, ya, (ye - ya) / 5);
    clear();
  }
  // Forgets what was sent so far, the frame's last stroke included.
  void clear() {
    qqstrk(G());
    rec->clear();
  }
  std::vector<Event> sent() {
    qqstrk(G());
    return rec->points();
  }
};

// The distance of (px, py) from the segment a-b.
double toSegment(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay, len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

TEST_F(CurveSimplifyTest, AStraightLineReachesTheDeviceAsItsTwoEnds) {
  const int n = 1000000;
  std::vector<float> x(n), y(n);
  for (int i = 0; i < n; ++i) {
    x[i] = 100000.0f + 0.8f * static_cast<float>(i);
    y[i] = 0.5f * x[i];
  }
  struct Case {
    float tol;  // < 0: the default
    int n;      // points of the line given to curve
    int draws;  // draws the device receives
  } cases[] = {{-1.0f, n, 1}, {0.1f, n, 1}, {5.0f, n, 1}, {0.0f, 1000, 999}};
  for (const Case& c : cases) {
    system(0, 1000000, 0, 500000);
    if (c.tol >= 0) crvtol(c.tol);
    curve(x.data(), y.data(), c.n);
    std::vector<Event> p = sent();
    EXPECT_EQ(rec->draws(), c.draws) << c.tol;
    if (c.draws == 1) {
      EXPECT_EQ(p.size(), 2u) << c.tol;
    }
    float x0, y0, x1, y1;
    qqrel2(G(), x[0], y[0], &x0, &y0);
    qqrel2(G(), x[c.n - 1], y[c.n - 1], &x1, &y1);
    EXPECT_EQ(p.front().mode, 3);
    EXPECT_FLOAT_EQ(p.front().x, x0);
    EXPECT_FLOAT_EQ(p.front().y, y0);
    EXPECT_FLOAT_EQ(p.back().x, x1);
    EXPECT_FLOAT_EQ(p.back().y, y1);
    endgrf();
    TearDown();
    SetUp();
  }
}

TEST_F(CurveSimplifyTest, ASineKeepsItsExtremesAndEveryPointStaysWithinTheTolerance) {
  const int n = 100000;
  std::vector<float> x(n), y(n);
  for (int i = 0; i < n; ++i) {
    x[i] = 0.5f + 99.0f * static_cast<float>(i) / (n - 1);
    y[i] = std::sin(x[i]);
  }
  system(0, 100, -1.5f, 1.5f);
  crvtol(0.1f);
  curve(x.data(), y.data(), n);
  // what the device got, without the repeated point where one stroke of the
  // pipeline continues the last
  std::vector<Event> kept;
  for (const Event& e : sent())
    if (kept.empty() || e.x != kept.back().x || e.y != kept.back().y) kept.push_back(e);
  // every point of the curve on the page
  std::vector<Event> all(n);
  for (int i = 0; i < n; ++i) qqrel2(G(), x[i], y[i], &all[i].x, &all[i].y);
  EXPECT_LT(kept.size(), all.size() / 10);
  // Each lobe of the sine (between zero crossings) keeps its highest and
  // lowest point on the page.
  const int lobes = static_cast<int>(100 / M_PI) + 1;
  std::vector<float> lo(lobes, 1e9f), hi(lobes, -1e9f), keptLo(lobes, 1e9f), keptHi(lobes, -1e9f);
  auto lobe = [](float ux) { return static_cast<int>(ux / M_PI); };
  std::size_t k = 0;
  for (int i = 0; i < n; ++i) {
    const int l = lobe(x[i]);
    lo[l] = std::min(lo[l], all[i].y);
    hi[l] = std::max(hi[l], all[i].y);
    if (k < kept.size() && kept[k].x == all[i].x && kept[k].y == all[i].y) {
      keptLo[l] = std::min(keptLo[l], kept[k].y);
      keptHi[l] = std::max(keptHi[l], kept[k].y);
      ++k;
    }
  }
  EXPECT_EQ(k, kept.size()) << "every kept point is one of the curve's, in order";
  // (the page's y runs down: a crest is the lowest y of its lobe)
  for (int l = 0; l < lobes; ++l) {
    if (l % 2 == 0)
      EXPECT_EQ(keptLo[l], lo[l]) << "crest of lobe " << l;
    else
      EXPECT_EQ(keptHi[l], hi[l]) << "trough of lobe " << l;
  }
  // No point of the curve is farther than the tolerance from what is drawn.
  double worst = 0;
  std::size_t seg = 0;
  for (int i = 0; i < n; ++i) {
    while (seg + 2 < kept.size() && kept[seg + 1].x <= all[i].x) ++seg;
    worst = std::max(worst, toSegment(all[i].x, all[i].y, kept[seg].x, kept[seg].y,
                                      kept[seg + 1].x, kept[seg + 1].y));
  }
  EXPECT_LE(worst, 0.1 + 1e-3);
}

TEST_F(CurveSimplifyTest, PointsNextToEveryGapAreKept) {
  // A straight line cut by NaN in x or y, and by values that a logarithmic
  // axis cannot place.
  const int n = 3000;
  struct Case {
    bool log;
    std::vector<int> gaps;
  } cases[] = {{false, {500, 1200, 1201}}, {true, {500, 1200, 1201, 2000}}};
  for (const Case& c : cases) {
    std::vector<float> x(n), y(n);
    for (int i = 0; i < n; ++i) {
      x[i] = 10.0f + static_cast<float>(i);
      y[i] = 10.0f + 0.25f * static_cast<float>(i);
    }
    x[500] = NAN;
    y[1200] = NAN;
    y[1201] = NAN;
    if (c.log) x[2000] = -5.0f;  // no place on a logarithmic axis
    start();
    if (c.log) {
      axsscl("LOG", "X");
      graf(0, 4, 0, 1, 0, 1000, 0, 200);
    } else {
      graf(0, 3100, 0, 500, 0, 1000, 0, 200);
    }
    clear();
    curve(x.data(), y.data(), n);
    const std::vector<Event> p = sent();
    // the neighbours of every gap, and the ends of the curve
    std::vector<int> expected = {0, n - 1};
    for (int gap : c.gaps) {
      bool before = std::find(c.gaps.begin(), c.gaps.end(), gap - 1) != c.gaps.end();
      bool after = std::find(c.gaps.begin(), c.gaps.end(), gap + 1) != c.gaps.end();
      if (!before) expected.push_back(gap - 1);
      if (!after) expected.push_back(gap + 1);
    }
    for (int i : expected) {
      float px, py;
      qqrel2(G(), x[i], y[i], &px, &py);
      bool found = false;
      for (const Event& e : p) found |= e.x == px && e.y == py;
      EXPECT_TRUE(found) << "point " << i << (c.log ? " (log)" : "");
    }
    // one piece per stretch between gaps; on the linear axes each is a
    // straight line, a move and a draw
    const int pieces = c.log ? 4 : 3;
    EXPECT_EQ(rec->moves(), pieces);
    if (!c.log) {
      EXPECT_EQ(static_cast<int>(p.size()), 2 * pieces);
    }
    endgrf();
    TearDown();
    SetUp();
  }
}

TEST_F(CurveSimplifyTest, TheToleranceIsASettingOfThePlot) {
  start();
  EXPECT_FLOAT_EQ(G().curveTolerance, 0.1f);
  crvtol(2.5f);
  EXPECT_FLOAT_EQ(G().curveTolerance, 2.5f);
  const float bad[] = {-1.0f, NAN, INFINITY};
  for (float t : bad) {
    std::string out = output([t] { crvtol(t); });
    EXPECT_NE(out.find("Warning   2"), std::string::npos) << t;
    EXPECT_FLOAT_EQ(G().curveTolerance, 2.5f);
  }
  const float byAddress = 0.0f;
  crvtol_(&byAddress);
  EXPECT_FLOAT_EQ(G().curveTolerance, 0.0f);
  G().protocolOn = 0;
  korfin();
  std::string out = output([] { crvtol(1.0f); });
  EXPECT_NE(out.find("Warning   3"), std::string::npos);  // level 0
  metafl("VIRT");
  korini();
  EXPECT_FLOAT_EQ(G().curveTolerance, 0.1f);  // korini resets it
}

// The simplifier on its own: random walks of every kind, with and without
// gaps; every left-out point lies within the tolerance of the kept segment
// around it, and the kept points keep the extremes of every piece.
TEST(Simplify, NoLeftOutPointIsFartherThanTheTolerance) {
  std::mt19937 rng(5);
  std::normal_distribution<float> step(0.0f, 1.0f);
  const float tols[] = {0.05f, 0.1f, 1.0f, 10.0f};
  for (int walk = 0; walk < 40; ++walk) {
    const int n = 50 + walk * 97;
    std::vector<float> x(n), y(n);
    float px = 0, py = 0, dx = 1, dy = 0;
    for (int i = 0; i < n; ++i) {
      // smooth turns, noise, straight runs, returns, repeated points
      dx += 0.2f * step(rng);
      dy += 0.2f * step(rng);
      if (walk % 4 == 1) dx = -dx * (i % 37 == 0 ? 1.0f : -1.0f);
      px += (walk % 5 == 2 && i % 11 == 0) ? 0.0f : dx + (walk % 3 == 0 ? 0.05f * step(rng) : 0.0f);
      py += (walk % 5 == 2 && i % 11 == 0) ? 0.0f : dy;
      x[i] = px;
      y[i] = py;
      if (walk % 2 == 1 && i % 173 == 50) x[i] = NAN;
    }
    for (float tol : tols) {
      std::vector<int> keep(n);
      const int m = qqsimp(x.data(), y.data(), n, tol, keep.data());
      ASSERT_GE(m, 1);
      ASSERT_EQ(keep[0], 0);
      ASSERT_EQ(keep[m - 1], n - 1);
      for (int k = 1; k < m; ++k) ASSERT_LT(keep[k - 1], keep[k]);
      for (int k = 0; k + 1 < m; ++k) {
        const int a = keep[k], b = keep[k + 1];
        const bool gapA = std::isnan(x[a]), gapB = std::isnan(x[b]);
        if (gapA || gapB) {
          EXPECT_EQ(b, a + 1) << "a gap and its neighbours stay";
          continue;
        }
        for (int i = a + 1; i < b; ++i)
          ASSERT_LE(toSegment(x[i], y[i], x[a], y[a], x[b], y[b]), tol * (1 + 1e-5) + 1e-5)
              << "walk " << walk << " tol " << tol << " point " << i;
      }
      // the extremes of every piece are among the kept points
      std::vector<bool> kept(n, false);
      for (int k = 0; k < m; ++k) kept[keep[k]] = true;
      for (int a = 0; a < n;) {
        if (std::isnan(x[a])) {
          ++a;
          continue;
        }
        int b = a;
        while (b + 1 < n && !std::isnan(x[b + 1])) ++b;
        float xlo = x[a], xhi = x[a], ylo = y[a], yhi = y[a];
        for (int i = a; i <= b; ++i) {
          xlo = std::min(xlo, x[i]), xhi = std::max(xhi, x[i]);
          ylo = std::min(ylo, y[i]), yhi = std::max(yhi, y[i]);
        }
        bool fxlo = false, fxhi = false, fylo = false, fyhi = false;
        for (int i = a; i <= b; ++i) {
          if (!kept[i]) continue;
          fxlo |= x[i] == xlo, fxhi |= x[i] == xhi, fylo |= y[i] == ylo, fyhi |= y[i] == yhi;
        }
        EXPECT_TRUE(fxlo && fxhi && fylo && fyhi) << "walk " << walk << " piece at " << a;
        a = b + 1;
      }
    }
  }
  // tol 0 and short lines keep everything
  const float x[] = {0, 1, 2, 3}, y[] = {0, 0, 0, 0};
  int keep[4];
  EXPECT_EQ(qqsimp(x, y, 4, 0.0f, keep), 4);
  EXPECT_EQ(qqsimp(x, y, 2, 1.0f, keep), 2);
  EXPECT_EQ(qqsimp(x, y, 4, 1.0f, keep), 2);
}

// Rendered at 300 dpi by a PDF reader, the simplified sine covers the same
// pixels as the full one, give or take one pixel.
TEST_F(CurveSimplifyTest, RenderedAt300DpiWithinOnePixelOfTheFullCurve) {
  if (!onPath("pdftoppm")) GTEST_SKIP() << "pdftoppm missing";
  const int n = 100000;
  std::vector<float> x(n), y(n);
  for (int i = 0; i < n; ++i) {
    x[i] = 0.01f + 99.98f * static_cast<float>(i) / (n - 1);
    y[i] = std::sin(x[i]) + 0.3f * std::sin(7.3f * x[i]);
  }
  std::vector<std::uint8_t> image[2];
  int w[2] = {}, h[2] = {};
  for (int simplified = 0; simplified <= 1; ++simplified) {
    metafl("PDF");
    korini();
    G().protocolOn = 0;
    if (!simplified) crvtol(0);
    graf(0, 100, 0, 20, -1.5f, 1.5f, -1.5f, 0.5f);
    curve(x.data(), y.data(), n);
    endgrf();
    korfin();
    const std::string out = simplified ? "simple" : "full";
    ASSERT_TRUE(shell("pdftoppm -r 300 korvan.pdf " + out + " && mv " + out + "-1.ppm " + out +
                      ".ppm && rm korvan.pdf"));
    ASSERT_TRUE(readPpm(out + ".ppm", w[simplified], h[simplified], image[simplified]));
  }
  ASSERT_EQ(w[0], w[1]);
  ASSERT_EQ(h[0], h[1]);
  const int W = w[0], H = h[0];
  auto dark = [&](int which, int i, int j) {
    const std::uint8_t* p = &image[which][3 * (static_cast<std::size_t>(j) * W + i)];
    return p[0] + p[1] + p[2] < 3 * 128;
  };
  int darkPixels = 0;
  int lost[2] = {0, 0};
  for (int which = 0; which <= 1; ++which) {
    for (int j = 0; j < H; ++j)
      for (int i = 0; i < W; ++i) {
        if (!dark(which, i, j)) continue;
        darkPixels += which;
        bool near = false;
        for (int v = std::max(j - 1, 0); v <= std::min(j + 1, H - 1) && !near; ++v)
          for (int u = std::max(i - 1, 0); u <= std::min(i + 1, W - 1) && !near; ++u)
            near = dark(1 - which, u, v);
        lost[which] += !near;
      }
  }
  EXPECT_GT(darkPixels, 10000);
  // Nothing of the simplified curve lies off the full one. The full curve
  // reaches the device in strokes of 100 points, and each ends in a square
  // cap that may show one pixel beside the line: a few such pixels (9 of
  // some 10^5 here) have no partner.
  EXPECT_EQ(lost[1], 0);
  EXPECT_LE(lost[0], darkPixels / 10000);
}

}  // namespace
}  // namespace korvan::test
