// The earlier library state 8.1, patch level 1 ("A"): no GIF output, and a
// colour change flushes the open stroke in every case. See edition.h.
#include "core/edition.h"

namespace korvan {

const Edition& edition() {
  static const Edition e{8.1f, 1, false, true};
  return e;
}

}  // namespace korvan
