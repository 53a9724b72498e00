// The 3-D axis box (axes3d): the ranges of the three axes, the back faces
// of the box, and on its outline as the view shows it the three axes with
// ticks, number labels and names. x and y lie on the lower edges, z on a
// vertical edge at one side; ticks, labels and names go outward from the
// outline, so that nothing is drawn over the box.
#include <algorithm>
#include <cmath>
#include <vector>

#include "axes/axes.h"
#include "core/state.h"
#include "core/strings.h"
#include "draw/colour.h"
#include "draw/pipeline.h"
#include "fields/view3d.h"
#include "korvan.h"
#include "text/text.h"

namespace korvan {

namespace {

constexpr double kDeg = 180.0 / 3.141592653589793;
// An axis gets at most this many labels; a denser one gets none.
constexpr double kMaxLabels = 50.0;

struct Vec {
  double x, y;
};

double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }

// The page rectangle of a label already drawn.
struct Taken {
  double x0, y0, x1, y1;
};

// The eight corners of the box projected: bit 0 of a corner's number is its
// x end, bit 1 its y end, bit 2 its z end (1: the upper end of the range).
struct Corners {
  Vec p[8];
  double depth[8];
};

Corners cornersOf(const View& v) {
  Corners c;
  for (int k = 0; k < 8; ++k) {
    const double u[3] = {k & 1 ? 1.0 : -1.0, k & 2 ? 1.0 : -1.0, k & 4 ? 1.0 : -1.0};
    float x, y;
    project(v, u, &x, &y, &c.depth[k]);
    c.p[k] = {x, y};
  }
  return c;
}

// An edge parallel to axis k (0 x, 1 y, 2 z) from corner c (bit k clear).
// It lies on the outline when the whole box projects to one side of its
// line; n is then the unit normal pointing away from the box.
bool onOutline(const Corners& c, int from, int k, Vec* n) {
  const Vec a = c.p[from], b = c.p[from | 1 << k];
  const double len = std::hypot(b.x - a.x, b.y - a.y);
  if (!(len > 1.0e-6)) return false;
  const Vec perp{(b.y - a.y) / len, -(b.x - a.x) / len};
  double lo = 0, hi = 0;
  for (const Vec& p : c.p) {
    const double s = dot({p.x - a.x, p.y - a.y}, perp);
    lo = std::min(lo, s);
    hi = std::max(hi, s);
  }
  const double tol = 1.0e-3;
  if (hi <= tol) {
    *n = perp;
    return true;
  }
  if (lo >= -tol) {
    *n = {-perp.x, -perp.y};
    return true;
  }
  return false;
}

// The place of one axis: its edge, from corner c, and the outward normal.
struct Placed {
  int corner = -1;
  Vec normal{0, 0};
};

Vec middle(const Corners& c, int from, int k) {
  const Vec a = c.p[from], b = c.p[from | 1 << k];
  return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}

// x and y: an outline edge of the bottom face, the lowest on the page (for
// a view from above the front edge, from below the back edge), the nearer
// of two at one height; any outline edge when the bottom face shows none.
Placed placeBase(const Corners& c, int k) {
  Placed best;
  bool bestLow = false;
  Vec bestMid{0, 0};
  for (int from = 0; from < 8; ++from) {
    Vec n;
    if (from & (1 << k) || !onOutline(c, from, k, &n)) continue;
    const bool low = !(from & 4);
    const Vec m = middle(c, from, k);
    const double d = c.depth[from] + c.depth[from | 1 << k];
    const double bd = best.corner < 0 ? 0 : c.depth[best.corner] + c.depth[best.corner | 1 << k];
    bool better = best.corner < 0 || (low && !bestLow);
    if (!better && low == bestLow) {
      if (std::fabs(m.y - bestMid.y) > 1.0e-3)
        better = m.y > bestMid.y;
      else
        better = d > bd + 1.0e-9;
    }
    if (better) {
      best.corner = from;
      best.normal = n;
      bestLow = low;
      bestMid = m;
    }
  }
  return best;
}

// z: an outline vertical edge, the left one unless its labels would go the
// way of the x or y labels on the same line; the nearer of two in line.
Placed placeUpright(const Corners& c, const Placed& x, const Placed& y) {
  Placed best;
  int bestScore = -1;
  double bestX = 0, bestDepth = 0;
  for (int from = 0; from < 4; ++from) {
    Vec n;
    if (!onOutline(c, from, 2, &n)) continue;
    bool clash = false;
    for (const Placed* p : {&x, &y})
      if (p->corner >= 0 && dot(n, p->normal) > 0.99) clash = true;
    const int score = clash ? 0 : 1;
    const double mx = middle(c, from, 2).x;
    const double depth = c.depth[from] + c.depth[from | 4];
    bool better = score > bestScore;
    if (!better && score == bestScore) {
      if (std::fabs(mx - bestX) > 1.0e-3)
        better = mx < bestX;
      else
        better = depth > bestDepth + 1.0e-9;
    }
    if (better) {
      best.corner = from;
      best.normal = n;
      bestScore = score;
      bestX = mx;
      bestDepth = depth;
    }
  }
  return best;
}

void useColour(Global& g, int colour) {
  if (colour >= 0 && colour != g.currentColour) qqsclr(g, colour);
}

// How far a box of w x h, turned by angle degrees, reaches along the unit
// vector n from its centre.
double reach(double w, double h, double angle, Vec n) {
  const double t = angle / kDeg;
  const Vec along{std::cos(t), -std::sin(t)}, up{-std::sin(t), -std::cos(t)};
  return w / 2 * std::fabs(dot(along, n)) + h / 2 * std::fabs(dot(up, n));
}

// Draws text of w x h turned by angle with its centre at (x, y).
void centred(Global& g, const char* text, Vec at, double w, double h, double angle) {
  const double t = angle / kDeg;
  const Vec along{std::cos(t), -std::sin(t)}, up{-std::sin(t), -std::cos(t)};
  const double x = at.x + up.x * h / 2 - along.x * w / 2;
  const double y = at.y + up.y * h / 2 - along.y * w / 2;
  dtext(g, text, static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y)),
        static_cast<float>(angle), static_cast<int>(h));
}

