// Ellipses, elliptical arcs and pie sectors (arcell), vectors with arrow
// heads (vector), and the angle and rotation helpers.
#include "draw/figure.h"

#include <algorithm>
#include <cmath>

#include "core/state.h"
#include "draw/fill.h"
#include "draw/pipeline.h"
#include "korvan.h"

namespace korvan {

namespace {

constexpr int kMaxSegments = 1000;

// One arrow head: tip and base centre in absolute page coordinates.
void arrowHead(Global& g, int form, float tipX, float tipY, float bx, float by, float sn, float cs,
               float w) {
  float ax = bx - sn * w, ay = by - cs * w;
  float cx = bx + sn * w, cy = by + cs * w;
  qqmove(g, ax, ay);
  qqdraw(g, tipX, tipY);
  qqdraw(g, cx, cy);
  if (form != 2) qqdraw(g, ax, ay);
  if (form == 0) {
    float tx[3] = {ax, tipX, cx}, ty[3] = {ay, tipY, cy};
    gkwfa(g, 3, tx, ty, 0.75f, 100, xline, static_cast<float>(g.clipYmin),
          static_cast<float>(g.clipYmax));
  }
}

}  // namespace

void trfro2(float* x, float* y, int n, float sa, float ca) {
  for (int i = 0; i < n; ++i) {
    float xo = x[i], yo = y[i];
    x[i] = ca * xo - sa * yo;
    y[i] = sa * xo + ca * yo;
  }
}

float qqang1(float a) { return a * 0.017453292f; }

float qqang2(float a) {
  if (!std::isfinite(a)) return 0.0f;
  // Whole turns first, so that a huge angle does not loop for ever.
  if (std::fabs(a) > 1000.0f) a = std::fmod(a, 6.2831855f);
  while (a < -0.00001f) a += 6.2831855f;
  while (a > 6.283195f) a -= 6.2831855f;
  return a;
}

int qqyorg(const Global& g, int y) {
  // INT_MIN under the bottom origin lies beyond the int range.
  return (g.origin == 1 && g.noFlip != 1) ? qqsat(static_cast<long long>(g.pageHeight) - y) : y;
}

void elpsln(Global& g, int nx, int ny, int na, int nb, float alpha, float beta, float theta) {
  if (na < 1) {
    warni1(g, 2, na);
    return;
  }
  if (nb < 1) {
    warni1(g, 2, nb);
    return;
  }
  float a1 = qqang2(alpha * g.degToRad);
  float a2 = qqang2(beta * g.degToRad);
  if (a2 <= a1) a2 += 6.283185f;
  float span = a2 - a1;
  double segments = static_cast<double>(std::max(na, nb)) * span / g.arcStep;
  if (!(segments >= 1.0)) return;  // also a NaN from a bad step
  int n = segments >= kMaxSegments ? kMaxSegments : static_cast<int>(segments);
  if (n <= 4) n = 5;
  double d = static_cast<double>(span) / n;

  // n segments, the pie closure and the repeated first point.
  float px[kMaxSegments + 3], py[kMaxSegments + 3];
  bool parametric = na == nb || span > 6.28f;
  double ra = na, rb = nb;
  for (int i = 0; i <= n; ++i) {
    double phi = i < n ? a1 + i * d : static_cast<double>(a2);
    double c = std::cos(phi), s = std::sin(phi);
    if (parametric) {
      px[i] = static_cast<float>(ra * c);
      py[i] = static_cast<float>(-rb * s);
    } else {
      // Polar form: the arc starts and ends on the true rays.
      double r = std::sqrt(1.0 / (c * c / (ra * ra) + s * s / (rb * rb)));
      px[i] = static_cast<float>(r * c);
      py[i] = static_cast<float>(-r * s);
    }
  }
  int count = n + 1;
  if (span < 6.28f && g.fillType != 0) {
    px[count] = 0.0f;
    py[count] = 0.0f;
    ++count;
    px[count] = px[0];
    py[count] = py[0];
    ++count;
  }
  if (std::fabs(theta) > 0.001f) {
    float t = theta * g.degToRad;
    trfro2(px, py, count, -std::sin(t), std::cos(t));
  }
  for (int i = 0; i < count; ++i) {
    px[i] += static_cast<float>(nx);
    py[i] += static_cast<float>(ny);
  }
  if (g.outlineOn == 1) {
    strtqq(g, px[0], py[0]);
    for (int i = 1; i < count; ++i) connqq(g, px[i], py[i]);
  }
  if (g.fillType != 0) dareaf(g, px, py, count);
}

}  // namespace korvan

