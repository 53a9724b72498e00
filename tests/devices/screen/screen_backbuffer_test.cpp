// The screen driver with the headless window system: window geometry,
// titles, the polyline buffer, colours in true-colour and palette modes,
// fills and erasure, checked on the pixels of the back buffer.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/state.h"
#include "devices/screen/screen_driver.h"
#include "devices/screen/screen_image.h"
#include "korvan.h"
#include "platform/window_system.h"

using namespace korvan;

namespace {

class ScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qqwwcls();
    qqsglb(1);
    old_ = std::filesystem::current_path();
    char tmpl[] = "/tmp/korvan-screen-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    std::filesystem::current_path(dir_);
    useScreen(24);
  }
  void TearDown() override {
    // A plot left open ends here: korfin releases its driver.
    if (qqsglb(0) == 1 && qqgglb().level > 0) korfin();
    qqwwcls();
    qqsglb(1);
    std::filesystem::current_path(old_);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  static void useScreen(int bitsPerPixel, int width = 1024, int height = 768) {
    platform::ScreenMetrics m;
    m.width = width;
    m.height = height;
    m.bitsPerPixel = bitsPerPixel;
    platform::useHeadless(m);
  }
  static ScreenSlotInfo slot(int i) {
    ScreenSlotInfo info{};
    qqwinf(i, &info);
    return info;
  }
  // Opens CONS and keeps the window after korfin.
  static Global& open(const char* device = "CONS") {
    metafl(device);
    korini();
    return qqgglb();
  }
  static int count(std::uint32_t rgb) {
    ScreenSlotInfo s = slot(qqwcur());
    int n = 0;
    for (int y = 0; y < s.height; ++y)
      for (int x = 0; x < s.width; ++x) n += qqwrgb(x, y) == rgb;
    return n;
  }

  std::filesystem::path dir_, old_;
};

constexpr std::uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0xFF0000;

TEST_F(ScreenTest, ConsoleWindowOn1024x768) {
  Global& g = open();
  // 1016 = 1024 - 2 frames; 718 = int(1016 / (2969 / 2099) + 0.5).
  EXPECT_EQ(g.winWidth, 1016);
  EXPECT_EQ(g.winHeight, 718);
  EXPECT_EQ(g.screenDepth, 24);
  EXPECT_EQ(g.windowNumber, 1);
  ScreenSlotInfo s = slot(0);
  ASSERT_TRUE(s.open);
  EXPECT_EQ(s.width, 1016);
  EXPECT_EQ(s.height, 718);
  // Right and bottom edges: x = 1024 - 1016 - 4, y = 768 - 718 - 4; the
  // client area starts one row below y.
  EXPECT_EQ(g.winX, 4);
  EXPECT_EQ(g.winY, 46);
  EXPECT_EQ(s.x, 4);
  EXPECT_EQ(s.y, 47);
  EXPECT_STREQ(s.title, "KORVAN 1 / Working");
  EXPECT_FALSE(s.closeEnabled);
  float expected = std::min(1015.0f / 2969.0f, 717.0f / 2099.0f);
  EXPECT_FLOAT_EQ(g.deviceScale, expected);
  // The whole page fits into the back buffer.
  int w = 0, h = 0;
  ASSERT_TRUE(qqwimg(g, &w, &h));
  EXPECT_EQ(w, 1016);
  EXPECT_EQ(h, 718);
  EXPECT_LE(static_cast<int>(2969 * g.deviceScale + 0.5f), w - 1);
  EXPECT_LE(static_cast<int>(2099 * g.deviceScale + 0.5f), h - 1);
}

// The window takes the page's shape, or the pixel size of rassiz.
TEST_F(ScreenTest, WindowFollowsPageSizeAndRasterSize) {
  struct Case {
    int pageW, pageH, rasW, rasH;
    int width, height;
  } cases[] = {{2100, 2970, 0, 0, 362, 512}, {2969, 2099, 400, 300, 400, 300}};
  for (const Case& c : cases) {
    qqsglb(1);
    pagsiz(c.pageW, c.pageH);
    if (c.rasW > 0) rassiz(c.rasW, c.rasH);
    Global& g = open("XWIN");
    ScreenSlotInfo s = slot(qqwcur());
    EXPECT_EQ(s.width, c.width);
    EXPECT_EQ(s.height, c.height);
    EXPECT_EQ(g.warningCount, 0);
    korfin();
  }
}

