// One side of an axis system: the axis line, its ticks, its labels and its
// name.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "axes/axes.h"
#include "core/state.h"
#include "core/strings.h"
#include "draw/colour.h"
#include "draw/pipeline.h"
#include "text/text.h"

namespace korvan {

namespace {
constexpr double kFar = 1.0e6;

int toInt(double v) {
  if (!(v > -kFar)) return static_cast<int>(-kFar);
  if (v > kFar) return static_cast<int>(kFar);
  return static_cast<int>(v);
}

// More marks than plot units along the axis cannot be told apart; such an
// axis gets none instead of an endless loop, and the program is told once
// per axis system why its ticks or labels are missing.
bool tooDense(Global& g, double count, int len) {
  if (count <= 2.0 * len + 16.0) return false;
  if (!g.denseWarned) {
    g.denseWarned = 1;
    qqserr(g, "Too many ticks or labels for the axis length");
    warnin(g, 101);
  }
  return true;
}

// The distance the ticks take from the axis line outwards.
int tickReach(const AxisSettings& s) {
  if (s.ticks <= 0) return 0;
  return s.tickPos == 0 ? s.tickLong : s.tickPos == 2 ? s.tickLong / 2 : 0;
}

void useColour(Global& g, int colour) {
  if (colour >= 0 && colour != g.currentColour) qqsclr(g, colour);
}

void restoreColour(Global& g, int saved) {
  if (g.currentColour != saved) qqsclr(g, saved);
}

bool exponentForm(const AxisSettings& s, int logScale) {
  return s.labelType == 2 || s.labelType == 13 || (s.labelType >= 6 && s.labelType <= 8) ||
         (s.labelType == 1 && s.labelCat == 2) || (logScale && s.logForm == 1);
}

// The text state that label texts need, set for the labels of one axis and
// put back afterwards.
class LabelText {
 public:
  LabelText(Global& g, const AxisSettings& s, int logScale) : g_(g) {
    expSwitch_ = g.expSwitch;
    texMode_ = g.texMode;
    umlautSwitch_ = g.umlautSwitch;
    std::memcpy(umlautEsc_, g.umlautEsc, sizeof umlautEsc_);
    g.expSwitch = 1;
    if (exponentForm(s, logScale)) g.texMode = 0;
    if (s.labelType == 14 && (g.dateMonthForm == 3 || g.dateMonthForm == 4)) {
      g.umlautSwitch = 1;
      std::memset(g.umlautEsc, ' ', sizeof g.umlautEsc);
      g.umlautEsc[0] = '!';
    }
  }
  ~LabelText() {
    g_.expSwitch = expSwitch_;
    g_.texMode = texMode_;
    g_.umlautSwitch = umlautSwitch_;
    std::memcpy(g_.umlautEsc, umlautEsc_, sizeof umlautEsc_);
  }
  LabelText(const LabelText&) = delete;
  LabelText& operator=(const LabelText&) = delete;

