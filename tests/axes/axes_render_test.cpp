// A rendered axis system read back by real readers: its PNG by OCR, its PDF
// by qpdf and pdftoppm.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "axes/gksl_plot.h"

namespace korvan::test {
namespace {

bool have(const char* tool) {
  return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

class RenderTest : public GkslPlot {
 protected:
  // Labels 0 2 4 6 8 10 under a 2001-unit X axis from (480, 1500).
  void plot(const char* format) {
    metafl(format);
    korini();
    qqgglb().protocolOn = 0;
    drawsText_ = textDraws();
    qqgglb().charHeight = 80;
    axspos(480, 1500);
    axslen(2001, 1001);
    labdig(-1, "XY");
    graf(0, 10, 0, 2, 0, 5, 0, 1);
    endgrf();
    korfin();
  }
  bool drawsText_ = false;
};

TEST_F(RenderTest, PngLabelsReadBackInPlace) {
  if (!have("tesseract") || !have("convert")) GTEST_SKIP() << "tesseract or ImageMagick missing";
  plot("PNG");
  if (!drawsText_) GTEST_SKIP() << "the text layer draws nothing yet";
  ASSERT_TRUE(exists("korvan.png"));
  // Dark text on white, three times the size, suits the OCR best.
  ASSERT_EQ(std::system("convert korvan.png -colorspace gray -negate -scale 300% ocr.png"), 0);
  ASSERT_EQ(std::system("tesseract ocr.png ocr --psm 11 -c tessedit_char_whitelist=0123456789 tsv >/dev/null 2>&1"), 0);
  std::ifstream in("ocr.tsv");
  std::string row;
  const std::string png = slurp("korvan.png");
  ASSERT_GT(png.size(), 24u);
  const auto byte = [&](int i) { return static_cast<unsigned char>(png[i]); };
  const int width = byte(16) << 24 | byte(17) << 16 | byte(18) << 8 | byte(19);
  const double px = 3.0 * width / 2969.0;  // OCR image pixels per plot unit
  int found = 0;
  while (std::getline(in, row)) {
    std::vector<std::string> f;
    std::stringstream ss(row);
    for (std::string c; std::getline(ss, c, '\t');) f.push_back(c);
    if (f.size() < 12 || f[0] != "5") continue;
    const std::string& word = f[11];
    const double cx = (std::stod(f[6]) + std::stod(f[8]) / 2) / px;
    const double cy = (std::stod(f[7]) + std::stod(f[9]) / 2) / px;
    for (int v = 2; v <= 10; v += 2)
      if (word == std::to_string(v) && std::fabs(cx - (480 + 200 * v)) < 40 &&
          std::fabs(cy - (1500 + 48 + 40)) < 40)
        ++found;
  }
  // The stroke font's slashed zero reads as an 8, so "10" is not asked for.
  EXPECT_GE(found, 3) << slurp("ocr.tsv");
}

TEST_F(RenderTest, PdfOpensCleanlyAndShowsTheAxes) {
  if (!have("qpdf") || !have("pdftoppm")) GTEST_SKIP() << "qpdf or pdftoppm missing";
  plot("PDF");
  ASSERT_TRUE(exists("korvan.pdf"));
  EXPECT_EQ(std::system("qpdf --check korvan.pdf >/dev/null 2>&1"), 0);
  ASSERT_EQ(std::system("pdftoppm -r 72 -gray korvan.pdf page"), 0);
  std::string pgm = slurp("page-1.pgm");
  std::istringstream is(pgm);
  std::string magic;
  int w = 0, h = 0, max = 0;
  is >> magic >> w >> h >> max;
  ASSERT_EQ(magic, "P5");
  is.get();
  const std::size_t base = static_cast<std::size_t>(is.tellg());
  ASSERT_EQ(pgm.size(), base + static_cast<std::size_t>(w) * h);
  auto dark = [&](double x, double y) {  // plot units; the darkest pixel near it
    const int cx = static_cast<int>(x * w / 2969.0), cy = static_cast<int>(y * h / 2099.0);
    int best = 255;
    for (int j = cy - 1; j <= cy + 1; ++j)
      for (int i = cx - 1; i <= cx + 1; ++i)
        if (i >= 0 && j >= 0 && i < w && j < h)
          best = std::min(best, static_cast<int>(static_cast<unsigned char>(pgm[base + j * w + i])));
    return best < 128;
  };
  EXPECT_TRUE(dark(1480, 1500));  // lower axis
  EXPECT_TRUE(dark(480, 1000));   // left axis
  EXPECT_TRUE(dark(2480, 1000));  // right axis
  EXPECT_TRUE(dark(1480, 500));   // upper axis
  EXPECT_FALSE(dark(1480, 1000)); // inside
}

}  // namespace
}  // namespace korvan::test
