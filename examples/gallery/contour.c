/* A contour map with labelled lines: two hills and a hollow. */
#include <math.h>

#include "gallery.h"

enum { NX = 81, NY = 61 };
static float x[NX], y[NY], z[NX * NY];

static void field(void) {
  for (int i = 0; i < NX; ++i) x[i] = -4.0f + 8.0f * i / (NX - 1);
  for (int j = 0; j < NY; ++j) y[j] = -3.0f + 6.0f * j / (NY - 1);
  for (int j = 0; j < NY; ++j)
    for (int i = 0; i < NX; ++i) {
      const float a = x[i] - 1.5f, b = y[j] - 0.5f, c = x[i] + 1.5f, d = y[j] + 1.0f;
      z[i + j * NX] = 3.0f * expf(-(a * a + b * b) / 2.0f) + 2.0f * expf(-(c * c + d * d)) -
                      1.5f * expf(-((x[i] + 1.0f) * (x[i] + 1.0f) + (y[j] - 1.8f) * (y[j] - 1.8f)));
    }
}

static void plot(void) {
  field();
  name("x in km", "X");
  name("y in km", "Y");
  labdig(-1, "XY");
  graf(-4, 4, -4, 1, -3, 3, -3, 1);
  title("Height in m");
  isolab(1);
  for (int k = -2; k <= 6; ++k) {
    const float level = 0.5f * k;
    color(level < 0.0f ? "BLUE" : level == 0.0f ? "FORE" : "RED");
    isolin(x, NX, y, NY, z, level);
  }
  color("FORE");
  endgrf();
}

int main(int argc, char** argv) { return gallery_run(argc, argv, "contour", plot); }
