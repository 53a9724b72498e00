// 3-D surfaces in the box of axes3d (box3d.cpp) as the camera sees it: a
// surface over a grid drawn as a mesh (mesh3d) or coloured by height
// (surf3d). On the raster and the screen the cells go through a z-buffer
// (qqzbuf, qqztri) and the mesh lines through the hidden-line stages (qqvhln,
// qqwhln). Elsewhere a surface's cells are drawn far to near (qqsini, qquick
// on their depth) as polygons, each filled over what lies behind it, and a
// mesh is drawn as the visible pieces of its grid lines only (qqhvec). With
// light("ON") surf3d shades each cell by its slope to the light.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/colour_entry.h"
#include "core/state.h"
#include "core/wrap.h"
#include "devices/driver.h"
#include "devices/device_table.h"
#include "devices/raster/raster.h"
#include "devices/raster/raster_driver.h"
#include "draw/colour.h"
#include "draw/fill.h"
#include "draw/pipeline.h"
#include "fields/fields.h"
#include "fields/view3d.h"
#include "fields/zbuffer.h"
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
  SurfaceGrid grid;
  std::vector<float> px, py;
  std::vector<double> depth;
  std::vector<double> corner;  // the depth of each cell corner
  std::vector<int> order;
  std::vector<float> height;  // mean z of a cell
  std::vector<float> light;   // the share of light of a cell (light on)
};

// The direction the light comes from, in the box's frame.
void lightDirection(const Global& g, double l[3]) {
  const double rad = 3.141592653589793 / 180.0;
  const double a = g.lightAzimuth * rad, e = g.lightElevation * rad;
  l[0] = std::cos(e) * std::cos(a);
  l[1] = std::cos(e) * std::sin(a);
  l[2] = std::sin(e);
}

// Ambient plus diffuse light of a cell of the unit cube; both sides are lit
// alike, so that cells seen from below are not black.
float cellLight(const double p[4][3], const double l[3]) {
  const double kAmbient = 0.3, kDiffuse = 0.7;
  double a[3], b[3];
  for (int k = 0; k < 3; ++k) {
    a[k] = p[2][k] - p[0][k];
    b[k] = p[3][k] - p[1][k];
  }
  const double n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
  const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  if (!(len > 0)) return static_cast<float>(kAmbient + kDiffuse);
  const double c = std::fabs(n[0] * l[0] + n[1] * l[1] + n[2] * l[2]) / len;
  return static_cast<float>(kAmbient + kDiffuse * c);
}

Cells projectCells(Global& g, const float* x, int nx, const float* y, int ny, const float* z) {
  const View v = viewOf(g);
  Cells c;
  SurfaceGrid& s = c.grid;
  s.nx = nx;
  s.ny = ny;
  s.x.resize(static_cast<std::size_t>(nx) * ny);
  s.y.resize(s.x.size());
  s.depth.resize(s.x.size());
  s.cell.assign(static_cast<std::size_t>(nx - 1) * (ny - 1), 0);
  std::vector<double> cube(g.lightOn ? 3 * s.x.size() : 0);
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) {
      const std::size_t k = i + static_cast<std::size_t>(j) * nx;
      double u[3];
      unit(g, x[i], y[j], z[k], u);
      project(v, u, &s.x[k], &s.y[k], &s.depth[k]);
      if (!cube.empty()) std::copy(u, u + 3, &cube[3 * k]);
    }
  double l[3];
  lightDirection(g, l);
  for (int j = 0; j + 1 < ny; ++j)
    for (int i = 0; i + 1 < nx; ++i) {
      std::size_t k[4];
      s.corners(i, j, k);
      bool ok = true;
      double d = 0, h = 0;
      for (std::size_t q : k) {
        ok = ok && std::isfinite(z[q]);
        d += s.depth[q];
        h += z[q];
      }
      if (!ok) continue;
      s.cell[i + static_cast<std::size_t>(j) * (nx - 1)] = 1;
      for (std::size_t q : k) {
        c.px.push_back(s.x[q]);
        c.py.push_back(s.y[q]);
        c.corner.push_back(s.depth[q]);
      }
      c.depth.push_back(d / 4);
      c.height.push_back(static_cast<float>(h / 4));
      if (!cube.empty()) {
        double p[4][3];
        for (int q = 0; q < 4; ++q) std::copy(&cube[3 * k[q]], &cube[3 * k[q]] + 3, p[q]);
        c.light.push_back(cellLight(p, l));
      }
    }
  const int n = static_cast<int>(c.depth.size());
  c.order.resize(n);
  qqsini(c.order.data(), n);
  qquick(c.depth.data(), c.order.data(), n);
  return c;
}

