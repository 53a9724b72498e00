// Label forms a program chooses, drawn into a PNG and read back by OCR: a
// logarithmic axis labelled as powers of ten with raised exponents, and a
// date axis over one year with monthly labels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "korvan.h"
#include "support/plot_fixture.h"

namespace korvan::test {
namespace {

constexpr double kPx = 853.0 / 2969.0;  // PNG pixels per plot unit

// Width, height and offsets of the inked box of an image ("%@").
struct Box {
  int w = 0, h = 0, x = 0, y = 0;
};
Box inked(const std::string& image, const std::string& crop) {
  Box b;
  const std::string g =
      commandOutput("convert " + image + " " + crop + " +repage -format '%@' info:");
  std::sscanf(g.c_str(), "%dx%d+%d+%d", &b.w, &b.h, &b.x, &b.y);
  return b;
}

std::string read(const std::string& image, const std::string& convert, int psm,
                 const char* allowed = nullptr) {
  if (!shell("convert " + image + " " + convert + " ocr.png")) return "";
  std::string text = commandOutput("tesseract ocr.png stdout --psm " + std::to_string(psm) +
                                   (allowed ? std::string(" -c tessedit_char_whitelist=") + allowed
                                            : std::string()));
  std::string squeezed;
  for (char c : text)
    if (!std::isspace(static_cast<unsigned char>(c))) squeezed += c;
  return squeezed;
}

// Edits (insert, delete, replace) from a to b.
int edits(const std::string& a, const std::string& b) {
  std::vector<int> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = static_cast<int>(j);
  for (std::size_t i = 1; i <= a.size(); ++i) {
    int diag = row[0];
    row[0] = static_cast<int>(i);
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const int up = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diag + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diag = up;
    }
  }
  return row[b.size()];
}

class LabelFormRender : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    for (const char* tool : {"convert", "tesseract"})
      if (!onPath(tool)) GTEST_SKIP() << "no " << tool;
  }
};

TEST_F(LabelFormRender, LogAxisReadsAsPowersOfTen) {
  metafl("PNG");
  korini();
  qqgglb().protocolOn = 0;
  complx();  // its zero is not slashed, which the reader takes for an eight
  height(100);
  axspos(700, 2000);
  axslen(600, 1900);
  axsscl("LOG", "Y");
  labfmt("LOG", "Y");
  labfmt("NONE", "X");
  graf(0, 1, 0, 1, -3, 5, -3, 1);
  endgrf();
  korfin();
  ASSERT_TRUE(exists("korvan.png"));

  // Each label alone: the base is what lies below the exponent's lowest
  // point, the exponent what lies right of the base.
  int bases = 0, exponents = 0;
  Box expBox[9];
  for (int k = -3; k <= 5; ++k) {
    const int yc = static_cast<int>((2000 - (k + 3) / 8.0 * 1899) * kPx);
    const std::string rowCrop =
        "-crop 185x64+0+" + std::to_string(yc > 34 ? yc - 34 : 0) + " +repage -trim +repage";
    ASSERT_TRUE(shell("convert korvan.png " + rowCrop + " row.png")) << k;
    const Box row = inked("row.png", "");
    const int band = row.h * 8 / 14 + 2;
    const Box base = inked("row.png", "-crop 200x100+0+" + std::to_string(band));
    const int cut = base.x + base.w + 1;
    const Box e = inked("row.png", "-crop 100x100+" + std::to_string(cut) + "+0");
    expBox[k + 3] = e;
    // Raised: the exponent ends well above the base line and is smaller.
    EXPECT_LT(e.y + e.h, row.h * 0.6) << k;
    EXPECT_LT(e.h, row.h * 0.7) << k;
    const std::string big = " +repage -trim +repage -negate -bordercolor white -border 20 -scale 300%";
    std::string digits =
        read("row.png", "-crop 100x100+" + std::to_string(cut) + "+0" + big, 8, "-0123456789");
    if (!digits.empty() && digits[0] == '-') digits.erase(0, 1);
    if (digits == std::to_string(k < 0 ? -k : k)) ++exponents;
  }
  // The reader misses a lone small character now and then (the raised zero).
  // The bases, one label a line, read together.
  std::string column;
  shell("convert korvan.png -crop 190x603+0+0 +repage -negate -scale 300% -colorspace gray ocr.png"
        " && tesseract ocr.png stdout --psm 6", &column);
  for (std::size_t p = 0; (p = column.find("10", p)) != std::string::npos; p += 2) ++bases;
  EXPECT_GE(bases, 8) << column;
  EXPECT_GE(exponents, 7);
  // Negative exponents carry their minus sign in front of the digit.
  for (int k = 1; k <= 3; ++k)
    EXPECT_GT(expBox[3 - k].w, expBox[3 + k].w + 5) << k;
}

TEST_F(LabelFormRender, DateAxisOverAYearHasMonthlyLabels) {
  metafl("PNG");
  korini();
  qqgglb().protocolOn = 0;
  complx();
  height(60);
  basdat(1, 1, 2026);
  axspos(150, 1900);
  axslen(2650, 500);
  labfmt("DATE", "X");
  datfmt("NONE", "SHOR", "NONE");
  labdig(-1, "Y");
  graf(0, 365, 0, 1, 0, 6, 0, 2);
  endgrf();
  korfin();
  ASSERT_TRUE(exists("korvan.png"));
  const int y = static_cast<int>(1900 * kPx) + 4;
  const std::string text = read("korvan.png",
                                "-crop 853x40+0+" + std::to_string(y) +
                                    " +repage -negate -scale 400% -colorspace gray",
                                7);
  const std::string want = "JanFebMarAprMayJunJulAugSepOctNovDecJan";
  // The reader may take a letter for another now and then; 13 labels in
  // the wrong form or missing would be far more edits.
  EXPECT_LE(edits(text, want), 4) << text;
}

}  // namespace
}  // namespace korvan::test
