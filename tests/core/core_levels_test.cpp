// The level machine, the range and keyword checks and korini/korfin.
#include <gtest/gtest.h>

#include "core/edition.h"
#include "core/state.h"
#include "korvan.h"
#include "support/plot_fixture.h"

using namespace korvan;
using korvan::test::PlotTest;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

class Levels : public PlotTest {};

TEST_F(Levels, FirstUseValues) {
  Global* g = jqqlev(0, 3, "test");
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->level, 0);
  EXPECT_EQ(g->device, 0);
  EXPECT_EQ(g->messageUnit, 6);
  EXPECT_EQ(g->messagesOn, 1);
  EXPECT_FLOAT_EQ(g->pageSizeX, 2969.0f);
  EXPECT_FLOAT_EQ(g->pageSizeY, 2099.0f);
  EXPECT_STREQ(g->pageFormat, "DA4L");
  EXPECT_FLOAT_EQ(g->unitScale, 1.0f);
  EXPECT_EQ(g->firstBgMode, -1);
  EXPECT_EQ(g->winDisplayMode, 2);
  EXPECT_EQ(g->pdfOptions, 1);
  EXPECT_EQ(g->cgmVersion, 1);
  EXPECT_EQ(qqsglb(0), 1);  // exists now
}

TEST_F(Levels, WrongLevelWarnsWithTheLevelAndDoesNothing) {
  CaptureStdout();
  pagorg("BOTTOM");  // level 0: refused
  metafl("GKSL");
  korini();
  metafl("PDF");  // level 1: refused
  std::string out = GetCapturedStdout();
  EXPECT_NE(out.find(" <<<< Warning   3: Incorrect level in pagorg!   (   0)\n"), std::string::npos);
  EXPECT_NE(out.find(" <<<< Warning   3: Incorrect level in metafl!   (   1)\n"), std::string::npos);
  Global& g = qqgglb();
  EXPECT_EQ(g.device, 201);
  EXPECT_EQ(g.origin, 0);
  EXPECT_EQ(g.warningCount, 1);  // the pagorg warning came before korini cleared the count
  CaptureStdout();
  korfin();
  korfin();  // second call is at level 0
  out = GetCapturedStdout();
  EXPECT_NE(out.find(" <<<< Warning   3: Incorrect level in korfin!   (   0)\n"), std::string::npos);
  EXPECT_EQ(g.level, 0);
  EXPECT_EQ(g.finished, 1);
}

TEST_F(Levels, KoriniWithoutMetaflTakesGksl) {
  CaptureStdout();
  korini();
  Global& g = qqgglb();
  EXPECT_EQ(g.level, 1);
  EXPECT_EQ(g.device, 201);
  EXPECT_STREQ(g.deviceName, "GKSL");
  EXPECT_EQ(g.pageWidth, 2969);
  EXPECT_EQ(g.pageHeight, 2099);
  EXPECT_EQ(g.winWidth, 853);
  EXPECT_EQ(g.winHeight, 603);
  EXPECT_EQ(g.clipXmax, 2969);
  EXPECT_EQ(g.clipYmax, 2099);
  EXPECT_EQ(g.symbolHeight, 36);
  EXPECT_EQ(g.bgMode, 0);
  EXPECT_EQ(g.firstBgMode, 0);
  EXPECT_EQ(g.axisLenX, 1980);
  EXPECT_EQ(g.axisLenY, 1400);
  EXPECT_EQ(g.axisPosX, 494);
  EXPECT_EQ(g.axisPosY, 1799);
  korfin();
  GetCapturedStdout();
  EXPECT_TRUE(exists("korvan.met"));
}

TEST_F(Levels, BackgroundModePerDevice) {
  for (const char* key : {"PDF", "EPS", "PS", "SVG"}) {
    qqsglb(1);
    CaptureStdout();
    metafl(key);
    korini();
    EXPECT_EQ(qqgglb().bgMode, 2) << key;
    korfin();
    GetCapturedStdout();
  }
  qqsglb(1);
  CaptureStdout();
  metafl("POST");
  korini();
  EXPECT_EQ(qqgglb().bgMode, 0);
  korfin();
  GetCapturedStdout();
}

