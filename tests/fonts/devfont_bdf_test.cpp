// Bitmap fonts: the BDF parser on good and broken input, the pixels of a
// glyph, the file choice by size and the cache, the device check and the
// messages of bmpfnt, and glyphs painted into the raster and the screen.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <cmath>
#include <set>
#include <utility>

#include "devices/screen/screen_driver.h"
#include "devices/screen/screen_font.h"
#include "korvan.h"
#include "platform/window_system.h"
#include "text/bdf.h"
#include "text/font.h"
#include "fonts/devfont_support.h"

namespace korvan::test {
namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels paint(const BdfGlyph& glyph, int x, int y, float angle) {
  Pixels p;
  bdfPaint(glyph, x, y, angle, [&p](int px, int py) { p.insert({px, py}); });
  return p;
}

TEST(BdfParse, ReadsTheFieldsOfFontAndGlyphs) {
  std::string text = bdfText({barGlyph(65, 9), {66, 5, 4, 3, 1, -1, {"f0", "90", "F0"}}}, 14);
  BdfFont f;
  ASSERT_EQ(bdfParse(text.data(), text.size(), f), 0);
  EXPECT_EQ(f.pointSize, 14);
  EXPECT_EQ(f.xResolution, 75);
  EXPECT_EQ(f.boxWidth, 8);
  EXPECT_EQ(f.boxY, -2);
  EXPECT_EQ(f.chars, 2);
  ASSERT_EQ(f.glyphs.size(), 2u);
  const BdfGlyph& b = f.glyphs[1];
  EXPECT_EQ(b.encoding, 66);
  EXPECT_EQ(b.dwidthX, 5);
  EXPECT_EQ(b.bbxWidth, 4);
  EXPECT_EQ(b.bbxY, -1);
  EXPECT_EQ(b.bitmap, "f0\n90\nF0\n");
  EXPECT_EQ(bdfFind(f, 65), &f.glyphs[0]);
  EXPECT_EQ(bdfFind(f, 67), nullptr);
}

TEST(BdfParse, BrokenInputIsReadSafely) {
  const struct {
    const char* name;
    std::string text;
    std::size_t glyphs;
    int encoding;  // of the first glyph
  } cases[] = {
      {"no CHARS: no room", "ENCODING 5\nBITMAP\nFF\nENDCHAR\n", 0, 0},
      {"more glyphs than CHARS", "CHARS 1\nENCODING 1\nBITMAP\nENDCHAR\nENCODING 2\nBITMAP\nENDCHAR\n", 1, 1},
      {"no ENDCHAR", "CHARS 2\nENCODING 7\nBITMAP\nFF\nENCODING 8\n", 0, 0},
      {"huge numbers held", "CHARS 99999999999999\nENCODING 99999999999999\nBITMAP\nENDCHAR\n", 1, INT_MAX},
      {"negative CHARS", "CHARS -5\nENCODING 1\nBITMAP\nENDCHAR\n", 0, 0},
      {"CR line ends, junk", "CHARS 1\r\nENCODING x\r\nENCODING 12junk\r\nBITMAP\r\nzz\r\nENDCHAR\r\n", 1, 12},
      {"binary", std::string("\0\xff\n\x80" "CHARS 1\n\0", 13), 0, 0},
      {"long line cut", "CHARS 1\nENCODING " + std::string(600, '9') + "\nBITMAP\nENDCHAR\n", 1, INT_MAX},
  };
  for (const auto& c : cases) {
    BdfFont f;
    EXPECT_EQ(bdfParse(c.text.data(), c.text.size(), f), 0) << c.name;
    ASSERT_EQ(f.glyphs.size(), c.glyphs) << c.name;
    if (c.glyphs) {
      EXPECT_EQ(f.glyphs[0].encoding, c.encoding) << c.name;
    }
  }
  BdfFont f;
  EXPECT_EQ(qqgetbdf("no/such/file.bdf", f), 1);
}

TEST(BdfParse, OnlyAWholeFontIsUsable) {
  const std::string good = bdfText({barGlyph(65), barGlyph(66)});
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string t = good;
    t.replace(t.find(from), from.size(), to);
    return t;
  };
  const struct {
    const char* name;
    std::string text;
    bool usable;
  } cases[] = {
      {"good", good, true},
      {"comment first", "COMMENT x\n" + good, true},
      {"empty", "", false},
      {"garbage", "hello\nworld\n\x01\x02\n", false},
      {"no STARTFONT", replaced("STARTFONT 2.1", "STARTFUN 2.1"), false},
      {"no CHARS", replaced("CHARS 2", "COMMENT 2"), false},
      {"CHARS too large", replaced("CHARS 2", "CHARS 3"), false},
      {"CHARS too small", replaced("CHARS 2", "CHARS 1"), false},
      {"negative CHARS", replaced("CHARS 2", "CHARS -2"), false},
      {"no bounding box", replaced("FONTBOUNDINGBOX 8 8 0 -2", "COMMENT"), false},
      {"empty bounding box", replaced("FONTBOUNDINGBOX 8 8", "FONTBOUNDINGBOX 0 8"), false},
      {"absurd bounding box", replaced("FONTBOUNDINGBOX 8 8", "FONTBOUNDINGBOX 8 99999999"), false},
      {"negative BBX", replaced("BBX 8 2", "BBX -8 2"), false},
      {"absurd BBX offset", replaced("BBX 8 2 0 0", "BBX 8 2 0 -2000000000"), false},
      {"no ENDCHAR", good.substr(0, good.rfind("ENDCHAR")), false},
  };
  for (const auto& c : cases) {
    BdfFont f;
    EXPECT_EQ(bdfParse(c.text.data(), c.text.size(), f), 0) << c.name;
    EXPECT_EQ(bdfUsable(f), c.usable) << c.name;
  }
}

