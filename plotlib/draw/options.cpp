// The drawing settings a program may change (clipping window, symbol angle,
// shading density, arc segments and outlines, the arrow form, colours by index and RGB, one
// entry of the colour table) and polylines in plot units.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/state.h"
#include "core/wrap.h"
#include "draw/colour.h"
#include "draw/figure.h"
#include "draw/fill.h"
#include "draw/pipeline.h"
#include "korvan.h"

using namespace korvan;

namespace {
bool realOk(Global& g, float x, float lo, float hi) {
  if (x >= lo && x <= hi) return true;
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(x));
  warnc1(g, 2, text);
  return false;
}

// A colour part 0..1 as a byte.
int byteOf(float x) { return static_cast<int>(std::lround(x * 255.0f)); }

bool rgbOk(Global& g, float r, float gr, float b) {
  return realOk(g, r, 0.0f, 1.0f) && realOk(g, gr, 0.0f, 1.0f) && realOk(g, b, 0.0f, 1.0f);
}
// Makes win (left, top, right, bottom; absolute) the clipping window.
void setWindow(Global& g, const int win[4]) {
  qqstrk(g);
  if (g.axisClipMarker == 2) {
    // The axis window is held applied until endgrf, which brings back the
    // saved window: that is the one to replace, and the axis window stays
    // in force within it.
    for (int k = 0; k < 4; ++k) g.savedClip[k] = win[k];
    g.clipXmin = std::max(win[0], g.axisClipXmin);
    g.clipYmin = std::max(win[1], g.axisClipYmin);
    g.clipXmax = std::min(win[2], g.axisClipXmax);
    g.clipYmax = std::min(win[3], g.axisClipYmax);
    return;
  }
  g.clipXmin = win[0];
  g.clipYmin = win[1];
  g.clipXmax = win[2];
  g.clipYmax = win[3];
}
}  // namespace

