// legend: a framed list of the named items of the current axis system, each
// beside a sample in the look it was drawn in. The box is registered as a
// shielded region (class LEGE), so later curves pass behind it.
#include <algorithm>
#include <cstring>

#include "charts/charts.h"
#include "core/state.h"
#include "devices/driver.h"
#include "draw/colour.h"
#include "draw/device_ops.h"
#include "draw/pipeline.h"
#include "draw/shield.h"
#include "draw/symbol.h"
#include "korvan.h"
#include "text/text.h"

using namespace korvan;

namespace {

constexpr int kLegendClass = 5;

struct LineState {
  int style, pattern[10], length, index, penUp, width, colour;
  float rest;
};

LineState saveLine(const Global& g) {
  LineState s{};
  s.style = g.lineStyle;
  std::memcpy(s.pattern, g.linePattern, sizeof s.pattern);
  s.length = g.patternLength;
  s.index = g.patternIndex;
  s.penUp = g.penUp;
  s.rest = g.patternRest;
  s.width = g.lineWidth;
  s.colour = g.currentColour;
  return s;
}

void setWidth(Global& g, int w) {
  if (w == g.lineWidth) return;
  qqstrk(g);
  if (g.driver)
    g.driver->width(g, w);
  else
    g.lineWidth = w;
}

void setColour(Global& g, int c) {
  if (c != g.currentColour) {
    qqstrk(g);
    qqsclr(g, c);
  }
}

void restoreLine(Global& g, const LineState& s) {
  qqstrk(g);
  g.lineStyle = s.style;
  std::memcpy(g.linePattern, s.pattern, sizeof s.pattern);
  g.patternLength = s.length;
  g.patternIndex = s.index;
  g.penUp = s.penUp;
  g.patternRest = s.rest;
  setWidth(g, s.width);
  setColour(g, s.colour);
}

// The sample of one item, centred vertically on cy, from x over len.
void sample(Global& g, const KeyEntry& k, int x, int cy, int len, int h) {
  setColour(g, k.colour);
  if (k.kind == 2) {
    const FillState saved = qqfsav(g);
    g.shadingPattern = k.shading;
    g.fillType = k.fillType;
    g.hatchAngle = k.hatchAngle;
    g.crossHatch = k.crossHatch;
    g.hatchDensity = k.hatchDensity;
    g.hatchGroupOn = k.hatchGroupOn;
    g.hatchGroupOff = k.hatchGroupOff;
    g.hatchSpacing = k.hatchSpacing;
    qqfsol(g);
    const float x0 = static_cast<float>(x), x1 = static_cast<float>(x + len);
    const float y0 = static_cast<float>(cy - h / 2), y1 = static_cast<float>(cy + h / 2);
    const float px[4] = {x0, x1, x1, x0}, py[4] = {y0, y0, y1, y1};
    qqfclp(g, px, py, 4);
    qqoutl(g, px, py, 4);
    qqfrst(g, saved);
    return;
  }
  if (k.lineOn) {
    std::memcpy(g.linePattern, k.pattern, sizeof k.pattern);
    g.patternLength = k.patternLength;
    g.patternIndex = 1;
    g.penUp = 0;
    g.patternRest = static_cast<float>(k.pattern[0]);
    setWidth(g, k.lineWidth);
    strtqq(g, static_cast<float>(x), static_cast<float>(cy));
    connqq(g, static_cast<float>(x + len), static_cast<float>(cy));
    qqstrk(g);
  }
  if (k.symbol >= 0) {
    setWidth(g, 1);
    dsymbl(g, k.symbol, x + len / 2, cy);
    qqstrk(g);
  }
}

}  // namespace

extern "C" {

void legend(const char* cpos) {
  Global* gp = jqqlev(2, 3, "legend");
  if (!gp) return;
  Global& g = *gp;
  const int pos = jqqind(g, "UR  +UL  +LR  +LL  +OUT ", 5, cpos ? cpos : "");
  if (pos == 0) return;
  if (g.keyCount == 0) {
    qqserr(g, "No named curve for the legend (crvnam)");
    warnin(g, 101);
    return;
  }
  qqstrk(g);
  const int h = g.charHeight > 0 ? g.charHeight : 1;
  const int pad = h / 2, len = 3 * h, gap = h / 2, row = (3 * h) / 2;
  int textW = 0;
  for (int i = 0; i < g.keyCount; ++i) textW = std::max(textW, qqnlms(g, g.keys[i].name));
  const int w = pad + len + gap + textW + pad;
  const int ht = 2 * pad + g.keyCount * row;
  const int left = g.axisPosX, right = g.rightEdge, top = g.topEdge, bottom = g.axisPosY;
  const int m = h / 2;
  int x = right - m - w, y = top + m;
  switch (pos) {
    case 2: x = left + m; break;
    case 3: y = bottom - m - ht; break;
    case 4: x = left + m; y = bottom - m - ht; break;
    case 5: x = right + g.axis[1].tickLong + h; y = top; break;
    default: break;
  }
  const LineState saved = saveLine(g);
  // Lines drawn so far would show through the entries.
  dbox(g, x, y, x + w - 1, y + ht - 1, g.bgColour);
  for (int i = 0; i < g.keyCount; ++i) {
    const int rowTop = y + pad + i * row;
    sample(g, g.keys[i], x + pad, rowTop + row / 2, len, h);
    restoreLine(g, saved);
    dtext(g, g.keys[i].name, x + pad + len + gap, rowTop + (row - h) / 2, 0.0f, h);
  }
  restoreLine(g, saved);
  dframe(g, x + g.shiftX, y + g.shiftY, w, ht, 1, 0.0f);
  qqstrk(g);
  const int cls = g.shieldClass;
  g.shieldClass = kLegendClass;
  qqshrg(g, x + g.shiftX, y + g.shiftY, w, ht, 0.0f);
  g.shieldClass = cls;
}

}  // extern "C"
