// Image files of a screen output: the window image is captured through the
// screen driver (headless window system) and written like a raster.
#include <gtest/gtest.h>

#include <string>

#include "core/state.h"
#include "devices/image/image.h"
#include "devices/raster/dump.h"
#include "devices/screen/screen_driver.h"
#include "devices/screen/screen_image.h"
#include "korvan.h"
#include "platform/window_system.h"
#include "raster_support.h"

namespace korvan {
namespace {

using test::Decoded;
using test::decodeWith;
using test::samePixels;

class ScreenImage : public test::PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    platform::ScreenMetrics m;
    m.width = 640;
    m.height = 480;
    m.bitsPerPixel = 24;
    platform::useHeadless(m);
  }
  void TearDown() override {
    // End the plot without waiting, keeping the window, then close it.
    Global* g = jqqlev(0, 3, "test");
    if (g && g->level > 0) {
      g->winEndMode = 2;
      testing::internal::CaptureStdout();
      korfin();
      testing::internal::GetCapturedStdout();
    }
    qqwwcls();
    PlotTest::TearDown();
  }
  // The window image as the screen driver reports it.
  static Decoded window(Global& g) {
    Decoded d;
    EXPECT_TRUE(qqwimg(g, &d.width, &d.height));
    d.rgb.resize(3 * static_cast<std::size_t>(d.width) * d.height);
    for (int y = 0; y < d.height; ++y) qqwrdr(g, y, &d.rgb[3 * static_cast<std::size_t>(y) * d.width]);
    return d;
  }
  static Global& drawOnScreen() {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    metafl("CONS");
    korini();
    pagfll(30);
    color("RED");
    line(0, 1000, 2969, 1000);
    color("YELL");
    line(0, 0, 2969, 2099);
    sendbf();
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    return qqgglb();
  }
};

TEST_F(ScreenImage, WindowImageIsWrittenInEveryFormat) {
  Global& g = drawOnScreen();
  Decoded want = window(g);
  ASSERT_GT(want.width, 100);
  int red = 0, blue = 0;
  for (std::size_t i = 0; i < want.rgb.size(); i += 3) {
    red += want.rgb[i] == 255 && want.rgb[i + 1] == 0 && want.rgb[i + 2] == 0;
    blue += want.rgb[i] == 0 && want.rgb[i + 1] == 0 && want.rgb[i + 2] == 255;
  }
  EXPECT_GE(red, want.width - 2);  // the line across
  EXPECT_GT(blue, want.width * want.height / 2);
  struct Case {
    int format;
    const char* file;
    const char* decoder;
  } cases[] = {{4, "screen.png", "pngtopnm"}, {7, "screen.gif", "giftopnm"},
               {6, "screen.bmp", "bmptopnm"}, {1, "screen.tif", "tifftopnm"},
               {5, "screen.ppm", "ppmtoppm <"}};
  for (const Case& c : cases) {
    char name[64];
    std::snprintf(name, sizeof name, "%s", c.file);
    ASSERT_EQ(qqrfil(g, name, sizeof name, c.format, nullptr), 0) << c.file;
    // The window shows table colours only, so GIF's nearest indices are exact.
    EXPECT_TRUE(samePixels(decodeWith(c.decoder, name), want)) << c.file;
  }
}

TEST_F(ScreenImage, WindowDumpReadsBackIntoARaster) {
  Global& g = drawOnScreen();
  Decoded want = window(g);
  char name[] = "screen.img";
  ASSERT_EQ(qqrfil(g, name, sizeof name, 2, nullptr), 0);
  EXPECT_EQ(slurp(name).substr(0, 20), "!Bitmap KORVAN WIN  ");
  VirtualRaster r;
  int w = want.width, h = want.height;
  ASSERT_EQ(r.qqvini(2969, 2099, &w, &h, 1, 0, 1), 0);
  ASSERT_EQ(qqvfil(g, r, name, sizeof name, 1), 0);
  EXPECT_TRUE(samePixels(test::pixelsOf(r), want));
}

}  // namespace
}  // namespace korvan
