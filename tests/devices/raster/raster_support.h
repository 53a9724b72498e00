// Helpers of the raster tests: running the independent image tools and
// reading what they decode.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "devices/raster/raster.h"
#include "support/plot_fixture.h"

namespace korvan::test {

struct Decoded {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;  // rows top to bottom, R, G, B
};

// Runs a shell command; its standard output and error together, and its
// exit code.
inline int sh(const std::string& cmd, std::string* output = nullptr) {
  return exitCode("(" + cmd + ") 2>&1", output);
}

// Reads a raw PPM (P6, maximum value 255).
inline bool readPpm(const std::string& name, Decoded* d) {
  return korvan::test::readPpm(name, d->width, d->height, d->rgb);
}

// Decodes an image file with a netpbm converter (pngtopnm, giftopnm,
// bmptopnm, tifftopnm ...), through ppmtoppm so that grey and bilevel
// results come as P6 as well.
inline Decoded decodeWith(const std::string& converter, const std::string& file) {
  Decoded d;
  std::string out;
  int rc = sh(converter + " " + file + " | ppmtoppm > decoded.ppm", &out);
  EXPECT_EQ(rc, 0) << converter << " " << file << ": " << out;
  EXPECT_TRUE(readPpm("decoded.ppm", &d)) << converter << " " << file;
  std::remove("decoded.ppm");
  return d;
}

// Decodes with ImageMagick to a PPM.
inline Decoded decodeWithConvert(const std::string& file) {
  Decoded d;
  std::string out;
  int rc = sh("convert " + file + " -depth 8 ppm:converted.ppm", &out);
  EXPECT_EQ(rc, 0) << "convert " << file << ": " << out;
  EXPECT_TRUE(readPpm("converted.ppm", &d)) << file;
  std::remove("converted.ppm");
  return d;
}

// The raster's pixels as R, G, B rows.
inline Decoded pixelsOf(VirtualRaster& r) {
  Decoded d;
  d.width = r.width();
  d.height = r.height();
  d.rgb.resize(3 * static_cast<std::size_t>(d.width) * d.height);
  r.qqvrdr(d.rgb.data(), 0, 0, -d.width, d.height);
  return d;
}

// Equal images, or the first differing pixel.
inline ::testing::AssertionResult samePixels(const Decoded& a, const Decoded& b) {
  if (a.width != b.width || a.height != b.height)
    return ::testing::AssertionFailure() << "size " << a.width << "x" << a.height << " vs "
                                         << b.width << "x" << b.height;
  for (std::size_t i = 0; i < a.rgb.size(); i += 3)
    if (a.rgb[i] != b.rgb[i] || a.rgb[i + 1] != b.rgb[i + 1] || a.rgb[i + 2] != b.rgb[i + 2]) {
      std::size_t p = i / 3;
      return ::testing::AssertionFailure()
             << "pixel (" << p % a.width << ", " << p / a.width << "): " << int(a.rgb[i]) << ","
             << int(a.rgb[i + 1]) << "," << int(a.rgb[i + 2]) << " vs " << int(b.rgb[i]) << ","
             << int(b.rgb[i + 1]) << "," << int(b.rgb[i + 2]);
    }
  return ::testing::AssertionSuccess();
}

// A colour table with distinct entries: a small rainbow-like ramp.
inline void testTable(int table[256]) {
  for (int i = 0; i < 256; ++i) {
    int r = (i * 37) & 255, g = (i * 91 + 17) & 255, b = 255 - i;
    table[i] = (r << 16) | (g << 8) | b;
  }
  table[0] = 0x000000;
  table[255] = 0xFFFFFF;
}

// A picture that touches every code path of the writers: lines in several
// directions, boxes, a triangle, and every colour index somewhere.
inline void drawPicture(VirtualRaster& r) {
  int w = r.width(), h = r.height();
  for (int i = 0; i < 256; ++i) r.qqvwpx(i % w, (i / w) % h, i);
  r.qqvclr(200);
  r.qqvlin(0, h - 1, w - 1, 0);
  r.qqvclr(30);
  r.qqvlin(0, 0, w - 1, h - 1);
  r.qqvfll(w / 4, h / 4, w / 2, h / 2, 96);
  int xs[3] = {w / 2, w - 2, w / 3}, ys[3] = {1, h / 2, h - 2};
  r.qqvftr(xs, ys, 138);
  r.qqvclr(255);
  r.qqvlin(w / 2, 0, w / 2, h - 1);
}

// A library state without a plot, a test colour table and rasters drawn
// with the test picture.
class RasterFixture : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    g = jqqlev(0, 0, "test");
    ASSERT_NE(g, nullptr);
    testTable(table);
  }
  void make(VirtualRaster& r, int w, int h, int mode, bool picture = true) {
    int ww = w, hh = h;
    ASSERT_EQ(r.qqvini(2969, 2099, &ww, &hh, 1, 0, mode), 0);
    r.qqvvlt(table);
    if (picture) drawPicture(r);
  }

  Global* g = nullptr;
  int table[256];
};

}  // namespace korvan::test
