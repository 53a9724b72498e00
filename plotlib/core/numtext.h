// Number-to-text helpers shared by text output (dnumqq) and axis labels.
// Texts are NUL-terminated; cap is the size of the buffer.
#pragma once

#include <cstddef>

namespace korvan {

// Field width of x written with d decimals (d < 0: as a rounded integer).
int flen(float x, int d);
// x with d decimals (d < 0: rounded half away from zero, as an integer);
// returns flen(x, d).
int fcha(float x, int d, char* text, std::size_t cap);
// n without leading blanks; returns the length.
int intcha(int n, char* text, std::size_t cap);

}  // namespace korvan
