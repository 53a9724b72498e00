// The glyphs of the default font on its 6 x 7 grid, designed for this font:
// one text per glyph, strokes separated by "|", a point as two characters
// (x digit, y digit with "a" = -1 and "b" = -2 below the baseline). A
// stroke may begin with "+dx,dy:" to place it at an offset given in half
// grid units. Cells are 6 wide with the ink in x 1..5; capitals and
// ascenders reach y 7, the x-height is 5.
#pragma once

namespace fontgen {

struct SimpleGlyph {
  int code;          // character code or font position
  const char* strokes;
};

// Codes 33-126 and the font positions 127-133 (A O U a o u umlauts, sharp s).
extern const SimpleGlyph kSimpleLatin[101];
// Greek on the Latin letter codes A-Z, a-z (52 glyphs).
extern const SimpleGlyph kSimpleGreek[52];

}  // namespace fontgen
