#include "devices/raster/raster.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace korvan {

namespace {
// The largest side the 16-bit fields of the image formats can describe.
constexpr int kMaxSide = 65535;

std::uint32_t packed(int r, int g, int b) {
  return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) |
         static_cast<std::uint32_t>(b);
}

// The pixels of a line that is neither horizontal nor vertical: the longer
// extent steps, the error term starts at -d1/2 and moves the minor axis one
// unit whenever it becomes positive. Both end points are included.
template <class Pixel>
void walk(int x1, int y1, int x2, int y2, Pixel pixel) {
  int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
  int sx = x2 > x1 ? 1 : -1, sy = y2 > y1 ? 1 : -1;
  int x = x1, y = y1;
  pixel(x, y);
  if (dx >= dy) {
    int err = -dx / 2;
    for (int i = 0; i < dx; ++i) {
      err += dy;
      if (err > 0) {
        y += sy;
        err -= dx;
      }
      x += sx;
      pixel(x, y);
    }
  } else {
    int err = -dy / 2;
    for (int i = 0; i < dy; ++i) {
      err += dx;
      if (err > 0) {
        x += sx;
        err -= dy;
      }
      y += sy;
      pixel(x, y);
    }
  }
}
// walk() for a line whose pixels all lie in the raster: the same pixels,
// reached by stepping a pointer (step bytes per pixel) instead of checking
// and addressing each one.
template <class Store>
void walkInside(std::uint8_t* p, int dx, int dy, std::ptrdiff_t stepX, std::ptrdiff_t stepY,
                Store store) {
  store(p);
  if (dx >= dy) {
    int err = -dx / 2;
    for (int i = 0; i < dx; ++i) {
      err += dy;
      if (err > 0) {
        p += stepY;
        err -= dx;
      }
      p += stepX;
      store(p);
    }
  } else {
    int err = -dy / 2;
    for (int i = 0; i < dy; ++i) {
      err += dx;
      if (err > 0) {
        p += stepX;
        err -= dy;
      }
      p += stepY;
      store(p);
    }
  }
}
}  // namespace

int nearestIndex(const int table[256], int r, int g, int b) {
  int best = 0;
  long bestDist = -1;
  for (int i = 0; i < 256; ++i) {
    int dr = ((table[i] >> 16) & 255) - r;
    int dg = ((table[i] >> 8) & 255) - g;
    int db = (table[i] & 255) - b;
    long d = static_cast<long>(dr) * dr + static_cast<long>(dg) * dg + static_cast<long>(db) * db;
    if (bestDist < 0 || d < bestDist) {
      bestDist = d;
      best = i;
      if (d == 0) break;
    }
  }
  return best;
}

VirtualRaster::VirtualRaster() { std::fill(cacheKey_, cacheKey_ + kCache, 0xFFFFFFFFu); }

VirtualRaster::~VirtualRaster() { qqvfin(); }

int VirtualRaster::qqvini(int pageWidth, int pageHeight, int* width, int* height, int sizeGiven,
                          int background, int colourMode) {
  qqvfin();
  int w = width ? *width : 0, h = height ? *height : 0;
  if (!sizeGiven) {
    if (pageHeight < pageWidth) {
      w = 853;
      h = 603;
    } else {
      w = 603;
      h = 853;
    }
    if (width) *width = w;
    if (height) *height = h;
  }
  if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) return 1;
  colourMode_ = colourMode;
  background_ = background;
  int bytes = colourMode == 1 ? 3 : 1;
  stride_ = (w * bytes + 3) / 4 * 4;
  width_ = w;
  height_ = h;
  pixels_ = static_cast<std::uint8_t*>(std::malloc(bufferSize()));
  if (!pixels_) {
    width_ = height_ = stride_ = 0;
    return 1;
  }
  qqvers();
  return 0;
}

void VirtualRaster::qqvers() {
  if (!pixels_) return;
  int fill = background_ == 2 && trueColour() ? 255 : 0;
  std::memset(pixels_, fill, bufferSize());
}

