// Delaunay triangulation of scattered points by a sweep hull: the points are
// taken in order of their distance from a first triangle's circumcentre,
// each joined to the hull edges it sees, and every new edge is made
// Delaunay by flips. Triangles and their neighbours live in flat arrays
// (halfedge 3t + k runs from vertex k of triangle t to vertex k + 1, its
// twin is the same edge in the neighbouring triangle); the hull is a linked
// ring with a hash by angle that finds the visible edge in near-constant time.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "core/state.h"
#include "fields/fields.h"
#include "fields/predicates.h"
#include "korvan.h"

namespace korvan {

namespace {

struct Sweep {
  const double* px;
  const double* py;
  std::vector<int>& tri;
  std::vector<int> half;
  std::vector<int> hullPrev, hullNext, hullTri, hullHash;
  std::vector<int> stack;
  int hullStart = 0;
  int hashSize = 0;
  double cx = 0, cy = 0;

  Sweep(const double* x, const double* y, std::vector<int>& t) : px(x), py(y), tri(t) {}

  double orient(int a, int b, int c) const {
    return orient2d(px[a], py[a], px[b], py[b], px[c], py[c]);
  }

  int hashKey(double x, double y) const {
    const double dx = x - cx, dy = y - cy;
    const double s = std::fabs(dx) + std::fabs(dy);
    const double p = s > 0 ? dx / s : 0.0;
    const double a = (dy > 0 ? 3.0 - p : 1.0 + p) / 4.0;  // 0..1 with the angle
    const int k = static_cast<int>(std::floor(a * hashSize));
    return ((k % hashSize) + hashSize) % hashSize;
  }

  void link(int a, int b) {
    half[a] = b;
    if (b != -1) half[b] = a;
  }

  int addTriangle(int i0, int i1, int i2, int a, int b, int c) {
    const int t = static_cast<int>(tri.size());
    tri.push_back(i0);
    tri.push_back(i1);
    tri.push_back(i2);
    half.push_back(-1);
    half.push_back(-1);
    half.push_back(-1);
    link(t, a);
    link(t + 1, b);
    link(t + 2, c);
    return t;
  }

  // qqdtri: flips the edge a and those behind it until each is Delaunay;
  // returns the halfedge that ends up where a's successor's successor was.
  int qqdtri(int a) {
    std::size_t depth = 0;
    int ar = 0;
    for (;;) {
      const int b = half[a];
      const int a0 = a - a % 3;
      ar = a0 + (a + 2) % 3;
      if (b == -1) {
        if (depth == 0) break;
        a = stack[--depth];
        continue;
      }
      const int b0 = b - b % 3;
      const int al = a0 + (a + 1) % 3, bl = b0 + (b + 2) % 3;
      const int p0 = tri[ar], pr = tri[a], pl = tri[al], p1 = tri[bl];
      // Co-circular points are left as they are: strict, so no flip cycles.
      const bool illegal =
          incircle(px[p0], py[p0], px[pr], py[pr], px[pl], py[pl], px[p1], py[p1]) > 0;
      if (!illegal) {
        if (depth == 0) break;
        a = stack[--depth];
        continue;
      }
      tri[a] = p1;
      tri[b] = p0;
      const int hbl = half[bl];
      if (hbl == -1) {  // the flipped edge was on the hull
        int e = hullStart;
        do {
          if (hullTri[e] == bl) {
            hullTri[e] = a;
            break;
          }
          e = hullPrev[e];
        } while (e != hullStart);
      }
      link(a, hbl);
      link(b, half[ar]);
      link(ar, bl);
      const int br = b0 + (b + 1) % 3;
      if (depth >= stack.size()) stack.resize(stack.size() * 2 + 64);
      stack[depth++] = br;
    }
    return ar;
  }

