// Built for Linux and for Windows alike. "files": a PostScript and a PNG
// plot of the same page in the current directory (korvan.ps, korvan.png),
// whose bytes the two builds must agree on. "dir": the installation
// directory the library finds, on one line.
#include <cstdio>
#include <cstring>

#include "core/state.h"
#include "korvan.h"

namespace {

void page(const char* format) {
  metafl(format);
  korini();
  pagera();
  hsymbl(40);
  linwid(3);
  color("BLUE");
  arcell(1485, 1050, 900, 500, 0.0f, 360.0f, 30.0f);
  color("RED");
  vector(1485, 1050, 2264, 600, 1501);
  color("GREEN");
  messag("Orbit 1", 200, 200);
  color("FORE");
  symbol(21, 1485, 1050);
  korfin();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "files") == 0) {
    page("PS");
    page("PNG");
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "dir") == 0) {
    char dir[256];
    korvan::qqgenv("KORVAN", dir, sizeof dir);
    std::printf("%s\n", dir);
    return 0;
  }
  std::fprintf(stderr, "usage: win32_probe files|dir\n");
  return 2;
}
