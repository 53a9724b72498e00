// Shielded regions: the region list of 16-bit records, its registration and
// removal (shield, shlrec, shlrct, shlres), and the blanking stage that the
// stroke pipeline calls for every segment while regions exist.
#include "draw/shield.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "core/state.h"
#include "devices/dispatch.h"
#include "draw/clip.h"
#include "draw/figure.h"
#include "draw/pipeline.h"
#include "korvan.h"

namespace korvan {

namespace {

constexpr int kListSize = 1000;
constexpr int kMaxCrossPoints = 300;
constexpr float kTol = 0.001f;

enum class Cut { Outside, Inside, Crosses };

// The side-code clipper applied to a rectangle. On Crosses, the moved ends
// are the points where the segment enters (start) or leaves (end) it.
Cut clipRect(float& x1, float& y1, float& x2, float& y2, float xmin, float ymin, float xmax,
             float ymax, bool& startMoved, bool& endMoved) {
  startMoved = endMoved = false;
  // Each cut puts one coordinate on an edge, so a few settle any segment.
  for (int round = 0; round < 8; ++round) {
    int cx1, cy1, cx2, cy2;
    bool in1 = chkval(x1, y1, &cx1, &cy1, xmin, ymin, xmax, ymax) == 0;
    bool in2 = chkval(x2, y2, &cx2, &cy2, xmin, ymin, xmax, ymax) == 0;
    if (in1 && in2) return (startMoved || endMoved) ? Cut::Crosses : Cut::Inside;
    if ((cx1 == cx2 && cx1 != 2) || (cy1 == cy2 && cy1 != 2)) return Cut::Outside;
    bool first = !in1;
    qqcutp(x1, y1, x2, y2, first, first ? cx1 : cx2, first ? cy1 : cy2, xmin, ymin, xmax, ymax);
    (first ? startMoved : endMoved) = true;
  }
  return Cut::Outside;
}

// Record length at position i of the list.
int recordLength(const std::int16_t* list, int i) {
  switch (list[i] / 100) {
    case 1: return 6;
    case 2: return 7;
    case 3: return 5;
    case 4:
    case 5: return 7;
    case 6: return 2 * list[i + 2] + 3;
    default: return 2;
  }
}

int recordClass(const std::int16_t* list, int i) { return (list[i] / 10) % 10; }
bool inForce(const std::int16_t* list, int i) { return list[i] % 10 == 0; }

std::int16_t clamp16(long v) {
  return static_cast<std::int16_t>(std::clamp<long>(v, INT16_MIN, INT16_MAX));
}

// A rectangle record as its frame: corner, extent, and the turn that
// brings page points into it.
struct Frame {
  float x0, y0, w, h;
  bool rotated;
  float sa, ca;
};

Frame frameOf(const std::int16_t* r) {
  Frame f{};
  f.rotated = r[0] / 100 == 2;
  if (f.rotated) {
    f.x0 = r[2];
    f.y0 = r[3];
    f.w = static_cast<float>(r[4] - r[2]);
    f.h = static_cast<float>(r[5] - r[3]);
    float a = static_cast<float>(r[6]) / 1000.0f;
    f.sa = std::sin(a);
    f.ca = std::cos(a);
  } else {
    f.x0 = std::min(r[2], r[4]);
    f.y0 = std::min(r[3], r[5]);
    f.w = static_cast<float>(std::abs(r[4] - r[2]));
    f.h = static_cast<float>(std::abs(r[5] - r[3]));
    f.sa = 0.0f;
    f.ca = 1.0f;
  }
  return f;
}

// Page point into the frame of the rectangle and back.
void toFrame(const Frame& f, float& x, float& y) {
  x -= f.x0;
  y -= f.y0;
  if (f.rotated) trfro2(&x, &y, 1, f.sa, f.ca);
}
void fromFrame(const Frame& f, float& x, float& y) {
  if (f.rotated) trfro2(&x, &y, 1, -f.sa, f.ca);
  x += f.x0;
  y += f.y0;
}

// Removes the records for which drop(position, ordinal of its class) is
// true, closing the gaps; returns the number removed.
template <class Drop>
int removeRecords(Global& g, Drop drop) {
  int out = 0, removed = 0;
  int ordinal[6] = {0, 0, 0, 0, 0, 0};
  for (int i = 0; i < g.shieldUsed;) {
    int len = recordLength(g.shieldList, i);
    int cls = recordClass(g.shieldList, i);
    ordinal[cls % 6] += 1;
    if (drop(i, ordinal[cls % 6])) {
      ++removed;
    } else {
      if (out != i) std::copy(g.shieldList + i, g.shieldList + i + len, g.shieldList + out);
      out += len;
    }
    i += len;
  }
  g.shieldUsed = out;
  g.shieldCount -= removed;
  if (g.shieldCount < 0) g.shieldCount = 0;
  return removed;
}

// The frame thickness of user regions (that of the axis-system frame).
int frameThickness(const Global&) { return 1; }

// Closed rectangles around the box, each one unit further out, turned by
// angle degrees about (x, y).
void drawFrame(Global& g, int x, int y, int w, int h, int thickness, float angle) {
  bool rotated = std::fabs(angle) > 0.001f;
  float sa = 0.0f, ca = 1.0f;
  if (rotated) {
    float t = angle * g.degToRad;
    sa = -std::sin(t);
    ca = std::cos(t);
  }
  int count = std::abs(thickness);
  for (int k = 0; k < count; ++k) {
    float o = thickness > 0 ? static_cast<float>(k) : -static_cast<float>(k);
    float px[5] = {-o, -o, static_cast<float>(w - 1) + o, static_cast<float>(w - 1) + o, -o};
    float py[5] = {-o, static_cast<float>(h - 1) + o, static_cast<float>(h - 1) + o, -o, -o};
    if (rotated) trfro2(px, py, 5, sa, ca);
    qqmove(g, px[0] + static_cast<float>(x), py[0] + static_cast<float>(y));
    for (int i = 1; i < 5; ++i) qqdraw(g, px[i] + static_cast<float>(x), py[i] + static_cast<float>(y));
  }
  qqstrk(g);
}

}  // namespace

int qqbl06(Global& g, float x, float y) {
  if (g.shieldCount == 0) return 2;
  for (int i = 0; i < g.shieldUsed; i += recordLength(g.shieldList, i)) {
    const std::int16_t* r = g.shieldList + i;
    int type = r[0] / 100;
    if (!inForce(g.shieldList, i) || (type != 1 && type != 2)) continue;
    Frame f = frameOf(r);
    float fx = x, fy = y;
    toFrame(f, fx, fy);
    if (fx >= 0.0f && fx <= f.w && fy >= 0.0f && fy <= f.h) return 3;
  }
  return 2;
}

void qqbl01(Global& g, float x1, float y1, float x2, float y2) {
  float dx = x2 - x1, dy = y2 - y1;
  if (std::fabs(dx) < kTol && std::fabs(dy) < kTol) {
    xjdraw(g, x2, y2, qqbl06(g, 0.5f * (x1 + x2), 0.5f * (y1 + y2)));
    return;
  }
  float px[kMaxCrossPoints], py[kMaxCrossPoints];
  int np = 0;
  for (int i = 0; i < g.shieldUsed; i += recordLength(g.shieldList, i)) {
    const std::int16_t* r = g.shieldList + i;
    int type = r[0] / 100;
    if (!inForce(g.shieldList, i) || (type != 1 && type != 2)) continue;
    Frame f = frameOf(r);
    float ax = x1, ay = y1, bx = x2, by = y2;
    toFrame(f, ax, ay);
    toFrame(f, bx, by);
    bool sm, em;
    Cut c = clipRect(ax, ay, bx, by, 0.0f, 0.0f, f.w, f.h, sm, em);
    if (c == Cut::Inside) {
      xjdraw(g, x2, y2, 3);
      return;
    }
    if (c == Cut::Outside) continue;
    if (np + 2 > kMaxCrossPoints) {
      warnin(g, 26);
      break;
    }
    if (sm) {
      fromFrame(f, ax, ay);
      px[np] = ax;
      py[np++] = ay;
    }
    if (em) {
      fromFrame(f, bx, by);
      px[np] = bx;
      py[np++] = by;
    }
  }

  // The points strictly between the ends, ordered from the start, along the
  // coordinate in which the segment is longer.
  bool alongX = std::fabs(dx) >= std::fabs(dy);
  float lo = alongX ? std::min(x1, x2) : std::min(y1, y2);
  float hi = alongX ? std::max(x1, x2) : std::max(y1, y2);
  float start = alongX ? x1 : y1;
  float t[kMaxCrossPoints];
  int order[kMaxCrossPoints];
  int kept = 0;
  for (int i = 0; i < np; ++i) {
    float v = alongX ? px[i] : py[i];
    if (v > lo && v < hi) {
      t[i] = std::fabs(v - start);
      order[kept++] = i;
    }
  }
  std::sort(order, order + kept, [&](int a, int b) { return t[a] < t[b]; });

  float cx = x1, cy = y1;
  for (int k = 0; k < kept; ++k) {
    float qx = px[order[k]], qy = py[order[k]];
    if (std::fabs(qx - cx) <= kTol && std::fabs(qy - cy) <= kTol) continue;
    xjdraw(g, qx, qy, qqbl06(g, 0.5f * (cx + qx), 0.5f * (cy + qy)));
    cx = qx;
    cy = qy;
  }
  xjdraw(g, x2, y2, qqbl06(g, 0.5f * (cx + x2), 0.5f * (cy + y2)));
}

bool qqbl07(Global& g, int type, const int* entries, int count) {
  if (g.shieldCount == 0) {
    g.shieldUsed = 0;
    g.shieldSerial = 0;
    g.userShields = 0;
  }
  int len = count + 2;
  if (g.shieldUsed + len > kListSize) {
    warnin(g, 47);
    return false;
  }
  g.shieldSerial += 1;
  g.shieldCount += 1;
  std::int16_t* r = g.shieldList + g.shieldUsed;
  r[0] = static_cast<std::int16_t>(type * 100 + g.shieldClass * 10);
  r[1] = clamp16(g.shieldSerial);
  for (int i = 0; i < count; ++i) r[2 + i] = clamp16(entries[i]);
  g.shieldUsed += len;
  if (g.shieldClass == 0) g.userShields += 1;
  return true;
}

void qqshrg(Global& g, int x, int y, int w, int h, float angle) {
  qqstrk(g);
  bool rotated = std::fabs(angle) >= 0.001f;
  int thick = frameThickness(g);
  if (g.shieldClass == 0 && thick != 0) drawFrame(g, x, y, w, h, thick, rotated ? angle : 0.0f);
  if (!rotated) {
    int e[4] = {x, y, qqsat(static_cast<long long>(x) + w - 1), qqsat(static_cast<long long>(y) + h - 1)};
    qqbl07(g, 1, e, 4);
  } else {
    float a = qqang2(angle * g.degToRad);
    int e[5] = {x, y, qqsat(static_cast<long long>(x) + w - 1),
                qqsat(static_cast<long long>(y) + h - 1), static_cast<int>(std::lround(a * 1000.0f))};
    qqbl07(g, 2, e, 5);
  }
}

void qqshdl(Global& g, int cls) {
  if (g.shieldCount == 0) return;
  qqstrk(g);
  removeRecords(g, [&](int i, int) { return recordClass(g.shieldList, i) == cls; });
}

}  // namespace korvan

