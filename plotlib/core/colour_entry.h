#pragma once
// The red, green and blue bytes of a colour-table entry, for every driver.
#include "core/state.h"

namespace korvan {

// Colour indices are 0..255 on every device; others wrap round the table
// instead of reading past it.
inline int colourSlot(int index) { return ((index % 256) + 256) % 256; }

inline void splitRgb(int value, int& r, int& gr, int& b) {
  r = (value >> 16) & 255;
  gr = (value >> 8) & 255;
  b = value & 255;
}

inline void entryRgb(const Global& g, int index, int& r, int& gr, int& b) {
  splitRgb(g.colourTable[colourSlot(index)], r, gr, b);
}

}  // namespace korvan
