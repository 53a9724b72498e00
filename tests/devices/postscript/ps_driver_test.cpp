// PostScript and EPS output: exact header and body records, and the files
// rendered by Ghostscript.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/state.h"
#include "draw/device_ops.h"
#include "devices/dispatch.h"
#include "devices/driver.h"
#include "devices/postscript/raster_check.h"
#include "draw/colour.h"
#include "draw/pipeline.h"
#include "korvan.h"
#include "support/plot_fixture.h"
#include "support/scenes.h"

namespace korvan::test {
namespace {

constexpr float kS = 3900.0f / 2100.0f;  // device units per plot unit
constexpr double kPt = 0.1417322835;     // points per device unit

std::vector<std::string> splitLines(const std::string& s) {
  std::vector<std::string> out;
  std::string cur;
  for (char c : s) {
    if (c == '\n') {
      out.push_back(cur);
      cur.clear();
    } else {
      cur += c;
    }
  }
  if (!cur.empty()) out.push_back(cur);
  return out;
}

std::vector<std::string> words(const std::string& s) {
  std::istringstream in(s);
  std::vector<std::string> out;
  std::string w;
  while (in >> w) out.push_back(w);
  return out;
}

bool isNumber(const std::string& w) {
  if (w.empty()) return false;
  std::size_t i = w[0] == '-' ? 1 : 0;
  if (i == w.size()) return false;
  for (; i < w.size(); ++i)
    if (w[i] < '0' || w[i] > '9') return false;
  return true;
}

// One body record: its operator and the numbers before it.
struct Rec {
  std::string op;
  std::vector<int> args;
};

struct Path {
  std::vector<std::pair<int, int>> pts;
};

class PsTest : public PlotTest {
 protected:
  Global& start(const char* key) {
    metafl(key);
    korini();
    Global& g = qqgglb();
    g.protocolOn = 0;
    return g;
  }

  static void setColour(Global& g, int index, int rgb) {
    g.colourTable[index] = rgb;
    qqsclr(g, index);
  }

  // The lines after the set-up line (the one that ends in "scale").
  static std::vector<std::string> bodyLines(const std::string& file) {
    std::vector<std::string> all = splitLines(file);
    std::size_t k = 0;
    auto isSetup = [](const std::string& l) {
      return l.size() > 6 && l.compare(l.size() - 6, 6, " scale") == 0;
    };
    while (k < all.size() && !isSetup(all[k])) ++k;
    return std::vector<std::string>(all.begin() + static_cast<long>(std::min(k + 1, all.size())),
                                    all.end());
  }

  static std::vector<Rec> records(const std::string& file) {
    std::vector<Rec> out;
    std::vector<int> pending;
    for (const std::string& line : bodyLines(file))
      for (const std::string& w : words(line)) {
        if (isNumber(w)) {
          pending.push_back(std::stoi(w));
        } else {
          out.push_back({w, pending});
          pending.clear();
        }
      }
    return out;
  }

  static std::vector<Path> paths(const std::vector<Rec>& recs) {
    std::vector<Path> out;
    Path cur;
    bool open = false;
    for (const Rec& r : recs) {
      if (r.op == "u") {
        cur = Path{};
        cur.pts.push_back({r.args.at(0), r.args.at(1)});
        open = true;
      } else if (r.op == "d" && open) {
        cur.pts.push_back({r.args.at(0), r.args.at(1)});
      } else if (r.op == "p" && open) {
        out.push_back(cur);
        open = false;
      }
    }
    return out;
  }

