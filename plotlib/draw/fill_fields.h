// Fields of the global state block that belong to area fills, shielding,
// figures and symbols.
#pragma once

namespace korvan {

struct FillFields {
  int shadePattern;   // current shading pattern
};

}  // namespace korvan
