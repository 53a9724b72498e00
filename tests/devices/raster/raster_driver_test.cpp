// The raster outputs end to end: metafl, drawing, korfin, and the image file
// that the independent readers decode.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/state.h"
#include "devices/image/image.h"
#include "devices/raster/dump.h"
#include "devices/raster/raster_driver.h"
#include "korvan.h"
#include "raster_support.h"

namespace korvan {
namespace {

using test::Decoded;
using test::decodeWith;
using test::samePixels;
using test::sh;

class RasterOutput : public test::PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    qqvopt(0, 0, 0);
  }
  void TearDown() override {
    qqvopt(0, 0, 0);
    PlotTest::TearDown();
  }
  // The plot of every case: the page in blue (RAIN 30), a red line across at
  // y = 1000 and the page border in white. Returns the protocol.
  std::string plot(const char* keyword) {
    testing::internal::CaptureStdout();
    metafl(keyword);
    korini();
    pagfll(30);
    color("RED");
    line(0, 1000, 2969, 1000);
    color("WHIT");
    pagera();
    std::memcpy(table_, qqgglb().colourTable, sizeof table_);
    korfin();
    return testing::internal::GetCapturedStdout();
  }
  static void pixel(const Decoded& d, int x, int y, int rgb, const std::string& what) {
    const std::uint8_t* p = &d.rgb[3 * (static_cast<std::size_t>(y) * d.width + x)];
    EXPECT_EQ((p[0] << 16) | (p[1] << 8) | p[2], rgb) << what << " at " << x << "," << y;
  }
  // What the plot must look like: s = 602 / 2099, so y = 1000 is row 287.
  static void checkPlot(const Decoded& d, const std::string& what) {
    ASSERT_EQ(d.width, 853) << what;
    ASSERT_EQ(d.height, 603) << what;
    pixel(d, 400, 100, 0x0000FF, what);
    pixel(d, 400, 287, 0xFF0000, what);
    pixel(d, 400, 286, 0x0000FF, what);
    pixel(d, 0, 300, 0xFFFFFF, what);    // left border
    pixel(d, 400, 602, 0xFFFFFF, what);  // bottom border: 2099 * s = 602
    pixel(d, 852, 300, 0xFFFFFF, what);  // right border: rnd(2969 * s) = 852
  }
  // The dump holds colour indices: they are read with the plot's table.
  Decoded readDump(const char* name) {
    VirtualRaster r;
    int w = 853, h = 603;
    EXPECT_EQ(r.qqvini(2969, 2099, &w, &h, 1, 0, 0), 0);
    r.qqvvlt(table_);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s", name);
    EXPECT_EQ(qqvfil(*jqqlev(0, 3, "test"), r, buf, sizeof buf, 1), 0);
    return test::pixelsOf(r);
  }
  int table_[256] = {};
};

TEST_F(RasterOutput, EveryFormatWritesTheDrawnPixels) {
  plot("IMAG");
  ASSERT_TRUE(exists("korvan.img"));
  std::string head = slurp("korvan.img").substr(0, 20);
  EXPECT_EQ(head, "!Bitmap KORVAN VIRT ");
  qqsglb(1);
  Decoded dump = readDump("korvan.img");
  checkPlot(dump, "IMAG");

  struct Case {
    const char* keyword;
    const char* file;
    const char* check;
    const char* decoder;
  } cases[] = {
      {"PNG", "korvan.png", "pngcheck -q", "pngtopnm"},
      {"GIF", "korvan.gif", "giftext", "giftopnm"},
      {"BMP", "korvan.bmp", "bmptopnm", "bmptopnm"},
      {"TIFF", "korvan.tif", "tiffinfo", "tifftopnm"},
      {"PPM", "korvan.ppm", "pnmfile", "ppmtoppm <"},
  };
  for (const Case& c : cases) {
    qqsglb(1);
    std::string protocol = plot(c.keyword);
    ASSERT_TRUE(exists(c.file)) << c.keyword;
    EXPECT_NE(protocol.find(std::string("Metafile: ") + c.file), std::string::npos) << protocol;
    std::string out;
    EXPECT_EQ(sh(std::string(c.check) + " " + c.file + " > /dev/null", &out), 0) << out;
    Decoded d = decodeWith(c.decoder, c.file);
    checkPlot(d, c.keyword);
    EXPECT_TRUE(samePixels(d, dump)) << c.keyword;
  }
}

