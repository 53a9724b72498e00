// Smooth drawing of the raster outputs: what it changes (the pixels, with
// exact coverage, against a reference drawn eight times larger and reduced)
// and what it leaves alone (vector counts, colour table, the indexed
// outputs, every byte with smooth off); the palette of a smooth GIF; the
// same page as PDF and SVG through pdftoppm and a browser; bad input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "core/state.h"
#include "devices/image/image.h"
#include "devices/raster/raster_driver.h"
#include "devices/raster/smooth.h"
#include "draw/colour.h"
#include "support/files.h"
#include "support/plot_fixture.h"
#include "support/scenes.h"

namespace korvan {
namespace {

using test::commandOutput;
using test::onPath;
using test::shell;

struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
  const std::uint8_t* at(int x, int y) const {
    return &rgb[3 * (static_cast<std::size_t>(y) * width + x)];
  }
};

Picture readPicture(const std::string& ppm) {
  Picture p;
  if (!test::readPpm(ppm, p.width, p.height, p.rgb)) return Picture();
  return p;
}

// Mean absolute difference over the common area, as a fraction of full
// scale, per channel (the largest of the three).
double meanDifference(const Picture& a, const Picture& b) {
  const int w = std::min(a.width, b.width), h = std::min(a.height, b.height);
  if (w < 1 || h < 1) return 1.0;
  double sum[3] = {0, 0, 0};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) sum[c] += std::abs(a.at(x, y)[c] - b.at(x, y)[c]);
  return std::max({sum[0], sum[1], sum[2]}) / (255.0 * w * h);
}

class RasterSmooth : public test::PlotTest {
 protected:
  void TearDown() override {
    qqvopt(0, 0, 0);
    test::PlotTest::TearDown();
  }
  // The scene into a file of the given output; returns its name and the
  // vector count at the end.
  static std::string plot(const char* format, bool smoothOn, int* vectors = nullptr,
                          const char* background = nullptr) {
    qqsglb(1);
    if (background) pagbkg(background);
    metafl(format);
    if (smoothOn) smooth("ON");
    korini();
    test::drawSmoothPage();
    qqstrk(qqgglb());
    if (vectors) *vectors = qqgglb().vectorCount;
    std::string name = qqgglb().outFileName;
    korfin();
    return name;
  }
  static Picture smoothPicture(const char* background = nullptr) {
    return readPicture(plot("PPM", true, nullptr, background));
  }
};

TEST_F(RasterSmooth, KeywordsLevelsAndTheModeHoldsForFollowingPlots) {
  testing::internal::CaptureStdout();
  smooth("MAYBE");
  pagbkg("GREY");
  EXPECT_EQ(qqgglb().smoothMode, 0);
  EXPECT_EQ(qqgglb().pageBackground, 0);
  EXPECT_EQ(qqgglb().warningCount, 2);
  smooth_("ON  ", 4);
  pagbkg_("WHITE", 5);
  EXPECT_EQ(qqgglb().smoothMode, 1);
  EXPECT_EQ(qqgglb().pageBackground, 1);
  metafl("VIRT");
  korini();
  smooth("OFF");  // level 1: refused
  EXPECT_EQ(qqgglb().smoothMode, 1);
  korfin();
  korini();  // still on for the next plot
  EXPECT_EQ(qqgglb().smoothMode, 1);
  korfin();
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("smooth"), std::string::npos);
}

TEST_F(RasterSmooth, ImageFilesAreTrueColourButTheDumpAndVirtStayIndexed) {
  const struct {
    const char* format;
    bool trueColour;
  } cases[] = {{"PNG", true}, {"TIFF", true}, {"BMP", true}, {"PPM", true},
               {"GIF", true}, {"IMAG", false}, {"VIRT", false}};
  for (const auto& c : cases) {
    qqsglb(1);
    metafl(c.format);
    smooth("ON");
    korini();
    auto* d = dynamic_cast<RasterDriver*>(qqgglb().driver.get());
    ASSERT_NE(d, nullptr) << c.format;
    EXPECT_EQ(d->raster().trueColour(), c.trueColour) << c.format;
    EXPECT_EQ(d->smooth(), c.trueColour) << c.format;
    korfin();
  }
}