TEST_F(Levels, SecondPlotInTheSameRun) {
  CaptureStdout();
  metafl("HPGL");
  korini();
  korfin();
  metafl("KYOC");  // level 0 again: allowed
  korini();
  EXPECT_EQ(qqgglb().device, 301);
  korfin();
  GetCapturedStdout();
  EXPECT_TRUE(exists("korvan.hpg"));
  EXPECT_TRUE(exists("korvan.kyo"));
}

TEST_F(Levels, LenientCheckGoesOn) {
  CaptureStdout();
  Global& g = chkini("dash");
  std::string out = GetCapturedStdout();
  EXPECT_EQ(&g, &qqgglb());
  EXPECT_EQ(out, " <<<< Warning   3: Incorrect level in dash!   (   0)\n");
}

TEST_F(Levels, RangeCheck) {
  Global& g = *jqqlev(0, 3, "hsymbl");
  CaptureStdout();
  EXPECT_TRUE(jqqval(g, 1, 1, 10000));
  EXPECT_TRUE(jqqval(g, 10000, 1, 10000));
  EXPECT_FALSE(jqqval(g, 0, 1, 10000));
  EXPECT_FALSE(jqqval(g, 10001, 1, 10000));
  EXPECT_TRUE(jqqval(g, 123456, 1, 0));  // max < min: no upper bound
  std::string out = GetCapturedStdout();
  EXPECT_EQ(out,
            " <<<< Warning   2: Incorrect parameter in hsymbl!   (   0)\n"
            " <<<< Warning   2: Incorrect parameter in hsymbl!   (10001)\n");
}

TEST_F(Levels, KeywordLookup) {
  Global& g = *jqqlev(0, 3, "pagorg");
  EXPECT_EQ(jqqfind("TOP +BOTT", 2, "bottom"), 2);
  EXPECT_EQ(jqqfind("TOP +BOTT", 2, "Top"), 1);
  EXPECT_EQ(jqqfind("TOP +BOTT", 2, "TOPS"), 0);  // "TOPS" is not "TOP "
  EXPECT_EQ(jqqfind("top +bott", 2, "BOTT"), 2);  // list entries are upper-cased
  EXPECT_EQ(jqqfind("TOP +BOTT", 1, "BOTT"), 0);  // only count entries are searched
  EXPECT_EQ(jqqfind("VGA +TEMP", 2, "vga"), 1);   // short keywords are blank padded
  CaptureStdout();
  EXPECT_EQ(jqqind(g, "TOP +BOTT", 2, "LEFT"), 0);
  EXPECT_EQ(GetCapturedStdout(), " <<<< Warning   2: Incorrect parameter in pagorg!   (LEFT)\n");
}

TEST_F(Levels, PagorgAtLevelOne) {
  CaptureStdout();
  korini();
  pagorg("bottom");
  EXPECT_EQ(qqgglb().origin, 1);
  pagorg("LEFT");
  EXPECT_EQ(qqgglb().origin, 1);
  pagorg("TOP");
  EXPECT_EQ(qqgglb().origin, 0);
  korfin();
  GetCapturedStdout();
}

TEST_F(Levels, VersionAndUser) {
  EXPECT_FLOAT_EQ(getver(), 8.3f);
  EXPECT_EQ(getplv(), 0);
  char user[8] = "xyz";
  gusrid(user);
  EXPECT_STREQ(user, "");
  char fuser[4] = {'a', 'b', 'c', 'd'};
  gusrid_(fuser, 4);
  EXPECT_EQ(std::string(fuser, 4), "    ");
}

TEST_F(Levels, ByAddressFormsCutKeywordsToFourCharacters) {
  CaptureStdout();
  metafl_("postscript-and-more", 19);  // "POST"
  EXPECT_EQ(qqgglb().device, 501);
  EXPECT_STREQ(qqgglb().deviceName, "POST");
  metafl_("cons", 4);
  EXPECT_EQ(qqgglb().device, 80);
  metafl_("GKSLxxxx", 2);  // only "GK" passed: not a keyword
  EXPECT_EQ(qqgglb().device, 80);
  std::string out = GetCapturedStdout();
  EXPECT_EQ(out, " <<<< Warning   2: Incorrect parameter in metafl!   (GK)\n");
}