  void run(int n) {
    // Seed: the point nearest the centre of the box, its nearest neighbour,
    // and the third point that makes the smallest circle with them.
    double minX = std::numeric_limits<double>::infinity(), minY = minX, maxX = -minX, maxY = -minX;
    for (int i = 0; i < n; ++i) {
      minX = std::min(minX, px[i]);
      minY = std::min(minY, py[i]);
      maxX = std::max(maxX, px[i]);
      maxY = std::max(maxY, py[i]);
    }
    const double mx = (minX + maxX) / 2, my = (minY + maxY) / 2;
    auto d2 = [&](double ax, double ay, double bx, double by) {
      return (ax - bx) * (ax - bx) + (ay - by) * (ay - by);
    };
    int i0 = 0, i1 = -1, i2 = -1;
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i < n; ++i) {
      const double d = d2(mx, my, px[i], py[i]);
      if (d < best) {
        i0 = i;
        best = d;
      }
    }
    best = std::numeric_limits<double>::infinity();
    for (int i = 0; i < n; ++i) {
      const double d = d2(px[i0], py[i0], px[i], py[i]);
      if (d > 0 && d < best) {
        i1 = i;
        best = d;
      }
    }
    if (i1 < 0) return;  // all points are one
    auto circum = [&](int a, int b, int c, double& ox, double& oy) {
      const double bx = px[b] - px[a], by = py[b] - py[a], qx = px[c] - px[a], qy = py[c] - py[a];
      const double bl = bx * bx + by * by, cl = qx * qx + qy * qy;
      const double d = 0.5 / (bx * qy - by * qx);
      ox = px[a] + (qy * bl - by * cl) * d;
      oy = py[a] + (bx * cl - qx * bl) * d;
      return (ox - px[a]) * (ox - px[a]) + (oy - py[a]) * (oy - py[a]);
    };
    best = std::numeric_limits<double>::infinity();
    for (int i = 0; i < n; ++i) {
      if (i == i0 || i == i1 || orient(i0, i1, i) == 0) continue;
      double ox, oy;
      const double r = circum(i0, i1, i, ox, oy);
      if (r < best) {
        i2 = i;
        best = r;
      }
    }
    if (i2 < 0) return;  // collinear: no triangle
    if (orient(i0, i1, i2) < 0) std::swap(i1, i2);
    circum(i0, i1, i2, cx, cy);

    std::vector<double> dist(n);
    std::vector<int> ids(n);
    for (int i = 0; i < n; ++i) dist[i] = d2(px[i], py[i], cx, cy);
    qqsini(ids.data(), n);
    qquick(dist.data(), ids.data(), n);
    // The sweep runs on the points in that order, so that the points it
    // joins one after another lie next to each other in memory; the
    // vertex numbers are turned back at the end.
    std::vector<double> sx(n), sy(n);
    std::vector<int> rank(n);
    for (int k = 0; k < n; ++k) {
      sx[k] = px[ids[k]];
      sy[k] = py[ids[k]];
      rank[ids[k]] = k;
    }
    px = sx.data();
    py = sy.data();
    i0 = rank[i0];
    i1 = rank[i1];
    i2 = rank[i2];
    rank = {};

    hashSize = std::max(1, static_cast<int>(std::ceil(std::sqrt(static_cast<double>(n)))));
    hullPrev.assign(n, -1);
    hullNext.assign(n, -1);
    hullTri.assign(n, -1);
    hullHash.assign(hashSize, -1);
    hullStart = i0;
    hullNext[i0] = hullPrev[i2] = i1;
    hullNext[i1] = hullPrev[i0] = i2;
    hullNext[i2] = hullPrev[i1] = i0;
    hullTri[i0] = 0;
    hullTri[i1] = 1;
    hullTri[i2] = 2;
    hullHash[hashKey(px[i0], py[i0])] = i0;
    hullHash[hashKey(px[i1], py[i1])] = i1;
    hullHash[hashKey(px[i2], py[i2])] = i2;
    tri.reserve(static_cast<std::size_t>(std::max(2 * n - 5, 1)) * 3);
    half.reserve(tri.capacity());
    addTriangle(i0, i1, i2, -1, -1, -1);

