// 3-D surfaces read back as PPM pixels: what lies behind a nearer part of
// the surface leaves no trace.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "fields/fields_plot.h"

namespace korvan::test {
namespace {

class SurfaceTest : public FieldPlot {
 protected:
  // A wall of height wall along the front edge (x = 2) and, when peak > 0, a
  // peak of that height behind it; rendered to a PPM and read back.
  Picture render(float wall, float peak, bool shaded) {
    const int n = 21;
    std::vector<float> x(n), y(n), z(n * n);
    for (int i = 0; i < n; ++i) x[i] = y[i] = -2.0f + 4.0f * i / (n - 1);
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < n; ++i)
        z[i + j * n] = (i == n - 1 ? wall : 0.0f) +
                       peak * std::exp(-4 * ((x[i] + 1) * (x[i] + 1) + y[j] * y[j]));
    std::remove("korvan.ppm");
    qqsglb(1);
    metafl("PPM");
    korini();
    qqgglb().protocolOn = 0;
    axspos(500, 1900);
    axslen(1700, 1700);
    camera(0, 8);
    axes3d(-2, 2, -2, 1, -2, 2, -2, 1, 0, 1, 0, 0.5f);
    if (shaded)
      surf3d(x.data(), n, y.data(), n, z.data());
    else
      mesh3d(x.data(), n, y.data(), n, z.data());
    endgrf();
    korfin();
    Picture p;
    EXPECT_TRUE(p.read("korvan.ppm"));
    return p;
  }
};

TEST_F(SurfaceTest, APeakBehindAWallLeavesNoLineOrColour) {
  for (bool shaded : {false, true}) {
    const Picture wallOnly = render(1.0f, 0.0f, shaded);
    const Picture hidden = render(1.0f, 0.6f, shaded);
    EXPECT_EQ(wallOnly.rgb, hidden.rgb) << (shaded ? "surf3d" : "mesh3d");
    const Picture low = render(0.3f, 0.0f, shaded);
    const Picture seen = render(0.3f, 0.9f, shaded);
    EXPECT_NE(low.rgb, seen.rgb) << "a peak above the wall shows";
  }
}

TEST_F(SurfaceTest, BadCallsWarn) {
  const float v[4] = {0, 1, 0, 1};
  std::string said = output([&] {
    metafl("GKSL");
    korini();
    camera(0, 100);
  });
  EXPECT_NE(said.find("Warning  33"), std::string::npos) << said;
  axes3d(0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1);
  said = output([&] {
    mesh3d(v, 1, v, 2, v);
    surf3d(v, 2, v, 2, nullptr);
  });
  EXPECT_NE(said.find("Warning   2"), std::string::npos) << said;
  endgrf();
  said = output([&] { mesh3d(v, 2, v, 2, v); });
  EXPECT_NE(said.find("Warning   3"), std::string::npos) << said;
  korfin();
}

}  // namespace
}  // namespace korvan::test
