// Image capture of the screen window's back buffer, for the image files that
// are written when the output is the screen.
#pragma once

#include <cstdint>

namespace korvan {

struct Global;

// Size of the window image in pixels; false when no window is open.
bool qqwimg(Global& g, int* width, int* height);
// Row y (0 = top) of the window image as width RGB triples.
void qqwrdr(Global& g, int y, std::uint8_t* rgb);

}  // namespace korvan