    for (int i = 0; i < n; ++i) {
      if (i == i0 || i == i1 || i == i2) continue;
      const double x = px[i], y = py[i];
      // The point sees the hull edge e -> next[e] when it lies to its right.
      int start = 0;
      const int key = hashKey(x, y);
      for (int j = 0; j < hashSize; ++j) {
        start = hullHash[(key + j) % hashSize];
        if (start != -1 && start != hullNext[start]) break;
      }
      start = hullPrev[start];
      int e = start, q;
      while (q = hullNext[e], !(orient(e, q, i) < 0)) {
        e = q;
        if (e == start) {
          e = -1;
          break;
        }
      }
      if (e == -1) continue;  // a point already in: a duplicate
      int t = addTriangle(e, i, hullNext[e], -1, -1, hullTri[e]);
      hullTri[i] = qqdtri(t + 2);
      hullTri[e] = t;
      int nxt = hullNext[e];
      while (q = hullNext[nxt], orient(nxt, q, i) < 0) {
        t = addTriangle(nxt, i, q, hullTri[i], -1, hullTri[nxt]);
        hullTri[i] = qqdtri(t + 2);
        hullNext[nxt] = nxt;  // out of the hull
        nxt = q;
      }
      if (e == start) {
        while (q = hullPrev[e], orient(q, e, i) < 0) {
          t = addTriangle(q, i, e, -1, hullTri[e], hullTri[q]);
          qqdtri(t + 2);
          hullTri[q] = t;
          hullNext[e] = e;
          e = q;
        }
      }
      hullStart = hullPrev[i] = e;
      hullNext[e] = hullPrev[nxt] = i;
      hullNext[i] = nxt;
      hullHash[hashKey(x, y)] = i;
      hullHash[hashKey(px[e], py[e])] = e;
    }
    for (int& v : tri) v = ids[v];
  }
};

// Quicksort of an index list by key: median of three, the smaller side by
// recursion and the larger by the loop, insertion sort for short runs.
void quick(const double* key, int* idx, int lo, int hi) {
  while (hi - lo > 16) {
    const int mid = lo + (hi - lo) / 2;
    if (key[idx[mid]] < key[idx[lo]]) std::swap(idx[mid], idx[lo]);
    if (key[idx[hi]] < key[idx[lo]]) std::swap(idx[hi], idx[lo]);
    if (key[idx[hi]] < key[idx[mid]]) std::swap(idx[hi], idx[mid]);
    const double pivot = key[idx[mid]];
    int i = lo, j = hi;
    while (i <= j) {
      while (key[idx[i]] < pivot) ++i;
      while (key[idx[j]] > pivot) --j;
      if (i <= j) std::swap(idx[i++], idx[j--]);
    }
    if (j - lo < hi - i) {
      quick(key, idx, lo, j);
      lo = i;
    } else {
      quick(key, idx, i, hi);
      hi = j;
    }
  }
  for (int i = lo + 1; i <= hi; ++i) {
    const int v = idx[i];
    const double kv = key[v];
    int j = i - 1;
    while (j >= lo && key[idx[j]] > kv) {
      idx[j + 1] = idx[j];
      --j;
    }
    idx[j + 1] = v;
  }
}

}  // namespace

void qqsini(int* idx, int n) {
  for (int i = 0; i < n; ++i) idx[i] = i;
}

void qquick(const double* key, int* idx, int n) {
  if (n > 1) quick(key, idx, 0, n - 1);
}

int qqdlau(const float* x, const float* y, int n, std::vector<int>& tri) {
  tri.clear();
  // Points that are not finite take no part; the rest keep their indices.
  std::vector<int> keep;
  std::vector<double> px, py;
  keep.reserve(n);
  px.reserve(n);
  py.reserve(n);
  for (int i = 0; i < n; ++i)
    if (std::isfinite(x[i]) && std::isfinite(y[i])) {
      keep.push_back(i);
      px.push_back(x[i]);
      py.push_back(y[i]);
    }
  const int m = static_cast<int>(keep.size());
  if (m < 3) return 0;
  Sweep s(px.data(), py.data(), tri);
  s.run(m);
  if (m != n)
    for (int& v : tri) v = keep[v];
  return static_cast<int>(tri.size() / 3);
}

}  // namespace korvan

using namespace korvan;

extern "C" {

int delaun(const float* xray, const float* yray, int n, int* i1ray, int* i2ray, int* i3ray,
           int nmax) {
  Global* gp = jqqlev(0, 3, "delaun");
  if (!gp) return 0;
  Global& g = *gp;
  if (n < 3 || !xray || !yray) {
    warni1(g, 30, n);
    return 0;
  }
  if (!i1ray || !i2ray || !i3ray) {
    warnin(g, 2);
    return 0;
  }
  std::vector<int> tri;
  const int nt = qqdlau(xray, yray, n, tri);
  if (nt > nmax) {
    // Room for fewer triangles than there are: nothing is written.
    warni1(g, 2, nmax);
    return 0;
  }
  for (int t = 0; t < nt; ++t) {
    i1ray[t] = tri[3 * t] + 1;
    i2ray[t] = tri[3 * t + 1] + 1;
    i3ray[t] = tri[3 * t + 2] + 1;
  }
  return nt;
}

int delaun_(const float* xray, const float* yray, const int* n, int* i1ray, int* i2ray,
            int* i3ray, const int* nmax) {
  return delaun(xray, yray, *n, i1ray, i2ray, i3ray, *nmax);
}

}  // extern "C"
