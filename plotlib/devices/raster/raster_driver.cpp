#include "devices/raster/raster_driver.h"

#include <algorithm>

#include "core/colour_entry.h"
#include "core/state.h"
#include "devices/image/image.h"

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
  if (raster_.qqvini(g.pageWidth, g.pageHeight, &w, &h, 1, g.bgMode, options().colourMode) != 0) {
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
}

void RasterDriver::point(Global& g, float x, float y, int mode) {
  int X = rnd(x * g.deviceScale), Y = rnd(y * g.deviceScale);
  if (mode == 2) raster_.qqvlin(lastX, lastY, X, Y);
  lastX = X;
  lastY = Y;
}

void RasterDriver::box(Global& g, float x1, float y1, float x2, float y2, int colour) {
  float s = g.deviceScale;
  raster_.qqvfll(rnd(x1 * s), rnd(y1 * s), rnd(x2 * s), rnd(y2 * s), colourSlot(colour));
}

void RasterDriver::erase(Global&) { raster_.qqvers(); }

void RasterDriver::colour(Global&, int index) { raster_.qqvclr(index); }

void RasterDriver::palette(Global& g) { raster_.qqvvlt(g.colourTable); }

void RasterDriver::fontPixel(Global&, int x, int y) { raster_.qqvwpx(x, y, raster_.currentColour()); }

int RasterDriver::finish(Global& g) {
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
