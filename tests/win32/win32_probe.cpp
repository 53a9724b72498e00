// Built for Linux and for Windows alike. "files": a PostScript and a PNG
// plot of the same page in the current directory (korvan.ps, korvan.png),
// whose bytes the two builds must agree on. "dir": the installation
// directory the library finds, on one line. "font": the window fonts of the
// platform measured and drawn, straight and turned; "ok" when they look
// like text. "gui": the PostScript plot with the line protocol of winini.
// "close" (Windows): the Close item of the screen window until korfin.
#include <cstdio>
#include <cstring>

#include <algorithm>
#include <vector>

#include "core/state.h"
#include "korvan.h"
#include "platform/font_service.h"

#if defined(_WIN32)
#include <windows.h>

#include <chrono>
#include <string>
#include <thread>
#endif

namespace {

void page(const char* format) {
  metafl(format);
  korini();
  pagera();
  hsymbl(40);
  linwid(3);
  color("BLUE");
  arcell(1485, 1050, 900, 500, 0.0f, 360.0f, 30.0f);
  color("RED");
  vector(1485, 1050, 2264, 600, 1501);
  color("GREEN");
  messag("Orbit 1", 200, 200);
  color("FORE");
  symbol(21, 1485, 1050);
  korfin();
}

// Lit pixels of a text drawn into a black surface, and their bounding box.
struct Ink {
  int count = 0, width = 0, height = 0;
};

Ink ink(float angle) {
  korvan::platform::FontService& fs = korvan::platform::fontService();
  int font = fs.create("Arial", 40, angle, false);
  Ink r;
  if (!font) return r;
  std::vector<std::uint32_t> pixels(300 * 300, 0);
  korvan::platform::Surface s{pixels.data(), 300, 300, 300};
  fs.draw(font, s, angle == 0 ? 20 : 100, angle == 0 ? 100 : 280, "KORVAN", 0xFF00FF);
  int x0 = 300, y0 = 300, x1 = -1, y1 = -1;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 300; ++x)
      if (pixels[y * 300 + x] == 0xFF00FF) {
        ++r.count;
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
      }
  if (r.count) r.width = x1 - x0 + 1, r.height = y1 - y0 + 1;
  fs.release(font);
  return r;
}

#if defined(_WIN32)
// The Close guard of the screen window: Close is greyed out and ignored
// while the plot is drawn, and closes the window once korfin waits.
int closeGuard() {
  metafl("CONS");
  korini();
  pagera();
  HWND w = FindWindowA("kormain", nullptr);
  auto greyed = [w] {
    UINT state = GetMenuState(GetSystemMenu(w, FALSE), SC_CLOSE, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & (MF_GRAYED | MF_DISABLED)) != 0;
  };
  bool greyedWhileDrawing = w && greyed();
  PostMessageA(w, WM_CLOSE, 0, 0);
  winupd();  // handles the Close
  bool openAfterClose = IsWindow(w);
  bool enabledAtEnd = false;
  std::thread closer([&] {
    char title[128] = "";
    for (int i = 0; i < 200 && !std::string(title).ends_with("continue ..."); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      GetWindowTextA(w, title, sizeof title);
    }
    enabledAtEnd = !greyed();
    PostMessageA(w, WM_CLOSE, 0, 0);
  });
  korfin();
  closer.join();
  bool closed = !IsWindow(w);
  bool ok = greyedWhileDrawing && openAfterClose && enabledAtEnd && closed;
  std::printf("%s: greyed while drawing %d, open after Close %d, enabled at the end %d, closed %d\n",
              ok ? "ok" : "bad", greyedWhileDrawing, openAfterClose, enabledAtEnd, closed);
  return 0;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "files") == 0) {
    page("PS");
    page("PNG");
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "gui") == 0) {
    winini();  // the protocol goes to a message box
    page("PS");
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "dir") == 0) {
    char dir[256];
    korvan::qqgenv("KORVAN", dir, sizeof dir);
    std::printf("%s\n", dir);
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "font") == 0) {
    korvan::platform::FontService& fs = korvan::platform::fontService();
    int font = fs.create("Arial", 40, 0.0f, true);
    int wide = fs.width(font, 'W'), narrow = fs.width(font, 'i');
    fs.release(font);
    Ink straight = ink(0.0f), turned = ink(90.0f);
    bool ok = font > 0 && wide > narrow && narrow > 0 && straight.count > 200 &&
              straight.width > 2 * straight.height && turned.height > 2 * turned.width &&
              turned.count > straight.count / 2;
    std::printf("%s: W %d, i %d, straight %d px %dx%d, turned %d px %dx%d\n", ok ? "ok" : "bad",
                wide, narrow, straight.count, straight.width, straight.height, turned.count,
                turned.width, turned.height);
    return 0;
  }
#if defined(_WIN32)
  if (argc == 2 && std::strcmp(argv[1], "close") == 0) return closeGuard();
#endif
  std::fprintf(stderr, "usage: win32_probe files|gui|dir|font\n");
  return 2;
}
