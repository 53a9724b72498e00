// Fields of the global state block that belong to the device dispatch.
#pragma once

namespace korvan {

class Driver;

struct DeviceFields {
  int lastMode;        // last line mode written to a "GKSL" file
  int lastX, lastY;    // last device point of the raster and applet devices
  Driver* driver;      // the driver of the open output; owned, see dispatch.cpp
};

}  // namespace korvan
