// The bitmap fonts the library ships, drawn by messag into PNG files and
// read back by OCR: each family at a small and a large size, and text
// turned by angle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "korvan.h"
#include "fonts/devfont_support.h"

namespace korvan::test {
namespace {

// Edits (insert, delete, replace) from a to b, case ignored: the reader may
// take one letter for another now and then, a broken font gives many.
int edits(const std::string& a, const std::string& b) {
  std::vector<int> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = static_cast<int>(j);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    int diag = row[0];
    row[0] = static_cast<int>(i);
    for (std::size_t j = 1; j <= b.size(); ++j) {
      int up = row[j];
      bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                  std::tolower(static_cast<unsigned char>(b[j - 1]));
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diag + (same ? 0 : 1)});
      diag = up;
    }
  }
  return row[b.size()];
}

class BitmapOcrTest : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    for (const char* tool : {"convert", "tesseract"})
      if (!onPath(tool)) GTEST_SKIP() << "no " << tool;
    // The fonts of the source tree, wherever the test runs from.
    setenv("KORVAN", KORVAN_TEST_SOURCE_DIR "/../plotlib/text", 1);
    qqbdfclr();
  }
};

TEST_F(BitmapOcrTest, EachFamilyReadsBack) {
  const struct {
    const char* family;
    int height, angle;
    const char* file;
  } cases[] = {{"COMP", 35, 0, "complx12"}, {"COMP", 52, 0, "complx18"}, {"SIMP", 35, 0, "simplx12"},
               {"SIMP", 52, 0, "simplx14"}, {"HELV", 35, 0, "helve12"},  {"HELV", 52, 0, "helve18"},
               {"HELV", 52, 90, "helve18"}};
  const std::string text = "Sun Earth Moon";
  for (const auto& c : cases) {
    qqsglb(1);
    metafl("PNG");
    korini();
    bmpfnt(c.family);
    height(c.height);  // the font follows the height
    angle(c.angle);
    Global& g = qqgglb();
    ASSERT_EQ(g.devFontMode, 3) << c.family;
    EXPECT_STREQ(qqbdfnam(g.devFontFile), c.file);
    if (c.angle == 0)
      messag(text.c_str(), 200, 200);
    else
      messag(text.c_str(), 200, 1800);
    korfin();
    // White on black in the upper or lower left corner; turned text is
    // turned back for the reader.
    std::string read = c.angle == 0 ? ocr("korvan.png", "-crop 300x60+30+40 -negate -scale 400%")
                                    : ocr("korvan.png", "-crop 80x340+20+200 -rotate 90 -negate -scale 400%");
    EXPECT_LE(edits(read, "SunEarthMoon"), 1) << c.family << " " << c.height << ": " << read;
    std::remove("korvan.png");
  }
}

}  // namespace
}  // namespace korvan::test
