// SVG output ("SVG "): one SVG 1.0 document in pixels of the window size,
// written straight to the file (the line buffer is not used).
//
//   open     device scale and the document start (qqsvg2 op 1)
//   point    the point buffer qqsvg2: line and polyline elements
//   polygon  polygon element in the current colour
//   box      rect element (qqsvg4); colour and rgb qqsvg3; width qqsvg2 op 6
//   finish   document end and the file closed
//
// Strokes sit in groups that carry their colour and width; a colour or
// width change closes the open group and the next stroke opens a new one.
#pragma once

#include "devices/driver.h"
#include "devices/path_buffer.h"

namespace korvan {

class SvgDriver : public Driver {
 public:
  void open(Global& g) override;
  void point(Global& g, float x, float y, int mode) override;
  void draws(Global& g, const float* xs, const float* ys, int n) override;
  bool polygons() const override { return true; }
  void polygon(Global& g, const float* xs, const float* ys, int n) override;
  void box(Global& g, float x1, float y1, float x2, float y2, int colour) override;
  void colour(Global& g, int index) override;
  bool rgb(Global& g, int r, int gr, int b) override;
  void width(Global& g, int n) override;
  int finish(Global& g) override;

  // Groups: kind 0 closes an open group, kind 1 opens one if none is open.
  void qqsvg1(Global& g, int kind);
  // Point buffer and document frame, x and y in pixels. op 1 starts the
  // document (x, y = image size - 1), 2 draws, 6 sets the stroke width to x,
  // 9 flushes, 999 ends the document; anything else moves.
  void qqsvg2(Global& g, float x, float y, int op);
  // Colour change.
  void qqsvg3(Global& g, int r, int gr, int b);
  // Filled rectangle.
  void qqsvg4(Global& g, float x, float y, float width, float height, int r, int gr, int b);

  static constexpr int kPathPoints = 50;

 private:
  void toDevice(const Global& g, float x, float y, float& X, float& Y) const;
  void flushPath(Global& g);

  bool docOpen_ = false;
  int group_ = 0;
  int red_ = 0, green_ = 0, blue_ = 0;
  float strokeWidth_ = 1.0f;
  PathBuffer<float, kPathPoints> path_;
};

}  // namespace korvan