// The colour of a shaded cell: the colour of its height times its light.
void shadedRgb(const Global& g, const Cells& c, std::size_t id, int rgb[3]) {
  splitRgb(g.colourTable[qqvclr(c.height[id], g.box3d[2][0], g.box3d[2][1])], rgb[0], rgb[1], rgb[2]);
  for (int k = 0; k < 3; ++k)
    rgb[k] = std::clamp(static_cast<int>(std::lround(rgb[k] * static_cast<double>(c.light[id]))), 0, 255);
}

// The colour of mesh3d's lines.
int meshColour(const Global& g) { return g.meshColour >= 0 ? g.meshColour : g.currentColour; }

// The raster and the screen: the cells as two triangles each into the
// z-buffer, then, for a mesh, the hidden-line stage.
void zbufferCells(Global& g, ZBuffer& z, const Cells& c, bool mesh) {
  const float sx = static_cast<float>(g.shiftX), sy = static_cast<float>(g.shiftY);
  const bool lit = !mesh && !c.light.empty();
  for (std::size_t id = 0; id < c.depth.size(); ++id) {
    float px[4], py[4];
    for (int k = 0; k < 4; ++k) {
      px[k] = c.px[4 * id + k] + sx;
      py[k] = c.py[4 * id + k] + sy;
    }
    const double* d = &c.corner[4 * id];
    ZPaint fill;
    if (lit) {
      int rgb[3];
      shadedRgb(g, c, id, rgb);
      fill = qqzrgb(g, z, rgb[0], rgb[1], rgb[2]);
    } else {
      fill = qqzidx(g, z, mesh ? 0 : qqvclr(c.height[id], g.box3d[2][0], g.box3d[2][1]));
    }
    const float ax[3] = {px[0], px[1], px[2]}, ay[3] = {py[0], py[1], py[2]};
    const double ad[3] = {d[0], d[1], d[2]};
    const float bx[3] = {px[0], px[2], px[3]}, by[3] = {py[0], py[2], py[3]};
    const double bd[3] = {d[0], d[2], d[3]};
    qqztri(z, ax, ay, ad, fill);
    qqztri(z, bx, by, bd, fill);
  }
  if (!mesh) return;
  const ZPaint line = qqzidx(g, z, meshColour(g));
  if (z.target == ZBuffer::Target::Screen)
    qqwhln(z, c.grid, sx, sy, line);
  else
    qqvhln(z, c.grid, sx, sy, line);
}

// The outputs without pixels: a mesh as its visible line pieces, a surface
// as polygons far to near.
// The box's back edges as axes3d drew them, projected: a mesh's cells that
// lie over them hide them on outputs without pixels, as the z-buffer's
// cells do on the others.
struct Edge {
  float x0, y0, x1, y1;
};
std::vector<Edge> backEdges(const Global& g) {
  const View v = viewOf(g);
  float px[8], py[8];
  double depth[8];
  int nearest = 0;
  for (int k = 0; k < 8; ++k) {
    const double u[3] = {k & 1 ? 1.0 : -1.0, k & 2 ? 1.0 : -1.0, k & 4 ? 1.0 : -1.0};
    project(v, u, &px[k], &py[k], &depth[k]);
    if (depth[k] > depth[nearest]) nearest = k;
  }
  std::vector<Edge> edges;
  for (int from = 0; from < 8; ++from)
    for (int bit = 1; bit < 8; bit <<= 1) {
      const int to = from | bit;
      if (to != from && from != nearest && to != nearest)
        edges.push_back({px[from], py[from], px[to], py[to]});
    }
  return edges;
}

// Whether a segment comes near a box (a unit's margin): cells so chosen are
// filled in the page colour, which is safe anywhere inside the surface's
// outline, so a coarse test only costs a few fills more.
bool nearBox(const Edge& e, float x0, float y0, float x1, float y1) {
  double t0 = 0, t1 = 1;
  const double dx = e.x1 - e.x0, dy = e.y1 - e.y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {e.x0 - (x0 - 1.0), (x1 + 1.0) - e.x0, e.y0 - (y0 - 1.0), (y1 + 1.0) - e.y0};
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0) {
      if (q[k] < 0) return false;
      continue;
    }
    const double r = q[k] / p[k];
    if (p[k] < 0)
      t0 = std::max(t0, r);
    else
      t1 = std::min(t1, r);
    if (t0 > t1) return false;
  }
  return true;
}

