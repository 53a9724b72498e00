// Umlaut substitution (strsft), alphabet mixing (smixal) and the
// instructions of the instruction alphabet (inscmd).
#include "text/mixing.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/state.h"
#include "draw/colour.h"
#include "draw/pipeline.h"
#include "draw/symbol.h"
#include "text/font.h"

namespace korvan {

namespace {

// The letters of the seven escape groups, and where each group begins.
constexpr char kLetters[] = "AOUaousAOEaoeNn!?CcEIeiAEIOUaeiouAEIOUaeiouAEIOUaeiou";
constexpr int kGroupStart[8] = {0, 7, 13, 17, 23, 33, 43, 53};
constexpr unsigned char kIso[53] = {
    196, 214, 220, 228, 246, 252, 223, 197, 216, 198, 229, 248, 230, 209, 241, 161, 191, 199,
    231, 203, 207, 235, 239, 193, 201, 205, 211, 218, 225, 233, 237, 243, 250, 192, 200, 204,
    210, 217, 224, 232, 236, 242, 249, 194, 202, 206, 212, 219, 226, 234, 238, 244, 251};

int fontPosition(int letter) {
  if (letter < 15) return 127 + letter;
  if (letter < 17) return 185 + letter - 15;
  return 142 + letter - 17;
}

int nint(float v) { return static_cast<int>(std::lround(v)); }

// Distance of the text position from the string start along the text.
float along(const Global& g) {
  return (g.textX - g.startX) * g.textCos - (g.textY - g.startY) * g.textSin;
}
void goAlong(Global& g, float d) {
  g.textX = g.startX + d * g.textCos;
  g.textY = g.startY - d * g.textSin;
}

void setHeight(Global& g, int h) {
  g.charHeight = h < 1 ? 1 : h;
  g.scaleAlphabet = 0;
}

// A line parallel to the baseline, up plot units above it, from the stored
// distance d0 to one spacing before the text position.
void baseLine(Global& g, float d0, float up) {
  if (g.measuring) return;
  float d1 = along(g) - g.charSpacing;
  up += g.baseShift + g.lineOffset;
  float ux = -up * g.textSin, uy = -up * g.textCos;
  qqmove(g, g.startX + d0 * g.textCos + ux, g.startY - d0 * g.textSin + uy);
  qqdraw(g, g.startX + d1 * g.textCos + ux, g.startY - d1 * g.textSin + uy);
}

enum class Arg { None, Reset, Number, Bad };

// The number after the command letter: digits, one "-" anywhere, one "."
// with decimals.
Arg parseNumber(const char* s, float& value, bool& fraction) {
  fraction = false;
  if (*s == '\0') return Arg::None;
  if (*s == 'X' || *s == 'x') return s[1] == '\0' ? Arg::Reset : Arg::Bad;
  bool neg = false, dot = false, digit = false;
  double v = 0.0, scale = 1.0;
  for (; *s; ++s) {
    if (*s == '-' && !neg) {
      neg = true;
    } else if (*s == '.' && !dot) {
      dot = true;
    } else if (*s >= '0' && *s <= '9') {
      digit = true;
      if (dot) {
        scale /= 10.0;
        v += (*s - '0') * scale;
        if (*s != '0') fraction = true;
      } else if (v < 1e7) {
        v = v * 10.0 + (*s - '0');
      }
    } else {
      return Arg::Bad;
    }
  }
  if (!digit) return Arg::Bad;
  value = static_cast<float>(neg ? -v : v);
  return Arg::Number;
}

}  // namespace

int strsft(Global& g, char* text) {
  if (!g.umlautSwitch) return static_cast<int>(std::strlen(text));
  char* out = text;
  for (const char* in = text; *in; ++in) {
    int slot = -1;
    for (int k = 0; k < 7 && slot < 0; ++k)
      if (g.umlautEsc[k] != ' ' && g.umlautEsc[k] != '\0' && *in == g.umlautEsc[k]) slot = k;
    if (slot < 0) {
      *out++ = *in;
      continue;
    }
    char next = in[1];
    if (next == '\0') break;
    ++in;
    if (next == g.umlautEsc[slot]) {
      *out++ = next;
      continue;
    }
    int letter = -1;
    for (int i = kGroupStart[slot]; i < kGroupStart[slot + 1]; ++i)
      if (kLetters[i] == next) letter = i;
    if (letter < 0) {
      char bad[2] = {next, '\0'};
      warnc1(g, 18, bad);
      *out++ = next;
      continue;
    }
    int code = g.codingFlag == 0 ? fontPosition(letter) : kIso[letter];
    *out++ = static_cast<char>(code);
  }
  *out = '\0';
  return static_cast<int>(out - text);
}

bool smixal(Global& g, int code) {
  char c = static_cast<char>(code);
  if (!g.inSwitch) {
    for (int k = 0; k < 6; ++k) {
      if (g.mixAlphabet[k] > 0 && c == g.mixOn[k]) {
        g.alphabet = g.mixAlphabet[k];
        g.switchOff = g.mixOff[k];
        g.inSwitch = 1;
        if (g.alphabet == 7) g.insLength = 0;
        return true;
      }
    }
    return false;
  }
  if (c == g.switchOff) {
    if (g.alphabet == 7 && g.insLength > 0) {
      g.insBuffer[g.insLength] = '\0';
      g.insLength = 0;
      inscmd(g, g.insBuffer);
    }
    g.alphabet = g.afterSwitch;
    g.inSwitch = 0;
    return true;
  }
  if (g.alphabet != 7) return false;
  if (c == ' ') return true;
  bool operand = c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 'X' || c == 'x';
  if (operand && g.insLength > 0) {
    if (g.insLength < 20) g.insBuffer[g.insLength++] = c;
    return true;
  }
  if (g.insLength > 0) {
    g.insBuffer[g.insLength] = '\0';
    g.insLength = 0;
    inscmd(g, g.insBuffer);
  }
  g.insBuffer[g.insLength++] = c;
  return true;
}

void inscmd(Global& g, const char* ins) {
  char letter = ins[0];
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  float n = 0.0f;
  bool fraction = false;
  Arg arg = parseNumber(ins + 1, n, fraction);
  if (std::strchr("ACDUEIRFGPHJLVKMNOSTWYZ", letter) == nullptr || letter == '\0') {
    warnc1(g, 46, ins);
    return;
  }
  if (arg == Arg::Bad) {
    warnc1(g, 43, ins);
    return;
  }
  bool integral = std::strchr("CFGPJLVMNST", letter) != nullptr;
  if (integral && arg == Arg::Number && fraction) {
    warnc1(g, 45, ins);
    return;
  }
  auto inRange = [&](int lo, int hi) {
    if (n >= static_cast<float>(lo) && n <= static_cast<float>(hi)) return true;
    warnc1(g, 44, ins);
    return false;
  };
  float h = static_cast<float>(g.charHeight);
  float remembered = static_cast<float>(g.stringHeight);
  bool num = arg == Arg::Number, reset = arg == Arg::Reset;
  if (!num && !reset) n = 1.0f;
  switch (letter) {
    case 'A':
      qqspace(g, (reset ? 1.0f : n) * h);
      break;
    case 'C':
    case 'F': {
      salfpa(g, g.afterSwitch);
      float blank = g.fixedPitch ? g.fixedFactor * 1.4f * g.widthFactor * (h - 1.0f)
                                 : static_cast<float>(g.blankWidth) * g.scaleX;
      qqspace(g, (reset ? 1.0f : n) * (letter == 'C' ? blank + g.charSpacing : blank));
      break;
    }
    case 'D':
    case 'U': {
      float s = reset ? 0.0f : std::fabs(n) * (n > 0.0f ? remembered : h);
      g.baseShift = letter == 'U' ? s : -s;
      break;
    }
    case 'E':
    case 'I':
      if (num) {
        warnc1(g, 43, ins);
      } else if (reset) {
        g.baseShift = 0.0f;
        setHeight(g, g.stringHeight);
      } else {
        g.baseShift += letter == 'E' ? 0.75f * h : -0.35f * h;
        setHeight(g, nint(0.6f * h));
      }
      break;
    case 'R':
      if (num || reset) {
        warnc1(g, 43, ins);
      } else {
        g.baseShift = 0.0f;
        setHeight(g, g.stringHeight);
      }
      break;
    case 'G':
    case 'P':
    case 'J':
    case 'L':
    case 'V': {
      if (reset) n = 1.0f;
      if (!inRange(1, 20)) break;
      int k = static_cast<int>(n) - 1;
      if (letter == 'G') {
        goAlong(g, g.storedPos[k]);
      } else if (letter == 'P') {
        g.storedPos[k] = along(g);
      } else if (letter == 'V') {
        baseLine(g, g.storedPos[k], 0.5f * h);
      } else {
        baseLine(g, g.storedPos[k], -0.2f * h);
        if (letter == 'J') baseLine(g, g.storedPos[k], -0.4f * h);
      }
      break;
    }
    case 'H':
      if (reset)
        setHeight(g, g.stringHeight);
      else if (!num)
        setHeight(g, nint(0.6f * h));
      else if (n > 0.0f)
        setHeight(g, nint(n * h));
      else if (n < 0.0f)
        setHeight(g, nint(-n * remembered));
      else
        warnc1(g, 43, ins);
      break;
    case 'K':
      g.fixedPitch = reset ? 0 : 1;
      g.fixedFactor = reset ? g.fixedFactor : (num ? n : 0.8f);
      g.scaleAlphabet = 0;
      break;
    case 'M':
      if (reset)
        g.afterSwitch = g.baseAlphabet;
      else if (inRange(1, 6))
        g.afterSwitch = static_cast<int>(n);
      break;
    case 'N':
      if (reset) {
        if (!g.measuring) qqsclr(g, g.stringColour);
      } else if (inRange(0, 255) && !g.measuring) {
        qqsclr(g, static_cast<int>(n));
      }
      break;
    case 'O':
      g.lineOffset = reset ? 0.0f : n * h;
      break;
    case 'S': {
      if (!num) n = 0.0f;
      if (!inRange(0, 21)) break;
      if (!g.measuring) {
        int savedHeight = g.symbolHeight;
        float savedAngle = g.symbolAngle;
        g.symbolHeight = g.charHeight;
        g.symbolAngle = g.textAngle;
        float half = 0.5f * h, up = half + g.baseShift + g.lineOffset;
        float cx = g.textX + half * g.textCos - up * g.textSin;
        float cy = g.textY - half * g.textSin - up * g.textCos;
        dsymbl(g, static_cast<int>(n), static_cast<int>(std::lround(cx)) - g.shiftX,
               static_cast<int>(std::lround(cy)) - g.shiftY);
        g.symbolHeight = savedHeight;
        g.symbolAngle = savedAngle;
      }
      salfpa(g, g.afterSwitch);
      qqspace(g, h + g.charSpacing);
      break;
    }
    case 'T':
      goAlong(g, num ? n : 0.0f);
      break;
    case 'W':
      g.widthFactor = reset ? g.widthDefault : n;
      g.scaleAlphabet = 0;
      break;
    case 'Y':
      g.spacingFactor = reset ? g.spacingDefault : (num ? n : 0.0f);
      g.scaleAlphabet = 0;
      break;
    case 'Z':
      if (reset) {
        g.slant = g.slantDefault;
      } else {
        if (!num) n = 0.0f;
        if (!inRange(-60, 60)) break;
        g.slant = std::fabs(n) < 0.5f ? 0.0f : 1.0f / std::tan((90.0f - n) * 3.1415927f / 180.0f);
      }
      break;
  }
}

}  // namespace korvan
