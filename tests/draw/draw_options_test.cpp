// The drawing settings a program chooses and polylines in plot units, as
// the device sees them: the clipping window, colours by index and RGB, one
// table entry, symbol angle, shading density, arc segments and outlines.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <functional>
#include <vector>

#include "support/recording_driver.h"

namespace korvan::test {
namespace {

class DrawOptionsTest : public RecordingTest {
 protected:
  void SetUp() override {
    RecordingTest::SetUp();
    start();
    G().protocolOn = 0;
  }
  std::vector<Seg> strokes(const std::function<void()>& f) {
    qqstrk(G());
    rec->clear();
    f();
    return drawn();
  }
  std::vector<Event> colours(const std::function<void()>& f) {
    qqstrk(G());
    rec->clear();
    f();
    return rec->only(Event::Colour);
  }
  int warnings(const std::function<void()>& f) {
    const int before = G().warningCount;
    quiet(f);
    return G().warningCount - before;
  }
};

TEST_F(DrawOptionsTest, PolylinesInPlotUnits) {
  const int x[4] = {100, 300, 300, 100}, y[4] = {100, 100, 400, 400};
  const std::vector<Seg> poly = strokes([&] { polyln(x, y, 4); });
  const std::vector<Seg> pair = strokes([&] {
    strtpt(100, 100);
    for (int i = 1; i < 4; ++i) connpt(x[i], y[i]);
  });
  ASSERT_EQ(poly.size(), 3u);
  ASSERT_EQ(pair.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(poly[i].x1, static_cast<float>(x[i]));
    EXPECT_EQ(poly[i].y2, static_cast<float>(y[i + 1]));
    EXPECT_EQ(pair[i].x2, poly[i].x2);
    EXPECT_EQ(pair[i].y2, poly[i].y2);
  }
  // In the current line style: a dashed line comes out in pieces.
  dash();
  EXPECT_GT(strokes([&] { polyln(x, y, 2); }).size(), 5u);
  solid();
  // With the page origin at the bottom, y counts upwards.
  G().origin = 1;
  const std::vector<Seg> up = strokes([] {
    strtpt(10, 100);
    connpt(20, 100);
  });
  ASSERT_EQ(up.size(), 1u);
  EXPECT_EQ(up[0].y1, static_cast<float>(G().pageHeight - 100));
  EXPECT_EQ(warnings([] { polyln(nullptr, nullptr, 0); }), 1);
}

TEST_F(DrawOptionsTest, ClippingWindow) {
  const struct {
    const char* what;
    std::function<void()> set;
    float x1, x2;  // what is left of the line from (0, 150) to (1000, 150)
  } cases[] = {
      {"window", [] { clpwin(100, 100, 201, 101); }, 100, 300},
      {"whole page again", [] {
         clpwin(100, 100, 201, 101);
         unclip();
       }, 0, 1000},
      {"refused", [] { clpwin(100, 100, 0, 10); }, 0, 1000},
  };
  for (const auto& c : cases) {
    unclip();
    c.set();
    const std::vector<Seg> s = strokes([] { line(0, 150, 1000, 150); });
    ASSERT_EQ(s.size(), 1u) << c.what;
    EXPECT_NEAR(s[0].x1, c.x1, 0.01) << c.what;
    EXPECT_NEAR(s[0].x2, c.x2, 0.01) << c.what;
  }
  // A line that passes the window by is not drawn at all.
  clpwin(100, 100, 201, 101);
  EXPECT_TRUE(strokes([] { line(0, 350, 1000, 350); }).empty());
}

TEST_F(DrawOptionsTest, ColoursByIndexAndValue) {
  const struct {
    const char* what;
    std::function<void()> set;
    int index, rgb;
  } cases[] = {
      {"index", [] { setclr(77); }, 77, -2},
      {"exact value", [] { setrgb(1.0f, 0.0f, 0.0f); }, -2, 0xFF0000},
      {"nearest value", [] { setrgb(0.0f, 0.0f, 0.99f); }, -2, 0x0000FF},
      {"own entry", [] {
         setind(200, 0.2f, 0.4f, 0.6f);
         setclr(200);
       }, 200, 0x336699},
      {"own entry, then its value", [] {
         setind(201, 0.2f, 0.4f, 0.8f);
         setrgb(0.2f, 0.4f, 0.8f);
       }, 201, 0x3366CC},
  };
  for (const auto& c : cases) {
    const std::vector<Event> e = colours(c.set);
    ASSERT_FALSE(e.empty()) << c.what;
    if (c.index != -2) {
      EXPECT_EQ(e.back().value, c.index) << c.what;
    }
    if (c.rgb != -2) {
      EXPECT_EQ(e.back().rgb, c.rgb) << c.what;
    }
  }
  // Changing the current colour's entry sends it again, with the new value.
  setclr(120);
  const std::vector<Event> again = colours([] { setind(120, 0.0f, 1.0f, 0.0f); });
  ASSERT_FALSE(again.empty());
  EXPECT_EQ(again.back().rgb, 0x00FF00);
  EXPECT_EQ(rec->count(Event::Palette), 1);
  const std::function<void()> bad[] = {[] { setclr(256); }, [] { setrgb(1.5f, 0, 0); },
                                       [] { setind(-1, 0, 0, 0); }, [] { setind(3, 0, -0.1f, 0); }};
  for (const auto& f : bad) EXPECT_EQ(warnings(f), 1);
}

TEST_F(DrawOptionsTest, ArrowFormForVectors) {
  const auto arrow = [] { vector(100, 500, 900, 500, -1); };
  // Without a form set, -1 stays a bad form: the shaft and a warning.
  EXPECT_EQ(warnings(arrow), 1);
  vecfrm(1421);
  const std::vector<Seg> set = strokes(arrow);
  const std::vector<Seg> given = strokes([] { vector(100, 500, 900, 500, 1421); });
  ASSERT_EQ(set.size(), given.size());
  EXPECT_GT(set.size(), 1u);
  for (std::size_t i = 0; i < set.size(); ++i) EXPECT_EQ(set[i].x2, given[i].x2);
  EXPECT_EQ(warnings([] { vecfrm(1451); }), 1);
  EXPECT_EQ(warnings([] { vecfrm(-2); }), 1);
}

TEST_F(DrawOptionsTest, SymbolAngleDensityAndArcs) {
  const auto square = [] { symbol(0, 500, 500); };
  const std::vector<Seg> upright = strokes(square);
  symrot(45.0f);
  const std::vector<Seg> turned = strokes(square);
  ASSERT_FALSE(turned.empty());
  EXPECT_GT(std::fabs(turned[0].x2 - turned[0].x1), 1.0f);
  EXPECT_GT(std::fabs(turned[0].y2 - turned[0].y1), 1.0f);
  EXPECT_NE(upright[0].x1, turned[0].x1);
  symrot(0.0f);

  const int bx[4] = {100, 600, 600, 100}, by[4] = {100, 100, 600, 600};
  // Hatch lines at 45 degrees, told apart by x + y along them.
  const auto hatchLines = [&] {
    std::set<long> lines;
    for (const Seg& s : strokes([&] { areaf(bx, by, 4); }))
      if (std::fabs((s.x2 - s.x1) + (s.y2 - s.y1)) < 0.5f && std::fabs(s.x2 - s.x1) > 1.0f)
        lines.insert(std::lround((s.x1 + s.y1) / 4.0f));
    return lines.size();
  };
  shdpat(1);
  const std::size_t dense = hatchLines();
  shdden(9);
  const std::size_t sparse = hatchLines();
  EXPECT_GT(dense, sparse + 5) << dense << " " << sparse;
  shdpat(0);

  const std::size_t fine = strokes([] { arcell(1000, 1000, 300, 300, 0, 360, 0); }).size();
  arcstp(40.0f);
  const std::size_t coarse = strokes([] { arcell(1000, 1000, 300, 300, 0, 360, 0); }).size();
  EXPECT_NEAR(static_cast<double>(fine), 4.0 * coarse, 8.0);
  outlin("OFF");
  EXPECT_TRUE(strokes([] { arcell(1000, 1000, 300, 300, 0, 360, 0); }).empty());
  EXPECT_EQ(warnings([] { arcstp(0.0f); }), 1);
  EXPECT_EQ(warnings([] { shdden(10); }), 1);
}

}  // namespace
}  // namespace korvan::test
