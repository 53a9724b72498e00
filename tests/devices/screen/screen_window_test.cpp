// The screen driver with real windows on an Xvfb server started here: size
// and title while drawing and after korfin, a screenshot against the back
// buffer, and the ends of the end-of-plot wait (right button, Return, the
// Close button). Each plot runs in a child process, so that a wait that does
// not end is killed after a timeout instead of hanging the test.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/state.h"
#include "devices/screen/screen_image.h"
#include "korvan.h"
#include "support/files.h"
#include "support/xvfb.h"

// Only for the window manager's part: the Close button.
#include <X11/Xlib.h>

using namespace korvan;
using namespace std::chrono_literals;

namespace {

pid_t xvfb = -1;
std::string display;

std::string run(const std::string& command) { return korvan::test::commandOutput(command); }
using korvan::test::onPath;

using testsupport::startXvfb;

struct Image {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
  std::uint32_t at(int x, int y) const {
    const std::uint8_t* p = &rgb[3 * (static_cast<std::size_t>(y) * width + x)];
    return static_cast<std::uint32_t>(p[0]) << 16 | p[1] << 8 | p[2];
  }
};

// A binary PPM (P6, maxval 255), as written by xwdtopnm and by the child.
Image readPpm(const std::string& name) {
  Image img;
  if (!korvan::test::readPpm(name, img.width, img.height, img.rgb)) return Image();
  return img;
}

// The back buffer of the current window, captured in the child.
void writeBackBuffer(const char* name) {
  Global& g = qqgglb();
  int w = 0, h = 0;
  if (!qqwimg(g, &w, &h)) return;
  std::FILE* f = std::fopen(name, "wb");
  if (!f) return;
  std::fprintf(f, "P6\n%d %d\n255\n", w, h);
  std::vector<std::uint8_t> row(3 * static_cast<std::size_t>(w));
  for (int y = 0; y < h; ++y) {
    qqwrdr(g, y, row.data());
    std::fwrite(row.data(), 1, row.size(), f);
  }
  std::fclose(f);
}

// A plot in a child process, with one pipe each way to step it.
class Plot {
 public:
  Plot(const std::string& dir, const std::function<void(Plot&)>& body, bool shm = true) {
    int a[2], b[2];
    if (pipe(a) != 0 || pipe(b) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(a[0]);
      close(b[1]);
      up_ = a[1];
      down_ = b[0];
      // Whatever happens, the child does not outlive the test.
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      alarm(60);
      if (chdir(dir.c_str()) != 0) _exit(3);
      if (!shm) setenv("KORVAN_NO_SHM", "1", 1);
      if (!std::freopen("out.txt", "w", stdout)) _exit(3);
      qqsglb(1);
      body(*this);
      std::fflush(nullptr);
      _exit(0);
    }
    close(a[1]);
    close(b[0]);
    up_ = a[0];
    down_ = b[1];
  }
  ~Plot() {
    if (pid_ > 0 && !joined_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    close(up_);
    close(down_);
  }
  // In the child.
  void tell(char c) { (void)!write(up_, &c, 1); }
  void await() {
    char c;
    (void)!read(down_, &c, 1);
  }
  // In the parent.
  bool heard(char expected, int ms = 20000) {
    pollfd p{up_, POLLIN, 0};
    char c = 0;
    return poll(&p, 1, ms) == 1 && read(up_, &c, 1) == 1 && c == expected;
  }
  void go() { (void)!write(down_, "g", 1); }
  bool running() {
    int status;
    if (joined_) return false;
    if (waitpid(pid_, &status, WNOHANG) == 0) return true;
    joined_ = true;
    status_ = status;
    return false;
  }
  // Exit status, or -1 when the child was still waiting after ms.
  int join(int ms = 10000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (running() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(20ms);
    if (!joined_) return -1;
    return WIFEXITED(status_) ? WEXITSTATUS(status_) : 128 + WTERMSIG(status_);
  }
  bool started() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
  int up_ = -1, down_ = -1;
  bool joined_ = false;
  int status_ = 0;
};

class ScreenWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!onPath("Xvfb") || !onPath("xdotool") || !onPath("xwd") || !onPath("xwdtopnm")) return;
    xvfb = startXvfb("1024x768x24", display);
    if (xvfb > 0) setenv("DISPLAY", display.c_str(), 1);
  }
  static void TearDownTestSuite() { testsupport::stopXvfb(xvfb); }

  void SetUp() override {
    if (display.empty()) GTEST_SKIP() << "no Xvfb, xdotool, xwd and xwdtopnm";
    char tmpl[] = "/tmp/korvan-window-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
  }

