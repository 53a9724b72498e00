/* A plain C caller: the default metafile and its protocol. */
#include "korvan.h"

int main(void) {
  metafl("GKSL");
  korini();
  korfin();
  return 0;
}
