// The device dispatch and the point records of the text formats.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "core/state.h"
#include "draw/device_ops.h"
#include "devices/dispatch.h"
#include "devices/driver.h"
#include "devices/sheet.h"
#include "draw/pipeline.h"
#include "korvan.h"
#include "support/plot_fixture.h"
#include "support/recording_driver.h"

using namespace korvan;
using korvan::test::PlotTest;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

namespace {

// The file of a plot made on device `key` by `draw`.
template <class F>
std::string plot(const char* key, F draw) {
  CaptureStdout();
  metafl(key);
  korini();
  draw(qqgglb());
  std::string file = PlotTest::endAndRead();
  GetCapturedStdout();
  return file;
}

}  // namespace

using korvan::test::Event;

class Dispatch : public korvan::test::RecordingTest {
 protected:
  Global& begin() {
    start();
    return G();
  }
};

TEST_F(Dispatch, EveryPointIsCountedMovesToo) {
  Global& g = begin();
  int before = g.vectorCount;
  xjdraw(g, 1, 2, 3);
  xjdraw(g, 3, 4, 2);
  xjdraw(g, 5, 6, 9);
  EXPECT_EQ(g.vectorCount - before, 3);
  ASSERT_EQ(rec->events.size(), 3u);
  EXPECT_EQ(rec->events[2].mode, 9);  // other modes pass through
}

TEST_F(Dispatch, BoxIsShiftedAndClipped) {
  Global& g = begin();
  g.shiftX = 10;
  g.shiftY = 20;
  dbox(g, -50, -50, 100, 100, 300);
  dbox(g, 3000, 0, 3100, 10, 1);  // wholly right of the page
  dbox(g, 0, 2100, 10, 2200, 1);  // wholly below
  g.clipXmin = 50;
  g.clipYmax = 60;
  dbox(g, 0, 0, 100, 100, 5);
  const auto& calls = rec->events;
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].kind, Event::Box);
  EXPECT_FLOAT_EQ(calls[0].x, 0);
  EXPECT_FLOAT_EQ(calls[0].y, 0);
  EXPECT_FLOAT_EQ(calls[0].x2, 110);
  EXPECT_FLOAT_EQ(calls[0].y2, 120);
  EXPECT_EQ(calls[0].value, 44);  // the index wraps round the table
  EXPECT_FLOAT_EQ(calls[1].x, 50);
  EXPECT_FLOAT_EQ(calls[1].y, 20);
  EXPECT_FLOAT_EQ(calls[1].x2, 110);
  EXPECT_FLOAT_EQ(calls[1].y2, 60);
}

TEST_F(Dispatch, PolygonsOnlyWhereTheDriverTakesThem) {
  Global& g = begin();
  float xs[300], ys[300];
  for (int i = 0; i < 300; ++i) {
    xs[i] = static_cast<float>(i);
    ys[i] = static_cast<float>(2 * i);
  }
  xjpoly(g, xs, ys, 300);
  EXPECT_TRUE(rec->events.empty());
  rec->acceptPolygons = true;
  g.shiftX = 5;
  g.shiftY = 7;
  xjpoly(g, xs, ys, 300);
  ASSERT_EQ(rec->polys.size(), 1u);
  const auto& p = rec->polys[0];
  ASSERT_EQ(p.x.size(), 300u);
  EXPECT_FLOAT_EQ(p.x[0], 5);
  EXPECT_FLOAT_EQ(p.y[0], 7);
  EXPECT_FLOAT_EQ(p.x[299], 304);
  EXPECT_FLOAT_EQ(p.y[299], 605);
}

TEST_F(Dispatch, EraseAndSendFlushThePendingStroke) {
  Global& g = begin();
  qqmove(g, 10, 10);
  qqdraw(g, 20, 20);
  sendbf();
  const auto& calls = rec->events;
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].kind, Event::Point);
  EXPECT_EQ(calls[1].kind, Event::Point);
  EXPECT_EQ(calls[2].kind, Event::Flush);
  qqmove(g, 1, 1);
  qqdraw(g, 2, 2);
  erase();
  EXPECT_EQ(calls.back().kind, Event::Erase);
  EXPECT_EQ(calls.size(), 6u);
  winupd();  // not a screen device: nothing
  EXPECT_EQ(calls.size(), 6u);
}