TEST_F(RasterSmooth, VectorCountsAndColourTableStayAsTheyAre) {
  int plain = 0, smoothed = 0;
  plot("PPM", false, &plain);
  int table[256];
  std::memcpy(table, qqgglb().colourTable, sizeof table);
  plot("PPM", true, &smoothed);
  EXPECT_GT(plain, 1000);
  EXPECT_EQ(plain, smoothed);
  EXPECT_EQ(std::memcmp(table, qqgglb().colourTable, sizeof table), 0);
}

TEST_F(RasterSmooth, OffIsByteIdenticalToNeverOn) {
  for (const char* format : {"PNG", "GIF", "BMP"}) {
    std::string a = slurp(plot(format, false));
    qqsglb(1);
    smooth("ON");
    smooth("OFF");
    metafl(format);
    korini();
    test::drawSmoothPage();
    std::string name = qqgglb().outFileName;
    korfin();
    EXPECT_EQ(a, slurp(name)) << format;
  }
}

// Filled symbols and rectangles: what the plain raster draws with its full
// weight at any size (its solid polygons are hatch lines a fixed number of
// plot units apart, open at 8 x), so that the reduced large picture is the
// exact coverage to within an eighth of a pixel.
void drawFills() {
  color("ORAN");
  for (int i = 0; i < 5; ++i) {
    hsymbl(30 + 25 * i);
    symbol(21, 300 + 250 * i, 400 + 60 * i);
  }
  Global& g = qqgglb();
  g.colourTable[44] = 0x80C0FF;
  g.colourTable[45] = 0xC04010;
  for (int i = 0; i < 6; ++i) {
    dbox(g, 1501 + 211 * i, 1203 + 7 * i, 1600 + 213 * i, 1777 - 50 * i, 44 + i % 2);
    dbox(g, 301 + 101 * i, 1001 + 3 * i, 353 + 103 * i, 1900, 45 - i % 2);
  }
}

// The plain raster at 8 x 8 pixels per pixel (the same scale: 6816 = 8 x
// 852 pixel steps across the page), each 8 x 8 block around a pixel centre
// averaged.
Picture reference(void (*draw)(), const char* background) {
  constexpr int k = 8;
  qqsglb(1);
  if (background) pagbkg(background);
  qqvopt(0, 852 * k + 1, 602 * k + 1);
  metafl("VIRT");
  korini();
  draw();
  qqstrk(qqgglb());
  auto* d = dynamic_cast<RasterDriver*>(qqgglb().driver.get());
  Picture out;
  if (!d) return out;
  VirtualRaster& r = d->raster();
  r.qqvvlt(qqgglb().colourTable);
  out.width = 853;
  out.height = 603;
  out.rgb.assign(3 * 853 * 603, 0);
  std::vector<std::uint8_t> rows(3 * static_cast<std::size_t>(r.width() + k) * k);
  std::vector<std::uint32_t> sum(3 * 853);
  for (int y = 0; y < 603; ++y) {
    // block of pixel y: rows k*y - k/2 .. k*y + k/2 - 1
    r.qqvrdr(rows.data(), -k / 2, k * y - k / 2, -(r.width() + k), k);
    std::fill(sum.begin(), sum.end(), 0u);
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(r.width() + k);
    for (int j = 0; j < k; ++j)
      for (int x = 0; x < 853 * k && x < r.width() + k; ++x)
        for (int c = 0; c < 3; ++c) sum[3 * (x / k) + c] += rows[j * rowBytes + 3 * x + c];
    for (int x = 0; x < 853; ++x)
      for (int c = 0; c < 3; ++c)
        out.rgb[3 * (static_cast<std::size_t>(y) * 853 + x) + c] =
            static_cast<std::uint8_t>((sum[3 * x + c] + k * k / 2) / (k * k));
  }
  korfin();
  qqvopt(0, 0, 0);
  return out;
}

Picture smoothOf(void (*draw)(), const char* background) {
  qqsglb(1);
  pagbkg(background);
  metafl("PPM");
  smooth("ON");
  korini();
  draw();
  std::string name = qqgglb().outFileName;
  korfin();
  return readPicture(name);
}

TEST_F(RasterSmooth, FillsMatchTheLargePlainRasterReduced) {
  for (const char* background : {"BLAC", "WHIT"}) {
    Picture ref = reference(drawFills, background);
    Picture mine = smoothOf(drawFills, background);
    ASSERT_EQ(ref.width, 853);
    ASSERT_EQ(mine.width, 853);
    const double d = meanDifference(mine, ref);
    std::printf("fills against the 8x reference (%s page): %.3f %%\n", background, 100.0 * d);
    EXPECT_LT(d, 0.01) << background;
  }
}

