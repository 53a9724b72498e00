/* The frequency response of two low-pass filters on log-log axes. */
#include <math.h>

#include "gallery.h"

static void plot(void) {
  enum { N = 201 };
  float f[N], first[N], second[N];
  for (int i = 0; i < N; ++i) {
    f[i] = powf(10.0f, 4.0f * i / (N - 1));      /* 1 Hz .. 10 kHz */
    const float r = f[i] / 100.0f;                /* corner at 100 Hz */
    first[i] = 1.0f / sqrtf(1.0f + r * r);
    second[i] = 1.0f / (1.0f + r * r);
  }
  axsscl("LOG", "XY");
  name("Frequency in Hz", "X");
  name("Gain", "Y");
  autgrf(f, second, N);  /* whole decades around the data */
  title("Low-pass filters, corner at 100 Hz");
  color("CYAN");
  dot();
  grid(1, 1);
  solid();
  color("BLUE");
  crvnam("first order");
  curve(f, first, N);
  color("RED");
  dash();
  crvnam("second order");
  curve(f, second, N);
  solid();
  color("FORE");
  legend("LL");
  endgrf();
}

int main(int argc, char** argv) { return gallery_run(argc, argv, "freqresp", plot); }
