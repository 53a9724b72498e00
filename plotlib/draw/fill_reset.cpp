// Defaults of fills, shielding, figures and symbols set at every korini.
#include "core/state.h"

namespace korvan {

void resfil(Global& g) { g.shadePattern = 0; }

}  // namespace korvan
