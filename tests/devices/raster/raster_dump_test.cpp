// The raster dump: written and read back, into rasters of other sizes and
// modes, and refused with clear codes when it is not one.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/state.h"
#include "devices/image/byte_source.h"
#include "devices/raster/dump.h"
#include "raster_support.h"

namespace korvan {
namespace {

using test::pixelsOf;
using test::samePixels;

class RasterDump : public test::RasterFixture {
 protected:
  std::string dump(VirtualRaster& r, const char* base = "korvan.img") {
    char name[260];
    std::snprintf(name, sizeof name, "%s", base);
    EXPECT_EQ(qqvfil(*g, r, name, sizeof name, 0), 0);
    return name;
  }
  int load(VirtualRaster& r, const std::string& name) {
    char buf[260];
    std::snprintf(buf, sizeof buf, "%s", name.c_str());
    return qqvfil(*g, r, buf, sizeof buf, 1);
  }
  // A dump made by hand: the header numbers and the pixel bytes.
  static std::string handmade(const char* tag, int w, int h, int stride, int bpp, int flag,
                              int base, const std::string& pixels) {
    char header[81];
    std::memset(header, ' ', 80);
    std::memcpy(header, tag, 20);
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "%5d %5d %5d %5d %5d %5d %5d %5d %5d", w, h, 8, stride,
                  bpp, 32, 0, flag, base);
    std::memcpy(header + 20, numbers, 53);
    return std::string(header, 80) + pixels;
  }
};

TEST_F(RasterDump, HeaderDescribesTheBufferThatFollows) {
  VirtualRaster r;
  make(r, 853, 603, 0);
  std::string f = slurp(dump(r));
  ASSERT_EQ(f.size(), 80u + 856 * 603);
  EXPECT_EQ(f.substr(0, 80),
            "!Bitmap KORVAN VIRT   853   603     8   856     8    32     0     1     0       ");
  EXPECT_EQ(0, std::memcmp(f.data() + 80, r.buffer(), r.bufferSize()));
  VirtualRaster t;
  make(t, 5, 2, 1);
  f = slurp(dump(t, "rgb.img"));
  EXPECT_EQ(f.substr(20, 30), "    5     2     8    16    24 ");
}

TEST_F(RasterDump, SameSizeReadsBackTheSamePixelsInBothModes) {
  for (int mode : {0, 1}) {
    VirtualRaster r, back;
    make(r, 853, 603, mode);
    std::string f = dump(r);
    make(back, 853, 603, mode, false);
    ASSERT_EQ(load(back, f), 0);
    EXPECT_EQ(0, std::memcmp(back.buffer(), r.buffer(), r.bufferSize())) << mode;
    std::remove(f.c_str());
  }
}

TEST_F(RasterDump, OtherSizeKeepsTheOverlappingUpperLeftPart) {
  VirtualRaster r;
  make(r, 10, 8, 0);
  std::string f = dump(r);
  VirtualRaster small, big;
  make(small, 6, 5, 0, false);
  make(big, 14, 12, 0, false);
  big.qqvfll(0, 0, 13, 11, 9);
  ASSERT_EQ(load(small, f), 0);
  ASSERT_EQ(load(big, f), 0);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 14; ++x) {
      if (x < 6 && y < 5) {
        EXPECT_EQ(small.qqvrpx(x, y), r.qqvrpx(x, y)) << x << "," << y;
      }
      int want = x < 10 && y < 8 ? r.qqvrpx(x, y) : 9;  // the rest stays as it was
      EXPECT_EQ(big.qqvrpx(x, y), want) << x << "," << y;
    }
}

TEST_F(RasterDump, ModesConvertThroughTheTable) {
  VirtualRaster pal, rgb;
  make(pal, 12, 7, 0);
  make(rgb, 12, 7, 1);
  std::string fp = dump(pal, "pal.img"), fr = dump(rgb, "rgb.img");
  VirtualRaster intoRgb, intoPal;
  make(intoRgb, 12, 7, 1, false);
  make(intoPal, 12, 7, 0, false);
  ASSERT_EQ(load(intoRgb, fp), 0);
  ASSERT_EQ(load(intoPal, fr), 0);
  EXPECT_TRUE(samePixels(pixelsOf(intoRgb), pixelsOf(pal)));
  EXPECT_TRUE(samePixels(pixelsOf(intoPal), pixelsOf(rgb)));
}

TEST_F(RasterDump, ThirtyTwoBitRowsAreBlueGreenRedAndFiller) {
  std::string px = std::string("\x03\x02\x01\xFF\x30\x20\x10\xFF", 8) + std::string("\x0C\x0B\x0A\0\0\0\0\0", 8);
  touch("deep.img", handmade("!Bitmap KORVAN WIN  ", 2, 2, 8, 32, 1, 0, px));
  VirtualRaster r;
  make(r, 2, 2, 1, false);
  ASSERT_EQ(load(r, "deep.img"), 0);
  std::uint8_t rgb[12];
  r.qqvrdr(rgb, 0, 0, -2, 2);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(rgb), 12),
            std::string("\x01\x02\x03\x10\x20\x30\x0A\x0B\x0C\0\0\0", 12));
}

