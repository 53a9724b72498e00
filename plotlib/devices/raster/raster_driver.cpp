#include "devices/raster/raster_driver.h"

#include <algorithm>
#include <vector>

#include "core/colour_entry.h"
#include "core/state.h"
#include "devices/device_table.h"
#include "devices/image/image.h"
#include "devices/smooth_style.h"

namespace korvan {

namespace {
struct RasterOptions {
  int colourMode = 0;
  int width = 0, height = 0;
};
RasterOptions& options() {
  static RasterOptions o;
  return o;
}
}  // namespace

void qqvopt(int colourMode, int width, int height) {
  options().colourMode = colourMode;
  options().width = width;
  options().height = height;
}

void RasterDriver::open(Global& g) {
  int w = options().width, h = options().height;
  if (w <= 0 || h <= 0) {
    // the size korini took from rassiz or from the page
    w = g.winWidth;
    h = g.winHeight;
  }
  smooth_ = g.smoothMode == 1 && deviceInfo(device_).smooth;
  const int mode = smooth_ ? 1 : options().colourMode;
  if (raster_.qqvini(g.pageWidth, g.pageHeight, &w, &h, 1, g.bgMode, mode) != 0) {
    warnin(g, 53);
    qqfatal();
  }
  // Pixels per plot unit: the page fits into the raster, and its long side
  // along the raster's side of its orientation.
  float W = static_cast<float>(g.pageWidth), H = static_cast<float>(g.pageHeight);
  float s = std::min((w - 1) / W, (h - 1) / H);
  s = std::min(s, (g.pageWidth > g.pageHeight ? w - 1 : h - 1) / std::max(W, H));
  g.deviceScale = s;
  lastX = lastY = 0;
  raster_.qqvvlt(g.colourTable);
  raster_.setBlended(smooth_);
  if (smooth_) painter_.attach(raster_.buffer(), w, h, raster_.stride(), PixelLayout::Rgb24);
}

void RasterDriver::paintState(const Global& g) {
  // The library's table as it is now: the palette outputs show entries set
  // without a table load too.
  const int c = g.colourTable[raster_.currentColour()];
  painter_.colour(static_cast<std::uint8_t>((c >> 16) & 255), static_cast<std::uint8_t>((c >> 8) & 255),
                  static_cast<std::uint8_t>(c & 255));
  int x0, y0, x1, y1;
  qqsmcl(g, [&](float x, float y, float& X, float& Y) {
    X = x * g.deviceScale;
    Y = y * g.deviceScale;
  }, &x0, &y0, &x1, &y1);
  painter_.clip(x0, y0, x1, y1);
}

void RasterDriver::point(Global& g, float x, float y, int mode) {
  if (smooth_) {
    // Pixel centres lie at half units of the painter.
    const float X = x * g.deviceScale + 0.5f, Y = y * g.deviceScale + 0.5f;
    if (pen_.counting()) return;
    if (mode == 2) {
      pen_.draw(X, Y);
      return;
    }
    double width;
    LineCap cap;
    qqsmst(g, &width, &cap);
    pen_.style(width, cap);
    paintState(g);
    pen_.move(X, Y);
    return;
  }
  int X = rnd(x * g.deviceScale), Y = rnd(y * g.deviceScale);
  if (mode == 2) raster_.qqvlin(lastX, lastY, X, Y);
  lastX = X;
  lastY = Y;
}

void RasterDriver::draws(Global& g, const float* xs, const float* ys, int n) {
  if (smooth_) {
    for (int i = 0; i < n; ++i) point(g, xs[i], ys[i], 2);
    return;
  }
  // point(g, x, y, 2) for each, in one loop
  const float s = g.deviceScale;
  for (int i = 0; i < n; ++i) {
    const int X = rnd(xs[i] * s), Y = rnd(ys[i] * s);
    raster_.qqvlin(lastX, lastY, X, Y);
    lastX = X;
    lastY = Y;
  }
}

void RasterDriver::box(Global& g, float x1, float y1, float x2, float y2, int colour) {
  float s = g.deviceScale;
  if (smooth_) {
    // The pixels the plain raster fills, reaching half a pixel beyond the
    // centres of the corner pixels.
    pen_.end();
    paintState(g);
    const int c = g.colourTable[colourSlot(colour)];
    painter_.colour(static_cast<std::uint8_t>((c >> 16) & 255),
                    static_cast<std::uint8_t>((c >> 8) & 255), static_cast<std::uint8_t>(c & 255));
    painter_.rect(x1 * s, y1 * s, x2 * s + 1.0, y2 * s + 1.0);
    paintState(g);
    return;
  }
  raster_.qqvfll(rnd(x1 * s), rnd(y1 * s), rnd(x2 * s), rnd(y2 * s), colourSlot(colour));
}

void RasterDriver::erase(Global&) {
  pen_.end();
  raster_.qqvers();
}

void RasterDriver::colour(Global&, int index) {
  pen_.end();
  raster_.qqvclr(index);
}

void RasterDriver::palette(Global& g) {
  pen_.end();
  raster_.qqvvlt(g.colourTable);
}

void RasterDriver::fontPixel(Global&, int x, int y) {
  pen_.end();
  raster_.qqvwpx(x, y, raster_.currentColour());
}

void RasterDriver::flush(Global&) { pen_.end(); }

void RasterDriver::countOnly(Global&, bool on) { pen_.countOnly(on); }

void RasterDriver::polygon(Global& g, const float* xs, const float* ys, int n) {
  if (!smooth_ || n < 3) return;
  pen_.end();
  paintState(g);
  std::vector<float> px(static_cast<std::size_t>(n)), py(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    px[static_cast<std::size_t>(i)] = xs[i] * g.deviceScale + 0.5f;
    py[static_cast<std::size_t>(i)] = ys[i] * g.deviceScale + 0.5f;
  }
  painter_.fill(px.data(), py.data(), n);
}

int RasterDriver::finish(Global& g) {
  pen_.end();
  int written = 0;
  if (g.outFile) {
    // The raster follows the library's table (also entries set without a
    // table load).
    raster_.qqvvlt(g.colourTable);
    written = qqrfil(g, *g.outFile, device_ - 600, &raster_) == 0 ? 1 : 0;
  }
  raster_.qqvfin();
  return written;
}

}  // namespace korvan
