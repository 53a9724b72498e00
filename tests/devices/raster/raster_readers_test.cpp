// The BMP and GIF readers: our own files, files made by independent tools,
// placement in the raster, and truncated or damaged files.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "core/state.h"
#include "devices/image/byte_source.h"
#include "devices/image/image.h"
#include "raster_support.h"

namespace korvan {
namespace {

using test::pixelsOf;
using test::samePixels;
using test::sh;

class ImageReaders : public test::RasterFixture {
 protected:
  ImageInfo info(VirtualRaster& r, int device) {
    ImageInfo s;
    s.device = r.trueColour() ? -device : device;
    s.width = r.width();
    s.height = r.height();
    s.table = r.table();
    return s;
  }
  std::string writeBmp(VirtualRaster& r) {
    char name[] = "in.bmp";
    EXPECT_EQ(qqpbmp(*g, name, sizeof name, info(r, 606), r), 0);
    return name;
  }
  std::string writeGif(VirtualRaster& r) {
    char name[] = "in.gif";
    EXPECT_EQ(qqpgif(*g, name, sizeof name, info(r, 607), r, 0, 0), 0);
    return name;
  }
  // A PPM with a few colours, for the independent tools to convert.
  void ppm(const std::string& name, int w, int h) {
    std::string px;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        int c = ((x / 3 + y / 2) % 5);
        int v = table[c * 40 + 7];
        px += static_cast<char>(v >> 16);
        px += static_cast<char>(v >> 8);
        px += static_cast<char>(v);
      }
    touch(name, "P6\n" + std::to_string(w) + " " + std::to_string(h) + "\n255\n" + px);
  }
  static test::Decoded fromPpm(const std::string& name) {
    test::Decoded d;
    EXPECT_TRUE(test::readPpm(name, &d));
    return d;
  }
};

TEST_F(ImageReaders, OwnBmpAndGifReadBackToTheSamePixels) {
  for (int mode : {0, 1}) {
    VirtualRaster src, back;
    make(src, 37, 21, mode);
    make(back, 37, 21, mode, false);
    ASSERT_EQ(qqpibmp(writeBmp(src).c_str(), back, 0, 0), 0);
    EXPECT_TRUE(samePixels(pixelsOf(back), pixelsOf(src))) << mode;
    back.qqvers();
    ASSERT_EQ(qqpigif(writeGif(src).c_str(), back, 0, 0), 0);
    EXPECT_TRUE(samePixels(pixelsOf(back), pixelsOf(src))) << mode;
    std::remove("in.bmp");
    std::remove("in.gif");
  }
}

TEST_F(ImageReaders, BmpFilesOfTheNetpbmTools) {
  ppm("src.ppm", 13, 6);
  test::Decoded want = fromPpm("src.ppm");
  for (std::string opts : {"-bpp 24", "-bpp 8", "-bpp 4", "-os2 -bpp 24", "-os2 -bpp 8"}) {
    std::string out;
    ASSERT_EQ(sh("ppmtobmp " + opts + " src.ppm > tool.bmp", &out), 0) << out;
    VirtualRaster r;
    make(r, 13, 6, 1, false);
    ASSERT_EQ(qqpibmp("tool.bmp", r, 0, 0), 0) << opts;
    EXPECT_TRUE(samePixels(pixelsOf(r), want)) << opts;
  }
}

TEST_F(ImageReaders, TopDownBmpIsReadTopDown) {
  VirtualRaster src;
  make(src, 6, 4, 1);
  std::string bmp = slurp(writeBmp(src));
  // Negative height, rows reversed.
  std::string flipped = bmp.substr(0, 54);
  std::int32_t h = -4;
  std::memcpy(&flipped[22], &h, 4);
  for (int row = 3; row >= 0; --row) flipped += bmp.substr(54 + 20 * row, 20);
  touch("down.bmp", flipped);
  VirtualRaster r;
  make(r, 6, 4, 1, false);
  ASSERT_EQ(qqpibmp("down.bmp", r, 0, 0), 0);
  EXPECT_TRUE(samePixels(pixelsOf(r), pixelsOf(src)));
}

TEST_F(ImageReaders, GifFilesOfTheIndependentTools) {
  ppm("src.ppm", 29, 11);
  test::Decoded want = fromPpm("src.ppm");
  for (std::string cmd : {"ppmtogif src.ppm > tool.gif", "ppmtogif -interlace src.ppm > tool.gif",
                          "convert src.ppm tool.gif", "convert src.ppm -interlace GIF tool.gif"}) {
    std::string out;
    ASSERT_EQ(sh(cmd, &out), 0) << out;
    VirtualRaster r;
    make(r, 29, 11, 1, false);
    ASSERT_EQ(qqpigif("tool.gif", r, 0, 0), 0) << cmd;
    EXPECT_TRUE(samePixels(pixelsOf(r), want)) << cmd;
  }
}

TEST_F(ImageReaders, ImagesArePlacedAtTheCornerGivenAndCut) {
  VirtualRaster src;
  make(src, 10, 8, 0);
  std::string bmp = writeBmp(src), gif = writeGif(src);
  for (int which = 0; which < 2; ++which) {
    VirtualRaster r;
    make(r, 10, 8, 0, false);
    int code = which ? qqpigif(gif.c_str(), r, -3, 2) : qqpibmp(bmp.c_str(), r, -3, 2);
    ASSERT_EQ(code, 0);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 10; ++x) {
        int sx = x + 3, sy = y - 2;
        int want = sx < 10 && sy >= 0 ? src.qqvrpx(sx, sy) : 0;
        ASSERT_EQ(r.qqvrpx(x, y), want) << which << ": " << x << "," << y;
      }
  }
}

