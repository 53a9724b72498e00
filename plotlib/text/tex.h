// TeX-style strings: the reader that measures and draws them.
#pragma once

namespace korvan {

struct Global;

// Measures (g.measuring set) or draws the n characters of a TeX-style
// string from the text position. Returns false after an error, which it
// has reported. When reach is given, it receives the largest distance
// from the string start reached along the way.
bool qqtexs(Global& g, const char* text, int n, float* reach);

}  // namespace korvan
