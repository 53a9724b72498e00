// The stroke fonts: loading the alphabets of a font, the scale of an
// alphabet, the mapping of characters into it and the drawing of one
// character at the text position.
#pragma once

#include <cstdint>

namespace korvan {

struct Global;
struct AlphabetSet;

// Starts loading a font of the given type (1 koralf, 3 complx): clears the
// six alphabet slots and switches a device font off.
void lcinit(Global& g, int fontType);
// Loads the next alphabet slot. points 0 shares alphabet 1's coordinate
// table and packing (ys nullptr: packed); indexWords 0 shares alphabet 1's
// index table.
void lcsets(Global& g, const std::int16_t* xs, const std::int16_t* ys, int points,
            const std::int16_t* index, int indexWords, int count);
// The two fonts, without level checks.
void qqkrlf(Global& g);
void qqcplx(Global& g);
// Computes the scale of an alphabet unless it is the one last computed.
void salfpa(Global& g, int alphabet);
// Maps a character index into an alphabet other than 1. Returns the index
// in the alphabet, or 0 when the character is drawn from alphabet 1; then
// fallback holds the index to draw there.
int gcspec(const Global& g, int alphabet, int index, int& fallback);
// Font position of an ISO code under a non-zero coding flag.
int qqgcod(int code, int flag);
// Draws one character (after offering it to the alphabet mixing) at the
// text position and advances the position.
void alfcha(Global& g, int code);
// Draws the stroke groups of one glyph record with its origin moved by dx
// plot units along the text.
void alfcon(Global& g, const AlphabetSet& set, const std::int16_t* record, float dx);
// Moves the text position by d plot units along the text direction.
void qqspace(Global& g, float d);

}  // namespace korvan
