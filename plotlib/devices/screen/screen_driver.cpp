#include "devices/screen/screen_driver.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/colour_entry.h"
#include "core/state.h"
#include "devices/sheet.h"
#include "devices/device_table.h"
#include "devices/screen/bitmap.h"
#include "devices/smooth_style.h"
#include "korvan.h"

namespace korvan {

namespace {

using platform::Message;

constexpr int kSlots = 8;
constexpr int kLinePoints = 50;
// In the palette modes the initial white pen is no palette entry: it gets a
// value of its own behind the palette.
constexpr std::uint32_t kWhiteIndex = 256;
constexpr std::uint32_t kWhite = 0xFFFFFF;

struct WinSlot {
  int window = 0;                        // platform window; 0 = none
  Bitmap buffer;                         // the back buffer
  std::vector<std::uint32_t> indices;    // palette modes: its pixels
  int x = 0, y = 0;                      // client origin
  int width = 0, height = 0;             // drawing area
  bool closeEnabled = false;
  std::string userTitle;                 // no routine of this library sets one
};

struct ScreenState {
  platform::ScreenMetrics metrics;
  int colourMode = 0;                    // 0 none, 16 / 129 palette, 256 true colour
  std::uint32_t palette[257] = {};       // RGB of the palette entries, + the white pen
  std::uint8_t red[256] = {}, green[256] = {}, blue[256] = {};  // colour-table copy
  int tableMode = -1;                    // argument of the last qqwvlt
  std::uint32_t colour = kWhite;         // the pen: a pixel value
  int lineX[kLinePoints] = {}, lineY[kLinePoints] = {};
  int lineCount = 0;
  bool moved = true;                     // the last operation was a move
  std::vector<int> polyX, polyY;
  int endMode = 0, keyMode = 0, delay = 10;
  bool waiting = false;
  bool quit = false;                     // the quit message was posted
  int bgMode = 0;
  int displayMode = 2;
  bool classRegistered = false;
  WinSlot slots[kSlots];
  int current = 0;                       // current slot
  int requested = 1;                     // window number to close at the end
};

ScreenState& S() {
  static ScreenState state;
  return state;
}

platform::WindowSystem& ws() { return platform::windowSystem(); }

std::uint32_t rgbOf(int k) {
  ScreenState& s = S();
  return static_cast<std::uint32_t>(s.red[k]) << 16 | static_cast<std::uint32_t>(s.green[k]) << 8 |
         s.blue[k];
}

// Library colour index to the pixel value of the colour mode.
std::uint32_t mapColour(int c) {
  ScreenState& s = S();
  c = colourSlot(c);
  if (s.tableMode == 0)
    c = c == 0 ? 0 : (c - 1) % 8 + 1;
  else if (s.tableMode == 7)
    c = c % 16;
  else if (s.colourMode == 129)
    c = (c + 1) / 2;
  else if (s.colourMode == 16)
    c = c == 0 ? 0 : c == 255 ? 15 : static_cast<int>((c - 1) * 13.0 / 253.0 + 1.5);
  if (s.colourMode == 256) return rgbOf(c);
  if (s.colourMode == 0) return c == 0 ? 0 : kWhite;
  return static_cast<std::uint32_t>(c);
}

bool paletteMode() { return S().colourMode == 16 || S().colourMode == 129; }

std::uint32_t toRgb(std::uint32_t v) {
  return paletteMode() ? S().palette[std::min<std::uint32_t>(v, kWhiteIndex)] : v;
}

// The polyline buffer to the back buffer; restarts with the last point
// (keepLast) or with (x, y), and the move flag set.
void flushLines(bool keepLast, int x = 0, int y = 0) {
  ScreenState& s = S();
  Bitmap& b = s.slots[s.current].buffer;
  if (s.lineCount >= 2)
    b.polyline(s.lineX, s.lineY, s.lineCount, s.colour);
  else if (s.lineCount == 1 && !s.moved)
    b.setPixel(s.lineX[0], s.lineY[0], s.colour);
  if (keepLast) {
    if (s.lineCount > 0) {
      s.lineX[0] = s.lineX[s.lineCount - 1];
      s.lineY[0] = s.lineY[s.lineCount - 1];
      s.lineCount = 1;
    }
  } else {
    s.lineX[0] = x;
    s.lineY[0] = y;
    s.lineCount = 1;
  }
  s.moved = true;
}

// The whole back buffer to the window.
void copyToWindow(WinSlot& slot) {
  if (!slot.window) return;
  if (paletteMode() && !slot.buffer.empty()) {
    platform::Surface out = ws().surface(slot.window);
    int w = std::min(out.width, slot.buffer.width());
    int h = std::min(out.height, slot.buffer.height());
    const std::uint32_t* lut = S().palette;
    for (int y = 0; y < h; ++y) {
      const std::uint32_t* src = slot.buffer.row(y);
      std::uint32_t* dst = out.pixels + static_cast<std::ptrdiff_t>(y) * out.stride;
      for (int x = 0; x < w; ++x) dst[x] = lut[std::min<std::uint32_t>(src[x], kWhiteIndex)];
    }
  }
  ws().present(slot.window);
}

// Destroys the window of a slot with its back buffer. The destruction of
// the current window ends the wait of the end of the plot.
void releaseSlot(int i) {
  ScreenState& s = S();
  WinSlot& slot = s.slots[i];
  if (!slot.window) return;
  ws().destroy(slot.window);
  slot.window = 0;
  slot.buffer.detach();
  slot.indices = std::vector<std::uint32_t>();
  slot.closeEnabled = false;
  if (i == s.current && s.waiting) s.quit = true;
}

void setTitle(int i, const char* title) {
  WinSlot& slot = S().slots[i];
  if (slot.window && slot.userTitle.empty()) ws().setTitle(slot.window, title);
}

void retitle(int i) {
  char text[32];
  std::snprintf(text, sizeof text, "KORVAN %d", i + 1);
  setTitle(i, text);
}

int slotOfWindow(int window) {
  for (int i = 0; i < kSlots; ++i)
    if (S().slots[i].window != 0 && S().slots[i].window == window) return i;
  return -1;
}

// The right button, or the key that stands for it, at the end of the plot.
void endOfPlotAction(bool byKey) {
  ScreenState& s = S();
  if (s.endMode == 0)
    qqwwcls();
  else if (s.endMode == 1)
    s.quit = true;
  else if (s.endMode == 5 && byKey)
    qqwwcls();  // the title asks for the key alone: it must end the wait
}

// Runs the message loop until the quit message, or until the deadline.
void messageLoop(int timeoutMs) {
  ScreenState& s = S();
  using Clock = std::chrono::steady_clock;
  auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  platform::Event e;
  while (!s.quit) {
    int wait = -1;
    if (timeoutMs >= 0) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (left.count() <= 0) break;
      wait = static_cast<int>(left.count());
    }
    if (ws().next(e, wait)) KorProc(e.window, e.message);
  }
}

}  // namespace

