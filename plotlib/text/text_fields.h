// Fields of the global state block that belong to text and fonts.
#pragma once

#include <cstdint>

namespace korvan {

// One loaded alphabet of the current stroke font.
struct AlphabetSet {
  const std::int16_t* pointsX;  // packed points, or the X values of unpacked ones
  const std::int16_t* pointsY;  // Y values of unpacked points; nullptr when packed
  const std::int16_t* index;    // glyph records from character index 2 on
  int indexWords;
  int pointCount;
  int packed;
  int count;            // character indices covered; higher ones are blanks
  int gridWidth, gridHeight;
  float extraSpacing;   // spacing added after every character, times the height
  int indexStart;       // index words of the sets loaded before (0: first set)
  int pointStart;       // points of the sets loaded before
  int noSubst;          // 1 for alphabet 1 only
};

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

  float textSin, textCos;       // of the text angle
  // Current factors of the string being drawn and their defaults.
  float widthFactor, widthDefault;
  float spacingFactor, spacingDefault;
  float slant, slantDefault;    // u += v * slant
  int fixedPitch, fixedPitchDefault;
  float fixedFactor, fixedFactorDefault;
  // Font and alphabets.
  int fontType;                 // 1 koralf, 3 complx
  AlphabetSet sets[6];
  int setsLoaded;
  int alphabet;                 // 1-6, or 7 = instruction alphabet
  int baseAlphabet;
  int scaleAlphabet;            // alphabet whose scale is computed; 0 none
  float scaleX, scaleY;         // grid unit to plot units
  float charSpacing;            // added after every character
  int blankWidth;               // grid units of the blank in alphabet 1
  // Position of the text (absolute plot units) and of the string's start.
  float textX, textY;
  float startX, startY;
  float baseShift;              // U/D/E/I instructions (plot units, up)
  float lineOffset;             // O instruction
  int measuring;                // 1: nothing is drawn
  int italic;                   // the character is drawn slanted
  float italicDivisor;          // x += y / italicDivisor
  float expShift, expHeight;    // exponent/index shift and height factors
  int lastFallback;             // the previous character came from alphabet 1
  // Alphabet mixing and the instruction alphabet.
  int mixSwitch;
  int mixAlphabet[6];
  char mixOn[6], mixOff[6];
  int inSwitch;                 // 1 while a switch is open
  char switchOff;               // its closing character
  char insBuffer[21];
  int insLength;
  float storedPos[20];          // G/P positions along the text
  int afterSwitch;              // alphabet in force after the switch (M)
  // Code mapping: 0 strings carry font positions, else ISO codes.
  int codingFlag;
  // messag: justification, text frame and its colour (-1: current).
  int justification;
  int frameThickness;
  int frameColour;
  // Remembered per string.
  int stringHeight, stringColour;
  // Extent of the last measured string, above and below the baseline.
  int trackExtent;
  float extentUp, extentDown;
  char texEscape;               // escape character of TeX-style strings
};

}  // namespace korvan
