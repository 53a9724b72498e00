/* Horizontal bars with hatched and solid fills. */
#include "gallery.h"

static void plot(void) {
  enum { N = 5 };
  static const float pos[N] = {1, 2, 3, 4, 5};
  static const float zero[N] = {0, 0, 0, 0, 0};
  static const float before[N] = {42, 35, 28, 19, 12};
  static const float after[N] = {38, 37, 22, 25, 9};
  float p1[N], p2[N];
  for (int i = 0; i < N; ++i) {
    p1[i] = pos[i] - 0.18f;
    p2[i] = pos[i] + 0.18f;
  }
  name("Share in %", "X");
  name("Group", "Y");
  labdig(-1, "XY");
  graf(0, 50, 0, 10, 0, 6, 0, 1);
  title("Before and after");
  bardir("HORI");
  barwid(0.34f);
  color("BLUE");
  crvnam("before");
  barplt(p2, zero, before, N);
  color("RED");
  shdpat(5);
  crvnam("after");
  barplt(p1, zero, after, N);
  shdpat(0);
  color("FORE");
  legend("UR");
  endgrf();
}

int main(int argc, char** argv) { return gallery_run(argc, argv, "hbars", plot); }
