#include "devices/gksl/gksl_driver.h"

#include <algorithm>
#include <cstdio>

#include "core/sink.h"
#include "core/state.h"
#include "devices/sheet.h"
#include "devices/dispatch.h"

namespace korvan {

namespace {
void field(Global& g, float v) {
  char buf[48];
  int n = std::snprintf(buf, sizeof buf, "%10.7f", static_cast<double>(v));
  qqsbuf(g, buf, n);
}
}  // namespace

void GkslDriver::open(Global& g) {
  g.deviceScale = 1.0f / static_cast<float>(std::max(g.pageWidth, g.pageHeight));
  lastMode = 0;
  double w, h;
  qqdevpage(g, w, h);
  if (g.outFile) g.outFile->printf("%10.1f%10.1f\n", w / 100.0, h / 100.0);
}

void GkslDriver::point(Global& g, float x, float y, int mode) {
  // One field at a time: the line buffer packs eight fields to a line.
  float X, Y;
  qqsheet(g, g.rotation == 1, x, y, X, Y);
  field(g, X);
  field(g, Y);
  if (mode != lastMode) {
    if (mode == 2)
      qqsbuf(g, " 2.0000000", 10);
    else if (mode == 3)
      qqsbuf(g, " 3.0000000", 10);
    lastMode = mode;
  }
}

void GkslDriver::colour(Global& g, int index) {
  if (index == g.currentColour) return;
  int c = index % 256;
  if (c == 0) c = 256;
  for (int k = 0; k < (c - 1) / 89; ++k) qqsbuf(g, "99.0000000", 10);
  field(g, static_cast<float>((c - 1) % 89 + 1 + 9));
}

int GkslDriver::finish(Global& g) {
  xjdraw(g, 0.0f, 0.0f, 3);
  qqsbuf(g, " 9.0000000", 10);
  lastMode = 0;
  return 1;
}

}  // namespace korvan