// The whole page. The plain raster at 8 x draws a line of width 1 an eighth
// of a pixel wide once reduced, and a wide line as outlines 1.5 plot units
// (3.4 large pixels) apart: reduced, every line shows at a fraction of its
// weight, while a smooth line is never thinner than a pixel and is solid.
// The bound catches a picture gone wrong; pdftoppm below is the close
// reference for lines and text.
TEST_F(RasterSmooth, WholePageNearTheLargePlainRasterReduced) {
  for (const char* background : {"BLAC", "WHIT"}) {
    Picture ref = reference(test::drawSmoothPage, background);
    Picture mine = smoothOf(test::drawSmoothPage, background);
    ASSERT_EQ(mine.width, 853);
    ASSERT_EQ(mine.height, 603);
    const double d = meanDifference(mine, ref);
    std::printf("whole page against the 8x reference (%s page): %.2f %%\n", background, 100.0 * d);
    EXPECT_LT(d, 0.05) << background;
  }
}

TEST_F(RasterSmooth, FullyCoveredPixelsKeepThePlotColoursAndTheEdgesAreBlended) {
  Picture p = smoothPicture();
  ASSERT_EQ(p.width, 853);
  const int* table = qqgglb().colourTable;
  std::set<std::uint32_t> plotColours(table, table + 256);
  // Inside the green triangle and the blue hexagon: the table's colours.
  auto rgbAt = [&](int x, int y) {
    const std::uint8_t* q = p.at(x, y);
    return static_cast<std::uint32_t>(q[0]) << 16 | q[1] << 8 | q[2];
  };
  EXPECT_EQ(rgbAt(rnd(600 * 0.28697f), rnd(1450 * 0.28697f)), 0x00FF00u);
  EXPECT_EQ(rgbAt(rnd(1550 * 0.28697f), rnd(1650 * 0.28697f)), 0x0000FFu);
  // Blended edge pixels exist: colours that are no entry of the table.
  int blended = 0;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) blended += plotColours.count(rgbAt(x, y)) == 0;
  EXPECT_GT(blended, 2000);
}

TEST_F(RasterSmooth, GifPaletteKeepsFullyCoveredColoursExact) {
  if (!onPath("giftopnm")) GTEST_SKIP() << "no giftopnm";
  Picture truth = smoothPicture();
  std::string gif = plot("GIF", true);
  ASSERT_TRUE(shell("giftopnm " + gif + " > gif.ppm 2>/dev/null"));
  Picture q = readPicture("gif.ppm");
  ASSERT_EQ(q.width, truth.width);
  const int* table = qqgglb().colourTable;
  std::set<std::uint32_t> plotColours(table, table + 256);
  int exact = 0, wrong = 0;
  for (int y = 0; y < q.height; ++y)
    for (int x = 0; x < q.width; ++x) {
      const std::uint8_t* t = truth.at(x, y);
      std::uint32_t v = static_cast<std::uint32_t>(t[0]) << 16 | t[1] << 8 | t[2];
      if (!plotColours.count(v)) continue;
      ++exact;
      wrong += std::memcmp(t, q.at(x, y), 3) != 0;
    }
  EXPECT_GT(exact, 400000);
  EXPECT_EQ(wrong, 0);
  const double d = meanDifference(q, truth);
  std::printf("GIF against the true-colour picture: %.3f %%\n", 100.0 * d);
  EXPECT_LT(d, 0.002);
}

// The same page, on white, from the PDF through pdftoppm and from the SVG
// through a browser.
TEST_F(RasterSmooth, AgreesWithPdftoppmOnThePdf) {
  if (!onPath("pdftoppm")) GTEST_SKIP() << "no pdftoppm";
  Picture mine = smoothPicture("WHIT");
  std::string pdf = plot("PDF", false, nullptr, "WHIT");
  ASSERT_TRUE(shell("pdftoppm -scale-to 853 -singlefile " + pdf + " pdf"));
  Picture other = readPicture("pdf.ppm");
  ASSERT_GE(other.width, 852);
  const double d = meanDifference(mine, other);
  std::printf("against pdftoppm: %.2f %%\n", 100.0 * d);
  EXPECT_LT(d, 0.02);
}

