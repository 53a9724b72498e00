/* A surface over a grid, as a mesh with hidden lines removed. */
#include "gallery.h"

enum { NX = 41, NY = 41 };

static void plot(void) {
  static float x[NX], y[NY], z[NX * NY];
  gallery_ripple(x, NX, y, NY, z);
  camera(35.0f, 30.0f);
  axes3d(-3, 3, -3, 1, -3, 3, -3, 1, -0.4f, 1, -0.4f, 0.2f);
  color("CYAN");
  mesh3d(x, NX, y, NY, z);
  color("FORE");
  endgrf();
}

int main(int argc, char** argv) { return gallery_run(argc, argv, "mesh", plot); }
