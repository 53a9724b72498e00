/* The frame of every gallery program: the plot is drawn twice, as PNG and
 * as PDF, into the folder named on the command line (default: the current
 * one), and the files are named after the program. */
#ifndef GALLERY_H
#define GALLERY_H

#include <stdio.h>
#ifdef _WIN32
#include <direct.h>
#define chdir _chdir
#else
#include <unistd.h>
#endif

#include "korvan.h"

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
