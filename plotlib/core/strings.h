// String helpers shared by the whole library (text, axes, output selection).
#pragma once

namespace korvan {

// Length of text without trailing blanks.
int trmlen(const char* text);
// ASCII a-z to upper case, in place.
void upstr(char* text);
// Removes every blank in place; returns the new length.
int dsblnk(char* text);

}  // namespace korvan
