/* Texts, symbols and TeX formulas placed at data points. */
#include <math.h>

#include "gallery.h"

static void plot(void) {
  enum { N = 161 };
  float x[N], y[N];
  for (int i = 0; i < N; ++i) {
    x[i] = -4.0f + 8.0f * i / (N - 1);
    y[i] = x[i] * x[i] * x[i] / 4.0f - 2.0f * x[i];
  }
  name("x", "X");
  name("f(x)", "Y");
  labdig(-1, "XY");
  graf(-4, 4, -4, 1, -8, 8, -8, 2);
  xaxgit();
  title("Extrema of a cubic");
  color("BLUE");
  curve(x, y, N);
  const float xm = sqrtf(8.0f / 3.0f), ym = xm * xm * xm / 4.0f - 2.0f * xm;
  color("RED");
  usrsym(21, -xm, -ym);
  usrsym(21, xm, ym);
  color("FORE");
  usrlin(-xm, -ym, -xm, 0.0f);
  usrmsg("maximum", -xm + 0.15f, -ym + 1.5f);
  usrmsg("minimum", xm + 0.15f, ym - 0.4f);
  texmod("ON");
  usrmsg("$f(x) = \\frac{x^3}{4} - 2x$", -3.8f, 7.0f);
  usrmsg("$x = -\\sqrt{8/3}$", -xm + 0.15f, 1.6f);
  texmod("OFF");
  endgrf();
}

int main(int argc, char** argv) { return gallery_run(argc, argv, "annotate", plot); }