  // The window whose title is exactly this, or "" (waits for it a while).
  static std::string window(const std::string& title, int ms = 10000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
      std::string id = run("xdotool search --name '^" + title + "$'");
      if (!id.empty() && id.find('\n') == std::string::npos) return id;
      std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < end);
    return "";
  }
  static std::string title(const std::string& id) { return run("xdotool getwindowname " + id); }
  Image screenshot(const std::string& id) {
    std::string file = dir_ + "/shot.ppm";
    run("sh -c 'xwd -silent -id " + id + " | xwdtopnm > " + file + "'");
    return readPpm(file);
  }
  // What a window manager sends when its Close button is pressed.
  static void wmClose(const std::string& id) {
    ::Display* d = XOpenDisplay(nullptr);
    ASSERT_NE(d, nullptr);
    // A window that is already gone must fail the test, not end the program.
    XSetErrorHandler([](::Display*, XErrorEvent*) { return 0; });
    ::Window w = static_cast<::Window>(std::stoul(id));
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, w, False, NoEventMask, &ev);
    XSync(d, False);
    XCloseDisplay(d);
  }

  static void drawFrame() {
    pagfll(30);
    linwid(4);
    color("RED");
    line(100, 100, 2800, 2000);
    color("GREE");
    arcell(1484, 1050, 900, 500, 0.0f, 360.0f, 30.0f);
    color("YELL");
    symbol(21, 1484, 1050);
    color("WHIT");
    pagera();
    endgrf();
  }

  void expectShows(const std::string& id, const Image& back) {
    Image shot = screenshot(id);
    ASSERT_EQ(shot.width, 1015);
    ASSERT_EQ(shot.height, 717);
    int wrong = 0;
    for (int y = 0; y < shot.height; ++y)
      for (int x = 0; x < shot.width; ++x) wrong += shot.at(x, y) != back.at(x, y);
    EXPECT_EQ(wrong, 0);
  }

  std::string dir_;
};

class ScreenWindowCopy : public ScreenWindowTest, public ::testing::WithParamInterface<bool> {};

