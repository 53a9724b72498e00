// Line styles: the dash walk along segments and lines, the named styles and
// the user pattern, observed as the pieces the device draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "support/recording_driver.h"

namespace korvan::test {
namespace {

class StyleTest : public RecordingTest {
 protected:
  void SetUp() override {
    RecordingTest::SetUp();
    start();
  }
  static void expectSeg(const Seg& s, float x1, float y1, float x2, float y2) {
    EXPECT_NEAR(s.x1, x1, 1e-3);
    EXPECT_NEAR(s.y1, y1, 1e-3);
    EXPECT_NEAR(s.x2, x2, 1e-3);
    EXPECT_NEAR(s.y2, y2, 1e-3);
  }
  // The drawn pieces of visible length.
  std::vector<Seg> pieces() {
    std::vector<Seg> out;
    for (const Seg& s : drawn()) {
      if (segLength(s) < 1e-3) continue;  // a dash just begun at a vertex
      out.push_back(s);
    }
    return out;
  }
};

TEST_F(StyleTest, DashCarriesItsRestIntoTheNextSegment) {
  Global& g = G();
  dash();
  strtqq(g, 0, 100);
  connqq(g, 45, 100);
  EXPECT_FLOAT_EQ(g.patternRest, 5.0f);
  EXPECT_EQ(g.penUp, 0);
  connqq(g, 45, 145);
  std::vector<Seg> s = pieces();
  ASSERT_GE(s.size(), 4u);
  expectSeg(s[0], 0, 100, 10, 100);
  expectSeg(s[1], 20, 100, 30, 100);
  expectSeg(s[2], 40, 100, 45, 100);
  // the same dash goes on round the corner for the 5 units it had left
  expectSeg(s[3], 45, 100, 45, 105);
  EXPECT_EQ(rec->points()[6].mode, 2) << "no move at the corner";
  ASSERT_EQ(s.size(), 6u);
  expectSeg(s[4], 45, 115, 45, 125);
  expectSeg(s[5], 45, 135, 45, 145);
}

TEST_F(StyleTest, DashEndingAtAVertexSwitchesThePenThere) {
  Global& g = G();
  dash();
  strtqq(g, 0, 100);
  connqq(g, 10, 100);
  EXPECT_EQ(g.penUp, 1);
  EXPECT_EQ(g.patternIndex, 2);
  EXPECT_FLOAT_EQ(g.patternRest, 10.0f);
  connqq(g, 10, 130);
  std::vector<Seg> s = pieces();
  ASSERT_EQ(s.size(), 2u);
  expectSeg(s[0], 0, 100, 10, 100);
  expectSeg(s[1], 10, 110, 10, 120);
}

TEST_F(StyleTest, PhaseRunsAcrossLinesUntilTheStyleChanges) {
  Global& g = G();
  dash();
  lineqq(g, 0, 100, 15, 100);  // ends 5 units into a gap
  lineqq(g, 0, 200, 30, 200);
  std::vector<Seg> s = pieces();
  ASSERT_EQ(s.size(), 3u);
  expectSeg(s[0], 0, 100, 10, 100);
  expectSeg(s[1], 5, 200, 15, 200);
  expectSeg(s[2], 25, 200, 30, 200);
  rec->clear();
  dash();  // a style routine restarts with a full dash
  EXPECT_EQ(g.penUp, 0);
  EXPECT_FLOAT_EQ(g.patternRest, 10.0f);
  lineqq(g, 0, 300, 12, 300);
  s = pieces();
  ASSERT_EQ(s.size(), 1u);
  expectSeg(s[0], 0, 300, 10, 300);
}

TEST_F(StyleTest, DotsOfOneUnitEveryElevenUnits) {
  Global& g = G();
  dot();
  lineqq(g, 0, 100, 50, 100);
  std::vector<Seg> s = pieces();
  ASSERT_EQ(s.size(), 5u);
  for (int i = 0; i < 5; ++i) expectSeg(s[i], 11.0f * i, 100, 11.0f * i + 1, 100);
}

TEST_F(StyleTest, DiagonalDashesHaveTheirLengthAlongTheLine) {
  Global& g = G();
  dashm();  // 20, 15
  lineqq(g, 100, 100, 400, 500);  // length 500, direction (0.6, 0.8)
  std::vector<Seg> s = pieces();
  ASSERT_EQ(s.size(), 15u);  // 500 / 35 = 14 cycles and a 10-unit dash
  for (int i = 0; i < 14; ++i) {
    EXPECT_NEAR(segLength(s[i]), 20.0, 1e-3);
    EXPECT_NEAR(s[i].x1, 100 + 0.6 * 35 * i, 1e-3);
    EXPECT_NEAR(s[i].y1, 100 + 0.8 * 35 * i, 1e-3);
  }
  EXPECT_NEAR(segLength(s[14]), 10.0, 1e-3);
}

TEST_F(StyleTest, SingleElementPatternIsSolid) {
  Global& g = G();
  int one[] = {37};
  myline(one, 1);
  EXPECT_EQ(g.patternLength, 1);
  lineqq(g, 0, 100, 500, 100);
  ASSERT_EQ(pieces().size(), 1u);
}

TEST_F(StyleTest, NamedStylesInstallTheirPatterns) {
  Global& g = G();
  struct {
    void (*call)();
    int style;
    std::vector<int> pattern;
  } cases[] = {
      {solid, 0, {1}},         {dot, 1, {1, 10}},      {dash, 2, {10, 10}},
      {chndsh, 3, {30, 15, 10, 15}}, {chndot, 4, {1, 15, 15, 15}}, {dashm, 5, {20, 15}},
      {dotl, 6, {1, 20}},      {dashl, 7, {30, 20}},
  };
  for (auto& c : cases) {
    c.call();
    EXPECT_EQ(g.lineStyle, c.style);
    ASSERT_EQ(g.patternLength, static_cast<int>(c.pattern.size()));
    for (std::size_t i = 0; i < c.pattern.size(); ++i) EXPECT_EQ(g.linePattern[i], c.pattern[i]);
    EXPECT_EQ(g.patternIndex, 1);
    EXPECT_FLOAT_EQ(g.patternRest, static_cast<float>(c.pattern[0]));
  }
  lintyp_(std::array<int, 1>{2}.data());
  EXPECT_EQ(g.linePattern[0], 10);
  dotl_();
  EXPECT_EQ(g.lineStyle, 6);
}

TEST_F(StyleTest, PatternLengthsFollowTheUnitScale) {
  Global& g = G();
  g.unitScale = 4.0f;
  chndsh();  // 30, 15, 10, 15 -> 8, 4, 3, 4
  EXPECT_EQ(g.linePattern[0], 8);
  EXPECT_EQ(g.linePattern[2], 3);
  dot();  // 1 / 4 rounds to 0, which becomes 1
  EXPECT_EQ(g.linePattern[0], 1);
  EXPECT_EQ(g.linePattern[1], 3);
}

TEST_F(StyleTest, BadArgumentsWarnAndChangeNothing) {
  Global& g = G();
  dash();
  std::string out = output([] { lintyp(8); });
  EXPECT_NE(out.find("Warning   2"), std::string::npos);
  EXPECT_NE(out.find("lintyp"), std::string::npos);
  out = output([] { lintyp(-1); });
  EXPECT_NE(out.find("(  -1)"), std::string::npos);
  int eleven[11] = {5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5};
  out = output([&] { myline(eleven, 11); });
  EXPECT_NE(out.find("myline!   (  11)"), std::string::npos);
  int bad[3] = {5, 0, -2};
  out = output([&] { myline(bad, 3); });
  EXPECT_NE(out.find("(   0)"), std::string::npos);
  out = output([&] { myline(nullptr, 2); });
  EXPECT_NE(out.find("Warning   2"), std::string::npos);
  EXPECT_EQ(g.lineStyle, 2);
  EXPECT_EQ(g.patternLength, 2);
  EXPECT_EQ(g.linePattern[0], 10);
  EXPECT_EQ(g.linePattern[1], 10);
}

TEST(StyleLevels, NamedStyleAtLevelZeroWarnsTwiceAndChangesNothing) {
  qqsglb(1);
  ::testing::internal::CaptureStdout();
  dash_();
  std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Incorrect level in dash!"), std::string::npos);
  EXPECT_NE(out.find("Incorrect level in lintyp!"), std::string::npos);
  EXPECT_EQ(qqgglb().patternLength, 0);
  // myline is carried out at level 0 after its warning
  ::testing::internal::CaptureStdout();
  int p[2] = {3, 4};
  int n = 2;
  myline_(p, &n);
  out = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Incorrect level in myline!"), std::string::npos);
  EXPECT_EQ(qqgglb().patternLength, 2);
  qqsglb(1);
}

TEST_F(StyleTest, VeryLongDashedLineEndsWithTheRightPhase) {
  Global& g = G();
  dash();
  // In single precision a step of 10 is lost against 1e8: the walk must not
  // depend on it.
  strtqq(g, -1e8f, 100);
  connqq(g, 1e8f, 100);
  // 2e8 units are 1e7 whole cycles: the phase is back at a dash.
  EXPECT_EQ(g.penUp, 0);
  EXPECT_FLOAT_EQ(g.patternRest, 10.0f);
  std::vector<Seg> s = pieces();
  // Inside the page the dashes lie where the walk from the far start puts
  // them: [0, 10], [20, 30], ... up to the page edge at 2969.
  ASSERT_EQ(s.size(), 149u);
  for (std::size_t i = 0; i < s.size(); ++i) {
    EXPECT_NEAR(s[i].x1, 20.0 * i, 1e-3);
    EXPECT_NEAR(s[i].x2, std::min(20.0 * i + 10, 2969.0), 1e-3);
  }
  // Where the coordinates no longer resolve a step the walk ends all the same.
  strtqq(g, -1e30f, 100);
  connqq(g, 1e30f, 100);
  EXPECT_GT(g.patternRest, 0.0f);
}

TEST_F(StyleTest, SkippedPeriodsLeaveTheWalkAsWalked) {
  // A long line that starts far off the page against the same line drawn in
  // pieces too short to skip anything, broken in the middle of gaps.
  struct Case {
    std::vector<int> pattern;
    int width, y, x0, x1;
  } cases[] = {
      {{12, 6, 8}, 1, 1000, -10000, 2000},  // odd: a period is two passes
      {{10, 10}, 100, 1000, -10000, 600},   // outlines reach in from the left
      {{10, 10}, 60, -20, -10000, 3000},    // outlines reach in from above
  };
  for (const Case& c : cases) {
    const int n = static_cast<int>(c.pattern.size());
    auto run = [&](bool inPieces) {
      rec->clear();
      myline(c.pattern.data(), n);
      linwid(c.width);
      int from = c.x0;
      bool down = true;
      for (int i = 0, at = c.x0; inPieces && at < c.x1; i = (i + 1) % n, down = !down) {
        int half = at + c.pattern[static_cast<std::size_t>(i)] / 2;
        if (!down && half < c.x1) {
          line(from, c.y, half, c.y);
          from = half;
        }
        at += c.pattern[static_cast<std::size_t>(i)];
      }
      line(from, c.y, c.x1, c.y);
      line(100, 1500, 900, 1500);  // the phase runs on into the next line
      return drawn();
    };
    std::vector<Seg> whole = run(false), walked = run(true);
    ASSERT_FALSE(walked.empty());
    ASSERT_EQ(whole.size(), walked.size()) << "width " << c.width;
    for (std::size_t i = 0; i < whole.size(); ++i) {
      const Seg &a = whole[i], &b = walked[i];
      ASSERT_TRUE(a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2)
          << "width " << c.width << ", piece " << i << ": " << a.x1 << "," << a.y1 << " "
          << a.x2 << "," << a.y2 << " against " << b.x1 << "," << b.y1 << " " << b.x2 << ","
          << b.y2;
    }
  }
}

}  // namespace
}  // namespace korvan::test
