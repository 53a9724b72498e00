// The settings of the axes that a program may change for the next axis
// system: label form, ticks, label and name layout, colours, user label
// texts (per axis), and the options of the system as a whole (crossing,
// which axes are drawn, background, frame, side levels, log fallback,
// centring, clip margin).
#include <cstdio>
#include <cstring>

#include "axes/axes.h"
#include "core/state.h"
#include "core/wrap.h"
#include "korvan.h"

using namespace korvan;

namespace {
constexpr int kLong = 10000;  // longest distance or length in plot units

// Runs set on each axis that cax names, after the level check of routine
// and, when given, a keyword lookup (its 1-based position is handed to set).
template <class F>
void perAxis(const char* routine, const char* cax, F set) {
  Global* g = jqqlev(1, 3, routine);
  bool sel[3];
  if (!g || !qqaxes(*g, cax, sel)) return;
  for (int k = 0; k < 3; ++k)
    if (sel[k]) set(g->axis[k]);
}

// A keyword of list, or 0 after warning 2; checked before the axes so that
// a bad keyword changes nothing.
int keyOf(const char* routine, const char* list, int count, const char* key) {
  Global* g = jqqlev(1, 3, routine);
  return g ? jqqind(*g, list, count, key ? key : "") : 0;
}

bool inRange(const char* routine, int value, int lo, int hi) {
  Global* g = jqqlev(1, 3, routine);
  return g && jqqval(*g, value, lo, hi);
}

Global* axisSystem(const char* routine) { return jqqlev(1, 1, routine); }
}  // namespace

extern "C" {

void labfmt(const char* ctype, const char* cax) {
  const int n = keyOf("labfmt", "NONE+FLOA+EXPO+EXPE+LOG +USER+DATE+TIME+MAP ", 9, ctype);
  if (n == 0) return;
  // label type, category, logarithmic form for each keyword
  static const int forms[9][3] = {{0, 0, 2},  {1, 0, 2},  {2, 0, 2}, {13, 0, 2}, {1, 0, 1},
                                  {12, 0, 2}, {14, 0, 2}, {1, 1, 2}, {1, 2, 2}};
  perAxis("labfmt", cax, [&](AxisSettings& a) {
    a.labelType = forms[n - 1][0];
    a.labelCat = forms[n - 1][1];
    a.logForm = forms[n - 1][2];
  });
}

void ticpos(const char* cpos, const char* cax) {
  const int n = keyOf("ticpos", "OUTS+INSI+CENT", 3, cpos);
  if (n != 0) perAxis("ticpos", cax, [&](AxisSettings& a) { a.tickPos = n - 1; });
}

void ticlen(int nmaj, int nmin, const char* cax) {
  if (!inRange("ticlen", nmaj, 0, kLong) || !inRange("ticlen", nmin, 0, kLong)) return;
  perAxis("ticlen", cax, [&](AxisSettings& a) {
    a.tickLong = nmaj;
    a.tickShort = nmin;
  });
}

void labdis(int ndis, const char* cax) {
  if (inRange("labdis", ndis, -kLong, kLong))
    perAxis("labdis", cax, [&](AxisSettings& a) { a.labelDist = ndis; });
}

void labori(const char* copt, const char* cax) {
  const int n = keyOf("labori", "HORI+VERT+DOWN", 3, copt);
  if (n != 0) perAxis("labori", cax, [&](AxisSettings& a) { a.labelOrient = n - 1; });
}

void labjus(const char* copt, const char* cax) {
  static const int just[4] = {0, 1, 3, 4};
  const int n = keyOf("labjus", "RIGH+LEFT+OUTS+INSI", 4, copt);
  if (n != 0) perAxis("labjus", cax, [&](AxisSettings& a) { a.labelJust = just[n - 1]; });
}

void labpos(const char* copt, const char* cax) {
  const int n = keyOf("labpos", "TICK+CENT+INSI", 3, copt);
  if (n != 0) perAxis("labpos", cax, [&](AxisSettings& a) { a.labelPlace = n - 1; });
}

void labomt(int nmode, const char* cax) {
  if (inRange("labomt", nmode, 0, 6))
    perAxis("labomt", cax, [&](AxisSettings& a) { a.labelOmit = nmode; });
}

void namdis(int ndis, const char* cax) {
  if (inRange("namdis", ndis, -kLong, kLong))
    perAxis("namdis", cax, [&](AxisSettings& a) { a.nameDist = ndis; });
}

void namhgt(int nhgt, const char* cax) {
  if (inRange("namhgt", nhgt, 1, kLong))
    perAxis("namhgt", cax, [&](AxisSettings& a) { a.nameHeight = nhgt; });
}

void namjus(const char* copt, const char* cax) {
  const int n = keyOf("namjus", "CENT+STAR+END ", 3, copt);
  if (n != 0) perAxis("namjus", cax, [&](AxisSettings& a) { a.nameJust = n - 1; });
}

void axsclr(int nclr, const char* celem, const char* cax) {
  const int n = keyOf("axsclr", "LINE+TICK+LABE+NAME+ALL ", 5, celem);
  if (n == 0 || !inRange("axsclr", nclr, -1, 255)) return;
  perAxis("axsclr", cax, [&](AxisSettings& a) {
    int* fields[4] = {&a.lineColour, &a.tickColour, &a.labelColour, &a.nameColour};
    for (int k = 0; k < 4; ++k)
      if (n == 5 || n == k + 1) *fields[k] = nclr;
  });
}

void labtxt(const char* clist, const char* cax) {
  Global* g = jqqlev(1, 3, "labtxt");
  if (!g) return;
  // Texts separated by "|"; the whole list is refused when one is too long
  // or there are too many, so that no label is silently cut.
  char texts[20][33] = {};
  int count = 0;
  const char* p = clist ? clist : "";
  if (*p) {
    for (;;) {
      const char* bar = std::strchr(p, '|');
      const std::size_t n = bar ? static_cast<std::size_t>(bar - p) : std::strlen(p);
      if (count == 20 || n > 32) {
        warnc1(*g, 2, clist);
        return;
      }
      std::memcpy(texts[count], p, n);
      texts[count++][n] = '\0';
      if (!bar) break;
      p = bar + 1;
    }
  }
  perAxis("labtxt", cax, [&](AxisSettings& a) {
    std::memcpy(a.userLabels, texts, sizeof texts);
    a.userLabelCount = count;
  });
}

void axscrs(const char* copt) {
  Global* g = axisSystem("axscrs");
  if (!g) return;
  const int n = jqqind(*g, "OFF +ON  +CENT", 3, copt ? copt : "");
  if (n == 0) return;
  g->crossed = n >= 2;
  g->crossCentre = n == 3;
}

void axsdrw(const char* copt) {
  Global* g = axisSystem("axsdrw");
  if (!g) return;
  const int n = jqqind(*g, "ALL +TWO +NONE", 3, copt ? copt : "");
  if (n == 0) return;
  g->twoAxes = n == 2;
  g->noDrawing = n == 3;
}

void axsbgd(int nclr) {
  Global* g = axisSystem("axsbgd");
  if (g && jqqval(*g, nclr, -1, 255)) g->axisBgColour = nclr;
}

void axsfrm(int nthk) {
  Global* g = axisSystem("axsfrm");
  if (g && jqqval(*g, nthk, -100, 100)) g->axisFrame = nthk;
}

void axslev(int nlow, int nright, int nup, int nleft) {
  Global* g = axisSystem("axslev");
  if (!g) return;
  const int levels[4] = {nlow, nright, nup, nleft};
  for (int v : levels)
    if (!jqqval(*g, v, 0, 4)) return;
  std::memcpy(g->sideLevel, levels, sizeof levels);
}

void logfbk(const char* copt, float xexp) {
  Global* g = jqqlev(1, 3, "logfbk");
  if (!g) return;
  const int n = jqqind(*g, "OFF +ON  ", 2, copt ? copt : "");
  if (n == 0) return;
  if (!(xexp >= -1.0e30f && xexp <= 1.0e30f)) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(xexp));
    warnc1(*g, 2, text);
    return;
  }
  g->logFallback = n == 2;
  g->logFallbackValue = xexp;
}

