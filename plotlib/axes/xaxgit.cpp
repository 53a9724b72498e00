// xaxgit: the line Y = 0 of the current axis system.
//
// Only the level check exists so far: outside an axis system (level 1) the
// call is refused with warning 3. Inside one (levels 2-3) the line needs the
// axis system's scaling, which is not built yet, so nothing is drawn.
#include "core/state.h"
#include "korvan.h"

using namespace korvan;

extern "C" {

void xaxgit(void) {
  Global* g = jqqlev(2, 3, "xaxgit");
  if (!g) return;
}

void xaxgit_(void) { xaxgit(); }

}  // extern "C"
