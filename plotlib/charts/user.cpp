// Texts, symbols and lines at user coordinates of the current axis system,
// and the conversions between user coordinates and plot units.
#include <cmath>

#include "axes/axes.h"
#include "core/state.h"
#include "draw/figure.h"
#include "draw/pipeline.h"
#include "draw/symbol.h"
#include "korvan.h"
#include "text/text.h"

using namespace korvan;

namespace {

// A point of the current system in plot units (relative), or false after
// warning 2 for a value without a place on the axes.
bool toPlot(Global& g, float x, float y, float* xp, float* yp) {
  if (!qqusbl(g, x, y)) {
    warnc1(g, 2, "no place on the axes");
    return false;
  }
  qqrel2(g, x, y, xp, yp);
  return true;
}

}  // namespace

extern "C" {

void usrmsg(const char* ctext, float x, float y) {
  Global* gp = jqqlev(2, 3, "usrmsg");
  if (!gp) return;
  Global& g = *gp;
  float xp, yp;
  if (!ctext) return warnc1(g, 2, "null text");
  if (!toPlot(g, x, y, &xp, &yp)) return;
  // As messag: the justification moves the start along the text.
  if (g.justification != 0) {
    float len = static_cast<float>(qqnlms(g, ctext));
    if (g.justification == 1) len *= 0.5f;
    xp -= len * g.textCos;
    yp += len * g.textSin;
  }
  qqmess(g, ctext, xp, yp);
}

void usrsym(int nsym, float x, float y) {
  Global* gp = jqqlev(2, 3, "usrsym");
  if (!gp) return;
  Global& g = *gp;
  if (nsym < 0 || nsym > g.maxSymbol || nsym > 23) return warni1(g, 2, nsym);
  float xp, yp;
  if (!toPlot(g, x, y, &xp, &yp)) return;
  g.level = 3;
  sclpax(g, 0);
  dsymbl(g, nsym, static_cast<int>(std::lround(xp)), static_cast<int>(std::lround(yp)));
  qqstrk(g);
  sclpax(g, 1);
}

void usrlin(float x1, float y1, float x2, float y2) {
  Global* gp = jqqlev(2, 3, "usrlin");
  if (!gp) return;
  Global& g = *gp;
  float ax, ay, bx, by;
  if (!toPlot(g, x1, y1, &ax, &ay) || !toPlot(g, x2, y2, &bx, &by)) return;
  g.level = 3;
  sclpax(g, 0);
  strtqq(g, ax, ay);
  connqq(g, bx, by);
  qqstrk(g);
  sclpax(g, 1);
}

void usrpos(float x, float y, int* nx, int* ny) {
  Global* gp = jqqlev(2, 3, "usrpos");
  if (!gp) return;
  Global& g = *gp;
  if (!nx || !ny) return warnc1(g, 2, "null result");
  float xp, yp;
  if (!toPlot(g, x, y, &xp, &yp)) return;
  *nx = static_cast<int>(std::lround(xp));
  const int py = static_cast<int>(std::lround(yp));
  *ny = qqyorg(g, py);  // the page-origin rule is its own inverse
}

void posusr(int nx, int ny, float* x, float* y) {
  Global* gp = jqqlev(2, 3, "posusr");
  if (!gp) return;
  Global& g = *gp;
  if (!x || !y) return warnc1(g, 2, "null result");
  const double px = nx, py = qqyorg(g, ny);
  double vx = (px - g.axisOrigin[0]) / g.axisFactor[0] + g.axisA[0];
  double vy = (g.axisOrigin[1] - py) / g.axisFactor[1] + g.axisA[1];
  if (g.axis[0].logScale) vx = std::pow(10.0, vx);
  if (g.axis[1].logScale) vy = std::pow(10.0, vy);
  *x = static_cast<float>(vx);
  *y = static_cast<float>(vy);
}

void getgrf(float* a, float* e, float* org, float* step, const char* cax) {
  Global* gp = jqqlev(2, 3, "getgrf");
  if (!gp) return;
  Global& g = *gp;
  if (!a || !e || !org || !step) return warnc1(g, 2, "null result");
  const int k = jqqind(g, "X   +Y   ", 2, cax ? cax : "");
  if (k == 0) return;
  *a = g.axisA[k - 1];
  *e = g.axisE[k - 1];
  *org = g.axisOr[k - 1];
  *step = g.axisStep[k - 1];
}

}  // extern "C"