int qqwini(int device, int pageWidth, int pageHeight, int winMode, int* winX, int* winY,
           int* winWidth, int* winHeight, int bgMode, int displayMode, int* width, int* height) {
  ScreenState& s = S();
  s.bgMode = bgMode;
  s.displayMode = displayMode;
  s.classRegistered = true;
  s.metrics = ws().metrics();
  int bpp = s.metrics.bitsPerPixel;
  s.colourMode = bpp > 8 ? 256 : bpp == 8 ? 129 : bpp >= 4 ? 16 : 0;
  std::fill(std::begin(s.palette), std::end(s.palette), 0u);
  s.palette[kWhiteIndex] = kWhite;
  std::fill(std::begin(s.red), std::end(s.red), 0);
  std::fill(std::begin(s.green), std::end(s.green), 0);
  std::fill(std::begin(s.blue), std::end(s.blue), 0);
  if (bgMode == 2) s.red[0] = s.green[0] = s.blue[0] = 255;
  s.tableMode = -1;
  s.colour = paletteMode() ? kWhiteIndex : kWhite;
  s.lineCount = 0;
  s.moved = true;
  s.polyX.clear();
  s.polyY.clear();
  s.waiting = false;
  qqwopn(device, pageWidth, pageHeight, winMode, winX, winY, winWidth, winHeight, width, height);
  return bpp;
}

