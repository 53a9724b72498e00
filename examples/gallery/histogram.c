/* A histogram of 2000 normal samples with the density they come from. */
#include <math.h>

#include "gallery.h"

/* A fixed generator, so that the picture is the same on every run. */
static unsigned long long state = 88172645463325252ULL;
static double uniform(void) {
  state ^= state << 13;
  state ^= state >> 7;
  state ^= state << 17;
  return ((state >> 11) + 0.5) / 9007199254740992.0;
}

static void plot(void) {
  enum { N = 2000, BINS = 24, M = 121 };
  static float x[N];
  for (int i = 0; i < N; i += 2) {
    const double r = sqrt(-2.0 * log(uniform())), a = 6.283185307179586 * uniform();
    x[i] = (float)(r * cos(a));
    x[i + 1] = (float)(r * sin(a));
  }
  float gx[M], gy[M];
  const float width = 6.0f / BINS;
  for (int i = 0; i < M; ++i) {
    gx[i] = -3.0f + 6.0f * i / (M - 1);
    gy[i] = (float)(N * width * exp(-0.5 * gx[i] * gx[i]) / sqrt(6.283185307179586));
  }
  int counts[BINS];
  name("Value", "X");
  name("Count", "Y");
  labdig(-1, "XY");
  graf(-3, 3, -3, 1, 0, 250, 0, 50);
  title("2000 samples of a normal distribution");
  color("CYAN");
  crvnam("samples");
  hstgrm(x, N, BINS, -3.0f, 3.0f, counts);
  color("RED");
  crvnam("density");
  curve(gx, gy, M);
  color("FORE");
  legend("UR");
  endgrf();
}

int main(int argc, char** argv) { return gallery_run(argc, argv, "histogram", plot); }
