// What the drawing layer asks of the output beyond lines: rectangles,
// erasure and flushes. The open stroke is finished first, so that nothing
// drawn before ends up on top of what comes now.
#include "draw/device_ops.h"

#include "core/colour_entry.h"
#include "core/state.h"
#include "devices/dispatch.h"
#include "devices/driver.h"
#include "draw/colour.h"
#include "draw/pipeline.h"
#include "korvan.h"

namespace korvan {

namespace {

// The line hatching that fills a rectangle on devices without boxes: a
// zigzag of lines 1.4 plot units apart.
void qqzigzag(Global& g, float x1, float y1, float x2, float y2, int colour) {
  qqsclr(g, colour);
  xjdraw(g, x1, y1, 3);
  xjdraw(g, x2, y1, 2);
  float step = 1.4f / g.unitScale;
  float end = x2, other = x1;
  for (int k = 1;; ++k) {
    float y = y1 + static_cast<float>(k) * step;
    if (y > y2) break;
    xjdraw(g, end, y, 2);
    xjdraw(g, other, y, 2);
    float t = end;
    end = other;
    other = t;
  }
}

}  // namespace

void dbox(Global& g, int x1, int y1, int x2, int y2, int colour) {
  // The open stroke was drawn before the rectangle and must not end up on
  // top of it (a page fill erases what came before it).
  qqstrk(g);
  x1 += g.shiftX;
  x2 += g.shiftX;
  y1 += g.shiftY;
  y2 += g.shiftY;
  if (x1 < g.clipXmin) x1 = g.clipXmin;
  if (y1 < g.clipYmin) y1 = g.clipYmin;
  if (x2 > g.clipXmax) x2 = g.clipXmax;
  if (y2 > g.clipYmax) y2 = g.clipYmax;
  if (x1 > x2 || y1 > y2) return;
  // Colour indices are 0..255 on every device; others wrap round the table.
  colour = colourSlot(colour);
  if (!g.driver) return;
  if (!g.driver->boxes()) {
    qqzigzag(g, static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
             static_cast<float>(y2), colour);
    return;
  }
  g.driver->box(g, static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                  static_cast<float>(y2), colour);
}

void qqerase(Global& g) {
  qqstrk(g);
  if (g.driver) g.driver->erase(g);
}

void qqsend(Global& g) {
  qqstrk(g);
  if (g.driver) g.driver->flush(g);
}

}  // namespace korvan

using namespace korvan;

extern "C" {

void erase(void) {
  Global* g = jqqlev(1, 3, "erase");
  if (g) qqerase(*g);
}

void sendbf(void) {
  Global* g = jqqlev(1, 3, "sendbf");
  if (g) qqsend(*g);
}

}  // extern "C"

