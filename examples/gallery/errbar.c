/* A measurement with error bars and a straight-line fit. */
#include "gallery.h"

static void plot(void) {
  enum { N = 10 };
  static const float t[N] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  static const float v[N] = {2.3f, 4.1f, 5.6f, 8.4f, 9.7f, 12.5f, 13.6f, 16.2f, 17.8f, 20.6f};
  static const float e[N] = {0.6f, 0.5f, 0.8f, 0.7f, 0.9f, 0.8f, 1.0f, 0.9f, 1.1f, 1.2f};
  float fit[2], at[2] = {0.0f, 11.0f};
  /* least squares */
  float sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (int i = 0; i < N; ++i) {
    sx += t[i];
    sy += v[i];
    sxx += t[i] * t[i];
    sxy += t[i] * v[i];
  }
  const float b = (N * sxy - sx * sy) / (N * sxx - sx * sx), a = (sy - b * sx) / N;
  fit[0] = a + b * at[0];
  fit[1] = a + b * at[1];

  name("Time in s", "X");
  name("Distance in m", "Y");
  labdig(-1, "XY");
  graf(0, 11, 0, 1, 0, 24, 0, 4);
  title("Distance over time|with a least-squares fit");
  color("CYAN");
  dot();
  grid(1, 1);
  solid();
  color("FORE");
  crvsym(21);
  crvlin("OFF");
  crvnam("measured");
  curve(t, v, N);
  ebary(t, v, e, e, N);
  crvsym(-1);
  crvlin("ON");
  color("RED");
  crvnam("fit");
  curve(at, fit, 2);
  color("FORE");
  legend("UL");
  endgrf();
}

int main(int argc, char** argv) { return gallery_run(argc, argv, "errbar", plot); }
