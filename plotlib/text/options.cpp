// The text settings a program may change: justification and frame of
// messag, the exponent/index control, umlaut escapes, alphabet mixing, the
// coding of accented letters, the width, spacing, slant and fixed-pitch
// factors, and the escape character of TeX-style strings.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/state.h"
#include "core/wrap.h"
#include "korvan.h"

using namespace korvan;

namespace {
int onOff(Global& g, const char* copt) { return jqqind(g, "ON  +OFF ", 2, copt ? copt : ""); }

// A factor within lo..hi, else warning 2 with its value.
bool factorOk(Global& g, float x, float lo, float hi) {
  if (x >= lo && x <= hi) return true;
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(x));
  warnc1(g, 2, text);
  return false;
}

// Control characters must be printable and not blank, or they could never
// be typed into a string, or would swallow its blanks.
bool controlChar(char c) { return c > ' ' && c < 127; }
}  // namespace

extern "C" {

void txtjus(const char* copt) {
  Global* g = jqqlev(1, 3, "txtjus");
  if (!g) return;
  const int n = jqqind(*g, "LEFT+CENT+RIGH", 3, copt ? copt : "");
  if (n != 0) g->justification = n - 1;
}

void txtfrm(int nthk, int nclr) {
  Global* g = jqqlev(1, 3, "txtfrm");
  if (!g || !jqqval(*g, nthk, -100, 100) || !jqqval(*g, nclr, -1, 255)) return;
  g->frameThickness = nthk;
  g->frameColour = nclr;
}

void expctl(const char* copt, const char* cchrs) {
  Global* g = jqqlev(1, 3, "expctl");
  if (!g) return;
  const int n = onOff(*g, copt);
  if (n == 0) return;
  // Three distinct characters (raise, lower, back), or none to keep them.
  const char* c = cchrs ? cchrs : "";
  const std::size_t len = std::strlen(c);
  if (len != 0) {
    if (len != 3 || !controlChar(c[0]) || !controlChar(c[1]) || !controlChar(c[2]) ||
        c[0] == c[1] || c[1] == c[2] || c[0] == c[2]) {
      warnc1(*g, 2, c);
      return;
    }
    std::memcpy(g->expChars, c, 3);
  }
  g->expSwitch = n == 1;
}

void umlaut(const char* copt, const char* cesc) {
  Global* g = jqqlev(1, 3, "umlaut");
  if (!g) return;
  const int n = onOff(*g, copt);
  if (n == 0) return;
  // Up to seven escapes, one per group of letters; a blank leaves its group
  // without one. None keeps the escapes.
  const char* c = cesc ? cesc : "";
  const std::size_t len = std::strlen(c);
  if (len > 7) {
    warnc1(*g, 2, c);
    return;
  }
  for (std::size_t i = 0; i < len; ++i)
    if (c[i] != ' ' && !controlChar(c[i])) {
      warnc1(*g, 2, c);
      return;
    }
  if (len != 0) {
    std::memset(g->umlautEsc, ' ', sizeof g->umlautEsc);
    std::memcpy(g->umlautEsc, c, len);
  }
  g->umlautSwitch = n == 1;
}

void mixalf(const char* copt) {
  Global* g = jqqlev(1, 3, "mixalf");
  if (!g) return;
  const int n = onOff(*g, copt);
  if (n == 0) return;
  g->mixSwitch = n == 1;
  g->inSwitch = 0;
}

void mixdef(int nslot, int nalph, const char* cchrs) {
  Global* g = jqqlev(1, 3, "mixdef");
  if (!g || !jqqval(*g, nslot, 1, 6) || !jqqval(*g, nalph, 0, 7)) return;
  const char* c = cchrs ? cchrs : "";
  const int k = nslot - 1;
  if (nalph == 0) {
    g->mixAlphabet[k] = 0;
    g->mixOn[k] = g->mixOff[k] = 0;
    return;
  }
  if (std::strlen(c) != 2 || !controlChar(c[0]) || !controlChar(c[1])) {
    warnc1(*g, 2, c);
    return;
  }
  g->mixAlphabet[k] = nalph;
  g->mixOn[k] = c[0];
  g->mixOff[k] = c[1];
}

void txtcod(int ncode) {
  Global* g = jqqlev(1, 3, "txtcod");
  if (g && jqqval(*g, ncode, 0, 2)) g->codingFlag = ncode;
}

void txtfac(float xwidth, float xspace, float xslant) {
  Global* g = jqqlev(1, 3, "txtfac");
  if (!g || !factorOk(*g, xwidth, 0.01f, 100.0f) || !factorOk(*g, xspace, -10.0f, 10.0f) ||
      !factorOk(*g, xslant, -10.0f, 10.0f))
    return;
  g->widthDefault = xwidth;
  g->spacingDefault = xspace;
  g->slantDefault = xslant;
  g->scaleAlphabet = 0;
}

void fixpit(const char* copt, float xfac) {
  Global* g = jqqlev(1, 3, "fixpit");
  if (!g) return;
  const int n = onOff(*g, copt);
  if (n == 0 || !factorOk(*g, xfac, 0.0f, 10.0f)) return;
  g->fixedPitchDefault = n == 1;
  g->fixedFactorDefault = xfac;
  g->scaleAlphabet = 0;
}

void texesc(const char* cesc) {
  Global* g = jqqlev(1, 3, "texesc");
  if (!g) return;
  const char* c = cesc ? cesc : "";
  // "$" toggles math mode and braces group: neither can also escape.
  if (std::strlen(c) != 1 || !controlChar(c[0]) || std::strchr("${}^_", c[0])) {
    warnc1(*g, 2, c);
    return;
  }
  g->texEscape = c[0];
}

void txtjus_(const char* copt, int len) { txtjus(Key4(copt, len)); }
void txtfrm_(const int* nthk, const int* nclr) { txtfrm(*nthk, *nclr); }
void expctl_(const char* copt, const char* cchrs, int len1, int len2) {
  char c[5];
  const int n = qqwrcp(c, cchrs, len2, 4);
  // an all-blank text keeps the characters
  if (std::strspn(c, " ") == static_cast<std::size_t>(n)) c[0] = '\0';
  expctl(Key4(copt, len1), c);
}
void umlaut_(const char* copt, const char* cesc, int len1, int len2) {
  char c[9];
  int n = qqwrcp(c, cesc, len2, 8);
  while (n > 0 && c[n - 1] == ' ') c[--n] = '\0';
  umlaut(Key4(copt, len1), c);
}
void mixalf_(const char* copt, int len) { mixalf(Key4(copt, len)); }
void mixdef_(const int* nslot, const int* nalph, const char* cchrs, int len) {
  mixdef(*nslot, *nalph, Key4(cchrs, len));
}
void txtcod_(const int* ncode) { txtcod(*ncode); }
void txtfac_(const float* xwidth, const float* xspace, const float* xslant) {
  txtfac(*xwidth, *xspace, *xslant);
}
void fixpit_(const char* copt, const float* xfac, int len) { fixpit(Key4(copt, len), *xfac); }
void texesc_(const char* cesc, int len) {
  char c[3];
  qqwrcp(c, cesc, len, 2);
  // Fortran pads a one-character text only when it is declared longer.
  if (c[0] != '\0' && c[1] == ' ') c[1] = '\0';
  texesc(c);
}

}  // extern "C"
