// Every output keyword runs a small plot from korini to korfin, and the
// protocol names the file that exists afterwards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/state.h"
#include "korvan.h"
#include "support/plot_fixture.h"

using namespace korvan;
using korvan::test::PlotTest;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

class EveryKeyword : public PlotTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(EveryKeyword, RunsAPlot) {
  unsetenv("DISPLAY");  // screen keywords draw off-screen and do not wait
  CaptureStdout();
  metafl(GetParam());
  korini();
  pagera();
  pagfll(30);
  color("RED");
  linwid(5);
  line(100, 100, 2800, 2000);
  arcell(1485, 1050, 400, 300, 0.0f, 360.0f, 30.0f);
  int n = 3;
  int xs[3] = {100, 600, 100}, ys[3] = {100, 100, 600};
  areaf(xs, ys, n);
  symbol(21, 1485, 1050);
  erase();
  sendbf();
  endgrf();
  std::string name = qqgglb().outFileName;
  int device = qqgglb().device;
  korfin();
  std::string out = GetCapturedStdout();
  EXPECT_EQ(qqgglb().level, 0);
  EXPECT_NE(out.find("END OF KORVAN"), std::string::npos);
  EXPECT_EQ(out.find("<<<< Warning"), std::string::npos) << out;
  std::size_t at = out.find("Metafile: ");
  ASSERT_NE(at, std::string::npos);
  bool named = out[at + 10] != ' ';
  if (device <= 100 || device == 603) {
    EXPECT_FALSE(named) << out;
    return;
  }
  // A file device names its file, which holds the plot; only the terminal
  // keywords, which have no driver, leave theirs empty.
  ASSERT_TRUE(named) << out;
  EXPECT_EQ(out.substr(at + 10, name.size() + 1), name + " ") << out;
  ASSERT_TRUE(exists(name)) << name;
  if (device > 200) {
    EXPECT_FALSE(slurp(name).empty()) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Keywords, EveryKeyword,
                         ::testing::Values("GKSL", "CGM", "KYOC", "HPGL", "HPA4", "HPA3", "HPA2",
                                           "HPA1", "CONS", "TEKT", "VT34", "LN03", "POST", "PSCL",
                                           "XWIN", "XWI1", "XWI8", "XWND", "MET3", "TIFF", "IMAG",
                                           "VIRT", "PNG", "JAVA", "WMF", "PPM", "PDF", "EPS", "BMP",
                                           "PS", "SVG", "GIF"));
