// 3-D surfaces in the screen window of the headless window system, read
// back from the back buffer: the cells and the mesh lines go through the
// z-buffer there as on the raster, in true colour and with a palette.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "devices/screen/screen_driver.h"
#include "fields/surface_scenes.h"
#include "platform/window_system.h"

namespace korvan::test {
namespace {

class SurfaceScreenTest : public FieldPlot {
 protected:
  void SetUp() override {
    FieldPlot::SetUp();
    qqwwcls();
  }
  void TearDown() override {
    if (qqsglb(0) == 1 && qqgglb().level > 0) korfin();
    qqwwcls();
    FieldPlot::TearDown();
  }

  // The back buffer as R, G, B after the plot that draw makes in the box.
  // On another format (a file) when format is given; rassiz(w, h) first
  // when w > 0.
  template <class Draw>
  static Picture show(int bitsPerPixel, float azim, float elev, Draw draw,
                      const char* format = nullptr, int w = 0, int h = 0) {
    platform::ScreenMetrics m;
    m.bitsPerPixel = bitsPerPixel;
    platform::useHeadless(m);
    qqsglb(1);
    metafl(format ? format : "CONS");
    if (w > 0) rassiz(w, h);
    korini();
    qqgglb().protocolOn = 0;
    axspos(500, 1900);
    axslen(1700, 1700);
    camera(azim, elev);
    draw(true);
    axes3d(-2, 2, -2, 1, -2, 2, -2, 1, 0, 1, 0, 0.5f);
    const int before = qqgglb().currentColour;
    draw(false);
    EXPECT_EQ(qqgglb().currentColour, before);
    endgrf();
    Picture p;
    if (format) {
      korfin();
      EXPECT_TRUE(p.read("korvan.ppm"));
      std::remove("korvan.ppm");
      deviceScale_ = 0;
      return p;
    }
    deviceScale_ = qqgglb().deviceScale;
    ScreenSlotInfo info{};
    EXPECT_TRUE(qqwinf(qqwcur(), &info));
    p.w = info.width;
    p.h = info.height;
    for (int y = 0; y < p.h; ++y)
      for (int x = 0; x < p.w; ++x) {
        const std::uint32_t c = qqwrgb(x, y);
        p.rgb.push_back(static_cast<std::uint8_t>(c >> 16));
        p.rgb.push_back(static_cast<std::uint8_t>(c >> 8));
        p.rgb.push_back(static_cast<std::uint8_t>(c));
      }
    korfin();
    qqwwcls();
    return p;
  }
  static inline float deviceScale_ = 0;
  static Picture wall(int bits, float wallHeight, float peak, bool shaded) {
    const WallScene s(wallHeight, peak);
    return show(bits, 0, 8, [&](bool settings) {
      if (settings) return;
      if (shaded)
        surf3d(s.x.data(), s.n, s.y.data(), s.n, s.z.data());
      else
        mesh3d(s.x.data(), s.n, s.y.data(), s.n, s.z.data());
    });
  }
};

TEST_F(SurfaceScreenTest, APeakBehindAWallLeavesNoLineOrColour) {
  for (int bits : {24, 8})
    for (bool shaded : {false, true}) {
      const std::string what = std::to_string(bits) + (shaded ? " bits, surf3d" : " bits, mesh3d");
      const Picture wallOnly = wall(bits, 1.0f, 0.0f, shaded);
      const Picture hidden = wall(bits, 1.0f, 0.6f, shaded);
      ASSERT_GT(wallOnly.w, 500) << what;
      EXPECT_EQ(wallOnly.rgb, hidden.rgb) << what;
      const Picture low = wall(bits, 0.3f, 0.0f, shaded);
      const Picture seen = wall(bits, 0.3f, 0.9f, shaded);
      EXPECT_NE(low.rgb, seen.rgb) << what << ": a peak above the wall shows";
      // Something of the surface is drawn: more than the box's lines.
      long lit = 0;
      for (std::size_t k = 0; k < seen.rgb.size(); k += 3)
        lit += seen.rgb[k] + seen.rgb[k + 1] + seen.rgb[k + 2] > 0;
      EXPECT_GT(lit, 5000) << what;
    }
}

// With the raster's size the screen shows the raster's pixels: the same
// z-buffer, the same hidden-line stage.
TEST_F(SurfaceScreenTest, TheScreenShowsWhatThePpmShows) {
  const WallScene s(0.3f, 0.9f);
  for (bool shaded : {false, true}) {
    auto draw = [&](bool settings) {
      if (settings) {
        mshclr(200);
        return;
      }
      if (shaded)
        surf3d(s.x.data(), s.n, s.y.data(), s.n, s.z.data());
      else
        mesh3d(s.x.data(), s.n, s.y.data(), s.n, s.z.data());
    };
    const Picture ppm = show(24, 40, 30, draw, "PPM", 853, 603);
    const Picture screen = show(24, 40, 30, draw, nullptr, 853, 603);
    ASSERT_GE(screen.w, ppm.w);
    ASSERT_GE(screen.h, ppm.h);
    long differ = 0, drawn = 0;
    for (int y = 0; y < ppm.h; ++y)
      for (int x = 0; x < ppm.w; ++x) {
        // the box's lines (white) come from each device's own line drawing
        const std::uint32_t a = ppm.at(x, y), b = screen.at(x, y);
        if (a == 0xFFFFFF || b == 0xFFFFFF) continue;
        differ += a != b;
        drawn += a != 0;
      }
    EXPECT_GT(drawn, 5000);
    EXPECT_EQ(differ, 0) << (shaded ? "surf3d" : "mesh3d") << ", screen scale " << deviceScale_;
  }
}

// mshclr's colour on the screen, and the current colour stays.
TEST_F(SurfaceScreenTest, MeshLinesInTheirColour) {
  const WallScene s(0.3f, 0.9f);
  std::uint32_t entry = 0;
  auto count = [&](int nclr) {
    const Picture p = show(24, 40, 30, [&](bool settings) {
      if (settings) {
        mshclr(nclr);
        entry = static_cast<std::uint32_t>(qqgglb().colourTable[200]) & 0xFFFFFF;
        return;
      }
      mesh3d(s.x.data(), s.n, s.y.data(), s.n, s.z.data());
    });
    long n = 0;
    for (int y = 0; y < p.h; ++y)
      for (int x = 0; x < p.w; ++x) n += p.at(x, y) == entry;
    return n;
  };
  EXPECT_GT(count(200), 1000);
  EXPECT_EQ(count(-1), 0);
}

// The light on a true-colour screen: the face towards it is the brighter;
// a palette screen shows the nearest table entries.
TEST_F(SurfaceScreenTest, TheFaceTowardsTheLightIsBrighter) {
  const Roof r;
  auto roof = [&](int bits, bool lit, float azim) {
    return show(bits, 0, 40, [&](bool settings) {
      if (settings) {
        light(lit ? "ON" : "OFF");
        litdir(azim, 20);
        return;
      }
      surf3d(r.x.data(), r.n, r.y.data(), r.n, r.z.data());
    });
  };
  const Brightness right = faces(roof(24, true, 90)), left = faces(roof(24, true, -90));
  EXPECT_GT(right.right, right.left + 20);
  EXPECT_GT(left.left, left.right + 20);
  const Brightness plain = faces(roof(24, false, 90));
  EXPECT_NEAR(plain.left, plain.right, 3);
  const Picture palette = roof(8, true, 90), flat = roof(8, false, 90);
  EXPECT_NE(palette.rgb, flat.rgb);
}

}  // namespace
}  // namespace korvan::test
