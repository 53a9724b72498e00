// Fields of the global state block that belong to the device dispatch.
#pragma once

#include <memory>

namespace korvan {

class Driver;
// Defined with the dispatch, so that the block can own a driver without
// knowing its type.
struct DriverDeleter {
  void operator()(Driver* d) const;
};

struct DeviceFields {
  std::unique_ptr<Driver, DriverDeleter> driver;  // the driver of the open output
  int frameDelay = 4;  // animated GIF: hundredths of a second per frame (frmdly)
};

}  // namespace korvan
