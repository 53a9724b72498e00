#include "devices/screen/bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace korvan {

void Bitmap::attach(std::uint32_t* pixels, int width, int height, int stride) {
  pixels_ = pixels;
  width_ = pixels ? width : 0;
  height_ = pixels ? height : 0;
  stride_ = pixels ? stride : 0;
}

std::uint32_t Bitmap::pixel(int x, int y) const {
  return inside(x, y) ? pixels_[static_cast<std::ptrdiff_t>(y) * stride_ + x] : 0;
}

void Bitmap::span(int y, int x0, int x1, std::uint32_t c) {
  if (y < 0 || y >= height_) return;
  x0 = std::max(x0, 0);
  x1 = std::min(x1, width_ - 1);
  if (x0 > x1) return;
  std::fill(&at(x0, y), &at(x1, y) + 1, c);
}

void Bitmap::fillRect(int x, int y, int width, int height, std::uint32_t c) {
  if (!pixels_ || width <= 0 || height <= 0) return;
  long y1 = std::min<long>(static_cast<long>(y) + height, height_);
  long x1 = static_cast<long>(x) + width - 1;
  int xe = static_cast<int>(std::min<long>(x1, width_ - 1));
  for (long r = std::max(y, 0); r < y1; ++r) span(static_cast<int>(r), x, xe, c);
}

namespace {

// Liang-Barsky against [xmin, xmax] x [ymin, ymax]; false when nothing is left.
bool clipSegment(double& x0, double& y0, double& x1, double& y1, double xmin, double ymin,
                 double xmax, double ymax) {
  double t0 = 0.0, t1 = 1.0;
  double dx = x1 - x0, dy = y1 - y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 - xmin, xmax - x0, y0 - ymin, ymax - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    double t = q[i] / p[i];
    if (p[i] < 0.0) {
      if (t > t1) return false;
      t0 = std::max(t0, t);
    } else {
      if (t < t0) return false;
      t1 = std::min(t1, t);
    }
  }
  double ox = x0, oy = y0;
  x0 = ox + t0 * dx;
  y0 = oy + t0 * dy;
  x1 = ox + t1 * dx;
  y1 = oy + t1 * dy;
  return true;
}

}  // namespace

void Bitmap::line(int x0, int y0, int x1, int y1, std::uint32_t c) {
  if (!pixels_) return;
  if (inside(x0, y0) && inside(x1, y1)) {
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    while (x0 != x1 || y0 != y1) {
      at(x0, y0) = c;
      int e2 = 2 * err;
      if (e2 >= dy) {
        err += dy;
        x0 += sx;
      }
      if (e2 <= dx) {
        err += dx;
        y0 += sy;
      }
    }
    return;
  }
  // Partly outside: cut to one pixel around the bitmap so that the walk is
  // short whatever the coordinates; the cut ends lie outside and are not set.
  double ax = x0, ay = y0, bx = x1, by = y1;
  if (!clipSegment(ax, ay, bx, by, -1.0, -1.0, width_, height_)) return;
  int cx0 = static_cast<int>(std::lround(ax)), cy0 = static_cast<int>(std::lround(ay));
  int cx1 = static_cast<int>(std::lround(bx)), cy1 = static_cast<int>(std::lround(by));
  int dx = std::abs(cx1 - cx0), sx = cx0 < cx1 ? 1 : -1;
  int dy = -std::abs(cy1 - cy0), sy = cy0 < cy1 ? 1 : -1;
  int err = dx + dy;
  while (cx0 != cx1 || cy0 != cy1) {
    setPixel(cx0, cy0, c);
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      cx0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      cy0 += sy;
    }
  }
}

void Bitmap::polyline(const int* xs, const int* ys, int n, std::uint32_t c) {
  for (int i = 1; i < n; ++i) line(xs[i - 1], ys[i - 1], xs[i], ys[i], c);
}

void Bitmap::fillPolygon(const int* xs, const int* ys, int n, std::uint32_t c) {
  if (!pixels_ || n < 2) return;
  int ymin = ys[0], ymax = ys[0];
  for (int i = 1; i < n; ++i) {
    ymin = std::min(ymin, ys[i]);
    ymax = std::max(ymax, ys[i]);
  }
  ymin = std::max(ymin, 0);
  ymax = std::min(ymax, height_ - 1);
  for (int y = ymin; y <= ymax; ++y) {
    crossings_.clear();
    float yc = static_cast<float>(y) + 0.5f;
    for (int i = 0, j = n - 1; i < n; j = i++) {
      float yi = static_cast<float>(ys[i]), yj = static_cast<float>(ys[j]);
      if ((yi <= yc) == (yj <= yc)) continue;
      float xi = static_cast<float>(xs[i]), xj = static_cast<float>(xs[j]);
      crossings_.push_back(xi + (yc - yi) * (xj - xi) / (yj - yi));
    }
    std::sort(crossings_.begin(), crossings_.end());
    for (std::size_t k = 0; k + 1 < crossings_.size(); k += 2) {
      // Pixel centres x + 0.5 within [a, b).
      int a = static_cast<int>(std::ceil(crossings_[k] - 0.5f));
      int b = static_cast<int>(std::ceil(crossings_[k + 1] - 0.5f)) - 1;
      span(y, a, b, c);
    }
  }
  // The outline with the pen, closed.
  for (int i = 0, j = n - 1; i < n; j = i++) line(xs[j], ys[j], xs[i], ys[i], c);
}

}  // namespace korvan
