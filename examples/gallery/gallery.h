/* The frame of every gallery program: the plot is drawn twice, as PNG and
 * as PDF, into the folder named on the command line (default: the current
 * one), and the files are named after the program. */
#ifndef GALLERY_H
#define GALLERY_H

#include <math.h>
#include <stdio.h>
#ifdef _WIN32
#include <direct.h>
#define chdir _chdir
#else
#include <unistd.h>
#endif

#include "korvan.h"

/* The ripple sin(2r) / 2r over -3..3 both ways, the surfaces' field. */
static inline void gallery_ripple(float* x, int nx, float* y, int ny, float* z) {
  for (int i = 0; i < nx; ++i) x[i] = -3.0f + 6.0f * i / (nx - 1);
  for (int j = 0; j < ny; ++j) y[j] = -3.0f + 6.0f * j / (ny - 1);
  for (int j = 0; j < ny; ++j)
    for (int i = 0; i < nx; ++i) {
      const float r = sqrtf(x[i] * x[i] + y[j] * y[j]);
      z[i + j * nx] = r < 1e-6f ? 1.0f : sinf(2.0f * r) / (2.0f * r);
    }
}

static int gallery_run(int argc, char** argv, const char* name, void (*plot)(void)) {
  static const char* const formats[2] = {"PNG", "PDF"};
  static const char* const extensions[2] = {"png", "pdf"};
  if (argc > 1 && chdir(argv[1]) != 0) {
    perror(argv[1]);
    return 1;
  }
  for (int i = 0; i < 2; ++i) {
    char made[32], wanted[64];
    snprintf(made, sizeof made, "korvan.%s", extensions[i]);
    snprintf(wanted, sizeof wanted, "%s.%s", name, extensions[i]);
    remove(made);
    remove(wanted);
    metafl(formats[i]);
    korini();
    plot();
    korfin();
    if (rename(made, wanted) != 0) {
      perror(wanted);
      return 1;
    }
  }
  return 0;
}

#endif