void qqwopn(int device, int pageWidth, int pageHeight, int winMode, int* winX, int* winY,
            int* winWidth, int* winHeight, int* width, int* height) {
  ScreenState& s = S();
  const platform::ScreenMetrics& m = s.metrics;
  bool console = device == 80;
  int slot = console ? 0 : std::clamp(device - 72, 0, kSlots - 1);
  s.requested = slot + 1;

  int w = *winWidth, h = *winHeight;
  if (winMode == 0) {
    double f = static_cast<double>(pageWidth) / pageHeight;
    if (pageWidth > pageHeight) {
      w = console ? m.width - 2 * m.frameWidth : 2 * m.width / 3;
      h = static_cast<int>(w / f + 0.5);
    } else {
      h = console ? m.height - m.captionHeight - 2 * m.frameHeight + 1 : 2 * m.height / 3;
      w = static_cast<int>(f * h + 0.5);
    }
    *winWidth = w;
    *winHeight = h;
  }
  w = std::max(w, 2);
  h = std::max(h, 2);
  int x = *winX, y = *winY;
  if (winMode != 1) {
    int right = m.width - w - m.frameWidth, left = m.frameWidth;
    int bottom = m.height - h - m.frameHeight, top = m.frameHeight + m.captionHeight - 1;
    switch (device) {
      case 73: x = right; y = top; break;
      case 74: x = left; y = top; break;
      case 75: x = left; y = bottom; break;
      case 76:
        x = (m.width - w) / 2;
        y = (m.height - h) / 2 + m.captionHeight / 2;
        break;
      case 77:
      case 78:
      case 79: {
        int k = device - 76;
        x = k * m.width / 16 + m.frameWidth;
        y = m.frameHeight + m.captionHeight + k * m.height / 16 - 1;
        break;
      }
      default: x = right; y = bottom; break;  // 72 and 80
    }
    x = std::max(x, m.frameWidth);
    y = std::max(y, m.frameHeight + m.captionHeight - 1);
    *winX = x;
    *winY = y;
  }

  WinSlot& win = s.slots[slot];
  releaseSlot(slot);
  if (s.current != slot && s.slots[s.current].window) retitle(s.current);
  s.current = slot;

  // The outer rectangle of the window is x - frame, y - caption - frame + 1,
  // width + 2 frames - 1 by height + caption + 2 frames - 1, which leaves a
  // client area of (width - 1) x (height - 1) at (x, y + 1).
  char title[40];
  std::snprintf(title, sizeof title, "KORVAN %d / Working", slot + 1);
  win.x = x;
  win.y = y + 1;
  win.window = ws().create(win.x, win.y, w - 1, h - 1, w, h, title, s.displayMode != 3);
  win.width = w;
  win.height = h;
  win.closeEnabled = false;
  win.userTitle.clear();
  platform::Surface surface = win.window ? ws().surface(win.window) : platform::Surface{};
  if (!surface.pixels) {
    ws().messageBox("Cannot create Bitmap", "korini");
    s.quit = true;
  } else if (paletteMode()) {
    win.indices.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0u);
    win.buffer.attach(win.indices.data(), w, h, w);
  } else {
    win.buffer.attach(surface.pixels, std::min(w, surface.width), std::min(h, surface.height),
                      surface.stride);
  }
  win.buffer.fill(mapColour(0));
  *width = w;
  *height = h;
}

void qqwclr(int index) {
  ScreenState& s = S();
  flushLines(true);
  if (s.colourMode == 0) return;  // the white pen stays
  s.colour = mapColour(index);
}

void qqwdrw(int x, int y, int op) {
  ScreenState& s = S();
  if (op == 2) {
    if (s.lineCount == 0 || x != s.lineX[s.lineCount - 1] || y != s.lineY[s.lineCount - 1]) {
      s.lineX[s.lineCount] = x;
      s.lineY[s.lineCount] = y;
      s.lineCount += 1;
    }
    s.moved = false;
    if (s.lineCount == kLinePoints) flushLines(true);
    return;
  }
  if (op == 999)
    flushLines(true);
  else
    flushLines(false, x, y);
}

void qqwpol(int x, int y, int op) {
  ScreenState& s = S();
  if (op == 1) {
    // The point arrays are kept between polygons: no allocation per frame.
    s.polyX.clear();
    s.polyY.clear();
    if (x > 0) {
      s.polyX.reserve(static_cast<std::size_t>(x));
      s.polyY.reserve(static_cast<std::size_t>(x));
    }
  } else if (op == 9) {
    flushLines(true);
    s.slots[s.current].buffer.fillPolygon(s.polyX.data(), s.polyY.data(),
                                          static_cast<int>(s.polyX.size()), s.colour);
    s.polyX.clear();
    s.polyY.clear();
  } else {
    s.polyX.push_back(x);
    s.polyY.push_back(y);
  }
}

void qqwfll(int x, int y, int width, int height, int colour) {
  ScreenState& s = S();
  flushLines(true);
  s.slots[s.current].buffer.fillRect(x, y, width, height, mapColour(colour));
}

