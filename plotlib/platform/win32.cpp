// Win32 window system (USER32/GDI32). The surface of a window is a 32-bit
// top-down DIB section, so the driver draws straight into the bitmap that
// BitBlt copies to the window: no conversion, no second buffer. Window
// messages are turned into Events by the window procedure and queued until
// the driver asks for them.
#include "platform/window_system.h"
#include "platform/window_slots.h"

#if defined(_WIN32)

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <deque>
#include <string>

#include "platform/system.h"

namespace korvan::platform {

namespace {

constexpr const char* kClassName = "kormain";
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;

class Win32System;
Win32System* active = nullptr;  // the one system the window procedure serves

LRESULT CALLBACK KorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

class Win32System : public WindowSystem {
 public:
  Win32System() { active = this; }
  ~Win32System() override {
    windows_.eachId([this](int id) { destroy(id); });
    unregisterClass();
    if (active == this) active = nullptr;
  }

  bool headless() const override { return false; }

  ScreenMetrics metrics() override {
    ScreenMetrics m;
    m.width = GetSystemMetrics(SM_CXSCREEN);
    m.height = GetSystemMetrics(SM_CYSCREEN);
    HDC dc = GetDC(nullptr);
    if (dc) {
      m.bitsPerPixel = GetDeviceCaps(dc, PLANES) * GetDeviceCaps(dc, BITSPIXEL);
      ReleaseDC(nullptr, dc);
    }
    m.captionHeight = GetSystemMetrics(SM_CYCAPTION);
    m.frameWidth = GetSystemMetrics(SM_CXFRAME);
    m.frameHeight = GetSystemMetrics(SM_CYFRAME);
    return m;
  }

  int create(int x, int y, int width, int height, int surfaceWidth, int surfaceHeight,
             const char* title, bool show) override {
    if (!registerClass()) return 0;
    width = std::max(width, 1);
    height = std::max(height, 1);
    int id = windows_.freeId();
    if (id == 0) return 0;
    Win& w = windows_.at(id);
    w = Win();
    w.used = true;
    w.title = title ? title : "";
    makeSurface(w, surfaceWidth, surfaceHeight);

    // The position and size asked for are those of the client area.
    RECT r{x, y, x + width, y + height};
    AdjustWindowRectEx(&r, kStyle, FALSE, 0);
    w.hwnd = CreateWindowExA(0, kClassName, w.title.c_str(), kStyle, r.left, r.top,
                             r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    if (!w.hwnd) {
      freeSurface(w);
      w = Win();
      return 0;
    }
    // Close stays disabled until the plot has ended.
    enableClose(id, false);
    if (show) {
      ShowWindow(w.hwnd, SW_SHOWNORMAL);
      UpdateWindow(w.hwnd);
    }
    return id;
  }

  void destroy(int window) override {
    Win* w = find(window);
    if (!w) return;
    if (w->hwnd) {
      HWND h = w->hwnd;
      w->hwnd = nullptr;  // ours: no Destroyed event
      DestroyWindow(h);
    }
    freeSurface(*w);
    *w = Win();
    if (!windows_.anyUsed()) unregisterClass();
  }

  Surface surface(int window) override {
    Win* w = find(window);
    return w ? w->surface : Surface{};
  }

  void setTitle(int window, const char* title) override {
    Win* w = find(window);
    if (!w) return;
    w->title = title ? title : "";
    if (w->hwnd) SetWindowTextA(w->hwnd, w->title.c_str());
  }

  const char* title(int window) override {
    Win* w = find(window);
    return w ? w->title.c_str() : "";
  }

  void present(int window) override {
    Win* w = find(window);
    if (!w || !w->hwnd || !w->dc) return;
    HDC dc = GetDC(w->hwnd);
    if (!dc) return;
    blit(*w, dc);
    ReleaseDC(w->hwnd, dc);
    GdiFlush();
  }

  std::uintptr_t nativeId(int window) override {
    Win* w = find(window);
    return w ? reinterpret_cast<std::uintptr_t>(w->hwnd) : 0;
  }

  void enableClose(int window, bool enable) override {
    Win* w = find(window);
    if (!w || !w->hwnd) return;
    if (HMENU menu = GetSystemMenu(w->hwnd, FALSE))
      EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
  }

  bool pending() override {
    if (!events_.empty()) return true;
    MSG msg;
    return PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) != 0 || !events_.empty();
  }