// With and without MIT-SHM.
TEST_P(ScreenWindowCopy, ShowsThePlotAndWaitsForTheRightButton) {
  Plot plot(dir_, [](Plot& p) {
    metafl("CONS");
    korini();
    drawFrame();
    writeBackBuffer("back.ppm");
    int id = 2, out = 0;
    qqwext(&id, &out);
    if (std::FILE* f = std::fopen("window.txt", "w")) {
      std::fprintf(f, "%d", out);
      std::fclose(f);
    }
    p.tell('r');
    p.await();
    korfin();
  }, GetParam());
  ASSERT_TRUE(plot.started());
  ASSERT_TRUE(plot.heard('r'));
  std::string id = window("KORVAN 1 / Working");
  ASSERT_NE(id, "");
  std::string geometry = run("xdotool getwindowgeometry " + id);
  EXPECT_NE(geometry.find("Position: 4,47"), std::string::npos) << geometry;
  EXPECT_NE(geometry.find("Geometry: 1015x717"), std::string::npos) << geometry;

  // The window identifier query names the same window.
  std::ifstream known(dir_ + "/window.txt");
  std::string native;
  known >> native;
  EXPECT_EQ(native, id);

  Image back = readPpm(dir_ + "/back.ppm");
  ASSERT_EQ(back.width, 1016);
  ASSERT_EQ(back.height, 718);
  EXPECT_EQ(back.at(600, 600), 0x0000FFu);  // the page fill
  expectShows(id, back);

  // The button released while the plot is drawn does not end it.
  run("xdotool mousemove --window " + id + " 30 30 click 3");
  std::this_thread::sleep_for(300ms);
  plot.go();
  EXPECT_EQ(window("KORVAN 1 / Click MB2 to continue ..."), id);
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(plot.running());
  // Return does nothing with the default key mode.
  run("xdotool key --window " + id + " Return");
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(plot.running());
  // Repaint from the back buffer after the window was hidden.
  run("xdotool windowunmap --sync " + id);
  run("xdotool windowmap --sync " + id);
  std::this_thread::sleep_for(300ms);
  expectShows(id, back);

  run("xdotool mousemove --window " + id + " 40 40 click 3");
  EXPECT_EQ(plot.join(), 0);
  EXPECT_EQ(run("xdotool search --name KORVAN"), "");
  std::ifstream out(dir_ + "/out.txt");
  std::stringstream s;
  s << out.rdbuf();
  EXPECT_NE(s.str().find("Fileformat: CONS"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Copy, ScreenWindowCopy, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "SharedMemory" : "PutImage"; });

TEST_F(ScreenWindowTest, CloseButtonEndsTheWaitOnlyAfterKorfin) {
  Plot plot(dir_, [](Plot& p) {
    metafl("CONS");
    korini();
    drawFrame();
    p.tell('r');
    p.await();
    korfin();
  });
  ASSERT_TRUE(plot.heard('r'));
  std::string id = window("KORVAN 1 / Working");
  ASSERT_NE(id, "");
  wmClose(id);
  std::this_thread::sleep_for(300ms);
  plot.go();
  EXPECT_EQ(window("KORVAN 1 / Click MB2 to continue ..."), id);
  std::this_thread::sleep_for(300ms);
  EXPECT_TRUE(plot.running());  // the early Close was refused
  wmClose(id);
  EXPECT_EQ(plot.join(), 0);
  EXPECT_EQ(run("xdotool search --name KORVAN"), "");
}

TEST_F(ScreenWindowTest, ReturnEndsTheWaitInKeyMode1) {
  Plot plot(dir_, [](Plot& p) {
    metafl("CONS");
    korini();
    qqgglb().winKeyMode = 1;
    drawFrame();
    p.tell('r');
    p.await();
    korfin();
  });
  ASSERT_TRUE(plot.heard('r'));
  plot.go();
  std::string id = window("KORVAN 1 / Click MB2 or RETURN to continue ...");
  ASSERT_NE(id, "");
  run("xdotool key --window " + id + " Return");
  EXPECT_EQ(plot.join(), 0);
}

TEST_F(ScreenWindowTest, SecondSlotRetitlesTheFirstWindow) {
  Plot plot(dir_, [](Plot& p) {
    metafl("CONS");
    korini();
    drawFrame();
    qqgglb().winEndMode = 2;  // the window stays
    korfin();
    metafl("XWI2");
    korini();
    drawFrame();
    p.tell('r');
    p.await();
    korfin();
  });
  ASSERT_TRUE(plot.heard('r'));
  std::string first = window("KORVAN 1");
  std::string second = window("KORVAN 2 / Working");
  ASSERT_NE(first, "");
  ASSERT_NE(second, "");
  // XWI2: two thirds of the screen at the top right.
  std::string geometry = run("xdotool getwindowgeometry " + second);
  EXPECT_NE(geometry.find("Geometry: 681x481"), std::string::npos) << geometry;
  EXPECT_NE(geometry.find("Position: 338,27"), std::string::npos) << geometry;
  plot.go();
  ASSERT_EQ(window("KORVAN 2 / Click MB2 to continue ..."), second);
  run("xdotool mousemove --window " + second + " 30 30 click 3");
  EXPECT_EQ(plot.join(), 0);
  // End mode 0 closes every window.
  EXPECT_EQ(run("xdotool search --name KORVAN"), "");
}

TEST_F(ScreenWindowTest, SixteenBitScreenShowsTheColours) {
  std::string name;
  pid_t server = startXvfb("1024x768x16", name);
  ASSERT_GT(server, 0);
  struct Restore {
    pid_t server;  // stopXvfb resets it
    ~Restore() {
      setenv("DISPLAY", display.c_str(), 1);
      testsupport::stopXvfb(server);
    }
  } restore{server};
  setenv("DISPLAY", name.c_str(), 1);
  Plot plot(dir_, [](Plot& p) {
    metafl("CONS");
    korini();
    if (qqgglb().screenDepth != 16) _exit(4);
    drawFrame();
    writeBackBuffer("back.ppm");
    p.tell('r');
    p.await();
    qqgglb().winEndMode = 3;  // closes at once
    korfin();
  });
  ASSERT_TRUE(plot.heard('r'));
  std::string id = window("KORVAN 1 / Working");
  ASSERT_NE(id, "");
  Image back = readPpm(dir_ + "/back.ppm");
  Image shot = screenshot(id);
  ASSERT_EQ(shot.width, 1015);
  ASSERT_EQ(shot.height, 717);
  // Five or six bits per channel: within one step of the back buffer.
  int wrong = 0;
  for (int y = 0; y < shot.height; ++y)
    for (int x = 0; x < shot.width; ++x) {
      std::uint32_t a = shot.at(x, y), b = back.at(x, y);
      for (int k = 0; k < 24; k += 8) {
        int d = static_cast<int>((a >> k) & 255) - static_cast<int>((b >> k) & 255);
        if (d > 8 || d < -8) {
          ++wrong;
          break;
        }
      }
    }
  EXPECT_EQ(wrong, 0);
  plot.go();
  EXPECT_EQ(plot.join(), 0);
}

}  // namespace
