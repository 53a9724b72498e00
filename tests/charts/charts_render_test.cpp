// Charts rendered to PNG and read back: the legend's entries by OCR, each
// with its colour beside it, and grid lines where the axis ticks its labels.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "axes/gksl_plot.h"
#include "support/files.h"

namespace korvan::test {
namespace {

struct Picture {
  int w = 0, h = 0;
  std::vector<std::uint8_t> rgb;
  const std::uint8_t* at(int x, int y) const {
    const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                          static_cast<std::size_t>(x);
    return &rgb[3 * i];
  }
};

enum class Hue { Other, Red, Green, Blue, White };

Hue hueOf(const std::uint8_t* p) {
  const int r = p[0], g = p[1], b = p[2];
  if (r > 180 && g > 180 && b > 180) return Hue::White;
  if (r > 150 && g < 90 && b < 90) return Hue::Red;
  if (g > 150 && r < 90 && b < 90) return Hue::Green;
  if (b > 150 && r < 90 && g < 90) return Hue::Blue;
  return Hue::Other;
}

class ChartsRenderTest : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    if (!onPath("convert")) GTEST_SKIP() << "ImageMagick missing";
  }
  void start() {
    metafl("PNG");
    korini();
    qqgglb().protocolOn = 0;
    scale_ = qqgglb().deviceScale;
    axspos(400, 1700);
    axslen(2001, 1401);
    labdig(-1, "XY");
    ticks(1, "XY");
  }
  Picture finish() {
    korfin();
    Picture p;
    EXPECT_TRUE(shell("convert korvan.png korvan.ppm"));
    EXPECT_TRUE(readPpm("korvan.ppm", p.w, p.h, p.rgb));
    return p;
  }
  int px(double units) const { return static_cast<int>(units * scale_ + 0.5); }
  float scale_ = 1.0f;
};

TEST_F(ChartsRenderTest, LegendEntriesReadBackInOrderBesideTheirColours) {
  if (!onPath("tesseract")) GTEST_SKIP() << "tesseract missing";
  start();
  graf(0, 10, 0, 2, 0, 10, 0, 2);
  height(70);
  const float x[2] = {0, 10};
  const char* const names[3] = {"apple", "lemon", "plum"};
  const char* const colours[3] = {"RED", "GREEN", "BLUE"};
  const Hue hues[3] = {Hue::Red, Hue::Green, Hue::Blue};
  for (int k = 0; k < 3; ++k) {
    const float y[2] = {1.0f + k, 2.0f + k};
    color(colours[k]);
    linwid(5);
    crvnam(names[k]);
    curve(x, y, 2);
  }
  linwid(1);
  color("FORE");
  legend("UL");
  const Picture pic = finish();
  ASSERT_TRUE(shell("convert korvan.png -colorspace gray -negate -scale 300% ocr.png"));
  ASSERT_TRUE(shell("tesseract ocr.png ocr --psm 11 tsv"));
  std::ifstream in("ocr.tsv");
  std::string row;
  std::vector<std::string> words;
  std::vector<Hue> beside;
  while (std::getline(in, row)) {
    std::istringstream f(row);
    std::string cell;
    std::vector<std::string> cells;
    while (std::getline(f, cell, '\t')) cells.push_back(cell);
    if (cells.size() < 12 || cells[0] == "level" || cells[11].empty()) continue;
    // the stroke font's l reads as L to the OCR
    std::string word = cells[11];
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    bool known = false;
    for (const char* n : names) known = known || word == n;
    if (!known) continue;
    words.push_back(word);
    // The sample ends half a character before the text: look at the row
    // through the word's middle, from 3.5 to 0.5 character heights left.
    const int left = std::stoi(cells[6]) / 3, top = std::stoi(cells[7]) / 3;
    const int mid = top + std::stoi(cells[9]) / 6;
    const int h = px(70);
    int counts[5] = {};
    for (int y = mid - h / 3; y <= mid + h / 3; ++y)
      for (int x = left - 7 * h / 2; x < left - h / 2; ++x)
        if (x >= 0 && y >= 0 && x < pic.w && y < pic.h)
          counts[static_cast<int>(hueOf(pic.at(x, y)))]++;
    Hue best = Hue::Other;
    for (int k = 1; k < 4; ++k)
      if (counts[k] > 10 && (best == Hue::Other || counts[k] > counts[static_cast<int>(best)]))
        best = static_cast<Hue>(k);
    beside.push_back(best);
  }
  ASSERT_EQ(words, (std::vector<std::string>{names[0], names[1], names[2]}));
  for (int k = 0; k < 3; ++k) EXPECT_EQ(beside[static_cast<std::size_t>(k)], hues[k]) << names[k];
}

TEST_F(ChartsRenderTest, GridLinesRunWhereTheAxisTicksItsLabels) {
  for (bool log : {false, true}) {
    SCOPED_TRACE(log);
    qqsglb(1);
    std::remove("korvan.png");
    start();
    if (log) axsscl("LOG", "Y");
    if (log)
      graf(0, 10, 0, 2, 0, 3, 0, 1);
    else
      graf(0, 10, 0, 2, 0, 5, 0, 1);
    color("RED");
    grid(1, 1);
    color("FORE");
    const Picture pic = finish();
    // X: the ticks below the axis line are white, the grid inside red.
    const int tickRow = px(1700 + 12), insideLo = px(1700 - 1300), insideHi = px(1700 - 100);
    std::vector<int> ticks, lines;
    for (int x = px(400) + 2; x < px(2400) - 1; ++x) {
      if (hueOf(pic.at(x, tickRow)) == Hue::White) ticks.push_back(x);
      int red = 0;
      for (int y = insideLo; y < insideHi; ++y) red += hueOf(pic.at(x, y)) == Hue::Red;
      if (red > (insideHi - insideLo) / 2) lines.push_back(x);
    }
    EXPECT_EQ(lines, ticks);
    EXPECT_EQ(lines.size(), 4u);  // 2 4 6 8: 0 and 10 lie on the frame
    // Y: rows of red between the left and right quarter.
    const int colLo = px(400 + 500), colHi = px(400 + 1500);
    int rows = 0;
    for (int y = px(1700 - 1399); y < px(1700) - 1; ++y) {
      int red = 0;
      for (int x = colLo; x < colHi; ++x) red += hueOf(pic.at(x, y)) == Hue::Red;
      const bool line = red > (colHi - colLo) / 2;
      const bool above = y > 0 && [&] {
        int r = 0;
        for (int x = colLo; x < colHi; ++x) r += hueOf(pic.at(x, y - 1)) == Hue::Red;
        return r > (colHi - colLo) / 2;
      }();
      if (line && !above) ++rows;
    }
    // linear 1 2 3 4; log: the decades 10 and 100 and 8 minor lines each
    // in 3 decades
    EXPECT_EQ(rows, log ? 2 + 3 * 8 : 4);
  }
}

}  // namespace
}  // namespace korvan::test
