// Fields of the global state block that belong to text and fonts.
#pragma once

namespace korvan {

struct TextFields {
  int charHeight;     // character height in plot units
  float textAngle;    // text angle in degrees
};

}  // namespace korvan
