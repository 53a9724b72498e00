// The image writers, each file checked by an independent reader and decoded
// back to the raster's pixels.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/sink.h"
#include "core/state.h"
#include "devices/image/image.h"
#include "raster_support.h"

namespace korvan {
namespace {

using test::decodeWith;
using test::decodeWithConvert;
using test::pixelsOf;
using test::samePixels;
using test::sh;

std::uint32_t be32(const std::string& s, std::size_t at) {
  auto b = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(s[i])); };
  return b(at) << 24 | b(at + 1) << 16 | b(at + 2) << 8 | b(at + 3);
}
std::uint32_t le32(const std::string& s, std::size_t at) {
  auto b = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(s[i])); };
  return b(at) | b(at + 1) << 8 | b(at + 2) << 16 | b(at + 3) << 24;
}

struct Chunk {
  std::string type, data;
  std::uint32_t crc;
};
std::vector<Chunk> chunks(const std::string& png) {
  std::vector<Chunk> out;
  std::size_t at = 8;
  while (at + 12 <= png.size()) {
    std::uint32_t n = be32(png, at);
    out.push_back({png.substr(at + 4, 4), png.substr(at + 8, n), be32(png, at + 8 + n)});
    at += 12 + n;
  }
  return out;
}

class ImageWriters : public test::RasterFixture {
 protected:
  void make(int w, int h, int mode, bool picture = true) { RasterFixture::make(r, w, h, mode, picture); }
  ImageInfo info(int device, int palette = 256) {
    ImageInfo s;
    s.device = r.trueColour() ? -device : device;
    s.byteOrder = qqpord();
    s.width = r.width();
    s.height = r.height();
    s.table = r.table();
    s.paletteCount = palette;
    return s;
  }
  std::string write(const char* base, int format, int extra = 0) {
    char name[260];
    std::snprintf(name, sizeof name, "%s", base);
    int code = -9;
    switch (format) {
      case 1: code = qqptif(*g, name, sizeof name, info(601), r, 72, 2); break;
      case 4: code = qqppng(*g, name, sizeof name, info(604), r, extra); break;
      case 5: code = qqpppm(*g, name, sizeof name, info(605), r); break;
      case 6: code = qqpbmp(*g, name, sizeof name, info(606), r); break;
      case 7: code = qqpgif(*g, name, sizeof name, info(607), r, 0, extra); break;
    }
    EXPECT_EQ(code, 0) << base;
    return name;
  }
  VirtualRaster r;
};

// ---- PNG ----

TEST_F(ImageWriters, PngInBothModesPassesPngcheckAndDecodesToTheRaster) {
  for (int mode : {0, 1}) {
    for (auto [w, h] : {std::pair{853, 603}, std::pair{7, 5}, std::pair{1, 1}}) {
      make(w, h, mode);
      std::string f = write("korvan.png", 4);
      std::string out;
      EXPECT_EQ(sh("pngcheck -q " + f, &out), 0) << out;
      EXPECT_TRUE(samePixels(decodeWith("pngtopnm", f), pixelsOf(r))) << mode << " " << w;
      std::remove(f.c_str());
    }
  }
  make(40, 30, 0);
  EXPECT_TRUE(samePixels(decodeWithConvert(write("korvan.png", 4)), pixelsOf(r)));
}

TEST_F(ImageWriters, OnePixelPaletteImageHoldsFilterByteAndIndex) {
  make(1, 1, 0, false);
  r.qqvwpx(0, 0, 77);
  std::string png = slurp(write("one.png", 4));
  auto c = chunks(png);
  ASSERT_EQ(c.size(), 4u);
  EXPECT_EQ(c[0].type, "IHDR");
  EXPECT_EQ(c[0].data, std::string("\0\0\0\1\0\0\0\1\x08\x03\0\0\0", 13));
  EXPECT_EQ(c[1].type, "PLTE");
  EXPECT_EQ(c[1].data.size(), 768u);
  EXPECT_EQ(c[2].type, "IDAT");
  std::uint8_t raw[16];
  uLongf n = sizeof raw;
  ASSERT_EQ(uncompress(raw, &n, reinterpret_cast<const Bytef*>(c[2].data.data()), c[2].data.size()),
            Z_OK);
  ASSERT_EQ(n, 2u);
  EXPECT_EQ(raw[0], 0);
  EXPECT_EQ(raw[1], 77);
  for (const Chunk& k : c) {
    std::string td = k.type + k.data;
    EXPECT_EQ(k.crc, qqpcrc(reinterpret_cast<const std::uint8_t*>(td.data()), td.size())) << k.type;
  }
}

