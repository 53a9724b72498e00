// The screen window driver (device codes 72-80): every plot is drawn into a
// back buffer in memory of the window's size, which is copied to the window
// at each update, at repaints and at the end of the plot, where the window
// waits for the user.
//
// Routines: qqwini, qqwopn (set-up at korini), qqwclr, qqwdrw, qqwpol,
// qqwfll, qqwers, qqwvlt (drawing and colours), qqwsbf (update), qqwfin
// (end of plot), qqwwcls, qqwcls, qqwsel (window slots), KorProc (window
// procedure), qqwfnt, qqwcha, qqgiso (window fonts, screen_font.h).
// ScreenDriver connects them to the dispatch.
//
// The windows outlive a plot (end mode 2 keeps them open, a later korini on
// another slot retitles them), so the window slots and the drawing state are
// process-wide, not part of the driver object made at each korini.
#pragma once

#include <cstdint>

#include "devices/driver.h"
#include "devices/raster/smooth.h"
#include "platform/window_system.h"

namespace korvan {

// Set-up at korini. pageWidth and pageHeight as the page lies on the screen;
// winX .. winHeight in/out; returns the bits per pixel, and the drawing area
// (the back buffer, one pixel more each way than the client area) in
// *width x *height.
int qqwini(int device, int pageWidth, int pageHeight, int winMode, int* winX, int* winY,
           int* winWidth, int* winHeight, int bgMode, int displayMode, int* width, int* height);
void qqwopn(int device, int pageWidth, int pageHeight, int winMode, int* winX, int* winY,
            int* winWidth, int* winHeight, int* width, int* height);
void qqwclr(int index);
void qqwdrw(int x, int y, int op);
void qqwpol(int x, int y, int op);
void qqwfll(int x, int y, int width, int height, int colour);
void qqwers();
void qqwvlt(int mode, const int* colours);
void qqwsbf();
void qqwfin(int code);
void qqwwcls();
void qqwcls(int window);
void qqwsel(int window);
void KorProc(int window, platform::Message message);

// What a slot shows, for the image capture and for inspection.
struct ScreenSlotInfo {
  bool open;              // the slot has a window
  int window;             // its platform window (for KorProc)
  int x, y;               // client origin on the screen
  int width, height;      // drawing area (back buffer)
  bool closeEnabled;
  const char* title;
  std::uintptr_t nativeId;
};
bool qqwinf(int slot, ScreenSlotInfo* info);
int qqwcur();              // current slot, 0-7
// Colour mode: 0 none, 16 or 129 palette entries, 256 true colour.
int qqwmod();
// Pixel of the current back buffer: palette index, or 0x00RRGGBB in true
// colour; and the same as RGB in every mode. 0 outside.
std::uint32_t qqwpix(int x, int y);
std::uint32_t qqwrgb(int x, int y);

// For the device fonts (screen_font.cpp): the back buffer of the current
// slot with the pen's pixel value, after the open polyline is drawn (false
// without a window); and one pixel in the pen's colour.
bool qqwbuf(platform::Surface* buffer, std::uint32_t* pen);
void qqwspx(int x, int y);
// The pixel value of a colour index in the current colour mode (what the
// back buffer holds for it).
std::uint32_t qqwpxv(int index);

class ScreenDriver : public Driver {
 public:
  explicit ScreenDriver(int device) : device_(device) {}
  void open(Global& g) override;
  void point(Global& g, float x, float y, int mode) override;
  bool polygons() const override { return true; }
  void polygon(Global& g, const float* xs, const float* ys, int n) override;
  void box(Global& g, float x1, float y1, float x2, float y2, int colour) override;
  void erase(Global& g) override;
  void flush(Global& g) override;
  void colour(Global& g, int index) override;
  void palette(Global& g) override;
  bool windowFont(Global& g, const char* name, int size, float angle, int coding,
                  int* widths) override;
  void windowChar(Global& g, int code, int x, int y) override;
  void fontPixel(Global& g, int x, int y) override;
  int finish(Global& g) override;
  void countOnly(Global& g, bool on) override;
  bool fillsSolid(const Global&) const override { return smooth_; }

 private:
  // Smooth drawing: the painter on the current back buffer, with the pen's
  // colour and the clip window; false without a buffer.
  bool paintState(const Global& g);

  int device_;
  bool smooth_ = false;  // smooth("ON") on a true-colour screen
  SmoothPainter painter_;
  SmoothPen pen_{painter_};
};

}  // namespace korvan
