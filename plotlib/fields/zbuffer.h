// The z-buffer of the 3-D surfaces and the hidden-line stages built on it.
//
//   qqzbuf          a z-buffer on the raster or the screen's back buffer
//   qqzoff          a depth buffer of its own (the vector outputs)
//   qqzidx, qqzrgb  a colour as the target writes it
//   qqztri, qqzlin  a triangle and a line where they are nearer
//   qqzvis          the depth test of one point
//   qqvhln, qqwhln  the hidden-line stages of the raster and the screen
//   qqhvec          the mesh as visible line pieces (the vector outputs)
#pragma once

#include <cstdint>
#include <vector>

namespace korvan {

struct Global;
class VirtualRaster;

// A surface over a grid projected onto the page: the plot point (relative,
// without the origin shift) and the depth of every grid point, and which
// cells have four finite corners.
struct SurfaceGrid {
  int nx = 0, ny = 0;
  std::vector<float> x, y;         // nx * ny, z[i + j * nx] order
  std::vector<double> depth;       // larger nearer
  std::vector<std::uint8_t> cell;  // (nx - 1) * (ny - 1): 1 where drawn
  // The corners of cell (i, j) counterclockwise in the grid, from (i, j).
  void corners(int i, int j, std::size_t k[4]) const {
    const std::size_t row = static_cast<std::size_t>(j) * nx, next = row + nx;
    k[0] = i + row;
    k[1] = i + 1 + row;
    k[2] = i + 1 + next;
    k[3] = i + next;
  }
  bool cellOk(int i, int j) const {
    return i >= 0 && j >= 0 && i < nx - 1 && j < ny - 1 &&
           cell[static_cast<std::size_t>(i) + static_cast<std::size_t>(j) * (nx - 1)] != 0;
  }
};

// A colour as the target writes it, worked out once per cell: a colour
// index (raster) or a pixel value (screen), or 0xRRGGBB by value on a
// true-colour raster.
struct ZPaint {
  std::uint32_t value = 0;
  bool byValue = false;
};

// One depth per pixel, larger nearer, -infinity where nothing is yet.
struct ZBuffer {
  enum class Target { None, Raster, Screen };
  Target target = Target::None;
  VirtualRaster* raster = nullptr;
  std::uint32_t* pixels = nullptr;  // the screen's back buffer
  int stride = 0;                   // in pixels
  bool trueColour = false;
  std::vector<float> depth;
  int w = 0, h = 0;
  // Absolute plot units to pixels: X = ax x + bx y + cx, Y = ay x + by y + cy.
  double ax = 1, bx = 0, cx = 0, ay = 0, by = 1, cy = 0;
  int xmin = 0, ymin = 0, xmax = -1, ymax = -1;  // the clipping window in pixels
};

// A z-buffer for the current output when it is a raster or a screen window
// (mode 0), or its release (mode 1). False when the output has neither.
bool qqzbuf(Global& g, ZBuffer& z, int mode);
// A depth buffer without pixels over the plot rectangle x0..x1, y0..y1 in
// cells of the given size (plot units).
void qqzoff(ZBuffer& z, double x0, double y0, double x1, double y1, double cell);

ZPaint qqzidx(const Global& g, const ZBuffer& z, int index);
// A colour by value; the nearest table entry where the target has only the
// table.
ZPaint qqzrgb(const Global& g, const ZBuffer& z, int r, int gr, int b);

// A triangle of absolute plot points with depths, painted where it is nearer.
void qqztri(ZBuffer& z, const float* px, const float* py, const double* d, ZPaint paint);
// A line of absolute plot points with depths, painted where it is not behind
// the surface by more than allowance.
void qqzlin(ZBuffer& z, float xa, float ya, double da, float xb, float yb, double db,
            ZPaint paint, float allowance);
// True when an absolute plot point of depth d is not behind what the buffer
// holds there by more than allowance (and outside the buffer).
bool qqzvis(const ZBuffer& z, double x, double y, double d, float allowance);

// The hidden-line stages: every cell's outline after all cells are in the
// z-buffer, drawn where it is not behind the surface; sx, sy the origin
// shift. qqvhln on the raster, qqwhln on the screen's back buffer.
void qqvhln(ZBuffer& z, const SurfaceGrid& s, float sx, float sy, ZPaint line);
void qqwhln(ZBuffer& z, const SurfaceGrid& s, float sx, float sy, ZPaint line);

// The mesh on outputs without pixels: the grid's rows and columns walked
// through a depth buffer of the surface, only their visible runs given to
// the stroke pipeline in the current colour.
void qqhvec(Global& g, const SurfaceGrid& s);

}  // namespace korvan
