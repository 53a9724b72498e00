/* A small plot from C: an ellipse, a radius vector and a star symbol on a
 * PostScript page (korvan.ps in the current directory). */
#include <korvan.h>

int main(void) {
  metafl("PS");
  korini();
  pagera();
  hsymbl(40);
  linwid(3);
  color("BLUE");
  arcell(1485, 1050, 900, 500, 0.0f, 360.0f, 30.0f);
  color("RED");
  vector(1485, 1050, 2264, 600, 1501);
  color("FORE");
  symbol(21, 1485, 1050);
  korfin();
  return 0;
}
