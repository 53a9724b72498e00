// The page on a portrait sheet, for the PostScript family and PDF: a page
// wider than high is turned (plot y runs along the sheet's x), an upright
// page keeps its x and has its y flipped. s is the device scale.
#pragma once

#include "core/state.h"

namespace korvan {

inline void qqsheet(const Global& g, bool landscape, float x, float y, float& X, float& Y) {
  float s = g.deviceScale;
  if (landscape) {
    X = y * s;
    Y = x * s;
  } else {
    X = x * s;
    Y = (static_cast<float>(g.pageHeight) - y) * s;
  }
}

}  // namespace korvan
