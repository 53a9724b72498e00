// SVG output: exact document frame and elements, well-formedness by
// xmllint, and the documents rendered by rsvg-convert.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
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

// Pixels per plot unit on the default page.
const float kS = std::min(852.0f / 2969.0f, 602.0f / 2099.0f);

int countOf(const std::string& s, const std::string& what) {
  int n = 0;
  for (std::size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
  return n;
}

// The point texts of all polyline elements (between the opening line feed
// and the closing quote).
std::vector<std::string> polylineTexts(const std::string& doc) {
  std::vector<std::string> out;
  const std::string open = "<polyline points=\"\n";
  for (std::size_t p = doc.find(open); p != std::string::npos; p = doc.find(open, p + 1)) {
    std::size_t from = p + open.size();
    std::size_t to = doc.find("\"/>", from);
    if (to == std::string::npos) break;
    out.push_back(doc.substr(from, to - from));
  }
  return out;
}

// The point lists of all polyline elements, as number pairs.
std::vector<std::vector<std::pair<double, double>>> polylines(const std::string& doc) {
  std::vector<std::vector<std::pair<double, double>>> out;
  for (const std::string& text : polylineTexts(doc)) {
    std::vector<std::pair<double, double>> v;
    double x, y;
    const char* p = text.c_str();
    int used = 0;
    while (std::sscanf(p, " %lf, %lf%n", &x, &y, &used) == 2) {
      v.push_back({x, y});
      p += used;
    }
    out.push_back(v);
  }
  return out;
}

class SvgTest : public PlotTest {
 protected:
  Global& start() {
    metafl("SVG");
    korini();
    Global& g = qqgglb();
    g.protocolOn = 0;
    return g;
  }
  // Ends the plot, checks the document with xmllint and returns it.
  std::string finish(const char* name = "korvan.svg") {
    korfin();
    EXPECT_TRUE(wellFormed(name)) << slurp(name);
    return slurp(name);
  }
  // The document after the frame's empty line, without the end tag.
  static std::string body(const std::string& doc) {
    std::size_t start = doc.find("\n\n");
    std::size_t end = doc.rfind("</svg>\n");
    if (start == std::string::npos || end == std::string::npos) return {};
    return doc.substr(start + 2, end - start - 2);
  }
  static void setColour(Global& g, int index, int rgb) {
    g.colourTable[index] = rgb;
    qqsclr(g, index);
  }
};

TEST_F(SvgTest, DocumentFrameIsExact) {
  start();
  std::string doc = maskDates(finish());
  const std::string head =
      "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"no\"?>\n"
      "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 20010904//EN\"\n"
      "  \"http://www.w3.org/TR/2001/REC-SVG-20010904/DTD/svg10.dtd\">\n"
      "<!-- Created by KORVAN (https://korvan.invalid/)\n"
      "Version:  8.3\n"
      "Date   : DD.MM.YYYY hh:mm:ss\n"
      "-->\n"
      "<svg width=\"853\" height=\"603\"\n"
      "  xmlns=\"http://www.w3.org/2000/svg\"\n"
      "  xmlns:xlink=\"http://www.w3.org/1999/xlink\">\n"
      "\n";
  ASSERT_GE(doc.size(), head.size());
  EXPECT_EQ(doc.substr(0, head.size()), head);
  // nothing was drawn: no background, no group, only the end
  EXPECT_EQ(doc.substr(head.size()), "</svg>\n");
  EXPECT_FLOAT_EQ(qqgglb().deviceScale, kS);
}

TEST_F(SvgTest, TwoPointsMakeALineAndMoreAPolyline) {
  Global& g = start();
  setColour(g, 10, 0xFF8000);
  xjdraw(g, 100.0f, 200.0f, 3);
  xjdraw(g, 400.0f, 200.0f, 2);
  xjdraw(g, 500.0f, 500.0f, 3);
  xjdraw(g, 600.0f, 500.0f, 2);
  xjdraw(g, 600.0f, 700.0f, 2);
  std::string b = body(finish());
  char expected[512];
  std::snprintf(expected, sizeof expected,
                "<g fill=\"none\" stroke=\"#ff8000\" stroke-width=\"1.000\">\n"
                "<line x1=\"%.2f\" y1=\"%.2f\" x2=\"%.2f\" y2=\"%.2f\"/>\n"
                "<polyline points=\"\n %.2f, %.2f %.2f, %.2f %.2f, %.2f\"/>\n"
                "</g>\n",
                100 * kS, 200 * kS, 400 * kS, 200 * kS, 500 * kS, 500 * kS, 600 * kS, 500 * kS,
                600 * kS, 700 * kS);
  EXPECT_EQ(b, expected);
}

TEST_F(SvgTest, PolylineOf120PointsIsWrittenAs50_50_22) {
  Global& g = start();
  xjdraw(g, 10.0f, 10.0f, 3);
  for (int k = 1; k < 120; ++k) xjdraw(g, 10.0f + 20.0f * k, 10.0f + (k % 7) * 30.0f, 2);
  auto pl = polylines(finish());
  ASSERT_EQ(pl.size(), 3u);
  EXPECT_EQ(pl[0].size(), 50u);
  EXPECT_EQ(pl[1].size(), 50u);
  EXPECT_EQ(pl[2].size(), 22u);
  EXPECT_EQ(pl[1].front(), pl[0].back());
  EXPECT_EQ(pl[2].front(), pl[1].back());
  EXPECT_NEAR(pl[2].back().first, 2390 * kS, 0.006);
}

TEST_F(SvgTest, TenPointPolylineHasOneLineFeedInItsPoints) {
  Global& g = start();
  xjdraw(g, 10.0f, 10.0f, 3);
  for (int k = 1; k < 10; ++k) xjdraw(g, 10.0f + 100.0f * k, 10.0f + 50.0f * k, 2);
  std::string doc = finish();
  std::vector<std::string> texts = polylineTexts(doc);
  ASSERT_EQ(texts.size(), 1u);
  const std::string& pts = texts[0];
  EXPECT_EQ(countOf(pts, "\n"), 1);
  // the line feed follows the fifth point
  std::size_t lf = pts.find('\n');
  EXPECT_EQ(countOf(pts.substr(0, lf), ","), 5);
}

TEST_F(SvgTest, DrawWithoutMoveStartsAtThePenPosition) {
  Global& g = start();
  xjdraw(g, 100.0f, 50.0f, 2);
  setColour(g, 3, 0x0000FF);
  xjdraw(g, 300.0f, 80.0f, 2);
  std::string b = body(finish());
  char first[128], second[128];
  std::snprintf(first, sizeof first, "<line x1=\"0.00\" y1=\"0.00\" x2=\"%.2f\" y2=\"%.2f\"/>",
                100 * kS, 50 * kS);
  std::snprintf(second, sizeof second, "<line x1=\"%.2f\" y1=\"%.2f\" x2=\"%.2f\" y2=\"%.2f\"/>",
                100 * kS, 50 * kS, 300 * kS, 80 * kS);
  EXPECT_NE(b.find(first), std::string::npos) << b;
  EXPECT_NE(b.find(second), std::string::npos) << b;
  EXPECT_LT(b.find(first), b.find("stroke=\"#0000ff\""));
}

TEST_F(SvgTest, LoneMoveBeforeAColourChangeLeavesAnEmptyGroup) {
  Global& g = start();
  setColour(g, 10, 0xFF0000);
  xjdraw(g, 100.0f, 100.0f, 3);
  setColour(g, 20, 0x00FF00);
  std::string b = body(finish());
  EXPECT_EQ(b, "<g fill=\"none\" stroke=\"#ff0000\" stroke-width=\"1.000\">\n</g>\n");
}

TEST_F(SvgTest, ColourChangesWithoutDrawingWriteNoGroup) {
  Global& g = start();
  setColour(g, 10, 0xFF0000);
  setColour(g, 20, 0x00FF00);
  setColour(g, 20, 0x00FF00);
  xjdraw(g, 100.0f, 100.0f, 3);
  xjdraw(g, 200.0f, 100.0f, 2);
  std::string b = body(finish());
  EXPECT_EQ(countOf(b, "<g "), 1);
  EXPECT_EQ(countOf(b, "</g>"), 1);
  EXPECT_NE(b.find("stroke=\"#00ff00\""), std::string::npos);
}

TEST_F(SvgTest, WidthChangeClosesTheGroupAndIsNotScaled) {
  Global& g = start();
  xjdraw(g, 100.0f, 100.0f, 3);
  xjdraw(g, 200.0f, 100.0f, 2);
  qqstrk(g);
  g.driver->width(g, 3);
  EXPECT_EQ(g.lineWidth, -3);
  xjdraw(g, 100.0f, 300.0f, 3);
  xjdraw(g, 200.0f, 300.0f, 2);
  std::string b = body(finish());
  std::size_t first = b.find("stroke-width=\"1.000\"");
  std::size_t close = b.find("</g>");
  std::size_t second = b.find("stroke-width=\"3.000\"");
  ASSERT_NE(second, std::string::npos) << b;
  EXPECT_LT(first, close);
  EXPECT_LT(close, second);
  EXPECT_EQ(countOf(b, "<line "), 2);
}

TEST_F(SvgTest, RectAndPolygonElements) {
  Global& g = start();
  g.colourTable[44] = 0x0A141E;
  dbox(g, 100, 200, 400, 500, 300);  // index 300 is entry 44
  setColour(g, 5, 0xABCDEF);
  g.shiftX = 10;
  const float xs[] = {100, 300, 200, 150, 120, 110};
  const float ys[] = {100, 100, 400, 300, 200, 150};
  xjpoly(g, xs, ys, 6);
  std::string b = body(finish());
  char rect[256];
  std::snprintf(rect, sizeof rect,
                "<rect x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"%.2f\"\n"
                " fill=\"#0a141e\" stroke=\"none\"/>\n",
                100 * kS, 200 * kS, (400 * kS - 100 * kS) + 1, (500 * kS - 200 * kS) + 1);
  EXPECT_NE(b.find(rect), std::string::npos) << b;
  std::string poly = "<polygon fill=\"#abcdef\" points=\"\n";
  for (int k = 0; k < 6; ++k) {
    char p[64];
    std::snprintf(p, sizeof p, " %.2f, %.2f", (xs[k] + 10) * kS, ys[k] * kS);
    poly += p;
    if (k == 4) poly += "\n";
  }
  poly += "\"/>\n";
  EXPECT_NE(b.find(poly), std::string::npos) << b;
  // the rectangle opened a group in the old colour; the colour change closed
  // it and the polygon opened the next one
  EXPECT_EQ(countOf(b, "<g "), 2);
  EXPECT_LT(b.find("<g "), b.find("<rect"));
  EXPECT_LT(b.find("</g>"), b.find("<polygon"));
}

TEST_F(SvgTest, DocumentEndsWithTheGroupClosed) {
  Global& g = start();
  xjdraw(g, 100.0f, 100.0f, 3);
  xjdraw(g, 200.0f, 100.0f, 2);
  xjdraw(g, 300.0f, 300.0f, 2);
  std::string doc = finish();
  const std::string end = "\"/>\n</g>\n</svg>\n";
  ASSERT_GE(doc.size(), end.size());
  EXPECT_EQ(doc.substr(doc.size() - end.size()), end);
  EXPECT_EQ(countOf(doc, "<g "), countOf(doc, "</g>"));
}

// ---- rendered by rsvg-convert ----

TEST_F(SvgTest, RsvgRendersLinesBoxesAndPolygons) {
  Global& g = start();
  test::drawDeviceScene(g, 4);
  // a long polyline in pieces of 50 points: a diagonal without gaps
  qqsclr(g, 20);
  xjdraw(g, 200.0f, 1900.0f, 3);
  for (int k = 1; k <= 130; ++k) xjdraw(g, 200.0f + 10.0f * k, 1900.0f - 5.0f * k, 2);
  finish();
  Image im = renderSvg("korvan.svg");
  ASSERT_FALSE(im.empty());
  ASSERT_EQ(im.width, 853);
  ASSERT_EQ(im.height, 603);
  const Rgb red{255, 0, 0}, blue{0, 0, 255}, green{0, 192, 0}, white{255, 255, 255};
  auto at = [&](double x, double y, Rgb c, const char* what) {
    EXPECT_TRUE(hasColourNear(im, x * kS, y * kS, c, 1)) << what << " at plot " << x << "," << y;
  };
  at(500, 400, red, "line");
  at(2500, 400, red, "line");
  at(1500, 470, white, "beside the line");
  at(1200, 1150, blue, "box");
  at(1200, 1550, white, "below the box");
  at(2200, 1233, green, "triangle");
  at(1850, 1650, white, "outside the triangle");
  for (int k = 5; k <= 125; k += 10)
    at(200 + 10.0 * k, 1900 - 5.0 * k, blue, "polyline");
  at(900, 1900, white, "below the polyline");
}

TEST_F(SvgTest, DocumentsOfSeveralPlotsAreWellFormed) {
  for (int plot = 0; plot < 3; ++plot) {
    Global& g = start();
    for (int k = 0; k < 200; ++k) {
      xjdraw(g, static_cast<float>(k * 17 % 2969), static_cast<float>(k * 11 % 2099),
             k % 7 ? 2 : 3);
      if (k % 23 == 0) setColour(g, k % 256, k * 997);
      if (k % 41 == 0) {
        qqstrk(g);
        g.driver->width(g, 1 + k % 5);
      }
      if (k % 31 == 0) dbox(g, k, k, k + 100, k + 50, k);
    }
    std::string name = plot == 0 ? "korvan.svg" : "korvan_" + std::to_string(plot) + ".svg";
    std::string doc = finish(name.c_str());
    EXPECT_EQ(countOf(doc, "<g "), countOf(doc, "</g>"));
    EXPECT_FALSE(renderSvg(name).empty());
  }
}

TEST_F(SvgTest, PublicRoutinesDrawThePlot) {
  start();
  test::drawLineAndTriangle(5);
  std::string doc = finish();
  EXPECT_NE(doc.find("stroke=\"#ff0000\" stroke-width=\"5.000\""), std::string::npos) << doc;
  EXPECT_NE(doc.find("<polygon fill=\"#0000ff\""), std::string::npos) << doc;
  Image im = renderSvg("korvan.svg");
  ASSERT_FALSE(im.empty());
  EXPECT_TRUE(hasColourNear(im, 1500 * kS, 400 * kS, {255, 0, 0}, 1));
  EXPECT_TRUE(hasColourNear(im, 1500 * kS, 470 * kS, {255, 255, 255}, 1));
  EXPECT_TRUE(hasColourNear(im, 2200 * kS, 1233 * kS, {0, 0, 255}, 1));
  EXPECT_TRUE(hasColourNear(im, 1850 * kS, 1650 * kS, {255, 255, 255}, 1));
}

TEST_F(SvgTest, BoxesAndPolygonsCoverWhatWasDrawnBefore) {
  Global& g = start();
  test::drawCoverScene(g, 5);  // the line is still in the point buffer when the box arrives
  finish();
  Image im = renderSvg("korvan.svg");
  ASSERT_FALSE(im.empty());
  EXPECT_TRUE(hasColourNear(im, 1200 * kS, 400 * kS, {0, 0, 255}, 0));
  EXPECT_TRUE(hasColourNear(im, 700 * kS, 400 * kS, {255, 0, 0}, 1));
  EXPECT_TRUE(hasColourNear(im, 2200 * kS, 1400 * kS, {0, 0, 255}, 0));
  EXPECT_TRUE(hasColourNear(im, 1000 * kS, 1400 * kS, {255, 0, 0}, 1));
}

}  // namespace
}  // namespace korvan::test
