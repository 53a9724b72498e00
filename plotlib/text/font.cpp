// Loading of the two stroke fonts and the drawing of one character: the
// alphabet slots, their scale, the mapping of characters into an alphabet,
// the walk of the glyph records and the strokes of a glyph.
#include "text/font.h"

#include <cmath>
#include <cstring>
#include <iterator>

#include "core/codings.h"
#include "core/state.h"
#include "draw/pipeline.h"
#include "text/devfont.h"
#include "text/glyphs/glyphs.h"
#include "text/mixing.h"

namespace korvan {

namespace {

template <std::size_t N>
int words(const std::int16_t (&)[N]) {
  return static_cast<int>(N);
}

// The glyph record of a character index (2 and up), found by walking the
// records from the start; nullptr when the table ends before it.
const std::int16_t* findRecord(const AlphabetSet& s, int index) {
  int at = 0;
  for (int k = 2; k < index; ++k) {
    int len = s.index[at];
    if (len < 1) return nullptr;
    at += len;
    if (at >= s.indexWords) return nullptr;
  }
  return s.index[at] >= 1 && at + s.index[at] <= s.indexWords ? s.index + at : nullptr;
}

void point(const AlphabetSet& s, int i, int& x, int& y) {
  if (s.packed) {
    std::uint16_t w = static_cast<std::uint16_t>(s.pointsX[i]);
    x = static_cast<std::int8_t>(w & 0xFF);
    y = static_cast<std::int8_t>(w >> 8);
  } else {
    x = s.pointsX[i];
    y = s.pointsY[i];
  }
}

void offset(std::int16_t word, float& dx, float& dy) {
  std::uint16_t w = static_cast<std::uint16_t>(word);
  dx = 0.5f * static_cast<float>(static_cast<std::int8_t>(w & 0xFF));
  dy = 0.5f * static_cast<float>(static_cast<std::int8_t>(w >> 8));
}

// Calls f(X + DX, Y + DY, first) for every point of a record, in grid units.
template <class F>
void walk(const AlphabetSet& s, const std::int16_t* rec, F f) {
  int len = rec[0];
  for (int k = 1; k + 1 < len;) {
    int count = rec[k];
    int start = rec[k + 1] - 1;
    float dx = 0.0f, dy = 0.0f;
    if (count < 0) {
      if (k + 2 >= len) return;
      offset(rec[k + 2], dx, dy);
      count = -count;
      k += 3;
    } else {
      k += 2;
    }
    if (start < 0) continue;
    for (int i = 0; i < count; ++i) {
      int x, y;
      point(s, start + i, x, y);
      f(static_cast<float>(x) + dx, static_cast<float>(y) + dy, i == 0);
    }
  }
}

void advance(Global& g, float d) {
  g.textX += d * g.textCos;
  g.textY -= d * g.textSin;
}

}  // namespace

void lcinit(Global& g, int fontType) {
  std::memset(g.sets, 0, sizeof g.sets);
  g.setsLoaded = 0;
  g.fontType = fontType;
  g.blankWidth = fontType == 1 ? 6 : 9;
  g.scaleAlphabet = 0;
  qqdfof(g);
}

void lcsets(Global& g, const std::int16_t* xs, const std::int16_t* ys, int points,
            const std::int16_t* index, int indexWords, int count) {
  if (g.setsLoaded >= 6) return;
  int k = g.setsLoaded;
  AlphabetSet& s = g.sets[k];
  const AlphabetSet& first = g.sets[0];
  int indexBefore = 0, pointsBefore = 0;
  for (int j = 0; j < k; ++j) {
    if (j == 0 || g.sets[j].index != first.index) indexBefore += g.sets[j].indexWords;
    if (j == 0 || g.sets[j].pointsX != first.pointsX) pointsBefore += g.sets[j].pointCount;
  }
  if (points > 0 || k == 0) {
    s.pointsX = xs;
    s.pointsY = ys;
    s.packed = ys == nullptr;
    s.pointCount = points;
    s.pointStart = pointsBefore;
  } else {
    s.pointsX = first.pointsX;
    s.pointsY = first.pointsY;
    s.packed = first.packed;
    s.pointCount = first.pointCount;
  }
  if (indexWords > 0 || k == 0) {
    s.index = index;
    s.indexWords = indexWords;
    s.indexStart = indexBefore;
  } else {
    s.index = first.index;
    s.indexWords = first.indexWords;
  }
  s.count = count;
  bool fine = g.fontType == 1 && (k == 0 || k == 1 || k == 3);
  s.gridWidth = fine ? 6 : 20;
  s.gridHeight = fine ? 7 : 21;
  s.extraSpacing = fine ? 0.0f : 0.25f;
  s.noSubst = k == 0;
  ++g.setsLoaded;
}

void qqkrlf(Global& g) {
  lcinit(g, 1);
  lcsets(g, kKoralfPoints, nullptr, words(kKoralfPoints), kKoralfLatin, words(kKoralfLatin), 102);
  lcsets(g, nullptr, nullptr, 0, kKoralfGreek, words(kKoralfGreek), 95);
  lcsets(g, kLcmathPoints, nullptr, words(kLcmathPoints), kLcmathIndex, words(kLcmathIndex), 95);
  lcsets(g, nullptr, nullptr, 0, nullptr, 0, 102);
  lcsets(g, kLcomscPoints, nullptr, words(kLcomscPoints), kLcomscIndex, words(kLcomscIndex), 102);
  lcsets(g, kLcomcyPoints, nullptr, words(kLcomcyPoints), kLcomcyIndex, words(kLcomcyIndex), 95);
}

void qqcplx(Global& g) {
  lcinit(g, 3);
  lcsets(g, kLcomroPoints, nullptr, words(kLcomroPoints), kLcomroIndex, words(kLcomroIndex), 209);
  lcsets(g, kLcomgrPoints, nullptr, words(kLcomgrPoints), kLcomgrIndex, words(kLcomgrIndex), 95);
  lcsets(g, kLcmathPoints, nullptr, words(kLcmathPoints), kLcmathIndex, words(kLcmathIndex), 95);
  lcsets(g, kLcomitPoints, nullptr, words(kLcomitPoints), kLcomitIndex, words(kLcomitIndex), 102);
  lcsets(g, kLcomscPoints, nullptr, words(kLcomscPoints), kLcomscIndex, words(kLcomscIndex), 102);
  lcsets(g, kLcomcyPoints, nullptr, words(kLcomcyPoints), kLcomcyIndex, words(kLcomcyIndex), 95);
}

void salfpa(Global& g, int alphabet) {
  if (alphabet == g.scaleAlphabet) return;
  const AlphabetSet& s = g.sets[alphabet - 1];
  float h = static_cast<float>(g.charHeight);
  g.scaleX = (h - 1.0f) * g.widthFactor / static_cast<float>(s.gridWidth);
  g.scaleY = (h - 1.0f) / static_cast<float>(s.gridHeight);
  g.charSpacing = g.fixedPitch ? h * g.spacingFactor : (g.spacingFactor + s.extraSpacing) * h;
  g.scaleAlphabet = alphabet;
}

int gcspec(const Global& g, int alphabet, int index, int& fallback) {
  fallback = index;
  if (alphabet == 6) {
    if (index >= 5 && index <= 7) return index - 3;
    if (index >= 29 && index <= 31) return index - 24;
    if (index >= 34 && index <= 63) return index - 26;
    if (index >= 66 && index <= 95) return index - 28;
    if (index >= 96) fallback = 32;
    return 0;
  }
  if (alphabet == 4 && g.fontType == 3) {
    if (index >= 66 && index <= 91) return index - 64;
    if (index >= 99 && index <= 101) return index - 71;
    return 0;
  }
  if (index >= 34 && index <= 59) return index - 32;
  if (index >= 66 && index <= 91) return index - 38;
  if (index >= 96) {
    if (alphabet == 5) return index - 42;
    fallback = 32;
  }
  return 0;
}

int qqgcod(int code, int flag) {
  if (code <= 126) return code;
  int p = 0;
  if (flag == 1) {
    if (code == 161) return 185;
    if (code >= 191 && code <= 255) p = kLatin1Positions[code - 191];
  } else if (code >= 160 && code <= 255) {
    p = kLatin2Positions[code - 160];
  }
  return p == 0 ? 32 : p;
}

void qqspace(Global& g, float d) { advance(g, d); }

void alfcon(Global& g, const AlphabetSet& set, const std::int16_t* rec, float dx) {
  float shift = g.baseShift + g.lineOffset;
  float x0 = g.textX - shift * g.textSin, y0 = g.textY - shift * g.textCos;
  float sx = g.scaleX, sy = g.scaleY, slant = g.slant;
  float ital = g.italic ? 1.0f / g.italicDivisor : 0.0f;
  bool draw = g.measuring == 0;
  walk(set, rec, [&](float x, float y, bool first) {
    float v = y * sy;
    float u = x * sx + v * slant + v * ital + dx;
    float px = x0 + u * g.textCos - v * g.textSin;
    float py = y0 - v * g.textCos - u * g.textSin;
    if (g.trackExtent) {
      float up = -(px - g.startX) * g.textSin - (py - g.startY) * g.textCos;
      if (up > g.extentUp) g.extentUp = up;
      if (-up > g.extentDown) g.extentDown = -up;
    }
    if (!draw) return;
    if (first)
      qqmove(g, px, py);
    else
      qqdraw(g, px, py);
  });
}

void alfcha(Global& g, int code) {
  if (g.mixSwitch && smixal(g, code)) return;
  if (code < 32) code = 32;
  if (g.codingFlag != 0 && code > 126) code = qqgcod(code, g.codingFlag);
  int alph = g.alphabet < 1 || g.alphabet > g.setsLoaded ? 1 : g.alphabet;
  int index = code - 31;
  if (index > g.sets[alph - 1].count) index = 1;
  salfpa(g, alph);
  bool italic = false, fallback = false;
  if (alph == 4 && g.fontType == 1) {
    italic = true;
  } else if (alph != 1) {
    int from1;
    int mapped = gcspec(g, alph, index, from1);
    if (mapped > 0) {
      index = mapped;
    } else {
      fallback = true;
      italic = alph == 5 || (alph == 4 && g.fontType == 3);
      bool spaceBefore = alph == 5 && !g.lastFallback;
      alph = 1;
      salfpa(g, 1);
      index = from1;
      if (spaceBefore) advance(g, g.charSpacing);
    }
  }
  g.lastFallback = fallback;
  float devWidth, devSpacing;
  if (alph == 1 && qqdfwd(g, index + 31, g.spacingFactor, devWidth, devSpacing)) {
    float shift = g.baseShift + g.lineOffset;
    if (g.measuring == 0) qqchar(g, index + 31, g.textX, g.textY, shift);
    if (g.trackExtent) g.extentUp = std::fmax(g.extentUp, shift + static_cast<float>(g.charHeight));
    advance(g, devWidth + devSpacing);
    return;
  }
  const AlphabetSet& set = g.sets[alph - 1];
  float h1 = static_cast<float>(g.charHeight - 1);
  float fixedWidth = g.fixedFactor * 1.4f * g.widthFactor * h1;
  const std::int16_t* rec = index > 1 ? findRecord(set, index) : nullptr;
  if (!rec) {
    float w = g.fixedPitch ? fixedWidth : static_cast<float>(g.blankWidth) * g.scaleX;
    advance(g, w + g.charSpacing);
    return;
  }
  float width;
  if (g.fontType == 1 && set.indexStart == 0) {
    width = 6.0f * g.scaleX;
  } else {
    float maxX = 0.0f;
    walk(set, rec, [&](float x, float, bool) { maxX = std::fmax(maxX, x); });
    width = maxX * g.scaleX;
  }
  float dx = 0.0f;
  if (g.fixedPitch) {
    dx = 0.5f * (fixedWidth - width);
    width = fixedWidth;
  }
  g.italic = italic;
  if (g.measuring == 0 || g.trackExtent) alfcon(g, set, rec, dx);
  g.italic = 0;
  advance(g, width + g.charSpacing);
}

}  // namespace korvan
