// orbgen: writes element files for the orbit viewers from an integration of
// the Sun and the planets.
#include <cstdio>
#include <string>

#include "orbgen.h"

int main(int argc, char** argv) {
  orbgen::Options o;
  std::string error;
  bool help = false;
  if (!orbgen::parseOptions(argc, argv, o, error, help)) {
    std::fprintf(stderr, "orbgen: %s (see orbgen --help)\n", error.c_str());
    return 2;
  }
  if (help) {
    std::printf(
        "Usage: orbgen [options]\n"
        "Integrates the Sun and the planets from their J2000 mean elements and\n"
        "writes the heliocentric osculating elements of each written body to\n"
        "elmNNNN.dat: years, a [AU], e, i, node, periapsis, mean anomaly [deg],\n"
        "body number.\n"
        "  --bodies LIST     planets written, 1 Mercury ... 8 Neptune (default 1-8)\n"
        "  --integrate LIST  planets that take part (default all eight)\n"
        "  --files LIST      file numbers of the written bodies (default theirs)\n"
        "  --span YEARS      length of the run (default 100)\n"
        "  --step DAYS       integration step (default 2)\n"
        "  --every YEARS     interval between records (default 0.1)\n"
        "  --dir DIR         where the files go (default .)\n"
        "  --force           replace existing files\n"
        "LIST: numbers and ranges, e.g. 2,3,4 or 5-8.\n");
    return 0;
  }
  if (!orbgen::generate(o, error)) {
    std::fprintf(stderr, "orbgen: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
