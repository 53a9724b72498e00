/* A surface over a grid, coloured by height and shaded by a light. */
#include <math.h>

#include "gallery.h"

enum { NX = 41, NY = 41 };

static void plot(void) {
  static float x[NX], y[NY], z[NX * NY];
  for (int i = 0; i < NX; ++i) x[i] = -3.0f + 6.0f * i / (NX - 1);
  for (int j = 0; j < NY; ++j) y[j] = -3.0f + 6.0f * j / (NY - 1);
  for (int j = 0; j < NY; ++j)
    for (int i = 0; i < NX; ++i) {
      const float r = sqrtf(x[i] * x[i] + y[j] * y[j]);
      z[i + j * NX] = r < 1e-6f ? 1.0f : sinf(2.0f * r) / (2.0f * r);
    }
  camera(35.0f, 30.0f);
  name("x", "X");
  name("y", "Y");
  name("sin(2r) / 2r", "Z");
  light("ON");
  litdir(-20.0f, 45.0f);
  axes3d(-3, 3, -3, 1, -3, 3, -3, 1, -0.4f, 1, -0.4f, 0.2f);
  surf3d(x, NX, y, NY, z);
  color("FORE");
  endgrf();
}

int main(int argc, char** argv) { return gallery_run(argc, argv, "surface", plot); }
