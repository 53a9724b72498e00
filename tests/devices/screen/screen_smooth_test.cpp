// Smooth drawing in a real window on an Xvfb server: a screenshot of the
// window shows what the smooth image file of the same frame holds. The plot
// runs in a child process (the window waits for no one: end mode 3).
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/state.h"
#include "devices/raster/raster_driver.h"
#include "devices/screen/screen_driver.h"
#include "draw/colour.h"
#include "korvan.h"
#include "support/files.h"
#include "support/scenes.h"
#include "support/xvfb.h"

using namespace korvan;

namespace {

pid_t xvfb = -1;
std::string display;

struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
};

class ScreenSmooth : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!test::onPath("Xvfb") || !test::onPath("xwd") || !test::onPath("xwdtopnm")) return;
    xvfb = testsupport::startXvfb("1024x768x24", display);
    if (xvfb > 0) setenv("DISPLAY", display.c_str(), 1);
  }
  static void TearDownTestSuite() { testsupport::stopXvfb(xvfb); }
  void SetUp() override {
    if (display.empty()) GTEST_SKIP() << "no Xvfb, xwd and xwdtopnm";
    char tmpl[] = "/tmp/korvan-smooth-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
  }
  std::string dir_;
};

// The frame: the test page on a white page.
void frame() {
  pagfll(0);
  test::drawSmoothPage();
  sendbf();
}

TEST_F(ScreenSmooth, WindowShowsWhatTheImageFileOfTheFrameHolds) {
  int up[2], down[2];
  ASSERT_EQ(pipe(up), 0);
  ASSERT_EQ(pipe(down), 0);
  pid_t child = fork();
  if (child == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    alarm(60);
    if (chdir(dir_.c_str()) != 0 || !std::freopen("out.txt", "w", stdout)) _exit(3);
    qqsglb(1);
    pagbkg("WHIT");
    smooth("ON");
    metafl("CONS");
    korini();
    frame();
    ScreenSlotInfo info{};
    qqwinf(qqwcur(), &info);
    std::ofstream("window.txt") << info.nativeId << ' ' << info.width << ' ' << info.height << ' '
                                << qqwmod() << '\n';
    char c = 'r';
    (void)!write(up[1], &c, 1);
    (void)!read(down[0], &c, 1);
    qqgglb().winEndMode = 3;  // closes at once
    korfin();
    // The same frame into an image file of the window's drawing area.
    qqvopt(0, info.width, info.height);
    metafl("PPM");
    korini();
    frame();
    korfin();
    std::fflush(nullptr);
    _exit(0);
  }
  ASSERT_GT(child, 0);
  close(up[1]);
  close(down[0]);
  pollfd p{up[0], POLLIN, 0};
  char c = 0;
  ASSERT_EQ(poll(&p, 1, 30000), 1);
  ASSERT_EQ(read(up[0], &c, 1), 1);
  unsigned long id = 0;
  int w = 0, h = 0, mode = 0;
  {
    std::ifstream in(dir_ + "/window.txt");
    in >> id >> w >> h >> mode;
  }
  ASSERT_NE(id, 0u);
  ASSERT_EQ(mode, 256) << "a true-colour screen";
  const std::string shot = dir_ + "/shot.ppm";
  ASSERT_TRUE(test::shell("sh -c 'xwd -silent -id " + std::to_string(id) + " | xwdtopnm > " + shot +
                          " 2>/dev/null'"));
  (void)!write(down[1], "g", 1);
  int status = 0;
  waitpid(child, &status, 0);
  close(up[0]);
  close(down[1]);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

  Picture screen, file;
  ASSERT_TRUE(test::readPpm(shot, screen.width, screen.height, screen.rgb));
  ASSERT_TRUE(test::readPpm(dir_ + "/korvan.ppm", file.width, file.height, file.rgb));
  EXPECT_EQ(file.width, w);
  EXPECT_EQ(file.height, h);
  // The window shows its drawing area less the last column and row.
  ASSERT_GE(screen.width, w - 1);
  ASSERT_GE(screen.height, h - 1);
  long differ = 0, blended = 0;
  for (int y = 0; y < h - 1; ++y)
    for (int x = 0; x < w - 1; ++x) {
      const std::uint8_t* a = &screen.rgb[3 * (static_cast<std::size_t>(y) * screen.width + x)];
      const std::uint8_t* b = &file.rgb[3 * (static_cast<std::size_t>(y) * file.width + x)];
      differ += a[0] != b[0] || a[1] != b[1] || a[2] != b[2];
      // grey levels of the black text on white: blended edges
      blended += b[0] == b[1] && b[1] == b[2] && b[0] > 0 && b[0] < 255;
    }
  EXPECT_EQ(differ, 0);
  EXPECT_GT(blended, 500);
}

}  // namespace
