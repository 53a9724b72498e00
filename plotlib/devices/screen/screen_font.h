// Window fonts on the screen: the font of the screen driver and its
// character output, and the character codes of the font positions.
//
//   qqwfnt  makes the window font and fills the width table
//   qqwcha  draws one character into the back buffer
//   qqgiso  font position to character code
//   qqwfwd  the width table of a font of the font service (shared with the
//           Windows metafile)
#pragma once

namespace korvan {

// The character code (ISO 8859-1) of a font position: positions below 127
// are their own codes; the accented letters and signs above are mapped as
// the coding flag reads strings (0 and 1: the positions of the umlaut
// table, others: those of the full Latin-1 table). -1 for a position
// without a code.
int qqgiso(int position, int coding);

// The window font of the screen, size pixels high, turned by angle degrees;
// widths as for Driver::windowFont. False when no font can be made.
bool qqwfnt(const char* name, int size, float angle, int coding, int* widths);
// One character code at (x, y), the top-left corner of its cell, in the
// pen's colour.
void qqwcha(int code, int x, int y);

// Width table of the font-service font (advances x 10 for the positions
// 32 .. 255).
void qqwfwd(int font, int coding, int* widths);

}  // namespace korvan
