// A window-font string in a real window on an Xvfb server started here:
// the screenshot of the window (xwd) read back by OCR.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "korvan.h"
#include "platform/window_system.h"
#include "fonts/devfont_support.h"

namespace korvan::test {
namespace {

// An Xvfb server on a display it picks itself; its pid, or -1.
pid_t startXvfb(std::string& name) {
  int p[2];
  if (pipe(p) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    close(p[0]);
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    std::string fd = std::to_string(p[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
           "tcp", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(p[1]);
  std::string number;
  pollfd pf{p[0], POLLIN, 0};
  char c = 0;
  while (poll(&pf, 1, 15000) == 1 && read(p[0], &c, 1) == 1 && c != '\n') number += c;
  close(p[0]);
  if (c != '\n' || number.empty()) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
  }
  name = ":" + number;
  return pid;
}

class ScreenFontTest : public FontTest {
 protected:
  void SetUp() override {
    FontTest::SetUp();
    for (const char* tool : {"Xvfb", "xwd", "xwdtopnm", "convert", "tesseract"})
      if (!onPath(tool)) GTEST_SKIP() << "no " << tool;
    xvfb_ = startXvfb(display_);
    if (xvfb_ < 0) GTEST_SKIP() << "Xvfb did not start";
    platform::closeWindowSystem();
    setenv("DISPLAY", display_.c_str(), 1);
  }
  void TearDown() override {
    platform::closeWindowSystem();
    if (xvfb_ > 0) {
      kill(xvfb_, SIGTERM);
      waitpid(xvfb_, nullptr, 0);
    }
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
