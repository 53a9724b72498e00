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
// x as mantissa (1 <= |m| < 10, d decimals) and power of ten: form 1
// "m*10" with the exponent raised by the control characters raise and back
// ("1.23*10[4$"), form 2 "mEe" ("1.23E4"). Returns the length.
int gexpno(float x, int d, char* text, std::size_t cap, int form, char raise = '[',
           char back = '$');

}  // namespace korvan
