// Test support: the pictures that the tests of several file formats draw and
// then look for in what a reader renders.
#pragma once

#include "core/state.h"
#include "draw/device_ops.h"
#include "draw/pipeline.h"
#include "devices/dispatch.h"
#include "korvan.h"

namespace korvan::test {

// Through the public routines: a red line of the given width along y = 400
// from x = 300 to 2600, and a blue triangle (1800,1000) (2600,1000)
// (2200,1700) filled solid.
inline void drawLineAndTriangle(int width) {
  color("RED");
  linwid(width);
  line(300, 400, 2600, 400);
  shdpat(16);
  color("BLUE");
  int nx[] = {1800, 2600, 2200};
  int ny[] = {1000, 1000, 1700};
  areaf(nx, ny, 3);
}

// A red line (200,300)-(1200,300), of the given width unless it is 0, a
// green box (1500,200)-(2000,600) and a blue triangle (300,1000)
// (1300,1000) (300,1800) filled solid.
inline void drawLineBoxTriangle(int width) {
  color("RED");
  if (width > 0) linwid(width);
  line(200, 300, 1200, 300);
  Global& g = qqgglb();
  g.colourTable[44] = 0x00FF00;
  dbox(g, 1500, 200, 2000, 600, 44);
  color("BLUE");
  int xs[3] = {300, 1300, 300}, ys[3] = {1000, 1000, 1800};
  shdpat(16);
  areaf(xs, ys, 3);
}

// Entries 10 red and 20 blue, and in red a line of the given width along
// y = 400 from x = 300 to 2600, handed to the driver point by point.
inline void redLine(Global& g, int width) {
  g.colourTable[10] = 0xFF0000;
  g.colourTable[20] = 0x0000FF;
  qqsclr(g, 10);
  qqstrk(g);
  g.driver->width(g, width);
  xjdraw(g, 300.0f, 400.0f, 3);
  xjdraw(g, 2600.0f, 400.0f, 2);
}

// Through the device layer: a red line along y = 400 still pending in the
// driver when a blue box (1000,300)-(1400,500) comes, a second red line
// along y = 1400, then a blue triangle (1800,1300) (2600,1300) (2200,1700)
// over it.
inline void drawCoverScene(Global& g, int width) {
  redLine(g, width);
  dbox(g, 1000, 300, 1400, 500, 20);
  xjdraw(g, 300.0f, 1400.0f, 3);
  xjdraw(g, 2600.0f, 1400.0f, 2);
  qqsclr(g, 20);
  const float tx[] = {1800, 2600, 2200};
  const float ty[] = {1300, 1300, 1700};
  xjpoly(g, tx, ty, 3);
}

// Through the device layer: a red line along y = 400 from x = 300 to 2600,
// a blue box (1000,1000)-(1400,1300) and a green (0x00C000) triangle
// (1800,1000) (2600,1000) (2200,1700).
inline void drawDeviceScene(Global& g, int width) {
  g.colourTable[30] = 0x00C000;
  redLine(g, width);
  dbox(g, 1000, 1000, 1400, 1300, 20);
  qqsclr(g, 30);
  const float tx[] = {1800, 2600, 2200};
  const float ty[] = {1000, 1000, 1700};
  xjpoly(g, tx, ty, 3);
}

}  // namespace korvan::test