  static int dev(float v) { return static_cast<int>(v * kS + 0.5f); }
};

std::string golden() {
  return test::readFile(std::string(KORVAN_TEST_SOURCE_DIR) + "/devices/postscript/ps_header.golden");
}

TEST_F(PsTest, HeaderPrologueAndSetupLineAreExact) {
  start("POST");
  korfin();
  std::string file = maskDates(slurp("korvan.psc"));
  std::string expected = golden();
  ASSERT_FALSE(expected.empty());
  ASSERT_GE(file.size(), expected.size());
  EXPECT_EQ(file.substr(0, expected.size()), expected);
}

TEST_F(PsTest, EpsDiffersOnlyInTheFirstLine) {
  start("EPS");
  korfin();
  std::string file = maskDates(slurp("korvan.eps"));
  std::string expected = golden();
  std::string rest = expected.substr(expected.find('\n'));
  EXPECT_EQ(file.substr(0, 24), "%!PS-Adobe-3.0 EPSF-3.0\n");
  EXPECT_EQ(file.substr(23, rest.size()), rest);
}

TEST_F(PsTest, PsclCarriesTheBlackPageRightAfterTheSetupLine) {
  start("PSCL");
  korfin();
  std::vector<std::string> body = bodyLines(slurp("korvan.psc"));
  ASSERT_FALSE(body.empty());
  EXPECT_EQ(body[0], "0 0 3898 5514 0 0 0 e ");
}

TEST_F(PsTest, OtherKeywordsHaveNoBoxBeforeTheFirstDrawing) {
  const char* keys[] = {"POST", "PS", "EPS"};
  const char* files[] = {"korvan.psc", "korvan.ps", "korvan.eps"};
  for (int k = 0; k < 3; ++k) {
    start(keys[k]);
    xjdraw(qqgglb(), 100, 100, 3);
    xjdraw(qqgglb(), 200, 100, 2);
    korfin();
    std::vector<Rec> recs = records(slurp(files[k]));
    for (const Rec& r : recs) {
      if (r.op == "u") break;
      EXPECT_NE(r.op, "e") << keys[k];
    }
    std::string first = splitLines(slurp(files[k]))[0];
    EXPECT_EQ(first, k == 2 ? "%!PS-Adobe-3.0 EPSF-3.0" : "%!PS-Adobe-2.0") << keys[k];
  }
}

TEST_F(PsTest, LandscapePageIsTurnedOntoThePortraitSheet) {
  Global& g = start("POST");
  xjdraw(g, 1000.0f, 200.0f, 3);
  xjdraw(g, 1500.4f, 700.6f, 2);
  korfin();
  std::vector<Path> ps = paths(records(slurp("korvan.psc")));
  ASSERT_EQ(ps.size(), 1u);
  ASSERT_EQ(ps[0].pts.size(), 2u);
  EXPECT_EQ(ps[0].pts[0], std::make_pair(dev(200.0f), dev(1000.0f)));
  EXPECT_EQ(ps[0].pts[1], std::make_pair(dev(700.6f), dev(1500.4f)));
}

TEST_F(PsTest, PolylineOf120PointsIsStrokedAsPathsOf50_50_22) {
  Global& g = start("PS");
  xjdraw(g, 10.0f, 10.0f, 3);
  for (int k = 1; k < 120; ++k) xjdraw(g, 10.0f + 20.0f * k, 10.0f + (k % 7) * 30.0f, 2);
  korfin();
  std::vector<Path> ps = paths(records(slurp("korvan.ps")));
  ASSERT_EQ(ps.size(), 3u);
  EXPECT_EQ(ps[0].pts.size(), 50u);
  EXPECT_EQ(ps[1].pts.size(), 50u);
  EXPECT_EQ(ps[2].pts.size(), 22u);
  // the second and third path begin where the previous one ended
  EXPECT_EQ(ps[1].pts.front(), ps[0].pts.back());
  EXPECT_EQ(ps[2].pts.front(), ps[1].pts.back());
  EXPECT_EQ(ps[2].pts.back(), std::make_pair(dev(10.0f + (119 % 7) * 30.0f), dev(2390.0f)));
}

TEST_F(PsTest, DrawWithoutMoveStartsAtThePenPosition) {
  Global& g = start("POST");
  xjdraw(g, 100.0f, 50.0f, 2);  // no move yet: from the origin
  setColour(g, 10, 0xFF0000);   // flushes; the pen stays at the last point
  xjdraw(g, 300.0f, 80.0f, 2);
  korfin();
  std::vector<Path> ps = paths(records(slurp("korvan.psc")));
  ASSERT_EQ(ps.size(), 2u);
  EXPECT_EQ(ps[0].pts.front(), std::make_pair(0, 0));
  EXPECT_EQ(ps[0].pts.back(), std::make_pair(dev(50.0f), dev(100.0f)));
  EXPECT_EQ(ps[1].pts.front(), ps[0].pts.back());
  EXPECT_EQ(ps[1].pts.back(), std::make_pair(dev(80.0f), dev(300.0f)));
}

TEST_F(PsTest, EveryColourCallWritesARecordAfterThePendingPath) {
  Global& g = start("POST");
  xjdraw(g, 100.0f, 100.0f, 3);
  xjdraw(g, 200.0f, 100.0f, 2);
  setColour(g, 7, 0x10FF7F);
  setColour(g, 7, 0x10FF7F);
  korfin();
  std::vector<Rec> recs = records(slurp("korvan.psc"));
  std::size_t stroke = 0, firstF = 0;
  int colours = 0;
  for (std::size_t k = 0; k < recs.size(); ++k) {
    if (recs[k].op == "p" && stroke == 0) stroke = k;
    if (recs[k].op == "f" && recs[k].args == std::vector<int>{16, 255, 127}) {
      if (colours++ == 0) firstF = k;
    }
  }
  EXPECT_EQ(colours, 2);
  EXPECT_GT(firstF, stroke);
}

TEST_F(PsTest, WidthRecordsHaveTheMinimumOf5) {
  Global& g = start("POST");
  xjdraw(g, 100.0f, 100.0f, 3);
  xjdraw(g, 200.0f, 100.0f, 2);
  const int widths[] = {1, 10, 3, 2};
  for (int n : widths) {
    qqstrk(g);
    g.driver->width(g, n);
    EXPECT_EQ(g.lineWidth, -n);
  }
  korfin();
  std::string body;
  for (const std::string& l : bodyLines(slurp("korvan.psc"))) body += l;
  std::size_t stroke = body.find("p ");
  std::size_t first = body.find("5 cm setlinewidth ");
  ASSERT_NE(first, std::string::npos);
  EXPECT_LT(stroke, first);  // the open path was stroked with the old width
  std::vector<int> seen;
  std::vector<Rec> recs = records(slurp("korvan.psc"));
  for (std::size_t k = 0; k + 1 < recs.size(); ++k)
    if (recs[k].op == "cm" && recs[k + 1].op == "setlinewidth") seen.push_back(recs[k].args.at(0));
  EXPECT_EQ(seen, (std::vector<int>{5, 20, 6, 5}));
}

TEST_F(PsTest, BoxRecordHoldsTurnedCornersAndTheEntryOfTheIndexModulo256) {
  Global& g = start("POST");
  g.colourTable[44] = 0x0A141E;
  dbox(g, 100, 200, 400, 500, 300);
  korfin();
  std::vector<Rec> recs = records(slurp("korvan.psc"));
  std::vector<Rec> boxes;
  for (const Rec& r : recs)
    if (r.op == "e") boxes.push_back(r);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].args, (std::vector<int>{dev(200), dev(100), dev(500), dev(400), 10, 20, 30}));
}