TEST(DeviceTransform, BothSurfacesUprightAndTurned) {
  Global g{};
  g.pageWidth = 3000;
  g.pageHeight = 2000;
  g.deviceScale = 0.5f;
  struct Case {
    int rotation;
    float downX, downY, sheetX, sheetY;
    int pageW, pageH;
  } cases[] = {{0, 50, 20, 50, 980, 3000, 2000}, {1, 20, 1450, 20, 50, 2000, 3000},
               {2, 50, 20, 50, 980, 3000, 2000}};
  for (const Case& c : cases) {
    g.rotation = c.rotation;
    float X, Y;
    qqdown(g, 100, 40, X, Y);
    EXPECT_FLOAT_EQ(X, c.downX) << c.rotation;
    EXPECT_FLOAT_EQ(Y, c.downY) << c.rotation;
    qqsheet(g, g.rotation == 1, 100, 40, X, Y);
    EXPECT_FLOAT_EQ(X, c.sheetX) << c.rotation;
    EXPECT_FLOAT_EQ(Y, c.sheetY) << c.rotation;
    int w, h;
    qqdevpage(g, w, h);
    EXPECT_EQ(w, c.pageW) << c.rotation;
    EXPECT_EQ(h, c.pageH) << c.rotation;
  }
  // Across the portrait sheet only a wider page that rotation 2 does not hold.
  g.rotation = 0;
  EXPECT_TRUE(qqsheetTurned(g));
  g.rotation = 2;
  EXPECT_FALSE(qqsheetTurned(g));
  g.rotation = 0;
  std::swap(g.pageWidth, g.pageHeight);
  EXPECT_FALSE(qqsheetTurned(g));
}

class Records : public PlotTest {};

TEST_F(Records, GkslPointsAndModeFields) {
  std::string f = plot("GKSL", [](Global& g) {
    xjdraw(g, 0, 0, 3);
    xjdraw(g, 2969, 0, 2);
    xjdraw(g, 2969, 2099, 2);
  });
  // header, then: move field once, draw field once, colour fields, end code
  EXPECT_EQ(f.substr(0, 21), "      29.7      21.0\n");
  std::string lines = f.substr(21);
  std::string body;
  for (char c : lines)
    if (c != '\n') body += c;
  std::string expect_pts =
      " 0.0000000 0.7069721 3.0000000 1.0000000 0.7069721 2.0000000 1.0000000 0.0000000";
  EXPECT_NE(body.find(expect_pts), std::string::npos) << body;
  EXPECT_EQ(body.find(" 2.0000000", body.find(expect_pts) + expect_pts.size()), std::string::npos)
      << "the draw field is written once for consecutive draws";
  EXPECT_EQ(body.substr(body.size() - 10), " 9.0000000");
  EXPECT_EQ(lines.find('\n'), 80u);  // eight fields a line
}

TEST_F(Records, GkslFieldsAreEightToALineAfterAnOddCount) {
  std::string f = plot("GKSL", [](Global&) { pagera(); });
  EXPECT_EQ(f,
            "      29.7      21.0\n"
            "99.000000099.000000086.0000000 0.0000000 0.7069721 3.0000000 0.0000000 0.0000000\n"
            " 2.0000000 1.0000000 0.0000000 1.0000000 0.7069721 0.0000000 0.7069721 0.0000000\n"
            " 0.7069721 3.0000000 9.0000000\n");
}

