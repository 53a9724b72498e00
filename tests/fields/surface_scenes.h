// Scenes of the surface tests: a wall with a peak behind it, a roof for the
// light, and the brightness of the roof's two faces in a picture.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "fields/fields_plot.h"

namespace korvan::test {

enum class Kind { Mesh, Surface, Lit };

// A wall of height wall along the front edge (x = 2) and, when peak > 0, a
// peak of that height behind it, seen from the front a little above.
struct WallScene {
  static constexpr int n = 21;
  std::vector<float> x, y, z;
  WallScene(float wall, float peak) : x(n), y(n), z(n * n) {
    for (int i = 0; i < n; ++i) x[i] = y[i] = -2.0f + 4.0f * i / (n - 1);
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < n; ++i)
        z[i + j * n] = (i == n - 1 ? wall : 0.0f) +
                       peak * std::exp(-4 * ((x[i] + 1) * (x[i] + 1) + y[j] * y[j]));
  }
  // The wall's face on the page: camera(0, 8) looks along -x, so the page
  // x is the box's y and the face spans the page from its top edge (x = 2,
  // z = wall) down to its foot (x = 1.8, z = 0).
  static void face(float wall, double& left, double& right, double& top, double& bottom) {
    const double e = 8 * 3.141592653589793 / 180, scale = 1700 / (2 * std::sqrt(3.0));
    const double cx = 500 + 850, cy = 1900 - 850, zTop = 2 * wall - 1;
    left = cx - scale;
    right = cx + scale;
    top = cy - scale * (-std::sin(e) + std::cos(e) * zTop);
    bottom = cy - scale * (-0.9 * std::sin(e) - std::cos(e));
  }
};

// A roof along x: seen from the front above (camera(0, 40)) its two faces
// have the same heights and so the same colours, and lie left and right of
// the page's middle; only the light tells them apart.
struct Roof {
  static constexpr int n = 21;
  std::vector<float> x, y, z;
  Roof() : x(n), y(n), z(n * n) {
    for (int i = 0; i < n; ++i) x[i] = y[i] = -2.0f + 4.0f * i / (n - 1);
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < n; ++i) z[i + j * n] = 1 - std::fabs(y[j]) / 2;
  }
};

// The mean brightness of the coloured pixels left and right of the middle.
struct Brightness {
  double left = 0, right = 0;
};

inline Brightness faces(const Picture& p) {
  const int middle = p.px(1350);
  double sum[2] = {0, 0};
  long count[2] = {0, 0};
  for (int y = 0; y < p.h; ++y)
    for (int x = 0; x < p.w; ++x) {
      if (std::abs(x - middle) < p.w / 60) continue;
      const std::size_t k = 3 * (static_cast<std::size_t>(y) * p.w + x);
      const int r = p.rgb[k], g = p.rgb[k + 1], b = p.rgb[k + 2];
      if (std::max({r, g, b}) - std::min({r, g, b}) < 40) continue;  // not the surface
      const int side = x < middle ? 0 : 1;
      sum[side] += std::max({r, g, b});
      ++count[side];
    }
  EXPECT_GT(count[0], 100);
  EXPECT_GT(count[1], 100);
  return {sum[0] / std::max(count[0], 1L), sum[1] / std::max(count[1], 1L)};
}

}  // namespace korvan::test
