// Axis-system defaults set at every korini, and the attribute switches that
// endgrf resets.
#include "core/state.h"

namespace korvan {

void resatt(Global& g) {
  for (int& a : g.axisAttr) a = 0;
}

void resaxs(Global& g) { resatt(g); }

}  // namespace korvan
