// 3-D surfaces read back as PPM pixels: what lies behind a nearer part of
// the surface leaves no trace.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
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

// The same shaded surface through three readers: Ghostscript and pdftoppm
// on the PDF, rsvg-convert on the SVG, each scaled to 297 x 210 pixels.
TEST_F(SurfaceTest, VectorFilesShowTheSamePictureInEveryReader) {
  if (!shell("command -v gs && command -v pdftoppm && command -v rsvg-convert && command -v convert"))
    GTEST_SKIP() << "a reader is missing";
  const int n = 25;
  std::vector<float> x(n), y(n), z(n * n);
  for (int i = 0; i < n; ++i) x[i] = y[i] = -2.0f + 4.0f * i / (n - 1);
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) z[i + j * n] = std::exp(-(x[i] * x[i] + y[j] * y[j]));
  for (const char* format : {"PDF", "SVG"}) {
    qqsglb(1);
    metafl(format);
    korini();
    qqgglb().protocolOn = 0;
    axspos(500, 1900);
    axslen(1700, 1700);
    axes3d(-2, 2, -2, 1, -2, 2, -2, 1, 0, 1, 0, 0.5f);
    surf3d(x.data(), n, y.data(), n, z.data());
    endgrf();
    korfin();
  }
  ASSERT_TRUE(shell("gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=png16m -r30 -sOutputFile=gs.png korvan.pdf"));
  ASSERT_TRUE(shell("pdftoppm -r 30 -singlefile -png korvan.pdf poppler"));
  ASSERT_TRUE(shell("rsvg-convert -b white -f png -o rsvg.png korvan.svg"));
  std::vector<Picture> pics;
  for (const char* name : {"gs", "poppler", "rsvg"}) {
    const std::string n2 = name;
    ASSERT_TRUE(shell("convert " + n2 + ".png -flatten -resize '297x210!' " + n2 + ".ppm")) << name;
    pics.emplace_back();
    ASSERT_TRUE(pics.back().read(n2 + ".ppm")) << name;
  }
  long coloured = 0;
  for (std::size_t k = 0; k < pics[0].rgb.size(); k += 3) {
    const int r = pics[0].rgb[k], g = pics[0].rgb[k + 1], b = pics[0].rgb[k + 2];
    if (std::max({r, g, b}) - std::min({r, g, b}) > 60) ++coloured;
  }
  EXPECT_GT(coloured, 2000) << "the surface is there";
  for (int a = 0; a < 3; ++a)
    for (int b = a + 1; b < 3; ++b) {
      double diff = 0;
      for (std::size_t k = 0; k < pics[a].rgb.size(); ++k) diff += std::abs(pics[a].rgb[k] - pics[b].rgb[k]);
      EXPECT_LT(diff / pics[a].rgb.size(), 8.0) << "readers " << a << " and " << b;
    }
}

TEST_F(SurfaceTest, BadCallsWarn) {
  const float v[4] = {0, 1, 0, 1};
  std::string said = output([&] {
    metafl("GKSL");
    korini();
    qqgglb().protocolOn = 0;
    camera(0, 100);
  });
  EXPECT_NE(said.find("Warning  33"), std::string::npos) << said;
  axes3d(0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1);
  said = output([&] {
    mesh3d(v, 1, v, 2, v);
    surf3d(v, 2, v, 2, nullptr);
  });
  EXPECT_NE(said.find("Warning   2"), std::string::npos) << said;
  const float holed[4] = {0, std::numeric_limits<float>::quiet_NaN(), 0, 1};
  said = output([&] {
    mesh3d(v, 2, v, 2, holed);
    surf3d(v, 2, v, 2, holed);
  });
  EXPECT_EQ(said.find("Warning"), std::string::npos) << "NaN leaves a hole: " << said;
  endgrf();
  said = output([&] { mesh3d(v, 2, v, 2, v); });
  EXPECT_NE(said.find("Warning   3"), std::string::npos) << said;
  korfin();
}

}  // namespace
}  // namespace korvan::test