TEST_F(PsTest, PolygonIsAClosedEvenOddPathWithTheOriginShift) {
  Global& g = start("POST");
  g.shiftX = 10;
  g.shiftY = 20;
  const float xs[] = {100, 300, 200};
  const float ys[] = {100, 100, 400};
  xjpoly(g, xs, ys, 3);
  korfin();
  std::vector<Rec> recs = records(slurp("korvan.psc"));
  std::size_t k = 0;
  while (k < recs.size() && recs[k].op != "u") ++k;
  ASSERT_LT(k + 4, recs.size());
  auto pt = [](float x, float y) { return std::vector<int>{dev(y), dev(x)}; };
  EXPECT_EQ(recs[k].args, pt(110, 120));
  EXPECT_EQ(recs[k + 1].op, "d");
  EXPECT_EQ(recs[k + 1].args, pt(310, 120));
  EXPECT_EQ(recs[k + 2].args, pt(210, 420));
  EXPECT_EQ(recs[k + 3].op, "d");
  EXPECT_EQ(recs[k + 3].args, pt(110, 120));
  EXPECT_EQ(recs[k + 4].op, "eofill");
}

TEST_F(PsTest, BodyLinesAreAtMost80CharactersOfWholeTokens) {
  Global& g = start("PSCL");
  for (int k = 0; k < 400; ++k) {
    xjdraw(g, static_cast<float>(k * 7 % 2969), static_cast<float>(k * 13 % 2099), k % 9 ? 2 : 3);
    if (k % 37 == 0) setColour(g, k % 256, k * 4099);
    if (k % 53 == 0) dbox(g, k, k, k + 300, k + 200, k);
  }
  korfin();
  std::string file = slurp("korvan.psc");
  ASSERT_EQ(file.back(), '\n');
  std::vector<std::string> body = bodyLines(file);
  ASSERT_GT(body.size(), 20u);
  for (const std::string& line : body) {
    EXPECT_LE(line.size(), 80u) << line;
    EXPECT_NE(line.front(), ' ') << line;
    EXPECT_EQ(line.find("  "), std::string::npos) << line;
  }
  // every full line ends in a blank; a word never spills over (the black
  // page before the buffered records is a line of its own)
  for (std::size_t k = 1; k + 1 < body.size(); ++k) {
    EXPECT_EQ(body[k].back(), ' ');
    std::string next = words(body[k + 1]).front();
    EXPECT_GT(body[k].size() + next.size() + 1, 80u) << body[k];
  }
  EXPECT_EQ(body.back().substr(body.back().size() - 9), "showpage ");
}

