// Window fonts: the font service's glyphs in the screen's back buffer (anti-
// aliased in true colour, the pen's value only with a palette), the notice
// for an unknown family, and the font and text records of the Windows
// metafile as wmf2svg reads them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "devices/screen/screen_driver.h"
#include "korvan.h"
#include "platform/font_service.h"
#include "platform/window_system.h"
#include "fonts/devfont_support.h"

namespace korvan::test {
namespace {

bool haveFonts() {
  platform::FontService& fs = platform::fontService();
  int f = fs.create("DejaVu Sans", 20, 0.0f, true);
  if (f) fs.release(f);
  return f != 0;
}

class WindowFontTest : public FontTest {
 protected:
  void SetUp() override {
    FontTest::SetUp();
    if (!haveFonts()) GTEST_SKIP() << "no font service on this platform";
  }
  void TearDown() override {
    if (qqsglb(0) == 1 && qqgglb().level > 0) korfin();
    qqwwcls();
    FontTest::TearDown();
  }
  static void screen(int bitsPerPixel) {
    platform::ScreenMetrics m;
    m.bitsPerPixel = bitsPerPixel;
    platform::useHeadless(m);
    metafl("CONS");
    korini();
  }
  // The pixel values in a box of the back buffer.
  static std::set<std::uint32_t> values(int x0, int y0, int x1, int y1) {
    std::set<std::uint32_t> v;
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) v.insert(qqwpix(x, y));
    return v;
  }
};

TEST_F(WindowFontTest, ScreenCharactersAreAntiAliasedInTrueColour) {
  screen(24);
  Global& g = qqgglb();
  winfnt("DejaVu Sans");
  ASSERT_EQ(g.devFontMode, 2);
  EXPECT_STREQ(g.devFontName, "DejaVu Sans");
  EXPECT_GT(g.devFontWidths['W' - 31], g.devFontWidths['i' - 31]);
  EXPECT_GT(g.devFontWidths['i' - 31], 0);
  float s = g.deviceScale;
  // The cell hangs from the height above the text position.
  qqchar(g, 'W', 1000.0f, 1000.0f, 0.0f);
  int X = static_cast<int>(1000 * s + 0.5f);
  int top = static_cast<int>((1000 - g.charHeight) * s + 0.5f);
  int cell = static_cast<int>(s * g.charHeight * 13 * 0.125f + 0.5f);
  EXPECT_EQ(values(0, 0, X - 2, 767).size(), 1u);
  EXPECT_EQ(values(X, 0, 1023, top - 1).size(), 1u);
  EXPECT_EQ(values(X, top + cell, 1023, 767).size(), 1u);
  std::set<std::uint32_t> drawn = values(X, top, X + cell, top + cell);
  EXPECT_GT(drawn.size(), 3u);  // background, pen and blends
  EXPECT_TRUE(drawn.count(0xFFFFFF));
}

TEST_F(WindowFontTest, PaletteScreenGetsThePenOnly) {
  screen(8);
  Global& g = qqgglb();
  color("RED");
  winfnt("DejaVu Sans");
  ASSERT_EQ(g.devFontMode, 2);
  qqchar(g, 'M', 1000.0f, 1000.0f, 0.0f);
  int X = static_cast<int>(1000 * g.deviceScale + 0.5f);
  std::set<std::uint32_t> drawn = values(X - 5, 300, X + 40, 380);
  EXPECT_EQ(drawn.size(), 2u);
  EXPECT_TRUE(drawn.count(qqwpix(0, 0)));
}

TEST_F(WindowFontTest, UnknownFamilyFallsBackWithOneNotice) {
  screen(24);
  ::testing::internal::CaptureStderr();
  winfnt("No Such Family Anywhere");
  winfnt("No Such Family Anywhere");
  std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(qqgglb().devFontMode, 2);
  std::regex notice("font \"No Such Family Anywhere\" not found");
  EXPECT_EQ(std::distance(std::sregex_iterator(err.begin(), err.end(), notice), std::sregex_iterator()), 1)
      << err;
  EXPECT_GT(qqgglb().devFontWidths['A' - 31], 0);
}

// The records of a Windows metafile with its placeable header.
struct Record {
  unsigned function;
  std::vector<int> params;  // 16-bit words, signed
};

std::vector<Record> records(const std::string& f) {
  std::vector<Record> out;
  auto w = [&](std::size_t at) {
    return static_cast<int>(static_cast<std::int16_t>(static_cast<std::uint8_t>(f[at]) |
                                                      static_cast<std::uint8_t>(f[at + 1]) << 8));
  };
  std::size_t at = 22 + 18;
  while (at + 6 <= f.size()) {
    std::size_t words = static_cast<std::uint16_t>(w(at)) | static_cast<std::size_t>(w(at + 2)) << 16;
    if (words < 3 || at + 2 * words > f.size()) break;
    Record r{static_cast<unsigned>(w(at + 4)) & 0xFFFF, {}};
    for (std::size_t k = 3; k < words; ++k) r.params.push_back(w(at + 2 * k));
    out.push_back(r);
    at += 2 * words;
  }
  return out;
}

TEST_F(WindowFontTest, MetafileCarriesFontAndTextRecordsThatWmf2svgShows) {
  metafl("WMF");
  korini();
  Global& g = qqgglb();
  pagera();  // wmf2svg fits its picture to what was drawn: the whole page
  const double kS = 1440.0 / 254.0;
  // At height 36 the cell is 13/8 of it, below height 30 twice the height.
  winfnt("DejaVu Sans");
  ASSERT_EQ(g.devFontMode, 2);
  const char* word = "KORVAN";
  float x = 600.0f;
  for (const char* p = word; *p; ++p) {
    qqchar(g, static_cast<unsigned char>(*p), x, 1000.0f, 0.0f);
    float w = 0, sp = 0;
    ASSERT_TRUE(qqdfwd(g, static_cast<unsigned char>(*p), 0.0f, w, sp));
    x += w + sp;
  }
  // height and angle make the font again.
  height(20);
  angle(90);
  messag("Z", 2000, 1500);
  korfin();

  std::vector<Record> rs = records(slurp("korvan.wmf"));
  std::vector<std::vector<int>> fonts;
  std::string text;
  for (const Record& r : rs) {
    if (r.function == 0x02FB) fonts.push_back(r.params);
    if (r.function == 0x0521 && r.params.size() == 4 && r.params[0] == 1)
      text += static_cast<char>(r.params[1] & 0xFF);
  }
  ASSERT_EQ(fonts.size(), 3u);
  EXPECT_EQ(fonts[0][0], static_cast<int>(kS * 36 * 13 * 0.125 + 0.5));
  EXPECT_EQ(fonts[0][2], 0);
  EXPECT_EQ(fonts[1][0], static_cast<int>(kS * 20 * 16 * 0.125 + 0.5));
  EXPECT_EQ(fonts[1][2], 0);
  EXPECT_EQ(fonts[2][0], fonts[1][0]);
  EXPECT_EQ(fonts[2][2], 900);
  EXPECT_EQ(text, "KORVANZ");

  ASSERT_EQ(std::system("wmf2svg -o out.svg korvan.wmf 2>wmf2svg.log"), 0) << slurp("wmf2svg.log");
  std::string svg = slurp("out.svg");
  std::smatch m;
  ASSERT_TRUE(std::regex_search(svg, m, std::regex(R"re(<svg width="([0-9.]+)")re")));
  double sx = std::stod(m[1]) / 2969;  // SVG units per plot unit
  // Each character where it was placed, left to right.
  std::regex glyph(R"re(<text[^>]*matrix\([-0-9. ]+ ([-0-9.]+) ([-0-9.]+)\)"\s*>\s*([A-Z])\s*</text>)re");
  std::string shown;
  double last = 0;
  for (auto it = std::sregex_iterator(svg.begin(), svg.end(), glyph); it != std::sregex_iterator(); ++it) {
    double at = std::stod((*it)[1].str());
    if (shown.empty()) {
      EXPECT_NEAR(at, 600 * sx, 1.0);
    } else if (shown.size() < 6) {
      EXPECT_GT(at, last + 20 * sx);
    }
    last = at;
    shown += (*it)[3].str();
  }
  EXPECT_EQ(shown, "KORVANZ") << svg.substr(0, 3000);
}

}  // namespace
}  // namespace korvan::test