void qqwers() {
  ScreenState& s = S();
  flushLines(true);
  Bitmap& b = s.slots[s.current].buffer;
  b.fill(mapColour(0));
}

void qqwvlt(int mode, const int* colours) {
  ScreenState& s = S();
  for (int i = 0; i < 256; ++i) {
    s.red[i] = static_cast<std::uint8_t>((colours[i] >> 16) & 255);
    s.green[i] = static_cast<std::uint8_t>((colours[i] >> 8) & 255);
    s.blue[i] = static_cast<std::uint8_t>(colours[i] & 255);
  }
  s.tableMode = mode;
  if (!paletteMode()) return;
  int n = mode == 0 ? 9 : mode == 7 ? 16 : s.colourMode;
  for (int j = 0; j < n; ++j) {
    int k = j;
    if (mode != 0 && mode != 7) {
      if (s.colourMode == 129 && j >= 1)
        k = 2 * j - 1;
      else if (s.colourMode == 16)
        k = j == 0 ? 0 : j == 15 ? 255 : static_cast<int>((j - 1) * 253.0 / 13.0 + 1.5);
    }
    s.palette[j] = rgbOf(k);
  }
}

void qqwsbf() {
  ScreenState& s = S();
  WinSlot& slot = s.slots[s.current];
  if (!slot.window) return;
  flushLines(true);
  bool painted = false;
  if (ws().pending()) {
    platform::Event e;
    while (ws().next(e, 0)) {
      if (e.message == Message::Paint && e.window == slot.window) painted = true;
      KorProc(e.window, e.message);
    }
  }
  if (!painted) copyToWindow(s.slots[s.current]);
}

void qqwfin(int code) {
  ScreenState& s = S();
  s.endMode = code % 10;
  if (s.endMode == 4) {
    s.delay = code / 10;
    s.keyMode = 0;
  } else {
    s.keyMode = code / 10;
  }
  flushLines(true);
  copyToWindow(s.slots[s.current]);
  // Input made while the plot was drawn belongs to no wait: it is handled
  // now, with the buttons ignored and Close still disabled.
  platform::Event e;
  while (ws().next(e, 0)) KorProc(e.window, e.message);
  if (s.current != s.requested - 1) qqwsel(s.requested);
  WinSlot& slot = s.slots[s.current];
  if (!slot.window) return;  // nothing left to wait on
  slot.closeEnabled = true;
  ws().enableClose(slot.window, true);

  const char* format = "KORVAN %d / Click MB2 to continue ...";
  if (code == 2)
    format = "KORVAN %d";
  else if (s.endMode == 4)
    format = "KORVAN %d / Delay time %d seconds";
  else if (s.keyMode == 1)
    format = s.endMode == 5 ? "KORVAN %d / Press RETURN to continue ..."
                            : "KORVAN %d / Click MB2 or RETURN to continue ...";
  else if (s.keyMode == 2)
    format = s.endMode == 5 ? "KORVAN %d / Press ESC to continue ..."
                            : "KORVAN %d / Click MB2 or ESC to continue ...";
  else if (s.endMode == 5)
    format = "KORVAN %d";
  char title[64];
  std::snprintf(title, sizeof title, format, s.current + 1, s.delay);
  setTitle(s.current, title);

  if (s.endMode == 2) return;
  if (ws().headless() || s.displayMode == 3) {
    // Nobody can answer (no display, or the window is not shown): the plot
    // ends as if the user had.
    if (s.endMode != 1) qqwwcls();
    return;
  }
  if (s.endMode == 3) {
    qqwwcls();
    return;
  }
  s.waiting = true;
  s.quit = false;
  messageLoop(s.endMode == 4 ? s.delay * 1000 : -1);
  s.waiting = false;
  s.quit = false;
  if (s.endMode == 4) qqwwcls();
}

void qqwwcls() {
  ScreenState& s = S();
  for (WinSlot& slot : s.slots) slot.userTitle.clear();
  for (int i = 0; i < kSlots; ++i)
    if (i != s.current) releaseSlot(i);
  releaseSlot(s.current);
  s.classRegistered = false;
}

void qqwcls(int window) {
  ScreenState& s = S();
  if (window < 1 || window > kSlots) return;
  releaseSlot(window - 1);
  qqwsel(s.requested);
}

void qqwsel(int window) {
  ScreenState& s = S();
  if (window < 1 || window > kSlots) return;
  int slot = window - 1;
  if (!s.slots[slot].window || slot == s.current) return;
  if (s.slots[s.current].window) {
    flushLines(true);
    retitle(s.current);
  }
  s.current = slot;
}

