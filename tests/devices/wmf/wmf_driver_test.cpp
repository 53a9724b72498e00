// Windows metafile output: the placeable header and its checksum, the
// records read back by a small reader of the format, the header step's work
// file, and the files converted by wmf2svg.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <regex>
#include <string>
#include <vector>

#include "core/state.h"
#include "draw/device_ops.h"
#include "devices/dispatch.h"
#include "devices/wmf/wmf_driver.h"
#include "draw/colour.h"
#include "korvan.h"
#include "support/plot_fixture.h"
#include "support/scenes.h"

namespace korvan::test {
namespace {

constexpr double kS = 1440.0 / 254.0;
const int kA = 16832, kB = 11900;  // the default page in metafile units

unsigned le16(const std::string& f, std::size_t at) {
  return static_cast<std::uint8_t>(f[at]) | static_cast<std::uint8_t>(f[at + 1]) << 8;
}
std::uint32_t le32(const std::string& f, std::size_t at) {
  return le16(f, at) | static_cast<std::uint32_t>(le16(f, at + 2)) << 16;
}

struct Record {
  unsigned function = 0;
  std::uint32_t size = 0;
  std::vector<int> p;  // parameter words, signed
};

struct Metafile {
  bool placeable = false;
  std::vector<unsigned> placeableWords;  // the eleven words
  unsigned type = 0, headerSize = 0, version = 0, objects = 0, members = 0;
  std::uint32_t size = 0, maxRecord = 0;
  std::vector<Record> records;  // up to and including the end record
  std::size_t endAt = 0;
  std::string error;
};

Metafile readWmf(const std::string& f) {
  Metafile m;
  std::size_t i = 0;
  if (f.size() >= 22 && le32(f, 0) == 0x9AC6CDD7u) {
    m.placeable = true;
    for (int k = 0; k < 11; ++k) m.placeableWords.push_back(le16(f, 2 * static_cast<std::size_t>(k)));
    i = 22;
  }
  if (f.size() < i + 18) {
    m.error = "short header";
    return m;
  }
  m.type = le16(f, i);
  m.headerSize = le16(f, i + 2);
  m.version = le16(f, i + 4);
  m.size = le32(f, i + 6);
  m.objects = le16(f, i + 10);
  m.maxRecord = le32(f, i + 12);
  m.members = le16(f, i + 16);
  i += 2 * m.headerSize;
  while (i + 6 <= f.size()) {
    Record r;
    r.size = le32(f, i);
    r.function = le16(f, i + 4);
    if (r.size < 3 || i + 2 * r.size > f.size()) {
      m.error = "bad record size";
      return m;
    }
    for (std::size_t k = 3; k < r.size; ++k)
      r.p.push_back(static_cast<std::int16_t>(le16(f, i + 2 * k)));
    i += 2 * r.size;
    m.records.push_back(r);
    if (r.function == 0) {
      m.endAt = i;
      return m;
    }
  }
  m.error = "no end record";
  return m;
}

std::vector<const Record*> ofKind(const Metafile& m, unsigned function) {
  std::vector<const Record*> out;
  for (const Record& r : m.records)
    if (r.function == function) out.push_back(&r);
  return out;
}

constexpr unsigned kMoveTo = 0x0214, kLineTo = 0x0213, kPen = 0x02FA, kBrush = 0x02FC,
                   kSelect = 0x012D, kDelete = 0x01F0, kTextColour = 0x0209,
                   kRectangle = 0x041B, kPolygon = 0x0324, kPolyPolygon = 0x0538;

int colourOf(const Record& r, std::size_t lo) {
  return (r.p[lo] & 0xFFFF) | (r.p[lo + 1] & 0xFFFF) << 16;  // 0x00BBGGRR
}

int rnd(double v) { return static_cast<int>(static_cast<float>(v) * static_cast<float>(kS) + 0.5f); }

class WmfTest : public PlotTest {
 protected:
  Global& start(int option = 0) {
    metafl("WMF");
    qqgglb().wmfOption = option;
    korini();
    Global& g = qqgglb();
    g.protocolOn = 0;
    return g;
  }
  std::string finish() { return endAndRead(); }
  // Records after the set-up and korini's colour.
  static std::vector<Record> body(const Metafile& m) {
    std::vector<Record> out;
    std::size_t k = 0;
    while (k < m.records.size() && m.records[k].function != kTextColour) ++k;
    for (++k; k < m.records.size(); ++k) out.push_back(m.records[k]);
    return out;
  }
};

TEST(WmfHeader, ChecksumOfThePlaceableHeader) {
  std::vector<std::uint8_t> h = WmfDriver::placeableHeader(1000, 700);
  ASSERT_EQ(h.size(), 22u);
  const unsigned words[11] = {0xCDD7, 0x9AC6, 0, 0, 0, 0x03E8, 0x02BC, 0x05A0, 0, 0, 0x53E5};
  for (int k = 0; k < 11; ++k)
    EXPECT_EQ(h[2 * k] | h[2 * k + 1] << 8, words[k]) << k;
}

TEST_F(WmfTest, FileLayout) {
  start();
  line(100, 100, 500, 500);
  std::string f = finish();
  Metafile m = readWmf(f);
  ASSERT_TRUE(m.error.empty()) << m.error;
  ASSERT_TRUE(m.placeable);
  EXPECT_EQ(m.placeableWords[5], static_cast<unsigned>(kA));
  EXPECT_EQ(m.placeableWords[6], static_cast<unsigned>(kB));
  EXPECT_EQ(m.placeableWords[7], 1440u);
  unsigned sum = 0;
  for (int k = 0; k < 10; ++k) sum ^= m.placeableWords[static_cast<std::size_t>(k)];
  EXPECT_EQ(m.placeableWords[10], sum);
  EXPECT_EQ(m.type, 1u);
  EXPECT_EQ(m.headerSize, 9u);
  EXPECT_EQ(m.version, 0x0300u);
  EXPECT_EQ(m.members, 0u);
  // the size in words covers the metafile header and all records
  EXPECT_EQ(m.endAt, f.size());
  EXPECT_EQ(m.size * 2, f.size() - 22);
  std::uint32_t largest = 0;
  for (const Record& r : m.records) largest = std::max(largest, r.size);
  EXPECT_EQ(m.maxRecord, largest);
  // mapping mode, window origin and extent (y before x)
  ASSERT_GE(m.records.size(), 3u);
  EXPECT_EQ(m.records[0].function, 0x0103u);
  EXPECT_EQ(m.records[0].p, (std::vector<int>{8}));
  EXPECT_EQ(m.records[1].function, 0x020Bu);
  EXPECT_EQ(m.records[1].p, (std::vector<int>{0, 0}));
  EXPECT_EQ(m.records[2].function, 0x020Cu);
  EXPECT_EQ(m.records[2].p, (std::vector<int>{kB + 20, kA + 20}));
  // every object selected or deleted was created in a slot the header counts
  for (const Record* r : ofKind(m, kSelect)) EXPECT_LT(static_cast<unsigned>(r->p[0]), m.objects);
}

TEST_F(WmfTest, LinesAreMovesAndDraws) {
  start();
  line(100, 200, 300, 200);
  line(0, 0, 2969, 2099);
  Metafile m = readWmf(finish());
  ASSERT_TRUE(m.error.empty()) << m.error;
  auto moves = ofKind(m, kMoveTo);
  auto draws = ofKind(m, kLineTo);
  ASSERT_GE(moves.size(), 3u);  // the last one is the plot end's move to (0, 0)
  ASSERT_EQ(draws.size(), 2u);
  EXPECT_EQ(moves[0]->p, (std::vector<int>{rnd(200), rnd(100)}));
  EXPECT_EQ(draws[0]->p, (std::vector<int>{rnd(200), rnd(300)}));
  EXPECT_EQ(moves[1]->p, (std::vector<int>{0, 0}));
  EXPECT_EQ(draws[1]->p, (std::vector<int>{kB, kA}));
  EXPECT_EQ(moves.back()->p, (std::vector<int>{0, 0}));
}

TEST_F(WmfTest, EveryColourCallMakesAPen) {
  Global& g = start();
  g.colourTable[7] = 0x112233;
  qqsclr(g, 7);
  qqsclr(g, 7);
  Metafile m = readWmf(finish());
  ASSERT_TRUE(m.error.empty()) << m.error;
  auto pens = ofKind(m, kPen);
  // korini's foreground and the two calls
  ASSERT_EQ(pens.size(), 3u);
  EXPECT_EQ(pens[1]->p[0], 0);  // solid
  EXPECT_EQ(pens[1]->p[1], 1);  // width 1
  EXPECT_EQ(colourOf(*pens[1], 3), 0x332211);
  EXPECT_EQ(colourOf(*pens[2], 3), 0x332211);
  auto texts = ofKind(m, kTextColour);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(colourOf(*texts[2], 0), 0x332211);
  // the first pen replaces the DC's own, which is kept; later ones delete
  // the pen they replace, after selecting the new one
  auto deletes = ofKind(m, kDelete);
  EXPECT_EQ(deletes.size(), 2u);
  std::vector<unsigned> order;
  for (const Record& r : m.records)
    if (r.function == kPen || r.function == kSelect || r.function == kDelete || r.function == kTextColour)
      order.push_back(r.function);
  EXPECT_EQ(order, (std::vector<unsigned>{kPen, kSelect, kTextColour, kPen, kSelect, kDelete,
                                          kTextColour, kPen, kSelect, kDelete, kTextColour}));
}

TEST_F(WmfTest, BoxesAreRectanglesWithoutOutline) {
  Global& g = start();
  g.colourTable[44] = 0x00FF00;
  dbox(g, 100, 200, 300, 250, 300);  // 300 is entry 44
  Metafile m = readWmf(finish());
  ASSERT_TRUE(m.error.empty()) << m.error;
  std::vector<Record> b = body(m);
  ASSERT_GE(b.size(), 7u);
  EXPECT_EQ(b[0].function, kBrush);
  EXPECT_EQ(b[0].p[0], 0);
  EXPECT_EQ(colourOf(b[0], 1), 0x00FF00);
  EXPECT_EQ(b[1].function, kSelect);
  EXPECT_EQ(b[2].function, kPen);
  EXPECT_EQ(b[2].p[0], 5);  // the null pen
  EXPECT_EQ(b[3].function, kSelect);
  ASSERT_EQ(b[4].function, kRectangle);
  int x1 = rnd(100), y1 = rnd(200), x2 = rnd(300), y2 = rnd(250);
  // bottom, right, top, left; one beyond the filled area
  EXPECT_EQ(b[4].p, (std::vector<int>{y2 + 1 + 1, x2 + 1 + 1, y1, x1}));
  EXPECT_EQ(b[5].function, kSelect);  // the line pen again
}

TEST_F(WmfTest, PolygonsInTheCurrentColour) {
  Global& g = start();
  g.colourTable[9] = 0x0000FF;
  qqsclr(g, 9);
  float xs[3] = {100, 200, 100}, ys[3] = {100, 100, 300};
  xjpoly(g, xs, ys, 3);
  xjpoly(g, xs, ys, 3);  // the same brush serves again
  Metafile m = readWmf(finish());
  ASSERT_TRUE(m.error.empty()) << m.error;
  auto polys = ofKind(m, kPolygon);
  ASSERT_EQ(polys.size(), 2u);
  EXPECT_EQ(polys[0]->p, (std::vector<int>{3, rnd(100), rnd(100), rnd(200), rnd(100), rnd(100), rnd(300)}));
  auto brushes = ofKind(m, kBrush);
  ASSERT_EQ(brushes.size(), 1u);
  EXPECT_EQ(colourOf(*brushes[0], 1), 0xFF0000);  // blue as 0x00BBGGRR
}

TEST_F(WmfTest, OptionOneLeavesOutThePlaceableHeader) {
  start(1);
  line(10, 10, 20, 20);
  std::string f = finish();
  Metafile m = readWmf(f);
  ASSERT_TRUE(m.error.empty()) << m.error;
  EXPECT_FALSE(m.placeable);
  EXPECT_EQ(m.size * 2, f.size());
  EXPECT_FALSE(exists("korvan.tmp"));
}

TEST_F(WmfTest, LeftoverWorkFilesAreNeitherOverwrittenNorInTheWay) {
  touch("korvan.tmp", "not ours");
  touch("korvan.1.tmp", "nor this");
  ::testing::internal::CaptureStdout();
  metafl("WMF");
  korini();
  line(10, 10, 20, 20);
  korfin();
  std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_EQ(out.find("Open error"), std::string::npos) << out;
  EXPECT_EQ(slurp("korvan.tmp"), "not ours");
  EXPECT_EQ(slurp("korvan.1.tmp"), "nor this");
  EXPECT_FALSE(exists("korvan.2.tmp"));  // the work file became the output
  Metafile m = readWmf(slurp("korvan.wmf"));
  EXPECT_TRUE(m.error.empty()) << m.error;
  EXPECT_TRUE(m.placeable);
  EXPECT_NE(out.find("Metafile: korvan.wmf"), std::string::npos) << out;
}

TEST_F(WmfTest, VersionedOutputUsesItsOwnWorkFile) {
  touch("korvan.wmf", "older plot");
  start();
  line(10, 10, 20, 20);
  std::string name = qqgglb().outFileName;
  EXPECT_EQ(name, "korvan_1.wmf");
  std::string f = finish();
  EXPECT_EQ(slurp("korvan.wmf"), "older plot");
  EXPECT_TRUE(readWmf(f).placeable);
  EXPECT_FALSE(exists("korvan_1.tmp"));
}

// wmf2svg's picture: elements with their coordinates scaled to its size.
struct Converted {
  std::string svg;
  double sx = 0, sy = 0;  // SVG units per metafile unit
};

Converted convert(const std::string& wmf) {
  Converted c;
  if (std::system(("wmf2svg -o out.svg " + wmf + " 2>wmf2svg.log").c_str()) != 0) return c;
  c.svg = PlotTest::slurp("out.svg");
  std::smatch m;
  if (std::regex_search(c.svg, m, std::regex(R"re(<svg width="([0-9.]+)" height="([0-9.]+)")re"))) {
    c.sx = std::stod(m[1]) / kA;
    c.sy = std::stod(m[2]) / kB;
  }
  return c;
}

TEST_F(WmfTest, Wmf2svgShowsWhatWasDrawn) {
  start();
  pagera();  // wmf2svg fits the picture to what was drawn: the whole page
  test::drawLineBoxTriangle(0);
  korfin();
  Converted c = convert("korvan.wmf");
  ASSERT_FALSE(c.svg.empty()) << slurp("wmf2svg.log");
  ASSERT_GT(c.sx, 0.0);
  const double tol = 1.0;
  auto X = [&](double x) { return x * kS * c.sx; };
  auto Y = [&](double y) { return y * kS * c.sy; };

  std::regex line(R"re(<line x1="([-0-9.]+)" y1="([-0-9.]+)" x2="([-0-9.]+)" y2="([-0-9.]+)"\s*\n?\s*style="[^"]*stroke:([a-z#0-9]+)")re");
  bool red = false;
  for (auto it = std::sregex_iterator(c.svg.begin(), c.svg.end(), line); it != std::sregex_iterator(); ++it) {
    const std::smatch& m = *it;
    if (m[5] == "red" && std::abs(std::stod(m[1]) - X(200)) < tol && std::abs(std::stod(m[2]) - Y(300)) < tol &&
        std::abs(std::stod(m[3]) - X(1200)) < tol && std::abs(std::stod(m[4]) - Y(300)) < tol)
      red = true;
  }
  EXPECT_TRUE(red) << c.svg.substr(0, 2000);

  std::smatch m;
  ASSERT_TRUE(std::regex_search(c.svg, m, std::regex(R"re(<rect x="([-0-9.]+)" y="([-0-9.]+)" width="([-0-9.]+)" height="([-0-9.]+)"\s*style="[^"]*fill:([a-z#0-9]+); stroke:none)re")))
      << c.svg;
  EXPECT_NEAR(std::stod(m[1]), X(1500), tol);
  EXPECT_NEAR(std::stod(m[2]), Y(200), tol);
  EXPECT_NEAR(std::stod(m[3]), X(500), tol);
  EXPECT_NEAR(std::stod(m[4]), Y(400), tol);
  EXPECT_TRUE(m[5] == "lime" || m[5] == "#00ff00") << m[5];

  ASSERT_TRUE(std::regex_search(c.svg, m, std::regex(R"re(<polygon points="([^"]*)"\s*style="[^"]*fill:([a-z#0-9]+);)re")))
      << c.svg;
  EXPECT_EQ(m[2], "blue");
  std::string pts = m[1];
  std::regex pair(R"(([-0-9.]+),([-0-9.]+))");
  std::vector<std::pair<double, double>> v;
  for (auto it = std::sregex_iterator(pts.begin(), pts.end(), pair); it != std::sregex_iterator(); ++it)
    v.push_back({std::stod((*it)[1]), std::stod((*it)[2])});
  ASSERT_EQ(v.size(), 3u);
  const int xs[3] = {300, 1300, 300}, ys[3] = {1000, 1000, 1800};  // the triangle drawn
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(v[static_cast<std::size_t>(k)].first, X(xs[k]), tol);
    EXPECT_NEAR(v[static_cast<std::size_t>(k)].second, Y(ys[k]), tol);
  }
}

TEST_F(WmfTest, EveryRecordKindIsRead) {
  // a plot with wide lines, a hatched fill and symbols: wmf2svg converts it
  // without complaint and the reader walks every record to the end
  start();
  pagera();
  linwid(6);
  color("GREEN");
  arcell(1485, 1050, 600, 400, 0.0f, 360.0f, 0.0f);
  int xs[4] = {100, 600, 600, 100}, ys[4] = {100, 100, 600, 600};
  shdpat(5);
  areaf(xs, ys, 4);
  symbol(21, 1485, 1050);
  std::string f = finish();
  Metafile m = readWmf(f);
  ASSERT_TRUE(m.error.empty()) << m.error;
  EXPECT_EQ(m.endAt, f.size());
  Converted c = convert("korvan.wmf");
  EXPECT_FALSE(c.svg.empty());
  EXPECT_GT(std::count(c.svg.begin(), c.svg.end(), '\n'), 100);
  EXPECT_EQ(slurp("wmf2svg.log"), "");
}

TEST_F(WmfTest, APolygonLargerThanARecordKeepsEveryVertex) {
  start();
  const int n = 70000;  // three pieces
  std::vector<int> xs(n), ys(n);
  std::vector<std::pair<int, int>> want;  // device points
  for (int k = 0; k < n; ++k) {
    double a = 2 * M_PI * k / n;
    xs[k] = 1485 + static_cast<int>(std::lround(900 * std::cos(a)));
    ys[k] = 1050 + static_cast<int>(std::lround(900 * std::sin(a))) + (k % 2);
    want.push_back({rnd(xs[k]), rnd(ys[k])});
  }
  shdpat(16);
  areaf(xs.data(), ys.data(), n);
  Metafile m = readWmf(finish());
  ASSERT_TRUE(m.error.empty()) << m.error;
  EXPECT_TRUE(ofKind(m, kPolygon).empty());
  auto fills = ofKind(m, kPolyPolygon);
  ASSERT_EQ(fills.size(), 1u);
  // the pieces: each the first point and a run that starts where the last ended
  const std::vector<int>& p = fills[0]->p;
  std::size_t pieces = static_cast<std::size_t>(p[0]), at = 1 + pieces;
  std::vector<std::pair<int, int>> fan;
  for (std::size_t i = 0; i < pieces; ++i) {
    int count = p[1 + i] & 0xFFFF;
    ASSERT_LE(count, 32767);
    EXPECT_EQ(std::make_pair(p[at], p[at + 1]), want[0]);
    for (int k = i == 0 ? 1 : 2; k < count; ++k) fan.push_back({p[at + 2 * k], p[at + 2 * k + 1]});
    at += 2 * static_cast<std::size_t>(count);
  }
  EXPECT_EQ(pieces, 3u);
  EXPECT_TRUE(std::equal(fan.begin(), fan.end(), want.begin() + 1, want.end()));
  // then the outline, drawn like lines: every point in order and back to the first
  std::vector<std::pair<int, int>> outline;
  auto r = std::find_if(m.records.begin(), m.records.end(),
                        [](const Record& x) { return x.function == kPolyPolygon; });
  for (++r; r != m.records.end() && outline.size() <= want.size(); ++r)
    if (r->function == kLineTo || (r->function == kMoveTo && outline.empty()))
      outline.push_back({r->p[1], r->p[0]});
  want.push_back(want[0]);
  EXPECT_TRUE(outline == want);
  Converted c = convert("korvan.wmf");
  EXPECT_FALSE(c.svg.empty());
  EXPECT_EQ(slurp("wmf2svg.log"), "");
}

}  // namespace
}  // namespace korvan::test
