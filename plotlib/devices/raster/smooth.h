// Smooth (anti-aliased) painting into a true-colour pixel buffer: the
// virtual raster (R, G, B bytes) or a window's back buffer (32-bit
// 0x00RRGGBB words).
//
//   SmoothPainter   exact-area coverage of polygons, rectangles and wide
//                   lines, blended into the pixels in the current colour
//   SmoothPen       the pen of a driver: collects the points of the line
//                   modes into polylines and strokes each one whole
//
// Coverage is accumulated: every polygon edge adds its signed area to the
// cells it crosses, and one running sum along each touched row gives the
// covered part of each pixel, with no supersampling and no per-pixel
// branching on the geometry. A wide line is first turned into one outline
// polygon (joins and caps included), so one rasteriser serves lines, fills
// and the strokes of text.
//
// Blending is done on the stored sRGB values, not in linear light: every
// renderer the pictures are compared with (browsers, PDF viewers, cairo)
// blends that way, thin dark lines on white keep the weight they have
// there, and a blend is one multiply-add per channel.
//
// Coordinates are continuous pixel units: pixel (i, j) covers [i, i + 1) x
// [j, j + 1). Nothing is written outside the buffer or the clip rectangle,
// whatever the coordinates (far outside, huge widths, NaN).
//
// This file depends on nothing else of the library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvan {

enum class PixelLayout { Rgb24, Xrgb32 };

enum class LineCap { Butt, Square, Round };

class SmoothPainter {
 public:
  // The pixels to paint; the clip rectangle becomes the whole buffer.
  void attach(std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride,
              PixelLayout layout);
  void detach() { attach(nullptr, 0, 0, 0, layout_); }
  bool attached() const { return pixels_ != nullptr; }
  // Pixels x0 .. x1, y0 .. y1 (inclusive), cut to the buffer.
  void clip(int x0, int y0, int x1, int y1);
  void colour(std::uint8_t r, std::uint8_t g, std::uint8_t b);

  // A filled polygon (non-zero rule, closed implicitly). Ignored when a
  // coordinate is not finite.
  void fill(const float* xs, const float* ys, int n);
  // The rectangle [x0, x1] x [y0, y1].
  void rect(double x0, double y0, double x1, double y1);
  // A polyline of the given width (pixels) as one outline: round joins, the
  // cap at both open ends; a polyline that ends where it started is closed
  // (joins all round, no caps). Non-finite points break the line.
  void stroke(const float* xs, const float* ys, int n, double width, LineCap cap);

 private:
  struct Pt {
    double x, y;
  };
  void edge(double x0, double y0, double x1, double y1);
  void accumulate(double x0, double y0, double x1, double y1);
  void contour(const std::vector<Pt>& pts);
  void strokeRun(std::vector<Pt>& run, double half, LineCap cap);
  void side(const std::vector<Pt>& p, bool closed, double half, std::vector<Pt>& out) const;
  void cap(Pt at, Pt dir, double half, LineCap cap, std::vector<Pt>& out) const;
  void arc(Pt centre, Pt from, double angle, double half, std::vector<Pt>& out) const;
  int arcSteps(double angle, double half) const;
  // Turns the accumulated coverage into pixels and empties the cells.
  void paint();

  std::uint8_t* pixels_ = nullptr;
  int width_ = 0, height_ = 0;
  std::ptrdiff_t stride_ = 0;
  PixelLayout layout_ = PixelLayout::Rgb24;
  int cx0_ = 0, cy0_ = 0, cx1_ = -1, cy1_ = -1;
  std::uint8_t rgb_[3] = {0, 0, 0};
  // Accumulation cells, width + 2 per row, and per row the cells touched.
  std::vector<float> cells_;
  std::vector<int> lo_, hi_;
  int top_ = 0, bottom_ = -1;  // rows touched
  std::vector<Pt> run_, outline_, back_;
  mutable std::vector<Pt> dirs_;     // unit directions of the segments of a side
  mutable std::vector<double> lens_; // and their lengths
};

// The pen of a smooth driver, in continuous pixel units. Moves and draws
// become polylines; a move to the point the pen stands on continues the
// line (the stroke buffer of the pipeline restarts that way), so a long
// curve is one outline with joins, not pieces with caps. The open polyline
// is stroked by end(), which a driver calls before anything else it draws
// and at each change of colour or width.
class SmoothPen {
 public:
  explicit SmoothPen(SmoothPainter& painter) : painter_(painter) {}
  void move(float x, float y);
  void draw(float x, float y);
  void end();
  // Width in pixels and cap of the lines that follow (the open line ends).
  void style(double width, LineCap cap);
  // While on (nested), points are neither drawn nor remembered: the
  // pipeline counts the outlines of wide lines, which the pen has drawn
  // already.
  void countOnly(bool on) { depth_ += on ? 1 : (depth_ > 0 ? -1 : 0); }
  bool counting() const { return depth_ > 0; }

 private:
  SmoothPainter& painter_;
  std::vector<float> xs_, ys_;
  float lastX_ = 0.0f, lastY_ = 0.0f;
  double width_ = 1.0;
  LineCap cap_ = LineCap::Square;
  int depth_ = 0;
};

}  // namespace korvan