TEST(BdfPaint, EightByTwoGlyphSetsTheUpperRowAndTheOuterPixelsBelow) {
  BdfGlyph g;
  g.bbxWidth = 8;
  g.bbxHeight = 2;
  g.bitmap = "FF\n81\n";
  Pixels upright;
  for (int x = 10; x < 18; ++x) upright.insert({x, 19});
  upright.insert({10, 20});
  upright.insert({17, 20});
  EXPECT_EQ(paint(g, 10, 20, 0.0f), upright);
  // At 90 degrees the rows become columns and run upwards.
  Pixels turned;
  for (int f = 0; f < 8; ++f) turned.insert({10 - 1, 20 - f});
  turned.insert({10, 20});
  turned.insert({10, 13});
  EXPECT_EQ(paint(g, 10, 20, 90.0f), turned);
  // Offsets move the glyph; digits that are no hex digits draw nothing.
  g.bbxX = 2;
  g.bbxY = -1;
  g.bitmap = "8G\n";
  g.bbxHeight = 1;
  EXPECT_EQ(paint(g, 0, 0, 0.0f), (Pixels{{2, 1}}));
}

TEST(FontPositions, CodesOfThePositionsFollowTheCodingFlag) {
  const struct {
    int position, coding, code;
  } cases[] = {{65, 0, 65}, {126, 1, 126}, {130, 0, 228}, {127, 1, 196}, {185, 1, 161},
               {133, 2, 223}, {191, 2, 161}, {240, 2, 254}, {191, 0, -1}, {255, 1, -1}, {300, 0, -1}};
  for (const auto& c : cases) EXPECT_EQ(qqgiso(c.position, c.coding), c.code) << c.position;
  // The way back from the positions the strings are mapped to.
  for (int flag : {1, 2})
    for (int code = 127; code <= 255; ++code) {
      int position = qqgcod(code, flag);
      if (position != 32) {
        EXPECT_EQ(qqgiso(position, flag), code) << flag << " " << code;
      }
    }
}

class BmpfntTest : public FontTest {
 protected:
  void start(const char* device) {
    metafl(device);
    korini();
  }
  static std::string captured(void (*call)()) {
    ::testing::internal::CaptureStdout();
    call();
    return ::testing::internal::GetCapturedStdout();
  }
};

TEST_F(BmpfntTest, SizeTwelveLoadsHelve12AndThirteenHelve14Once) {
  font("helve12", {barGlyph('A', 7)});
  font("helve14", {barGlyph('A', 9)});
  start("VIRT");
  Global& g = qqgglb();
  ASSERT_LT(g.deviceScale, 0.3f);
  const struct {
    int height, size, width, reads;
  } cases[] = {{35, 12, 70, 1}, {38, 13, 90, 2}, {35, 12, 70, 2}, {38, 13, 90, 2}};
  for (const auto& c : cases) {
    g.charHeight = c.height;
    ASSERT_EQ(static_cast<int>(c.height * g.deviceScale * 1.2f), c.size);
    bmpfnt("HELV");
    EXPECT_EQ(g.devFontMode, 3);
    EXPECT_STREQ(qqbdfnam(g.devFontFile), c.size == 12 ? "helve12" : "helve14");
    EXPECT_EQ(g.devFontWidths['A' - 31], c.width);
    EXPECT_EQ(g.devFontWidths['B' - 31], 0);
    EXPECT_EQ(qqbdfrd(), c.reads);
  }
  // Cached: the file is not needed again.
  std::filesystem::remove("data/fonts/helve12.bdf");
  g.charHeight = 35;
  bmpfnt("HELV");
  EXPECT_STREQ(qqbdfnam(g.devFontFile), "helve12");
  EXPECT_EQ(qqbdfrd(), 2);
}

