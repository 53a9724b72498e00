// TeX-style formulas drawn into a PNG file and read back: a fraction, a
// root with an index, x_i^2 and a Greek sum with limits, each piece looked
// for where the layout puts it (ink in its region, none in the gaps).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "devices/postscript/raster_check.h"
#include "korvan.h"
#include "support/plot_fixture.h"

namespace korvan::test {
namespace {

// Pixels per plot unit of the raster page.
const double kS = std::min(852.0 / 2969.0, 602.0 / 2099.0);

struct Region {
  double x0, y0, x1, y1;  // plot units
};

class TexRenderTest : public PlotTest {
 protected:
  static Image plot(const char* const* texts, const int (*at)[2], int count) {
    metafl("PNG");
    korini();
    qqgglb().protocolOn = 0;
    texmod("ON");
    height(150);
    for (int i = 0; i < count; ++i) messag(texts[i], at[i][0], at[i][1]);
    korfin();
    Image im;
    if (run("pngtopnm korvan.png > tex.ppm 2>/dev/null") == 0) im = readPpm("tex.ppm");
    std::remove("korvan.png");
    return im;
  }
  // Ink pixels in a region, and their bounding box (plot units).
  static int ink(const Image& im, Region r, Region* box = nullptr) {
    Rgb paper = im.at(0, 0);
    int n = 0;
    Region b{1e9, 1e9, -1e9, -1e9};
    for (int y = static_cast<int>(r.y0 * kS); y <= static_cast<int>(r.y1 * kS); ++y)
      for (int x = static_cast<int>(r.x0 * kS); x <= static_cast<int>(r.x1 * kS); ++x) {
        if (x < 0 || y < 0 || x >= im.width || y >= im.height || near(im.at(x, y), paper)) continue;
        ++n;
        b = {std::min(b.x0, x / kS), std::min(b.y0, y / kS), std::max(b.x1, x / kS),
             std::max(b.y1, y / kS)};
      }
    if (box) *box = b;
    return n;
  }
};

TEST_F(TexRenderTest, PiecesOfFormulasAreWhereTheLayoutPutsThem) {
  // Height 150: the baseline 149 below the corner; scripts, numerators and
  // indices at b = 90.
  const char* texts[] = {"$\\frac{a}{b}$", "\\sqrt[3]{x}", "$x_i^2$",
                         "$\\sum\\limits_{i}^{n}\\alpha$"};
  const int at[][2] = {{200, 300}, {1600, 300}, {200, 1100}, {1600, 1100}};
  Image im = plot(texts, at, 4);
  ASSERT_FALSE(im.empty());
  struct Piece {
    const char* what;
    Region r;
    bool inked;
  } pieces[] = {
      // Fraction: numerator up 2.3 b from the baseline 449, denominator down
      // 1.8 b, the bar halfway between them, 25 in (a sixth of the height).
      {"numerator", {230, 185, 310, 235}, true},
      {"gap above the bar", {230, 255, 310, 365}, false},
      {"bar", {230, 376, 310, 388}, true},
      {"gap below the bar", {230, 400, 310, 510}, false},
      {"denominator", {230, 530, 310, 605}, true},
      // Root: the index raised 1.25 b at the start, the sign's top 0.4 h
      // over the radicand, the radicand 1.1 h after the sign's start.
      {"root index", {1605, 250, 1685, 330}, true},
      {"top of the sign", {1800, 276, 1920, 290}, true},
      {"under the top", {1800, 300, 1920, 335}, false},
      {"radicand", {1800, 350, 1920, 445}, true},
      {"descending leg", {1660, 420, 1700, 449}, true},
      // x_i^2: 2 above and i below, both in the column after x.
      {"exponent", {349, 1085, 445, 1130}, true},
      {"index", {349, 1255, 445, 1300}, true},
      {"nothing after them", {450, 1050, 700, 1320}, false},
  };
  for (const Piece& p : pieces) EXPECT_EQ(ink(im, p.r) > 0, p.inked) << p.what;
  // The sum alone gives the sign's box (the limits are narrower, so it
  // stays in place); with limits, n is above it and i below it, both
  // centred on it, and the alpha follows it.
  const char* alone[] = {"$\\sum$"};
  Image sum = plot(alone, &at[3], 1);
  ASSERT_FALSE(sum.empty());
  Region sign;
  ASSERT_GT(ink(sum, {1500, 1000, 2900, 1600}, &sign), 0);
  Region upper, lower, after;
  EXPECT_GT(ink(im, {sign.x0 - 200, 1000, sign.x1 + 200, sign.y0 - 8}, &upper), 0);
  EXPECT_GT(ink(im, {sign.x0 - 200, sign.y1 + 8, sign.x1 + 200, 1700}, &lower), 0);
  EXPECT_GT(ink(im, {sign.x1 + 8, sign.y0, 2900, sign.y1}, &after), 0);
  double centre = 0.5 * (sign.x0 + sign.x1);
  EXPECT_NEAR(0.5 * (upper.x0 + upper.x1), centre, 12);
  EXPECT_NEAR(0.5 * (lower.x0 + lower.x1), centre, 12);
}

}  // namespace
}  // namespace korvan::test