TEST_F(ScreenTest, NumberedWindowsTakeTwoThirdsAndTheirCorner) {
  Global& g = open("XWI3");
  EXPECT_EQ(g.device, 74);
  EXPECT_EQ(g.windowNumber, 3);
  ScreenSlotInfo s = slot(2);
  ASSERT_TRUE(s.open);
  EXPECT_EQ(s.width, 2 * 1024 / 3);
  EXPECT_EQ(s.height, static_cast<int>(682 / (2969.0 / 2099.0) + 0.5));
  // Top left: x = frame width, y = frame height + caption height - 1.
  EXPECT_EQ(g.winX, platform::kFrameWidth);
  EXPECT_EQ(g.winY, platform::kFrameHeight + platform::kCaptionHeight - 1);
  EXPECT_STREQ(s.title, "KORVAN 3 / Working");
  EXPECT_FALSE(slot(0).open);
  korfin();

  open("XWI5");
  s = slot(4);
  EXPECT_EQ(s.x, (1024 - 682) / 2);
  EXPECT_EQ(s.y - 1, (768 - s.height) / 2 + platform::kCaptionHeight / 2);
}

TEST_F(ScreenTest, TerminalKeywordsOpenNoWindow) {
  Global& g = open("TEKT");
  EXPECT_EQ(g.device, 151);
  for (int i = 0; i < 8; ++i) EXPECT_FALSE(slot(i).open);
  line(0, 0, 100, 100);
  endgrf();
  korfin();
}

TEST_F(ScreenTest, PolylineOf120PointsIsDrawnWhole) {
  open();
  qqwclr(255);
  // A zigzag, so that a point lost at a split of the 50-point buffer would
  // leave a gap in a slanted segment.
  std::vector<int> xs, ys;
  for (int i = 0; i < 120; ++i) {
    xs.push_back(10 + 4 * i);
    ys.push_back(100 + (i % 2) * 3);
  }
  qqwdrw(xs[0], ys[0], 3);
  for (int i = 1; i < 120; ++i) qqwdrw(xs[i], ys[i], 2);
  qqwdrw(0, 0, 999);
  for (int i = 0; i < 119; ++i) {
    EXPECT_EQ(qqwrgb(xs[i], ys[i]), kWhite) << "point " << i;
    // Every column between two points holds one pixel of the segment.
    for (int x = xs[i]; x < xs[i + 1]; ++x) {
      int n = 0;
      for (int y = 99; y <= 104; ++y) n += qqwrgb(x, y) == kWhite;
      EXPECT_EQ(n, 1) << "column " << x;
    }
  }
  // The last point of a polyline is not drawn.
  EXPECT_EQ(qqwrgb(xs[119], ys[119]), kBlack);
  EXPECT_EQ(count(kWhite), xs[119] - xs[0]);
}

TEST_F(ScreenTest, PolylineBufferRestartsAtTheLastDrawnPoint) {
  open();
  qqwclr(255);
  // 50 points fill the buffer; the 51st continues from the 50th.
  qqwdrw(0, 10, 3);
  for (int i = 1; i < 50; ++i) qqwdrw(i, 10, 2);
  qqwdrw(49, 20, 2);
  qqwdrw(0, 0, 3);
  EXPECT_EQ(qqwrgb(49, 10), kWhite);
  EXPECT_EQ(qqwrgb(49, 15), kWhite);
  EXPECT_EQ(qqwrgb(49, 20), kBlack);
  EXPECT_EQ(count(kWhite), 49 + 10);
}

