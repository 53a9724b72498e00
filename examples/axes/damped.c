/* A labelled plot of a data series: a damped oscillation over 0..10 s,
 * written as PDF (or the output named on the command line, e.g. "PNG"). */
#include <math.h>

#include "korvan.h"

int main(int argc, char** argv) {
  enum { N = 201 };
  float t[N], u[N];
  for (int i = 0; i < N; ++i) {
    t[i] = 10.0f * i / (N - 1);
    u[i] = 4.0f * expf(-0.3f * t[i]) * cosf(3.0f * t[i]);
  }

  metafl(argc > 1 ? argv[1] : "PDF");
  korini();
  axspos(450, 1800);
  axslen(2200, 1400);
  name("Time in s", "X");
  name("Voltage in V", "Y");
  labdig(-1, "X");      /* 0 2 4 ... without decimals */
  ticks(4, "XY");
  graf(0.0f, 10.0f, 0.0f, 2.0f, -4.0f, 4.0f, -4.0f, 1.0f);
  xaxgit();             /* the zero line */
  color("RED");
  curve(t, u, N);
  color("FORE");
  endgrf();
  korfin();
  return 0;
}
