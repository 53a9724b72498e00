// 3-D surfaces read back as PPM pixels, as text metafile segments and
// through the PDF, SVG and EPS readers: what lies behind a nearer part of the
// surface leaves no trace, the readers show the same picture, and a light
// makes the cells that face it brighter.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "devices/raster/raster_driver.h"
#include "fields/fields_plot.h"
#include "fields/surface_scenes.h"

namespace korvan::test {
namespace {

class SurfaceTest : public FieldPlot {
 protected:
  // No output of an earlier plot stays: a new one would take a new name.
  static void fresh() {
    for (const auto& e : std::filesystem::directory_iterator("."))
      if (e.path().filename().string().rfind("korvan.", 0) == 0) std::filesystem::remove(e.path());
  }
  // A plot on a format with the box's axis rectangle, quietly.
  static void begin(const char* format) {
    qqsglb(1);
    metafl(format);
    korini();
    qqgglb().protocolOn = 0;
    axspos(500, 1900);
    axslen(1700, 1700);
  }
  // The box alone (draw false) or with the surface, on a format.
  static void plot(const char* format, const WallScene& s, Kind kind, bool draw = true) {
    fresh();
    begin(format);
    camera(0, 8);
    if (kind == Kind::Lit) light("ON");
    axes3d(-2, 2, -2, 1, -2, 2, -2, 1, 0, 1, 0, 0.5f);
    if (draw) {
      if (kind == Kind::Mesh)
        mesh3d(s.x.data(), s.n, s.y.data(), s.n, s.z.data());
      else
        surf3d(s.x.data(), s.n, s.y.data(), s.n, s.z.data());
    }
    endgrf();
    korfin();
  }
  Picture render(float wall, float peak, bool shaded) {
    std::remove("korvan.ppm");
    plot("PPM", WallScene(wall, peak), shaded ? Kind::Surface : Kind::Mesh);
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

// On the outputs without pixels a mesh is its visible line pieces only:
// inside the wall's face nothing is left but the face's own lines, upright
// on the page, and a peak hidden behind the wall changes no segment.
TEST_F(SurfaceTest, TheTextMetafileHasNoMeshPieceBehindTheWall) {
  auto segments = [&](float wall, float peak, bool mesh) {
    std::remove("korvan.met");
    plot("GKSL", WallScene(wall, peak), Kind::Mesh, mesh);
    return readMetafile(slurp("korvan.met"));
  };
  const std::size_t box = segments(1, 0, false).size();
  const std::vector<Line> wallOnly = segments(1, 0, true), hidden = segments(1, 0.6f, true);
  ASSERT_GT(hidden.size(), box + 40);
  ASSERT_EQ(wallOnly.size(), hidden.size());
  for (std::size_t k = 0; k < hidden.size(); ++k) {
    EXPECT_DOUBLE_EQ(wallOnly[k].x1, hidden[k].x1) << k;
    EXPECT_DOUBLE_EQ(wallOnly[k].y1, hidden[k].y1) << k;
    EXPECT_DOUBLE_EQ(wallOnly[k].x2, hidden[k].x2) << k;
    EXPECT_DOUBLE_EQ(wallOnly[k].y2, hidden[k].y2) << k;
  }
  double left, right, top, bottom;
  WallScene::face(1, left, right, top, bottom);
  const double m = 10;
  int upright = 0;
  for (std::size_t k = box; k < hidden.size(); ++k) {
    const Line& l = hidden[k];
    for (int q = 0; q <= 20; ++q) {
      const double x = l.x1 + (l.x2 - l.x1) * q / 20, y = l.y1 + (l.y2 - l.y1) * q / 20;
      if (x < left + m || x > right - m || y < top + m || y > bottom - m) continue;
      EXPECT_LT(std::fabs(l.x2 - l.x1), 0.5) << "segment " << k << " (" << l.x1 << ", " << l.y1
                                              << ") - (" << l.x2 << ", " << l.y2 << ")";
      upright += std::fabs(l.x2 - l.x1) < 0.5;
      break;
    }
  }
  EXPECT_GE(upright, 15) << "the face's own lines are there";
  // A peak above a low wall shows.
  const std::vector<Line> low = segments(0.3f, 0, true), seen = segments(0.3f, 0.9f, true);
  EXPECT_GT(seen.size(), low.size() + 20);
}

// The same SVG strokes with and without a hidden peak: not a single stroke
// of it. The only fills are the page-coloured cells that hide the box's back
// edges behind the surface.
TEST_F(SurfaceTest, AHiddenPeakLeavesTheSvgAsItWas) {
  std::string strokes[2];
  int covers = 0;
  for (int k = 0; k < 2; ++k) {
    std::remove("korvan.svg");
    plot("SVG", WallScene(1, k * 0.6f), Kind::Mesh);
    const std::string file = slurp("korvan.svg");
    std::size_t at = 0, end;
    while ((end = file.find("<polygon", at)) != std::string::npos) {
      strokes[k] += file.substr(at, end - at);
      at = file.find("/>", end) + 2;
      const std::string fill = file.substr(end, at - end);
      if (at < file.size() && file[at] == '\n') ++at;
      EXPECT_NE(fill.find("fill=\"#ffffff\""), std::string::npos) << fill;
      ++covers;
    }
    strokes[k] += file.substr(at);
  }
  EXPECT_GT(strokes[0].size(), 2000u);
  EXPECT_EQ(strokes[0], strokes[1]);
  EXPECT_GT(covers, 0);
}

// A surface, a mesh and a shaded surface through four readers: Ghostscript
// on the PDF and the EPS, pdftoppm on the PDF, rsvg-convert on the SVG, each
// scaled to 297 x 210 pixels.
TEST_F(SurfaceTest, VectorFilesShowTheSamePictureInEveryReader) {
  if (!shell("command -v gs && command -v pdftoppm && command -v rsvg-convert && command -v convert"))
    GTEST_SKIP() << "a reader is missing";
  const int n = 25;
  std::vector<float> x(n), y(n), z(n * n);
  for (int i = 0; i < n; ++i) x[i] = y[i] = -2.0f + 4.0f * i / (n - 1);
  for (int j = 0; j < n; ++j)
    for (int i = 0; i < n; ++i) z[i + j * n] = std::exp(-(x[i] * x[i] + y[j] * y[j]));
  struct Case {
    Kind kind;
    long coloured;  // pixels of the surface at least
  } cases[] = {{Kind::Surface, 2000}, {Kind::Lit, 2000}, {Kind::Mesh, 150}};
  for (const Case& c : cases) {
    const std::string what = c.kind == Kind::Mesh ? "mesh3d" : c.kind == Kind::Lit ? "lit surf3d" : "surf3d";
    fresh();
    for (const char* format : {"PDF", "SVG", "EPS"}) {
      begin(format);
      axes3d(-2, 2, -2, 1, -2, 2, -2, 1, 0, 1, 0, 0.5f);
      if (c.kind == Kind::Mesh) {
        mshclr(70);
        mesh3d(x.data(), n, y.data(), n, z.data());
      } else {
        if (c.kind == Kind::Lit) light("ON");
        surf3d(x.data(), n, y.data(), n, z.data());
      }
      endgrf();
      korfin();
    }
    ASSERT_TRUE(shell("gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=png16m -r30 -sOutputFile=gs.png korvan.pdf"));
    ASSERT_TRUE(shell("gs -q -dNOPAUSE -dBATCH -dSAFER -dEPSCrop -sDEVICE=png16m -r30 -sOutputFile=eps.png korvan.eps"));
    ASSERT_TRUE(shell("pdftoppm -r 30 -singlefile -png korvan.pdf poppler"));
    ASSERT_TRUE(shell("rsvg-convert -b white -f png -o rsvg.png korvan.svg"));
    // The EPS lies across its portrait sheet.
    ASSERT_TRUE(shell("convert eps.png -rotate 90 eps.png"));
    std::vector<Picture> pics;
    for (const char* name : {"gs", "poppler", "rsvg", "eps"}) {
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
    EXPECT_GT(coloured, c.coloured) << what << ": the surface is there";
    for (std::size_t a = 0; a < pics.size(); ++a)
      for (std::size_t b = a + 1; b < pics.size(); ++b) {
        double diff = 0;
        for (std::size_t k = 0; k < pics[a].rgb.size(); ++k) diff += std::abs(pics[a].rgb[k] - pics[b].rgb[k]);
        EXPECT_LT(diff / pics[a].rgb.size(), 8.0) << what << ": readers " << a << " and " << b;
      }
  }
}

class LightTest : public SurfaceTest {
 protected:
  void TearDown() override {
    qqvopt(0, 0, 0);
    SurfaceTest::TearDown();
  }
  // The roof on a format, lit from litdir (azim, 20) when lit.
  static void roof(const char* format, bool lit, float azim, const char* off = nullptr) {
    const Roof r;
    fresh();
    begin(format);
    camera(0, 40);
    if (lit) {
      light("ON");
      litdir(azim, 20);
    }
    if (off) light(off);
    axes3d(-2, 2, -2, 1, -2, 2, -2, 1, 0, 1, 0, 0.5f);
    const int before = qqgglb().currentColour;
    surf3d(r.x.data(), r.n, r.y.data(), r.n, r.z.data());
    EXPECT_EQ(qqgglb().currentColour, before);
    endgrf();
    korfin();
  }
  static Picture ppm() {
    Picture p;
    EXPECT_TRUE(p.read("korvan.ppm"));
    return p;
  }
};

// Light from +y (the page's right) brightens the right face, light from -y
// the left one; on a true-colour PPM and on a PDF through pdftoppm.
TEST_F(LightTest, TheFaceTowardsTheLightIsBrighter) {
  qqvopt(1, 0, 0);
  const bool reader = shell("command -v pdftoppm");
  for (float azim : {90.0f, -90.0f}) {
    roof("PPM", true, azim);
    std::vector<Brightness> seen = {faces(ppm())};
    if (reader) {
      roof("PDF", true, azim);
      ASSERT_TRUE(shell("pdftoppm -r 40 -singlefile korvan.pdf lit"));
      seen.push_back(faces([] {
        Picture p;
        EXPECT_TRUE(p.read("lit.ppm"));
        return p;
      }()));
    }
    for (const Brightness& b : seen) {
      if (azim > 0)
        EXPECT_GT(b.right, b.left + 20) << "light from the right";
      else
        EXPECT_GT(b.left, b.right + 20) << "light from the left";
    }
  }
  // Without light both faces look alike.
  roof("PPM", false, 0);
  const Brightness plain = faces(ppm());
  EXPECT_NEAR(plain.left, plain.right, 3);
}

// A palette image file becomes true colour for a lit surface: the same
// picture as a true-colour raster from the start, not the table's nearest
// entries; the file-less raster keeps its palette.
TEST_F(LightTest, LitImageFilesAreTrueColour) {
  roof("PPM", true, 90);
  const std::string promoted = slurp("korvan.ppm");
  qqvopt(1, 0, 0);
  roof("PPM", true, 90);
  EXPECT_EQ(promoted, slurp("korvan.ppm"));
  qqvopt(0, 0, 0);
  roof("PNG", true, 90);
  if (shell("command -v pngcheck")) {
    EXPECT_TRUE(shell("pngcheck -v korvan.png | grep -q 'RGB'"));
  }
  std::remove("korvan.png");
}

// Light off is the picture of old to the byte, on the raster and on the
// vector formats; palette rasters take the nearest table entries.
TEST_F(LightTest, LightOffChangesNothing) {
  // The text metafile has only the table: the shaded cells take its
  // nearest entries.
  const char* const outputs[][2] = {{"PPM", "korvan.ppm"}, {"SVG", "korvan.svg"}, {"GKSL", "korvan.met"}};
  for (const auto& [format, file] : outputs) {
    const std::string name = file;
    roof(format, false, 0);
    const std::string plain = slurp(name);
    std::remove(name.c_str());
    roof(format, true, 90, "OFF");
    EXPECT_EQ(plain, slurp(name)) << format;
    std::remove(name.c_str());
    roof(format, true, 90);
    EXPECT_NE(plain, slurp(name)) << format;
    std::remove(name.c_str());
  }
}

// mshclr paints the mesh lines in a table colour and leaves the current
// colour as it was; -1 gives the current colour back.
TEST_F(SurfaceTest, MeshColourPaintsTheLinesOnly) {
  const WallScene s(0.3f, 0.9f);
  auto count = [&](int nclr, std::uint32_t rgb) {
    fresh();
    begin("PPM");
    mshclr(nclr);
    axes3d(-2, 2, -2, 1, -2, 2, -2, 1, 0, 1, 0, 0.5f);
    const int before = qqgglb().currentColour;
    mesh3d(s.x.data(), s.n, s.y.data(), s.n, s.z.data());
    EXPECT_EQ(qqgglb().currentColour, before);
    endgrf();
    korfin();
    Picture p;
    EXPECT_TRUE(p.read("korvan.ppm"));
    long n = 0;
    for (int y = 0; y < p.h; ++y)
      for (int x = 0; x < p.w; ++x) n += p.at(x, y) == rgb;
    return n;
  };
  qqsglb(1);
  metafl("PPM");
  korini();
  const std::uint32_t entry = static_cast<std::uint32_t>(qqgglb().colourTable[200]) & 0xFFFFFF;
  korfin();
  EXPECT_GT(count(200, entry), 1000);
  EXPECT_EQ(count(-1, entry), 0);
  // On the text metafile the line colour goes out and comes back.
  fresh();
  open();
  axspos(500, 1900);
  axslen(1700, 1700);
  mshclr(200);
  axes3d(-2, 2, -2, 1, -2, 2, -2, 1, 0, 1, 0, 0.5f);
  const int before = qqgglb().currentColour;
  mesh3d(s.x.data(), s.n, s.y.data(), s.n, s.z.data());
  EXPECT_EQ(qqgglb().currentColour, before);
  endgrf();
  korfin();
}

// The settings: ranges, keywords, levels, and korini sets them back.
TEST_F(SurfaceTest, SurfaceSettingsWarnAndReset) {
  struct Case {
    std::function<void()> call;
    const char* warning;
  } cases[] = {
      {[] { mshclr(256); }, "Warning   2"},
      {[] { mshclr(-2); }, "Warning   2"},
      {[] { litdir(0, 91); }, "Warning   2"},
      {[] { litdir(0, -90.5f); }, "Warning   2"},
      {[] { litdir(std::numeric_limits<float>::quiet_NaN(), 0); }, "Warning   2"},
      {[] { light("DIM"); }, "Warning"},
      {[] { light(nullptr); }, "Warning"},
  };
  open();
  Global& g = qqgglb();
  EXPECT_EQ(g.meshColour, -1);
  EXPECT_EQ(g.lightOn, 0);
  EXPECT_FLOAT_EQ(g.lightAzimuth, 0);
  EXPECT_FLOAT_EQ(g.lightElevation, 45);
  for (const Case& c : cases) {
    const std::string said = output(c.call);
    EXPECT_NE(said.find(c.warning), std::string::npos) << said;
  }
  EXPECT_EQ(g.meshColour, -1) << "bad calls change nothing";
  EXPECT_EQ(g.lightOn, 0);
  EXPECT_FLOAT_EQ(g.lightElevation, 45);
  const std::string quiet = output([] {
    mshclr(7);
    light("on");
    litdir(-30, -90);
  });
  EXPECT_EQ(quiet.find("Warning"), std::string::npos) << quiet;
  EXPECT_EQ(g.meshColour, 7);
  EXPECT_EQ(g.lightOn, 1);
  EXPECT_FLOAT_EQ(g.lightAzimuth, -30);
  EXPECT_FLOAT_EQ(g.lightElevation, -90);
  const int byAddress = 12, offLen = 3;
  const float a = 10, e = 5;
  mshclr_(&byAddress);
  light_("OFFxx", offLen);
  litdir_(&a, &e);
  EXPECT_EQ(g.meshColour, 12);
  EXPECT_EQ(g.lightOn, 0);
  EXPECT_FLOAT_EQ(g.lightAzimuth, 10);
  korfin();
  metafl("GKSL");
  korini();
  EXPECT_EQ(g.meshColour, -1);
  EXPECT_EQ(g.lightOn, 0);
  EXPECT_FLOAT_EQ(g.lightAzimuth, 0);
  EXPECT_FLOAT_EQ(g.lightElevation, 45);
  korfin();
  const std::string early = output([] { mshclr(3); });
  EXPECT_NE(early.find("Warning   3"), std::string::npos) << "level 0: " << early;
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