void VirtualRaster::qqvfin() {
  std::free(pixels_);
  pixels_ = nullptr;
  width_ = height_ = stride_ = 0;
}

void VirtualRaster::qqvclr(int index) {
  colour_ = index & 255;
  rgb_[0] = red_[colour_];
  rgb_[1] = green_[colour_];
  rgb_[2] = blue_[colour_];
}

void VirtualRaster::qqvvlt(const int table[256]) {
  for (int i = 0; i < 256; ++i) {
    table_[i] = table[i] & 0xFFFFFF;
    red_[i] = static_cast<std::uint8_t>((table[i] >> 16) & 255);
    green_[i] = static_cast<std::uint8_t>((table[i] >> 8) & 255);
    blue_[i] = static_cast<std::uint8_t>(table[i] & 255);
  }
  std::fill(cacheKey_, cacheKey_ + kCache, 0xFFFFFFFFu);
  qqvclr(colour_);
}

int VirtualRaster::nearest(int r, int g, int b) {
  std::uint32_t key = packed(r, g, b);
  std::uint32_t slot = (key ^ (key >> 10) ^ (key >> 20)) & (kCache - 1);
  if (cacheKey_[slot] == key) return cacheIndex_[slot];
  int index = nearestIndex(table_, r, g, b);
  cacheKey_[slot] = key;
  cacheIndex_[slot] = static_cast<std::uint8_t>(index);
  return index;
}

void VirtualRaster::span(int y, int x1, int x2, std::uint8_t index, const std::uint8_t rgb[3]) {
  if (y < 0 || y >= height_) return;
  if (x1 > x2) std::swap(x1, x2);
  x1 = std::max(x1, 0);
  x2 = std::min(x2, width_ - 1);
  if (x1 > x2) return;
  std::uint8_t* p = pixels_ + static_cast<std::size_t>(y) * stride_;
  if (!trueColour()) {
    if (x2 - x1 < 16) {
      for (int x = x1; x <= x2; ++x) p[x] = index;
    } else {
      std::memset(p + x1, index, static_cast<std::size_t>(x2 - x1 + 1));
    }
    return;
  }
  for (int x = x1; x <= x2; ++x) {
    p[3 * x] = rgb[0];
    p[3 * x + 1] = rgb[1];
    p[3 * x + 2] = rgb[2];
  }
}

void VirtualRaster::line(int x1, int y1, int x2, int y2) {
  if (!pixels_) return;
  if (y1 == y2) {
    span(y1, x1, x2, static_cast<std::uint8_t>(colour_), rgb_);
    return;
  }
  const bool inside = x1 >= 0 && x2 >= 0 && x1 < width_ && x2 < width_ && y1 >= 0 && y2 >= 0 &&
                      y1 < height_ && y2 < height_;
  if (x1 == x2) {
    if (x1 < 0 || x1 >= width_) return;
    if (y1 > y2) std::swap(y1, y2);
    y1 = std::max(y1, 0);
    y2 = std::min(y2, height_ - 1);
    if (y1 > y2) return;
  } else if (!inside) {
    walk(x1, y1, x2, y2, [this](int x, int y) { put(x, y); });
    return;
  }
  // Within the raster (a vertical line after its cut): the pixels of walk(),
  // stepped by pointer.
  const int bytes = trueColour() ? 3 : 1;
  std::uint8_t* p = pixels_ + static_cast<std::ptrdiff_t>(y1) * stride_ + x1 * bytes;
  const std::ptrdiff_t stepX = x2 > x1 ? bytes : -bytes;
  const std::ptrdiff_t stepY = y2 > y1 ? stride_ : -static_cast<std::ptrdiff_t>(stride_);
  const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
  if (trueColour()) {
    const std::uint8_t r = rgb_[0], g = rgb_[1], b = rgb_[2];
    walkInside(p, dx, dy, stepX, stepY, [=](std::uint8_t* q) {
      q[0] = r;
      q[1] = g;
      q[2] = b;
    });
  } else {
    const auto c = static_cast<std::uint8_t>(colour_);
    walkInside(p, dx, dy, stepX, stepY, [=](std::uint8_t* q) { *q = c; });
  }
}