// The checks of one axis's labels: false (after a warning) when the axis
// gets no ticks and no labels.
bool labelsFit(Global& g, float a, float e, float org, float step) {
  if (!std::isfinite(org) || !std::isfinite(step)) {
    warnin(g, 2);
    return false;
  }
  if (std::fabs(step) < g.axisEps) {
    warnin(g, 9);
    return false;
  }
  if (std::fabs((static_cast<double>(e) - a) / step) > kMaxLabels) {
    qqserr(g, "Too many labels for a 3-D axis");
    warnin(g, 101);
    return false;
  }
  if (org < std::min(a, e) || org > std::max(a, e)) warnin(g, 12);
  if (e > a ? step < 0.0f : step > 0.0f) warnin(g, 50);
  return true;
}

// One axis k along its placed edge: ticks, labels and name.
void drawAxis(Global& g, const View& v, const Corners& c, const Placed& p, int k, float org,
              float step, bool labelled, std::vector<Taken>& taken) {
  const AxisSettings& s = g.axis[k];
  const double a = g.box3d[k][0], e = g.box3d[k][1];
  const Vec n = p.normal;
  // The point of value w on the edge.
  auto at = [&](double w) {
    double u[3] = {p.corner & 1 ? 1.0 : -1.0, p.corner & 2 ? 1.0 : -1.0, p.corner & 4 ? 1.0 : -1.0};
    u[k] = 2.0 * (w - a) / (e - a) - 1.0;
    float x, y;
    double depth;
    project(v, u, &x, &y, &depth);
    return Vec{x, y};
  };
  const int saved = g.currentColour;
  const int ticks = labelled ? s.ticks : 0;
  const int tickReach = ticks > 0 ? s.tickLong : 0;
  if (ticks > 0) {
    useColour(g, s.tickColour);
    const double interval = static_cast<double>(step) / ticks;
    const double k0 = -std::trunc((org - a) / interval + 0.0001);
    const double k1 = std::trunc((e - org) / interval + 0.0001);
    for (double j = k0; j <= k1; j += 1.0) {
      const Vec q = at(org + j * interval);
      const long long jj = static_cast<long long>(j);
      const int len = jj % ticks == 0 ? s.tickLong : s.tickShort;
      strtqq(g, static_cast<float>(q.x), static_cast<float>(q.y));
      connqq(g, static_cast<float>(q.x + n.x * len), static_cast<float>(q.y + n.y * len));
    }
    qqstrk(g);
    if (g.currentColour != saved) qqsclr(g, saved);
  }
  // Horizontal labels, each as near the edge as the label distance allows;
  // one that would cover or touch a label already drawn (a steep view, the
  // corner where x and y meet) is left out.
  double extent = 0;
  bool any = false;
  if (labelled && s.labelType != 0) {
    useColour(g, s.labelColour);
    // The exponent forms raise with "[" and "$", which TeX mode would read.
    const int expSwitch = g.expSwitch, texMode = g.texMode;
    g.expSwitch = 1;
    if (s.labelType == 2 || s.labelType == 13 || (s.labelType >= 6 && s.labelType <= 8) ||
        (s.labelType == 1 && s.labelCat == 2))
      g.texMode = 0;
    const int h = g.charHeight;
    const double m = std::trunc((static_cast<double>(e) - org) / step + 0.0001);
    int first = 0, last = 0, inc = 1;
    if (m >= 0) endpar(static_cast<int>(m), s.labelOmit, &first, &last, &inc);
    const double gap = h / 4.0;
    for (int i = first; m >= 0 && i <= last; i += inc) {
      const double w = org + static_cast<double>(i) * step;
      char text[160];
      glabxy(g, static_cast<float>(w), i, 0, k + 1, text, sizeof text);
      if (trmlen(text) == 0) continue;
      const int tl = qqnlms(g, text);
      const double r = reach(tl, h, 0.0, n);
      const double off = s.labelDist + tickReach + r;
      const Vec q = at(w);
      const Vec centre{q.x + n.x * off, q.y + n.y * off};
      const double x0 = centre.x - tl / 2.0, y0 = centre.y - h / 2.0;
      const Taken box{x0, y0, x0 + tl, y0 + h};
      if (std::any_of(taken.begin(), taken.end(), [&](const Taken& t) {
            return box.x0 < t.x1 + gap && box.x1 + gap > t.x0 && box.y0 < t.y1 + gap &&
                   box.y1 + gap > t.y0;
          }))
        continue;
      centred(g, text, centre, tl, h, 0.0);
      taken.push_back(box);
      any = true;
      extent = std::max(extent, 2 * r);
    }
    g.expSwitch = expSwitch;
    g.texMode = texMode;
    if (g.currentColour != saved) qqsclr(g, saved);
  }
  // The name centred along the edge beyond the labels, along the edge where
  // it runs across the page, else reading upwards on the left side and
  // downwards on the right as the names of upright 2-D axes do.
  if (trmlen(s.name) == 0) return;
  useColour(g, s.nameColour);
  const int nh = s.nameHeight;
  const int h = g.charHeight;
  g.charHeight = nh;
  const int nl = qqnlms(g, s.name);
  g.charHeight = h;
  const Vec a0 = c.p[p.corner], a1 = c.p[p.corner | 1 << k];
  double angle = std::atan2(-(a1.y - a0.y), a1.x - a0.x) * kDeg;
  if (std::fabs(std::cos(angle / kDeg)) >= 0.3) {
    if (angle > 90.0) angle -= 180.0;
    if (angle <= -90.0) angle += 180.0;
  } else {
    if (n.x < 0 && angle < 0) angle += 180.0;
    if (n.x >= 0 && angle > 0) angle -= 180.0;
  }
  double dist = s.nameDist + tickReach + reach(nl, nh, angle, n);
  if (any) dist += s.labelDist + extent;
  const Vec mid = middle(c, p.corner, k);
  centred(g, s.name, {mid.x + n.x * dist, mid.y + n.y * dist}, nl, nh, angle);
  if (g.currentColour != saved) qqsclr(g, saved);
}

}  // namespace

}  // namespace korvan

