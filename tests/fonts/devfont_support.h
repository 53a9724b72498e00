// Test support of the device fonts: small BDF files written on the spot, a
// KORVAN directory of their own, and the virtual raster of the open plot.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/state.h"
#include "devices/raster/raster_driver.h"
#include "support/plot_fixture.h"
#include "text/devfont.h"

#include "support/files.h"

namespace korvan::test {

struct TestGlyph {
  int code, dwidth;
  int w, h, x, y;                 // BBX
  std::vector<std::string> rows;  // hexadecimal lines
};

inline std::string bdfText(const std::vector<TestGlyph>& glyphs, int size = 12) {
  std::string s = "STARTFONT 2.1\nCOMMENT made by a test\nFONT -test-" + std::to_string(size) +
                  "\nSIZE " + std::to_string(size) + " 75 75\nFONTBOUNDINGBOX 8 8 0 -2\n" +
                  "CHARS " + std::to_string(glyphs.size()) + "\n";
  for (const TestGlyph& g : glyphs) {
    s += "STARTCHAR c" + std::to_string(g.code) + "\nENCODING " + std::to_string(g.code) +
         "\nSWIDTH 500 0\nDWIDTH " + std::to_string(g.dwidth) + " 0\nBBX " +
         std::to_string(g.w) + " " + std::to_string(g.h) + " " + std::to_string(g.x) + " " +
         std::to_string(g.y) + "\nBITMAP\n";
    for (const std::string& r : g.rows) s += r + "\n";
    s += "ENDCHAR\n";
  }
  return s + "ENDFONT\n";
}

// The glyph of the edge case: 8 x 2, rows FF and 81.
inline TestGlyph barGlyph(int code, int dwidth = 9) { return {code, dwidth, 8, 2, 0, 0, {"FF", "81"}}; }

// A test case that owns a KORVAN directory with a fonts/ folder and an
// empty font cache.
class FontTest : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    const char* k = std::getenv("KORVAN");
    saved_ = k ? k : "";
    hadKorvan_ = k != nullptr;
    std::filesystem::create_directories("data/fonts");
    setenv("KORVAN", (dir_ / "data").c_str(), 1);
    qqbdfclr();
  }
  void TearDown() override {
    qqbdfclr();
    if (hadKorvan_)
      setenv("KORVAN", saved_.c_str(), 1);
    else
      unsetenv("KORVAN");
    PlotTest::TearDown();
  }
  void font(const std::string& name, const std::vector<TestGlyph>& glyphs) {
    std::ofstream("data/fonts/" + name + ".bdf") << bdfText(glyphs);
  }
  static VirtualRaster& raster() { return static_cast<RasterDriver*>(qqgglb().driver.get())->raster(); }

 private:
  std::string saved_;
  bool hadKorvan_ = false;
};

}  // namespace korvan::test

namespace korvan::test {

// What tesseract reads in an image (one line of text), blanks removed;
// convertOptions prepare the image with ImageMagick first (scaling,
// inversion, cropping).
inline std::string ocr(const std::string& image, const std::string& convertOptions) {
  std::string text;
  if (!shell("convert " + image + " " + convertOptions + " -colorspace gray ocr.png")) return "";
  shell("tesseract ocr.png stdout --psm 7", &text);
  std::string squeezed;
  for (char c : text)
    if (c != ' ' && c != '\n' && c != '\f') squeezed += c;
  return squeezed;
}

}  // namespace korvan::test