void VirtualRaster::qqvfll(int x1, int y1, int x2, int y2, int index) {
  if (!pixels_) return;
  index &= 255;
  std::uint8_t rgb[3] = {red_[index], green_[index], blue_[index]};
  if (y1 > y2) std::swap(y1, y2);
  y1 = std::max(y1, 0);
  y2 = std::min(y2, height_ - 1);
  for (int y = y1; y <= y2; ++y) span(y, x1, x2, static_cast<std::uint8_t>(index), rgb);
}

void VirtualRaster::qqvftr(const int xs[3], const int ys[3], int index) {
  if (!pixels_) return;
  qqvclr(index);
  for (int k = 0; k < 3; ++k) qqvlin(xs[k], ys[k], xs[(k + 1) % 3], ys[(k + 1) % 3]);
  // The rows between the edges: each edge is walked with the rule of the
  // line, and every row is filled between the outermost edge pixels.
  int top = std::max(std::min({ys[0], ys[1], ys[2]}), 0);
  int bottom = std::min(std::max({ys[0], ys[1], ys[2]}), height_ - 1);
  if (top > bottom) return;
  int rows = bottom - top + 1;
  int* lo = new (std::nothrow) int[2 * static_cast<std::size_t>(rows)];
  if (!lo) return;
  int* hi = lo + rows;
  std::fill(lo, lo + rows, 0x7FFFFFFF);
  std::fill(hi, hi + rows, -0x7FFFFFFF);
  auto mark = [&](int x, int y) {
    if (y < top || y > bottom) return;
    lo[y - top] = std::min(lo[y - top], x);
    hi[y - top] = std::max(hi[y - top], x);
  };
  for (int k = 0; k < 3; ++k) {
    int x1 = xs[k], y1 = ys[k], x2 = xs[(k + 1) % 3], y2 = ys[(k + 1) % 3];
    if (x1 == x2 || y1 == y2) {
      // straight edges as the line draws them: every pixel between the ends
      for (int y = std::min(y1, y2); y <= std::max(y1, y2); ++y) {
        mark(std::min(x1, x2), y);
        mark(std::max(x1, x2), y);
      }
    } else {
      walk(x1, y1, x2, y2, mark);
    }
  }
  for (int r = 0; r < rows; ++r)
    if (lo[r] <= hi[r]) span(top + r, lo[r], hi[r], static_cast<std::uint8_t>(colour_), rgb_);
  delete[] lo;
}

void VirtualRaster::qqvwpx(int x, int y, int index) {
  if (!pixels_ || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  index &= 255;
  std::uint8_t* p = pixels_ + static_cast<std::size_t>(y) * stride_;
  if (trueColour()) {
    p += 3 * x;
    p[0] = red_[index];
    p[1] = green_[index];
    p[2] = blue_[index];
  } else {
    p[x] = static_cast<std::uint8_t>(index);
  }
}

bool VirtualRaster::qqvtru() {
  if (!pixels_ || trueColour()) return pixels_ != nullptr;
  const int stride = (width_ * 3 + 3) / 4 * 4;
  auto* rgb = static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(stride) * height_));
  if (!rgb) return false;
  for (int y = 0; y < height_; ++y) {
    const std::uint8_t* from = pixels_ + static_cast<std::size_t>(y) * stride_;
    std::uint8_t* to = rgb + static_cast<std::size_t>(y) * stride;
    for (int x = 0; x < width_; ++x) {
      to[3 * x] = red_[from[x]];
      to[3 * x + 1] = green_[from[x]];
      to[3 * x + 2] = blue_[from[x]];
    }
    std::memset(to + 3 * width_, 0, static_cast<std::size_t>(stride - 3 * width_));
  }
  std::free(pixels_);
  pixels_ = rgb;
  stride_ = stride;
  colourMode_ = 1;
  return true;
}

