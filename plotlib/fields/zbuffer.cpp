// The z-buffer of the 3-D surfaces: on the raster, on the screen's back
// buffer, or on its own for the outputs without pixels, where it only
// decides which pieces of the mesh lines are seen.
#include "fields/zbuffer.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/state.h"
#include "devices/device_table.h"
#include "devices/raster/raster_driver.h"
#include "devices/screen/screen_driver.h"
#include "draw/pipeline.h"

namespace korvan {

namespace {

void clipWindow(const Global& g, ZBuffer& z) {
  // The window's corners through the map, as pixels whose centres lie in it.
  const double x[2] = {static_cast<double>(g.clipXmin), static_cast<double>(g.clipXmax)};
  const double y[2] = {static_cast<double>(g.clipYmin), static_cast<double>(g.clipYmax)};
  double X0 = 1e30, X1 = -1e30, Y0 = 1e30, Y1 = -1e30;
  for (double px : x)
    for (double py : y) {
      const double X = z.ax * px + z.bx * py + z.cx, Y = z.ay * px + z.by * py + z.cy;
      X0 = std::min(X0, X);
      X1 = std::max(X1, X);
      Y0 = std::min(Y0, Y);
      Y1 = std::max(Y1, Y);
    }
  z.xmin = std::max(0, static_cast<int>(std::ceil(X0)));
  z.ymin = std::max(0, static_cast<int>(std::ceil(Y0)));
  z.xmax = std::min(z.w - 1, static_cast<int>(std::floor(X1)));
  z.ymax = std::min(z.h - 1, static_cast<int>(std::floor(Y1)));
}

void put(ZBuffer& z, int x, int y, ZPaint p) {
  switch (z.target) {
    case ZBuffer::Target::Raster:
      if (p.byValue)
        z.raster->qqvwrgb(x, y, p.value);
      else
        z.raster->qqvwpx(x, y, static_cast<int>(p.value));
      break;
    case ZBuffer::Target::Screen:
      z.pixels[static_cast<std::size_t>(y) * z.stride + x] = p.value;
      break;
    case ZBuffer::Target::None:
      break;
  }
}

void toPixel(const ZBuffer& z, double x, double y, double& X, double& Y) {
  if (z.bx == 0 && z.ay == 0 && z.cx == 0 && z.cy == 0) {
    // a plain scale, in single precision like the drivers' own map
    X = static_cast<float>(x) * static_cast<float>(z.ax);
    Y = static_cast<float>(y) * static_cast<float>(z.by);
    return;
  }
  X = z.ax * x + z.bx * y + z.cx;
  Y = z.ay * x + z.by * y + z.cy;
}

// Every cell's outline, corner by corner as the cells lie in the grid.
void outlines(ZBuffer& z, const SurfaceGrid& s, float sx, float sy, ZPaint line) {
  const float allowance = 0.02f;
  for (int j = 0; j + 1 < s.ny; ++j)
    for (int i = 0; i + 1 < s.nx; ++i) {
      if (!s.cellOk(i, j)) continue;
      std::size_t k[4];
      s.corners(i, j, k);
      for (int e = 0; e < 4; ++e) {
        const std::size_t a = k[e], b = k[(e + 1) % 4];
        qqzlin(z, s.x[a] + sx, s.y[a] + sy, s.depth[a], s.x[b] + sx, s.y[b] + sy, s.depth[b], line,
               allowance);
      }
    }
}

}  // namespace

bool qqzbuf(Global& g, ZBuffer& z, int mode) {
  if (mode == 1) {
    z = ZBuffer{};
    return true;
  }
  if (!g.driver) return false;
  const float s = g.deviceScale;
  if (auto* rd = dynamic_cast<RasterDriver*>(g.driver.get())) {
    if (rd->raster().width() <= 0) return false;
    z.target = ZBuffer::Target::Raster;
    z.raster = &rd->raster();
    z.trueColour = z.raster->trueColour();
    z.w = z.raster->width();
    z.h = z.raster->height();
    z.ax = s;
    z.by = s;
  } else if (deviceInfo(g.device).cls == DeviceClass::Screen) {
    platform::Surface surface;
    std::uint32_t pen;
    if (!qqwbuf(&surface, &pen) || !surface.pixels) return false;
    z.target = ZBuffer::Target::Screen;
    z.pixels = surface.pixels;
    z.stride = surface.stride;
    z.w = surface.width;
    z.h = surface.height;
    z.trueColour = qqwmod() == 256;
    // the screen's map of plot units (qqdown): a turned page has plot x up
    if (g.rotation == 1) {
      z.ax = 0;
      z.bx = s;
      z.ay = -s;
      z.by = 0;
      z.cy = static_cast<double>(g.pageWidth) * s;
    } else {
      z.ax = s;
      z.by = s;
    }
  } else {
    return false;
  }
  z.depth.assign(static_cast<std::size_t>(z.w) * z.h, -std::numeric_limits<float>::infinity());
  clipWindow(g, z);
  return true;
}

void qqzoff(ZBuffer& z, double x0, double y0, double x1, double y1, double cell) {
  z = ZBuffer{};
  z.w = std::max(1, static_cast<int>(std::ceil((x1 - x0) / cell)));
  z.h = std::max(1, static_cast<int>(std::ceil((y1 - y0) / cell)));
  z.ax = z.by = 1.0 / cell;
  z.cx = -x0 / cell;
  z.cy = -y0 / cell;
  z.xmin = z.ymin = 0;
  z.xmax = z.w - 1;
  z.ymax = z.h - 1;
  z.depth.assign(static_cast<std::size_t>(z.w) * z.h, -std::numeric_limits<float>::infinity());
}

ZPaint qqzidx(const Global&, const ZBuffer& z, int index) {
  if (z.target == ZBuffer::Target::Screen) return {qqwpxv(index), false};
  return {static_cast<std::uint32_t>(index & 255), false};
}

ZPaint qqzrgb(const Global& g, const ZBuffer& z, int r, int gr, int b) {
  const std::uint32_t v = static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(gr) << 8 |
                          static_cast<std::uint32_t>(b);
  if (z.trueColour) return {v, z.target == ZBuffer::Target::Raster};
  return qqzidx(g, z, nearestIndex(g.colourTable, r, gr, b));
}

// Pixel centres inside the triangle (top-left rule by the half-open test) so
// that triangles sharing an edge neither overlap nor gap.
void qqztri(ZBuffer& z, const float* px, const float* py, const double* d, ZPaint paint) {
  double X[3], Y[3];
  for (int k = 0; k < 3; ++k) toPixel(z, px[k], py[k], X[k], Y[k]);
  const double area = (X[1] - X[0]) * (Y[2] - Y[0]) - (Y[1] - Y[0]) * (X[2] - X[0]);
  if (area == 0 || !std::isfinite(area)) return;
  const int x0 = std::max(z.xmin, static_cast<int>(std::floor(std::min({X[0], X[1], X[2]}))));
  const int x1 = std::min(z.xmax, static_cast<int>(std::ceil(std::max({X[0], X[1], X[2]}))));
  const int y0 = std::max(z.ymin, static_cast<int>(std::floor(std::min({Y[0], Y[1], Y[2]}))));
  const int y1 = std::min(z.ymax, static_cast<int>(std::ceil(std::max({Y[0], Y[1], Y[2]}))));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      const double cx = x + 0.5, cy = y + 0.5;
      double w[3];
      bool in = true;
      for (int k = 0; k < 3 && in; ++k) {
        const int a = (k + 1) % 3, b = (k + 2) % 3;
        w[k] = ((X[b] - X[a]) * (cy - Y[a]) - (Y[b] - Y[a]) * (cx - X[a])) / area;
        in = w[k] > 0 || (w[k] == 0 && (Y[b] > Y[a] || (Y[b] == Y[a] && X[b] < X[a])));
      }
      if (!in) continue;
      const float depth = static_cast<float>(w[0] * d[0] + w[1] * d[1] + w[2] * d[2]);
      float& here = z.depth[static_cast<std::size_t>(y) * z.w + x];
      if (depth > here) {
        here = depth;
        put(z, x, y, paint);
      }
    }
}

