// Warning lines and the end-of-run protocol, byte for byte.
#include <gtest/gtest.h>

#include <cstring>

#include "core/state.h"
#include "korvan.h"
#include "support/plot_fixture.h"

using namespace korvan;
using korvan::test::PlotTest;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

class Protocol : public PlotTest {
 protected:
  Global& block() { return *jqqlev(0, 3, "xaxgit"); }
};

const char kBar[] = " <<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<";

TEST_F(Protocol, WarningForms) {
  Global& g = block();
  CaptureStdout();
  warnin(g, 36);
  warni1(g, 3, 1);
  warnc1(g, 2, "LEFT");
  qqserr(g, "ZLIB error");
  warnin(g, 101);
  std::string out = GetCapturedStdout();
  EXPECT_EQ(out,
            " <<<< Warning  36: File error in xaxgit!\n"
            " <<<< Warning   3: Incorrect level in xaxgit!   (   1)\n"
            " <<<< Warning   2: Incorrect parameter in xaxgit!   (LEFT)\n"
            " <<<< Warning 101: ZLIB error in xaxgit!\n");
  EXPECT_EQ(g.warningCount, 4);
}

TEST_F(Protocol, OutOfTableNumbers) {
  Global& g = block();
  CaptureStdout();
  warnin(g, 0);
  warnin(g, 59);
  std::string out = GetCapturedStdout();
  EXPECT_EQ(out,
            "<<<< Incorrect parameter in errmes! (   0)\n"
            " <<<< Warning   0:   in xaxgit!\n"
            "<<<< Incorrect parameter in errmes! (  59)\n"
            " <<<< Warning  59:   in xaxgit!\n");
}

TEST_F(Protocol, SilentMessagesStillCount) {
  Global& g = block();
  g.messagesOn = 0;
  CaptureStdout();
  warnin(g, 2);
  warni1(g, 2, 5);
  EXPECT_EQ(GetCapturedStdout(), "");
  EXPECT_EQ(g.warningCount, 2);
  g.messagesOn = 1;
  g.messageUnit = 0;
  CaptureStdout();
  warnin(g, 2);
  EXPECT_EQ(GetCapturedStdout(), "");
  EXPECT_EQ(g.warningCount, 3);
}

TEST_F(Protocol, TableTexts) {
  Global& g = block();
  struct {
    int n;
    const char* text;
  } cases[] = {{1, "Negative parameter"},
               {20, "No metafile"},
               {39, "Too many pages for CGM file (max. length 327 cm)"},
               {53, "Not enough memory"},
               {58, "Array is out of screen"}};
  for (auto& c : cases) {
    errmes(g, c.n);
    EXPECT_STREQ(g.lastError, c.text) << c.n;
  }
}

TEST_F(Protocol, BoxedProtocolForAScreenPlot) {
  Global& g = block();
  g.protocolOn = 1;
  g.vectorCount = 1234;
  g.warningCount = 1;
  std::strcpy(g.deviceName, "CONS");
  CaptureStdout();
  dprcol(g, 0);
  std::string out = masked(GetCapturedStdout());
  std::string want = std::string("\n") + kBar +
                     "\n <<                END OF KORVAN / VERSION  8.3                  <<"
                     "\n <<  Date    : DD.MM.YYYY  Time    : hh:mm:ss  Pageformat: DA4L  <<"
                     "\n <<  Vectors : 1234        Warnings: 1         Fileformat: CONS  <<"
                     "\n <<  Metafile:                                                   <<"
                     "\n" + kBar + "\n\n";
  EXPECT_EQ(out, want);
}

