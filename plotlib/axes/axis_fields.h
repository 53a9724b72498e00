// Fields of the global state block that belong to the axis systems.
#pragma once

namespace korvan {

struct AxisFields {
  int axisLenX, axisLenY;   // default axis lengths
  int axisPosX, axisPosY;   // lower-left corner of the axis system
  int axisAttr[4];          // the four axis-attribute switches
};

}  // namespace korvan
