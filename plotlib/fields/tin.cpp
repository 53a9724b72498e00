// Contours on a triangulation (isotin): inside a triangle the field is
// linear, so a level crosses it in at most one straight piece; the pieces
// are joined by the triangle edges they end on.
#include <cmath>
#include <cstdint>
#include <deque>
#include <vector>

#include "core/state.h"
#include "draw/pipeline.h"
#include "fields/fields.h"
#include "fields/stitch.h"
#include "korvan.h"

using namespace korvan;

extern "C" {

void isotin(const float* xray, const float* yray, const float* zray, int n, const int* i1ray,
            const int* i2ray, const int* i3ray, int ntri, float zlev) {
  Global* gp = jqqlev(2, 3, "isotin");
  if (!gp) return;
  Global& g = *gp;
  if (n < 3 || !xray || !yray || !zray) {
    warni1(g, 30, n);
    return;
  }
  if (ntri < 1 || !i1ray || !i2ray || !i3ray) {
    warni1(g, 2, ntri);
    return;
  }
  for (int t = 0; t < ntri; ++t) {
    const int v[3] = {i1ray[t], i2ray[t], i3ray[t]};
    for (int k : v)
      if (k < 1 || k > n) {  // indices count from 1, as delaun gives them
        warni1(g, 2, k);
        return;
      }
  }
  if (!std::isfinite(zlev)) {
    warnin(g, 2);
    return;
  }
  const std::int64_t nn = n;
  // An edge's key from its two vertices, the same from either triangle.
  auto key = [nn](int a, int b) {
    return a < b ? static_cast<std::int64_t>(a) * nn + b : static_cast<std::int64_t>(b) * nn + a;
  };
  auto point = [&](std::int64_t e, float* px, float* py) {
    const int a = static_cast<int>(e / nn), b = static_cast<int>(e % nn);
    const double t = (static_cast<double>(zlev) - zray[a]) / (static_cast<double>(zray[b]) - zray[a]);
    *px = static_cast<float>(xray[a] + t * (static_cast<double>(xray[b]) - xray[a]));
    *py = static_cast<float>(yray[a] + t * (static_cast<double>(yray[b]) - yray[a]));
  };
  std::vector<float> xs, ys;
  auto emit = [&](const std::deque<std::int64_t>& f) {
    xs.resize(f.size());
    ys.resize(f.size());
    for (std::size_t k = 0; k < f.size(); ++k) point(f[k], &xs[k], &ys[k]);
    qqclin(g, xs.data(), ys.data(), static_cast<int>(f.size()), zlev);
  };
  g.level = 3;
  sclpax(g, 0);
  {
    LevelStyle style(g, zlev);
    Stitcher<decltype(emit)> st(emit);
    for (int t = 0; t < ntri; ++t) {
      int v[3] = {i1ray[t] - 1, i2ray[t] - 1, i3ray[t] - 1};
      bool bad = false;
      for (int k : v)
        if (!std::isfinite(xray[k]) || !std::isfinite(yray[k]) || std::isnan(zray[k])) bad = true;
      if (bad) continue;  // a hole
      // Counterclockwise, so that every piece keeps the high side on its left.
      const double turn = (static_cast<double>(xray[v[1]]) - xray[v[0]]) * (yray[v[2]] - yray[v[0]]) -
                          (static_cast<double>(yray[v[1]]) - yray[v[0]]) * (xray[v[2]] - xray[v[0]]);
      if (turn == 0) continue;
      if (turn < 0) std::swap(v[1], v[2]);
      int out = -1, in = -1;
      for (int k = 0; k < 3; ++k) {
        const bool h0 = zray[v[k]] >= zlev, h1 = zray[v[(k + 1) % 3]] >= zlev;
        if (h0 && !h1) out = k;
        if (!h0 && h1) in = k;
      }
      if (out < 0 || in < 0) continue;
      st.piece(key(v[out], v[(out + 1) % 3]), key(v[in], v[(in + 1) % 3]));
    }
    st.finish();
  }
  sclpax(g, 1);
}

void isotin_(const float* xray, const float* yray, const float* zray, const int* n,
             const int* i1ray, const int* i2ray, const int* i3ray, const int* ntri,
             const float* zlev) {
  isotin(xray, yray, zray, *n, i1ray, i2ray, i3ray, *ntri, *zlev);
}

}  // extern "C"
