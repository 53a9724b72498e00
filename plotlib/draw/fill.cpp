// Area fills: areaf, the device or hatched polygon fill, the scan-line
// hatching shared with symbols, arrow heads and glyphs, and the patterns.
#include "draw/fill.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "core/state.h"
#include "devices/device_table.h"
#include "devices/dispatch.h"
#include "devices/driver.h"
#include "draw/figure.h"
#include "draw/pipeline.h"
#include "korvan.h"

namespace korvan {

namespace {

// Taller figures than this many scan lines are hatched only where the
// clipping window can show them.
constexpr long long kMaxScanLines = 200000;

struct Edge {
  float yl, yh;  // lower and upper end (yl < yh)
  float xl, xh;
};

// The line style of a hatching run, put back afterwards.
struct SavedStyle {
  int style;
  int pattern[10];
  int length;
};

SavedStyle saveStyle(const Global& g) {
  SavedStyle s{};
  s.style = g.lineStyle;
  std::memcpy(s.pattern, g.linePattern, sizeof s.pattern);
  s.length = g.patternLength;
  return s;
}

// Back to the caller's pattern (a user pattern too), with its phase reset
// as any style change does.
void restoreStyle(Global& g, const SavedStyle& s) {
  g.lineStyle = s.style;
  std::memcpy(g.linePattern, s.pattern, sizeof s.pattern);
  g.patternLength = s.length;
  g.patternIndex = 1;
  g.penUp = 0;
  g.patternRest = static_cast<float>(s.pattern[0]);
}

// lintyp without disturbing the routine name of later warnings.
void hatchStyle(Global& g, int style) {
  char name[sizeof g.routineName];
  std::memcpy(name, g.routineName, sizeof name);
  lintyp(style);
  std::memcpy(g.routineName, name, sizeof name);
}

int styleOfType(int type) {
  switch (type) {
    case 5: return 6;  // dotl
    case 6: return 5;  // dashm
    case 7: return 4;  // chndot
    default: return 0;
  }
}

void resetBand(Global& g) {
  g.bandDrawing = 1;
  g.bandCount = 0;
  g.bandStarted = 0;
}

// One hatching pass of dareaf at angle a (degrees).
void hatchPass(Global& g, const float* x, const float* y, int n, int a, float* wx, float* wy) {
  std::memcpy(wx, x, sizeof(float) * static_cast<std::size_t>(n));
  std::memcpy(wy, y, sizeof(float) * static_cast<std::size_t>(n));
  // The window relative to the polygon, in the turned frame.
  float cx[4] = {static_cast<float>(g.clipXmin - g.shiftX), static_cast<float>(g.clipXmax - g.shiftX),
                 static_cast<float>(g.clipXmax - g.shiftX), static_cast<float>(g.clipXmin - g.shiftX)};
  float cy[4] = {static_cast<float>(g.clipYmin - g.shiftY), static_cast<float>(g.clipYmin - g.shiftY),
                 static_cast<float>(g.clipYmax - g.shiftY), static_cast<float>(g.clipYmax - g.shiftY)};
  g.hatchRotated = 0;
  if (a != 0) {
    float t = static_cast<float>(a) * g.degToRad;
    g.hatchSin = std::sin(t);
    g.hatchCos = std::cos(t);
    g.hatchRotated = 1;
    trfro2(wx, wy, n, g.hatchSin, g.hatchCos);
    trfro2(cx, cy, 4, g.hatchSin, g.hatchCos);
  }
  resetBand(g);
  float lo = std::min(std::min(cy[0], cy[1]), std::min(cy[2], cy[3]));
  float hi = std::max(std::max(cy[0], cy[1]), std::max(cy[2], cy[3]));
  gkwfa(g, n, wx, wy, g.hatchSpacing, 100, dlinef, lo, hi);
  g.hatchRotated = 0;
}

}  // namespace

bool gkwfa(Global& g, int n, const float* x, const float* y, float s, int maxCrossings,
           SpanFn line, float visLo, float visHi) {
  if (n < 2 || !(s > 0.0f)) return true;
  std::vector<Edge> edges;
  std::vector<int> active;
  std::vector<float> cross;     // crossings of all scan lines, line after line
  std::vector<int> lineStart;   // first crossing of each scan line
  std::vector<float> row;
  long long k0 = 0;
  try {
    edges.reserve(static_cast<std::size_t>(n));
    float ymin = y[0], ymax = y[0];
    for (int i = 0; i < n; ++i) {
      int j = i + 1 == n ? 0 : i + 1;
      ymin = std::min(ymin, y[i]);
      ymax = std::max(ymax, y[i]);
      if (y[i] == y[j]) continue;  // horizontal edges never cross a scan line
      if (y[i] < y[j])
        edges.push_back({y[i], y[j], x[i], x[j]});
      else
        edges.push_back({y[j], y[i], x[j], x[i]});
    }
    if (edges.empty()) return true;
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.yl < b.yl; });