TEST_F(ScreenTest, ZeroLengthSegmentSetsOnePixel) {
  open();
  qqwclr(255);
  qqwdrw(200, 300, 3);
  qqwdrw(200, 300, 2);
  qqwdrw(0, 0, 3);
  EXPECT_EQ(count(kWhite), 1);
  EXPECT_EQ(qqwrgb(200, 300), kWhite);
  // A move alone sets nothing.
  qqwdrw(400, 300, 3);
  qqwdrw(0, 0, 999);
  EXPECT_EQ(count(kWhite), 1);
}

TEST_F(ScreenTest, ZeroLengthLineThroughTheLibrary) {
  Global& g = open();
  line(1000, 1000, 1000, 1000);
  sendbf();
  int x = static_cast<int>(1000 * g.deviceScale + 0.5f);
  EXPECT_EQ(count(kWhite), 1);
  EXPECT_EQ(qqwrgb(x, x), kWhite);
}

TEST_F(ScreenTest, TrueColourTakesTheColourTable) {
  Global& g = open();
  EXPECT_EQ(qqwmod(), 256);
  const char* names[] = {"RED", "GREE", "YELL", "BLUE", "ORAN", "CYAN", "MAGE"};
  const std::uint32_t rgb[] = {0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF7F00, 0x00FFFF, 0x3300AA};
  for (int i = 0; i < 7; ++i) {
    color(names[i]);
    int y = 100 + 10 * i;
    line(100, y * 3, 900, y * 3);
    sendbf();
    int py = static_cast<int>(y * 3 * g.deviceScale + 0.5f);
    EXPECT_EQ(qqwrgb(100, py), rgb[i]) << names[i];
    EXPECT_EQ(qqwpix(100, py), rgb[i]) << names[i];
  }
  setvlt("GREY");
  qqwfll(10, 10, 5, 5, 128);
  EXPECT_EQ(qqwrgb(12, 12), 0x808080u);
  // The small table maps every index onto its eight colours.
  setvlt("SMAL");
  qqwfll(10, 10, 5, 5, 10);  // ((10 - 1) mod 8) + 1 = 2: red
  EXPECT_EQ(qqwrgb(12, 12), kRed);
}

TEST_F(ScreenTest, EightBitScreenSharesPaletteEntries) {
  useScreen(8);
  Global& g = open();
  EXPECT_EQ(g.screenDepth, 8);
  EXPECT_EQ(qqwmod(), 129);
  qqwclr(1);
  qqwdrw(10, 10, 3);
  qqwdrw(10, 10, 2);
  qqwclr(2);
  qqwdrw(20, 10, 3);
  qqwdrw(20, 10, 2);
  qqwclr(255);
  qqwdrw(30, 10, 3);
  qqwdrw(30, 10, 2);
  qqwdrw(0, 0, 999);
  EXPECT_EQ(qqwpix(10, 10), 1u);
  EXPECT_EQ(qqwpix(20, 10), 1u);
  EXPECT_EQ(qqwpix(30, 10), 128u);
  // Entry j holds colour 2j - 1: entry 1 colour 1, entry 128 colour 255.
  EXPECT_EQ(qqwrgb(10, 10), static_cast<std::uint32_t>(g.colourTable[1]));
  EXPECT_EQ(qqwrgb(30, 10), static_cast<std::uint32_t>(g.colourTable[255]));
  // A new table changes what the drawn pixels show.
  setvlt("GREY");
  EXPECT_EQ(qqwpix(30, 10), 128u);
  EXPECT_EQ(qqwrgb(30, 10), 0xFFFFFFu);
  EXPECT_EQ(qqwrgb(10, 10), 0x010101u);
  // The image capture goes through the palette.
  std::vector<std::uint8_t> row(3 * 1016);
  qqwrdr(g, 10, row.data());
  EXPECT_EQ(row[3 * 30], 255);
  EXPECT_EQ(row[3 * 10], 1);
}