TEST_F(ImageWriters, IendEndsTheFileWithItsKnownCrc) {
  EXPECT_EQ(qqpcrc(reinterpret_cast<const std::uint8_t*>("IEND"), 4), 0xAE426082u);
  EXPECT_EQ(qqpcrc(reinterpret_cast<const std::uint8_t*>("123456789"), 9), 0xCBF43926u);
  make(3, 2, 1);
  std::string png = slurp(write("korvan.png", 4));
  EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_EQ(png.substr(png.size() - 12), std::string("\0\0\0\0IEND\xAE\x42\x60\x82", 12));
}

TEST_F(ImageWriters, PngTransparencyChunkInBothForms) {
  make(9, 4, 1);
  std::string f = write("rgb.png", 4, 1);
  std::string out;
  EXPECT_EQ(sh("pngcheck -v " + f, &out), 0) << out;
  auto c = chunks(slurp(f));
  ASSERT_GE(c.size(), 3u);
  EXPECT_EQ(c[1].type, "tRNS");
  EXPECT_EQ(c[1].data, std::string("\0\xFF\0\xFF\0\xFF", 6));
  make(9, 4, 0, false);
  r.qqvwpx(4, 0, 77);
  f = write("pal.png", 4, 1);
  EXPECT_EQ(sh("pngcheck -v " + f, &out), 0) << out;
  c = chunks(slurp(f));
  EXPECT_EQ(c[2].type, "tRNS");
  EXPECT_EQ(c[2].data, std::string("\0", 1));
  // Entry 0 is transparent for a real reader too.
  EXPECT_EQ(sh("convert " + f + " -format '%[fx:p{0,1}.a]/%[fx:p{4,0}.a]' info:", &out), 0);
  EXPECT_EQ(out, "0/1");
}

TEST_F(ImageWriters, PngIntoMemoryMeasuresFillsAndRefusesSmallBuffers) {
  make(31, 17, 0);
  std::string file = slurp(write("korvan.png", 4));
  int length = 0;
  EXPECT_EQ(qqppng(nullptr, &length, info(604), r, 0), 0);
  EXPECT_EQ(length, static_cast<int>(file.size()));
  std::vector<std::uint8_t> buf(file.size());
  length = static_cast<int>(buf.size());
  EXPECT_EQ(qqppng(buf.data(), &length, info(604), r, 0), 0);
  EXPECT_EQ(length, static_cast<int>(file.size()));
  EXPECT_EQ(std::string(buf.begin(), buf.end()), file);
  length = static_cast<int>(buf.size()) - 1;
  EXPECT_EQ(qqppng(buf.data(), &length, info(604), r, 0), -2);
  EXPECT_EQ(length, 0);
}

TEST_F(ImageWriters, SmallTablePaletteCoversEveryIndexUsed) {
  make(5, 2, 0, false);
  r.qqvwpx(1, 1, 8);
  char small[] = "small.png";
  ASSERT_EQ(qqppng(*g, small, sizeof small, info(604, 9), r, 0), 0);
  auto c = chunks(slurp(small));
  EXPECT_EQ(c[1].data.size(), 27u);  // the 9 entries of the small table
  r.qqvwpx(0, 0, 200);               // left over from an earlier table
  char left[] = "left.png";
  ASSERT_EQ(qqppng(*g, left, sizeof left, info(604, 9), r, 0), 0);
  std::string f = left;
  c = chunks(slurp(f));
  EXPECT_EQ(c[1].data.size(), 3u * 201);
  std::string out;
  EXPECT_EQ(sh("pngcheck -q " + f, &out), 0) << out;
  EXPECT_TRUE(samePixels(decodeWith("pngtopnm", f), pixelsOf(r)));
}

// ---- GIF ----