void VirtualRaster::qqvwrgb(int x, int y, std::uint32_t rgb) {
  if (!pixels_ || x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const int r = static_cast<int>((rgb >> 16) & 255), g = static_cast<int>((rgb >> 8) & 255),
            b = static_cast<int>(rgb & 255);
  std::uint8_t* p = pixels_ + static_cast<std::size_t>(y) * stride_;
  if (trueColour()) {
    p += 3 * x;
    p[0] = static_cast<std::uint8_t>(r);
    p[1] = static_cast<std::uint8_t>(g);
    p[2] = static_cast<std::uint8_t>(b);
  } else {
    p[x] = static_cast<std::uint8_t>(nearest(r, g, b));
  }
}

int VirtualRaster::qqvrpx(int x, int y) {
  if (!pixels_ || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const std::uint8_t* p = pixels_ + static_cast<std::size_t>(y) * stride_;
  if (!trueColour()) return p[x];
  p += 3 * x;
  return nearest(p[0], p[1], p[2]);
}

void VirtualRaster::qqvrow(const std::uint8_t* data, int x, int y, int n) {
  if (!pixels_ || !data || n == 0 || y < 0 || y >= height_) return;
  bool rgbIn = n < 0;
  int count = rgbIn ? -n : n;
  int first = std::max(0, -x);               // pixels cut on the left
  int last = std::min(count, width_ - x);    // one past the last pixel kept
  if (first >= last) return;
  std::uint8_t* row = pixels_ + static_cast<std::size_t>(y) * stride_;
  for (int i = first; i < last; ++i) {
    int px = x + i;
    if (rgbIn) {
      const std::uint8_t* s = data + 3 * static_cast<std::size_t>(i);
      if (trueColour()) {
        row[3 * px] = s[0];
        row[3 * px + 1] = s[1];
        row[3 * px + 2] = s[2];
      } else {
        row[px] = static_cast<std::uint8_t>(nearest(s[0], s[1], s[2]));
      }
    } else {
      int c = data[i];
      if (trueColour()) {
        row[3 * px] = red_[c];
        row[3 * px + 1] = green_[c];
        row[3 * px + 2] = blue_[c];
      } else {
        row[px] = static_cast<std::uint8_t>(c);
      }
    }
  }
}

void VirtualRaster::qqvrdr(std::uint8_t* data, int x, int y, int n, int rows) {
  if (!data || n == 0 || rows <= 0) return;
  bool rgbOut = n < 0;
  int count = rgbOut ? -n : n;
  std::size_t rowBytes = static_cast<std::size_t>(count) * (rgbOut ? 3 : 1);
  for (int r = 0; r < rows; ++r) {
    std::uint8_t* out = data + rowBytes * r;
    std::memset(out, 0, rowBytes);
    int yy = y + r;
    if (!pixels_ || yy < 0 || yy >= height_) continue;
    const std::uint8_t* row = pixels_ + static_cast<std::size_t>(yy) * stride_;
    int first = std::max(0, -x);
    int last = std::min(count, width_ - x);
    if (first >= last) continue;
    if (trueColour() && rgbOut) {
      std::memcpy(out + 3 * first, row + 3 * (x + first), 3 * static_cast<std::size_t>(last - first));
    } else if (!trueColour() && !rgbOut) {
      std::memcpy(out + first, row + x + first, static_cast<std::size_t>(last - first));
    } else if (rgbOut) {
      for (int i = first; i < last; ++i) {
        int c = row[x + i];
        out[3 * i] = red_[c];
        out[3 * i + 1] = green_[c];
        out[3 * i + 2] = blue_[c];
      }
    } else {
      for (int i = first; i < last; ++i) {
        const std::uint8_t* p = row + 3 * (x + i);
        out[i] = static_cast<std::uint8_t>(nearest(p[0], p[1], p[2]));
      }
    }
  }
}

}  // namespace korvan
