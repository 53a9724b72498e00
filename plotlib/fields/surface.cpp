// 3-D: a view set by camera, a box of three scaled axes set by axes3d, and a
// surface over a grid drawn as a mesh (mesh3d) or coloured by height
// (surf3d). The cells are drawn far to near (qqsini, qquick on their depth),
// each filled over what lies behind it: a mesh cell in the page colour with
// its outline, a surface cell in the colour of its height.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/state.h"
#include "draw/colour.h"
#include "draw/fill.h"
#include "draw/pipeline.h"
#include "fields/fields.h"
#include "korvan.h"

namespace korvan {

namespace {

struct View {
  double r[3], s[3], d[3];  // screen right, screen up, towards the viewer
  double cx, cy, scale;
};

View viewOf(const Global& g) {
  const double rad = 3.141592653589793 / 180.0;
  const double a = g.viewAzimuth * rad, e = g.viewElevation * rad;
  View v{};
  v.d[0] = std::cos(e) * std::cos(a);
  v.d[1] = std::cos(e) * std::sin(a);
  v.d[2] = std::sin(e);
  v.r[0] = -std::sin(a);
  v.r[1] = std::cos(a);
  v.r[2] = 0;
  v.s[0] = -std::sin(e) * std::cos(a);
  v.s[1] = -std::sin(e) * std::sin(a);
  v.s[2] = std::cos(e);
  // The cube -1..1 fits the axis rectangle whatever the view.
  v.cx = g.axisPosX + g.axisLenX / 2.0;
  v.cy = g.axisPosY - g.axisLenY / 2.0;
  const double reach = std::sqrt(3.0);
  v.scale = std::min(g.axisLenX, g.axisLenY) / (2.0 * reach);
  return v;
}

// A user point in the box's unit cube -1..1.
void unit(const Global& g, double x, double y, double z, double u[3]) {
  const double p[3] = {x, y, z};
  for (int k = 0; k < 3; ++k) u[k] = 2.0 * (p[k] - g.box3d[k][0]) / (g.box3d[k][1] - g.box3d[k][0]) - 1.0;
}

void project(const View& v, const double u[3], float* px, float* py, double* depth) {
  const double sx = v.r[0] * u[0] + v.r[1] * u[1] + v.r[2] * u[2];
  const double sy = v.s[0] * u[0] + v.s[1] * u[1] + v.s[2] * u[2];
  *depth = v.d[0] * u[0] + v.d[1] * u[1] + v.d[2] * u[2];
  *px = static_cast<float>(v.cx + v.scale * sx);
  *py = static_cast<float>(v.cy - v.scale * sy);
}

bool surfaceReady(Global& g, const float* x, int nx, const float* y, int ny, const float* z) {
  if (!g.box3dSet) {
    warnin(g, 33);  // no 3-D box to draw into
    return false;
  }
  return qqgchk(g, x, nx, y, ny, z);
}

// The cells far to near, projected: 4 points each, and NaN cells left out.
struct Cells {
  std::vector<float> px, py;
  std::vector<double> depth;
  std::vector<int> order;
  std::vector<float> height;  // mean z of a cell
};

Cells projectCells(Global& g, const float* x, int nx, const float* y, int ny, const float* z) {
  const View v = viewOf(g);
  Cells c;
  std::vector<float> gx(static_cast<std::size_t>(nx) * ny), gy(gx.size());
  std::vector<double> gd(gx.size());
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) {
      const std::size_t k = i + static_cast<std::size_t>(j) * nx;
      double u[3];
      unit(g, x[i], y[j], z[k], u);
      project(v, u, &gx[k], &gy[k], &gd[k]);
    }
  for (int j = 0; j + 1 < ny; ++j)
    for (int i = 0; i + 1 < nx; ++i) {
      const std::size_t k[4] = {i + static_cast<std::size_t>(j) * nx, i + 1 + static_cast<std::size_t>(j) * nx,
                                i + 1 + static_cast<std::size_t>(j + 1) * nx,
                                i + static_cast<std::size_t>(j + 1) * nx};
      bool ok = true;
      double d = 0, h = 0;
      for (std::size_t q : k) {
        ok = ok && std::isfinite(z[q]);
        d += gd[q];
        h += z[q];
      }
      if (!ok) continue;
      for (std::size_t q : k) {
        c.px.push_back(gx[q]);
        c.py.push_back(gy[q]);
      }
      c.depth.push_back(d / 4);
      c.height.push_back(static_cast<float>(h / 4));
    }
  const int n = static_cast<int>(c.depth.size());
  c.order.resize(n);
  qqsini(c.order.data(), n);
  qquick(c.depth.data(), c.order.data(), n);
  return c;
}

struct SolidFill3 {
  Global& g;
  int pattern, type, angle, cross, dens, on, off, colour;
  float spacing;
  explicit SolidFill3(Global& gl)
      : g(gl), pattern(gl.shadingPattern), type(gl.fillType), angle(gl.hatchAngle),
        cross(gl.crossHatch), dens(gl.hatchDensity), on(gl.hatchGroupOn), off(gl.hatchGroupOff),
        colour(gl.currentColour), spacing(gl.hatchSpacing) {
    qqmypt(g, 0, 1, 0, 0);
    g.shadingPattern = 16;
  }
  ~SolidFill3() {
    g.shadingPattern = pattern;
    g.fillType = type;
    g.hatchAngle = angle;
    g.crossHatch = cross;
    g.hatchDensity = dens;
    g.hatchSpacing = spacing;
    g.hatchGroupOn = on;
    g.hatchGroupOff = off;
    qqsclr(g, colour);
  }
};

void drawCells(Global& g, const Cells& c, bool mesh) {
  const int lineColour = g.currentColour;
  SolidFill3 solid(g);
  for (int id : c.order) {
    const float* px = &c.px[4 * static_cast<std::size_t>(id)];
    const float* py = &c.py[4 * static_cast<std::size_t>(id)];
    const int fill = mesh ? 0 : qqvclr(c.height[id], g.box3d[2][0], g.box3d[2][1]);
    if (g.currentColour != fill) qqsclr(g, fill);
    qqfpol(g, px, py, 4);
    if (mesh) {
      qqsclr(g, lineColour);
      strtqq(g, px[0], py[0]);
      for (int k = 1; k <= 4; ++k) connqq(g, px[k % 4], py[k % 4]);
      qqstrk(g);
    }
  }
}

}  // namespace

}  // namespace korvan

