#include "devices/null/null_driver.h"

#include "core/state.h"

namespace korvan {

bool NullDriver::lineFile() const {
  return device_ > 100 && device_ <= 600 && device_ != 221 && device_ != 511;
}

int NullDriver::finish(Global& g) {
  // A file was written only where the file opening created one.
  return (lineFile() || device_ == 701 || device_ == 801) && g.outFile ? 1 : 0;
}

}  // namespace korvan
