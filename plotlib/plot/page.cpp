// Page origin, border and fill.
#include "core/state.h"
#include "draw/device_ops.h"
#include "draw/colour.h"
#include "draw/pipeline.h"
#include "korvan.h"

using namespace korvan;

extern "C" {

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

}  // extern "C"
