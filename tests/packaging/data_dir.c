/* An installed program that needs the library's data: a bitmap font. */
#include "korvan.h"

int main(void) {
  metafl("PPM");
  korini();
  bmpfnt("SIMP");
  messag("Data", 100, 100);
  korfin();
  return 0;
}