TEST_F(ScreenTest, FourBitScreenMapsOntoSixteenEntries) {
  useScreen(4);
  Global& g = open();
  EXPECT_EQ(qqwmod(), 16);
  const int index[] = {0, 1, 128, 254, 255};
  const std::uint32_t entry[] = {0, 1, 8, 14, 15};  // int((c - 1) * 13 / 253 + 1.5)
  for (int i = 0; i < 5; ++i) {
    qqwfll(5 * i, 0, 2, 2, index[i]);
    EXPECT_EQ(qqwpix(5 * i, 0), entry[i]) << index[i];
  }
  // Entry j shows colour int((j - 1) * 253 / 13 + 1.5): entry 8 colour 137.
  EXPECT_EQ(qqwrgb(10, 0), static_cast<std::uint32_t>(g.colourTable[137]));
  EXPECT_EQ(qqwrgb(20, 0), static_cast<std::uint32_t>(g.colourTable[255]));
}

TEST_F(ScreenTest, FewerThanFourBitsDrawsWithTheWhitePen) {
  useScreen(1);
  open();
  EXPECT_EQ(qqwmod(), 0);
  color("RED");
  line(100, 100, 1000, 100);
  sendbf();
  EXPECT_EQ(count(kRed), 0);
  EXPECT_GT(count(kWhite), 100);
}

TEST_F(ScreenTest, PageFillAndErase) {
  Global& g = open();
  color("RED");
  pagfll(30);  // blue
  int right = static_cast<int>(2969 * g.deviceScale + 0.5f);
  int bottom = static_cast<int>(2099 * g.deviceScale + 0.5f);
  EXPECT_EQ(qqwrgb(0, 0), 0x0000FFu);
  EXPECT_EQ(qqwrgb(right, bottom), 0x0000FFu);
  EXPECT_EQ(qqwrgb(right + 1, 0), kBlack);  // beyond the page
  EXPECT_EQ(count(0x0000FF), (right + 1) * (bottom + 1));
  // The colour current before the fill is current again.
  line(0, 1000, 2969, 1000);
  sendbf();
  int y = static_cast<int>(1000 * g.deviceScale + 0.5f);
  EXPECT_EQ(qqwrgb(500, y), kRed);
  erase();
  EXPECT_EQ(count(kBlack), 1016 * 718);
}

TEST_F(ScreenTest, FilledPolygonCoversItsInside) {
  open();
  qqwclr(254);
  qqwpol(4, 0, 1);
  qqwpol(100, 100, 2);
  qqwpol(200, 100, 2);
  qqwpol(200, 150, 2);
  qqwpol(100, 150, 2);
  qqwpol(0, 0, 9);
  EXPECT_EQ(qqwrgb(150, 125), kRed);
  EXPECT_EQ(qqwrgb(100, 100), kRed);  // the outline is drawn too
  EXPECT_EQ(qqwrgb(200, 150), kRed);
  EXPECT_EQ(qqwrgb(201, 125), kBlack);
  EXPECT_EQ(count(kRed), 101 * 51);
}

TEST_F(ScreenTest, DrawingOutsideTheBufferIsCut) {
  open();
  qqwclr(255);
  qqwdrw(-100000, 50, 3);
  qqwdrw(100000, 50, 2);
  qqwdrw(0, 0, 999);
  EXPECT_EQ(count(kWhite), 1016);
  qqwfll(-5, -5, 100000, 3, 254);
  EXPECT_EQ(count(kRed), 0);  // rows -5 .. -3
  qqwfll(1000, 700, 100, 100, 254);
  EXPECT_EQ(count(kRed), 16 * 18);
}