extern "C" {

void clpwin(int nx, int ny, int nw, int nh) {
  Global* gp = jqqlev(1, 3, "clpwin");
  if (!gp) return;
  Global& g = *gp;
  if (nw < 1 || nh < 1) {
    warni1(g, 2, nw < 1 ? nw : nh);
    return;
  }
  // (nx, ny) is the upper-left corner; with the page origin at the bottom
  // it is the lower-left one.
  int top = ny;
  if (g.origin == 1 && g.noFlip != 1) top = qqyorg(g, ny) - nh + 1;
  const int win[4] = {nx + g.shiftX, top + g.shiftY, nx + g.shiftX + nw - 1,
                      top + g.shiftY + nh - 1};
  setWindow(g, win);
}

void unclip(void) {
  Global* g = jqqlev(1, 3, "unclip");
  if (!g) return;
  const int page[4] = {0, 0, g->pageWidth, g->pageHeight};
  setWindow(*g, page);
}

void symrot(float xang) {
  Global* g = jqqlev(1, 3, "symrot");
  if (g && realOk(*g, xang, -36000.0f, 36000.0f)) g->symbolAngle = xang;
}

void shdden(int nden) {
  Global* g = jqqlev(1, 3, "shdden");
  if (g && jqqval(*g, nden, 0, 9))
    qqmypt(*g, g->hatchAngle, g->fillType, nden, g->crossHatch);
}

void arcstp(float xstep) {
  Global* g = jqqlev(1, 3, "arcstp");
  if (g && realOk(*g, xstep, 0.1f, 10000.0f)) g->arcStep = xstep;
}

void outlin(const char* copt) {
  Global* g = jqqlev(1, 3, "outlin");
  if (!g) return;
  const int n = jqqind(*g, "ON  +OFF ", 2, copt ? copt : "");
  if (n != 0) g->outlineOn = n == 1;
}

void vecfrm(int ivec) {
  Global* g = jqqlev(1, 3, "vecfrm");
  if (!g || !jqqval(*g, ivec, 0, 9999)) return;
  // The head form and the head count are the digits vector checks.
  if (!jqqval(*g, ivec % 100 / 10, 0, 3) || !jqqval(*g, ivec % 10, 0, 3)) return;
  g->arrowForm = ivec;
}

void setclr(int nclr) {
  Global* g = jqqlev(1, 3, "setclr");
  if (g && jqqval(*g, nclr, 0, 255)) qqsclr(*g, nclr);
}

void setrgb(float xr, float xg, float xb) {
  Global* g = jqqlev(1, 3, "setrgb");
  if (!g || !rgbOk(*g, xr, xg, xb)) return;
  // The table entry nearest to the colour (the first of equals).
  const int r = byteOf(xr), gr = byteOf(xg), b = byteOf(xb);
  int best = 0;
  long bestDist = -1;
  for (int i = 0; i < 256; ++i) {
    int er, eg, eb;
    gbyt03(g->colourTable[i], &er, &eg, &eb);
    const long d = static_cast<long>(er - r) * (er - r) + static_cast<long>(eg - gr) * (eg - gr) +
                   static_cast<long>(eb - b) * (eb - b);
    if (bestDist < 0 || d < bestDist) {
      best = i;
      bestDist = d;
    }
  }
  qqsclr(*g, best);
}

void setind(int nclr, float xr, float xg, float xb) {
  Global* g = jqqlev(1, 3, "setind");
  if (!g || !jqqval(*g, nclr, 0, 255) || !rgbOk(*g, xr, xg, xb)) return;
  qqstrk(*g);
  g->colourTable[nclr] = byteOf(xr) * 65536 + byteOf(xg) * 256 + byteOf(xb);
  shwvlt(*g);
  // Devices that take colours as values need the current one again.
  if (nclr == g->currentColour) qqsclr(*g, nclr);
}

void strtpt(int nx, int ny) {
  Global* g = jqqlev(1, 3, "strtpt");
  if (g) strtqq(*g, static_cast<float>(nx), static_cast<float>(qqyorg(*g, ny)));
}

void connpt(int nx, int ny) {
  Global* g = jqqlev(1, 3, "connpt");
  if (g) connqq(*g, static_cast<float>(nx), static_cast<float>(qqyorg(*g, ny)));
}

void polyln(const int* nxray, const int* nyray, int n) {
  Global* g = jqqlev(1, 3, "polyln");
  if (!g) return;
  if (n < 1 || !nxray || !nyray) {
    warni1(*g, 2, n);
    return;
  }
  strtqq(*g, static_cast<float>(nxray[0]), static_cast<float>(qqyorg(*g, nyray[0])));
  for (int i = 1; i < n; ++i)
    connqq(*g, static_cast<float>(nxray[i]), static_cast<float>(qqyorg(*g, nyray[i])));
}

void clpwin_(const int* nx, const int* ny, const int* nw, const int* nh) {
  clpwin(*nx, *ny, *nw, *nh);
}
void unclip_(void) { unclip(); }
void symrot_(const float* xang) { symrot(*xang); }
void shdden_(const int* nden) { shdden(*nden); }
void arcstp_(const float* xstep) { arcstp(*xstep); }
void outlin_(const char* copt, int len) { outlin(Key4(copt, len)); }
void vecfrm_(const int* ivec) { vecfrm(*ivec); }
void setclr_(const int* nclr) { setclr(*nclr); }
void setrgb_(const float* xr, const float* xg, const float* xb) { setrgb(*xr, *xg, *xb); }
void setind_(const int* nclr, const float* xr, const float* xg, const float* xb) {
  setind(*nclr, *xr, *xg, *xb);
}
void strtpt_(const int* nx, const int* ny) { strtpt(*nx, *ny); }
void connpt_(const int* nx, const int* ny) { connpt(*nx, *ny); }
void polyln_(const int* nxray, const int* nyray, const int* n) { polyln(nxray, nyray, *n); }

}  // extern "C"