TEST_F(BmpfntTest, FileChoiceBySize) {
  const struct {
    int family, size;
    const char* file;
  } cases[] = {{1, 10, "complx10"}, {1, 11, "complx12"}, {1, 16, "complx14"}, {1, 17, "complx18"},
               {2, 8, "simplx8"},   {2, 9, "simplx10"},  {2, 12, "simplx12"}, {2, 13, "simplx14"},
               {3, 0, "helve10"},   {3, 12, "helve12"},  {3, 13, "helve14"},  {3, 99, "helve18"}};
  for (const auto& c : cases) EXPECT_STREQ(qqbdfnam(qqbdfslt(c.family, c.size)), c.file);
}

TEST_F(BmpfntTest, RefusedOnPostScriptAndNothingChanges) {
  font("helve12", {barGlyph('A')});
  start("PS");
  std::string out = captured([] { bmpfnt("HELV"); });
  EXPECT_NE(out.find("Warning 101: Bitmat fonts can only be used for raster output in bmpfnt!"),
            std::string::npos)
      << out;
  EXPECT_EQ(qqgglb().devFontMode, 0);
  EXPECT_EQ(qqbdfrd(), 0);
  out = captured([] { winfnt("DejaVu Sans"); });
  EXPECT_NE(out.find("Warning 101: Window fonts cannot be used in winfnt!"), std::string::npos) << out;
  EXPECT_EQ(qqgglb().devFontMode, 0);
  korfin();
}

TEST_F(BmpfntTest, MissingFileUnknownNameAndX11Fonts) {
  start("VIRT");
  std::string out = captured([] { bmpfnt("HELV"); });
  EXPECT_NE(out.find("Warning 101: Open error for bitmap font in BMPFNT!"), std::string::npos) << out;
  out = captured([] { bmpfnt("TIMES"); });
  EXPECT_NE(out.find("Warning   2:"), std::string::npos) << out;
  EXPECT_EQ(qqgglb().devFontMode, 0);
  out = captured([] { x11fnt("fixed", "STANDARD"); });
  EXPECT_NE(out.find("Warning 101: X11 fonts cannot be used in X11FNT!"), std::string::npos) << out;
  // The by-address forms: a keyword of four characters, the name padded.
  font("complx12", {barGlyph('A')});
  qqgglb().charHeight = 36;
  bmpfnt_("COMPLEX", 7);
  EXPECT_EQ(qqgglb().devFontMode, 3);
  EXPECT_STREQ(qqgglb().devFontName, "COMP");
  korfin();
}

TEST_F(BmpfntTest, AFileThatIsNoFontLeavesTheStrokeFontAndNamesItself) {
  const std::string good = bdfText({barGlyph('A')});
  const struct {
    const char* name;
    std::string text;
    const char* link;  // the file is a link to this instead
  } cases[] = {
      {"empty", "", nullptr},
      {"garbage", "GIF89a\x01\x02 not a font\n", nullptr},
      {"wrong CHARS", "STARTFONT 2.1\nFONTBOUNDINGBOX 8 8 0 0\nCHARS 7\n" + good.substr(good.find("STARTCHAR")), nullptr},
      {"absurd box", "STARTFONT 2.1\nFONTBOUNDINGBOX 8 8 0 0\nCHARS 1\nENCODING 65\nBBX 8 99999 0 0\nBITMAP\nFF\nENDCHAR\n", nullptr},
      {"endless", "", "/dev/zero"},
      {"a directory", "", "."},
      {"missing", "", "no/such/file"},
  };
  start("VIRT");
  Global& g = qqgglb();
  g.charHeight = 35;  // helve12
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove("data/fonts/helve12.bdf");
    if (c.link)
      std::filesystem::create_symlink(c.link, "data/fonts/helve12.bdf");
    else
      std::ofstream("data/fonts/helve12.bdf", std::ios::binary) << c.text;
    ::testing::internal::CaptureStderr();
    std::string out = captured([] { bmpfnt("HELV"); });
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(out, " <<<< Warning 101: Open error for bitmap font in BMPFNT!\n");
    EXPECT_NE(err.find("KORVAN: bitmap font \"" + (dir_ / "data" / "fonts" / "helve12.bdf").string() + "\""),
              std::string::npos)
        << err;
    EXPECT_EQ(g.devFontMode, 0);
    EXPECT_EQ(qqbdfrd(), 0);
  }
  // The same file, once it is a font, is taken at the next selection.
  std::filesystem::remove("data/fonts/helve12.bdf");
  font("helve12", {barGlyph('A')});
  bmpfnt("HELV");
  EXPECT_EQ(g.devFontMode, 3);
  korfin();
}

