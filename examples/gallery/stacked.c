/* A stacked bar chart: each set starts where the one below ends. */
#include "gallery.h"

static void plot(void) {
  enum { N = 6 };
  static const float year[N] = {2019, 2020, 2021, 2022, 2023, 2024};
  static const float parts[3][N] = {{12, 14, 13, 17, 19, 22},
                                    {8, 7, 10, 11, 12, 12},
                                    {5, 6, 6, 8, 9, 11}};
  static const char* const names[3] = {"solar", "wind", "hydro"};
  static const char* const colours[3] = {"ORANGE", "BLUE", "GREEN"};
  float low[N] = {0}, high[N];
  name("Year", "X");
  name("Energy in TWh", "Y");
  labdig(-1, "XY");
  ticks(1, "X");
  graf(2018, 2025, 2018, 1, 0, 60, 0, 10);
  title("Production by source");
  for (int k = 0; k < 3; ++k) {
    for (int i = 0; i < N; ++i) high[i] = low[i] + parts[k][i];
    color(colours[k]);
    crvnam(names[k]);
    barplt(year, low, high, N);
    for (int i = 0; i < N; ++i) low[i] = high[i];
  }
  color("FORE");
  legend("UL");
  endgrf();
}

int main(int argc, char** argv) { return gallery_run(argc, argv, "stacked", plot); }