using namespace korvan;

extern "C" {

void shlrec(int nx, int ny, int nw, int nh) {
  Global* g = jqqlev(1, 3, "shlrec");
  if (!g) return;
  if (nw < 1 || nh < 1) {
    warni1(*g, 2, std::min(nw, nh));
    return;
  }
  qqshrg(*g, qqsat(static_cast<long long>(nx) + g->shiftX),
         qqsat(static_cast<long long>(ny) + g->shiftY), nw, nh, 0.0f);
}

void shlrct(int nx, int ny, int nw, int nh, float angle) {
  Global* g = jqqlev(1, 3, "shlrct");
  if (!g || !jqqfin(*g, {angle})) return;
  if (std::fabs(angle) < 0.001f) {
    shlrec(nx, ny, nw, nh);
    return;
  }
  if (nw < 1 || nh < 1) {
    warni1(*g, 2, std::min(nw, nh));
    return;
  }
  qqshrg(*g, qqsat(static_cast<long long>(nx) + g->shiftX),
         qqsat(static_cast<long long>(qqyorg(*g, ny)) + g->shiftY), nw, nh, angle);
}

void shlres(int n) {
  Global* gp = jqqlev(1, 3, "shlres");
  if (!gp) return;
  Global& g = *gp;
  if (n < 1) {
    warni1(g, 2, n);
    return;
  }
  qqstrk(g);
  int first = g.userShields - n;  // user regions numbered above this go
  int removed = removeRecords(g, [&](int i, int ordinal) {
    return recordClass(g.shieldList, i) == 0 && ordinal > first;
  });
  g.userShields -= removed;
}

void shield(const char* cls, const char* mode) {
  Global* gp = jqqlev(1, 3, "shield");
  if (!gp) return;
  Global& g = *gp;
  int c = jqqind(g, "MESS+SYMB+BARS+PIE +LEGE", 5, cls);
  if (c == 0) return;
  int m = jqqind(g, "ON  +OFF +VIS +NOVI+DELE+RESE", 6, mode);
  if (m == 0) return;
  qqstrk(g);
  switch (m) {
    case 1: g.shieldAuto[c - 1] = 1; break;
    case 2: g.shieldAuto[c - 1] = 0; break;
    case 3:
    case 4:
      for (int i = 0; i < g.shieldUsed; i += recordLength(g.shieldList, i)) {
        if (recordClass(g.shieldList, i) != c) continue;
        std::int16_t code = g.shieldList[i];
        g.shieldList[i] = static_cast<std::int16_t>(code - code % 10 + (m == 4 ? 1 : 0));
      }
      break;
    default:
      if (m == 6) g.shieldAuto[c - 1] = 0;
      removeRecords(g, [&](int i, int) { return recordClass(g.shieldList, i) == c; });
      break;
  }
}

}  // extern "C"