TEST_F(BmpfntTest, GlyphPixelsInTheRaster) {
  font("simplx12", {barGlyph('A')});
  start("VIRT");
  Global& g = qqgglb();
  g.charHeight = 36;
  bmpfnt("SIMP");
  ASSERT_EQ(g.devFontMode, 3);
  float s = g.deviceScale;
  qqchar(g, 'A', 1000.0f, 700.0f, 0.0f);
  qqchar(g, 'B', 1500.0f, 700.0f, 0.0f);  // no glyph: blank
  int X = static_cast<int>(1000 * s + 0.5f), Y = static_cast<int>(700 * s + 0.5f);
  VirtualRaster& r = raster();
  int colour = r.currentColour();
  ASSERT_NE(colour, 0);
  Pixels set;
  for (int y = 0; y < r.height(); ++y)
    for (int x = 0; x < r.width(); ++x)
      if (r.qqvrpx(x, y) != 0) set.insert({x, y});
  Pixels expected;
  for (int x = X; x < X + 8; ++x) expected.insert({x, Y - 1});
  expected.insert({X, Y});
  expected.insert({X + 7, Y});
  EXPECT_EQ(set, expected);
  // A shift moves the glyph up; the width table gives plot units.
  float width = 0, spacing = 0;
  ASSERT_TRUE(qqdfwd(g, 'A', 0.0f, width, spacing));
  EXPECT_FLOAT_EQ(width, 90.0f / (10.0f * s));
  EXPECT_EQ(spacing, static_cast<float>(static_cast<int>(0.18f * 36)));
  korfin();
}

TEST_F(BmpfntTest, MessagDrawsAlphabetOneWithTheFontAndFollowsTheHeight) {
  font("helve12", {barGlyph('A', 9)});
  font("helve14", {barGlyph('A', 11)});
  start("VIRT");
  Global& g = qqgglb();
  height(35);
  bmpfnt("HELV");
  ASSERT_EQ(g.devFontMode, 3);
  float s = g.deviceScale, w = 90.0f / (10.0f * s), sp = static_cast<float>(static_cast<int>(0.18f * 35));
  // The baseline lies height - 1 below the given corner; each character
  // advances by its width and the spacing.
  messag("A", 1000, 700);
  messag("A", 999, 999);
  int Y = static_cast<int>((700 + 34) * s + 0.5f);
  VirtualRaster& r = raster();
  for (float x : {1000.0f, 1000.0f + w + sp}) {
    int X = static_cast<int>(x * s + 0.5f);
    EXPECT_EQ(r.qqvrpx(X - 1, Y - 1), 0);
    EXPECT_NE(r.qqvrpx(X, Y - 1), 0);
    EXPECT_NE(r.qqvrpx(X + 7, Y - 1), 0);
    EXPECT_NE(r.qqvrpx(X + 7, Y), 0);
    EXPECT_EQ(r.qqvrpx(X + 3, Y), 0);
  }
  // height picks the file of the new size; angle leaves a bitmap font alone.
  height(38);
  EXPECT_STREQ(qqbdfnam(g.devFontFile), "helve14");
  EXPECT_EQ(g.devFontWidths['A' - 31], 110);
  angle(30);
  EXPECT_EQ(qqbdfrd(), 2);
  // A stroke font switches the bitmap font off.
  koralf();
  EXPECT_EQ(g.devFontMode, 0);
  korfin();
}

TEST_F(BmpfntTest, GlyphPixelsOnTheScreen) {
  font("helve12", {barGlyph('A')});
  platform::ScreenMetrics m;
  platform::useHeadless(m);
  start("CONS");
  Global& g = qqgglb();
  g.charHeight = 35;
  bmpfnt("HELV");
  ASSERT_EQ(g.devFontMode, 3);
  ASSERT_GE(g.deviceScale, 0.3f);
  EXPECT_STREQ(qqbdfnam(g.devFontFile), static_cast<int>(35 * g.deviceScale) <= 12 ? "helve12" : "helve14");
  g.textAngle = 90.0f;
  qqchar(g, 'A', 1000.0f, 700.0f, 0.0f);
  int X = static_cast<int>(1000 * g.deviceScale + 0.5f), Y = static_cast<int>(700 * g.deviceScale + 0.5f);
  std::uint32_t bg = qqwrgb(0, 0);
  int count = 0;
  for (int y = Y - 10; y <= Y + 2; ++y)
    for (int x = X - 3; x <= X + 3; ++x) count += qqwrgb(x, y) != bg;
  EXPECT_EQ(count, 10);
  EXPECT_NE(qqwrgb(X - 1, Y - 7), bg);
  EXPECT_NE(qqwrgb(X, Y - 7), bg);
  EXPECT_EQ(qqwrgb(X, Y - 6), bg);
  korfin();
  qqwwcls();
}

}  // namespace
}  // namespace korvan::test
