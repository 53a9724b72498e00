#include "core/edition.h"

namespace korvan {

const Edition& edition() {
  static const Edition e{8.3f, 0, true, false};
  return e;
}

}  // namespace korvan
