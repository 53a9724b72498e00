// Internal routines of the fields layer: contours and bands on grids and
// triangulations, the Delaunay triangulation and the sort of point lists.
// The z-buffer and the hidden-line stages of the 3-D surfaces are in
// zbuffer.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvan {

struct Global;

// ---- grids ----
// Checks a grid for the routine name: nx, ny >= 2 (warning 2 with the bad
// count), x and y strictly monotonic (warning 2 with the index where they
// turn), no null pointer. False: nothing is to be drawn.
bool qqgchk(Global& g, const float* x, int nx, const float* y, int ny, const float* z);

// Calls back every contour line of level on the grid as one polyline in user
// coordinates; closed lines repeat their first point at the end. Cells with
// a NaN corner are holes.
using PolylineFn = void (*)(void* ctx, const float* xs, const float* ys, int n);
void qqcntr(const float* x, int nx, const float* y, int ny, const float* z, float level,
            PolylineFn fn, void* ctx);

// Draws one contour polyline of user coordinates inside the axis system,
// broken under its labels while labelling is on (isolab).
void qqclin(Global& g, const float* xs, const float* ys, int n, float level);

// The contour lines of one level in the line type, width and colour set
// for it (isoset, isoneg) while it lives; when it ends, what was drawn is
// flushed and the previous type (with its dash phase), width and colour
// come back.
class LevelStyle {
 public:
  LevelStyle(Global& g, float level);
  ~LevelStyle();
  LevelStyle(const LevelStyle&) = delete;
  LevelStyle& operator=(const LevelStyle&) = delete;

 private:
  Global& g_;
  bool type_ = false, width_ = false, colour_ = false;
  int style_ = 0, pattern_[10] = {}, length_ = 0, index_ = 0, penUp_ = 0;
  float rest_ = 0;
  int lineWidth_ = 0, oldColour_ = 0;
};

// Colour index of a value between zmin and zmax (1..254, clamped).
int qqvclr(float v, float zmin, float zmax);
// Colour index of band k of nb, spread over the colour table.
int qqbclr(int k, int nb);

// Solid fills in the current colour while it lives; the shading pattern,
// the hatching and the colour come back when it ends.
class SolidFill {
 public:
  explicit SolidFill(Global& g);
  ~SolidFill();
  SolidFill(const SolidFill&) = delete;
  SolidFill& operator=(const SolidFill&) = delete;

 private:
  Global& g_;
  int pattern_, type_, angle_, cross_, dens_, on_, off_, colour_;
  float spacing_;
};

// Fills one polygon of relative plot coordinates with the current colour,
// clipped to the clipping window first so that the device gets it whole.
void qqfpol(Global& g, const float* xs, const float* ys, int n);

// ---- triangulation ----
// Delaunay triangulation of n points: triangles as vertex index triples
// (counterclockwise) in tri; returns their count. Duplicates are dropped and
// collinear sets give no triangle.
int qqdlau(const float* x, const float* y, int n, std::vector<int>& tri);

// ---- sorting of point lists ----
// qqsini sets idx to 0..n-1; qquick sorts idx by key ascending.
void qqsini(int* idx, int n);
void qquick(const double* key, int* idx, int n);

}  // namespace korvan