TEST_F(ImageReaders, MissingAndForeignFilesGiveClearCodes) {
  VirtualRaster r;
  make(r, 4, 4, 0, false);
  EXPECT_EQ(qqpibmp("missing.bmp", r, 0, 0), 1);
  EXPECT_EQ(qqpigif("missing.gif", r, 0, 0), 1);
  touch("text.bmp", "hello, this is not an image at all");
  EXPECT_EQ(qqpibmp("text.bmp", r, 0, 0), 3);
  EXPECT_EQ(qqpigif("text.bmp", r, 0, 0), 3);
  std::string bmp = slurp(writeBmp(r));
  std::string rle = bmp;
  rle[30] = 1;  // run-length compressed: not supported
  touch("rle.bmp", rle);
  EXPECT_EQ(qqpibmp("rle.bmp", r, 0, 0), 3);
  // A header that claims a huge image in a few bytes ends early.
  std::string big = bmp;
  std::int32_t side = 1 << 24;
  std::memcpy(&big[18], &side, 4);
  std::memcpy(&big[22], &side, 4);
  touch("big.bmp", big);
  EXPECT_EQ(qqpibmp("big.bmp", r, 0, 0), 4);
}

// Every prefix and many damaged copies of valid files: the readers return
// one of their codes and never touch memory outside their buffers (the
// sanitizer build checks that).
TEST_F(ImageReaders, TruncatedAndDamagedFilesNeverCrash) {
  VirtualRaster src;
  make(src, 23, 9, 0);
  std::string files[2] = {slurp(writeBmp(src)), slurp(writeGif(src))};
  ppm("src.ppm", 23, 9);
  ASSERT_EQ(sh("ppmtogif -interlace src.ppm > il.gif"), 0);
  std::string interlaced = slurp("il.gif");
  std::mt19937 rng(11);
  for (int kind = 0; kind < 3; ++kind) {
    const std::string& f = kind == 2 ? interlaced : files[kind];
    auto read = [&](const std::string& data, int w, int h, int x, int y) {
      VirtualRaster r;
      make(r, w, h, kind == 1 ? 1 : 0, false);
      ByteSource in(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
      return kind == 0 ? qqpibmp(in, r, x, y) : qqpigif(in, r, x, y);
    };
    // A GIF without its block terminator and trailer still holds the image.
    std::size_t complete = kind == 0 ? f.size() : f.size() - 2;
    for (std::size_t n = 0; n < complete; ++n) {
      int code = read(f.substr(0, n), 23, 9, 0, 0);
      ASSERT_TRUE(code == 3 || code == 4) << kind << " prefix " << n << ": " << code;
    }
    for (int k = 0; k < 400; ++k) {
      std::string d = f;
      int flips = 1 + static_cast<int>(rng() % 8);
      for (int i = 0; i < flips; ++i) d[rng() % d.size()] = static_cast<char>(rng());
      int code = read(d, 11, 7, 2, -1);
      ASSERT_TRUE(code == 0 || code == 3 || code == 4) << kind << " copy " << k << ": " << code;
    }
  }
}

}  // namespace
}  // namespace korvan