    // Scan lines at multiples of the spacing, so that the hatch lines of
    // neighbouring figures with the same pattern line up.
    double ds = static_cast<double>(s);
    k0 = static_cast<long long>(std::trunc(static_cast<double>(ymin) / ds - 0.5));
    long long k1 = static_cast<long long>(std::floor((static_cast<double>(ymax) + ds / 2.0) / ds)) + 1;
    if (k1 - k0 > kMaxScanLines) {
      k0 = std::max(k0, static_cast<long long>(std::floor(static_cast<double>(visLo) / ds)) - 1);
      k1 = std::min(k1, static_cast<long long>(std::ceil(static_cast<double>(visHi) / ds)) + 1);
      if (k1 < k0) return true;
    }
    float yEnd = ymax + s / 2.0f;

    std::size_t next = 0;
    long long k = k0;
    for (; k <= k1; ++k) {
      float yy = static_cast<float>(k) * s;
      if (yy > yEnd) break;
      while (next < edges.size() && edges[next].yl <= yy) active.push_back(static_cast<int>(next++));
      std::size_t keep = 0;
      for (int e : active)
        if (edges[static_cast<std::size_t>(e)].yh > yy) active[keep++] = e;
      active.resize(keep);
      row.clear();
      for (int e : active) {
        const Edge& d = edges[static_cast<std::size_t>(e)];
        // Lower end included, upper end excluded: a vertex counts once.
        if (d.yl <= yy && yy < d.yh) {
          double t = (static_cast<double>(yy) - d.yl) / (static_cast<double>(d.yh) - d.yl);
          row.push_back(static_cast<float>(d.xl + (static_cast<double>(d.xh) - d.xl) * t));
        }
      }
      if (static_cast<int>(row.size()) > maxCrossings) {
        warnin(g, 26);
        break;
      }
      std::sort(row.begin(), row.end());
      lineStart.push_back(static_cast<int>(cross.size()));
      for (std::size_t i = 0; i < row.size(); ++i) {
        if (i + 1 < row.size() && row[i] == row[i + 1]) {
          ++i;  // a pair of equal crossings cancels
          continue;
        }
        cross.push_back(row[i]);
      }
    }
    lineStart.push_back(static_cast<int>(cross.size()));
  } catch (const std::bad_alloc&) {
    warnin(g, 53);
    return false;
  }

  // Draw in passes: the i-th span of every line for i = 1..4, zig-zagging,
  // then all further spans left to right.
  int lines = static_cast<int>(lineStart.size()) - 1;
  auto yOf = [&](int i) { return static_cast<float>(k0 + i) * s; };
  auto spans = [&](int i) { return (lineStart[static_cast<std::size_t>(i) + 1] - lineStart[static_cast<std::size_t>(i)]) / 2; };
  int most = 0;
  for (int i = 0; i < lines; ++i) most = std::max(most, spans(i));
  for (int pass = 1; pass <= std::min(most, 4); ++pass) {
    bool forward = true;
    for (int i = 0; i < lines; ++i) {
      if (spans(i) < pass) continue;
      const float* c = cross.data() + lineStart[static_cast<std::size_t>(i)] + 2 * (pass - 1);
      float yy = yOf(i);
      if (forward)
        line(g, c[0], yy, c[1], yy);
      else
        line(g, c[1], yy, c[0], yy);
      forward = !forward;
    }
  }
  if (most >= 5) {
    for (int i = 0; i < lines; ++i) {
      float yy = yOf(i);
      for (int sp = 4; sp < spans(i); ++sp) {
        const float* c = cross.data() + lineStart[static_cast<std::size_t>(i)] + 2 * sp;
        line(g, c[0], yy, c[1], yy);
      }
    }
  }
  return true;
}