using namespace korvan;

extern "C" {

void camera(float azim, float elev) {
  Global* gp = jqqlev(1, 3, "camera");
  if (!gp) return;
  if (!std::isfinite(azim) || !std::isfinite(elev) || elev < -90.0f || elev > 90.0f) {
    warnin(*gp, 33);
    return;
  }
  gp->viewAzimuth = azim;
  gp->viewElevation = elev;
}

void axes3d(float xa, float xe, float xor_, float xstep, float ya, float ye, float yor,
            float ystep, float za, float ze, float zor, float zstep) {
  Global* gp = jqqlev(1, 1, "axes3d");
  if (!gp) return;
  Global& g = *gp;
  const float r[3][4] = {{xa, xe, xor_, xstep}, {ya, ye, yor, ystep}, {za, ze, zor, zstep}};
  for (const auto& a : r)
    if (!(std::fabs(a[1] - a[0]) > 0) || !std::isfinite(a[0]) || !std::isfinite(a[1])) {
      warnin(g, 10);
      return;
    }
  for (int k = 0; k < 3; ++k) {
    g.box3d[k][0] = r[k][0];
    g.box3d[k][1] = r[k][1];
  }
  g.box3dSet = 1;
  // The three back faces of the box: the edges that do not meet the corner
  // nearest the viewer.
  const View v = viewOf(g);
  float px[8], py[8];
  double depth[8];
  int nearest = 0;
  for (int c = 0; c < 8; ++c) {
    const double u[3] = {c & 1 ? 1.0 : -1.0, c & 2 ? 1.0 : -1.0, c & 4 ? 1.0 : -1.0};
    project(v, u, &px[c], &py[c], &depth[c]);
    if (depth[c] > depth[nearest]) nearest = c;
  }
  for (int c = 0; c < 8; ++c)
    for (int bit = 1; bit < 8; bit <<= 1) {
      const int d = c | bit;
      if (d == c || c == nearest || d == nearest) continue;
      strtqq(g, px[c], py[c]);
      connqq(g, px[d], py[d]);
    }
  qqstrk(g);
  g.level = 2;
}

void mesh3d(const float* xray, int nx, const float* yray, int ny, const float* zmat) {
  Global* gp = jqqlev(2, 3, "mesh3d");
  if (!gp || !surfaceReady(*gp, xray, nx, yray, ny, zmat)) return;
  Global& g = *gp;
  g.level = 3;
  drawCells(g, projectCells(g, xray, nx, yray, ny, zmat), true);
}

void surf3d(const float* xray, int nx, const float* yray, int ny, const float* zmat) {
  Global* gp = jqqlev(2, 3, "surf3d");
  if (!gp || !surfaceReady(*gp, xray, nx, yray, ny, zmat)) return;
  Global& g = *gp;
  g.level = 3;
  drawCells(g, projectCells(g, xray, nx, yray, ny, zmat), false);
  g.keySet = 1;
  g.keyMin = g.box3d[2][0];
  g.keyMax = g.box3d[2][1];
  g.keyBands = 0;
}

void camera_(const float* azim, const float* elev) { camera(*azim, *elev); }
void axes3d_(const float* xa, const float* xe, const float* xor_, const float* xstep,
             const float* ya, const float* ye, const float* yor, const float* ystep,
             const float* za, const float* ze, const float* zor, const float* zstep) {
  axes3d(*xa, *xe, *xor_, *xstep, *ya, *ye, *yor, *ystep, *za, *ze, *zor, *zstep);
}
void mesh3d_(const float* xray, const int* nx, const float* yray, const int* ny, const float* zmat) {
  mesh3d(xray, *nx, yray, *ny, zmat);
}
void surf3d_(const float* xray, const int* nx, const float* yray, const int* ny, const float* zmat) {
  surf3d(xray, *nx, yray, *ny, zmat);
}

}  // extern "C"