void center(void) {
  Global* g = axisSystem("center");
  if (g) g->centreRequest = 1;
}

void axsclp(int nmrg) {
  Global* g = axisSystem("axsclp");
  if (g && jqqval(*g, nmrg, -kLong, kLong)) g->axisClipMargin = nmrg;
}

void labfmt_(const char* ctype, const char* cax, int len1, int len2) {
  labfmt(Key4(ctype, len1), Key4(cax, len2));
}
void ticpos_(const char* cpos, const char* cax, int len1, int len2) {
  ticpos(Key4(cpos, len1), Key4(cax, len2));
}
void ticlen_(const int* nmaj, const int* nmin, const char* cax, int len) {
  ticlen(*nmaj, *nmin, Key4(cax, len));
}
void labdis_(const int* ndis, const char* cax, int len) { labdis(*ndis, Key4(cax, len)); }
void labori_(const char* copt, const char* cax, int len1, int len2) {
  labori(Key4(copt, len1), Key4(cax, len2));
}
void labjus_(const char* copt, const char* cax, int len1, int len2) {
  labjus(Key4(copt, len1), Key4(cax, len2));
}
void labpos_(const char* copt, const char* cax, int len1, int len2) {
  labpos(Key4(copt, len1), Key4(cax, len2));
}
void labomt_(const int* nmode, const char* cax, int len) { labomt(*nmode, Key4(cax, len)); }
void namdis_(const int* ndis, const char* cax, int len) { namdis(*ndis, Key4(cax, len)); }
void namhgt_(const int* nhgt, const char* cax, int len) { namhgt(*nhgt, Key4(cax, len)); }
void namjus_(const char* copt, const char* cax, int len1, int len2) {
  namjus(Key4(copt, len1), Key4(cax, len2));
}
void axsclr_(const int* nclr, const char* celem, const char* cax, int len1, int len2) {
  axsclr(*nclr, Key4(celem, len1), Key4(cax, len2));
}
void labtxt_(const char* clist, const char* cax, int len1, int len2) {
  // 20 texts of 32 characters and their separators
  char list[20 * 33 + 1];
  const int n = qqwrcp(list, clist, len1, 20 * 33);
  // Fortran pads with blanks; the last text ends at its last non-blank.
  int end = n;
  while (end > 0 && list[end - 1] == ' ') --end;
  list[end] = '\0';
  labtxt(list, Key4(cax, len2));
}
void axscrs_(const char* copt, int len) { axscrs(Key4(copt, len)); }
void axsdrw_(const char* copt, int len) { axsdrw(Key4(copt, len)); }
void axsbgd_(const int* nclr) { axsbgd(*nclr); }
void axsfrm_(const int* nthk) { axsfrm(*nthk); }
void axslev_(const int* nlow, const int* nright, const int* nup, const int* nleft) {
  axslev(*nlow, *nright, *nup, *nleft);
}
void logfbk_(const char* copt, const float* xexp, int len) { logfbk(Key4(copt, len), *xexp); }
void center_(void) { center(); }
void axsclp_(const int* nmrg) { axsclp(*nmrg); }

}  // extern "C"
