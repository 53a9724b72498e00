// Contours on a grid: isolin draws the lines of one level, isobnd fills the
// bands between levels. Both use one marching-squares table, so a band's
// edge is exactly the contour line of its level.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <deque>
#include <limits>
#include <vector>

#include "axes/axes.h"
#include "core/state.h"
#include "devices/device_table.h"
#include "devices/driver.h"
#include "draw/colour.h"
#include "draw/fill.h"
#include "draw/pipeline.h"
#include "fields/fields.h"
#include "fields/rings.h"
#include "fields/stitch.h"
#include "korvan.h"
#include "text/text.h"

namespace korvan {

namespace {

// A cell's corners counterclockwise: 0 (i, j), 1 (i+1, j), 2 (i+1, j+1),
// 3 (i, j+1); cell edge k runs from corner k to corner k+1. A corner is
// "high" at or above the level. Walking counterclockwise, an edge from a high
// to a low corner is an out edge, from low to high an in edge; each line
// piece runs from an out edge to an in edge, so the high side is on its left
// everywhere and the pieces of neighbouring cells join head to tail.
struct Chords {
  int n;
  int out[2], in[2];
};

// Sixteen cases, and the saddles (5, 10) once more for a low cell centre: a
// high centre joins the high corners, a low one the low corners, the same
// decision for lines and bands.
constexpr Chords chordsOf(int c, bool centreHigh) {
  Chords r{};
  auto high = [c](int k) { return ((c >> (k & 3)) & 1) != 0; };
  int ins = 0;
  for (int k = 0; k < 4; ++k)
    if (!high(k) && high(k + 1)) ++ins;
  for (int k = 0; k < 4; ++k) {
    if (!(high(k) && !high(k + 1))) continue;
    int m = k;
    for (int s = 1; s <= 4; ++s) {
      m = (centreHigh || ins < 2) ? (k + s) & 3 : (k - s + 4) & 3;
      if (!high(m) && high(m + 1)) break;
    }
    r.out[r.n] = k;
    r.in[r.n] = m;
    ++r.n;
  }
  return r;
}

struct ChordTable {
  Chords c[2][16];
  constexpr ChordTable() : c{} {
    for (int k = 0; k < 16; ++k) {
      c[0][k] = chordsOf(k, false);
      c[1][k] = chordsOf(k, true);
    }
  }
};
constexpr ChordTable kChords;

// A grid edge: 2 (i + j nx) horizontal from (i, j), + 1 vertical from (i, j).
std::int64_t gridEdge(int i, int j, int k, int nx) {
  const std::int64_t base = static_cast<std::int64_t>(j) * nx + i;
  switch (k) {
    case 0: return 2 * base;
    case 1: return 2 * (base + 1) + 1;
    case 2: return 2 * (base + nx);
    default: return 2 * base + 1;
  }
}

// Where level crosses the grid edge, always measured from the edge's lower
// index, so that both cells of an edge find the same point.
double crossing(const float* x, int nx, const float* y, const float* z, std::int64_t e,
                float level, float* px, float* py) {
  const std::int64_t base = e / 2;
  const int i = static_cast<int>(base % nx), j = static_cast<int>(base / nx);
  const bool vertical = (e & 1) != 0;
  const float z0 = z[base], z1 = z[vertical ? base + nx : base + 1];
  const double t = (static_cast<double>(level) - z0) / (static_cast<double>(z1) - z0);
  if (vertical) {
    *px = x[i];
    *py = static_cast<float>(y[j] + t * (static_cast<double>(y[j + 1]) - y[j]));
  } else {
    *px = static_cast<float>(x[i] + t * (static_cast<double>(x[i + 1]) - x[i]));
    *py = y[j];
  }
  return t;
}

// Is v high for the level: at or above it, or above it for the top level of
// a band fill, whose last band includes its upper bound.
bool above(float v, float level, bool strict) { return strict ? v > level : v >= level; }

struct CellValues {
  float z[4];
  bool ok;
};

CellValues cellAt(const float* z, int nx, int i, int j) {
  const std::size_t b = static_cast<std::size_t>(j) * nx + i;
  CellValues c{{z[b], z[b + 1], z[b + 1 + nx], z[b + nx]}, true};
  for (float v : c.z)
    if (std::isnan(v)) c.ok = false;
  return c;
}

// A polygon of relative plot points through Sutherland-Hodgman against one
// side of a rectangle: the points with x (isX) or y at most (isMax) or at
// least edge are kept.
void clipSide(const std::vector<float>& ax, const std::vector<float>& ay, bool isX, bool isMax,
              float edge, std::vector<float>& bx, std::vector<float>& by) {
  auto inside = [&](float px, float py) {
    const float v = isX ? px : py;
    return isMax ? v <= edge : v >= edge;
  };
  bx.clear();
  by.clear();
  const std::size_t m = ax.size();
  for (std::size_t i = 0; i < m; ++i) {
    const std::size_t p = (i + m - 1) % m;
    const bool ci = inside(ax[i], ay[i]), cp = inside(ax[p], ay[p]);
    if (ci != cp) {
      const float a = isX ? ax[p] : ay[p], b = isX ? ax[i] : ay[i];
      const float t = (edge - a) / (b - a);
      bx.push_back(isX ? edge : ax[p] + t * (ax[i] - ax[p]));
      by.push_back(isX ? ay[p] + t * (ay[i] - ay[p]) : edge);
    }
    if (ci) {
      bx.push_back(ax[i]);
      by.push_back(ay[i]);
    }
  }
}

}  // namespace

bool qqgchk(Global& g, const float* x, int nx, const float* y, int ny, const float* z) {
  if (nx < 2 || ny < 2) {
    warni1(g, 2, nx < 2 ? nx : ny);
    return false;
  }
  if (!x || !y || !z) {
    warnin(g, 2);
    return false;
  }
  const float* axes[2] = {x, y};
  const int counts[2] = {nx, ny};
  for (int a = 0; a < 2; ++a) {
    const float* v = axes[a];
    const bool up = v[1] > v[0];
    for (int i = 1; i < counts[a]; ++i) {
      const bool ok = std::isfinite(v[i]) && std::isfinite(v[i - 1]) &&
                      (up ? v[i] > v[i - 1] : v[i] < v[i - 1]);
      if (!ok) {
        warni1(g, 2, i + 1);
        return false;
      }
    }
  }
  return true;
}

void qqcntr(const float* x, int nx, const float* y, int ny, const float* z, float level,
            PolylineFn fn, void* ctx) {
  std::vector<float> xs, ys;
  auto emit = [&](const std::deque<std::int64_t>& f) {
    xs.resize(f.size());
    ys.resize(f.size());
    for (std::size_t k = 0; k < f.size(); ++k) crossing(x, nx, y, z, f[k], level, &xs[k], &ys[k]);
    fn(ctx, xs.data(), ys.data(), static_cast<int>(f.size()));
  };
  // Pieces are stitched by the grid edges at their ends.
  Stitcher<decltype(emit)> st(emit);
  for (int j = 0; j + 1 < ny; ++j) {
    for (int i = 0; i + 1 < nx; ++i) {
      const CellValues c = cellAt(z, nx, i, j);
      if (!c.ok) continue;  // a hole
      int cs = 0;
      for (int k = 0; k < 4; ++k)
        if (c.z[k] >= level) cs |= 1 << k;
      if (cs == 0 || cs == 15) continue;
      const float centre = 0.25f * (c.z[0] + c.z[1] + c.z[2] + c.z[3]);
      const Chords& ch = kChords.c[centre >= level ? 1 : 0][cs];
      for (int p = 0; p < ch.n; ++p)
        st.piece(gridEdge(i, j, ch.out[p], nx), gridEdge(i, j, ch.in[p], nx));
    }
  }
  st.finish();
}

int qqbclr(int k, int nb) {
  if (nb <= 1) return 128;
  return 1 + static_cast<int>(std::lround(253.0 * k / (nb - 1)));
}

void qqfpol(Global& g, const float* xs, const float* ys, int n) {
  // Sutherland-Hodgman against the clipping window, in absolute units.
  const float sx = static_cast<float>(g.shiftX), sy = static_cast<float>(g.shiftY);
  const float lim[4] = {static_cast<float>(g.clipXmin), static_cast<float>(g.clipXmax),
                        static_cast<float>(g.clipYmin), static_cast<float>(g.clipYmax)};
  std::vector<float> ax(n), ay(n), bx, by;
  for (int i = 0; i < n; ++i) {
    ax[i] = xs[i] + sx;
    ay[i] = ys[i] + sy;
  }
  for (int side = 0; side < 4 && !ax.empty(); ++side) {
    clipSide(ax, ay, side < 2, side % 2 == 1, lim[side], bx, by);
    ax.swap(bx);
    ay.swap(by);
  }
  if (ax.size() < 3) return;
  // Back to relative units, so that the fill layer, adding the shift again,
  // still finds every point inside the window and hands the polygon over
  // whole.
  auto back = [](float v, float s, float lo, float hi) {
    float r = v - s;
    for (int k = 0; k < 4 && r + s > hi; ++k)
      r = std::nextafter(r, -std::numeric_limits<float>::infinity());
    for (int k = 0; k < 4 && r + s < lo; ++k)
      r = std::nextafter(r, std::numeric_limits<float>::infinity());
    return r;
  };
  for (std::size_t i = 0; i < ax.size(); ++i) {
    ax[i] = back(ax[i], sx, lim[0], lim[1]);
    ay[i] = back(ay[i], sy, lim[2], lim[3]);
  }
  dareaf(g, ax.data(), ay.data(), static_cast<int>(ax.size()));
}

namespace {

struct LineCtx {
  Global* g;
  float level;
};

void drawPolyline(void* ctx, const float* xs, const float* ys, int n) {
  auto* c = static_cast<LineCtx*>(ctx);
  qqclin(*c->g, xs, ys, n, c->level);
}

// The polygons of one band: collected per band, drawn band by band so that
// the colour changes once per band.
struct BandSet {
  std::vector<float> xs, ys;
  std::vector<int> sizes;
  void add(const float* px, const float* py, int n) {
    xs.insert(xs.end(), px, px + n);
    ys.insert(ys.end(), py, py + n);
    sizes.push_back(n);
  }
};

// The piece of one cell that lies in the band lo..hi: the cell's boundary
// walked counterclockwise, leaving the band at a crossing along the chord of
// that level (the same table as the lines) and going on from its other end.
struct Event {
  float x, y;
  int level;  // -1 corner, 0 lo, 1 hi
  int edge;
  bool entering, leaving;
  double t;  // a crossing's place along its grid edge
};

// Calls piece(ev, idx, chord, n) for every piece of the cell in the band, as
// the indices of its n events; chord[m] tells that the step from event
// idx[m] to the next runs along a level line, not along the cell's side.
template <class Piece>
void bandPieces(const float* x, int nx, const float* y, const float* z, int i, int j,
                const CellValues& c, float lo, float hi, bool hiStrict, Piece&& piece) {
  const float centre = 0.25f * (c.z[0] + c.z[1] + c.z[2] + c.z[3]);
  const float levels[2] = {lo, hi};
  const bool strict[2] = {false, hiStrict};
  int cs[2] = {0, 0};
  for (int l = 0; l < 2; ++l)
    for (int k = 0; k < 4; ++k)
      if (above(c.z[k], levels[l], strict[l])) cs[l] |= 1 << k;
  const Chords* ch[2] = {&kChords.c[above(centre, lo, false) ? 1 : 0][cs[0]],
                         &kChords.c[above(centre, hi, hiStrict) ? 1 : 0][cs[1]]};
  const float cx[4] = {x[i], x[i + 1], x[i + 1], x[i]};
  const float cy[4] = {y[j], y[j], y[j + 1], y[j + 1]};
  Event ev[12];
  int ne = 0;
  int at[2][4];  // event index of each level's crossing on each cell edge
  for (int k = 0; k < 4; ++k) {
    const int k1 = (k + 1) & 3;
    bool hiAbove = (cs[1] >> k) & 1, loAbove = (cs[0] >> k) & 1;
    if (loAbove && !hiAbove) ev[ne++] = {cx[k], cy[k], -1, k, false, false, 0.0};
    at[0][k] = at[1][k] = -1;
    const bool down = c.z[k1] < c.z[k];
    for (int s = 0; s < 2; ++s) {
      const int l = down ? 1 - s : s;  // the order along the edge
      const bool a0 = (cs[l] >> k) & 1, a1 = (cs[l] >> k1) & 1;
      if (a0 == a1) continue;
      const bool wasIn = loAbove && !hiAbove;
      if (l == 0)
        loAbove = a1;
      else
        hiAbove = a1;
      const bool isIn = loAbove && !hiAbove;
      Event e{0, 0, l, k, !wasIn && isIn, wasIn && !isIn, 0.0};
      e.t = crossing(x, nx, y, z, gridEdge(i, j, k, nx), levels[l], &e.x, &e.y);
      at[l][k] = ne;
      ev[ne++] = e;
    }
  }
  bool seen[12] = {};
  int idx[24];
  bool chord[24];
  auto partner = [&](const Event& e) {
    const Chords& h = *ch[e.level];
    for (int p = 0; p < h.n; ++p) {
      if (e.level == 0 && h.out[p] == e.edge) return at[0][h.in[p]];
      if (e.level == 1 && h.in[p] == e.edge) return at[1][h.out[p]];
    }
    return -1;
  };
  for (int s = 0; s < ne; ++s) {
    if (seen[s] || ev[s].leaving) continue;
    int n = 0, k = s;
    for (int guard = 0; guard < 24; ++guard) {
      seen[k] = true;
      chord[n] = false;
      idx[n++] = k;
      if (ev[k].leaving) {
        const int q = partner(ev[k]);
        chord[n - 1] = q >= 0;
        if (q < 0 || q == s) break;
        seen[q] = true;
        chord[n] = false;
        idx[n++] = q;
        k = q;
      }
      k = (k + 1) % ne;
      if (k == s || n >= 22) break;
    }
    piece(static_cast<const Event*>(ev), static_cast<const int*>(idx),
          static_cast<const bool*>(chord), n);
  }
}

void bandPiece(const float* x, int nx, const float* y, const float* z, int i, int j,
               const CellValues& c, float lo, float hi, bool hiStrict, BandSet& out) {
  bandPieces(x, nx, y, z, i, j, c, lo, hi, hiStrict,
             [&](const Event* ev, const int* idx, const bool*, int n) {
               float px[24], py[24];
               for (int m = 0; m < n; ++m) {
                 px[m] = ev[idx[m]].x;
                 py[m] = ev[idx[m]].y;
               }
               if (n >= 3) out.add(px, py, n);
             });
}

// The grid of a band fill and which of its cells hold data.
struct BandGrid {
  const float *x, *y, *z;
  int nx, ny, nlev;
  std::vector<char> ok;  // per cell: no NaN corner
  bool inside(int i, int j) const {
    return i >= 0 && j >= 0 && i + 1 < nx && j + 1 < ny &&
           ok[static_cast<std::size_t>(j) * (nx - 1) + i];
  }
  // Is side k of cell (i, j) on the edge of the data: the grid's border or
  // a hole next to it?
  bool open(int i, int j, int k) const {
    static constexpr int di[4] = {0, 1, 0, -1}, dj[4] = {-1, 0, 1, 0};
    return !inside(i + di[k], j + dj[k]);
  }
};

// Corner k of cell (i, j) as a vertex of the ring builder.
int cornerVertex(const BandGrid& gr, int i, int j, int k, RingBuilder& rb) {
  const int ci = i + (k == 1 || k == 2), cj = j + (k >= 2);
  const std::int64_t key = 2 * (static_cast<std::int64_t>(cj) * gr.nx + ci);
  return rb.vertex(key, ci, cj, gr.x[ci], gr.y[cj]);
}

// The boundary edges of band b in cell (i, j): every piece's steps along a
// level line, and its steps along sides that lie on the edge of the data.
// The other sides are shared with a neighbour that walks them the other
// way, so they cancel and are left out. Whole cells of the band give only
// their open sides.
void bandEdges(const BandGrid& gr, int i, int j, const CellValues& c, int b, bool whole,
               const float* zlevs, RingBuilder& rb) {
  if (whole) {
    for (int k = 0; k < 4; ++k)
      if (gr.open(i, j, k))
        rb.edge(cornerVertex(gr, i, j, k, rb), cornerVertex(gr, i, j, (k + 1) & 3, rb), i, j);
    return;
  }
  const bool top = b == gr.nlev - 2;
  bandPieces(gr.x, gr.nx, gr.y, gr.z, i, j, c, zlevs[b], zlevs[b + 1], top,
             [&](const Event* ev, const int* idx, const bool* chord, int n) {
               if (n < 3) return;
               int vid[24];
               for (int m = 0; m < n; ++m) {
                 const Event& e = ev[idx[m]];
                 if (e.level < 0) {
                   vid[m] = cornerVertex(gr, i, j, e.edge, rb);
                   continue;
                 }
                 const std::int64_t ge = gridEdge(i, j, e.edge, gr.nx);
                 const std::int64_t base = ge / 2;
                 const double u = static_cast<double>(base % gr.nx) + ((ge & 1) ? 0.0 : e.t);
                 const double v = static_cast<double>(base / gr.nx) + ((ge & 1) ? e.t : 0.0);
                 const std::int64_t key = 2 * (ge * gr.nlev + b + e.level) + 1;
                 vid[m] = rb.vertex(key, u, v, e.x, e.y);
               }
               for (int m = 0; m < n; ++m) {
                 const Event& to = ev[idx[(m + 1) % n]];
                 const int side = to.level < 0 ? (to.edge + 3) & 3 : to.edge;
                 if (chord[m] || gr.open(i, j, side)) rb.edge(vid[m], vid[(m + 1) % n], i, j);
               }
             });
}

// Fills a polygon of relative plot points in pieces of at most limit points
// (0: any number), halving it across its longer side until each piece is
// small enough. Cutting a closed path at a line keeps the winding of every
// point on the kept side, so the pieces fill exactly what the whole would,
// holes included; nothing is dropped.
void fillPieces(Global& g, std::vector<float>& xs, std::vector<float>& ys, int limit) {
  const std::size_t n = xs.size();
  if (limit <= 0 || n <= static_cast<std::size_t>(limit)) {
    qqfpol(g, xs.data(), ys.data(), static_cast<int>(n));
    return;
  }
  const auto [x0, x1] = std::minmax_element(xs.begin(), xs.end());
  const auto [y0, y1] = std::minmax_element(ys.begin(), ys.end());
  const bool alongX = *x1 - *x0 >= *y1 - *y0;
  const float mid = alongX ? 0.5f * (*x0 + *x1) : 0.5f * (*y0 + *y1);
  std::vector<float> hx, hy;
  for (bool isMax : {true, false}) {
    clipSide(xs, ys, alongX, isMax, mid, hx, hy);
    if (hx.size() < 3) continue;
    if (hx.size() >= n)
      qqfpol(g, hx.data(), hy.data(), static_cast<int>(hx.size()));  // no cut helps
    else
      fillPieces(g, hx, hy, limit);
  }
}

struct RingFill {
  Global* g;
  int limit;
  std::vector<float> px, py;
};

// One band polygon of user coordinates: to plot units, the outer ring
// counterclockwise as the page is seen (y grows downwards), and filled.
void fillRing(void* ctx, const float* xs, const float* ys, int n) {
  auto* f = static_cast<RingFill*>(ctx);
  f->px.resize(static_cast<std::size_t>(n));
  f->py.resize(static_cast<std::size_t>(n));
  double a = 0;
  for (int k = 0; k < n; ++k) qqrel2(*f->g, xs[k], ys[k], &f->px[k], &f->py[k]);
  for (int k = 0; k < n; ++k) {
    const int q = k + 1 == n ? 0 : k + 1;
    a += static_cast<double>(f->px[k]) * f->py[q] - static_cast<double>(f->px[q]) * f->py[k];
  }
  if (a > 0) {
    std::reverse(f->px.begin(), f->px.end());
    std::reverse(f->py.begin(), f->py.end());
  }
  fillPieces(*f->g, f->px, f->py, f->limit);
}

}  // namespace

namespace {

// The place of a label on a polyline of plot points: the centre of a piece of
// length need whose points all lie within tol of its chord, tried from the
// middle of the line outwards; false when the line is nowhere straight
// enough. cum holds the length along the line at each point.
bool labelPlace(const std::vector<float>& px, const std::vector<float>& py,
                const std::vector<double>& cum, double need, double tol, double* from,
                double* to) {
  const double total = cum.back();
  if (total < 3 * need) return false;
  auto at = [&](double s, double* x, double* y) {
    const std::size_t k =
        std::min<std::size_t>(std::upper_bound(cum.begin(), cum.end(), s) - cum.begin(), cum.size() - 1);
    const std::size_t a = k == 0 ? 0 : k - 1;
    const double len = cum[k] - cum[a];
    const double t = len > 0 ? (s - cum[a]) / len : 0.0;
    *x = px[a] + t * (px[k] - px[a]);
    *y = py[a] + t * (py[k] - py[a]);
  };
  for (int tries = 0; tries < 9; ++tries) {
    const double f = 0.5 + (tries % 2 ? 1 : -1) * 0.05 * ((tries + 1) / 2);
    const double a = f * total - need / 2, b = a + need;
    if (a <= 0 || b >= total) continue;
    double x0, y0, x1, y1;
    at(a, &x0, &y0);
    at(b, &x1, &y1);
    const double dx = x1 - x0, dy = y1 - y0, chord = std::hypot(dx, dy);
    if (chord < 0.9 * need) continue;
    bool straight = true;
    for (std::size_t k = 0; k < cum.size() && straight; ++k)
      if (cum[k] > a && cum[k] < b)
        straight = std::fabs((px[k] - x0) * dy - (py[k] - y0) * dx) / chord <= tol;
    if (straight) {
      *from = a;
      *to = b;
      return true;
    }
  }
  return false;
}

}  // namespace

void qqclin(Global& g, const float* xs, const float* ys, int n, float level) {
  std::vector<float> px(n), py(n);
  std::vector<double> cum(n, 0.0);
  for (int k = 0; k < n; ++k) {
    qqrel2(g, xs[k], ys[k], &px[k], &py[k]);
    if (k > 0) cum[k] = cum[k - 1] + std::hypot(px[k] - px[k - 1], py[k] - py[k - 1]);
  }
  double gapFrom = -1, gapTo = -1;
  char text[32] = "";
  int width = 0;
  if (g.contourLabels > 0 && n >= 2) {
    std::snprintf(text, sizeof text, "%g", static_cast<double>(level));
    width = qqnlms(g, text);
    const double pad = 0.5 * g.charHeight;
    if (g.contourLabelCount++ % g.contourLabels != 0 ||
        !labelPlace(px, py, cum, width + 2 * pad, 0.5 * g.charHeight, &gapFrom, &gapTo))
      gapFrom = gapTo = -1;
  }
  // The line, broken between gapFrom and gapTo along it.
  bool open = false;
  auto point = [&](double s, int k0) {
    const int a = std::max(k0 - 1, 0);
    const double len = cum[k0] - cum[a];
    const double t = len > 0 ? (s - cum[a]) / len : 0.0;
    return std::pair<float, float>(static_cast<float>(px[a] + t * (px[k0] - px[a])),
                                   static_cast<float>(py[a] + t * (py[k0] - py[a])));
  };
  float lx0 = 0, ly0 = 0, lx1 = 0, ly1 = 0;
  for (int k = 0; k < n; ++k) {
    const bool inGap = cum[k] > gapFrom && cum[k] < gapTo;
    if (k > 0 && gapFrom >= 0) {
      if (cum[k - 1] <= gapFrom && cum[k] > gapFrom) {
        auto [x, y] = point(gapFrom, k);
        lx0 = x;
        ly0 = y;
        if (open) connqq(g, x, y);
        open = false;
      }
      if (cum[k - 1] < gapTo && cum[k] >= gapTo) {
        auto [x, y] = point(gapTo, k);
        lx1 = x;
        ly1 = y;
        strtqq(g, x, y);
        open = true;
      }
    }
    if (inGap) continue;
    if (open)
      connqq(g, px[k], py[k]);
    else {
      strtqq(g, px[k], py[k]);
      open = true;
    }
  }
  if (gapFrom >= 0) {
    // The label upright, centred in the gap and turned along it.
    double ang = std::atan2(-(ly1 - ly0), lx1 - lx0) * 180.0 / 3.141592653589793;
    if (ang > 90) ang -= 180;
    if (ang < -90) ang += 180;
    const double r = ang * 3.141592653589793 / 180.0;
    const double ux = std::cos(r), uy = -std::sin(r), upx = -std::sin(r), upy = -std::cos(r);
    const double cx = (lx0 + lx1) / 2 + g.shiftX, cy = (ly0 + ly1) / 2 + g.shiftY;
    const double h = g.charHeight;
    qqstrk(g);
    const float old = g.textAngle;
    qqtang(g, static_cast<float>(ang));
    qqmess(g, text, static_cast<float>(cx - ux * width / 2 + upx * h / 2),
           static_cast<float>(cy - uy * width / 2 + upy * h / 2));
    qqtang(g, old);
  }
}

}  // namespace korvan