TEST_F(ScreenTest, EndModesAndTitlesWithoutADisplay) {
  Global& g = open();
  g.winEndMode = 2;
  korfin();
  // End mode 2 returns at once and keeps the window.
  ScreenSlotInfo s = slot(0);
  ASSERT_TRUE(s.open);
  EXPECT_STREQ(s.title, "KORVAN 1");
  EXPECT_TRUE(s.closeEnabled);

  // A second korini on the same slot replaces the window.
  open();
  EXPECT_STREQ(slot(0).title, "KORVAN 1 / Working");
  g.winEndMode = 1;
  g.winKeyMode = 2;
  korfin();
  EXPECT_STREQ(slot(0).title, "KORVAN 1 / Click MB2 or ESC to continue ...");
  ASSERT_TRUE(slot(0).open);

  // Another slot retitles the previous window.
  open("XWI2");
  EXPECT_STREQ(slot(0).title, "KORVAN 1");
  EXPECT_STREQ(slot(1).title, "KORVAN 2 / Working");
  g.winEndMode = 4;
  g.winDelay = 3;
  korfin();
  // Nobody can wait for the delay: all windows are closed.
  EXPECT_FALSE(slot(0).open);
  EXPECT_FALSE(slot(1).open);

  // The defaults: the window is closed at the end (as by the button).
  Global& g2 = open();
  EXPECT_EQ(g2.winEndMode, 0);
  EXPECT_EQ(g2.winKeyMode, 0);
  EXPECT_EQ(g2.winDelay, 10);
  korfin();
  EXPECT_FALSE(slot(0).open);
}

TEST_F(ScreenTest, WindowMessagesBeforeAndAfterKorfin) {
  Global& g = open();
  int window = slot(0).window;
  // During drawing the button is ignored and Close is disabled.
  KorProc(window, platform::Message::RightButtonUp);
  KorProc(window, platform::Message::Close);
  KorProc(window, platform::Message::KeyReturn);
  EXPECT_TRUE(slot(0).open);
  line(0, 0, 100, 100);
  endgrf();
  EXPECT_TRUE(slot(0).open);
  g.winEndMode = 2;
  korfin();
  // After korfin the Close item closes the window.
  KorProc(window, platform::Message::RightButtonUp);
  EXPECT_TRUE(slot(0).open);
  KorProc(window, platform::Message::Close);
  EXPECT_FALSE(slot(0).open);
}

TEST_F(ScreenTest, UpdateAndQueriesAtLevelZero) {
  Global& g = open();
  g.winEndMode = 2;
  line(0, 0, 2969, 2099);
  korfin();
  winupd();  // at level 0, on the window that stays
  int id = 5, out = -1;
  qqwext(&id, &out);
  EXPECT_EQ(out, 0);  // no window-system identifier without a display
  EXPECT_EQ(g.externalWindow, 0);
  id = 1;
  qqwext_(&id, &out);
  EXPECT_EQ(g.externalWindow, 1);
  EXPECT_EQ(g.warningCount, 0);
}

// Without a display the program runs to the same protocol and prints one
// notice, however many plots it makes.
TEST(ScreenHeadless, OneNoticeAndNoWait) {
  char tmpl[] = "/tmp/korvan-screen-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  std::string dir = tmpl;
  pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(3);
    unsetenv("DISPLAY");
    platform::closeWindowSystem();
    if (!std::freopen("err.txt", "w", stderr) || !std::freopen("out.txt", "w", stdout)) _exit(3);
    qqsglb(1);
    for (int k = 0; k < 2; ++k) {
      metafl("CONS");
      korini();
      pagfll(0);
      color("RED");
      line(0, 0, 2969, 2099);
      endgrf();
      korfin();
    }
    std::fflush(nullptr);
    _exit(0);
  }
  int status = 0;
  for (int i = 0; i < 200 && waitpid(pid, &status, WNOHANG) == 0; ++i) usleep(50000);
  if (waitpid(pid, &status, WNOHANG) == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    FAIL() << "the plot waited without a display";
  }
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  auto slurp = [&](const char* name) {
    std::string s;
    if (std::FILE* f = std::fopen((dir + "/" + name).c_str(), "r")) {
      char buf[4096];
      std::size_t n;
      while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
      std::fclose(f);
    }
    return s;
  };
  std::string err = slurp("err.txt"), out = slurp("out.txt");
  EXPECT_EQ(err, "KORVAN: no display could be opened; the screen output is drawn off screen.\n");
  std::size_t first = out.find("Fileformat: CONS");
  ASSERT_NE(first, std::string::npos) << out;
  EXPECT_NE(out.find("Fileformat: CONS", first + 1), std::string::npos);
  EXPECT_NE(out.find("Warnings: 0 "), std::string::npos);
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
}

}  // namespace
