// Text defaults set at every korini (the character height and angle are set
// with the page defaults).
#include "core/state.h"

namespace korvan {

void restxt(Global&) {}

}  // namespace korvan
