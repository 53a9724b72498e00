// Wide lines. Devices that stroke wide lines themselves are told the width
// by their driver (Driver::width); on every other device the flush of a
// stroke draws nested outlines around its centre line: square caps at open
// ends, bevel joins, and no caps where a stroke closes on itself.
#include "draw/width.h"

#include <cmath>

#include "core/state.h"
#include "devices/dispatch.h"
#include "devices/driver.h"
#include "draw/clip.h"
#include "draw/pipeline.h"
#include "korvan.h"

namespace korvan {

namespace {

// Draws the edges of one outline through the clipper, keeping track of
// whether the device pen stands where the next edge starts.
struct Outline {
  explicit Outline(Global& global)
      : g(global),
        plain(global.shieldCount == 0),
        xlo(static_cast<float>(global.clipXmin) - 0.001f),
        xhi(static_cast<float>(global.clipXmax) + 0.001f),
        ylo(static_cast<float>(global.clipYmin) - 0.001f),
        yhi(static_cast<float>(global.clipYmax) + 0.001f) {}

  Global& g;
  // no blanking, and the window as the clipper tests it (drivers change
  // neither while they draw)
  const bool plain;
  const float xlo, xhi, ylo, yhi;
  bool penAt = false;
  float px = 0.0f, py = 0.0f;  // where the last edge ended
  // Edges drawn whole wait here and go to the device in one batch.
  static constexpr int kBatch = 64;
  float bx[kBatch], by[kBatch];
  int batched = 0;

  ~Outline() { send(); }
  void send() {
    if (batched > 0) xjdraws(g, bx, by, batched);
    batched = 0;
  }
  void move(float x, float y) {
    send();
    penAt = jqqclp(g, x, y) == 0;
    if (penAt) xjdraw(g, x, y, 3);
    px = x;
    py = y;
  }
  void to(float x, float y) {
    // An edge from where the pen stands to a point inside the window (as
    // the clipper tests it) is drawn whole: the clipper's result, sooner.
    if (penAt && plain && x >= xlo && x <= xhi && y >= ylo && y <= yhi) {
      bx[batched] = x;
      by[batched] = y;
      if (++batched == kBatch) send();
      px = x;
      py = y;
      return;
    }
    send();
    penAt = qqclps(g, px, py, x, y, penAt);
    px = x;
    py = y;
  }
};

// One outline at half-width d. sn[i], cs[i] give the direction of segment i
// (y pointing up); its page direction is (cs, -sn) and its normal (sn, cs).
void outline(Global& g, const float* x, const float* y, int n, const float* sn,
             const float* cs, float d, bool closed) {
  Outline o(g);
  const int last = n - 2;  // index of the last segment
  auto offX = [&](int p, int i, float side) { return x[p] + side * d * sn[i]; };
  auto offY = [&](int p, int i, float side) { return y[p] + side * d * cs[i]; };
  if (closed) {
    // Each pass is a closed loop that starts and ends on the offset of the
    // closing segment; the join at the first point is an ordinary bevel.
    o.move(offX(n - 1, last, -1.0f), offY(n - 1, last, -1.0f));
    for (int i = 0; i <= last; ++i) {
      o.to(offX(i, i, -1.0f), offY(i, i, -1.0f));
      o.to(offX(i + 1, i, -1.0f), offY(i + 1, i, -1.0f));
    }
    o.move(offX(0, 0, 1.0f), offY(0, 0, 1.0f));
    for (int i = last; i >= 0; --i) {
      o.to(offX(i + 1, i, 1.0f), offY(i + 1, i, 1.0f));
      o.to(offX(i, i, 1.0f), offY(i, i, 1.0f));
    }
    return;
  }
  // Open stroke: out along the left side, around the square end cap, back
  // along the right side and around the start cap.
  const float sx = offX(0, 0, -1.0f) - d * cs[0], sy = offY(0, 0, -1.0f) + d * sn[0];
  o.move(sx, sy);
  for (int i = 0; i <= last; ++i) {
    if (i > 0) o.to(offX(i, i, -1.0f), offY(i, i, -1.0f));
    float ex = offX(i + 1, i, -1.0f), ey = offY(i + 1, i, -1.0f);
    if (i == last) {
      ex += d * cs[i];
      ey -= d * sn[i];
    }
    o.to(ex, ey);
  }
  for (int i = last; i >= 0; --i) {
    float bx = offX(i + 1, i, 1.0f), by = offY(i + 1, i, 1.0f);
    if (i == last) {
      bx += d * cs[i];
      by -= d * sn[i];
    }
    o.to(bx, by);
    float ex = offX(i, i, 1.0f), ey = offY(i, i, 1.0f);
    if (i == 0) {
      ex -= d * cs[i];
      ey += d * sn[i];
    }
    o.to(ex, ey);
  }
  o.to(sx, sy);
}

}  // namespace

void qqwide(Global& g) {
  const int n = g.strokeCount;
  if (g.lineWidth <= 1 || n < 2) return;
  const int w = static_cast<int>(static_cast<float>(g.lineWidth) * g.unitScale + 0.5f);
  if (w <= 1) return;
  const float* x = g.strokeX;
  const float* y = g.strokeY;
  float sn[100], cs[100];
  for (int i = 0; i + 1 < n; ++i) {
    const float a = y[i] - y[i + 1], b = x[i + 1] - x[i];
    // The sine and cosine of the direction are the components of the unit
    // vector along it: one square root instead of an arc tangent, a sine and
    // a cosine.
    const double da = a, db = b;
    const double len = std::sqrt(da * da + db * db);
    if (std::fabs(b) > 1e-6f && std::isfinite(len)) {
      sn[i] = static_cast<float>(da / len);
      cs[i] = static_cast<float>(db / len);
    } else {
      // (nearly) vertical, of no length, or not finite: qqatan's direction
      const float theta = qqatan(a, b);
      sn[i] = std::sin(theta);
      cs[i] = std::cos(theta);
    }
  }
  const bool closed =
      n >= 3 && std::fabs(x[0] - x[n - 1]) < 0.5f && std::fabs(y[0] - y[n - 1]) < 0.5f;
  const int m = (w + 1) / 3;
  for (int k = 1; k <= m; ++k) {
    float d = k == m ? static_cast<float>(w) / 2.0f : 1.5f * static_cast<float>(k);
    outline(g, x, y, n, sn, cs, d / g.unitScale, closed);
  }
}

}  // namespace korvan

using namespace korvan;

extern "C" {

void linwid(int nwidth) {
  Global* gp = jqqlev(1, 3, "linwid");
  if (!gp) return;
  Global& g = *gp;
  if (!jqqval(g, nwidth, 1, 32000)) return;
  qqstrk(g);
  if (g.driver)
    g.driver->width(g, nwidth);
  else
    g.lineWidth = nwidth;
}

}  // extern "C"