void KorProc(int window, Message message) {
  ScreenState& s = S();
  int i = slotOfWindow(window);
  if (i < 0) return;
  WinSlot& slot = s.slots[i];
  switch (message) {
    case Message::Paint:
      copyToWindow(slot);
      break;
    case Message::Close:
      if (!slot.closeEnabled) break;  // disabled until korfin has drawn
      if (i == s.requested - 1)
        qqwwcls();
      else
        qqwcls(i + 1);
      break;
    case Message::RightButtonUp:
      // Ignored while frames are drawn: only the end-of-plot wait listens.
      if (s.waiting && i == s.current && s.endMode != 5) endOfPlotAction(false);
      break;
    case Message::KeyReturn:
      if (s.waiting && i == s.current && s.keyMode == 1) endOfPlotAction(true);
      break;
    case Message::KeyEscape:
      if (s.waiting && i == s.current && s.keyMode == 2) endOfPlotAction(true);
      break;
    case Message::KeyOther:
      break;
    case Message::Destroyed:
      releaseSlot(i);
      break;
  }
}

bool qqwinf(int slot, ScreenSlotInfo* info) {
  if (slot < 0 || slot >= kSlots || !info) return false;
  const WinSlot& w = S().slots[slot];
  info->open = w.window != 0;
  info->window = w.window;
  info->x = w.x;
  info->y = w.y;
  info->width = w.window ? w.width : 0;
  info->height = w.window ? w.height : 0;
  info->closeEnabled = w.closeEnabled;
  info->title = w.window ? ws().title(w.window) : "";
  info->nativeId = w.window ? ws().nativeId(w.window) : 0;
  return info->open;
}

int qqwcur() { return S().current; }
int qqwmod() { return S().colourMode; }

std::uint32_t qqwpix(int x, int y) {
  const WinSlot& w = S().slots[S().current];
  return w.window ? w.buffer.pixel(x, y) : 0;
}

std::uint32_t qqwrgb(int x, int y) { return toRgb(qqwpix(x, y)); }

bool qqwbuf(platform::Surface* buffer, std::uint32_t* pen) {
  ScreenState& s = S();
  WinSlot& w = s.slots[s.current];
  if (!w.window || w.buffer.empty()) return false;
  flushLines(true);
  *buffer = platform::Surface{w.buffer.data(), w.buffer.width(), w.buffer.height(),
                              w.buffer.stride()};
  *pen = s.colour;
  return true;
}

void qqwspx(int x, int y) {
  ScreenState& s = S();
  WinSlot& w = s.slots[s.current];
  if (!w.window) return;
  flushLines(true);
  w.buffer.setPixel(x, y, s.colour);
}

std::uint32_t qqwpxv(int index) { return mapColour(index); }

// ---- the driver object of one plot ----

void ScreenDriver::open(Global& g) {
  // The end of the plot is reset at every korini.
  g.winEndMode = 0;
  g.winKeyMode = 0;
  g.winDelay = 10;
  int pw, ph;
  qqdevpage(g, pw, ph);
  int w = 0, h = 0;
  // A size from rassiz is the window's size; the screen then only places it.
  const int mode = g.winMode == 0 && g.rasterWidth > 0 ? 2 : g.winMode;
  g.screenDepth = qqwini(device_, pw, ph, mode, &g.winX, &g.winY, &g.winWidth, &g.winHeight,
                         g.bgMode, g.winDisplayMode, &w, &h);
  g.windowNumber = device_ == 80 ? 1 : device_ - 71;
  float k = g.plotScale * g.unitScale;
  float s = std::min(static_cast<float>(w - 1) / static_cast<float>(pw),
                     static_cast<float>(h - 1) / static_cast<float>(ph));
  const float side = static_cast<float>(std::max(pw, ph));
  if (pw > ph)
    s = std::min(s, static_cast<float>(w - 1) / side * k);
  else
    s = std::min(s, static_cast<float>(h - 1) / side * k);
  g.deviceScale = s;
  // Blending needs the colours themselves: palette screens stay plain.
  smooth_ = g.smoothMode == 1 && deviceInfo(device_).smooth && S().colourMode == 256;
}