TEST_F(Records, GkslColourFields) {
  // The fields of one colour call, put on a line of their own (the file's
  // second line holds korini's colour).
  auto colourLine = [](int index) {
    std::string f = plot("GKSL", [index](Global& g) {
      qqflbf(g);
      g.driver->colour(g, index);
      g.currentColour = index;
      qqflbf(g);
    });
    std::size_t from = f.find('\n', f.find('\n') + 1) + 1;
    return f.substr(from, f.find('\n', from) - from);
  };
  EXPECT_EQ(colourLine(1), "10.0000000");
  EXPECT_EQ(colourLine(89), "98.0000000");
  EXPECT_EQ(colourLine(90), "99.000000010.0000000");
  EXPECT_EQ(colourLine(0), "99.000000099.000000087.0000000");
}

TEST_F(Records, HpglPoints) {
  std::string f = plot("HPGL", [](Global& g) {
    xjdraw(g, 30, 1097.5f, 3);
    xjdraw(g, 0.1f, 2099, 2);
  });
  EXPECT_EQ(f.substr(0, 6), " SP1;\n");
  EXPECT_NE(f.find("PU120,4006;PD0,0;"), std::string::npos) << f;
  EXPECT_EQ(f.find("PD 0"), std::string::npos);
  EXPECT_EQ(f.substr(f.size() - 7), "PU0,0;\n");
}

TEST_F(Records, HpglPenSelectOncePerColour) {
  std::string f = plot("HPGL", [](Global& g) {
    g.driver->colour(g, 3);
    g.currentColour = 3;
    g.driver->colour(g, 3);
  });
  std::size_t first = f.find("SP3;");
  ASSERT_NE(first, std::string::npos);
  EXPECT_EQ(f.find("SP3;", first + 1), std::string::npos);
}

TEST_F(Records, HpglPaperSizesScaleToTheirArea) {
  CaptureStdout();
  metafl("HPA4");
  korini();
  EXPECT_FLOAT_EQ(qqgglb().deviceScale, 7600.0f / 2099.0f);
  korfin();
  metafl("HPA1");
  korini();
  EXPECT_FLOAT_EQ(qqgglb().deviceScale, 4.0f);
  korfin();
  GetCapturedStdout();
}

TEST_F(Records, KyocPointsAndPatternBoxes) {
  std::string f = plot("KYOC", [](Global& g) {
    xjdraw(g, 0, 0, 3);
    xjdraw(g, 100, 50, 2);  // dots: 3390 / 2969 and 2362 / 2099 bound the scale
    dbox(g, 0, 0, 100, 100, 10);  // last digit 0: nothing
    dbox(g, 0, 0, 100, 100, 19);  // pattern 9
  });
  EXPECT_EQ(f.substr(0, 52), "!R! UNIT C;SPO L;SLM 0;SRM 28.7;STM 0;SBM 20;UNIT D;");
  EXPECT_NE(f.find("MAP    0,   0;DAP  113,  56;"), std::string::npos) << f;
  EXPECT_EQ(f.find("FPAT 128"), std::string::npos);
  EXPECT_NE(f.find("MAP    0,   0; "), std::string::npos);
  EXPECT_NE(f.find("FPAT 255,255,255,255,255,255,255,255; "), std::string::npos);
  EXPECT_NE(f.find("BLK  114, 114;"), std::string::npos);
  EXPECT_EQ(f.substr(f.size() - 10), "RES;EXIT;\n");
}

TEST_F(Records, KyocLinesBreakBetweenTheFieldsOfAPoint) {
  std::string f = plot("KYOC", [](Global&) {
    for (int i = 0; i < 5; ++i) line(100 + 100 * i, 200, 150 + 100 * i, 300);
  });
  EXPECT_EQ(f,
            "!R! UNIT C;SPO L;SLM 0;SRM 28.7;STM 0;SBM 20;UNIT D;MAP  113, 225;DAP  169, 338;\n"
            "MAP  225, 225;DAP  281, 338;MAP  338, 225;DAP  394, 338;MAP  450, 225;DAP  506,\n"
            " 338;MAP  563, 225;DAP  619, 338;RES;EXIT;\n");
}