TEST_F(RasterOutput, TrueColourRasterWritesRgbFiles) {
  qqvopt(1, 0, 0);
  plot("PNG");
  std::string out;
  EXPECT_EQ(sh("pngcheck -v korvan.png", &out), 0) << out;
  EXPECT_NE(out.find("RGB"), std::string::npos) << out;
  checkPlot(decodeWith("pngtopnm", "korvan.png"), "PNG RGB");
  qqsglb(1);
  plot("TIFF");
  EXPECT_EQ(sh("tiffinfo korvan.tif", &out), 0) << out;
  EXPECT_NE(out.find("RGB color"), std::string::npos) << out;
  checkPlot(decodeWith("tifftopnm", "korvan.tif"), "TIFF RGB");
  qqsglb(1);
  plot("GIF");  // nearest indices of the table
  checkPlot(decodeWith("giftopnm", "korvan.gif"), "GIF RGB");
}

TEST_F(RasterOutput, GivenRasterSizeIsUsed) {
  qqvopt(0, 200, 100);
  plot("PPM");
  Decoded d = decodeWith("ppmtoppm <", "korvan.ppm");
  EXPECT_EQ(d.width, 200);
  EXPECT_EQ(d.height, 100);
  // s = min(199 / 2969, 99 / 2099): the page fills the raster's height.
  pixel(d, 140, 50, 0xFFFFFF, "right border");
  pixel(d, 141, 50, 0x000000, "beside the page");
  pixel(d, 70, 99, 0xFFFFFF, "bottom border");
}

TEST_F(RasterOutput, VirtWritesNoFile) {
  std::string protocol = plot("VIRT");
  EXPECT_TRUE(std::filesystem::is_empty(dir_));
  EXPECT_EQ(protocol.find("Metafile: korvan"), std::string::npos) << protocol;
  EXPECT_NE(protocol.find("Fileformat: VIRT"), std::string::npos) << protocol;
}

TEST_F(RasterOutput, ExistingImageFileGetsTheNextVersion) {
  touch("korvan.bmp", "mine");
  std::string protocol = plot("BMP");
  EXPECT_EQ(slurp("korvan.bmp"), "mine");
  ASSERT_TRUE(exists("korvan_1.bmp"));
  EXPECT_NE(protocol.find("Metafile: korvan_1.bmp"), std::string::npos) << protocol;
}

TEST_F(RasterOutput, BoxColourIsTakenModulo256AndEraseClears) {
  testing::internal::CaptureStdout();
  metafl("PNG");
  korini();
  pagfll(300);  // entry 44 of the rainbow: 0036FF
  Global& g = qqgglb();
  int expect44 = g.colourTable[44];
  korfin();
  testing::internal::GetCapturedStdout();
  Decoded d = decodeWith("pngtopnm", "korvan.png");
  pixel(d, 10, 10, expect44, "colour 300");
  EXPECT_EQ(expect44, 0x0036FF);

  qqsglb(1);
  testing::internal::CaptureStdout();
  metafl("PNG");
  korini();
  pagfll(30);
  erase();
  korfin();
  testing::internal::GetCapturedStdout();
  pixel(decodeWith("pngtopnm", "korvan_1.png"), 10, 10, 0x000000, "erased");
}

TEST_F(RasterOutput, SmallColourTableGivesAShortPalette) {
  testing::internal::CaptureStdout();
  metafl("PNG");
  korini();
  setvlt("SMAL");
  pagfll(4);  // blue in the small table
  korfin();
  testing::internal::GetCapturedStdout();
  std::string out;
  EXPECT_EQ(sh("pngcheck -v korvan.png", &out), 0) << out;
  EXPECT_NE(out.find("9 palette entries"), std::string::npos) << out;
  pixel(decodeWith("pngtopnm", "korvan.png"), 5, 5, 0x0000FF, "SMAL blue");
}

TEST_F(RasterOutput, UnwritableImageFileIsOneWarning36) {
  Global& g = *jqqlev(0, 0, "korfin");
  g.device = 604;
  VirtualRaster r;
  int w = 4, h = 4;
  ASSERT_EQ(r.qqvini(2969, 2099, &w, &h, 1, 0, 0), 0);
  char name[] = "no/such/dir/korvan.png";
  testing::internal::CaptureStdout();
  EXPECT_EQ(qqrfil(g, name, sizeof name, 4, &r), -1);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_EQ(out, " <<<< Warning  36: File error in korfin!   (no/such/dir/korvan.png)\n");
}

TEST_F(RasterOutput, ScreenWithoutWindowImageIsWarning53AndNoFile) {
  Global& g = *jqqlev(0, 0, "korfin");
  g.device = 80;
  char name[] = "korvan.png";
  testing::internal::CaptureStdout();
  EXPECT_NE(qqrfil(g, name, sizeof name, 4, nullptr), 0);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Warning  53"), std::string::npos) << out;
  EXPECT_FALSE(exists("korvan.png"));
}

}  // namespace
}  // namespace korvan
