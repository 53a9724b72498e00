// What curve adds to its line: markers at the points, and the record of a
// named curve for the legend (bar sets and bands are recorded the same way).
#include <cmath>
#include <cstdio>
#include <cstring>

#include "axes/axes.h"
#include "core/state.h"
#include "draw/pipeline.h"
#include "draw/symbol.h"

namespace korvan {

bool qqusbl(const Global& g, float x, float y) {
  return std::isfinite(x) && std::isfinite(y) &&
         (g.logFallback ||
          ((!g.axis[0].logScale || x > 0.0f) && (!g.axis[1].logScale || y > 0.0f)));
}

void qqcmrk(Global& g, const float* x, const float* y, int n) {
  // Markers whose centre lies further out than their own size cannot reach
  // into the window; skipping them keeps long curves quick.
  const float reach = static_cast<float>(g.symbolHeight);
  const float x0 = static_cast<float>(g.clipXmin - g.shiftX) - reach;
  const float x1 = static_cast<float>(g.clipXmax - g.shiftX) + reach;
  const float y0 = static_cast<float>(g.clipYmin - g.shiftY) - reach;
  const float y1 = static_cast<float>(g.clipYmax - g.shiftY) + reach;
  for (int i = 0; i < n; ++i) {
    if (!qqusbl(g, x[i], y[i])) continue;
    float xp, yp;
    qqrel2(g, x[i], y[i], &xp, &yp);
    if (xp < x0 || xp > x1 || yp < y0 || yp > y1) continue;
    dsymbl(g, g.curveSymbol, static_cast<int>(std::lround(xp)), static_cast<int>(std::lround(yp)));
  }
  qqstrk(g);
}

void qqkadd(Global& g, int kind) {
  if (!g.keyNamed) return;
  g.keyNamed = 0;
  if (g.keyCount >= kMaxKeys) {
    qqserr(g, "Too many named items for the legend");
    warnin(g, 101);
    return;
  }
  KeyEntry& k = g.keys[g.keyCount++];
  std::snprintf(k.name, sizeof k.name, "%s", g.keyName);
  k.kind = kind;
  k.colour = g.currentColour;
  std::memcpy(k.pattern, g.linePattern, sizeof k.pattern);
  k.patternLength = g.patternLength;
  k.lineWidth = g.lineWidth;
  k.symbol = kind == 1 ? g.curveSymbol : -1;
  k.lineOn = kind == 1 ? g.curveLine : 0;
  k.shading = g.shadingPattern;
  k.fillType = g.fillType;
  k.hatchAngle = g.hatchAngle;
  k.crossHatch = g.crossHatch;
  k.hatchDensity = g.hatchDensity;
  k.hatchGroupOn = g.hatchGroupOn;
  k.hatchGroupOff = g.hatchGroupOff;
  k.hatchSpacing = g.hatchSpacing;
}

}  // namespace korvan