TEST_F(ImageWriters, GifInBothModesPassesGiftextAndDecodesToTheRaster) {
  for (int mode : {0, 1}) {
    make(853, 603, mode);
    std::string f = write("korvan.gif", 7);
    std::string out;
    EXPECT_EQ(sh("giftext " + f, &out), 0) << out;
    EXPECT_NE(out.find("Screen Size - Width = 853, Height = 603"), std::string::npos) << out;
    EXPECT_NE(out.find("BitsPerPixel = 8"), std::string::npos) << out;
    EXPECT_NE(out.find("Has Global Color Map"), std::string::npos) << out;
    EXPECT_EQ(slurp(f).substr(0, 6), "GIF87a");
    // True colour gives the nearest indices, which are exact for table colours.
    EXPECT_TRUE(samePixels(decodeWith("giftopnm", f), pixelsOf(r))) << mode;
    std::remove(f.c_str());
  }
}

TEST_F(ImageWriters, GifTransparencyIsAGraphicControlExtension) {
  make(20, 10, 0);
  char name[] = "korvan.gif";
  ASSERT_EQ(qqpgif(*g, name, sizeof name, info(607), r, 5, 1), 0);
  std::string f = slurp(name);
  EXPECT_EQ(f.substr(0, 6), "GIF89a");
  EXPECT_EQ(f[11], 5);  // background index
  EXPECT_EQ(f.substr(13 + 768, 8), std::string("\x21\xF9\x04\x01\0\0\x05\0", 8));
  std::string out;
  EXPECT_EQ(sh("giftext " + std::string(name), &out), 0) << out;
  EXPECT_NE(out.find("Transparency on"), std::string::npos) << out;
  EXPECT_TRUE(samePixels(decodeWith("giftopnm", name), pixelsOf(r)));
}

// The codes of a GIF data stream, read as a decoder reads them.
std::vector<int> gifCodes(const std::string& gif, std::size_t start) {
  std::string data;
  std::size_t at = start;
  while (at < gif.size() && gif[at] != 0) {
    std::size_t n = static_cast<unsigned char>(gif[at]);
    data += gif.substr(at + 1, n);
    at += 1 + n;
  }
  std::vector<int> codes;
  std::size_t bit = 0;
  int width = 9, next = 258;
  bool first = true;
  while (bit + width <= 8 * data.size()) {
    int code = 0;
    for (int k = 0; k < width; ++k, ++bit)
      code |= ((static_cast<unsigned char>(data[bit / 8]) >> (bit % 8)) & 1) << k;
    codes.push_back(code);
    if (code == 257) break;
    if (code == 256) {
      width = 9;
      next = 258;
      first = true;
      continue;
    }
    if (!first && next < 4096 && ++next == (1 << width) && width < 12) ++width;
    first = false;
  }
  return codes;
}

TEST_F(ImageWriters, GifCodeStreamsOfEveryLengthDecode) {
  // Random pixels add one string per pixel, so these lengths end the stream
  // at every point around the 9 to 10 bit change of the code width.
  std::mt19937 rng(7);
  for (int w = 240; w <= 300; ++w) {
    make(w, 1, 0, false);
    for (int x = 0; x < w; ++x) r.qqvwpx(x, 0, static_cast<int>(rng() % 256));
    std::string f = write("run.gif", 7);
    ASSERT_TRUE(samePixels(decodeWith("giftopnm", f), pixelsOf(r))) << w;
    // The end code is read with the width the decoder has reached.
    std::vector<int> codes = gifCodes(slurp(f), 13 + 768 + 10 + 1);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), 257) << w;
    std::remove(f.c_str());
  }
}