TEST_F(RasterDump, WindowPaletteValuesAreTranslatedWhenTheFlagIs0) {
  // v = base gives 0, otherwise 2 (v - base) - 1, kept within 0..255.
  std::string px = std::string("\x0A\x0B\x0C\xC8", 4);
  touch("win.img", handmade("!Bitmap KORVAN WIN  ", 4, 1, 4, 8, 0, 10, px));
  VirtualRaster r;
  make(r, 4, 1, 0, false);
  ASSERT_EQ(load(r, "win.img"), 0);
  EXPECT_EQ(r.qqvrpx(0, 0), 0);
  EXPECT_EQ(r.qqvrpx(1, 0), 1);
  EXPECT_EQ(r.qqvrpx(2, 0), 3);
  EXPECT_EQ(r.qqvrpx(3, 0), 255);
  // A base far outside the byte range clamps instead of overflowing.
  touch("far.img", handmade("!Bitmap KORVAN WIN  ", 4, 1, 4, 8, 0, 1923267980, px));
  ASSERT_EQ(load(r, "far.img"), 0);
  EXPECT_EQ(r.qqvrpx(3, 0), 0);
  VirtualRaster other;  // the row path translates the same way
  make(other, 3, 1, 0, false);
  ASSERT_EQ(load(other, "win.img"), 0);
  EXPECT_EQ(other.qqvrpx(2, 0), 3);
}

TEST_F(RasterDump, BadFilesGiveClearCodes) {
  VirtualRaster r;
  make(r, 4, 3, 0);
  EXPECT_EQ(load(r, "missing.img"), 1);
  touch("text.img", std::string(100, 'x'));
  EXPECT_EQ(load(r, "text.img"), 3);
  touch("short.img", "!Bitmap");
  EXPECT_EQ(load(r, "short.img"), 3);
  touch("bpp.img", handmade("!Bitmap KORVAN VIRT ", 4, 3, 4, 16, 1, 0, std::string(12, '\0')));
  EXPECT_EQ(load(r, "bpp.img"), 3);
  touch("stride.img", handmade("!Bitmap KORVAN VIRT ", 4, 3, 8, 24, 1, 0, std::string(24, '\0')));
  EXPECT_EQ(load(r, "stride.img"), 3);  // 4 pixels of 3 bytes do not fit 8 bytes
  touch("size.img", handmade("!Bitmap KORVAN VIRT ", 0, 3, 4, 8, 1, 0, ""));
  EXPECT_EQ(load(r, "size.img"), 3);
  touch("numbers.img", std::string("!Bitmap KORVAN VIRT     4     3 eight") + std::string(43, ' '));
  EXPECT_EQ(load(r, "numbers.img"), 3);
  touch("long.img", std::string("!Bitmap KORVAN VIRT  99999999999 3 8 4 8 32 0 1 0") +
                        std::string(31, ' ') + std::string(12, '\0'));
  EXPECT_EQ(load(r, "long.img"), 3);  // beyond an int
  // Truncated pixel data: both the exact and the row path say so.
  touch("cut.img", handmade("!Bitmap KORVAN VIRT ", 4, 3, 4, 8, 1, 0, std::string(7, '\1')));
  EXPECT_EQ(load(r, "cut.img"), 4);
  touch("cut2.img", handmade("!Bitmap KORVAN VIRT ", 9, 3, 12, 8, 1, 0, std::string(13, '\1')));
  EXPECT_EQ(load(r, "cut2.img"), 4);
  EXPECT_EQ(r.qqvrpx(0, 0), 1);  // the first complete row was stored
}

TEST_F(RasterDump, EveryTruncationOfAValidDumpIsRefusedSafely) {
  VirtualRaster src;
  make(src, 7, 3, 1);
  std::string f = slurp(dump(src));
  for (std::size_t n = 0; n < f.size(); ++n) {
    VirtualRaster r;
    make(r, 5, 4, 0, false);
    ByteSource in(reinterpret_cast<const std::uint8_t*>(f.data()), n);
    int code = qqvfilRead(in, r);
    EXPECT_EQ(code, n < 80 ? 3 : 4) << n;
  }
}

TEST_F(RasterDump, ExistingDumpIsNotOverwritten) {
  VirtualRaster r;
  make(r, 3, 3, 0);
  touch("korvan.img", "old");
  EXPECT_EQ(dump(r), "korvan_1.img");
  EXPECT_EQ(slurp("korvan.img"), "old");
}

}  // namespace
}  // namespace korvan