 private:
  Global& g_;
  int expSwitch_, texMode_, umlautSwitch_;
  char umlautEsc_[7];
};

// The labels of an axis: index, value, the value at which the label sits,
// and its text.
struct Label {
  int i;
  double value, at;
  char text[160];
};

// The label step of a date axis in months, by the axis step 1 to 5.
int dateMonths(double step) {
  static const int steps[5] = {1, 3, 6, 12, 2};
  const long k = std::lround(std::fabs(step));
  return k >= 1 && k <= 5 ? steps[k - 1] : 1;
}

template <class F>
void eachLabel(Global& g, double a, double e, double org, double step, int len, int logScale,
               int axis, F f) {
  const AxisSettings& s = g.axis[axis - 1];
  if (s.labelType == 0) return;
  const bool date = s.labelType == 14;
  int months = 1, dir = a <= e ? 1 : -1, m;
  if (date) {
    if (!g.baseDateSet) return;
    months = dateMonths(step);
    m = jqqnlb(g, toInt(org), toInt(e), months, dir);
    if (tooDense(g, m, len)) return;
  } else {
    const double q = (e - org) / step + 0.0001;
    if (tooDense(g, q, len) || q <= -1.0) return;
    m = static_cast<int>(std::trunc(q));
  }
  if (s.labelPlace == 1) --m;
  if (m < 0) return;
  int first, last, inc;
  endpar(m, s.labelOmit, &first, &last, &inc);
  const double eps = std::max(static_cast<double>(g.axisEps), std::fabs(step) * 1.0e-6);
  const bool expo = s.labelType == 2 || s.labelType == 13;
  for (int i = first; i <= last; i += inc) {
    Label l;
    l.i = i;
    if (date) {
      l.value = qqxlab(g, toInt(org), i, months, dir);
      l.at = l.value;
      if (s.labelPlace == 1) l.at = (l.value + qqxlab(g, toInt(org), i + 1, months, dir)) / 2.0;
    } else {
      l.value = org + i * step;
      l.at = s.labelPlace == 1 ? l.value + step / 2.0 : l.value;
    }
    if (g.crossed && std::fabs(l.value) < eps) continue;
    if (expo && std::fabs(l.value) < 1.0e-7 && std::fabs(l.value) < std::fabs(step) / 2.0)
      l.value = 0.0;
    glabxy(g, static_cast<float>(l.value), i, logScale, axis, l.text, sizeof l.text);
    f(l);
  }
}
}  // namespace

int qqdnlb(Global& g, int axis, double a, double e, double org, double step) {
  if (g.axis[axis - 1].labelType != 14 || !g.baseDateSet) return -1;
  return jqqnlb(g, toInt(org), toInt(e), dateMonths(step), a <= e ? 1 : -1) + 1;
}

int qqdlab(Global& g, double org, double step, double a, double e, int i) {
  return qqxlab(g, toInt(org), i, dateMonths(step), a <= e ? 1 : -1);
}

void settic(Global& g, int mirrored, int tickPos) {
  g.distSign = mirrored ? -1 : 1;
  g.tickSign = g.distSign * (tickPos == 1 ? -1 : 1);
}

void endpar(int m, int omit, int* first, int* last, int* inc) {
  *first = 0;
  *last = m;
  *inc = 1;
  switch (omit) {
    case 1: *first = 1; break;
    case 2: *last = m - 1; break;
    case 3: *first = 1; *last = m - 1; break;
    case 4: *inc = m > 0 ? m : 1; break;
    case 5: *last = 0; break;
    case 6: *first = m; break;
    default: break;
  }
}

void markx(Global& g, float a, float e, float org, float step, int len, int nx, int ny,
           int logScale, int axis) {
  const AxisSettings& s = g.axis[axis - 1];
  const int n = s.ticks;
  if (n <= 0) return;
  const double factor = (len - 1.0) / (static_cast<double>(e) - a);
  const int sign = g.tickSign;
  auto tick = [&](double w, bool major) {
    const double along = (w - a) * factor;
    const int len1 = major ? s.tickLong : s.tickShort;
    int from = 0, to = sign * len1;
    if (s.tickPos == 2) {
      from = -len1 / 2;
      to = len1 - len1 / 2;
    }
    if (axis == 1) {
      const int x = toInt(along + nx + 0.5);
      rvline(g, x, ny + from, x, ny + to);
    } else {
      const int y = toInt(ny + 0.5 - along);
      rvline(g, nx + from, y, nx + to, y);
    }
  };
  const double lo = std::min(a, e), hi = std::max(a, e);
  // A date axis steps by calendar months: the major ticks lie at the label
  // dates, the others divide each month step into n parts. The side may
  // draw no labels (sgrafp took its type away), yet its dates are the
  // axis's.
  const int type = s.labelType != 0 ? s.labelType : g.sideLabelType;
  if (type == 14 && g.baseDateSet) {
    const int months = dateMonths(step), dir = a <= e ? 1 : -1, start = toInt(org);
    const int back = jqqnlb(g, start, toInt(a), months, -dir) + 1;
    const int ahead = jqqnlb(g, start, toInt(e), months, dir);
    if (tooDense(g, (static_cast<double>(back) + ahead + 1) * n, len)) return;
    const double tol = 1.0e-6;
    for (int i = -back; i <= ahead; ++i) {
      const double d0 = qqxlab(g, start, i, months, dir);
      const double d1 = qqxlab(g, start, i + 1, months, dir);
      for (int j = 0; j < n; ++j) {
        const double w = d0 + j * (d1 - d0) / n;
        if (w >= lo - tol && w <= hi + tol) tick(w, j == 0);
      }
    }
    return;
  }
  const bool whole = std::floor(org) == org;
  const bool wholeStep = std::fabs(step) == 1.0f || (g.logWholeSteps && std::floor(step) == step);
  if (logScale && n > 1 && whole && wholeStep) {
    // Every decade a major tick, the minor ones at 2..9 times its power.
    const double d0 = std::floor(lo), d1 = std::ceil(hi);
    if (tooDense(g, 9.0 * (d1 - d0), len) || std::fabs(d0) > 1.0e15) return;
    const double tol = 1.0e-6 * std::max(1.0, hi - lo);
    for (double d = d0; d <= d1; d += 1.0) {
      if (d >= lo - tol && d <= hi + tol) tick(d, true);
      for (int k = 2; k <= 9; ++k) {
        const double w = d + std::log10(static_cast<double>(k));
        if (w >= lo - tol && w <= hi + tol) tick(w, false);
      }
    }
    return;
  }
  const double interval = static_cast<double>(step) / n;
  const double k0 = -std::trunc((org - a) / interval + 0.0001);
  const double k1 = std::trunc((e - org) / interval + 0.0001);
  if (!(k1 >= k0) || tooDense(g, k1 - k0, len) || std::fabs(k0) > 1.0e15) return;
  for (long long k = static_cast<long long>(k0); k <= static_cast<long long>(k1); ++k)
    tick(org + k * interval, k % n == 0);
}

int maxnuy(Global& g, float a, float e, float org, float step, int logScale, int axis) {
  const AxisSettings& s = g.axis[axis - 1];
  const int len = axis == 1 ? g.axisLenX : g.axisLenY;
  int widest = 0;
  LabelText state(g, s, logScale);
  eachLabel(g, a, e, org, step, len, logScale, axis,
            [&](const Label& l) { widest = std::max(widest, qqnlms(g, l.text)); });
  return widest;
}

int labelx(Global& g, float a, float e, float org, float step, int len, int nx, int ny,
           int logScale, int axis) {
  const AxisSettings& s = g.axis[axis - 1];
  if (s.labelType == 0) return 0;
  if (s.labelType == 14 && !g.baseDateSet) {
    int d, m, y;
    qqtrfd(g, 0, &d, &m, &y);  // reports the missing base date
    return 0;
  }
  const int offset = s.labelDist + tickReach(s);
  const int h = g.charHeight;
  const int sd = g.distSign;
  const bool vertical = s.labelOrient == 1 || s.labelOrient == 2;
  const float angle = s.labelOrient == 1 ? 90.0f : s.labelOrient == 2 ? 270.0f : 0.0f;
  const double factor = (len - 1.0) / (static_cast<double>(e) - a);
  const int widest = axis == 2 && !vertical ? maxnuy(g, a, e, org, step, logScale, axis) : 0;
  const bool leftAligned =
      s.labelJust == 1 || (s.labelJust == 3 && sd < 0) || (s.labelJust == 4 && sd > 0);
  int extent = 0;
  LabelText state(g, s, logScale);
  eachLabel(g, a, e, org, step, len, logScale, axis, [&](const Label& l) {
    const int tl = qqnlms(g, l.text);
    const double along = (l.at - a) * factor;
    int x, y;
    int lo, hi;  // the label's reach along the axis
    if (axis == 1) {
      const double tx = along + nx + 0.5;
      if (!vertical) {
        x = toInt(tx - tl / 2.0);
        y = sd > 0 ? ny + offset : ny - offset - h;
        lo = x;
        hi = x + tl - 1;
        extent = h;
      } else if (s.labelOrient == 1) {
        x = toInt(tx - h / 2.0);
        y = sd > 0 ? ny + offset + tl : ny - offset;
        lo = x;
        hi = x + h - 1;
      } else {
        x = toInt(tx + h / 2.0);
        y = sd > 0 ? ny + offset : ny - offset - tl;
        lo = x - h + 1;
        hi = x;
      }
      if (vertical) extent = std::max(extent, tl);
      if (s.labelPlace == 2) {
        if (lo < nx) x += nx - lo;
        else if (hi > nx + len - 1) x -= hi - (nx + len - 1);
      }
    } else {
      const double ty = ny - along;
      if (!vertical) {
        y = toInt(ty - 0.5 - h / 2.0);
        if (sd < 0)
          x = leftAligned ? nx - offset - widest : nx - offset - tl;
        else
          x = leftAligned ? nx + offset : nx + offset + widest - tl;
        lo = y;
        hi = y + h - 1;
        extent = widest;
      } else if (s.labelOrient == 1) {
        y = toInt(ty + tl / 2.0);
        x = sd < 0 ? nx - offset - h : nx + offset;
        lo = y - tl + 1;
        hi = y;
        extent = h;
      } else {
        y = toInt(ty - tl / 2.0);
        x = sd < 0 ? nx - offset : nx + offset + h - 1;
        lo = y;
        hi = y + tl - 1;
        extent = h;
      }
      if (s.labelPlace == 2) {
        if (lo < ny - len + 1) y += ny - len + 1 - lo;
        else if (hi > ny) y -= hi - ny;
      }
    }
    dtext(g, l.text, x, y, angle, h);
  });
  return extent;
}

void namex(Global& g, const char* name, int len, int nx, int ny, int labelWidth, int axis) {
  if (!name || trmlen(name) == 0) return;
  const AxisSettings& s = g.axis[axis - 1];
  int dist = s.nameDist + tickReach(s);
  if (s.labelType != 0) dist += s.labelDist + labelWidth;
  const int nh = s.nameHeight;
  const int saved = g.charHeight;
  g.charHeight = nh;
  const int nl = qqnlms(g, name);
  g.charHeight = saved;
  const int sd = g.distSign;
  if (axis == 1) {
    int x = nx + (len - nl) / 2;
    if (s.nameJust == 1) x = nx;
    if (s.nameJust == 2) x = nx + len - nl;
    dtext(g, name, x, sd > 0 ? ny + dist : ny - dist - nh, 0.0f, nh);
  } else if (sd < 0) {  // left side, reading upwards
    int y = ny - (len - nl) / 2;
    if (s.nameJust == 1) y = ny;
    if (s.nameJust == 2) y = ny - len + 1 + nl;
    dtext(g, name, nx - dist - nh, y, 90.0f, nh);
  } else {  // right side, reading downwards
    int y = ny - len + 1 + (len - nl) / 2;
    if (s.nameJust == 1) y = ny - nl;
    if (s.nameJust == 2) y = ny - len + 1;
    dtext(g, name, nx + dist + nh - 1, y, 270.0f, nh);
  }
}

void daxis(Global& g, float a, float e, float org, float step, int len, const char* name,
           int mirrored, int nx, int ny, int logScale, int axis) {
  const AxisSettings& s = g.axis[axis - 1];
  const int saved = g.currentColour;
  settic(g, mirrored, s.tickPos);
  if (s.lineOn) {
    useColour(g, s.lineColour);
    if (axis == 1)
      lineqq(g, nx, ny, nx + len - 1, ny);
    else
      lineqq(g, nx, ny, nx, ny - len + 1);
    restoreColour(g, saved);
  }
  useColour(g, s.tickColour);
  markx(g, a, e, org, step, len, nx, ny, logScale, axis);
  restoreColour(g, saved);
  useColour(g, s.labelColour);
  const int width = labelx(g, a, e, org, step, len, nx, ny, logScale, axis);
  restoreColour(g, saved);
  useColour(g, s.nameColour);
  namex(g, name, len, nx, ny, width, axis);
  restoreColour(g, saved);
  qqstrk(g);
  settic(g, 0, 0);
}

}  // namespace korvan
