// 3-D: a view set by camera, a box of three scaled axes set by axes3d, and a
// surface over a grid drawn as a mesh (mesh3d) or coloured by height
// (surf3d). On the raster outputs the cells go through a z-buffer (qqzbuf,
// qqztri) and the mesh lines through the raster's hidden-line stage (qqvhln,
// qqzlin). Elsewhere the cells are drawn far to near (qqsini, qquick on their
// depth) as polygons, each filled over what lies behind it: a mesh cell in
// the page colour with its outline, a surface cell in the colour of its
// height.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "core/state.h"
#include "devices/raster/raster_driver.h"
#include "draw/colour.h"
#include "draw/fill.h"
#include "draw/pipeline.h"
#include "fields/fields.h"
#include "fields/view3d.h"
#include "korvan.h"

namespace korvan {

namespace {

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
  std::vector<double> corner;  // the depth of each cell corner
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
        c.corner.push_back(gd[q]);
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

// ---- z-buffer of the raster outputs ----
// One depth per pixel of the raster, larger nearer; triangles and lines are
// written only where they are nearer than what is there.
struct ZBuffer {
  VirtualRaster* raster = nullptr;
  std::vector<float> depth;
  int w = 0, h = 0;
  float scale = 1;
  int xmin = 0, ymin = 0, xmax = -1, ymax = -1;  // the clipping window in pixels
};

// qqzbuf: a z-buffer for the current output when it is a raster (mode 0), or
// its release (mode 1). False when the output has no raster.
bool qqzbuf(Global& g, ZBuffer& z, int mode) {
  if (mode == 1) {
    z = ZBuffer{};
    return true;
  }
  auto* rd = dynamic_cast<RasterDriver*>(g.driver.get());
  if (!rd || rd->raster().width() <= 0) return false;
  z.raster = &rd->raster();
  z.w = z.raster->width();
  z.h = z.raster->height();
  z.scale = g.deviceScale;
  z.depth.assign(static_cast<std::size_t>(z.w) * z.h, -std::numeric_limits<float>::infinity());
  z.xmin = std::max(0, static_cast<int>(std::ceil(g.clipXmin * z.scale)));
  z.ymin = std::max(0, static_cast<int>(std::ceil(g.clipYmin * z.scale)));
  z.xmax = std::min(z.w - 1, static_cast<int>(std::floor(g.clipXmax * z.scale)));
  z.ymax = std::min(z.h - 1, static_cast<int>(std::floor(g.clipYmax * z.scale)));
  return true;
}

// qqztri: a triangle of absolute plot points with depths, filled with colour
// index where it is nearer; pixel centres inside it (top-left rule by the
// half-open test) so that triangles sharing an edge neither overlap nor gap.
void qqztri(ZBuffer& z, const float* px, const float* py, const double* d, int colour) {
  double X[3], Y[3];
  for (int k = 0; k < 3; ++k) {
    X[k] = px[k] * z.scale;
    Y[k] = py[k] * z.scale;
  }
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
        z.raster->qqvwpx(x, y, colour);
      }
    }
}

// qqzlin: a line of absolute plot points with depths, drawn where it is not
// behind the surface (a small allowance lets a mesh line win over its own
// cells).
void qqzlin(ZBuffer& z, float xa, float ya, double da, float xb, float yb, double db, int colour,
            float allowance) {
  const double X0 = xa * z.scale, Y0 = ya * z.scale, X1 = xb * z.scale, Y1 = yb * z.scale;
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
      z.raster->qqvwpx(x, y, colour);
    }
  }
}

// qqvhln: the hidden-line stage of the raster: every mesh line after all
// cells are in the z-buffer, drawn where it is not behind the surface.
void qqvhln(ZBuffer& z, const Cells& c, float sx, float sy, int line) {
  const float allowance = 0.02f;
  for (std::size_t id = 0; id < c.depth.size(); ++id)
    for (int k = 0; k < 4; ++k) {
      const int m = (k + 1) % 4;
      qqzlin(z, c.px[4 * id + k] + sx, c.py[4 * id + k] + sy, c.corner[4 * id + k],
             c.px[4 * id + m] + sx, c.py[4 * id + m] + sy, c.corner[4 * id + m], line, allowance);
    }
}

// The raster outputs: the cells as two triangles each into the z-buffer,
// then, for a mesh, the hidden-line stage.
void zbufferCells(Global& g, ZBuffer& z, const Cells& c, bool mesh) {
  qqstrk(g);
  const float sx = static_cast<float>(g.shiftX), sy = static_cast<float>(g.shiftY);
  const int line = g.currentColour;
  for (std::size_t id = 0; id < c.depth.size(); ++id) {
    float px[4], py[4];
    for (int k = 0; k < 4; ++k) {
      px[k] = c.px[4 * id + k] + sx;
      py[k] = c.py[4 * id + k] + sy;
    }
    const double* d = &c.corner[4 * id];
    const int fill = mesh ? 0 : qqvclr(c.height[id], g.box3d[2][0], g.box3d[2][1]);
    const float ax[3] = {px[0], px[1], px[2]}, ay[3] = {py[0], py[1], py[2]};
    const double ad[3] = {d[0], d[1], d[2]};
    const float bx[3] = {px[0], px[2], px[3]}, by[3] = {py[0], py[2], py[3]};
    const double bd[3] = {d[0], d[2], d[3]};
    qqztri(z, ax, ay, ad, fill);
    qqztri(z, bx, by, bd, fill);
  }
  if (mesh) qqvhln(z, c, sx, sy, line);
}

void drawCells(Global& g, const Cells& c, bool mesh) {
  ZBuffer z;
  if (qqzbuf(g, z, 0)) {
    zbufferCells(g, z, c, mesh);
    qqzbuf(g, z, 1);
    return;
  }
  const int lineColour = g.currentColour;
  SolidFill solid(g);
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
void mesh3d_(const float* xray, const int* nx, const float* yray, const int* ny, const float* zmat) {
  mesh3d(xray, *nx, yray, *ny, zmat);
}
void surf3d_(const float* xray, const int* nx, const float* yray, const int* ny, const float* zmat) {
  surf3d(xray, *nx, yray, *ny, zmat);
}

}  // extern "C"
