#include "devices/hpgl/hpgl_driver.h"

#include <algorithm>
#include <cstdio>

#include "core/sink.h"
#include "core/state.h"
#include "devices/dispatch.h"

namespace korvan {

namespace {
// Formats a record and hands it to the line buffer with all blanks removed.
void record(Global& g, const char* text) {
  char packed[64];
  int n = 0;
  for (const char* p = text; *p && n < 63; ++p)
    if (*p != ' ') packed[n++] = *p;
  qqsbuf(g, packed, n);
}
}  // namespace

void HpglDriver::open(Global& g) {
  float s = 4.0f;
  if (device_ != 401) {
    // plotting areas of HPA4, HPA3, HPA2, HPA1 in plotter units
    static const float kArea[4][2] = {
        {10870, 7600}, {15970, 10870}, {21360, 13440}, {30280, 21360}};
    const float* a = kArea[device_ - 402];
    float wmax = static_cast<float>(std::max(g.pageWidth, g.pageHeight));
    float wmin = static_cast<float>(std::min(g.pageWidth, g.pageHeight));
    s = std::min(std::min(a[0] / wmax, a[1] / wmin), 4.0f);
  }
  g.deviceScale = s;
  if (g.outFile) g.outFile->puts(" SP1;\n");
}

void HpglDriver::point(Global& g, float x, float y, int mode) {
  float s = g.deviceScale;
  float h = static_cast<float>(g.pageHeight), w = static_cast<float>(g.pageWidth);
  int X, Y;
  if (device_ == 401 || g.pageWidth > g.pageHeight) {
    X = rnd(x * s);
    Y = rnd((h - y) * s);
  } else {
    X = rnd((h - y) * s);
    Y = rnd((w - x) * s);
  }
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s%8d,%8d;", mode == 2 ? "PD" : "PU", X, Y);
  record(g, buf);
}

void HpglDriver::colour(Global& g, int index) {
  if (index == g.currentColour) return;
  char buf[32];
  std::snprintf(buf, sizeof buf, "SP%5d;", index);
  record(g, buf);
}

int HpglDriver::finish(Global& g) {
  qqsbuf(g, "PU0,0;", 6);
  return 1;
}

}  // namespace korvan
