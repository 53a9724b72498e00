// The colour tables, the colour names per table and device, and what a
// colour change hands to the device.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "draw/colour.h"
#include "support/recording_driver.h"

namespace korvan::test {
namespace {

class ColourTest : public RecordingTest {
 protected:
  static int entry(int i) { return G().colourTable[i]; }
  static int pick(const char* name) {
    color(name);
    return G().currentColour;
  }
  // Index selected by each of the nine colour names.
  static std::vector<int> names() {
    std::vector<int> out;
    for (const char* n : {"WHIT", "RED", "GREE", "YELL", "BLUE", "ORAN", "CYAN", "MAGE", "BLAC"})
      out.push_back(pick(n));
    return out;
  }
};

TEST_F(ColourTest, KoriniLoadsTheRainbowWithWhiteForeground) {
  start();
  Global& g = G();
  EXPECT_EQ(g.colourTableNo, 1);
  EXPECT_EQ(g.currentColour, 255);
  EXPECT_EQ(g.bgColour, 0);
}

TEST_F(ColourTest, RainbowValues) {
  start();
  const std::map<int, int> want = {
      {0, 0x000000},   {1, 0x220044},   {13, 0x3300AA},  {15, 0x2C00B8},  {16, 0x2900BE},
      {30, 0x0000FF},  {31, 0x0004FF},  {32, 0x0008FF},  {47, 0x0040FF},  {48, 0x0044FF},
      {63, 0x0080FF},  {64, 0x0084FF},  {79, 0x00BCFF},  {80, 0x00C0FF},  {95, 0x00FBFF},
      {96, 0x00FFFF},  {111, 0x00FFC3}, {112, 0x00FFBF}, {127, 0x00FF58}, {128, 0x00FF52},
      {138, 0x00FF00}, {143, 0x2BFF00}, {144, 0x33FF00}, {159, 0x77FF00}, {160, 0x7BFF00},
      {175, 0xBBFF00}, {176, 0xBFFF00}, {191, 0xFBFF00}, {192, 0xFFFF00}, {207, 0xFFBF00},
      {208, 0xFFBB00}, {223, 0xFF7F00}, {224, 0xFF7B00}, {239, 0xFF3D00}, {240, 0xFF3A00},
      {254, 0xFF0000}, {255, 0xFFFFFF}};
  for (auto [i, v] : want) EXPECT_EQ(entry(i), v) << "RAIN " << i;
  // the reversed table
  setvlt("RRAI");
  for (auto [i, v] : want) EXPECT_EQ(entry(255 - i), v) << "RRAI " << 255 - i;
}

TEST_F(ColourTest, SpectrumValues) {
  start();
  setvlt("SPEC");
  const std::map<int, int> want = {
      {0, 0x000000},   {1, 0xFF00FF},   {15, 0xB800FF},  {16, 0xB300FF},  {32, 0x6300FF},
      {48, 0x1200FF},  {52, 0x0000FF},  {64, 0x003EFF},  {80, 0x008FFF},  {96, 0x00E0FF},
      {102, 0x00FFFF}, {112, 0x00FFCE}, {128, 0x00FF7D}, {144, 0x00FF2C}, {153, 0x00FF00},
      {160, 0x24FF00}, {176, 0x75FF00}, {192, 0xC6FF00}, {204, 0xFFFF00}, {208, 0xFFE800},
      {224, 0xFF9700}, {240, 0xFF4700}, {253, 0xFF0500}, {254, 0xFF0000}, {255, 0xFFFFFF}};
  for (auto [i, v] : want) EXPECT_EQ(entry(i), v) << "SPEC " << i;
  setvlt("rspect");
  EXPECT_EQ(G().colourTableNo, 5);
  for (auto [i, v] : want) EXPECT_EQ(entry(255 - i), v) << "RSPE " << 255 - i;
}

TEST_F(ColourTest, ComputedTables) {
  start();
  setvlt("GREY");
  EXPECT_EQ(entry(0), 0);
  EXPECT_EQ(entry(1), 0x010101);
  EXPECT_EQ(entry(128), 0x808080);
  EXPECT_EQ(entry(255), 0xFFFFFF);
  setvlt("RGRE");
  EXPECT_EQ(entry(0), 0xFFFFFF);
  EXPECT_EQ(entry(200), 0x373737);
  setvlt("TEMP");
  EXPECT_EQ(entry(0), 0x000000);
  EXPECT_EQ(entry(100), 0xAA0000);
  EXPECT_EQ(entry(120), 0xCC0000);
  EXPECT_EQ(entry(130), 0xDD1300);
  EXPECT_EQ(entry(149), 0xFD3700);
  EXPECT_EQ(entry(150), 0xFF3900);
  EXPECT_EQ(entry(200), 0xFF9727);
  EXPECT_EQ(entry(255), 0xFFFFFF);
}

TEST_F(ColourTest, SmallTablesOverwriteOnlyTheirEntries) {
  start();
  setvlt("SMAL");
  const int small[9] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF,
                        0xFFFF00, 0xFF5500, 0x00FFFF, 0xFF00FF};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(entry(i), small[i]);
  EXPECT_EQ(entry(9), 0x330088) << "the rainbow entry is left";
  EXPECT_EQ(G().currentColour, 1);
  setvlt("RAIN");
  setvlt("VGA");
  const int vga[16] = {0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA,
                       0xAA5500, 0xAAAAAA, 0x555555, 0x5555FF, 0x55FF55, 0x55FFFF,
                       0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(entry(i), vga[i]);
  EXPECT_EQ(entry(16), 0x2900BE);
  EXPECT_EQ(entry(254), 0xFF0000);
  EXPECT_EQ(G().currentColour, 15);
}

TEST_F(ColourTest, NamesPerTable) {
  start();
  struct {
    const char* table;
    std::vector<int> idx;
  } cases[] = {
      {"SMAL", {1, 2, 3, 5, 4, 6, 7, 8, 1}},
      {"RAIN", {255, 254, 138, 192, 30, 223, 96, 13, 0}},
      {"TEMP", {255, 254, 138, 192, 30, 223, 96, 13, 0}},
      {"RRAI", {255, 1, 117, 63, 225, 32, 159, 242, 0}},
      {"SPEC", {255, 254, 154, 205, 53, 235, 103, 1, 0}},
      {"RSPE", {255, 1, 101, 50, 202, 20, 152, 254, 0}},
      {"GREY", {255, 230, 185, 150, 95, 215, 175, 110, 255}},
      {"RGRE", {255, 25, 70, 105, 160, 40, 80, 145, 255}},
      {"VGA", {15, 4, 2, 14, 1, 12, 3, 5, 0}},
  };
  for (auto& c : cases) {
    setvlt(c.table);
    EXPECT_EQ(names(), c.idx) << c.table;
  }
}

TEST_F(ColourTest, NamedColoursOfTheRainbowHoldTheirColours) {
  start();
  const std::pair<const char*, int> want[] = {
      {"RED", 0xFF0000}, {"GREE", 0x00FF00}, {"YELL", 0xFFFF00}, {"BLUE", 0x0000FF},
      {"ORAN", 0xFF7F00}, {"CYAN", 0x00FFFF}, {"MAGE", 0x3300AA}, {"WHIT", 0xFFFFFF},
      {"BLAC", 0x000000}};
  for (auto [name, rgb] : want) {
    EXPECT_EQ(entry(pick(name)), rgb) << name;
  }
  // The reversed table keeps the seven colours under the reversed indices;
  // WHIT and BLAC keep their indices, so they exchange their colours.
  setvlt("RRAI");
  for (auto [name, rgb] : want) {
    std::string n = name;
    int expect = n == "WHIT" ? 0x000000 : n == "BLAC" ? 0xFFFFFF : rgb;
    EXPECT_EQ(entry(pick(name)), expect) << "RRAI " << name;
  }
}

TEST_F(ColourTest, ForegroundAndBackground) {
  start();
  EXPECT_EQ(pick("FORE"), 255);
  EXPECT_EQ(pick("BACK"), 0);
  setvlt("SMAL");
  EXPECT_EQ(pick("FORE"), 1);
  EXPECT_EQ(pick("WHIT"), 1);
  EXPECT_EQ(pick("BLAC"), 1);
  setvlt("VGA");
  EXPECT_EQ(pick("FORE"), 15);
  EXPECT_EQ(pick("BACK"), 0);
}

TEST_F(ColourTest, PostScriptDefaultIsReversedGrey) {
  metafl("POST");
  korini();
  Global& g = G();
  EXPECT_EQ(g.colourTableNo, 6);
  EXPECT_EQ(g.currentColour, 255);
  EXPECT_EQ(entry(255), 0x000000);
  EXPECT_EQ(entry(0), 0xFFFFFF);
  EXPECT_EQ(pick("WHIT"), 255);
  EXPECT_EQ(pick("FORE"), 255);
  EXPECT_EQ(pick("BACK"), 0);
  g.protocolOn = 0;
  quiet([] { korfin(); });
}

TEST_F(ColourTest, PaperDevicesDrawWithIndexZero) {
  start(501);
  setvlt("RAIN");
  Global& g = G();
  EXPECT_EQ(g.currentColour, 0);
  EXPECT_EQ(g.bgColour, 255);
  EXPECT_EQ(pick("FORE"), 0);
  EXPECT_EQ(pick("BACK"), 255);
  EXPECT_EQ(pick("WHIT"), 255) << "only 211 and 221 move WHIT";
  setvlt("SMAL");
  EXPECT_EQ(entry(0), 0xFFFFFF);
  EXPECT_EQ(entry(1), 0x000000);
  EXPECT_EQ(g.currentColour, 1);
  setvlt("VGA");
  EXPECT_EQ(entry(0), 0xFFFFFF);
  EXPECT_EQ(entry(15), 0x000000);
  for (int device : {221, 211}) {
    g.device = device;
    setvlt("GREY");
    EXPECT_EQ(pick("WHIT"), 0) << device;
    EXPECT_EQ(pick("RED"), 230);
    EXPECT_EQ(g.currentColour, 230);
    setvlt("RGRE");
    EXPECT_EQ(pick("WHIT"), 255) << device;
    EXPECT_EQ(pick("FORE"), 255);
  }
  g.device = 211;
  setvlt("SMAL");
  EXPECT_EQ(entry(0), 0x000000) << "CGM keeps the small table as it is";
  g.device = 701;
  setvlt("SPEC");
  EXPECT_EQ(pick("FORE"), 0);
  EXPECT_EQ(pick("WHIT"), 255);
}

TEST_F(ColourTest, WhiteBackgroundDevicesExchangeBackgroundAndForeground) {
  start(801);
  Global& g = G();
  g.bgMode = 2;
  setvlt("RAIN");
  EXPECT_EQ(entry(0), 0xFFFFFF);
  EXPECT_EQ(entry(255), 0x000000);
  EXPECT_EQ(g.currentColour, 255);
  setvlt("SMAL");
  EXPECT_EQ(entry(0), 0xFFFFFF);
  EXPECT_EQ(entry(1), 0x000000);
  setvlt("VGA");
  EXPECT_EQ(entry(0), 0xFFFFFF);
  EXPECT_EQ(entry(15), 0x000000);
}

TEST_F(ColourTest, PrinterLanguageAlwaysGetsTheSmallTable) {
  start(301);
  setvlt("TEMP");
  EXPECT_EQ(G().colourTableNo, 0);
  EXPECT_EQ(G().currentColour, 1);
}

TEST_F(ColourTest, UnknownNamesWarnAndChangeNothing) {
  start();
  color("RED");
  std::string out = output([] { setvlt("PINK"); });
  EXPECT_NE(out.find("Warning   2: Incorrect parameter in setvlt!   (PINK)"), std::string::npos)
      << out;
  out = output([] { color("PURPLE"); });
  EXPECT_NE(out.find("in color!"), std::string::npos);
  EXPECT_EQ(G().colourTableNo, 1);
  EXPECT_EQ(G().currentColour, 254);
}

TEST_F(ColourTest, KeywordsCountInTheirFirstFourCharacters) {
  start();
  EXPECT_EQ(pick("GREENYELLOW"), 138);
  color_("YELLOW", 6);
  EXPECT_EQ(G().currentColour, 192);
  color_("GREENYELLOW", 11);
  EXPECT_EQ(G().currentColour, 138);
  setvlt_("vgaxx", 3);
  EXPECT_EQ(G().colourTableNo, 7);
  EXPECT_EQ(pick("blue"), 1);
}

TEST_F(ColourTest, OutsideTheLevelsNothingChanges) {
  std::string out = output([] {
    color("RED");
    setvlt("GREY");
  });
  EXPECT_NE(out.find("Incorrect level in color!"), std::string::npos);
  EXPECT_NE(out.find("Incorrect level in setvlt!"), std::string::npos);
  EXPECT_EQ(G().colourTableNo, 0);
  EXPECT_EQ(G().colourTable[255], 0);
}

TEST_F(ColourTest, DeviceSeesTheNewIndexBeforeTheCurrentColourChanges) {
  start();
  rec->clear();
  color("RED");
  color("RED");
  std::vector<Event> c = rec->only(Event::Colour);
  ASSERT_EQ(c.size(), 2u) << "the driver decides whether a repeat is written";
  EXPECT_EQ(c[0].value, 254);
  EXPECT_EQ(c[0].previous, 255);
  EXPECT_EQ(c[0].rgb, 0xFF0000);
  EXPECT_EQ(c[1].previous, 254);
}

TEST_F(ColourTest, SetvltSendsThePaletteThenSelectsTheForeground) {
  start();
  rec->clear();
  setvlt("SPEC");
  ASSERT_EQ(rec->events.size(), 2u);
  EXPECT_EQ(rec->events[0].kind, Event::Palette);
  EXPECT_EQ(rec->events[0].value, 2);
  EXPECT_EQ(rec->events[1].kind, Event::Colour);
  EXPECT_EQ(rec->events[1].value, 255);
}

TEST_F(ColourTest, ColourChangeFlushesTheOpenStrokeFirst) {
  start();
  Global& g = G();
  lineqq(g, 10, 10, 100, 10);
  color("BLUE");
  ASSERT_EQ(rec->events.size(), 3u);
  EXPECT_EQ(rec->events[0].kind, Event::Point);
  EXPECT_EQ(rec->events[1].kind, Event::Point);
  EXPECT_EQ(rec->events[2].kind, Event::Colour);
  EXPECT_EQ(g.strokeCount, 0);
}

TEST_F(ColourTest, ColourChangeFromInsideAFlushDoesNotReemitTheStroke) {
  start();
  Global& g = G();
  rec->onPoint = [](Global& gg, float, float, int) {
    if (gg.strokeCount == 3 && gg.currentColour != 30) qqsclr(gg, 30);
  };
  qqmove(g, 10, 10);
  qqdraw(g, 20, 10);
  qqdraw(g, 30, 10);
  qqstrk(g);
  EXPECT_EQ(rec->count(Event::Point), 3);
  EXPECT_EQ(rec->count(Event::Colour), 1);
  EXPECT_EQ(g.currentColour, 30);
}

TEST(ColourBytes, Gbyt03SplitsAnEntry) {
  int r, g, b;
  gbyt03(0x12AB7F, &r, &g, &b);
  EXPECT_EQ(r, 0x12);
  EXPECT_EQ(g, 0xAB);
  EXPECT_EQ(b, 0x7F);
  gbyt03(0xFFFFFF, &r, &g, &b);
  EXPECT_EQ(r + g + b, 765);
}

}  // namespace
}  // namespace korvan::test
