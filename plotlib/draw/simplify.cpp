// Curve simplification: extremes marked first, then one pass that carries a
// wedge of directions from the last kept point. Every point passed over
// narrows the wedge to the directions whose line stays within the tolerance
// of it; the next kept point is the last one whose direction still lies in
// the wedge. No point is visited twice, and the test is exact: no dropped
// point is farther than the tolerance from the drawn segment.
#include "draw/simplify.h"

#include <cmath>
#include <new>

namespace korvan {

namespace {

// The turning points of v over [a, b], and its highest and lowest point,
// into must. A turn counts when v goes back by more than tol from the
// highest (lowest) value since the last turn, so that noise smaller than
// the tolerance makes no extremes.
void markExtremes(const float* v, int a, int b, float tol, unsigned char* must) {
  int hi = a, lo = a;    // since the last turn
  int top = a, low = a;  // of the whole piece
  int trend = 0;         // +1 rising, -1 falling, 0 not yet known
  for (int i = a + 1; i <= b; ++i) {
    if (v[i] > v[top]) top = i;
    if (v[i] < v[low]) low = i;
    if (v[i] > v[hi]) hi = i;
    if (v[i] < v[lo]) lo = i;
    if (trend >= 0 && v[i] < v[hi] - tol) {
      must[hi] = 1;  // a peak
      trend = -1;
      lo = i;
    } else if (trend <= 0 && v[i] > v[lo] + tol) {
      must[lo] = 1;  // a trough
      trend = 1;
      hi = i;
    }
  }
  // the last extreme before the end is one too
  if (trend > 0) must[hi] = 1;
  if (trend < 0) must[lo] = 1;
  must[top] = must[low] = 1;
}

// u x v: positive when v turns counterclockwise from u (y up).
inline double cross(double ux, double uy, double vx, double vy) { return ux * vy - uy * vx; }

// One finite piece [a, b], a already kept: appends the points to keep after
// it, b the last of them.
void sleeve(const float* x, const float* y, int a, int b, double tol, const unsigned char* must,
            int* keep, int& m) {
  const double tol2 = tol * tol;
  int anchor = a;
  bool wedge = false;           // a constraint was met since the anchor
  double lx = 0, ly = 0;        // the wedge's counterclockwise edge
  double rx = 0, ry = 0;        // and its clockwise edge
  double reach2 = 0.0;          // the farthest point passed, squared
  for (int j = a + 1; j <= b; ++j) {
    double dx = static_cast<double>(x[j]) - x[anchor];
    double dy = static_cast<double>(y[j]) - y[anchor];
    double r2 = dx * dx + dy * dy;
    // j can end the segment from the anchor when every point passed lies
    // within tol of it: its direction in the wedge, and none of them beyond
    // it.
    const bool ends = !wedge || (cross(rx, ry, dx, dy) >= 0.0 && cross(dx, dy, lx, ly) >= 0.0);
    if (!(ends && r2 >= reach2)) {
      // The point before j is kept, and j is seen again from there, with
      // nothing in between.
      anchor = j - 1;
      keep[m++] = anchor;
      wedge = false;
      reach2 = 0.0;
      dx = static_cast<double>(x[j]) - x[anchor];
      dy = static_cast<double>(y[j]) - y[anchor];
      r2 = dx * dx + dy * dy;
    }
    if (must[j] || j == b) {
      keep[m++] = j;
      anchor = j;
      wedge = false;
      reach2 = 0.0;
      continue;
    }
    // j is passed over for now: the line must stay within tol of it.
    if (r2 > reach2) reach2 = r2;
    if (r2 <= tol2) continue;  // any line through the anchor does
    const double c = std::sqrt(r2 - tol2);
    // the two tangents from the anchor to the circle of radius tol around j
    const double tlx = dx * c - dy * tol, tly = dy * c + dx * tol;
    const double trx = dx * c + dy * tol, try_ = dy * c - dx * tol;
    if (!wedge) {
      lx = tlx, ly = tly, rx = trx, ry = try_;
      wedge = true;
      continue;
    }
    if (cross(lx, ly, tlx, tly) < 0.0) lx = tlx, ly = tly;
    if (cross(rx, ry, trx, try_) > 0.0) rx = trx, ry = try_;
  }
}

}  // namespace

int qqsimp(const float* x, const float* y, int n, float tol, int* keep) {
  if (n <= 0) return 0;
  unsigned char* must = nullptr;
  if (tol > 0.0f && n >= 3) must = new (std::nothrow) unsigned char[static_cast<std::size_t>(n)]();
  if (!must) {
    // nothing to leave out (or no room to find out what)
    for (int i = 0; i < n; ++i) keep[i] = i;
    return n;
  }
  int m = 0;
  int i = 0;
  while (i < n) {
    if (!std::isfinite(x[i]) || !std::isfinite(y[i])) {
      keep[m++] = i++;  // the gap itself
      continue;
    }
    int b = i;
    while (b + 1 < n && std::isfinite(x[b + 1]) && std::isfinite(y[b + 1])) ++b;
    keep[m++] = i;
    if (b > i) {
      markExtremes(x, i, b, tol, must);
      markExtremes(y, i, b, tol, must);
      sleeve(x, y, i, b, tol, must, keep, m);
    }
    i = b + 1;
  }
  delete[] must;
  return m;
}

}  // namespace korvan