void arealx(Global& g, const float* x, const float* y, int n) {
  if (n < 1) return;
  strtqq(g, x[0], y[0]);
  for (int i = 1; i < n; ++i) connqq(g, x[i], y[i]);
  connqq(g, x[0], y[0]);
}

void dareaf(Global& g, const float* x, const float* y, int n) {
  if (n < 1 || g.fillType == 0) return;
  if (g.shadingPattern == 16 && g.shieldCount == 0 && g.driver && g.driver->polygons()) {
    bool inside = true;
    for (int i = 0; i < n && inside; ++i) {
      float px = x[i] + static_cast<float>(g.shiftX), py = y[i] + static_cast<float>(g.shiftY);
      inside = px >= static_cast<float>(g.clipXmin) && px <= static_cast<float>(g.clipXmax) &&
               py >= static_cast<float>(g.clipYmin) && py <= static_cast<float>(g.clipYmax);
    }
    if (inside) {
      qqstrk(g);
      xjpoly(g, x, y, n);
      return;
    }
  }
  std::unique_ptr<float[]> work(new (std::nothrow) float[2 * static_cast<std::size_t>(n)]);
  if (!work) {
    warnin(g, 53);
    return;
  }
  float* wx = work.get();
  float* wy = wx + n;
  // A smooth driver fills a solid polygon at once; the lines that would
  // fill it are still drawn through the pipeline, and counted, but not shown.
  const bool filled = g.shadingPattern == 16 && g.shieldCount == 0 && g.driver &&
                      g.driver->fillsSolid(g);
  if (filled) {
    qqstrk(g);
    xjfill(g, x, y, n);
    g.driver->countOnly(g, true);
  }
  SavedStyle saved = saveStyle(g);
  hatchStyle(g, styleOfType(g.fillType));
  hatchPass(g, x, y, n, g.hatchAngle, wx, wy);
  if (g.crossHatch == 1) {
    int a = g.hatchAngle < 90 ? g.hatchAngle + 90 : 180 - g.hatchAngle;
    hatchPass(g, x, y, n, a, wx, wy);
  }
  qqstrk(g);
  if (filled) g.driver->countOnly(g, false);
  restoreStyle(g, saved);
}

void dlinef(Global& g, float x1, float y1, float x2, float y2) {
  if (g.fillType != 1 && g.fillType != 5 && g.hatchGroupOn > 0 && g.hatchGroupOff > 0) {
    if (!g.bandStarted || y1 != g.bandY) {
      // A new hatch line: count it in the band being drawn or skipped.
      if (g.bandDrawing && g.bandCount >= g.hatchGroupOn) {
        g.bandDrawing = 0;
        g.bandCount = 0;
      } else if (!g.bandDrawing && g.bandCount >= g.hatchGroupOff) {
        g.bandDrawing = 1;
        g.bandCount = 0;
      }
      g.bandCount += 1;
      g.bandStarted = 1;
      g.bandY = y1;
    }
    if (!g.bandDrawing) return;
  }
  float px[2] = {x1, x2}, py[2] = {y1, y2};
  if (g.hatchRotated) trfro2(px, py, 2, -g.hatchSin, g.hatchCos);
  strtqq(g, px[0], py[0]);
  connqq(g, px[1], py[1]);
}

void xline(Global& g, float x1, float y1, float x2, float y2) {
  qqmove(g, x1, y1);
  qqdraw(g, x2, y2);
}