using namespace korvan;

extern "C" {

void axes3d(float xa, float xe, float xor_, float xstep, float ya, float ye, float yor,
            float ystep, float za, float ze, float zor, float zstep) {
  Global* gp = jqqlev(1, 1, "axes3d");
  if (!gp) return;
  Global& g = *gp;
  const float r[3][4] = {{xa, xe, xor_, xstep}, {ya, ye, yor, ystep}, {za, ze, zor, zstep}};
  for (const auto& a : r)
    if (!(std::fabs(a[1] - a[0]) > 0) || !std::isfinite(a[0]) || !std::isfinite(a[1])) {
      warnin(g, 10);
      return;
    }
  for (int k = 0; k < 3; ++k) {
    g.box3d[k][0] = r[k][0];
    g.box3d[k][1] = r[k][1];
  }
  g.box3dSet = 1;
  // The three back faces of the box: the edges that do not meet the corner
  // nearest the viewer.
  const View v = viewOf(g);
  const Corners c = cornersOf(v);
  int nearest = 0;
  for (int k = 1; k < 8; ++k)
    if (c.depth[k] > c.depth[nearest]) nearest = k;
  for (int from = 0; from < 8; ++from)
    for (int bit = 1; bit < 8; bit <<= 1) {
      const int to = from | bit;
      if (to == from || from == nearest || to == nearest) continue;
      strtqq(g, static_cast<float>(c.p[from].x), static_cast<float>(c.p[from].y));
      connqq(g, static_cast<float>(c.p[to].x), static_cast<float>(c.p[to].y));
    }
  qqstrk(g);
  // The axes; one seen end on (z from straight above) has no room for any.
  Placed place[3];
  place[0] = placeBase(c, 0);
  place[1] = placeBase(c, 1);
  place[2] = placeUpright(c, place[0], place[1]);
  // The label texts of a time axis take their form from the step.
  const float steps[2] = {g.axisStep[0], g.axisStep[1]};
  std::vector<Taken> taken;
  for (int k = 0; k < 3; ++k) {
    const bool labelled = labelsFit(g, r[k][0], r[k][1], r[k][2], r[k][3]);
    const Placed& p = place[k];
    if (p.corner < 0) continue;
    const Vec a = c.p[p.corner], b = c.p[p.corner | 1 << k];
    if (std::hypot(b.x - a.x, b.y - a.y) < std::max(g.charHeight, 1)) continue;
    g.axisStep[k] = r[k][3];
    drawAxis(g, v, c, p, k, r[k][2], r[k][3], labelled, taken);
  }
  g.axisStep[0] = steps[0];
  g.axisStep[1] = steps[1];
  g.level = 2;
}

void axes3d_(const float* xa, const float* xe, const float* xor_, const float* xstep,
             const float* ya, const float* ye, const float* yor, const float* ystep,
             const float* za, const float* ze, const float* zor, const float* zstep) {
  axes3d(*xa, *xe, *xor_, *xstep, *ya, *ye, *yor, *ystep, *za, *ze, *zor, *zstep);
}

}  // extern "C"
