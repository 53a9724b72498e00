// Stroke-font text through the public routines, watched at the device
// boundary: glyph geometry, advances, continuation, exponents, umlauts,
// instructions, angles, page checks, frames and the font tables.
#include <cmath>
#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "support/recording_driver.h"
#include "text/text_recording.h"
#include "text/glyphs/glyphs.h"
#include "text/text.h"

namespace korvan::test {
namespace {

class TextTest : public TextRecordingTest {
 protected:
  // An instruction alphabet opened by "{" and closed by "}".
  void instructions() {
    G().mixSwitch = 1;
    G().mixAlphabet[0] = 7;
    G().mixOn[0] = '{';
    G().mixOff[0] = '}';
  }
};

TEST_F(TextTest, TheLetterAOfTheDefaultFont) {
  Paths p = text("A");
  ASSERT_EQ(p.size(), 2u);
  const float grid[6][2] = {{1, 0}, {1, 6}, {2, 7}, {4, 7}, {5, 6}, {5, 0}};
  ASSERT_EQ(p[0].size(), 6u);
  for (int i = 0; i < 6; ++i) {
    EXPECT_NEAR(p[0][i].x, 100 + grid[i][0] * 35.0f / 6.0f, 0.01f) << i;
    EXPECT_NEAR(p[0][i].y, 235 - grid[i][1] * 5.0f, 0.01f) << i;
  }
  ASSERT_EQ(p[1].size(), 2u);
  EXPECT_NEAR(p[1][0].x, 100 + 35.0f / 6.0f, 0.01f);
  EXPECT_NEAR(p[1][1].x, 100 + 5 * 35.0f / 6.0f, 0.01f);
  EXPECT_NEAR(p[1][0].y, 215, 0.01f);
  EXPECT_EQ(nlmess("A"), 35);
  EXPECT_EQ(nlmess("AAA"), 105);
  // The second "A" starts one advance (35) further on.
  Paths two = text("AA");
  ASSERT_EQ(two.size(), 4u);
  EXPECT_NEAR(two[2][0].x - two[0][0].x, 35.0f, 0.01f);
}

TEST_F(TextTest, RecordsOfTheDocumentedGlyphs) {
  const std::int16_t a[] = {7, -6, 139, 2, -2, 10, 2050};
  const std::int16_t* rec = kKoralfLatin;
  for (int k = 2; k < 'A' - 31; ++k) rec += rec[0];
  EXPECT_TRUE(std::equal(std::begin(a), std::end(a), rec));
  const std::int16_t outline[] = {0, 6 << 8, 1 | 7 << 8, 3 | 7 << 8, 4 | 6 << 8, 4};
  EXPECT_TRUE(std::equal(std::begin(outline), std::end(outline), kKoralfPoints + 138));
  EXPECT_EQ(kKoralfPoints[9], 0);
  EXPECT_EQ(kKoralfPoints[10], 4);
  // "!": a unit square at (2.5, 0) and a stroke of 4 at (3, 3).
  const std::int16_t* ex = kKoralfLatin;
  ASSERT_EQ(ex[0], 7);
  EXPECT_EQ(ex[1], -5);
  EXPECT_EQ(ex[3], 5);
  EXPECT_EQ(ex[4], -2);
  EXPECT_EQ(ex[6], 1542);
  const std::int16_t square[] = {0, 1, 1 | 1 << 8, 1 << 8, 0};
  EXPECT_TRUE(std::equal(std::begin(square), std::end(square), kKoralfPoints + ex[2] - 1));
  EXPECT_EQ(kKoralfPoints[ex[5]], 4 << 8);
}

TEST_F(TextTest, EveryTableWalksToItsEnd) {
  struct T {
    const std::int16_t* index;
    int words;
    int points;
    int records;
  } tables[] = {
      {kKoralfLatin, int(std::size(kKoralfLatin)), int(std::size(kKoralfPoints)), 101},
      {kKoralfGreek, int(std::size(kKoralfGreek)), int(std::size(kKoralfPoints)), 52},
      {kLcmathIndex, int(std::size(kLcmathIndex)), int(std::size(kLcmathPoints)), 52},
      {kLcomscIndex, int(std::size(kLcomscIndex)), int(std::size(kLcomscPoints)), 59},
      {kLcomcyIndex, int(std::size(kLcomcyIndex)), int(std::size(kLcomcyPoints)), 66},
      {kLcomroIndex, int(std::size(kLcomroIndex)), int(std::size(kLcomroPoints)), 208},
      {kLcomgrIndex, int(std::size(kLcomgrIndex)), int(std::size(kLcomgrPoints)), 52},
      {kLcomitIndex, int(std::size(kLcomitIndex)), int(std::size(kLcomitPoints)), 29},
  };
  for (const T& t : tables) {
    int records = 0, at = 0;
    while (at < t.words) {
      int len = t.index[at];
      ASSERT_GE(len, 3);
      for (int k = at + 1; k < at + len;) {
        int n = std::abs(t.index[k]);
        EXPECT_GE(t.index[k + 1], 1);
        EXPECT_LE(t.index[k + 1] + n - 1, t.points);
        k += t.index[k] < 0 ? 3 : 2;
        ASSERT_LE(k, at + len);
      }
      at += len;
      ++records;
    }
    EXPECT_EQ(at, t.words);
    EXPECT_EQ(records, t.records);
  }
}

TEST_F(TextTest, BlanksInBothFonts) {
  EXPECT_EQ(nlmess("A A") - nlmess("AA"), 35);
  EXPECT_EQ(nlmess("   "), 0);
  EXPECT_TRUE(text("   ").empty());
  complx();
  // 9 grid units of alphabet 1 and the spacing of a quarter height.
  EXPECT_NEAR(nlmess("A A") - nlmess("AA"), 9 * 35.0 / 20 + 9, 1.0);
  Extent a = extent(text("A"));
  EXPECT_NEAR(a.x0, 100, 0.01f);  // the ink starts at the origin
  EXPECT_NEAR(nlmess("A"), a.x1 - a.x0, 1.0);
}

TEST_F(TextTest, ContinuationGoesOnWhereTheTextEnded) {
  Paths whole = text("ABC");
  Paths parts = drawn([] {
    messag("AB", 100, 200);
    messag("C", 999, 999);
  });
  EXPECT_TRUE(samePaths(whole, parts));
}

TEST_F(TextTest, ExponentRaisesAndShrinks) {
  G().expSwitch = 1;
  Paths p = text("x[2$y");
  ASSERT_EQ(p.size(), 5u);  // x: 2 strokes, 2: 1, y: 2
  Extent two = extent(p, 2, 3), y = extent(p, 3, 5);
  float base = 235;
  EXPECT_NEAR(two.y1, base - 0.6f * 36, 0.5f);
  EXPECT_NEAR(two.y1 - two.y0, 28, 0.5f);  // height nint(0.8 * 36) = 29
  EXPECT_NEAR(y.y1, base + 2 * 5, 0.01f);  // the descender of y at full size
  EXPECT_NEAR(y.y0, base - 5 * 5, 0.01f);
}

TEST_F(TextTest, UmlautSubstitution) {
  G().umlautSwitch = 1;
  G().umlautEsc[0] = '!';
  EXPECT_TRUE(samePaths(text("M!arz"), text("M\x82rz")));
  EXPECT_EQ(nlmess("M!arz"), 4 * 35);
  G().umlautSwitch = 0;
  Paths bang = text("!");
  G().umlautSwitch = 1;
  EXPECT_TRUE(samePaths(text("!!"), bang));
  std::string out = output([&] { text("!q"); });
  EXPECT_NE(out.find("Warning  18: Incorrect character after the eushft operator in messag!   (q)"),
            std::string::npos)
      << out;
}

TEST_F(TextTest, FontPositionsOfEachFont) {
  EXPECT_FALSE(text("\x85").empty());  // sharp s
  EXPECT_TRUE(text("\x86").empty());   // beyond the default font's range
  complx();
  EXPECT_FALSE(text("\x86").empty());
  EXPECT_FALSE(text("\xf0").empty());
  EXPECT_TRUE(text("\xf1").empty());
  // ISO 8859-1 codes through the coding flag: a-umlaut at 228.
  Paths pos = text("\x82");
  G().codingFlag = 1;
  EXPECT_TRUE(samePaths(text("\xe4"), pos));
}

TEST_F(TextTest, InstructionWarningsAndEffects) {
  instructions();
  struct Case {
    const char* s;
    const char* warning;
  } cases[] = {{"{H1.5.3}A", "Warning  43: Instruction code: incorrect parameter in messag!   (H1.5.3)"},
               {"{G25}A", "Warning  44: Instruction code: incorrect tabulator index in messag!   (G25)"},
               {"{C1.5}A", "Warning  45: Instruction code: no integer value in messag!   (C1.5)"},
               {"{Q}A", "Warning  46: Instruction code: unknown command in messag!   (Q)"},
               {"{EX7}A", "Warning  43"}};
  for (const Case& c : cases) {
    Paths p;
    std::string out = output([&] { p = text(c.s); });
    EXPECT_NE(out.find(c.warning), std::string::npos) << c.s << ": " << out;
    EXPECT_EQ(p.size(), 2u) << c.s;  // the A is drawn all the same
  }
  Extent h2 = extent(text("{H2}A"));
  EXPECT_NEAR(h2.y1 - h2.y0, 71, 0.01f);
  Extent up = extent(text("{U1}A"));
  EXPECT_NEAR(up.y1, 235 - 36, 0.01f);
  Extent moved = extent(text("{A2}A"));
  EXPECT_NEAR(moved.x0, 100 + 72 + 35.0f / 6, 0.01f);
  // Changes last to the end of the string.
  EXPECT_EQ(nlmess("A"), 35);
  EXPECT_EQ(nlmess("{W2}A"), 70);
  EXPECT_EQ(nlmess("{K}A"), static_cast<int>(std::lround(0.8 * 1.4 * 35)));
  // A line from a stored position under the text, one spacing short.
  Paths under = text("{P1}AB{L1}");
  ASSERT_EQ(under.size(), 5u);
  EXPECT_NEAR(under[4][0].y, 235 + 0.2f * 36, 0.01f);
  EXPECT_NEAR(under[4][1].x - under[4][0].x, 70, 0.01f);
}

TEST_F(TextTest, MixedAlphabetsAndItalic) {
  G().mixSwitch = 1;
  G().mixAlphabet[0] = 2;
  G().mixOn[0] = '<';
  G().mixOff[0] = '>';
  Paths mixed = text("<a>");
  G().mixSwitch = 0;
  G().baseAlphabet = 2;
  EXPECT_TRUE(samePaths(mixed, text("a")));
  // The italic alphabet slants the upright glyph by 15 degrees.
  G().baseAlphabet = 4;
  Extent it = extent(text("I"));
  G().baseAlphabet = 1;
  Extent up = extent(text("I"));
  EXPECT_NEAR((it.x1 - up.x1), 35 / 3.732f, 0.1f);
}

TEST_F(TextTest, AngleNinetyRunsUp) {
  angle(90);
  Paths p = text("AB", 500, 1000);
  Extent all = extent(p), a = extent(p, 0, 2), b = extent(p, 2);
  EXPECT_NEAR(all.x0, 500, 0.01f);
  EXPECT_NEAR(all.x1, 535, 0.01f);
  EXPECT_LT(b.y1, a.y0 + 0.01f);
  EXPECT_EQ(nlmess("AB"), 70);
}

TEST_F(TextTest, TextOutOfThePage) {
  int before = G().warningCount;
  std::string out = output([&] { text("Hello World", -10, 100); });
  EXPECT_NE(out.find(" <<<< Warning: Startpoint (  -10/  100) in MESSAG out of page - (Hello Wo).\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(G().warningCount, before + 1);
  out = output([&] { text("ABCDEFGH", 2800, 100); });
  EXPECT_NE(out.find(" <<<< Warning: Endpoint   ( 3080/  135) in MESSAG out of page - (ABCDEFGH).\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(output([&] { text("AB", 100, 100); }), "");
}

TEST_F(TextTest, JustificationFrameAndShielding) {
  G().justification = 1;
  Extent c = extent(text("AB", 1000, 500));
  EXPECT_NEAR((c.x0 + c.x1) / 2, 1000, 3.0f);
  G().justification = 2;
  EXPECT_NEAR(extent(text("AB", 1000, 500)).x1, 1000, 6.0f);
  G().justification = 0;
  G().frameThickness = 2;
  Paths framed = text("AB", 1000, 500);
  ASSERT_EQ(framed.size(), 4u + 2u);
  Extent inner = extent(framed, 4, 5), outer = extent(framed, 5, 6), ink = extent(framed, 0, 4);
  EXPECT_NEAR(outer.x0, inner.x0 - 1, 0.01f);
  EXPECT_LT(inner.x0, ink.x0);
  EXPECT_GT(inner.y1, ink.y1);
  G().frameThickness = 0;
  shield("MESS", "ON");
  text("AB", 1000, 500);
  EXPECT_EQ(G().shieldCount, 1);
}

TEST_F(TextTest, LevelsChecksAndByAddressForms) {
  std::string out = output([] { height(0); });
  EXPECT_NE(out.find("Warning   2"), std::string::npos);
  EXPECT_EQ(G().charHeight, 36);
  int x = 100, y = 200, h = 50;
  height_(&h);
  EXPECT_EQ(G().charHeight, 50);
  height(36);
  Paths plain = text("AB");
  EXPECT_TRUE(samePaths(drawn([&] { messag_("AB  xyz", &x, &y, 4); }), plain));
  EXPECT_EQ(nlmess_("AB  xyz", 2), 70);
  // dnumqq and dtext draw through qqmess and restore angle and height.
  EXPECT_TRUE(samePaths(drawn([] { dnumqq(G(), 2.5f, 1, 100, 200); }), text("2.5")));
  dtext(G(), "A", 100, 200, 90.0f, 80);
  EXPECT_EQ(G().charHeight, 36);
  EXPECT_EQ(G().textAngle, 0.0f);
}

using TextLevelTest = PlotTest;

TEST_F(TextLevelTest, MessagNeedsAnInitialisedLibrary) {
  ::testing::internal::CaptureStdout();
  messag("A", 1, 1);
  koralf();
  std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Warning   3: Incorrect level in messag!"), std::string::npos) << out;
  EXPECT_NE(out.find("in koralf!"), std::string::npos) << out;
  EXPECT_EQ(qqgglb().fontType, 1);  // carried out after the warning
}

}  // namespace
}  // namespace korvan::test