using namespace korvan;

extern "C" {

void arcell(int nx, int ny, int na, int nb, float alpha, float beta, float theta) {
  Global* g = jqqlev(1, 3, "arcell");
  if (!g || !jqqfin(*g, {alpha, beta, theta})) return;
  elpsln(*g, nx, qqyorg(*g, ny), na, nb, alpha, beta, theta);
}

void vector(int ix1, int iy1, int ix2, int iy2, int ivec) {
  Global* gp = jqqlev(1, 3, "vector");
  if (!gp) return;
  Global& g = *gp;
  // -1 asks for the form set with vecfrm; without one it stays a bad form.
  if (ivec == -1 && g.arrowForm >= 0) ivec = g.arrowForm;
  iy1 = qqyorg(g, iy1);
  iy2 = qqyorg(g, iy2);
  int W = ivec / 1000;
  int L = (ivec - 1000 * W) / 100;
  int F = (ivec % 100) / 10;
  int P = ivec % 10;
  float x1 = static_cast<float>(ix1), y1 = static_cast<float>(iy1);
  float x2 = static_cast<float>(ix2), y2 = static_cast<float>(iy2);
  if (P == 0 || F != 1) {
    strtqq(g, x1, y1);
    connqq(g, x2, y2);
  }
  if (P == 0) return;
  if (F < 0 || F > 3) {
    warni1(g, 2, F);
    return;
  }
  if (P < 0 || P > 3) {
    warni1(g, 2, P);
    return;
  }
  float h = static_cast<float>(10 * L + 10);
  float w = (static_cast<float>(W) + 0.5f) / 4.5f * h;

  // Direction with y pointing up.
  float th;
  if (ix1 == ix2) {
    th = iy1 < iy2 ? -g.pi / 2.0f : g.pi / 2.0f;
  } else {
    th = std::atan((y1 - y2) / (x2 - x1));
    if (iy1 != iy2 && ix2 < ix1) {
      if (iy2 < iy1)
        th += g.pi;
      else
        th -= g.pi;
    } else if (iy1 == iy2 && ix2 < ix1) {
      th = g.pi;
    }
  }
  float sn = std::sin(th), cs = std::cos(th);
  float len = iy1 == iy2 ? std::fabs(x2 - x1) : std::fabs((y1 - y2) / sn);

  if (F == 1) {
    float sx = P > 1 ? x1 + cs * h : x1;
    float sy = P > 1 ? y1 - sn * h : y1;
    strtqq(g, sx, sy);
    connqq(g, x1 + (len - h) * cs, y1 - (len - h) * sn);
  }

  // Heads are drawn solid in absolute coordinates.
  float ox = static_cast<float>(g.shiftX), oy = static_cast<float>(g.shiftY);
  float ax1 = x1 + ox, ay1 = y1 + oy;
  arrowHead(g, F, x2 + ox, y2 + oy, ax1 + (len - h) * cs, ay1 - (len - h) * sn, sn, cs, w);
  if (P == 2)
    arrowHead(g, F, ax1, ay1, ax1 + h * cs, ay1 - h * sn, sn, cs, w);
  else if (P == 3)
    arrowHead(g, F, ax1 + h * cs, ay1 - h * sn, ax1, ay1, sn, cs, w);
}

}  // extern "C"