using namespace korvan;

extern "C" {

void isolin(const float* xray, int nx, const float* yray, int ny, const float* zmat,
            float zlev) {
  Global* gp = jqqlev(2, 3, "isolin");
  if (!gp) return;
  Global& g = *gp;
  if (!qqgchk(g, xray, nx, yray, ny, zmat)) return;
  if (!std::isfinite(zlev)) {
    warnin(g, 2);
    return;
  }
  g.level = 3;
  sclpax(g, 0);
  {
    LevelStyle style(g, zlev);
    LineCtx ctx{&g, zlev};
    qqcntr(xray, nx, yray, ny, zmat, zlev, drawPolyline, &ctx);
  }
  sclpax(g, 1);
}

void isobnd(const float* xray, int nx, const float* yray, int ny, const float* zmat,
            const float* zlevs, int nlev) {
  Global* gp = jqqlev(2, 3, "isobnd");
  if (!gp) return;
  Global& g = *gp;
  if (!qqgchk(g, xray, nx, yray, ny, zmat)) return;
  if (nlev < 2 || !zlevs) {
    warni1(g, 2, nlev);
    return;
  }
  for (int k = 0; k < nlev; ++k)
    if (!std::isfinite(zlevs[k]) || (k > 0 && !(zlevs[k] > zlevs[k - 1]))) {
      warni1(g, 2, k + 1);
      return;
    }
  const int nb = nlev - 1;
  // The band of a value: -1 below the first level, nb above the last; the
  // last band includes its upper level.
  auto bandOf = [&](float v) {
    if (v > zlevs[nb]) return nb;
    if (v == zlevs[nb]) return nb - 1;
    return static_cast<int>(std::upper_bound(zlevs, zlevs + nlev, v) - zlevs) - 1;
  };
  // Vector files that take polygons get each band's region as whole rings
  // with their holes: far fewer and smaller records than a piece per cell.
  // Pixel devices and hatched fills (shielding) keep the cell pieces, which
  // their scan lines handle with few crossings each.
  const bool asRings = g.driver && g.driver->polygons() && !deviceInfo(g.device).pixels &&
                       g.shieldCount == 0;
  std::vector<BandSet> bands(asRings ? 0 : nb);
  for (int j = 0; j + 1 < ny && !asRings; ++j) {
    int runBand = -2, runStart = 0;
    auto flushRun = [&](int iEnd) {
      if (runBand >= 0 && runBand < nb) {
        const float px[4] = {xray[runStart], xray[iEnd], xray[iEnd], xray[runStart]};
        const float py[4] = {yray[j], yray[j], yray[j + 1], yray[j + 1]};
        bands[runBand].add(px, py, 4);
      }
      runBand = -2;
    };
    for (int i = 0; i + 1 < nx; ++i) {
      const CellValues c = cellAt(zmat, nx, i, j);
      if (!c.ok) {
        flushRun(i);
        continue;
      }
      int bmin = nb + 1, bmax = -2;
      for (float v : c.z) {
        const int b = bandOf(v);
        bmin = std::min(bmin, b);
        bmax = std::max(bmax, b);
      }
      if (bmin == bmax) {
        // Whole cells of one band join into one rectangle along the row.
        if (bmin != runBand) {
          flushRun(i);
          runBand = bmin;
          runStart = i;
        }
        continue;
      }
      flushRun(i);
      for (int b = std::max(bmin, 0); b <= std::min(bmax, nb - 1); ++b)
        bandPiece(xray, nx, yray, zmat, i, j, c, zlevs[b], zlevs[b + 1], b == nb - 1, bands[b]);
    }
    flushRun(nx - 1);
  }
  // Solid fills in the band colours; the pattern and colour come back after.
  const int oldColour = g.currentColour;
  const int oldPattern = g.shadingPattern, oldType = g.fillType, oldAngle = g.hatchAngle,
            oldCross = g.crossHatch, oldDens = g.hatchDensity, oldOn = g.hatchGroupOn,
            oldOff = g.hatchGroupOff;
  const float oldSpacing = g.hatchSpacing;
  qqmypt(g, 0, 1, 0, 0);
  g.shadingPattern = 16;
  g.level = 3;
  sclpax(g, 0);
  if (asRings) {
    BandGrid gr{xray, yray, zmat, nx, ny, nlev, {}};
    gr.ok.resize(static_cast<std::size_t>(nx - 1) * (ny - 1));
    std::vector<int> vband(static_cast<std::size_t>(nx) * ny);
    for (std::size_t k = 0; k < vband.size(); ++k) vband[k] = bandOf(zmat[k]);
    for (int j = 0; j + 1 < ny; ++j)
      for (int i = 0; i + 1 < nx; ++i) gr.ok[static_cast<std::size_t>(j) * (nx - 1) + i] = cellAt(zmat, nx, i, j).ok;
    RingBuilder rb(nx - 1, ny - 1);
    RingFill fill{&g, g.driver->polygonPoints(), {}, {}};
    for (int b = 0; b < nb; ++b) {
      for (int j = 0; j + 1 < ny; ++j)
        for (int i = 0; i + 1 < nx; ++i) {
          if (!gr.ok[static_cast<std::size_t>(j) * (nx - 1) + i]) continue;
          const std::size_t v0 = static_cast<std::size_t>(j) * nx + i;
          const int c[4] = {vband[v0], vband[v0 + 1], vband[v0 + 1 + nx], vband[v0 + nx]};
          const int bmin = std::min(std::min(c[0], c[1]), std::min(c[2], c[3]));
          const int bmax = std::max(std::max(c[0], c[1]), std::max(c[2], c[3]));
          if (b < bmin || b > bmax) continue;
          const bool whole = bmin == bmax;
          if (whole && !gr.open(i, j, 0) && !gr.open(i, j, 1) && !gr.open(i, j, 2) &&
              !gr.open(i, j, 3))
            continue;  // inside the band: no boundary here
          bandEdges(gr, i, j, cellAt(zmat, nx, i, j), b, whole, zlevs, rb);
        }
      if (rb.empty()) continue;
      qqsclr(g, qqbclr(b, nb));
      rb.polygons(fillRing, &fill);
    }
  }
  std::vector<float> px, py;
  for (int b = 0; b < static_cast<int>(bands.size()); ++b) {
    const BandSet& s = bands[b];
    if (s.sizes.empty()) continue;
    qqsclr(g, qqbclr(b, nb));
    std::size_t off = 0;
    for (int n : s.sizes) {
      px.resize(n);
      py.resize(n);
      for (int k = 0; k < n; ++k) qqrel2(g, s.xs[off + k], s.ys[off + k], &px[k], &py[k]);
      qqfpol(g, px.data(), py.data(), n);
      off += n;
    }
  }
  sclpax(g, 1);
  g.shadingPattern = oldPattern;
  g.fillType = oldType;
  g.hatchAngle = oldAngle;
  g.crossHatch = oldCross;
  g.hatchDensity = oldDens;
  g.hatchSpacing = oldSpacing;
  g.hatchGroupOn = oldOn;
  g.hatchGroupOff = oldOff;
  qqsclr(g, oldColour);
  g.keySet = 1;
  g.keyMin = zlevs[0];
  g.keyMax = zlevs[nb];
  g.keyBands = nb < 255 ? nb : 0;
  for (int k = 0; k <= nb && nb < 255; ++k) g.keyLevels[k] = zlevs[k];
}

void isolab(int mode) {
  Global* gp = jqqlev(1, 3, "isolab");
  if (!gp || !jqqval(*gp, mode, 0, 1000)) return;
  gp->contourLabels = mode;
  gp->contourLabelCount = 0;
}

void isolab_(const int* mode) { isolab(*mode); }

void isolin_(const float* xray, const int* nx, const float* yray, const int* ny,
             const float* zmat, const float* zlev) {
  isolin(xray, *nx, yray, *ny, zmat, *zlev);
}
void isobnd_(const float* xray, const int* nx, const float* yray, const int* ny,
             const float* zmat, const float* zlevs, const int* nlev) {
  isobnd(xray, *nx, yray, *ny, zmat, zlevs, *nlev);
}

}  // extern "C"
