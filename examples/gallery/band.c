/* A fitted curve with its band of confidence. */
#include <math.h>

#include "gallery.h"

static void plot(void) {
  enum { N = 101 };
  float x[N], y[N], lo[N], hi[N];
  for (int i = 0; i < N; ++i) {
    x[i] = 10.0f * i / (N - 1);
    y[i] = 3.0f + 2.0f * sinf(0.6f * x[i]);
    const float s = 0.3f + 0.05f * (x[i] - 5.0f) * (x[i] - 5.0f) / 5.0f;
    lo[i] = y[i] - 2.0f * s;
    hi[i] = y[i] + 2.0f * s;
  }
  name("x", "X");
  name("y", "Y");
  labdig(-1, "XY");
  graf(0, 10, 0, 2, 0, 6, 0, 1);
  title("Model with a 95 % band");
  color("CYAN");
  crvnam("95 % band");
  fillbt(x, lo, hi, N);
  color("BLUE");
  linwid(3);
  crvnam("model");
  curve(x, y, N);
  linwid(1);
  color("FORE");
  legend("LR");
  endgrf();
}

int main(int argc, char** argv) { return gallery_run(argc, argv, "band", plot); }
