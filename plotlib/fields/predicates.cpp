// Robust geometric predicates. The fast path is the plain determinant with a
// bound on its rounding error; only when the result lies inside that bound is
// the determinant evaluated exactly, as a sum of non-overlapping doubles (an
// expansion), whose sign is the sign of its largest component.
#include "fields/predicates.h"

#include <cmath>
#include <vector>

namespace korvan {

namespace {

constexpr double kEps = 1.1102230246251565e-16;  // 2^-53
constexpr double kCcwBound = (3.0 + 16.0 * kEps) * kEps;
constexpr double kIccBound = (10.0 + 96.0 * kEps) * kEps;

using Expansion = std::vector<double>;

// a + b = x + y exactly, x the rounded sum.
inline void twoSum(double a, double b, double& x, double& y) {
  x = a + b;
  const double bv = x - a, av = x - bv;
  y = (a - av) + (b - bv);
}

inline void twoProduct(double a, double b, double& x, double& y) {
  x = a * b;
  y = std::fma(a, b, -x);
}

// The sum of two expansions (components in increasing magnitude), zeros
// dropped.
Expansion add(const Expansion& e, const Expansion& f) {
  Expansion h;
  h.reserve(e.size() + f.size());
  std::size_t i = 0, j = 0;
  // Merge by magnitude, then carry the sum up with two-sums.
  Expansion m;
  m.reserve(e.size() + f.size());
  while (i < e.size() && j < f.size()) {
    if (std::fabs(e[i]) < std::fabs(f[j]))
      m.push_back(e[i++]);
    else
      m.push_back(f[j++]);
  }
  while (i < e.size()) m.push_back(e[i++]);
  while (j < f.size()) m.push_back(f[j++]);
  if (m.empty()) return h;
  double q = m[0];
  for (std::size_t k = 1; k < m.size(); ++k) {
    double s, err;
    twoSum(q, m[k], s, err);
    if (err != 0.0) h.push_back(err);
    q = s;
  }
  if (q != 0.0 || h.empty()) h.push_back(q);
  return h;
}

Expansion negate(Expansion e) {
  for (double& v : e) v = -v;
  return e;
}

Expansion scale(const Expansion& e, double b) {
  Expansion h;
  for (double v : e) {
    double p, err;
    twoProduct(v, b, p, err);
    h = add(h, Expansion{err, p});
  }
  return h;
}

Expansion mul(const Expansion& e, const Expansion& f) {
  Expansion h;
  for (double v : f) h = add(h, scale(e, v));
  return h;
}

Expansion diff(double a, double b) {
  double x, y;
  twoSum(a, -b, x, y);
  return y != 0.0 ? Expansion{y, x} : Expansion{x};
}

double sign(const Expansion& e) {
  for (std::size_t k = e.size(); k-- > 0;)
    if (e[k] != 0.0) return e[k];
  return 0.0;
}

}  // namespace

double orient2d(double ax, double ay, double bx, double by, double cx, double cy) {
  const double left = (ax - cx) * (by - cy), right = (ay - cy) * (bx - cx);
  const double det = left - right;
  const double bound = kCcwBound * (std::fabs(left) + std::fabs(right));
  if (det > bound || -det > bound) return det;
  const Expansion e = add(mul(diff(ax, cx), diff(by, cy)), negate(mul(diff(ay, cy), diff(bx, cx))));
  return sign(e);
}

double incircle(double ax, double ay, double bx, double by, double cx, double cy, double dx,
                double dy) {
  const double adx = ax - dx, ady = ay - dy, bdx = bx - dx, bdy = by - dy, cdx = cx - dx,
               cdy = cy - dy;
  const double bdxcdy = bdx * cdy, cdxbdy = cdx * bdy, alift = adx * adx + ady * ady;
  const double cdxady = cdx * ady, adxcdy = adx * cdy, blift = bdx * bdx + bdy * bdy;
  const double adxbdy = adx * bdy, bdxady = bdx * ady, clift = cdx * cdx + cdy * cdy;
  const double det = alift * (bdxcdy - cdxbdy) + blift * (cdxady - adxcdy) + clift * (adxbdy - bdxady);
  const double permanent = (std::fabs(bdxcdy) + std::fabs(cdxbdy)) * alift +
                           (std::fabs(cdxady) + std::fabs(adxcdy)) * blift +
                           (std::fabs(adxbdy) + std::fabs(bdxady)) * clift;
  const double bound = kIccBound * permanent;
  if (det > bound || -det > bound) return det;
  const Expansion ex = diff(ax, dx), ey = diff(ay, dy), fx = diff(bx, dx), fy = diff(by, dy),
                  gx = diff(cx, dx), gy = diff(cy, dy);
  const Expansion la = add(mul(ex, ex), mul(ey, ey));
  const Expansion lb = add(mul(fx, fx), mul(fy, fy));
  const Expansion lc = add(mul(gx, gx), mul(gy, gy));
  const Expansion bc = add(mul(fx, gy), negate(mul(gx, fy)));
  const Expansion ca = add(mul(gx, ey), negate(mul(ex, gy)));
  const Expansion ab = add(mul(ex, fy), negate(mul(fx, ey)));
  const Expansion e = add(add(mul(la, bc), mul(lb, ca)), mul(lc, ab));
  return sign(e);
}

}  // namespace korvan
