/* A year of daily values with monthly date labels. */
#include <math.h>

#include "gallery.h"

static void plot(void) {
  enum { N = 365 };
  float day[N], temp[N], mean[N];
  unsigned s = 12345u; /* a fixed generator: the same picture on every run */
  for (int i = 0; i < N; ++i) {
    s = s * 1103515245u + 12345u;
    const float noise = ((s >> 16) & 0x7fff) / 32767.0f - 0.5f;
    day[i] = (float)i;
    mean[i] = 10.0f - 9.0f * cosf(2.0f * 3.14159265f * (i - 15) / 365.0f);
    temp[i] = mean[i] + 6.0f * noise;
  }
  basdat(1, 1, 2026);
  labfmt("DATE", "X");
  datfmt("NONE", "SHOR", "NONE");
  name("2026", "X");
  name("Temperature in deg C", "Y");
  labdig(-1, "Y");
  graf(0, 365, 0, 1, -5, 25, -5, 5);
  title("Daily mean temperature");
  color("CYAN");
  dot();
  grid(0, 1);
  solid();
  color("GREEN");
  crvnam("daily");
  curve(day, temp, N);
  color("RED");
  linwid(3);
  crvnam("seasonal mean");
  curve(day, mean, N);
  linwid(1);
  color("FORE");
  legend("UL");
  endgrf();
}

int main(int argc, char** argv) { return gallery_run(argc, argv, "timeseries", plot); }