TEST_F(PsTest, PortraitPageKeepsItsOrientation) {
  metafl("PSCL");
  Global& g0 = qqgglb();
  g0.pageSizeX = 2099.0f;
  g0.pageSizeY = 2969.0f;
  korini();
  Global& g = qqgglb();
  g.protocolOn = 0;
  xjdraw(g, 100.0f, 200.0f, 3);
  xjdraw(g, 400.0f, 200.0f, 2);
  korfin();
  std::string file = slurp("korvan.psc");
  std::vector<std::string> lines = splitLines(file);
  EXPECT_EQ(lines[1], "%%BoundingBox:  21 28 575 811");
  EXPECT_EQ(maskDates(lines[2]), "%%Creator: KORVAN   8.3 P");
  std::vector<std::string> body = bodyLines(file);
  // the black page of the portrait page: its height, then its width
  EXPECT_EQ(body.at(0), "0 5514 3898 0 0 0 0 e ");
  std::vector<Path> ps = paths(records(file));
  ASSERT_EQ(ps.size(), 1u);
  EXPECT_EQ(ps[0].pts[0], std::make_pair(dev(100.0f), dev(2969.0f - 200.0f)));
}

// ---- rendered by Ghostscript ----

// The page scale of the default page: 1/20 mm per plot unit.
constexpr double kD = 3900.0 / 2099.0;

// Pixel of a plot point on the A4 sheet at 72 dpi (one pixel per point).
struct SheetPoint {
  double col, row;
};
SheetPoint sheet(double x, double y, bool landscape = true, double pageH = 2099.0) {
  double px, py;
  if (landscape) {
    px = (150 + y * kD) * kPt;
    py = (200 + x * kD) * kPt;
  } else {
    px = (150 + x * kD) * kPt;
    py = (200 + (pageH - y) * kD) * kPt;
  }
  return {px, 842.0 - py};
}

void drawScene(Global& g) {
  test::drawDeviceScene(g, 10);
  g.colourTable[40] = 0xFF00FF;
  // a pentagram: even-odd leaves its centre empty
  qqsclr(g, 40);
  float sx[5], sy[5];
  for (int k = 0; k < 5; ++k) {
    double a = (90.0 + 144.0 * k) * 3.14159265358979 / 180.0;
    sx[k] = static_cast<float>(600.0 + 400.0 * std::cos(a));
    sy[k] = static_cast<float>(1400.0 - 400.0 * std::sin(a));
  }
  xjpoly(g, sx, sy, 5);
}

void checkScene(const Image& im, Rgb paper, double dx = 0, double dy = 0) {
  const Rgb red{255, 0, 0}, blue{0, 0, 255}, green{0, 192, 0}, magenta{255, 0, 255};
  auto at = [&](double x, double y, Rgb c, const char* what) {
    SheetPoint p = sheet(x, y);
    EXPECT_TRUE(hasColourNear(im, p.col - dx, p.row - dy, c, 1))
        << what << " at plot " << x << "," << y;
  };
  at(500, 400, red, "line");
  at(1500, 400, red, "line");
  at(2500, 400, red, "line");
  at(1500, 470, paper, "beside the line");
  at(1200, 1150, blue, "box");
  at(1050, 1050, blue, "box corner");
  at(1200, 1400, paper, "below the box");
  at(2200, 1233, green, "triangle");
  at(1850, 1650, paper, "outside the triangle");
  at(600, 1100, magenta, "star tip");
  at(600, 1400, paper, "star centre");
}