TEST_F(Protocol, BoxedProtocolWithFiles) {
  Global& g = block();
  g.protocolOn = 1;
  std::strcpy(g.deviceName, "PS");
  std::strcpy(g.outFileName, "korvan_1.ps");
  std::strcpy(g.errFileName, "korvan.err");
  CaptureStdout();
  dprcol(g, 11);
  std::string both = masked(GetCapturedStdout());
  EXPECT_NE(both.find("\n <<  Vectors : 0           Warnings: 0         Fileformat:   PS  <<"),
            std::string::npos);
  EXPECT_NE(both.find("\n <<  Metafile: korvan_1.ps                                       <<"
                      "\n <<  Err-file: korvan.err                                        <<\n"),
            std::string::npos);
  CaptureStdout();
  dprcol(g, 10);  // error file only
  std::string err = GetCapturedStdout();
  EXPECT_EQ(err.find("Metafile"), std::string::npos);
  EXPECT_NE(err.find("Err-file: korvan.err"), std::string::npos);
  // every line of the box has the same width
  std::size_t start = 1;
  while (start < both.size()) {
    std::size_t end = both.find('\n', start);
    if (end == std::string::npos || end == start) break;
    EXPECT_EQ(end - start, 67u) << both.substr(start, end - start);
    start = end + 1;
  }
}

TEST_F(Protocol, LongNamesAreCutTo48Characters) {
  Global& g = block();
  g.protocolOn = 1;
  std::strcpy(g.outFileName, "a_very_long_output_file_name_that_goes_on_and_on_and_on.met");
  CaptureStdout();
  dprcol(g, 1);
  std::string out = GetCapturedStdout();
  EXPECT_NE(out.find(" <<  Metafile: a_very_long_output_file_name_that_goes_on_and_on  <<"),
            std::string::npos);
}

TEST_F(Protocol, NoProtocolWhenSwitchedOff) {
  Global& g = block();
  g.protocolOn = 0;
  CaptureStdout();
  dprcol(g, 1);
  qqmprc(g, 1);
  EXPECT_EQ(GetCapturedStdout(), "");
}

TEST_F(Protocol, LineProtocol) {
  Global& g = block();
  g.protocolOn = 1;
  g.vectorCount = 7;
  std::strcpy(g.deviceName, "CONS");
  CaptureStdout();
  qqmprc(g, 0);
  std::string out = masked(GetCapturedStdout());
  EXPECT_EQ(out,
            "           END OF KORVAN / VERSION  8.3  \n "
            "\n Date          : DD.MM.YYYY"
            "\n Time          : hh:mm:ss"
            "\n Pageformat: DA4L"
            "\n Vectors      : 7"
            "\n Warnings  : 0"
            "\n Fileformat  : CONS\n");
}

TEST_F(Protocol, DateAndTimeFormats) {
  std::string d = dddate(), t = ddtime();
  EXPECT_EQ(d.size(), 10u);
  EXPECT_EQ(d[2], '.');
  EXPECT_EQ(d[5], '.');
  EXPECT_EQ(t.size(), 8u);
  EXPECT_EQ(t[2], ':');
  EXPECT_EQ(t[5], ':');
}

TEST_F(Protocol, GuiModeWritesTheErrorFileAndTheLineProtocol) {
  CaptureStdout();
  winini();
  metafl("HPGL");
  korini();
  pagorg("LEFT");  // goes to the error file
  korfin();
  std::string out = GetCapturedStdout();
  EXPECT_EQ(out.find("<<<< Warning"), std::string::npos);
  EXPECT_NE(out.find("\n Metafile     : korvan.hpg"), std::string::npos);
  EXPECT_NE(out.find("\n Error file    : korvan.err"), std::string::npos);
  EXPECT_EQ(slurp("korvan.err"), " <<<< Warning   2: Incorrect parameter in pagorg!   (LEFT)\n");
}

TEST_F(Protocol, GuiModeDeletesAnEmptyErrorFile) {
  CaptureStdout();
  winini();
  metafl("HPGL");
  korini();
  korfin();
  std::string out = GetCapturedStdout();
  EXPECT_FALSE(exists("korvan.err"));
  EXPECT_EQ(out.find("Error file"), std::string::npos);
}