// A small allowance lets a mesh line win over its own cells.
void qqzlin(ZBuffer& z, float xa, float ya, double da, float xb, float yb, double db,
            ZPaint paint, float allowance) {
  double X0, Y0, X1, Y1;
  toPixel(z, xa, ya, X0, Y0);
  toPixel(z, xb, yb, X1, Y1);
  const int steps = std::max(1, static_cast<int>(std::ceil(std::max(std::fabs(X1 - X0), std::fabs(Y1 - Y0)))));
  for (int k = 0; k <= steps; ++k) {
    const double t = static_cast<double>(k) / steps;
    const int x = static_cast<int>(std::floor(X0 + t * (X1 - X0)));
    const int y = static_cast<int>(std::floor(Y0 + t * (Y1 - Y0)));
    if (x < z.xmin || x > z.xmax || y < z.ymin || y > z.ymax) continue;
    const float depth = static_cast<float>(da + t * (db - da));
    float& here = z.depth[static_cast<std::size_t>(y) * z.w + x];
    if (depth + allowance >= here) {
      here = std::max(here, depth);
      put(z, x, y, paint);
    }
  }
}

bool qqzvis(const ZBuffer& z, double x, double y, double d, float allowance) {
  double X, Y;
  toPixel(z, x, y, X, Y);
  const int px = static_cast<int>(std::floor(X)), py = static_cast<int>(std::floor(Y));
  if (px < 0 || py < 0 || px >= z.w || py >= z.h) return true;
  return static_cast<float>(d) + allowance >= z.depth[static_cast<std::size_t>(py) * z.w + px];
}

