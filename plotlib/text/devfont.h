// Device fonts: instead of the stroke fonts, the characters of alphabet 1
// can be drawn with a window font of the system (winfnt: the screen and the
// Windows metafile) or with a bitmap font read from a BDF file (bmpfnt: the
// screen and the raster outputs). The other alphabets keep the stroke font
// complx, which both selectors load.
//
//   qqbdf1    picks the file of a family and size, loads it unless cached,
//             fills the width table
//   qqbdf2    paints one glyph, qqbdfpix one pixel
//   qqchar    draws one device-font character at the text position
//   qqdfwd    width and spacing of a device-font character (for alfcha)
//   qqdfsel   re-selection of the font after height and angle
//   qqdfof    switches the device font off (font selection)
#pragma once

namespace korvan {

struct Global;
struct BdfFont;

// Families of bmpfnt, in the order of its keyword list "COMP+SIMP+HELV".
enum BdfFamily { kBdfComplex = 1, kBdfSimplex = 2, kBdfHelvetica = 3 };

// The cache slot (0 .. 11) of the file that serves a family at a pixel
// size, and the file name of a slot without directory and extension.
int qqbdfslt(int family, int size);
const char* qqbdfnam(int slot);
// The font of a slot if it has been loaded, else nullptr.
const BdfFont* qqbdffnt(int slot);
// Files read since the start (or since qqbdfclr, which empties the cache).
int qqbdfrd();
void qqbdfclr();

// Loads the font of family and size unless cached and fills widths for the
// font positions 32 .. 255 (DWIDTH x 10; 0 without a glyph); *slot gets
// its cache slot. Returns 0, 1 (cannot open), 2 (no memory) or 3 (no
// usable font).
int qqbdf1(int family, int size, int* widths, int coding, int* slot);
// Paints the glyph of a font position with its origin at device point
// (x, y), turned by angle degrees; a position without a glyph is blank.
void qqbdf2(Global& g, int position, int x, int y, float angle);
void qqbdfpix(Global& g, int x, int y);

// Draws the font position with the device font at the text position (x, y)
// in plot units, shift (baseline shift and line offset) above it.
void qqchar(Global& g, int position, float x, float y, float shift);
// When a device font is active: the width of the font position in plot
// units and the spacing after it (spacing factor sf), and true.
bool qqdfwd(Global& g, int position, float sf, float& width, float& spacing);
// After a new height (heightChanged) or a new angle: the active device font
// is selected again where its size or angle follows.
void qqdfsel(Global& g, bool heightChanged);
void qqdfof(Global& g);

// The workers of winfnt and bmpfnt, without the level check.
void qqwfsel(Global& g, const char* name);
void qqbfsel(Global& g, const char* name);

}  // namespace korvan