TEST_F(RasterSmooth, AgreesWithABrowserOnTheSvg) {
  if (!onPath("chromium") || !onPath("pngtopnm")) GTEST_SKIP() << "no chromium or pngtopnm";
  Picture mine = smoothPicture("WHIT");
  std::string svg = plot("SVG", false, nullptr, "WHIT");
  const std::string here = std::filesystem::current_path().string();
  std::filesystem::create_directory("profile");
  ASSERT_TRUE(shell(
      "timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
      "--disable-background-networking --disable-component-update --disable-sync "
      "--user-data-dir=" + here + "/profile --screenshot=" + here + "/browser.png "
      "--window-size=853,603 file://" + here + "/" + svg + " > /dev/null 2>&1"));
  ASSERT_TRUE(shell("pngtopnm browser.png > browser.ppm"));
  Picture other = readPicture("browser.ppm");
  ASSERT_EQ(other.width, 853);
  const double d = meanDifference(mine, other);
  std::printf("against the browser: %.2f %%\n", 100.0 * d);
  EXPECT_LT(d, 0.05);
}

TEST(SmoothQuantise, PlotColoursKeepEntriesAndTheRestShare) {
  int table[256];
  for (int i = 0; i < 256; ++i) table[i] = (i * 0x010203) & 0xFFFFFF;
  const struct {
    const char* what;
    int distinct;  // colours besides the table's
    int own;       // table colours in the image
  } cases[] = {{"few", 20, 5}, {"many", 20000, 40}, {"table only", 0, 256}, {"empty rest", 0, 1}};
  for (const auto& c : cases) {
    std::vector<std::uint8_t> rgb;
    std::vector<std::uint32_t> colours;
    for (int i = 0; i < c.own; ++i) colours.push_back(static_cast<std::uint32_t>(table[i]));
    for (int i = 0; i < c.distinct; ++i) colours.push_back(0x800000u + static_cast<std::uint32_t>(i) * 37u);
    for (int k = 0; k < 3; ++k)  // the own colours most frequent
      for (int i = 0; i < c.own; ++i) colours.push_back(static_cast<std::uint32_t>(table[i]));
    for (std::uint32_t v : colours) {
      rgb.push_back(static_cast<std::uint8_t>(v >> 16));
      rgb.push_back(static_cast<std::uint8_t>(v >> 8));
      rgb.push_back(static_cast<std::uint8_t>(v));
    }
    int palette[256];
    std::vector<std::uint8_t> indices(colours.size());
    const int n = qqpqnt(rgb.data(), colours.size(), table, palette, indices.data());
    ASSERT_GE(n, 1) << c.what;
    ASSERT_LE(n, 256) << c.what;
    const bool exactAll = c.own + c.distinct <= 256;
    for (std::size_t i = 0; i < colours.size(); ++i) {
      const bool own = i < static_cast<std::size_t>(c.own) || i >= static_cast<std::size_t>(c.own + c.distinct);
      if (own || exactAll)
        EXPECT_EQ(static_cast<std::uint32_t>(palette[indices[i]]), colours[i]) << c.what << " " << i;
      else
        EXPECT_LT(indices[i], n) << c.what;
    }
  }
}

// ---- bad input ----

// A painter on a buffer with guard bytes around every row and the whole.
struct Guarded {
  static constexpr int kW = 61, kH = 37, kPad = 64;
  static constexpr std::ptrdiff_t kStride = 3 * kW + 5;
  std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(2 * kPad + kStride * kH, 0xA5);
  SmoothPainter painter;
  Guarded() {
    for (int y = 0; y < kH; ++y) std::memset(pixels() + y * kStride, 0, 3 * kW);
    painter.attach(pixels(), kW, kH, kStride, PixelLayout::Rgb24);
    painter.colour(200, 100, 50);
  }
  std::uint8_t* pixels() { return bytes.data() + kPad; }
  bool guardsIntact() const {
    for (int i = 0; i < kPad; ++i)
      if (bytes[i] != 0xA5 || bytes[bytes.size() - 1 - i] != 0xA5) return false;
    for (int y = 0; y < kH; ++y)
      for (std::ptrdiff_t i = 3 * kW; i < kStride; ++i)
        if (bytes[kPad + y * kStride + i] != 0xA5) return false;
    return true;
  }
  int painted() const {
    int n = 0;
    for (int y = 0; y < kH; ++y)
      for (int i = 0; i < 3 * kW; ++i) n += bytes[kPad + y * kStride + i] != 0;
    return n;
  }
};

