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
#include "draw/colour.h"
#include "draw/fill.h"
#include "draw/pipeline.h"
#include "fields/fields.h"
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
void crossing(const float* x, int nx, const float* y, const float* z, std::int64_t e,
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
    const bool isX = side < 2, isMax = side % 2 == 1;
    const float edge = lim[side];
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
    ax.swap(bx);
    ay.swap(by);
  }
  if (ax.size() < 3) return;
  for (std::size_t i = 0; i < ax.size(); ++i) {
    ax[i] -= sx;
    ay[i] -= sy;
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
};

void bandPiece(const float* x, int nx, const float* y, const float* z, int i, int j,
               const CellValues& c, float lo, float hi, bool hiStrict, BandSet& out) {
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
    if (loAbove && !hiAbove) ev[ne++] = {cx[k], cy[k], -1, k, false, false};
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
      Event e{0, 0, l, k, !wasIn && isIn, wasIn && !isIn};
      crossing(x, nx, y, z, gridEdge(i, j, k, nx), levels[l], &e.x, &e.y);
      at[l][k] = ne;
      ev[ne++] = e;
    }
  }
  bool seen[12] = {};
  float px[24], py[24];
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
      px[n] = ev[k].x;
      py[n++] = ev[k].y;
      if (ev[k].leaving) {
        const int q = partner(ev[k]);
        if (q < 0 || q == s) break;
        seen[q] = true;
        px[n] = ev[q].x;
        py[n++] = ev[q].y;
        k = q;
      }
      k = (k + 1) % ne;
      if (k == s || n >= 22) break;
    }
    if (n >= 3) out.add(px, py, n);
  }
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
  LineCtx ctx{&g, zlev};
  qqcntr(xray, nx, yray, ny, zmat, zlev, drawPolyline, &ctx);
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
  std::vector<BandSet> bands(nb);
  for (int j = 0; j + 1 < ny; ++j) {
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
  std::vector<float> px, py;
  for (int b = 0; b < nb; ++b) {
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
