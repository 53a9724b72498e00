// xaxgit: the line Y = 0 across the current axis system.
#include "axes/axes.h"
#include "core/state.h"
#include "korvan.h"

using namespace korvan;

extern "C" {

void xaxgit(void) {
  Global* g = jqqlev(2, 3, "xaxgit");
  if (g) daxgit(*g, 1);
}

void xaxgit_(void) { xaxgit(); }

}  // extern "C"
