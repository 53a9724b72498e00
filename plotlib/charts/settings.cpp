// The settings of the charts: markers and lines of curves, the name of the
// next item, title height, bar width and direction, error bar caps.
#include <cmath>
#include <cstdio>

#include "core/state.h"
#include "korvan.h"

namespace korvan {

void reschr(Global& g) {
  g.titleHeight = 0;
  g.barWidth = 0.0f;
  g.barHori = 0;
  const float s = g.unitScale > 0.0f ? g.unitScale : 1.0f;
  g.capWidth = static_cast<int>(24.0f / s + 0.5f);
}

}  // namespace korvan

using namespace korvan;

extern "C" {

void crvsym(int nsym) {
  Global& g = chkini("crvsym");
  if (nsym < -1 || nsym > g.maxSymbol || nsym > 23) {
    warni1(g, 2, nsym);
    return;
  }
  g.curveSymbol = nsym;
}

void crvlin(const char* copt) {
  Global& g = chkini("crvlin");
  const int n = jqqind(g, "ON  +OFF ", 2, copt ? copt : "");
  if (n != 0) g.curveLine = n == 1 ? 1 : 0;
}

void crvnam(const char* cname) {
  Global& g = chkini("crvnam");
  const char* s = cname ? cname : "";
  std::snprintf(g.keyName, sizeof g.keyName, "%s", s);
  g.keyNamed = g.keyName[0] != '\0';
}

void tithgt(int nhchar) {
  Global& g = chkini("tithgt");
  if (jqqval(g, nhchar, 0, 10000)) g.titleHeight = nhchar;
}

void barwid(float width) {
  Global& g = chkini("barwid");
  if (!std::isfinite(width) || width < 0.0f) {
    warnc1(g, 2, "bar width");
    return;
  }
  g.barWidth = width;
}

void bardir(const char* copt) {
  Global& g = chkini("bardir");
  const int n = jqqind(g, "VERT+HORI", 2, copt ? copt : "");
  if (n != 0) g.barHori = n - 1;
}

void ebrcap(int nwidth) {
  Global& g = chkini("ebrcap");
  if (jqqval(g, nwidth, 0, 10000)) g.capWidth = nwidth;
}

}  // extern "C"
