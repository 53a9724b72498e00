// ebary and ebarx: error bars from value - elo to value + ehi with caps.
#include "axes/axes.h"
#include "charts/charts.h"
#include "core/state.h"
#include "draw/pipeline.h"
#include "korvan.h"

using namespace korvan;

namespace {

// vertical: bars along Y at each x; otherwise along X at each y.
void errorBars(const char* name, const float* x, const float* y, const float* elo,
               const float* ehi, int n, bool vertical) {
  Global* gp = jqqlev(2, 3, name);
  if (!gp) return;
  Global& g = *gp;
  const float* arrays[4] = {x, y, elo, ehi};
  if (!qqchkd(g, n, arrays, 4)) return;
  g.level = 3;
  sclpax(g, 0);
  const float half = static_cast<float>(g.capWidth) / 2.0f;
  for (int i = 0; i < n; ++i) {
    float ax, ay, bx, by;
    if (vertical) {
      qqrel2(g, x[i], y[i] - elo[i], &ax, &ay);
      qqrel2(g, x[i], y[i] + ehi[i], &bx, &by);
    } else {
      qqrel2(g, x[i] - elo[i], y[i], &ax, &ay);
      qqrel2(g, x[i] + ehi[i], y[i], &bx, &by);
    }
    strtqq(g, ax, ay);
    connqq(g, bx, by);
    if (half <= 0.0f) continue;
    for (int end = 0; end < 2; ++end) {
      const float cx = end ? bx : ax, cy = end ? by : ay;
      if (vertical) {
        strtqq(g, cx - half, cy);
        connqq(g, cx + half, cy);
      } else {
        strtqq(g, cx, cy - half);
        connqq(g, cx, cy + half);
      }
    }
  }
  qqstrk(g);
  sclpax(g, 1);
}

}  // namespace

extern "C" {

void ebary(const float* xray, const float* yray, const float* e1ray, const float* e2ray, int n) {
  errorBars("ebary", xray, yray, e1ray, e2ray, n, true);
}

void ebarx(const float* xray, const float* yray, const float* e1ray, const float* e2ray, int n) {
  errorBars("ebarx", xray, yray, e1ray, e2ray, n, false);
}

}  // extern "C"
