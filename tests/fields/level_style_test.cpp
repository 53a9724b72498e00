// Line styles of single contour levels (isoset, isoneg), watched at the
// device boundary: the level's lines come in its type, width and colour,
// and what is drawn next is back in the style before.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "support/recording_driver.h"

namespace korvan::test {
namespace {

// z = x on a 21 x 21 grid over -2..2: the line of level c is x = c.
struct Ramp {
  std::vector<float> x, y, z;
  Ramp() {
    for (int i = 0; i < 21; ++i) x.push_back(-2 + 0.2f * i);
    y = x;
    for (int j = 0; j < 21; ++j)
      for (int i = 0; i < 21; ++i) z.push_back(x[i]);
  }
};

// What one drawing call did: its moves and draws, and the colour and width
// requests before, among and after them.
struct Drawing {
  int moves = 0, draws = 0;
  std::vector<int> colours, widths;
};

class LevelStyleTest : public RecordingTest {
 protected:
  void SetUp() override {
    RecordingTest::SetUp();
    start();
    rec->strokesWidth = true;  // widths as records, not as outlines
    G().protocolOn = 0;
    axspos(800, 1600);
    axslen(1001, 1001);
    graf(-2, 2, -2, 1, -2, 2, -2, 1);
  }
  Drawing record(const std::function<void()>& f) {
    qqstrk(G());
    rec->clear();
    f();
    qqstrk(G());
    Drawing d;
    for (const Event& e : rec->events) {
      if (e.kind == Event::Point) (e.mode == 3 ? d.moves : d.draws) += 1;
      if (e.kind == Event::Colour) d.colours.push_back(e.value);
      if (e.kind == Event::Width) d.widths.push_back(e.value);
    }
    return d;
  }
  Drawing level(float c) {
    return record([&] { isolin(r.x.data(), 21, r.y.data(), 21, r.z.data(), c); });
  }
  Ramp r;
};

TEST_F(LevelStyleTest, ALevelIsDrawnInItsOwnStyleAndTheStyleBeforeComesBack) {
  setclr(7);
  linwid(3);
  dash();
  // Half a dash walked: the phase must come back as well.
  line(100, 100, 115, 100);
  const int index = G().patternIndex, penUp = G().penUp;
  const float rest = G().patternRest;
  isoset(1.0f, 0, 9, 40);
  const Drawing plain = level(0.5f);
  EXPECT_TRUE(plain.colours.empty());
  EXPECT_TRUE(plain.widths.empty());
  EXPECT_GT(plain.moves, 3) << "the current dashes";
  const Drawing styled = level(1.0f);
  EXPECT_EQ(styled.colours, (std::vector<int>{40, 7}));
  EXPECT_EQ(styled.widths, (std::vector<int>{9, 3}));
  EXPECT_EQ(styled.moves, 1) << "solid, one line";
  EXPECT_GT(styled.draws, 5);
  EXPECT_EQ(G().currentColour, 7);
  EXPECT_EQ(G().lineWidth, -3);
  EXPECT_EQ(G().lineStyle, 2);
  EXPECT_EQ(G().patternLength, 2);
  EXPECT_EQ(G().patternIndex, index);
  EXPECT_EQ(G().penUp, penUp);
  EXPECT_EQ(G().patternRest, rest);
  const Drawing after = record([] { line(100, 200, 400, 200); });
  EXPECT_GT(after.moves, 5) << "dashed again";
  EXPECT_TRUE(after.colours.empty());
}

TEST_F(LevelStyleTest, MinusOneKeepsTheCurrentSettingAndALaterCallReplacesTheEntry) {
  setclr(5);
  isoset(-1.0f, 2, -1, -1);
  Drawing d = level(-1.0f);
  EXPECT_TRUE(d.colours.empty());
  EXPECT_TRUE(d.widths.empty());
  EXPECT_GT(d.moves, 5) << "dashed";
  isoset(-1.0f, -1, -1, 60);
  d = level(-1.0f);
  EXPECT_EQ(d.colours, (std::vector<int>{60, 5}));
  EXPECT_EQ(d.moves, 1) << "the type of the first entry is gone";
  EXPECT_EQ(G().levelStyles, 1);
}

TEST_F(LevelStyleTest, IsonegDashesTheLevelsBelowZeroOnly) {
  isoneg(1);
  isoset(-0.4f, 0, -1, -1);  // an entry of its own wins
  EXPECT_GT(level(-1.2f).moves, 5);
  EXPECT_EQ(level(-0.4f).moves, 1);
  EXPECT_EQ(level(0.0f).moves, 1);
  EXPECT_EQ(level(1.2f).moves, 1);
  EXPECT_EQ(G().lineStyle, 0);
  isoneg(-1);
  EXPECT_EQ(level(-1.2f).moves, 1);
}

TEST_F(LevelStyleTest, TriangulatedContoursTakeTheLevelStyleToo) {
  std::vector<float> x, y, z;
  for (int j = 0; j < 6; ++j)
    for (int i = 0; i < 6; ++i) {
      x.push_back(-2 + 0.8f * i);
      y.push_back(-2 + 0.8f * j);
      z.push_back(x.back());
    }
  std::vector<int> a(100), b(100), c(100);
  const int nt = delaun(x.data(), y.data(), 36, a.data(), b.data(), c.data(), 100);
  ASSERT_GT(nt, 0);
  setclr(3);
  isoset(0.3f, 1, 4, 90);
  const Drawing d = record([&] {
    isotin(x.data(), y.data(), z.data(), 36, a.data(), b.data(), c.data(), nt, 0.3f);
  });
  EXPECT_EQ(d.colours, (std::vector<int>{90, 3}));
  EXPECT_EQ(d.widths, (std::vector<int>{4, 1}));
  EXPECT_GT(d.moves, 5) << "dotted";
  EXPECT_EQ(G().lineStyle, 0);
}

TEST_F(LevelStyleTest, BadValuesWarnAndChangeNothing) {
  struct Case {
    const char* what;
    std::function<void()> call;
    const char* warning;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const Case cases[] = {
      {"level NaN", [&] { isoset(nan, 1, -1, -1); }, "Warning   2"},
      {"type 8", [] { isoset(1, 8, -1, -1); }, "Warning   2"},
      {"type -2", [] { isoset(1, -2, -1, -1); }, "Warning   2"},
      {"width 0", [] { isoset(1, 1, 0, -1); }, "Warning   2"},
      {"width 32001", [] { isoset(1, 1, 32001, -1); }, "Warning   2"},
      {"colour 256", [] { isoset(1, 1, -1, 256); }, "Warning   2"},
      {"colour -2", [] { isoset(1, 1, -1, -2); }, "Warning   2"},
      {"isoneg 8", [] { isoneg(8); }, "Warning   2"},
      {"isoneg -2", [] { isoneg(-2); }, "Warning   2"},
  };
  for (const Case& c : cases) {
    const std::string said = output(c.call);
    EXPECT_NE(said.find(c.warning), std::string::npos) << c.what << ": " << said;
  }
  EXPECT_EQ(G().levelStyles, 0);
  EXPECT_EQ(G().negativeLineType, -1);
  // 64 levels are remembered, the 65th is refused.
  std::string said = output([] {
    for (int k = 0; k < 64; ++k) isoset(static_cast<float>(k), 1, -1, -1);
  });
  EXPECT_EQ(said, "");
  said = output([] { isoset(64.0f, 1, -1, -1); });
  EXPECT_NE(said.find("Warning 101"), std::string::npos) << said;
  EXPECT_NE(said.find("isoset"), std::string::npos) << said;
  EXPECT_EQ(G().levelStyles, 64);
  EXPECT_EQ(output([] { isoset(63.0f, 2, -1, -1); }), "") << "an entry is still replaced";
}

TEST_F(LevelStyleTest, KoriniForgetsTheStylesAndLevelZeroIsRefused) {
  isoset(1, 2, 3, 4);
  isoneg(2);
  G().protocolOn = 0;
  G().device = 603;
  quiet([] { korfin(); });
  std::string said = output([] {
    isoset(1, 2, 3, 4);
    isoneg(2);
  });
  EXPECT_NE(said.find("Warning   3"), std::string::npos) << said;
  start();
  EXPECT_EQ(G().levelStyles, 0);
  EXPECT_EQ(G().negativeLineType, -1);
}

}  // namespace
}  // namespace korvan::test
