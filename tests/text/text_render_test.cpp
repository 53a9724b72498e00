// Text as a reader sees it: strings in both fonts drawn into PNG files and
// read back by OCR (tesseract), and the same text in PostScript and SVG
// rendered by Ghostscript and rsvg-convert with its strokes where the
// raster has them.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "devices/postscript/raster_check.h"
#include "korvan.h"
#include "support/plot_fixture.h"

namespace korvan::test {
namespace {

// Pixels per plot unit of the raster and SVG pages; the PostScript sheet
// (A4 at 72 dpi, the page turned) as in the driver's own tests.
const double kS = std::min(852.0 / 2969.0, 602.0 / 2099.0);
constexpr double kPt = 0.1417322835;
constexpr double kPsScale = 3900.0 / 2099.0 * kPt;

// A pixel within two of (x, y) that is not the paper.
bool inkNear(const Image& im, double x, double y, Rgb paper) {
  for (int dy = -2; dy <= 2; ++dy)
    for (int dx = -2; dx <= 2; ++dx) {
      int px = static_cast<int>(x) + dx, py = static_cast<int>(y) + dy;
      if (px >= 0 && py >= 0 && px < im.width && py < im.height && !near(im.at(px, py), paper))
        return true;
    }
  return false;
}

class TextRenderTest : public PlotTest {
 protected:
  // One plot of text with its upper-left corner at (x, y).
  static void plot(const char* device, int font, int h, int deg, const char* s, int x, int y) {
    metafl(device);
    korini();
    qqgglb().protocolOn = 0;
    if (font == 3) complx();
    height(h);
    angle(deg);
    linwid(3);
    messag(s, x, y);
    korfin();
  }
  static std::string ocr(const std::string& png, int turn) {
    std::string cmd = "convert " + png + " -negate -rotate " + std::to_string(turn) +
                      " ocr.png && tesseract ocr.png ocr --psm 7 >/dev/null 2>&1";
    if (run(cmd) != 0) return "(tesseract failed)";
    std::string s = slurp("ocr.txt");
    while (!s.empty() && (s.back() == '\n' || s.back() == ' ' || s.back() == '\f')) s.pop_back();
    return s;
  }
};

TEST_F(TextRenderTest, OcrReadsBothFontsAtSeveralHeightsAndAngles) {
  struct Case {
    int font, height, angle;
    const char* text;
    int x, y, turn;  // the image is turned by turn degrees clockwise for reading
  } cases[] = {
      {1, 80, 0, "Quick brown foxes 1987", 100, 300, 0},
      {1, 130, 0, "JUMPS OVER LAZY DOGS", 100, 900, 0},
      {1, 100, 90, "Plot of values", 1400, 1900, 90},
      {3, 80, 0, "Quick brown foxes 1987", 100, 300, 0},
      {3, 120, 0, "Mean value 42", 200, 1500, 0},
      {3, 100, 90, "Rotated label", 1400, 1900, 90},
      {3, 90, 180, "Upside down", 2500, 1500, 180},
  };
  for (const Case& c : cases) {
    plot("PNG", c.font, c.height, c.angle, c.text, c.x, c.y);
    ASSERT_TRUE(exists("korvan.png"));
    EXPECT_EQ(ocr("korvan.png", c.turn), c.text)
        << "font " << c.font << ", height " << c.height << ", angle " << c.angle;
    std::remove("korvan.png");
  }
}

TEST_F(TextRenderTest, PostScriptAndSvgHaveTheStrokesOfTheRaster) {
  const char* s = "Axis 1:2.5";
  for (int font : {1, 3}) {
    SCOPED_TRACE(font);
    plot("PNG", font, 120, 0, s, 300, 800);
    plot("SVG", font, 120, 0, s, 300, 800);
    plot("PS", font, 120, 0, s, 300, 800);
    ASSERT_EQ(run("pngtopnm korvan.png > png.ppm 2>/dev/null"), 0);
    Image png = readPpm("png.ppm"), svg = renderSvg("korvan.svg"), ps = renderPs("korvan.ps", 72);
    ASSERT_FALSE(png.empty());
    ASSERT_FALSE(svg.empty());
    ASSERT_FALSE(ps.empty());
    Rgb back = png.at(0, 0), white{255, 255, 255};
    // Every ink pixel of the raster has ink near it in the other two, and
    // the SVG has no ink where the raster has none.
    int ink = 0, inSvg = 0, inPs = 0, svgInk = 0, svgInRaster = 0;
    for (int y = 0; y < png.height; ++y)
      for (int x = 0; x < png.width; ++x) {
        if (!near(svg.at(x, y), white)) {
          ++svgInk;
          svgInRaster += inkNear(png, x, y, back);
        }
        if (near(png.at(x, y), back)) continue;
        ++ink;
        inSvg += inkNear(svg, x, y, white);
        double px = x / kS, py = y / kS;
        inPs += inkNear(ps, 150 * kPt + py * kPsScale, 842.0 - (200 * kPt + px * kPsScale), white);
      }
    EXPECT_GT(ink, 300);
    EXPECT_GE(inSvg, ink * 98 / 100);
    EXPECT_GE(inPs, ink * 98 / 100);
    EXPECT_GE(svgInRaster, svgInk * 98 / 100);
    for (const char* f : {"korvan.png", "korvan.svg", "korvan.ps"}) std::remove(f);
  }
}

}  // namespace
}  // namespace korvan::test
