// Fields of the global state block that belong to the device fonts.
#pragma once

namespace korvan {

// Font positions a string can carry: 32 .. 255, the width of position p at
// devFontWidths[p - 31].
constexpr int kDevFontWidths = 256;

struct DevFontFields {
  int devFontMode;                   // 0 stroke fonts, 2 window font, 3 bitmap font
  char devFontName[81];              // the name given to the selector
  int devFontWidths[kDevFontWidths]; // device units x 10, from the font loader
  int devFontFile;                   // bitmap font: its slot in the file cache
};

}  // namespace korvan
