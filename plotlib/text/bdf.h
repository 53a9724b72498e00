// Bitmap fonts in the Glyph Bitmap Distribution Format 2.1: the parser
// (qqgetbdf) and the painting of one glyph (bdfPaint, the pixel walk of
// qqbdf2).
//
// Only the keywords the painting needs are read: SIZE, FONTBOUNDINGBOX,
// CHARS, and per glyph ENCODING, DWIDTH, BBX and the BITMAP lines, kept as
// their text. Anything else is skipped, and no input can make the parser
// read or write outside what it owns.
//
// This file depends on nothing else of the library, so that the parser can
// be built on its own (fuzzing).
#pragma once

#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

namespace korvan {

struct BdfGlyph {
  int bbxWidth = 0, bbxHeight = 0, bbxX = 0, bbxY = 0;
  int dwidthX = 0, dwidthY = 0;
  int encoding = 0;
  std::string bitmap;  // the hexadecimal lines, each followed by a line feed
};

struct BdfFont {
  int pointSize = 0, xResolution = 0, yResolution = 0;
  int boxWidth = 0, boxHeight = 0, boxX = 0, boxY = 0;
  int chars = 0;                 // glyph count the file declares
  std::vector<BdfGlyph> glyphs;  // at most chars, in file order
  // What tells a font from other text: the STARTFONT line first, the
  // FONTBOUNDINGBOX and CHARS lines, and the glyphs the file ends.
  int started = 0;  // 1: STARTFONT came first; -1: another line did
  bool boxed = false, counted = false;
  long long ended = 0;  // ENDCHAR lines, announced or not
};

// Reads lines from memory or from a file; a line ends at a line feed.
class BdfLines {
 public:
  virtual ~BdfLines() = default;
  // The next line without its line end, cut to 512 characters; false at
  // the end of the input.
  virtual bool next(std::string& line) = 0;
};

// Parses a font. Returns 0, or 2 when memory runs out. Whatever the input,
// the result may still be no usable font (bdfUsable).
int bdfParse(BdfLines& in, BdfFont& font);
int bdfParse(const char* data, std::size_t size, BdfFont& font);
// True for a font that can draw text: it begins with STARTFONT, declares a
// bounding box and at least one glyph, holds as many glyphs as it declares,
// and no box is negative or beyond kBdfMaxBox pixels.
constexpr int kBdfMaxBox = 1024;
bool bdfUsable(const BdfFont& font);
// No font file is longer; a longer one (or an endless one such as
// /dev/zero) is not read to its end.
constexpr long long kBdfMaxFile = 32LL << 20;
// Parses the file at path: 0, 1 when it cannot be opened or read, 2 no
// memory, 3 when it is no usable font (or longer than kBdfMaxFile).
int qqgetbdf(const char* path, BdfFont& font);

// The glyph with this encoding, or nullptr. A negative code never matches.
const BdfGlyph* bdfFind(const BdfFont& font, int code);

// Calls pixel(x, y) for every set bit of the glyph drawn with its origin
// at device point (x, y), y downwards, turned by angle degrees.
template <class Pixel>
void bdfPaint(const BdfGlyph& glyph, int x, int y, float angle, Pixel pixel);

// ---- implementation of the template ----

void bdfAxes(float angle, double& c, double& s);
// t rounded to the nearest integer, held to a range no device reaches.
// Rounded downwards from t + 0.5, not truncated: truncation would put the
// rows and columns -1 and 0 (the rows below the baseline) on one line.
inline double bdfRound(double t) {
  t += 0.5;
  if (t > 1e9) return 1e9 + 1;
  if (t < -1e9) return -1e9 - 1;
  return std::floor(t);
}

template <class Pixel>
void bdfPaint(const BdfGlyph& glyph, int x, int y, float angle, Pixel pixel) {
  double c, s;
  bdfAxes(angle, c, s);
  // Start at the top row, counted upwards from the baseline.
  long long f = glyph.bbxX;
  long long g = static_cast<long long>(glyph.bbxY) + glyph.bbxHeight - 1;
  for (char ch : glyph.bitmap) {
    if (ch == '\n') {
      f = glyph.bbxX;
      g -= 1;
      continue;
    }
    int v;
    if (ch >= '0' && ch <= '9')
      v = ch - '0';
    else if (ch >= 'A' && ch <= 'F')
      v = ch - 'A' + 10;
    else if (ch >= 'a' && ch <= 'f')
      v = ch - 'a' + 10;
    else
      continue;  // not a digit: no pixels
    for (int bit = 3; bit >= 0; --bit, ++f) {
      if (!(v >> bit & 1)) continue;
      double fx = static_cast<double>(f), gy = static_cast<double>(g);
      double px = x + bdfRound(fx * c - gy * s);
      double py = y - bdfRound(fx * s + gy * c);
      // Points beyond any device are dropped before they become ints.
      if (px < -1e9 || px > 1e9 || py < -1e9 || py > 1e9) continue;
      pixel(static_cast<int>(px), static_cast<int>(py));
    }
  }
}

}  // namespace korvan
