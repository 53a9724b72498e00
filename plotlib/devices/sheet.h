// The device transforms: plot units to device units for the two kinds of
// device surface, and the page size as the device sees it.
#pragma once

#include <utility>

#include "core/state.h"

namespace korvan {

// The page width and height on the device: a page turned by setpag's
// rotation 1 swaps them.
template <class T>
void qqdevpage(const Global& g, T& width, T& height) {
  width = static_cast<T>(g.pageWidth);
  height = static_cast<T>(g.pageHeight);
  if (g.rotation == 1) std::swap(width, height);
}

// Surfaces whose y runs down like the plot's (window, SVG, WMF). On a
// turned page plot x runs up the device.
inline void qqdown(const Global& g, float x, float y, float& X, float& Y) {
  float s = g.deviceScale;
  if (g.rotation == 1) {
    X = y * s;
    Y = (static_cast<float>(g.pageWidth) - x) * s;
  } else {
    X = x * s;
    Y = y * s;
  }
}

// A page wider than high goes across the portrait sheet of PostScript and
// PDF unless rotation 2 keeps it upright.
inline bool qqsheetTurned(const Global& g) { return g.pageWidth > g.pageHeight && g.rotation != 2; }

// The page on a portrait sheet whose y runs up (the PostScript family, PDF,
// CGM): a turned page has plot y along the sheet's x, an upright page keeps
// its x and has its y flipped. s is the device scale.
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