void qqvhln(ZBuffer& z, const SurfaceGrid& s, float sx, float sy, ZPaint line) {
  if (z.target == ZBuffer::Target::Raster) outlines(z, s, sx, sy, line);
}

void qqwhln(ZBuffer& z, const SurfaceGrid& s, float sx, float sy, ZPaint line) {
  if (z.target == ZBuffer::Target::Screen) outlines(z, s, sx, sy, line);
}

void qqhvec(Global& g, const SurfaceGrid& s) {
  // The depth buffer covers the surface inside the clipping window, in
  // relative units like the grid, with cells of 1.5 units unless that asks
  // for more than 4 million of them.
  const double sx = g.shiftX, sy = g.shiftY;
  double x0 = 1e30, y0 = 1e30, x1 = -1e30, y1 = -1e30;
  for (int j = 0; j + 1 < s.ny; ++j)
    for (int i = 0; i + 1 < s.nx; ++i) {
      if (!s.cellOk(i, j)) continue;
      for (int q = 0; q < 4; ++q) {
        const std::size_t k = (i + (q & 1)) + static_cast<std::size_t>(j + (q >> 1)) * s.nx;
        x0 = std::min(x0, static_cast<double>(s.x[k]));
        x1 = std::max(x1, static_cast<double>(s.x[k]));
        y0 = std::min(y0, static_cast<double>(s.y[k]));
        y1 = std::max(y1, static_cast<double>(s.y[k]));
      }
    }
  x0 = std::max(x0, g.clipXmin - sx) - 2;
  y0 = std::max(y0, g.clipYmin - sy) - 2;
  x1 = std::min(x1, g.clipXmax - sx) + 2;
  y1 = std::min(y1, g.clipYmax - sy) + 2;
  if (!(x1 > x0 && y1 > y0)) return;
  const double kMaxCells = 4.0e6;
  const double cell = std::max(1.5, std::sqrt((x1 - x0) * (y1 - y0) / kMaxCells));
  ZBuffer z;
  qqzoff(z, x0, y0, x1, y1, cell);
  const ZPaint none;
  for (int j = 0; j + 1 < s.ny; ++j)
    for (int i = 0; i + 1 < s.nx; ++i) {
      if (!s.cellOk(i, j)) continue;
      std::size_t k[4];
      s.corners(i, j, k);
      for (int t = 0; t < 2; ++t) {
        const std::size_t a = k[0], b = k[1 + t], c = k[2 + t];
        const float px[3] = {s.x[a], s.x[b], s.x[c]}, py[3] = {s.y[a], s.y[b], s.y[c]};
        const double d[3] = {s.depth[a], s.depth[b], s.depth[c]};
        qqztri(z, px, py, d, none);
      }
    }

  // One grid line: the points first + step * m, m = 0 .. n - 1; the piece
  // from point m to m + 1 exists where a cell beside it is drawn.
  const float allowance = 0.02f;
  auto walk = [&](std::size_t first, std::size_t step, int n, auto exists) {
    bool down = false;     // a run is open
    bool pending = false;  // and its last visible sample is not yet given
    float lastX = 0, lastY = 0;
    for (int m = 0; m + 1 < n; ++m) {
      if (!exists(m)) {
        down = false;
        continue;
      }
      const std::size_t a = first + step * m, b = a + step;
      const double ax = s.x[a], ay = s.y[a], bx = s.x[b], by = s.y[b];
      const double len = std::max(std::fabs(bx - ax), std::fabs(by - ay)) / cell;
      const int steps = std::max(1, static_cast<int>(std::ceil(2 * len)));
      // A run that went on from the previous piece has its first point.
      for (int k = down ? 1 : 0; k <= steps; ++k) {
        const double t = static_cast<double>(k) / steps;
        const float x = static_cast<float>(ax + t * (bx - ax)), y = static_cast<float>(ay + t * (by - ay));
        const double d = s.depth[a] + t * (s.depth[b] - s.depth[a]);
        if (qqzvis(z, x + sx, y + sy, d, allowance)) {
          if (!down) {
            strtqq(g, x, y);
            down = true;
          } else {
            pending = true;
            lastX = x;
            lastY = y;
          }
        } else if (down) {
          // the run ends at its last visible sample
          if (pending) connqq(g, lastX, lastY);
          down = pending = false;
        }
      }
      // the grid point itself, so that the polyline follows the grid
      if (pending) connqq(g, lastX, lastY);
      pending = false;
    }
  };
  for (int j = 0; j < s.ny; ++j)
    walk(static_cast<std::size_t>(j) * s.nx, 1, s.nx,
         [&](int i) { return s.cellOk(i, j - 1) || s.cellOk(i, j); });
  for (int i = 0; i < s.nx; ++i)
    walk(static_cast<std::size_t>(i), static_cast<std::size_t>(s.nx), s.ny,
         [&](int j) { return s.cellOk(i - 1, j) || s.cellOk(i, j); });
  qqstrk(g);
}

}  // namespace korvan
