// The page size and the pixel size chosen before korini; page origin,
// border and fill.
#include <cstring>

#include "core/state.h"
#include "draw/device_ops.h"
#include "draw/colour.h"
#include "draw/pipeline.h"
#include "korvan.h"

using namespace korvan;

extern "C" {

void pagsiz(int nw, int nh) {
  Global* g = jqqlev(0, 0, "pagsiz");
  // CGM addresses the page in 16 bits at 1/20 mm: 327 cm at most
  if (!g || !jqqval(*g, nw, 1, 32767) || !jqqval(*g, nh, 1, 32767)) return;
  g->pageSizeX = static_cast<float>(nw);
  g->pageSizeY = static_cast<float>(nh);
  std::memcpy(g->pageFormat, nw == 2969 && nh == 2099 ? "DA4L" : "USER", 5);
}

void rassiz(int nw, int nh) {
  Global* g = jqqlev(0, 0, "rassiz");
  if (!g || !jqqval(*g, nw, 2, 16384) || !jqqval(*g, nh, 2, 16384)) return;
  g->rasterWidth = nw;
  g->rasterHeight = nh;
}

void pagorg(const char* copt) {
  Global* g = jqqlev(1, 3, "pagorg");
  if (!g) return;
  int n = jqqind(*g, "TOP +BOTT", 2, copt);
  if (n != 0) g->origin = n - 1;
}

void pagera(void) {
  Global* g = jqqlev(1, 3, "pagera");
  if (!g) return;
  float w = static_cast<float>(g->pageWidth), h = static_cast<float>(g->pageHeight);
  qqmove(*g, 0.0f, 0.0f);
  qqdraw(*g, 0.0f, h);
  qqdraw(*g, w, h);
  qqdraw(*g, w, 0.0f);
  qqdraw(*g, 0.0f, 0.0f);
}

void pagfll(int nclr) {
  Global* g = jqqlev(1, 3, "pagfll");
  if (!g) return;
  int previous = g->currentColour;
  dbox(*g, 0, 0, g->pageWidth, g->pageHeight, nclr);
  qqsclr(*g, previous);
}

void pagsiz_(const int* nw, const int* nh) { pagsiz(*nw, *nh); }
void rassiz_(const int* nw, const int* nh) { rassiz(*nw, *nh); }

}  // extern "C"
