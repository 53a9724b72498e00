/* Scattered stations: their Delaunay triangles and contours on them. */
#include <math.h>

#include "gallery.h"

enum { N = 60, MAXTRI = 2 * N };

static void plot(void) {
  float x[N], y[N], z[N];
  int i1[MAXTRI], i2[MAXTRI], i3[MAXTRI];
  unsigned s = 777u;
  for (int i = 0; i < N; ++i) {
    s = s * 1103515245u + 12345u;
    x[i] = 10.0f * ((s >> 16) & 0x7fff) / 32767.0f;
    s = s * 1103515245u + 12345u;
    y[i] = 8.0f * ((s >> 16) & 0x7fff) / 32767.0f;
    z[i] = 1000.0f + 15.0f * sinf(0.5f * x[i]) + 10.0f * cosf(0.6f * y[i]);
  }
  const int ntri = delaun(x, y, N, i1, i2, i3, MAXTRI);
  name("East in km", "X");
  name("North in km", "Y");
  labdig(-1, "XY");
  graf(0, 10, 0, 2, 0, 8, 0, 2);
  title("Air pressure in hPa at 60 stations");
  color("GREY");
  for (int t = 0; t < ntri; ++t) {
    const int a = i1[t] - 1, b = i2[t] - 1, c = i3[t] - 1;
    usrlin(x[a], y[a], x[b], y[b]);
    usrlin(x[b], y[b], x[c], y[c]);
    usrlin(x[c], y[c], x[a], y[a]);
  }
  color("RED");
  isolab(1);
  for (int k = 980; k <= 1020; k += 5) isotin(x, y, z, N, i1, i2, i3, ntri, (float)k);
  color("FORE");
  for (int i = 0; i < N; ++i) usrsym(21, x[i], y[i]);
  endgrf();
}

int main(int argc, char** argv) { return gallery_run(argc, argv, "stations", plot); }