TEST_F(ImageWriters, SingleColourGifClearsAfterCode4094) {
  // Runs grow by one pixel per code: about 7.4 million pixels fill the table.
  make(3000, 2500, 0, false);
  r.qqvfll(0, 0, 2999, 2499, 5);
  std::string f = write("flat.gif", 7);
  std::string gif = slurp(f);
  std::vector<int> codes = gifCodes(gif, 13 + 768 + 10 + 1);
  ASSERT_GT(codes.size(), 3840u);
  EXPECT_EQ(codes[0], 256);
  EXPECT_EQ(codes[1], 5);
  // Codes 258 .. 4094 are assigned by the data codes 2 .. 3838; the clear
  // code follows at once, and the next code is read with 9 bits again.
  EXPECT_EQ(codes[3838], 256);
  for (std::size_t i = 1; i < 3838; ++i) ASSERT_NE(codes[i], 256) << i;
  EXPECT_EQ(codes[3839], 5);
  EXPECT_EQ(codes[3840], 258);
  EXPECT_EQ(codes.back(), 257);
  std::string out;
  EXPECT_EQ(sh("giftext " + f + " > /dev/null", &out), 0) << out;
  test::Decoded d = decodeWith("giftopnm", f);
  ASSERT_EQ(d.width, 3000);
  ASSERT_EQ(d.height, 2500);
  std::uint8_t want[3] = {static_cast<std::uint8_t>(table[5] >> 16),
                          static_cast<std::uint8_t>(table[5] >> 8),
                          static_cast<std::uint8_t>(table[5])};
  for (std::size_t i = 0; i < d.rgb.size(); i += 3)
    ASSERT_EQ(0, std::memcmp(&d.rgb[i], want, 3)) << i / 3;
}

// ---- BMP ----

TEST_F(ImageWriters, BmpInBothModesDecodesToTheRaster) {
  for (int mode : {0, 1}) {
    for (auto [w, h] : {std::pair{853, 603}, std::pair{5, 3}, std::pair{1, 1}}) {
      make(w, h, mode);
      std::string f = write("korvan.bmp", 6);
      EXPECT_TRUE(samePixels(decodeWith("bmptopnm", f), pixelsOf(r))) << mode << " " << w;
      std::remove(f.c_str());
    }
  }
}

TEST_F(ImageWriters, TrueColourBmpRowsArePaddedToFourBytes) {
  make(3, 2, 1, false);
  r.qqvwpx(0, 0, 30);  // top row, first pixel
  r.qqvwpx(2, 1, 200);
  std::string bmp = slurp(write("pad.bmp", 6));
  ASSERT_EQ(bmp.size(), 54u + 2 * 12);
  EXPECT_EQ(le32(bmp, 2), 78u);
  EXPECT_EQ(le32(bmp, 10), 54u);
  EXPECT_EQ(le32(bmp, 34), 24u);
  EXPECT_EQ(le32(bmp, 46), 0u);
  // Bottom row first: its last pixel in B, G, R order, then 3 zero bytes.
  EXPECT_EQ(static_cast<unsigned char>(bmp[54 + 6]), table[200] & 255);
  EXPECT_EQ(static_cast<unsigned char>(bmp[54 + 8]), (table[200] >> 16) & 255);
  EXPECT_EQ(bmp.substr(54 + 9, 3), std::string(3, '\0'));
  EXPECT_EQ(static_cast<unsigned char>(bmp[54 + 12]), table[30] & 255);
  EXPECT_EQ(bmp.substr(54 + 21, 3), std::string(3, '\0'));
}

TEST_F(ImageWriters, PaletteBmpHeaderCountsTheEntries) {
  make(5, 2, 0);
  char name[] = "pal.bmp";
  ASSERT_EQ(qqpbmp(*g, name, sizeof name, info(606, 16), r), 0);
  std::string bmp = slurp(name);
  int n = 256;  // the picture uses every index
  EXPECT_EQ(le32(bmp, 10), 54u + 4 * n);
  EXPECT_EQ(le32(bmp, 2), 54u + 4 * n + 2 * 8);
  EXPECT_EQ(le32(bmp, 46), static_cast<std::uint32_t>(n));
  EXPECT_EQ(le32(bmp, 38), 2500u);
  EXPECT_TRUE(samePixels(decodeWith("bmptopnm", name), pixelsOf(r)));
}

// ---- TIFF ----