TEST(SmoothPainterBadInput, NothingWrittenOutsideTheBuffer) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const struct {
    const char* what;
    std::vector<float> xs, ys;
    double width;
  } strokes[] = {
      {"zero-length", {30, 30}, {20, 20}, 4.0},
      {"zero-length round", {10, 10, 10}, {5, 5, 5}, 3.0},
      {"huge width", {30, 31}, {20, 21}, 1e30},
      {"NaN width", {30, 31}, {20, 21}, std::nan("")},
      {"far outside", {-1e30f, 1e30f}, {-1e30f, 1e30f}, 5.0},
      {"far outside, across", {-1e9f, 1e9f}, {18.5f, 18.5f}, 2.0},
      {"NaN point", {5, nan, 50, 55}, {5, 30, nan, 30}, 3.0},
      {"infinite", {inf, 10, -inf}, {10, 10, 10}, 3.0},
      {"on the border", {0, 61, 61, 0, 0}, {0, 0, 37, 37, 0}, 9.0},
      {"reversal", {10, 50, 10}, {10, 10, 10}, 8.0},
      {"single point", {20}, {20}, 6.0},
  };
  for (const auto& s : strokes) {
    for (LineCap cap : {LineCap::Butt, LineCap::Square, LineCap::Round}) {
      Guarded g;
      g.painter.stroke(s.xs.data(), s.ys.data(), static_cast<int>(s.xs.size()), s.width, cap);
      EXPECT_TRUE(g.guardsIntact()) << s.what;
    }
  }
  Guarded g;
  const float fx[4] = {-1e30f, 1e30f, 1e30f, -1e30f}, fy[4] = {-1e30f, -1e30f, 1e30f, 1e30f};
  g.painter.fill(fx, fy, 4);
  EXPECT_TRUE(g.guardsIntact());
  EXPECT_EQ(g.painted(), 3 * Guarded::kW * Guarded::kH);  // all covered
  Guarded h;
  const float nx[3] = {1, nan, 40}, ny[3] = {1, 30, 20};
  h.painter.fill(nx, ny, 3);
  h.painter.rect(-1e300, -1e300, 1e300, std::nan(""));
  EXPECT_EQ(h.painted(), 0);
  h.painter.rect(-1e300, -1e300, 1e300, 1e300);
  EXPECT_TRUE(h.guardsIntact());
  EXPECT_EQ(h.painted(), 3 * Guarded::kW * Guarded::kH);
}

TEST(SmoothPainterCoverage, AreasAreExact) {
  // A rectangle over half of a pixel, a quarter of another: exact alphas.
  Guarded g;
  g.painter.colour(255, 255, 255);
  g.painter.rect(10.0, 10.0, 10.5, 11.0);
  EXPECT_EQ(g.pixels()[10 * Guarded::kStride + 30], 128);
  g.painter.rect(20.5, 20.5, 21.0, 21.0);
  EXPECT_EQ(g.pixels()[20 * Guarded::kStride + 60], 64);
  // A diagonal line of width 2: its coverage sums to its area.
  Guarded d;
  d.painter.colour(255, 255, 255);
  const float xs[2] = {10.0f, 40.0f}, ys[2] = {10.0f, 30.0f};
  d.painter.stroke(xs, ys, 2, 2.0, LineCap::Butt);
  double area = 0;
  for (int y = 0; y < Guarded::kH; ++y)
    for (int x = 0; x < Guarded::kW; ++x) area += d.pixels()[y * Guarded::kStride + 3 * x] / 255.0;
  EXPECT_NEAR(area, 2.0 * std::hypot(30.0, 20.0), 0.5);
}

TEST_F(RasterSmooth, BadInputThroughTheLibrary) {
  metafl("PNG");
  smooth("ON");
  korini();
  linwid(32000);
  line(100, 100, 100, 100);
  line(-2000000000, 5, 2000000000, 2000);
  linwid(5);
  line(500, 500, 500, 500);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  Global& g = qqgglb();
  xjdraw(g, nan, 100.0f, 3);
  xjdraw(g, 1e30f, nan, 2);
  xjdraw(g, -1e30f, 1e30f, 2);
  qqstrk(g);
  std::string name = g.outFileName;
  korfin();
  EXPECT_GT(slurp(name).size(), 100u);
}

}  // namespace
}  // namespace korvan
