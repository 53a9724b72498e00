// CGM output ("CGM "): a binary Computer Graphics Metafile (version 1,
// binary encoding), one picture per file, written through the output line
// buffer in raw 80-byte records.
//
//   open     device factor and inicgm: metafile and picture header
//   point    the path buffer drwcgm: POLYLINE elements
//   box      line hatching (qqzigzag); colour LINE COLOUR
//   finish   move to (0, 0), the last path, END PICTURE, END METAFILE
//
// Only polylines and line colours occur: widths, fills and text arrive as
// lines drawn by the library itself.
#pragma once

#include <cstdint>

#include "devices/driver.h"
#include "devices/path_buffer.h"

namespace korvan {

class CgmDriver : public Driver {
 public:
  void open(Global& g) override;
  void point(Global& g, float x, float y, int mode) override;
  bool boxes() const override { return false; }
  void colour(Global& g, int index) override;
  int finish(Global& g) override;

  // kind 1: metafile header and the first picture header.
  void inicgm(Global& g, int kind);
  // A string parameter in the long form (length word, count byte, text).
  void qqcgm1(Global& g, const char* text);
  // The path buffer; x and y in VDC. op 0 reset, 2 draw, 9 flush (the last
  // point stays the pen position), 999 flush and close; anything else moves.
  void drwcgm(Global& g, float x, float y, int op);

  static constexpr int kPathPoints = 50;

 private:
  void flushPath(Global& g);
  void header(Global& g, int cls, int id, int length);

  bool pathOpen_ = false;
  PathBuffer<std::int16_t, kPathPoints> path_;
  int picture_ = 1;
};

}  // namespace korvan