TEST_F(ImageWriters, TiffInBothModesPassesTiffinfoAndDecodesToTheRaster) {
  for (int mode : {0, 1}) {
    for (auto [w, h] : {std::pair{853, 603}, std::pair{6, 3}, std::pair{5, 2}, std::pair{4, 1}}) {
      make(w, h, mode);
      std::string f = write("korvan.tif", 1);
      std::string out;
      EXPECT_EQ(sh("tiffinfo " + f, &out), 0) << out;
      EXPECT_EQ(out.find("Warning"), std::string::npos) << out;
      EXPECT_EQ(out.find("rror"), std::string::npos) << out;
      EXPECT_NE(out.find(mode ? "RGB color" : "palette color"), std::string::npos) << out;
      EXPECT_NE(out.find("Image Width: " + std::to_string(w)), std::string::npos) << out;
      EXPECT_TRUE(samePixels(decodeWith("tifftopnm", f), pixelsOf(r))) << mode << " " << h;
      std::remove(f.c_str());
    }
  }
}

TEST_F(ImageWriters, TiffLayoutPutsTablesBehindTheDirectory) {
  make(10, 4, 0);
  std::string tif = slurp(write("lay.tif", 1));
  EXPECT_EQ(tif.substr(0, 8), std::string("II*\0\x08\0\0\0", 8));
  ASSERT_EQ(tif[8], 14);
  std::uint32_t tables = 8 + 2 + 12 * 14 + 4;
  EXPECT_EQ(le32(tif, 10 + 6 * 12 + 8), tables);  // StripOffsets points at its table
  std::uint32_t data = tables + 4 * 4 + 2 * 4 + 16 + 1536;
  EXPECT_EQ(le32(tif, tables), data);
  EXPECT_EQ(le32(tif, tables + 12), data + 30);
  EXPECT_EQ(tif.size(), data + 40);
}

// ---- PPM ----

TEST_F(ImageWriters, PpmInBothModesIsReadByNetpbm) {
  for (int mode : {0, 1}) {
    make(17, 9, mode);
    std::string f = write("korvan.ppm", 5);
    EXPECT_EQ(slurp(f).substr(0, 11), "P6\n17 9\n255");
    EXPECT_TRUE(samePixels(decodeWith("ppmtoppm <", f), pixelsOf(r))) << mode;
    std::string out;
    EXPECT_EQ(sh("pnmfile " + f, &out), 0);
    EXPECT_NE(out.find("17 by 9"), std::string::npos) << out;
    std::remove(f.c_str());
  }
}

// ---- files and helpers ----

TEST_F(ImageWriters, UnopenableFileIsCodeMinusOneWithWarning36) {
  make(4, 4, 0);
  char name[] = "no/such/dir/korvan.png";
  testing::internal::CaptureStdout();
  EXPECT_EQ(qqppng(*g, name, sizeof name, info(604), r, 0), -1);
  EXPECT_EQ(qqpgif(*g, name, sizeof name, info(607), r, 0, 0), -1);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Warning  36"), std::string::npos) << out;
}

TEST_F(ImageWriters, ExistingFilesAreNeverOverwritten) {
  make(4, 4, 0);
  touch("korvan.bmp", "keep");
  std::string f = write("korvan.bmp", 6);
  EXPECT_EQ(f, "korvan_1.bmp");
  EXPECT_EQ(slurp("korvan.bmp"), "keep");
}

TEST(ImageHelpers, ByteSwapsAndBufferAppends) {
  std::uint8_t w[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  qqpswp(w, 2);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(w), 8), std::string("\4\3\2\1\x08\7\6\5", 8));
  qqpswp2(w, 3);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(w), 8), std::string("\3\4\1\2\7\x08\6\5", 8));
  std::uint8_t buf[6] = {};
  const std::uint8_t data[4] = {9, 8, 7, 6};
  EXPECT_EQ(qqpbuf(nullptr, 0, 10, data, 4), 14);  // capacity 0 only counts
  EXPECT_EQ(qqpbuf(buf, 6, 0, data, 4), 4);
  EXPECT_EQ(qqpbuf(buf, 6, 4, data, 4), 0);  // would pass the capacity
  EXPECT_EQ(qqpbuf(buf, 6, 4, data, 2), 6);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 6), std::string("\x09\x08\x07\x06\x09\x08", 6));
  std::uint32_t one = 1;
  EXPECT_EQ(qqpord(), *reinterpret_cast<std::uint8_t*>(&one));
}

}  // namespace
}  // namespace korvan