  bool next(Event& event, int timeoutMs) override {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0);
    for (;;) {
      if (!events_.empty()) {
        event = events_.front();
        events_.pop_front();
        return true;
      }
      MSG msg;
      if (timeoutMs < 0) {
        // The end-of-plot wait: sleep in GetMessageA until something comes.
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) return false;
      } else if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (timeoutMs == 0) return false;
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()),
                                  QS_ALLINPUT);
        continue;
      }
      if (msg.message == WM_QUIT) return false;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  void messageBox(const char* text, const char* caption) override {
    showMessage(text, caption);
  }

  // The window procedure's share: messages the driver reacts to become
  // events; returns false for default handling.
  bool handle(HWND hwnd, UINT msg, WPARAM wp, LRESULT& result) {
    Win* w = byHwnd(hwnd);
    if (!w) return false;
    Event e{Message::Paint, idOf(w)};
    result = 0;
    switch (msg) {
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc) blit(*w, dc);
        EndPaint(hwnd, &ps);
        e.message = Message::Paint;
        break;
      }
      case WM_ERASEBKGND:
        result = 1;  // the whole client area is painted from the surface
        return true;
      case WM_CLOSE:
        e.message = Message::Close;  // the driver decides; no DestroyWindow here
        break;
      case WM_RBUTTONUP:
        e.message = Message::RightButtonUp;
        break;
      case WM_KEYDOWN:
        if (wp == VK_RETURN)
          e.message = Message::KeyReturn;
        else if (wp == VK_ESCAPE)
          e.message = Message::KeyEscape;
        else {
          events_.push_back({Message::KeyOther, idOf(w)});
          return false;
        }
        break;
      case WM_DESTROY:
        // Destroyed by someone else: forget the window, keep the surface.
        w->hwnd = nullptr;
        e.message = Message::Destroyed;
        break;
      default:
        return false;
    }
    events_.push_back(e);
    return true;
  }

 private:
  struct Win {
    bool used = false;
    HWND hwnd = nullptr;
    HDC dc = nullptr;            // memory context holding the DIB section
    HBITMAP bitmap = nullptr;
    HGDIOBJ initialBitmap = nullptr;
    Surface surface;
    std::string title;
  };

  Win* find(int window) { return windows_.find(window); }
  Win* byHwnd(HWND hwnd) {
    return windows_.findIf([hwnd](const Win& w) { return w.hwnd == hwnd; });
  }
  int idOf(const Win* w) const { return windows_.idOf(w); }

  bool registerClass() {
    if (registered_) return true;
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = KorProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kClassName;
    registered_ = RegisterClassA(&wc) != 0;
    return registered_;
  }
  void unregisterClass() {
    if (!registered_) return;
    UnregisterClassA(kClassName, GetModuleHandleA(nullptr));
    registered_ = false;
  }

  void makeSurface(Win& w, int sw, int sh) {
    if (sw < 1 || sh < 1) return;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = sw;
    bi.bmiHeader.biHeight = -sh;  // rows top-down, like the surface
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;  // a pixel is 0x00RRGGBB in memory order B, G, R, 0
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    w.dc = CreateCompatibleDC(nullptr);
    if (!w.dc) return;
    w.bitmap = CreateDIBSection(w.dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!w.bitmap || !bits) {
      if (w.bitmap) DeleteObject(w.bitmap);
      DeleteDC(w.dc);
      w.dc = nullptr;
      w.bitmap = nullptr;
      return;
    }
    w.initialBitmap = SelectObject(w.dc, w.bitmap);
    w.surface = {static_cast<std::uint32_t*>(bits), sw, sh, sw};
  }
  void freeSurface(Win& w) {
    if (w.dc) {
      SelectObject(w.dc, w.initialBitmap);
      DeleteDC(w.dc);
    }
    if (w.bitmap) DeleteObject(w.bitmap);
    w.dc = nullptr;
    w.bitmap = nullptr;
    w.surface = {};
  }

  static void blit(Win& w, HDC dc) {
    if (!w.dc) return;
    RECT r;
    GetClientRect(w.hwnd, &r);
    int cw = std::min<int>(r.right - r.left, w.surface.width);
    int ch = std::min<int>(r.bottom - r.top, w.surface.height);
    BitBlt(dc, 0, 0, cw, ch, w.dc, 0, 0, SRCCOPY);
  }

  WindowSlots<Win> windows_;
  std::deque<Event> events_;
  bool registered_ = false;
};

LRESULT CALLBACK KorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (active && active->handle(hwnd, msg, wp, result)) return result;
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace

WindowSystem* openWin32() { return new Win32System(); }

}  // namespace korvan::platform

#else

namespace korvan::platform {
WindowSystem* openWin32() { return nullptr; }
}  // namespace korvan::platform

#endif
