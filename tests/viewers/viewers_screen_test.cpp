// orbview3 in a real window on an Xvfb server started here: the last frame
// on the screen, and the end on the right mouse button.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/files.h"
#include "support/xvfb.h"

using namespace std::chrono_literals;

namespace {

std::string sh(const std::string& command) { return korvan::test::commandOutput(command); }
using korvan::test::onPath;

struct Image {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  const unsigned char* at(int x, int y) const {
    return &rgb[3 * (static_cast<std::size_t>(y) * width + x)];
  }
};

Image readPpm(const std::string& name) {
  Image img;
  if (!korvan::test::readPpm(name, img.width, img.height, img.rgb)) return Image();
  return img;
}

std::string slurp(const std::string& name) { return korvan::test::readFile(name); }

enum class Hue { Black, Red, Green, Yellow };

bool is(const unsigned char* p, Hue h) {
  bool hi[3] = {p[0] > 180, p[1] > 180, p[2] > 180};
  bool lo[3] = {p[0] < 70, p[1] < 70, p[2] < 70};
  switch (h) {
    case Hue::Black: return lo[0] && lo[1] && lo[2];
    case Hue::Red: return hi[0] && lo[1] && lo[2];
    case Hue::Green: return lo[0] && hi[1] && lo[2];
    case Hue::Yellow: return hi[0] && hi[1] && lo[2];
  }
  return false;
}

pid_t xvfb = -1;
std::string display;

class ViewersScreen : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!onPath("Xvfb") || !onPath("xdotool") || !onPath("xwd") || !onPath("xwdtopnm")) return;
    xvfb = testsupport::startXvfb("1024x768x24", display);
    if (xvfb <= 0) display.clear();
  }
  static void TearDownTestSuite() { testsupport::stopXvfb(xvfb); }
  void SetUp() override {
    if (display.empty()) GTEST_SKIP() << "no Xvfb, xdotool, xwd and xwdtopnm";
    char tmpl[] = "/tmp/viewers_screen_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    if (viewer_ > 0) {
      kill(viewer_, SIGKILL);
      waitpid(viewer_, nullptr, 0);
    }
    if (!dir_.empty()) std::system(("rm -rf '" + dir_ + "'").c_str());
  }
  void write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ + "/" + name, std::ios::binary) << text;
  }
  void start(const char* program) {
    viewer_ = fork();
    if (viewer_ == 0) {
      if (chdir(dir_.c_str()) != 0) _exit(126);
      int out = open("out.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(out, 1);
      int err = open("err.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(err, 2);
      setenv("DISPLAY", display.c_str(), 1);
      std::string path = std::string(ORBVIEW_DIR) + "/" + program;
      execl(path.c_str(), program, static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  // False once the viewer has ended; its status is then kept.
  bool alive() {
    int status = 0;
    if (viewer_ <= 0) return false;
    if (waitpid(viewer_, &status, WNOHANG) != viewer_) return true;
    viewer_ = -1;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
  }
  // Exit status, or -1 while the viewer still runs after ms.
  int join(int ms) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (alive() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(20ms);
    return alive() ? -1 : status_;
  }
  // The viewer's window with this title, or "" when the viewer ended first.
  std::string window(const std::string& title, int ms) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
      std::string id = sh("env DISPLAY=" + display + " xdotool search --name '^" + title + "$'");
      if (!id.empty() && id.find('\n') == std::string::npos) return id;
      std::this_thread::sleep_for(50ms);
    } while (alive() && std::chrono::steady_clock::now() < end);
    return "";
  }
  Image screenshot(const std::string& id) {
    std::string shot = dir_ + "/shot.ppm";
    Image img;
    for (int attempt = 0; attempt < 4 && img.width == 0; ++attempt)
      if (sh("sh -c 'DISPLAY=" + display + " xwd -silent -id " + id + " | xwdtopnm > " + shot +
             " && echo ok'") == "ok")
        img = readPpm(shot);
    return img;
  }
  void click(const std::string& id, int button) {
    sh("env DISPLAY=" + display + " xdotool mousemove --window " + id + " 50 50 click " +
       std::to_string(button));
  }
  std::string dir_;
  pid_t viewer_ = -1;
  int status_ = -1;
};

}  // namespace

TEST_F(ViewersScreen, LastFrameStaysUntilTheRightButton) {
  // Three frames; only the last one may be on the screen at the end.
  // Body 1: circles of 0.4, 0.5, 0.6 AU; body 2: a circle of 1 AU in the
  // last frame; body 3: an ellipse of a = 1.6, e = 0.5 with its periapsis
  // to the right of the star in the last frame.
  write("elm0002.dat", "h\n0 0.4 0 0 0 0 0 2\n1 0.5 0 0 0 0 0 2\n2 0.6 0 0 0 0 0 2\n");
  write("elm0003.dat", "h\n0 1.2 0 0 0 0 0 3\n1 1.3 0 0 0 0 0 3\n2 1.0 0 0 0 0 0 3\n");
  write("elm0004.dat", "h\n0 1.6 0.5 0 90 0 0 4\n1 1.6 0.5 0 180 0 0 4\n2 1.6 0.5 0 0 0 0 4\n");
  // A connection to the X server is refused now and then right after
  // another client left; the viewer then draws off screen and ends, and
  // is started again.
  std::string id;
  for (int attempt = 0; attempt < 4 && id.empty(); ++attempt) {
    std::this_thread::sleep_for(200ms);
    start("orbview3");
    id = window("KORVAN 1 / Click MB2 to continue ...", 20000);
    if (id.empty() && !alive() &&
        slurp(dir_ + "/err.txt").find("no display could be opened") != std::string::npos)
      continue;
    break;
  }
  ASSERT_NE(id, "") << "the viewer does not wait at the end: " << slurp(dir_ + "/out.txt")
                    << slurp(dir_ + "/err.txt");
  Image img = screenshot(id);
  ASSERT_GT(img.width, 1000);
  ASSERT_GT(img.height, 700);
  // The window shows the page at min(w - 1 / 2969, h - 1 / 2099) pixels per
  // plot unit.
  double s = std::fmin((img.width) / 2969.0, (img.height) / 2099.0);
  auto near = [&](int px, int py, Hue h) {
    int x0 = static_cast<int>(std::lround(px * s)), y0 = static_cast<int>(std::lround(py * s));
    for (int dy = -3; dy <= 3; ++dy)
      for (int dx = -3; dx <= 3; ++dx) {
        int x = x0 + dx, y = y0 + dy;
        if (x >= 0 && y >= 0 && x < img.width && y < img.height && is(img.at(x, y), h))
          return true;
      }
    return false;
  };
  EXPECT_TRUE(near(1485, 1050, Hue::Yellow)) << "the star";
  EXPECT_TRUE(near(1485 + 300, 1050, Hue::Yellow));
  EXPECT_TRUE(near(1485, 1050 - 300, Hue::Yellow));
  EXPECT_TRUE(near(1485 - 500, 1050, Hue::Green));
  EXPECT_TRUE(near(1485, 1050 + 500, Hue::Green));
  EXPECT_TRUE(near(1485 + 400, 1050, Hue::Red)) << "periapsis";
  EXPECT_TRUE(near(1485 - 400 - 800, 1050, Hue::Red)) << "apoapsis";
  EXPECT_TRUE(near(1085, 1050 - 692, Hue::Red)) << "end of the minor axis";
  // Earlier frames are gone: no yellow circle of 0.4 AU, no green one of
  // 1.3 AU, no red apoapsis below the star.
  EXPECT_FALSE(near(1485 + 200, 1050, Hue::Yellow));
  EXPECT_FALSE(near(1485 + 650, 1050, Hue::Green));
  EXPECT_FALSE(near(1485, 1050 + 400 + 800, Hue::Red));
  EXPECT_TRUE(is(img.at(img.width / 10, img.height / 10), Hue::Black)) << "the page fill";

  // Only the right button ends the wait.
  click(id, 1);
  EXPECT_EQ(join(500), -1);
  int status = -1;
  for (int attempt = 0; attempt < 4 && status < 0; ++attempt) {
    click(id, 3);
    status = join(3000);
  }
  EXPECT_EQ(status, 0);
  std::string out = slurp(dir_ + "/out.txt");
  EXPECT_NE(out.find("Incorrect level in xaxgit!"), std::string::npos) << out;
  EXPECT_NE(out.find("Warnings: 1 "), std::string::npos) << out;
}
