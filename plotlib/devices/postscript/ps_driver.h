// PostScript and EPS output ("POST", "PSCL", "EPS ", "PS  "): one page of
// PostScript text. The header and prologue are written straight to the file;
// the body records go through the word-packing line buffer (qpsbuf), so body
// lines never exceed 80 characters.
//
//   open     page set-up: orientation, page scale, inipsc
//   point    the path buffer drwpsc (50 points per stroked path)
//   polygon  even-odd filled path
//   box      "e" record; colour and rgb "f" record; width "cm setlinewidth"
//   finish   pending path, "showpage"
#pragma once

#include "devices/driver.h"
#include "devices/path_buffer.h"

namespace korvan {

class PostScriptDriver : public Driver {
 public:
  explicit PostScriptDriver(int device) : device_(device) {}

  void open(Global& g) override;
  void point(Global& g, float x, float y, int mode) override;
  void draws(Global& g, const float* xs, const float* ys, int n) override;
  bool polygons() const override { return true; }
  // A level 1 interpreter holds at most 1500 path points, the clipping
  // path's among them.
  int polygonPoints() const override { return 1400; }
  void polygon(Global& g, const float* xs, const float* ys, int n) override;
  void box(Global& g, float x1, float y1, float x2, float y2, int colour) override;
  void colour(Global& g, int index) override;
  bool rgb(Global& g, int r, int gr, int b) override;
  void width(Global& g, int n) override;
  int finish(Global& g) override;

  // Header comments, prologue, set-up line and the optional black page.
  void inipsc(Global& g);
  // The path buffer; x and y in device units. op 0 reset, 2 draw, 9 flush,
  // 999 flush and close, anything else a move.
  void drwpsc(Global& g, float x, float y, int op);

  static constexpr int kPathPoints = 50;

 private:
  // Plot units to device units (1/20 mm before the prologue's scale).
  void toDevice(const Global& g, float x, float y, float& X, float& Y) const;
  void flushPath(Global& g);

  int device_;
  bool landscape_ = true;
  bool pathOpen_ = false;
  PathBuffer<int, kPathPoints> path_;
};

// Hands one formatted record to the line buffer with the padding blanks of
// its fixed-width fields removed.
void qqpsrec(Global& g, const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

}  // namespace korvan
