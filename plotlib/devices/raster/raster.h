// The virtual raster: an image buffer in memory that the raster outputs draw
// into and the image writers read from.
//
//   qqvini, qqvers, qqvfin     create, clear, free
//   qqvclr, qqvvlt             current colour, colour table
//   qqvlin, qqvfll, qqvftr     line, rectangle, triangle
//   qqvwpx, qqvrpx             one pixel
//   qqvwrgb                    one pixel by value (true colour)
//   qqvrow, qqvrdr             rows in, rows out (indices or R, G, B)
//
// Two modes: true colour (3 bytes R, G, B per pixel) and palette (1 byte, a
// colour index). Rows run from the top down, each padded to a multiple of 4
// bytes. Every pixel access is bounds-checked: drawing outside the raster
// changes nothing.
//
// This file depends on nothing else of the library, so that the readers that
// fill a raster can be built on their own (fuzzing).
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvan {

// The row reader of the image writers: the virtual raster, or the captured
// window image. Reads `rows` rows of |n| pixels from (x, y) into data: n > 0
// gives colour indices, n < 0 R, G, B triples. Pixels outside the image
// read as 0.
class RowReader {
 public:
  virtual ~RowReader() = default;
  virtual void rows(std::uint8_t* data, int x, int y, int n, int rows) = 0;
};

// The colour index whose table entry is nearest to (r, g, b) (squared
// distance; the lowest index wins a tie).
int nearestIndex(const int table[256], int r, int g, int b);

class VirtualRaster : public RowReader {
 public:
  VirtualRaster();
  ~VirtualRaster() override;
  VirtualRaster(const VirtualRaster&) = delete;
  VirtualRaster& operator=(const VirtualRaster&) = delete;

  // Creates the buffer. Without a given size the raster is 853 x 603 for a
  // landscape page and 603 x 853 otherwise, passed back in width, height.
  // background 2 with true colour starts white. Returns 1 when the buffer
  // cannot be allocated (or the size is not positive), else 0.
  int qqvini(int pageWidth, int pageHeight, int* width, int* height, int sizeGiven,
             int background, int colourMode);
  void qqvers();
  void qqvfin();

  void qqvclr(int index);
  void qqvvlt(const int table[256]);

  void qqvlin(int x1, int y1, int x2, int y2) {
    // At the default raster size most edges of a plot are a pixel or two.
    if (x1 == x2 && y1 == y2) {
      if (pixels_) put(x1, y1);
      return;
    }
    line(x1, y1, x2, y2);
  }
  void qqvfll(int x1, int y1, int x2, int y2, int index);
  void qqvftr(const int xs[3], const int ys[3], int index);

  void qqvwpx(int x, int y, int index);
  // Turns a palette raster into a true-colour one, every pixel keeping its
  // colour, so that colours outside the table can be written from now on.
  // False when the memory is not there (the raster stays as it was).
  bool qqvtru();
  // One pixel of colour 0xRRGGBB; a palette raster takes the nearest entry.
  void qqvwrgb(int x, int y, std::uint32_t rgb);
  int qqvrpx(int x, int y);

  void qqvrow(const std::uint8_t* data, int x, int y, int n);
  void qqvrdr(std::uint8_t* data, int x, int y, int n, int rows);
  void rows(std::uint8_t* data, int x, int y, int n, int count) override {
    qqvrdr(data, x, y, n, count);
  }

  bool valid() const { return pixels_ != nullptr; }
  int width() const { return width_; }
  int height() const { return height_; }
  bool trueColour() const { return colourMode_ == 1; }
  int colourMode() const { return colourMode_; }
  int stride() const { return stride_; }
  int bitsPerPixel() const { return trueColour() ? 24 : 8; }
  int currentColour() const { return colour_; }
  std::uint8_t* buffer() { return pixels_; }
  const std::uint8_t* buffer() const { return pixels_; }
  std::size_t bufferSize() const { return static_cast<std::size_t>(stride_) * height_; }
  // The table as packed entries 0xRRGGBB (what qqvvlt loaded).
  const int* table() const { return table_; }
  // The pixels hold blended colours (smooth drawing): palette formats need
  // a palette made for them.
  void setBlended(bool on) { blended_ = on; }
  bool blended() const { return blended_; }

 private:
  // the current colour, bounds-checked
  void put(int x, int y) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    std::uint8_t* p = pixels_ + static_cast<std::size_t>(y) * stride_;
    if (trueColour()) {
      p += 3 * x;
      p[0] = rgb_[0];
      p[1] = rgb_[1];
      p[2] = rgb_[2];
    } else {
      p[x] = static_cast<std::uint8_t>(colour_);
    }
  }
  void line(int x1, int y1, int x2, int y2);
  void span(int y, int x1, int x2, std::uint8_t index, const std::uint8_t rgb[3]);
  int nearest(int r, int g, int b);

  int width_ = 0, height_ = 0;
  int colourMode_ = 0;
  int stride_ = 0;
  int background_ = 0;
  bool blended_ = false;
  std::uint8_t* pixels_ = nullptr;
  int colour_ = 0;
  std::uint8_t rgb_[3] = {0, 0, 0};
  std::uint8_t red_[256] = {}, green_[256] = {}, blue_[256] = {};
  int table_[256] = {};
  // Nearest-index cache: plots use few colours, and a search costs 256 steps.
  static constexpr int kCache = 1024;
  std::uint32_t cacheKey_[kCache];
  std::uint8_t cacheIndex_[kCache];
};

}  // namespace korvan
