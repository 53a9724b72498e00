// A window-font string in a real window on an Xvfb server started here:
// the screenshot of the window (xwd) read back by OCR.
#include <gtest/gtest.h>

#include <string>

#include "korvan.h"
#include "support/xvfb.h"
#include "platform/window_system.h"
#include "fonts/devfont_support.h"

namespace korvan::test {
namespace {

class ScreenFontTest : public FontTest {
 protected:
  void SetUp() override {
    FontTest::SetUp();
    for (const char* tool : {"Xvfb", "xwd", "xwdtopnm", "convert", "tesseract"})
      if (!onPath(tool)) GTEST_SKIP() << "no " << tool;
    xvfb_ = testsupport::startXvfb("1024x768x24", display_);
    if (xvfb_ < 0) GTEST_SKIP() << "Xvfb did not start";
    platform::closeWindowSystem();
    setenv("DISPLAY", display_.c_str(), 1);
  }
  void TearDown() override {
    platform::closeWindowSystem();
    testsupport::stopXvfb(xvfb_);
    FontTest::TearDown();
  }
  pid_t xvfb_ = -1;
  std::string display_;
};

TEST_F(ScreenFontTest, WindowFontStringIsSeenInTheScreenshot) {
  metafl("CONS");
  korini();
  Global& g = qqgglb();
  height(100);
  winfnt("DejaVu Sans");
  ASSERT_EQ(g.devFontMode, 2);
  messag("Plotting", 400, 900);
  endgrf();
  int which = 2, id = 0;
  qqwext(&which, &id);
  ASSERT_NE(id, 0);
  ASSERT_TRUE(shell("xwd -display " + display_ + " -silent -id " + std::to_string(id) +
                    " | xwdtopnm > shot.ppm"));
  // White on black in the window: inverted for the reader.
  EXPECT_EQ(ocr("shot.ppm", "-crop 700x120+100+260 -negate"), "Plotting");
  g.winEndMode = 3;  // closes the window at once
  korfin();
}

}  // namespace
}  // namespace korvan::test