void shdfll(Global& g, const float* x, const float* y, int n) {
  if (g.glyphFill == 0 || n < 3) return;
  std::unique_ptr<float[]> work(new (std::nothrow) float[2 * static_cast<std::size_t>(n)]);
  if (!work) {
    warnin(g, 53);
    return;
  }
  float* rx = work.get();
  float* ry = rx + n;
  // Turned by 90 degrees, so that the scan lines run vertically on the page.
  for (int i = 0; i < n; ++i) {
    rx[i] = -y[i];
    ry[i] = x[i];
  }
  gkwfa(g, n, rx, ry, 2.0f, 20, ffllin, static_cast<float>(g.clipXmin),
        static_cast<float>(g.clipXmax));
}

void ffllin(Global& g, float x1, float y1, float x2, float y2) {
  qqmove(g, y1, -x1);
  qqdraw(g, y2, -x2);
}

bool qqmypt(Global& g, int iangle, int itype, int idens, int icross) {
  if (!jqqval(g, iangle, 0, 179) || !jqqval(g, itype, 0, 7) || !jqqval(g, idens, 0, 9) ||
      !jqqval(g, icross, 0, 1))
    return false;
  g.hatchAngle = iangle;
  g.crossHatch = icross;
  g.fillType = itype;
  g.hatchDensity = idens;
  g.shadingPattern = iangle * 1000 + itype * 100 + idens * 10 + icross;
  float spacing;
  switch (itype) {
    case 2:
      spacing = 20.0f;
      g.hatchGroupOn = 2;
      g.hatchGroupOff = static_cast<int>(static_cast<float>(idens) + 0.9999f);
      break;
    case 3:
      spacing = 15.0f;
      g.hatchGroupOn = 3;
      g.hatchGroupOff = static_cast<int>(static_cast<float>(idens) + 0.9999f);
      break;
    case 4:
      spacing = 1.0f;
      g.hatchGroupOn = 8;
      g.hatchGroupOff = static_cast<int>(5.0f * static_cast<float>(idens) + 4.9999f);
      break;
    default:
      spacing = 5.0f * static_cast<float>(idens) +
                ((deviceInfo(g.device).cls == DeviceClass::Wmf && idens == 0) ? 0.39999f : 1.9999f);
      break;
  }
  g.hatchSpacing = spacing / g.unitScale;
  return true;
}

}  // namespace korvan

using namespace korvan;

namespace {

const int kPatterns[18] = {0,      45150, 150450, 135150, 45450, 45151, 135210, 45451, 30140,
                           45211,  151,   45310,  70470,  45311, 451,   45210,  100,   550};

}  // namespace

extern "C" {

void areaf(const int* nx, const int* ny, int n) {
  Global* gp = jqqlev(1, 3, "areaf");
  if (!gp) return;
  Global& g = *gp;
  if (!nx || !ny || n < 1) {
    warni1(g, 2, n);
    return;
  }
  std::unique_ptr<float[]> work(new (std::nothrow) float[2 * static_cast<std::size_t>(n)]);
  if (!work) {
    warnin(g, 53);
    return;
  }
  float* x = work.get();
  float* y = x + n;
  for (int i = 0; i < n; ++i) {
    x[i] = static_cast<float>(nx[i]);
    y[i] = static_cast<float>(qqyorg(g, ny[i]));
  }
  if (g.outlineOn == 1) arealx(g, x, y, n);
  if (g.fillType != 0) dareaf(g, x, y, n);
}

void shdpat(int n) {
  Global& g = chkini("shdpat");
  if (n < 0) {
    warni1(g, 2, n);
    return;
  }
  int code = n <= 17 ? kPatterns[n] : n;
  if (qqmypt(g, code / 1000, (code % 1000) / 100, (code % 100) / 10, code % 2)) g.shadingPattern = n;
}

void mypat(int iangle, int itype, int idens, int icross) {
  Global& g = chkini("mypat");
  qqmypt(g, iangle, itype, idens, icross);
}

}  // extern "C"