bool ScreenDriver::paintState(const Global& g) {
  ScreenState& s = S();
  Bitmap& b = s.slots[s.current].buffer;
  if (!s.slots[s.current].window || b.empty()) return false;
  painter_.attach(reinterpret_cast<std::uint8_t*>(b.data()), b.width(), b.height(),
                  static_cast<std::ptrdiff_t>(b.stride()) * 4, PixelLayout::Xrgb32);
  painter_.colour(static_cast<std::uint8_t>((s.colour >> 16) & 255),
                  static_cast<std::uint8_t>((s.colour >> 8) & 255),
                  static_cast<std::uint8_t>(s.colour & 255));
  int x0, y0, x1, y1;
  qqsmcl(g, [&](float x, float y, float& X, float& Y) { qqdown(g, x, y, X, Y); }, &x0, &y0, &x1,
         &y1);
  painter_.clip(x0, y0, x1, y1);
  return true;
}

void ScreenDriver::point(Global& g, float x, float y, int mode) {
  float X, Y;
  qqdown(g, x, y, X, Y);
  if (smooth_) {
    if (pen_.counting()) return;
    // Pixel centres lie at half units of the painter.
    if (mode == 2) {
      pen_.draw(X + 0.5f, Y + 0.5f);
      return;
    }
    double width;
    LineCap cap;
    qqsmst(g, &width, &cap);
    pen_.style(width, cap);
    paintState(g);
    pen_.move(X + 0.5f, Y + 0.5f);
    return;
  }
  qqwdrw(rnd(X), rnd(Y), mode);
}

void ScreenDriver::countOnly(Global&, bool on) { pen_.countOnly(on); }

void ScreenDriver::polygon(Global& g, const float* xs, const float* ys, int n) {
  float s = g.deviceScale;
  if (smooth_) {
    pen_.end();
    if (n < 3 || !paintState(g)) return;
    std::vector<float> px(static_cast<std::size_t>(n)), py(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
      qqdown(g, xs[i], ys[i], px[static_cast<std::size_t>(i)], py[static_cast<std::size_t>(i)]);
      px[static_cast<std::size_t>(i)] += 0.5f;
      py[static_cast<std::size_t>(i)] += 0.5f;
    }
    painter_.fill(px.data(), py.data(), n);
    return;
  }
  qqwpol(n, 0, 1);
  for (int i = 0; i < n; ++i) qqwpol(rnd(xs[i] * s), rnd(ys[i] * s), 2);
  qqwpol(0, 0, 9);
}

void ScreenDriver::box(Global& g, float x1, float y1, float x2, float y2, int colour) {
  float s = g.deviceScale;
  if (smooth_) {
    pen_.end();
    if (!paintState(g)) return;
    const std::uint32_t c = mapColour(colour);
    painter_.colour(static_cast<std::uint8_t>((c >> 16) & 255),
                    static_cast<std::uint8_t>((c >> 8) & 255), static_cast<std::uint8_t>(c & 255));
    painter_.rect(x1 * s, y1 * s, x2 * s + 1.0, y2 * s + 1.0);
    return;
  }
  int X1 = rnd(x1 * s), Y1 = rnd(y1 * s), X2 = rnd(x2 * s), Y2 = rnd(y2 * s);
  qqwfll(X1, Y1, X2 - X1 + 1, Y2 - Y1 + 1, colour);
}

void ScreenDriver::erase(Global&) {
  pen_.end();
  qqwers();
}
void ScreenDriver::flush(Global&) {
  pen_.end();
  qqwsbf();
}
void ScreenDriver::colour(Global&, int index) {
  pen_.end();
  qqwclr(index);
}
void ScreenDriver::palette(Global& g) {
  pen_.end();
  qqwvlt(g.colourTableNo, g.colourTable);
}

int ScreenDriver::finish(Global& g) {
  pen_.end();
  int code = g.winEndMode == 4 ? 10 * g.winDelay + 4 : 10 * g.winKeyMode + g.winEndMode;
  qqwfin(code);
  return 0;
}

}  // namespace korvan

using namespace korvan;

extern "C" {

void winupd(void) {
  Global* g = jqqlev(0, 3, "winupd");
  if (g && deviceInfo(g->device).cls == DeviceClass::Screen) qqwsbf();
}

void qqwext(const int* id, int* out) {
  Global* g = jqqlev(0, 3, "qqwext");
  if (!g || !id) return;
  if (*id <= 1) g->externalWindow = *id;
  if (out) {
    ScreenSlotInfo info{};
    *out = qqwinf(qqwcur(), &info) ? static_cast<int>(info.nativeId) : 0;
  }
}

void qqwext_(const int* id, int* out) { qqwext(id, out); }

}  // extern "C"