TEST_F(PsTest, GhostscriptRendersEveryKeyword) {
  struct Case {
    const char* key;
    const char* file;
    Rgb paper;
  };
  const Case cases[] = {{"POST", "korvan.psc", {255, 255, 255}},
                        {"PSCL", "korvan_1.psc", {0, 0, 0}},
                        {"EPS", "korvan.eps", {255, 255, 255}},
                        {"PS", "korvan.ps", {255, 255, 255}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    Global& g = start(c.key);
    drawScene(g);
    korfin();
    std::string log;
    Image im = renderPs(c.file, 72, false, &log);
    ASSERT_FALSE(im.empty()) << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
    ASSERT_EQ(im.width, 595);
    ASSERT_EQ(im.height, 842);
    checkScene(im, c.paper);
  }
}

TEST_F(PsTest, EpsBoundingBoxHoldsTheWholePage) {
  Global& g = start("EPS");
  drawScene(g);
  // the page border, which runs along the bounding box
  xjdraw(g, 0.0f, 0.0f, 3);
  xjdraw(g, 2969.0f, 0.0f, 2);
  xjdraw(g, 2969.0f, 2099.0f, 2);
  xjdraw(g, 0.0f, 2099.0f, 2);
  xjdraw(g, 0.0f, 0.0f, 2);
  korfin();
  Image im = renderPs("korvan.eps", 72, true);
  ASSERT_FALSE(im.empty());
  EXPECT_EQ(im.width, 575 - 21);
  EXPECT_EQ(im.height, 811 - 28);
  // cropped: the sheet's point (21, 28) is the image's lower left corner
  checkScene(im, {255, 255, 255}, 21.0, 842.0 - 811.0);
  const Rgb magenta{255, 0, 255};
  int border = 0;
  for (int y = 0; y < im.height; ++y)
    if (hasColourNear(im, 1, y, magenta, 1)) ++border;
  EXPECT_GT(border, im.height * 9 / 10);
}

TEST_F(PsTest, GhostscriptRendersAPortraitPage) {
  metafl("POST");
  Global& g0 = qqgglb();
  g0.pageSizeX = 2099.0f;
  g0.pageSizeY = 2969.0f;
  korini();
  Global& g = qqgglb();
  g.protocolOn = 0;
  g.colourTable[20] = 0x0000FF;
  dbox(g, 200, 300, 600, 900, 20);
  korfin();
  Image im = renderPs("korvan.psc", 72);
  ASSERT_FALSE(im.empty());
  SheetPoint in = sheet(400, 600, false, 2969.0);
  SheetPoint out = sheet(400, 1000, false, 2969.0);
  EXPECT_TRUE(hasColourNear(im, in.col, in.row, {0, 0, 255}, 0));
  EXPECT_TRUE(hasColourNear(im, out.col, out.row, {255, 255, 255}, 0));
}

TEST_F(PsTest, PublicRoutinesDrawThePlotOnEveryKeyword) {
  struct Case {
    const char* key;
    const char* file;
    Rgb paper;
  };
  const Case cases[] = {{"POST", "korvan.psc", {255, 255, 255}},
                        {"PSCL", "korvan_1.psc", {0, 0, 0}},
                        {"EPS", "korvan.eps", {255, 255, 255}},
                        {"PS", "korvan.ps", {255, 255, 255}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    start(c.key);
    setvlt("RAIN");
    test::drawLineAndTriangle(10);
    korfin();
    std::string file = slurp(c.file);
    EXPECT_NE(file.find("20 cm setlinewidth"), std::string::npos);
    EXPECT_NE(file.find("eofill"), std::string::npos);
    Image im = renderPs(c.file, 72);
    ASSERT_FALSE(im.empty());
    auto at = [&](double x, double y, Rgb col, const char* what) {
      SheetPoint p = sheet(x, y);
      EXPECT_TRUE(hasColourNear(im, p.col, p.row, col, 1)) << what << " at plot " << x << "," << y;
    };
    at(1500, 400, {255, 0, 0}, "line");
    at(1500, 470, c.paper, "beside the line");
    at(2200, 1233, {0, 0, 255}, "triangle");
    at(1850, 1650, c.paper, "outside the triangle");
  }
}

TEST_F(PsTest, BoxesAndPolygonsCoverWhatWasDrawnBefore) {
  Global& g = start("POST");
  test::drawCoverScene(g, 10);  // the line is still in the path buffer when the box arrives
  korfin();
  Image im = renderPs("korvan.psc", 72);
  ASSERT_FALSE(im.empty());
  SheetPoint under = sheet(1200, 400), outside = sheet(700, 400);
  EXPECT_TRUE(hasColourNear(im, under.col, under.row, {0, 0, 255}, 0));
  EXPECT_TRUE(hasColourNear(im, outside.col, outside.row, {255, 0, 0}, 1));
  SheetPoint covered = sheet(2200, 1400), open = sheet(1000, 1400);
  EXPECT_TRUE(hasColourNear(im, covered.col, covered.row, {0, 0, 255}, 0));
  EXPECT_TRUE(hasColourNear(im, open.col, open.row, {255, 0, 0}, 1));
}

}  // namespace
}  // namespace korvan::test
