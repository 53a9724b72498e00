/* A matrix as a heat map: one cell per value, the axes labelling the cells. */
#include "gallery.h"

enum { NX = 24, NY = 7 };

static void plot(void) {
  static float z[NX * NY];
  for (int j = 0; j < NY; ++j)
    for (int i = 0; i < NX; ++i) {
      const float hour = i + 0.5f;
      const float busy = (hour > 7 && hour < 10) || (hour > 16 && hour < 19) ? 80.0f : 20.0f;
      z[i + j * NX] = (j < 5 ? busy : 0.4f * busy) + 3.0f * ((i * 7 + j * 13) % 5);
    }
  name("Hour of the day", "X");
  name("Day of the week", "Y");
  labdig(-1, "XY");
  ticks(1, "XY");
  axslen(1900, 900);
  graf(0, 24, 0, 3, 0, 7, 0, 1);
  title("Trips per hour");
  heatmp(z, NX, NY, 0.0f, 100.0f);
  colkey("RIGHT");
  color("FORE");
  endgrf();
}

int main(int argc, char** argv) { return gallery_run(argc, argv, "heatmap", plot); }
