/* Filled contours with a colour bar. */
#include <math.h>

#include "gallery.h"

enum { NX = 121, NY = 91 };
static float x[NX], y[NY], z[NX * NY];

static void plot(void) {
  for (int i = 0; i < NX; ++i) x[i] = 6.0f * i / (NX - 1);
  for (int j = 0; j < NY; ++j) y[j] = 4.0f * j / (NY - 1);
  for (int j = 0; j < NY; ++j)
    for (int i = 0; i < NX; ++i)
      z[i + j * NX] = sinf(x[i]) * cosf(1.5f * y[j]) + 0.1f * x[i];
  float levels[15];
  for (int k = 0; k < 15; ++k) levels[k] = -1.2f + 0.2f * k;
  name("x", "X");
  name("y", "Y");
  labdig(-1, "X");
  axslen(1900, 1400);
  graf(0, 6, 0, 1, 0, 4, 0, 1);
  title("sin x cos 1.5y + x / 10");
  isobnd(x, NX, y, NY, z, levels, 15);
  colkey("RIGHT");
  color("FORE");
  endgrf();
}

int main(int argc, char** argv) { return gallery_run(argc, argv, "bands", plot); }
