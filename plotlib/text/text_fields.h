// Fields of the global state block that belong to text and fonts.
#pragma once

namespace korvan {

struct TextFields {
  int charHeight;     // character height in plot units
  float textAngle;    // text angle in degrees
  int texMode;        // 1: strings are read as TeX-style markup
  // Exponent/index control: on/off and its three characters (raise into
  // exponent, lower into index, back to normal; reset "[", "]", "$").
  int expSwitch;
  char expChars[3];
  // Umlaut substitution: on/off and up to seven escape characters (NUL-free
  // slots, blank = unused).
  int umlautSwitch;
  char umlautEsc[7];
};

}  // namespace korvan
