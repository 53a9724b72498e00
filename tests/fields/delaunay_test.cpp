// The Delaunay triangulation checked by its defining property on hard point
// sets, and contours on it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fields/fields_plot.h"

namespace korvan::test {
namespace {

struct Points {
  std::vector<float> x, y;
  void add(double px, double py) {
    x.push_back(static_cast<float>(px));
    y.push_back(static_cast<float>(py));
  }
  int n() const { return static_cast<int>(x.size()); }
};

// Twice the signed area, and the in-circle determinant, in long double: the
// test sets are small integers or floats whose products it holds exactly
// enough to tell inside from on.
long double cross(const Points& p, int a, int b, int c) {
  return (static_cast<long double>(p.x[b]) - p.x[a]) * (static_cast<long double>(p.y[c]) - p.y[a]) -
         (static_cast<long double>(p.y[b]) - p.y[a]) * (static_cast<long double>(p.x[c]) - p.x[a]);
}
long double inCircle(const Points& p, int a, int b, int c, int d) {
  auto row = [&](int i, long double& dx, long double& dy, long double& l) {
    dx = static_cast<long double>(p.x[i]) - p.x[d];
    dy = static_cast<long double>(p.y[i]) - p.y[d];
    l = dx * dx + dy * dy;
  };
  long double ax, ay, al, bx, by, bl, cx, cy, cl;
  row(a, ax, ay, al);
  row(b, bx, by, bl);
  row(c, cx, cy, cl);
  return al * (bx * cy - cx * by) - bl * (ax * cy - cx * ay) + cl * (ax * by - bx * ay);
}

// Area of the convex hull (monotone chain).
long double hullArea(const Points& p) {
  std::vector<std::pair<long double, long double>> v;
  for (int i = 0; i < p.n(); ++i) v.emplace_back(p.x[i], p.y[i]);
  std::sort(v.begin(), v.end());
  v.erase(std::unique(v.begin(), v.end()), v.end());
  if (v.size() < 3) return 0;
  std::vector<std::pair<long double, long double>> h(2 * v.size());
  auto turn = [](auto o, auto a, auto b) {
    return (a.first - o.first) * (b.second - o.second) - (a.second - o.second) * (b.first - o.first);
  };
  std::size_t k = 0;
  for (std::size_t i = 0; i < v.size(); ++i) {
    while (k >= 2 && turn(h[k - 2], h[k - 1], v[i]) <= 0) --k;
    h[k++] = v[i];
  }
  for (std::size_t i = v.size() - 1, t = k + 1; i-- > 0;) {
    while (k >= t && turn(h[k - 2], h[k - 1], v[i]) <= 0) --k;
    h[k++] = v[i];
  }
  long double a = 0;
  for (std::size_t i = 0; i + 1 < k; ++i) a += h[i].first * h[i + 1].second - h[i + 1].first * h[i].second;
  return a / 2;
}

// Everything a Delaunay triangulation of p must be.
void checkTriangulation(const Points& p, const char* what) {
  const int n = p.n();
  const int nmax = 2 * n;
  std::vector<int> i1(nmax), i2(nmax), i3(nmax);
  const int nt = delaun(p.x.data(), p.y.data(), n, i1.data(), i2.data(), i3.data(), nmax);
  std::set<std::pair<float, float>> distinct;
  for (int i = 0; i < n; ++i) distinct.insert({p.x[i], p.y[i]});
  ASSERT_GT(nt, 0) << what;
  std::map<std::pair<int, int>, int> edges;  // directed edge -> count
  std::set<std::pair<float, float>> used;
  long double area = 0;
  for (int t = 0; t < nt; ++t) {
    const int v[3] = {i1[t] - 1, i2[t] - 1, i3[t] - 1};
    for (int k : v) {
      ASSERT_GE(k, 0);
      ASSERT_LT(k, n);
      used.insert({p.x[k], p.y[k]});
    }
    const long double c = cross(p, v[0], v[1], v[2]);
    ASSERT_GT(c, 0) << what << ": triangle " << t << " is counterclockwise and not flat";
    area += c / 2;
    for (int k = 0; k < 3; ++k) ++edges[{v[k], v[(k + 1) % 3]}];
  }
  EXPECT_EQ(used.size(), distinct.size()) << what << ": every distinct point is a vertex";
  int boundary = 0;
  for (auto& [e, c] : edges) {
    EXPECT_EQ(c, 1) << what << ": an edge twice in one direction means overlap";
    if (!edges.count({e.second, e.first})) ++boundary;
  }
  const long double hull = hullArea(p);
  EXPECT_NEAR(static_cast<double>(area), static_cast<double>(hull), 1e-6 * static_cast<double>(hull))
      << what << ": the triangles tile the hull";
  EXPECT_EQ(nt, 2 * static_cast<int>(distinct.size()) - 2 - boundary) << what;
  // Empty circumcircles: no point strictly inside any triangle's circle.
  long double scale = 0;
  for (int i = 0; i < n; ++i) scale = std::max<long double>(scale, std::fabs(p.x[i]) + std::fabs(p.y[i]));
  const long double tol = 1e-15L * scale * scale * scale * scale;
  int bad = 0;
  for (int t = 0; t < nt && bad < 5; ++t)
    for (int d = 0; d < n; ++d)
      if (inCircle(p, i1[t] - 1, i2[t] - 1, i3[t] - 1, d) > tol && ++bad < 5)
        ADD_FAILURE() << what << ": point " << d << " inside the circle of triangle " << t;
}

class DelaunayTest : public FieldPlot {};

TEST_F(DelaunayTest, EmptyCircumcirclesOnHardSets) {
  std::mt19937 rng(29);
  std::uniform_real_distribution<double> u(-1000, 1000);
  Points random, grid, circle, dups, tiny;
  for (int i = 0; i < 700; ++i) random.add(u(rng), u(rng));
  for (int i = 0; i < 25; ++i)
    for (int j = 0; j < 25; ++j) grid.add(i, j);  // every unit square co-circular
  for (int k = 0; k < 96; ++k) {  // integer points on one circle, r^2 = 5^2 * 13^2
    static const int pts[][2] = {{65, 0}, {63, 16}, {60, 25}, {56, 33}, {52, 39}, {39, 52}, {33, 56},
                                 {25, 60}, {16, 63}, {0, 65}};
    const int* q = pts[k % 10];
    const int s = k / 10 % 4;
    const int x = s == 0 ? q[0] : s == 1 ? -q[1] : s == 2 ? -q[0] : q[1];
    const int y = s == 0 ? q[1] : s == 1 ? q[0] : s == 2 ? -q[1] : -q[0];
    circle.add(x, y);
  }
  circle.add(0, 0);
  for (int i = 0; i < 200; ++i) {
    const double x = std::floor(u(rng) / 100), y = std::floor(u(rng) / 100);
    for (int r = 0; r < 3; ++r) dups.add(x, y);  // each point three times, and grid-like
  }
  tiny.add(1e-30, 1e-30);
  tiny.add(1e-30 + 1e-37, 1e-30);
  tiny.add(1e-30, 1e-30 + 1e-37);
  tiny.add(1e-30 + 1e-37, 1e-30 + 1e-37);
  tiny.add(1e-30 + 5e-38, 1e-30 + 5e-38);
  metafl("GKSL");
  checkTriangulation(random, "random");
  checkTriangulation(grid, "grid");
  checkTriangulation(circle, "co-circular");
  checkTriangulation(dups, "duplicates");
  checkTriangulation(tiny, "tiny");
}

TEST_F(DelaunayTest, DegenerateSetsAndShortArraysWarnAndWriteNothing) {
  Points line, same;
  for (int i = 0; i < 10; ++i) line.add(i, 2 * i);
  for (int i = 0; i < 10; ++i) same.add(3, 4);
  std::vector<int> a(40, -7), b(40, -7), c(40, -7);
  EXPECT_EQ(delaun(line.x.data(), line.y.data(), 10, a.data(), b.data(), c.data(), 40), 0);
  EXPECT_EQ(delaun(same.x.data(), same.y.data(), 10, a.data(), b.data(), c.data(), 40), 0);
  std::string said = output([&] {
    EXPECT_EQ(delaun(line.x.data(), line.y.data(), 2, a.data(), b.data(), c.data(), 40), 0);
  });
  EXPECT_NE(said.find("Warning  30"), std::string::npos) << said;
  Points sq;
  sq.add(0, 0);
  sq.add(1, 0);
  sq.add(1, 1);
  sq.add(0, 1);
  sq.add(0.5, 0.4);
  said = output([&] { EXPECT_EQ(delaun(sq.x.data(), sq.y.data(), 5, a.data(), b.data(), c.data(), 3), 0); });
  EXPECT_NE(said.find("Warning   2"), std::string::npos) << said;
  for (int k = 0; k < 40; ++k) EXPECT_EQ(a[k] + b[k] + c[k], -21) << "nothing written";
  EXPECT_EQ(delaun(sq.x.data(), sq.y.data(), 5, a.data(), b.data(), c.data(), 4), 4);
  sq.x[2] = std::numeric_limits<float>::quiet_NaN();  // a point without a place drops out
  EXPECT_EQ(delaun(sq.x.data(), sq.y.data(), 5, a.data(), b.data(), c.data(), 4), 3);
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(a[k] != 3 && b[k] != 3 && c[k] != 3);
}

TEST_F(DelaunayTest, ContoursOnStationsAreClosedCircles) {
  // Stations on rings around the centre; z = x^2 + y^2 is linear enough on
  // small triangles that the level 1 comes out a circle of radius 1.
  Points p;
  std::vector<float> z;
  for (int r = 1; r <= 30; ++r)
    for (int k = 0; k < 6 * r; ++k) {
      const double a = 2 * M_PI * k / (6 * r) + 0.1 * r, rad = 2.0 * r / 30;
      p.add(rad * std::cos(a), rad * std::sin(a));
    }
  p.add(0, 0);
  for (int i = 0; i < p.n(); ++i) z.push_back(p.x[i] * p.x[i] + p.y[i] * p.y[i]);
  const int nmax = 2 * p.n();
  std::vector<int> a(nmax), b(nmax), c(nmax);
  const int nt = delaun(p.x.data(), p.y.data(), p.n(), a.data(), b.data(), c.data(), nmax);
  ASSERT_GT(nt, 0);
  axes();
  isotin(p.x.data(), p.y.data(), z.data(), p.n(), a.data(), b.data(), c.data(), nt, 1.0f);
  const auto lines = polylines(close());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NEAR(lines[0].front().x, lines[0].back().x, 1e-3);
  EXPECT_NEAR(lines[0].front().y, lines[0].back().y, 1e-3);
  for (const Pt& q : lines[0]) EXPECT_NEAR(std::hypot(q.x, q.y), 1.0, 0.02);
}

TEST_F(DelaunayTest, ContoursOnTrianglesRefuseBadIndicesAndSkipNaN) {
  const float x[4] = {0, 1, 1, 0}, y[4] = {0, 0, 1, 1};
  float z[4] = {0, 1, 2, 1};
  const int a[2] = {1, 1}, b[2] = {2, 3}, c[2] = {3, 4}, bad[2] = {3, 5};
  axes();
  std::string said = output([&] { isotin(x, y, z, 4, a, b, bad, 2, 0.5f); });
  EXPECT_NE(said.find("Warning   2"), std::string::npos) << "vertex 5 of 4: " << said;
  said = output([&] { isotin(x, y, z, 2, a, b, c, 2, 0.5f); });
  EXPECT_NE(said.find("Warning  30"), std::string::npos) << said;
  said = output([&] { isotin(x, y, z, 4, a, b, c, 0, 0.5f); });
  EXPECT_NE(said.find("Warning   2"), std::string::npos) << said;
  z[2] = std::numeric_limits<float>::quiet_NaN();  // both triangles touch it
  const int before = qqgglb().vectorCount;
  said = output([&] { isotin(x, y, z, 4, a, b, c, 2, 0.5f); });
  EXPECT_EQ(said.find("Warning"), std::string::npos) << said;
  qqstrk(qqgglb());
  EXPECT_EQ(qqgglb().vectorCount, before) << "holes draw nothing";
  close();
}

}  // namespace
}  // namespace korvan::test
