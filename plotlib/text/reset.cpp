// Text defaults set at every korini (the character height and angle are set
// with the page defaults).
#include <cstring>

#include "core/state.h"

namespace korvan {

void restxt(Global& g) {
  g.texMode = 0;
  g.expSwitch = 0;
  std::memcpy(g.expChars, "[]$", 3);
  g.umlautSwitch = 0;
  std::memset(g.umlautEsc, ' ', sizeof g.umlautEsc);
}

}  // namespace korvan
