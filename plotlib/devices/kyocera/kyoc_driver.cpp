#include "devices/kyocera/kyoc_driver.h"

#include <algorithm>
#include <cstdio>

#include "core/state.h"
#include "devices/dispatch.h"

namespace korvan {

namespace {
// Fill patterns 1-9 of the grey scale, eight bytes each.
const int kPattern[9][8] = {
    {128, 0, 0, 0, 0, 0, 0, 0},         {128, 0, 0, 0, 8, 0, 0, 0},
    {128, 0, 0, 32, 0, 0, 4, 0},        {128, 8, 0, 0, 64, 4, 0, 0},
    {128, 16, 2, 0, 32, 0, 8, 1},       {128, 16, 2, 64, 8, 1, 32, 4},
    {170, 0, 85, 0, 170, 0, 85, 0},     {170, 85, 170, 85, 170, 85, 170, 85},
    {255, 255, 255, 255, 255, 255, 255, 255},
};

void text(Global& g, const char* s) {
  int n = 0;
  while (s[n]) ++n;
  qqsbuf(g, s, n);
}
}  // namespace

void KyocDriver::open(Global& g) {
  float w = static_cast<float>(g.pageWidth), h = static_cast<float>(g.pageHeight);
  float s;
  if (g.pageHeight >= g.pageWidth) {
    text(g, "!R! UNIT C;SPO P;SLM 0;");
    text(g, "SRM 20;STM 0;SBM 28.7;");
    s = std::min(2362.0f / w, 3390.0f / h);
  } else {
    text(g, "!R! UNIT C;SPO L;SLM 0;");
    text(g, "SRM 28.7;STM 0;SBM 20;");
    s = std::min(3390.0f / w, 2362.0f / h);
  }
  text(g, "UNIT D;");
  g.deviceScale = std::min(s, 300.0f / 254.0f);
}

void KyocDriver::point(Global& g, float x, float y, int mode) {
  // Three pieces, so that a line may break between the two coordinates.
  char buf[24];
  text(g, mode == 2 ? "DAP " : "MAP ");
  std::snprintf(buf, sizeof buf, "%4d,", rnd(x * g.deviceScale));
  text(g, buf);
  std::snprintf(buf, sizeof buf, "%4d;", rnd(y * g.deviceScale));
  text(g, buf);
}

void KyocDriver::box(Global& g, float x1, float y1, float x2, float y2, int colour) {
  int d = colour % 10;
  if (d <= 0) return;
  float s = g.deviceScale;
  int X1 = rnd(x1 * s), Y1 = rnd(y1 * s), X2 = rnd(x2 * s), Y2 = rnd(y2 * s);
  char buf[64];
  std::snprintf(buf, sizeof buf, "MAP %4d,%4d; ", X1, Y1);
  text(g, buf);
  const int* p = kPattern[d - 1];
  std::snprintf(buf, sizeof buf, "FPAT %3d,%3d,%3d,%3d,%3d,%3d,%3d,%3d; ", p[0], p[1], p[2], p[3],
                p[4], p[5], p[6], p[7]);
  text(g, buf);
  std::snprintf(buf, sizeof buf, "BLK %4d,%4d;", X2 - X1 + 1, Y2 - Y1 + 1);
  text(g, buf);
}

int KyocDriver::finish(Global& g) {
  text(g, "RES;EXIT;");
  return 1;
}

}  // namespace korvan
