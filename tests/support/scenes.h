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

namespace korvan::test {

// A page of everything a smooth picture must get right, through the public
// routines: curves (ellipses and arcs), wide solid and dashed lines at
// several angles, filled polygons, symbols, a vector with its arrow head,
// and text at several sizes and angles.
inline void drawSmoothPage() {
  pagera();
  color("YELL");
  linwid(1);
  arcell(700, 600, 500, 300, 0.0f, 360.0f, 20.0f);
  color("CYAN");
  linwid(6);
  arcell(700, 600, 350, 180, 0.0f, 270.0f, -15.0f);
  color("RED");
  linwid(12);
  const int longDash[2] = {120, 60};
  myline(longDash, 2);
  line(1400, 250, 2800, 450);
  dash();
  line(1400, 500, 2200, 1100);
  lintyp(3);
  linwid(8);
  line(1500, 1200, 2850, 1000);
  solid();
  linwid(3);
  color("GREE");
  shdpat(16);
  int tx[3] = {300, 1100, 500}, ty[3] = {1300, 1150, 1950};
  areaf(tx, ty, 3);
  color("BLUE");
  int px[6] = {1300, 1700, 1900, 1750, 1400, 1250}, py[6] = {1400, 1300, 1600, 1950, 1900, 1650};
  areaf(px, py, 6);
  color("ORAN");
  for (int i = 0; i < 6; ++i) symbol(i * 3, 2050 + 140 * i, 1350);
  hsymbl(60);
  symbol(21, 2300, 1550);
  vector(2000, 1800, 2800, 1700, 1421);
  linwid(1);
  color("WHIT");
  height(36);
  messag("Smooth text 36", 150, 120);
  height(60);
  angle(30);
  messag("Angled 60", 1100, 1000);
  angle(0);
  height(90);
  messag("Big 90", 2000, 1850);
  height(24);
  angle(-20);
  messag("small turned 24", 2100, 600);
  angle(0);
}

}  // namespace korvan::test
