// The driver interface. Every output (screen window, each file format, the
// virtual raster) is one object behind this interface, made once at korini
// from the device code (makeDriver, device_table.cpp) and reached through
// g.driver. The dispatch routines (xjdraw, xjpoly, dbox, erase, sendbf) count
// and clip in plot units and hand the rest to the driver, which owns its
// device transform, its records and its state.
#pragma once

#include <cstdint>

namespace korvan {

struct Global;

class Driver {
 public:
  virtual ~Driver() = default;

  // After the output file (if any) is open: header records.
  virtual void open(Global&) {}
  // One point of a line in absolute plot units (already clipped). Mode 2
  // draws from the pen position, 3 moves; other modes are driver-defined.
  virtual void point(Global& g, float x, float y, int mode) = 0;
  // n draws (mode 2) in a row, inside the window: the points of a stroke
  // that needs no clipping. The same as n calls of point(); drivers with a
  // path buffer take them in one loop.
  virtual void draws(Global& g, const float* xs, const float* ys, int n) {
    for (int i = 0; i < n; ++i) point(g, xs[i], ys[i], 2);
  }
  // Filled polygon in plot units, origin shift applied. Only drivers that
  // answer true to polygons() receive it.
  virtual bool polygons() const { return false; }
  virtual void polygon(Global&, const float* /*xs*/, const float* /*ys*/, int /*n*/) {}
  // The most points of one polygon that the device's readers are sure to
  // take; 0 for any number. Larger fills are cut into pieces before.
  virtual int polygonPoints() const { return 0; }
  // Filled rectangle in plot units, clipped, with the colour index as passed.
  // A driver that answers false to boxes() gets lines instead.
  virtual bool boxes() const { return true; }
  virtual void box(Global&, float /*x1*/, float /*y1*/, float /*x2*/, float /*y2*/,
                   int /*colour*/) {}
  virtual void erase(Global&) {}
  // sendbf: make everything drawn so far visible.
  virtual void flush(Global&) {}
  // The colour index becomes current (g.currentColour still holds the old one).
  virtual void colour(Global&, int /*index*/) {}
  // A colour by value (components 0..255) for what follows, outside the
  // table; g.currentColour stays. False where the device has only its
  // table: the caller then takes the nearest entry. The caller sets the
  // current colour again when it is done.
  virtual bool rgb(Global&, int /*r*/, int /*g*/, int /*b*/) { return false; }
  // The whole colour table was loaded (palette devices).
  virtual void palette(Global&) {}
  // linwid: the device-group part, after the open stroke was flushed. The
  // default sets g.lineWidth = n, so that the stroke flush emulates the width
  // with outlines. A driver that strokes wide lines itself sets
  // g.lineWidth = -n (no emulation) and writes its own width record.
  virtual void width(Global& g, int n);
  // The points that follow, until the matching off, are counted but not
  // drawn: a smooth driver has drawn what they emulate (the outlines of a
  // wide line, the lines of a solid fill) already. Calls nest.
  virtual void countOnly(Global&, bool /*on*/) {}
  // True when the driver fills a solid polygon itself, through polygon(),
  // even where it does not answer polygons(): the fill then hands it the
  // polygon and still draws its lines, inside countOnly.
  virtual bool fillsSolid(const Global&) const { return false; }
  // Device fonts, in device units. A window font: the family name, size
  // units high (the cell), turned by angle degrees; the advances of the font
  // positions 32 .. 255 (times 10) go to widths[position - 31], the
  // positions turned into character codes by qqgiso with the coding flag.
  // False when the device has no window fonts.
  virtual bool windowFont(Global&, const char* /*name*/, int /*size*/, float /*angle*/,
                          int /*coding*/, int* /*widths*/) {
    return false;
  }
  // One character code of the window font, the top-left corner of its cell
  // at (x, y).
  virtual void windowChar(Global&, int /*code*/, int /*x*/, int /*y*/) {}
  // One pixel of a bitmap-font glyph in the current colour; nothing outside
  // the device.
  virtual void fontPixel(Global&, int /*x*/, int /*y*/) {}
  // korfin: end the output. Returns 1 if an output file was written, else 0.
  virtual int finish(Global&) { return 0; }
};

// rnd: truncation of v + 0.5 toward zero.
inline int rnd(float v) { return static_cast<int>(v + 0.5f); }


}  // namespace korvan