void coverBackEdges(Global& g, const Cells& c) {
  // Where the device cannot fill a polygon itself the cover would be
  // hatching, more lines rather than fewer.
  if (!g.driver || !(g.driver->polygons() || g.driver->fillsSolid(g))) return;
  const std::vector<Edge> edges = backEdges(g);
  SolidFill solid(g);
  for (std::size_t id = 0; id < c.depth.size(); ++id) {
    const float* px = &c.px[4 * id];
    const float* py = &c.py[4 * id];
    const float x0 = std::min({px[0], px[1], px[2], px[3]}), x1 = std::max({px[0], px[1], px[2], px[3]});
    const float y0 = std::min({py[0], py[1], py[2], py[3]}), y1 = std::max({py[0], py[1], py[2], py[3]});
    for (const Edge& e : edges)
      if (nearBox(e, x0, y0, x1, y1)) {
        if (g.currentColour != 0) qqsclr(g, 0);
        qqfpol(g, px, py, 4);
        break;
      }
  }
}

void vectorCells(Global& g, const Cells& c, bool mesh) {
  if (mesh) {
    coverBackEdges(g, c);
    const int before = g.currentColour, line = meshColour(g);
    if (line != before) qqsclr(g, line);
    qqhvec(g, c.grid);
    if (line != before) qqsclr(g, before);
    return;
  }
  const bool lit = !c.light.empty();
  SolidFill solid(g);
  for (int id : c.order) {
    const float* px = &c.px[4 * static_cast<std::size_t>(id)];
    const float* py = &c.py[4 * static_cast<std::size_t>(id)];
    int fill = qqvclr(c.height[id], g.box3d[2][0], g.box3d[2][1]);
    if (lit) {
      int rgb[3];
      shadedRgb(g, c, static_cast<std::size_t>(id), rgb);
      // Devices with only their table take its nearest entry; SolidFill
      // sets the driver's colour again at the end either way.
      if (g.driver && g.driver->rgb(g, rgb[0], rgb[1], rgb[2])) {
        qqfpol(g, px, py, 4);
        continue;
      }
      fill = nearestIndex(g.colourTable, rgb[0], rgb[1], rgb[2]);
    }
    if (g.currentColour != fill) qqsclr(g, fill);
    qqfpol(g, px, py, 4);
  }
}

void drawCells(Global& g, const Cells& c, bool mesh) {
  qqstrk(g);
  // Shades need colours outside the table: an image file that can hold
  // true colour is made one rather than shaded with the table's nearest.
  auto* rd = dynamic_cast<RasterDriver*>(g.driver.get());
  if (!mesh && g.lightOn && rd && deviceInfo(g.device).smooth) rd->raster().qqvtru();
  ZBuffer z;
  if (qqzbuf(g, z, 0)) {
    zbufferCells(g, z, c, mesh);
    qqzbuf(g, z, 1);
    return;
  }
  vectorCells(g, c, mesh);
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

void mshclr(int nclr) {
  Global* gp = jqqlev(1, 3, "mshclr");
  if (!gp || !jqqval(*gp, nclr, -1, 255)) return;
  gp->meshColour = nclr;
}

void light(const char* cmode) {
  Global* gp = jqqlev(1, 3, "light");
  if (!gp) return;
  const int n = jqqind(*gp, "ON  +OFF ", 2, cmode ? cmode : "");
  if (n != 0) gp->lightOn = n == 1 ? 1 : 0;
}

void litdir(float azim, float elev) {
  Global* gp = jqqlev(1, 3, "litdir");
  if (!gp) return;
  if (!std::isfinite(azim) || !std::isfinite(elev) || elev < -90.0f || elev > 90.0f) {
    warnin(*gp, 2);
    return;
  }
  gp->lightAzimuth = azim;
  gp->lightElevation = elev;
}

void camera_(const float* azim, const float* elev) { camera(*azim, *elev); }
void mesh3d_(const float* xray, const int* nx, const float* yray, const int* ny, const float* zmat) {
  mesh3d(xray, *nx, yray, *ny, zmat);
}
void surf3d_(const float* xray, const int* nx, const float* yray, const int* ny, const float* zmat) {
  surf3d(xray, *nx, yray, *ny, zmat);
}
void mshclr_(const int* nclr) { mshclr(*nclr); }
void light_(const char* cmode, int len) { light(Key4(cmode, len)); }
void litdir_(const float* azim, const float* elev) { litdir(*azim, *elev); }

}  // extern "C"
