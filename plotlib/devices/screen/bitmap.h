// The back buffer of a screen window: a bitmap of 32-bit pixel values in
// memory that is not ours (the window system's surface) or ours (the palette
// index buffer), with the drawing operations of the screen driver. Pixel
// values are opaque here: RGB in true colour, palette indices otherwise.
//
// Lines follow the rules of the screen's own line drawing: the last pixel of
// a polyline is not set, so that polylines joined end to start set every
// pixel once. Rectangles cover x .. x + width - 1, y .. y + height - 1.
#pragma once

#include <cstdint>
#include <vector>

namespace korvan {

class Bitmap {
 public:
  void attach(std::uint32_t* pixels, int width, int height, int stride);
  void detach() { attach(nullptr, 0, 0, 0); }
  bool empty() const { return pixels_ == nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }
  const std::uint32_t* row(int y) const { return pixels_ + static_cast<std::ptrdiff_t>(y) * stride_; }
  std::uint32_t* data() { return pixels_; }
  int stride() const { return stride_; }

  // 0 outside the bitmap.
  std::uint32_t pixel(int x, int y) const;
  void setPixel(int x, int y, std::uint32_t c) {
    if (inside(x, y)) at(x, y) = c;
  }
  void fillRect(int x, int y, int width, int height, std::uint32_t c);
  void fill(std::uint32_t c) { fillRect(0, 0, width_, height_, c); }
  // Segments from point to point; the last point itself is not set.
  void polyline(const int* xs, const int* ys, int n, std::uint32_t c);
  // Interior (pixel centres inside, alternate rule) and closed outline.
  void fillPolygon(const int* xs, const int* ys, int n, std::uint32_t c);

 private:
  bool inside(int x, int y) const {
    return static_cast<unsigned>(x) < static_cast<unsigned>(width_) &&
           static_cast<unsigned>(y) < static_cast<unsigned>(height_);
  }
  std::uint32_t& at(int x, int y) { return pixels_[static_cast<std::ptrdiff_t>(y) * stride_ + x]; }
  void line(int x0, int y0, int x1, int y1, std::uint32_t c);
  void span(int y, int x0, int x1, std::uint32_t c);

  std::uint32_t* pixels_ = nullptr;
  int width_ = 0, height_ = 0, stride_ = 0;
  std::vector<float> crossings_;  // polygon rows, reused
};

}  // namespace korvan
