// Contour lines and filled bands on grids, read back from the text metafile
// and from PPM pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "fields/fields.h"
#include "fields/fields_plot.h"

namespace korvan::test {
namespace {

struct Grid {
  std::vector<float> x, y, z;
  int nx, ny;
  template <class F>
  Grid(int nx_, int ny_, float lo, float hi, F f) : nx(nx_), ny(ny_) {
    for (int i = 0; i < nx; ++i) x.push_back(lo + (hi - lo) * i / (nx - 1));
    for (int j = 0; j < ny; ++j) y.push_back(lo + (hi - lo) * j / (ny - 1));
    for (int j = 0; j < ny; ++j)
      for (int i = 0; i < nx; ++i) z.push_back(f(x[i], y[j]));
  }
};

class ContourTest : public FieldPlot {};

TEST_F(ContourTest, ParaboloidGivesOneClosedCircleOfTheRightRadiusPerLevel) {
  const Grid g(81, 81, -2, 2, [](float x, float y) { return x * x + y * y; });
  axes();
  for (float r : {0.5f, 1.0f, 1.5f}) isolin(g.x.data(), g.nx, g.y.data(), g.ny, g.z.data(), r * r);
  const auto lines = polylines(close());
  ASSERT_EQ(lines.size(), 3u);
  const double radii[3] = {0.5, 1.0, 1.5};
  for (int k = 0; k < 3; ++k) {
    const auto& l = lines[k];
    ASSERT_GT(l.size(), 20u);
    EXPECT_NEAR(l.front().x, l.back().x, 1e-3) << "closed";
    EXPECT_NEAR(l.front().y, l.back().y, 1e-3);
    double turn = 0;
    for (std::size_t i = 0; i < l.size(); ++i) {
      EXPECT_NEAR(std::hypot(l[i].x, l[i].y), radii[k], 0.01);
      if (i > 0) {
        double d = std::atan2(l[i].y, l[i].x) - std::atan2(l[i - 1].y, l[i - 1].x);
        turn += std::remainder(d, 2 * M_PI);
      }
    }
    EXPECT_NEAR(std::fabs(turn), 2 * M_PI, 1e-3) << "once around";
  }
}

TEST_F(ContourTest, SaddleCellsKeepTheBranchesOfXyApart) {
  // The centre cell of this grid is a saddle (corners +-0.25): its lines
  // must follow the hyperbola's branches, never join them.
  const Grid g(4, 4, -1.5f, 1.5f, [](float x, float y) { return x * y; });
  for (float level : {0.1f, -0.1f, 1.0f, -1.0f}) {
    axes();
    isolin(g.x.data(), g.nx, g.y.data(), g.ny, g.z.data(), level);
    const auto lines = polylines(close());
    std::remove("korvan.met");  // the next plot takes the name again
    ASSERT_EQ(lines.size(), 2u) << level;
    for (const auto& l : lines) {
      const double sx = l[l.size() / 2].x;
      for (const Pt& p : l) {
        EXPECT_GT(p.x * p.y * level, -1e-6) << "the branch keeps to its quadrants";
        EXPECT_GE(p.x * sx, -1e-6) << "and to one side of the saddle";
      }
    }
    qqsglb(1);
  }
}

TEST_F(ContourTest, LabelsSitInAGapOfTheirLine) {
  const Grid g(81, 81, -2, 2, [](float x, float y) { return x * x + y * y; });
  auto onCircle = [](const std::vector<Line>& segs, double* along, int* off) {
    *along = 0;
    *off = 0;
    for (const Line& s : segs) {
      const Pt a = user(s.x1, s.y1), b = user(s.x2, s.y2);
      if (std::fabs(a.x) > 1.98 || std::fabs(a.y) > 1.98) continue;
      if (std::fabs(std::hypot(a.x, a.y) - 1.5) < 0.01 && std::fabs(std::hypot(b.x, b.y) - 1.5) < 0.01)
        *along += std::hypot(a.x - b.x, a.y - b.y);
      else
        ++*off;
    }
  };
  double plain, labelled;
  int offPlain, offLabelled;
  axes();
  isolin(g.x.data(), g.nx, g.y.data(), g.ny, g.z.data(), 2.25f);
  onCircle(close(), &plain, &offPlain);
  std::remove("korvan.met");
  qqsglb(1);
  axes();
  height(40);
  isolab(1);
  isolin(g.x.data(), g.nx, g.y.data(), g.ny, g.z.data(), 2.25f);
  const double width = nlmess("2.25") / fx_;  // in user units
  onCircle(close(), &labelled, &offLabelled);
  EXPECT_NEAR(plain, 2 * M_PI * 1.5, 0.01);
  EXPECT_EQ(offPlain, 0);
  EXPECT_LT(labelled, plain - width) << "the line is broken under its label";
  EXPECT_GT(labelled, plain - 3 * width);
  EXPECT_GT(offLabelled, 4) << "the label's strokes";
}

TEST_F(ContourTest, NaNsCutHolesAndFlatOrMissedLevelsDrawNothing) {
  Grid g(41, 41, -2, 2, [](float x, float y) { return x * x + y * y; });
  g.z[20 + 20 * 41] = std::numeric_limits<float>::quiet_NaN();  // the centre
  g.z[30 + 20 * 41] = std::numeric_limits<float>::quiet_NaN();  // on the circle r = 1
  const Grid flat(5, 5, -2, 2, [](float, float) { return 3.0f; });
  axes();
  const std::string said = output([&] {
    isolin(g.x.data(), g.nx, g.y.data(), g.ny, g.z.data(), 1.0f);
    isolin(g.x.data(), g.nx, g.y.data(), g.ny, g.z.data(), 100.0f);
    isolin(flat.x.data(), 5, flat.y.data(), 5, flat.z.data(), 3.0f);
    isolin(flat.x.data(), 5, flat.y.data(), 5, flat.z.data(), 2.0f);
  });
  EXPECT_EQ(said.find("Warning"), std::string::npos) << said;
  const auto lines = polylines(close());
  ASSERT_EQ(lines.size(), 1u) << "the circle opened at its hole";
  const auto& l = lines[0];
  EXPECT_GT(std::hypot(l.front().x - l.back().x, l.front().y - l.back().y), 0.1);
  for (const Pt& p : l) EXPECT_NEAR(std::hypot(p.x, p.y), 1.0, 0.02);
}

TEST_F(ContourTest, BadGridsWarnAndDrawNothing) {
  const Grid g(5, 5, -2, 2, [](float x, float y) { return x + y; });
  std::vector<float> bent = g.x;
  bent[3] = bent[1];
  const float lev[2] = {0, 1}, down[2] = {1, 0};
  struct Case {
    const char* what;
    std::function<void()> call;
  };
  const Case cases[] = {
      {"nx < 2", [&] { isolin(g.x.data(), 1, g.y.data(), 5, g.z.data(), 0); }},
      {"ny < 2", [&] { isobnd(g.x.data(), 5, g.y.data(), 0, g.z.data(), lev, 2); }},
      {"x turns", [&] { isolin(bent.data(), 5, g.y.data(), 5, g.z.data(), 0); }},
      {"y turns", [&] { isobnd(g.x.data(), 5, bent.data(), 5, g.z.data(), lev, 2); }},
      {"one level", [&] { isobnd(g.x.data(), 5, g.y.data(), 5, g.z.data(), lev, 1); }},
      {"levels down", [&] { isobnd(g.x.data(), 5, g.y.data(), 5, g.z.data(), down, 2); }},
      {"no z", [&] { isolin(g.x.data(), 5, g.y.data(), 5, nullptr, 0); }},
  };
  axes();
  for (const Case& c : cases) {
    const int before = qqgglb().vectorCount;
    const std::string said = output(c.call);
    EXPECT_NE(said.find("Warning   2"), std::string::npos) << c.what << ": " << said;
    EXPECT_EQ(qqgglb().vectorCount, before) << c.what;
  }
  endgrf();
  const std::string said = output([&] { isolin(g.x.data(), 5, g.y.data(), 5, g.z.data(), 0); });
  EXPECT_NE(said.find("Warning   3"), std::string::npos) << "no axis system: " << said;
  close();
}

class BandTest : public FieldPlot {
 protected:
  // The colours inside the axis frame (2 units in from it), counted.
  std::map<std::uint32_t, long> inside(const Picture& p) {
    std::map<std::uint32_t, long> n;
    for (int y = p.py(kBottom - kSide + 12); y <= p.py(kBottom - 12); ++y)
      for (int x = p.px(kLeft + 12); x <= p.px(kLeft + kSide - 12); ++x) ++n[p.at(x, y)];
    return n;
  }
};

TEST_F(BandTest, BandsCoverTheRectangleOnceWithTheirShareOfIt) {
  // z = x + y: four levels steps cut the square into bands whose areas are
  // known; a saddle and a ring-shaped band come from the second field.
  const Grid lin(9, 9, -2, 2, [](float x, float y) { return x + y; });
  const float levs[5] = {-4, -2, 0, 2, 4};
  axes("PPM");
  isobnd(lin.x.data(), lin.nx, lin.y.data(), lin.ny, lin.z.data(), levs, 5);
  korfin();
  Picture p;
  ASSERT_TRUE(p.read("korvan.ppm"));
  const std::uint32_t page = p.at(1, 1);
  const auto n = inside(p);
  long total = 0;
  for (auto& [c, k] : n) total += k;
  EXPECT_EQ(n.count(page), 0u) << "no gap";
  ASSERT_EQ(n.size(), 4u);
  // Triangles of 1/8 at the corners, 3/8 in the middle bands.
  std::vector<double> share;
  for (auto& [c, k] : n) share.push_back(static_cast<double>(k) / total);
  std::sort(share.begin(), share.end());
  const double want[4] = {0.125, 0.125, 0.375, 0.375};
  for (int k = 0; k < 4; ++k) EXPECT_NEAR(share[k], want[k], 0.01);
}

TEST_F(BandTest, SaddlesRingsAndHolesLeaveNoGapAndNoStrayColour) {
  Grid f(23, 23, -2, 2, [](float x, float y) {
    return std::sin(2.1f * x) * std::cos(1.7f * y) + 0.3f * x * y;
  });
  f.z[11 + 11 * 23] = std::numeric_limits<float>::quiet_NaN();
  const float levs[6] = {-2.5f, -0.9f, -0.2f, 0.0f, 0.7f, 2.5f};
  axes("PPM");
  isobnd(f.x.data(), f.nx, f.y.data(), f.ny, f.z.data(), levs, 6);
  korfin();
  Picture p;
  ASSERT_TRUE(p.read("korvan.ppm"));
  const std::uint32_t page = p.at(1, 1);
  // The hole: four cells around the centre stay the page colour, nothing else.
  const double cell = (kSide - 1) / 22.0;
  const double cx = kLeft + (kSide - 1) / 2.0, cy = kBottom - (kSide - 1) / 2.0;
  long holeMissing = 0, gaps = 0;
  for (int y = p.py(kBottom - kSide + 12); y <= p.py(kBottom - 12); ++y)
    for (int x = p.px(kLeft + 12); x <= p.px(kLeft + kSide - 12); ++x) {
      const double X = (x + 0.5) * 2969.0 / p.w, Y = (y + 0.5) * 2099.0 / p.h;
      const bool inHole = std::fabs(X - cx) < cell - 3 && std::fabs(Y - cy) < cell - 3;
      const bool nearHole = std::fabs(X - cx) < cell + 3 && std::fabs(Y - cy) < cell + 3;
      if (inHole && p.at(x, y) != page) ++holeMissing;
      if (!nearHole && p.at(x, y) == page) ++gaps;
    }
  EXPECT_EQ(holeMissing, 0);
  EXPECT_EQ(gaps, 0);
  EXPECT_LE(inside(p).size(), 6u) << "five bands and the hole";
}

TEST_F(BandTest, LevelsOutsideTheDataFillNothing) {
  const Grid lin(9, 9, -2, 2, [](float x, float y) { return x + y; });
  const float levs[3] = {10, 11, 12};
  axes("PPM");
  isobnd(lin.x.data(), lin.nx, lin.y.data(), lin.ny, lin.z.data(), levs, 3);
  korfin();
  Picture p;
  ASSERT_TRUE(p.read("korvan.ppm"));
  const auto n = inside(p);
  EXPECT_EQ(n.size(), 1u);
  EXPECT_EQ(n.begin()->first, p.at(1, 1));
}

// The polygons of an SVG file as point lists in its own units.
std::vector<std::vector<Pt>> svgPolygons(const std::string& svg) {
  std::vector<std::vector<Pt>> out;
  for (std::size_t at = svg.find("<polygon"); at != std::string::npos;
       at = svg.find("<polygon", at + 1)) {
    const std::size_t from = svg.find("points=\"", at) + 8, to = svg.find('"', from);
    std::string pts = svg.substr(from, to - from);
    std::replace(pts.begin(), pts.end(), ',', ' ');
    std::istringstream in(pts);
    out.emplace_back();
    for (Pt p; in >> p.x >> p.y;) out.back().push_back(p);
  }
  return out;
}

// Twice the signed area (x right, y down: negative is counterclockwise as
// the page is seen).
double shoelace(const std::vector<Pt>& p) {
  double a = 0;
  for (std::size_t k = 0; k < p.size(); ++k) {
    const Pt& q = p[(k + 1) % p.size()];
    a += p[k].x * q.y - q.x * p[k].y;
  }
  return a;
}

TEST_F(BandTest, EachRegionIsOnePolygonWithItsHoleTurnedTheOtherWay) {
  // A disk, an annulus and the square around it: three regions, the last
  // two with a hole each.
  const Grid par(81, 81, -2, 2, [](float x, float y) { return x * x + y * y; });
  const float levs[4] = {0, 0.25f, 1, 8};
  axes("SVG");
  isobnd(par.x.data(), par.nx, par.y.data(), par.ny, par.z.data(), levs, 4);
  korfin();
  const auto polys = svgPolygons(slurp("korvan.svg"));
  ASSERT_EQ(polys.size(), 3u);
  double area[3];
  for (int k = 0; k < 3; ++k) {
    area[k] = shoelace(polys[k]);
    EXPECT_LT(area[k], 0) << k << ": the outer ring counterclockwise";
  }
  // The holes count against their outer rings: the annulus is three disks,
  // the square less the unit disk (16 - pi) / (pi / 4) of them.
  EXPECT_NEAR(area[1] / area[0], 3.0, 0.06);
  EXPECT_NEAR(area[2] / area[0], (16 - M_PI) / (M_PI / 4), 0.3);
}

TEST_F(BandTest, AFineFieldGoesToVectorFilesAsFewPolygonsThatEveryReaderFillsLikeTheRaster) {
  if (!shell("command -v gs && command -v pdftoppm && command -v rsvg-convert && command -v convert"))
    GTEST_SKIP() << "a reader is missing";
  Grid f(200, 200, -2, 2, [](float x, float y) {
    return std::sin(2.1f * x) * std::cos(1.7f * y) + 0.3f * x * y + 0.4f * std::sin(5 * x + 3 * y) +
           0.3f * std::sin(9 * x - 6 * y);
  });
  // A round hole and a notch in the left border.
  for (int j = 0; j < f.ny; ++j)
    for (int i = 0; i < f.nx; ++i)
      if (std::hypot(f.x[i] - 0.6f, f.y[j] + 0.7f) < 0.35f || (f.x[i] < -1.7f && std::fabs(f.y[j]) < 0.3f))
        f.z[i + j * f.nx] = std::numeric_limits<float>::quiet_NaN();
  std::vector<float> levs;
  for (int k = 0; k <= 12; ++k) levs.push_back(-2.2f + 4.4f * k / 12);
  for (const char* format : {"PPM", "SVG", "PDF", "PS"}) {
    qqsglb(1);
    axes(format);
    isobnd(f.x.data(), f.nx, f.y.data(), f.ny, f.z.data(), levs.data(), 13);
    korfin();
  }
  // Few polygons: at most one per ring, and a band has no more rings than
  // the lines of its two levels, with the border, allow.
  int lines = 0;
  for (float level : levs)
    qqcntr(f.x.data(), f.nx, f.y.data(), f.ny, f.z.data(), level,
           [](void* n, const float*, const float*, int) { ++*static_cast<int*>(n); }, &lines);
  const auto polys = svgPolygons(slurp("korvan.svg"));
  EXPECT_GE(polys.size(), 12u);
  EXPECT_LE(polys.size(), static_cast<std::size_t>(2 * lines + 12));
  std::size_t longest = 0;
  for (const auto& p : polys) longest = std::max(longest, p.size());
  EXPECT_GT(longest, 1400u) << "a ring long enough to be cut for PostScript";
  // PostScript gets it in pieces a level 1 interpreter takes.
  {
    std::istringstream ps(slurp("korvan.ps"));
    int points = 0, most = 0, fills = 0;
    for (std::string t; ps >> t;) {
      if (t == "u") points = 1;
      if (t == "d") ++points;
      if (t == "eofill") {
        most = std::max(most, points);
        ++fills;
      }
    }
    EXPECT_LE(most, 1401);
    EXPECT_GT(fills, static_cast<int>(polys.size()));
  }
  // Every reader shows what the raster shows: no gap, nothing in the holes,
  // the same colours but at the lines, where readers smooth the edges. The
  // pictures are matched by the box of their coloured pixels (the field
  // fills the axis system), as PostScript puts the page in its own place.
  Picture raster;
  ASSERT_TRUE(raster.read("korvan.ppm"));
  ASSERT_TRUE(shell("rsvg-convert -b white -f png -o rsvg.png korvan.svg"));
  ASSERT_TRUE(shell("pdftoppm -r 100 -singlefile -png korvan.pdf poppler"));
  ASSERT_TRUE(shell("gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=png16m -r100 -sOutputFile=gs.png korvan.pdf"));
  ASSERT_TRUE(shell("gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=png16m -r100 -sOutputFile=gsps.png korvan.ps"));
  auto coloured = [](std::uint32_t c) {
    const int r = c >> 16 & 255, g = c >> 8 & 255, b = c & 255;
    return std::max({r, g, b}) - std::min({r, g, b}) > 60;
  };
  struct Box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
  };
  auto box = [&](const Picture& p) {
    Box b;
    for (int y = 0; y < p.h; ++y)
      for (int x = 0; x < p.w; ++x)
        if (coloured(p.at(x, y))) {
          b.x0 = std::min(b.x0, x);
          b.x1 = std::max(b.x1, x);
          b.y0 = std::min(b.y0, y);
          b.y1 = std::max(b.y1, y);
        }
    return b;
  };
  const Box rb = box(raster);
  ASSERT_GT(rb.x1 - rb.x0, 100);
  const std::uint32_t page = raster.at(1, 1);
  auto near = [&](int x, int y, bool hole) {
    for (int dy = -3; dy <= 3; ++dy)
      for (int dx = -3; dx <= 3; ++dx)
        if ((raster.at(x + dx, y + dy) == page) == hole) return true;
    return false;
  };
  // Away from the lines: the raster's colour all around.
  auto flat = [&](int x, int y) {
    for (int dy = -2; dy <= 2; ++dy)
      for (int dx = -2; dx <= 2; ++dx)
        if (raster.at(x + dx, y + dy) != raster.at(x, y)) return false;
    return true;
  };
  for (const char* name : {"rsvg", "poppler", "gs", "gsps"}) {
    const std::string n = name;
    const std::string turn = n == "gsps" ? " -rotate 90" : "";
    ASSERT_TRUE(shell("convert " + n + ".png -flatten" + turn + " " + n + ".ppm")) << name;
    Picture p;
    ASSERT_TRUE(p.read(n + ".ppm")) << name;
    const Box b = box(p);
    ASSERT_GT(b.x1 - b.x0, 100) << name;
    long gaps = 0, filledHoles = 0, other = 0, all = 0;
    for (int y = rb.y0 + 3; y <= rb.y1 - 3; ++y)
      for (int x = rb.x0 + 3; x <= rb.x1 - 3; ++x) {
        const int X = b.x0 + static_cast<int>(std::lround(static_cast<double>(x - rb.x0) * (b.x1 - b.x0) / (rb.x1 - rb.x0)));
        const int Y = b.y0 + static_cast<int>(std::lround(static_cast<double>(y - rb.y0) * (b.y1 - b.y0) / (rb.y1 - rb.y0)));
        const std::uint32_t a = raster.at(x, y), c = p.at(X, Y);
        const bool white = (c >> 16 & 255) > 250 && (c >> 8 & 255) > 250 && (c & 255) > 250;
        if (a != page && white && !near(x, y, true)) ++gaps;
        if (a == page && !white && !near(x, y, false)) ++filledHoles;
        int d = 0;
        for (int s = 0; s < 24; s += 8) d += std::abs(static_cast<int>(a >> s & 255) - static_cast<int>(c >> s & 255));
        if (a != page && d > 90 && flat(x, y)) ++other;
        ++all;
      }
    EXPECT_EQ(gaps, 0) << name;
    EXPECT_EQ(filledHoles, 0) << name;
    EXPECT_LT(other, all / 200) << name;
  }
}

TEST_F(BandTest, RingsHoldAtPinchedHolesCornersOnLevelsAndTurnedAxes) {
  // Whatever the rings look like, the polygons of all bands together cover
  // exactly the cells with data, each polygon counterclockwise: holes that
  // touch each other at a corner, corners exactly on a level, and an x axis
  // that runs backwards must not change that.
  const int n = 30;
  auto areaOf = [&](const std::vector<float>& x, const std::vector<float>& z, const float* levs,
                    int nlev) {
    std::vector<float> y(n);
    for (int j = 0; j < n; ++j) y[j] = -2 + 4.0f * j / (n - 1);
    qqsglb(1);
    axes("SVG");
    isobnd(x.data(), n, y.data(), n, z.data(), levs, nlev);
    korfin();
    double sum = 0;
    for (const auto& p : svgPolygons(slurp("korvan.svg"))) {
      const double a = shoelace(p);
      EXPECT_LT(a, 0);
      sum -= a / 2;
    }
    std::remove("korvan.svg");
    return sum;
  };
  std::vector<float> up(n), down(n);
  for (int i = 0; i < n; ++i) up[i] = down[n - 1 - i] = -2 + 4.0f * i / (n - 1);
  const std::vector<float> flat(n * n, 0.0f);
  const float all[2] = {-100, 100};
  const double cell = areaOf(up, flat, all, 2) / ((n - 1) * (n - 1));
  ASSERT_GT(cell, 1);
  for (bool backwards : {false, true}) {
    std::vector<float> z(n * n);
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < n; ++i) {
        const float x = (backwards ? down : up)[i], y = -2 + 4.0f * j / (n - 1);
        z[i + j * n] = std::round(3 * std::sin(1.7f * x) * std::cos(1.3f * y));
      }
    // Holes in pairs that meet at one corner only, and one on the border.
    for (int k : {5 + 5 * n, 7 + 7 * n, 12 + 20 * n, 14 + 22 * n, 0 + 15 * n, 22 + 9 * n, 24 + 11 * n})
      z[k] = std::numeric_limits<float>::quiet_NaN();
    int cells = 0;
    for (int j = 0; j + 1 < n; ++j)
      for (int i = 0; i + 1 < n; ++i)
        cells += !std::isnan(z[i + j * n] + z[i + 1 + j * n] + z[i + (j + 1) * n] + z[i + 1 + (j + 1) * n]);
    const float onCorners[7] = {-3, -2, -1, 0, 1, 2, 3};
    const float between[5] = {-3.5f, -1.5f, 0.5f, 1.5f, 3.5f};
    EXPECT_NEAR(areaOf(backwards ? down : up, z, onCorners, 7) / cell, cells, 0.5) << backwards;
    EXPECT_NEAR(areaOf(backwards ? down : up, z, between, 5) / cell, cells, 0.5) << backwards;
  }
}

}  // namespace
}  // namespace korvan::test
