// Placeholder pipeline: solid, unclipped strokes straight to the dispatch.
#include "draw/pipeline.h"

#include "core/state.h"
#include "devices/dispatch.h"

namespace korvan {

void qqstrk(Global& g) {
  if (g.strokeCount == 0) return;
  g.stroking = 1;
  xjdraw(g, g.strokeX[0], g.strokeY[0], 3);
  for (int k = 1; k < g.strokeCount; ++k) xjdraw(g, g.strokeX[k], g.strokeY[k], 2);
  g.strokeCount = 0;
  g.stroking = 0;
}

void qqmove(Global& g, float x, float y) {
  qqstrk(g);
  g.strokeX[0] = x;
  g.strokeY[0] = y;
  g.strokeCount = 1;
}

void qqdraw(Global& g, float x, float y) {
  g.strokeX[g.strokeCount] = x;
  g.strokeY[g.strokeCount] = y;
  g.strokeCount += 1;
  if (g.strokeCount == 100) {
    qqstrk(g);
    g.strokeX[0] = x;
    g.strokeY[0] = y;
    g.strokeCount = 1;
  }
}

void strtqq(Global& g, float x, float y) {
  g.curX = x + static_cast<float>(g.shiftX);
  g.curY = y + static_cast<float>(g.shiftY);
  qqmove(g, g.curX, g.curY);
}

void connqq(Global& g, float x, float y) {
  g.curX = x + static_cast<float>(g.shiftX);
  g.curY = y + static_cast<float>(g.shiftY);
  qqdraw(g, g.curX, g.curY);
}

void lineqq(Global& g, int nx1, int ny1, int nx2, int ny2) {
  strtqq(g, static_cast<float>(nx1), static_cast<float>(ny1));
  connqq(g, static_cast<float>(nx2), static_cast<float>(ny2));
}

}  // namespace korvan