TEST_F(Records, PageFillColoursWrapRoundTheTable) {
  struct {
    const char* key;
    int colour;
    const char* written;
    const char* unreduced;
  } cases[] = {
      {"HPGL", 300, "SP44;", "SP300;"},
      {"HPGL", -2, "SP254;", "SP-"},
      {"KYOC", 300, "FPAT 128,  8,  0,  0, 64,  4,  0,  0; ", nullptr},  // 44: pattern 4
      {"KYOC", -1, "FPAT 128, 16,  2,  0, 32,  0,  8,  1; ", nullptr},   // 255: pattern 5
      {"GKSL", -300, "99.000000099.000000043.0000000", "-"},              // 212
  };
  for (const auto& c : cases) {
    std::string f = plot(c.key, [&](Global&) { pagfll(c.colour); });
    std::string body;
    for (char ch : f)
      if (ch != '\n') body += ch;
    EXPECT_NE(body.find(c.written), std::string::npos) << c.key << " " << c.colour << "\n" << f;
    if (c.unreduced) {
      EXPECT_EQ(body.find(c.unreduced), std::string::npos) << c.key << "\n" << f;
    }
    if (std::string(c.key) != "GKSL") continue;
    for (std::size_t at = f.find('\n') + 1, end; (end = f.find('\n', at)) != std::string::npos;
         at = end + 1)
      EXPECT_EQ((end - at) % 10, 0u) << "a field out of the 10-column grid:\n" << f;
  }
}

TEST_F(Records, ZigzagFillOnTheMetafile) {
  CaptureStdout();
  korini();
  Global& g = qqgglb();
  int before = g.vectorCount;
  dbox(g, 0, 0, 10, 7, 255);
  // move + first edge, then two points for each of the 5 rows at 1.4 steps
  EXPECT_EQ(g.vectorCount - before, 2 + 2 * 5);
  korfin();
  GetCapturedStdout();
}

// A batch of draws (xjdraws) writes what the same draws one by one write,
// on every driver that takes batches and on one that does not; the vectors
// are counted alike.
class DispatchBatch : public PlotTest {};

TEST_F(DispatchBatch, ADrawBatchWritesWhatSingleDrawsWrite) {
  std::vector<float> xs, ys;
  for (int i = 0; i < 537; ++i) {
    xs.push_back(100.0f + 4.7f * static_cast<float>(i));
    ys.push_back(1000.0f + 700.0f * std::sin(0.05f * static_cast<float>(i)));
  }
  // the creation date and time are the only lines that may differ
  auto undated = [](const std::string& f) {
    std::string out, line;
    std::istringstream in(f);
    while (std::getline(in, line))
      if (line.find("Date") == std::string::npos) out += line + "\n";
    return out;
  };
  for (const char* key : {"PS", "PSCL", "SVG", "PPM", "PDF", "HPGL", "GKSL"}) {
    int vectors[2] = {};
    std::string file[2];
    for (int batch = 0; batch <= 1; ++batch) {
      file[batch] = plot(key, [&](Global& g) {
        g.protocolOn = 0;
        xjdraw(g, xs[0], ys[0], 3);
        if (batch) {
          xjdraws(g, xs.data() + 1, ys.data() + 1, 200);
          xjdraw(g, 50.0f, 50.0f, 3);
          xjdraws(g, xs.data() + 201, ys.data() + 201, static_cast<int>(xs.size()) - 201);
        } else {
          for (int i = 1; i <= 200; ++i) xjdraw(g, xs[i], ys[i], 2);
          xjdraw(g, 50.0f, 50.0f, 3);
          for (std::size_t i = 201; i < xs.size(); ++i) xjdraw(g, xs[i], ys[i], 2);
        }
        vectors[batch] = g.vectorCount;
      });
    }
    EXPECT_GT(file[0].size(), 1000u) << key;
    EXPECT_EQ(undated(file[0]), undated(file[1])) << key;
    EXPECT_EQ(vectors[0], vectors[1]) << key;
  }
}
