#include "devices/postscript/ps_driver.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "core/edition.h"
#include "core/fixed.h"
#include "core/sink.h"
#include "core/colour_entry.h"
#include "core/state.h"
#include "devices/sheet.h"
#include "devices/dispatch.h"

namespace korvan {

namespace {

// Points per body unit: the body works in 1/20 mm (72 / 508).
constexpr double kCm = 0.1417322835;
// Device units per plot unit.
constexpr float kScale = 3900.0f / 2100.0f;

// The procedures the body records call, then fonts and the re-encoding
// vector for the umlauts; one line each.
const char* const kPrologue[] = {
    "2 setlinecap 2 setlinejoin",
    "/cm {0.1417322835 mul} def /rgb {255 div} def /lc 1 string def",
    "/u  { /y exch cm def /x exch cm def newpath  x y moveto } def",
    "/d  { /y exch cm def /x exch cm def x y lineto } def",
    "/p  { stroke } def",
    "/e { /b exch rgb def /g exch rgb def",
    " /r exch rgb def /v exch cm def /w exch cm def /y exch cm def",
    " /x exch cm def gsave r g b setrgbcolor newpath x y moveto",
    " w y lineto w v lineto x v lineto closepath fill grestore } def",
    "/f { /b exch rgb def /g exch rgb def",
    " /r exch rgb def r g b setrgbcolor } def",
    "/text { /c1 exch def /a exch def /y exch cm def /x exch cm def",
    " /Name exch def gsave x y moveto x y translate a rotate c1 0 gt",
    " { Name stringwidth 2 div neg exch 2 div neg exch rmoveto }",
    " {} ifelse Name show grestore } def /font { /h exch def",
    " /s exch def s findfont h scalefont setfont } def",
    "/c { /a exch def /y exch cm def /x exch cm def /i exch def",
    " gsave x y moveto x y translate a rotate lc 0 i put lc",
    " stringwidth 2 div neg exch 2 div neg exch rmoveto lc show",
    " grestore } def",
    "/sec { /b exch rgb def /g exch rgb def /r exch rgb def",
    " /a2 exch def /a exch def /r2 exch cm def /r1 exch cm def",
    " /y exch cm def /x exch cm def gsave r g b setrgbcolor newpath",
    " x y r1 a a2 arc x y r2 a2 a arcn closepath fill grestore } def",
    "/tri { /y3 exch cm def /x3 exch cm def /y2 exch cm def",
    " /x2 exch cm def /y1 exch cm def /x1 exch cm def",
    " gsave newpath x1 y1 moveto",
    " x2 y2 lineto x3 y3 lineto closepath fill grestore } def",
    "/Reencsmalldict 12 dict def",
    "/ReEncodeSmall",
    "{ Reencsmalldict begin",
    "  /NewCodesAndNames exch def",
    "  /NewFontName exch def",
    "  /BaseFontName exch def",
    "  /BaseFontDict",
    "  BaseFontName findfont def",
    "  /NewFont BaseFontDict",
    "  maxlength dict def",
    "  BaseFontDict",
    "  { exch dup /FID ne",
    "    { dup /Encoding eq",
    "      { exch dup length array copy",
    "        NewFont 3 1 roll put",
    "      }",
    "      { exch NewFont 3 1 roll put",
    "      } ifelse",
    "      }",
    "      {pop pop} ifelse",
    "    } forall",
    "    NewFont",
    "    /FontName NewFontName put",
    "    NewCodesAndNames aload pop",
    "    NewCodesAndNames",
    "    length 2 idiv",
    "    { NewFont /Encoding get",
    "    3 1 roll put  } repeat",
    "    NewFontName NewFont",
    "    definefont pop end } def",
    " /GermanVec [ 8#177 /Adieresis",
    " 8#200 /Odieresis 8#201 /Udieresis 8#202 /adieresis",
    " 8#203 /odieresis 8#204 /udieresis 8#205 /germandbls",
    " 8#206 /Aring     8#207 /Oslash    8#210 /AE",
    " 8#211 /aring     8#212 /oslash    8#213 /ae",
    " 8#214 /Ntilde    8#215 /ntilde    8#216 /Ccedilla",
    " 8#217 /ccedilla  8#220 /Edieresis 8#221 /Idieresis",
    " 8#222 /edieresis 8#223 /idieresis 8#224 /Aacute",
    " 8#225 /Eacute    8#226 /Iacute    8#227 /Oacute",
    " 8#230 /Uacute    8#231 /aacute    8#232 /eacute",
    " 8#233 /iacute    8#234 /oacute    8#235 /uacute",
    " 8#236 /Agrave    8#237 /Egrave    8#240 /Igrave",
    " 8#241 /Ograve    8#242 /Ugrave    8#243 /agrave",
    " 8#244 /egrave    8#245 /igrave    8#246 /ograve",
    " 8#247 /ugrave      8#250 /Acircumflex 8#251 /Ecircumflex",
    " 8#252 /Icircumflex 8#253 /Ocircumflex 8#254 /Ucircumflex",
    " 8#255 /acircumflex 8#256 /ecircumflex 8#257 /icircumflex",
    " 8#260 /ocircumflex 8#261 /ucircumflex 8#262 /Atilde",
    " 8#263 /atilde 8#264 /Otilde 8#265 /otilde 8#266 /Yacute",
    " 8#267 /yacute 8#270 /ydieresis",
    " 8#271 /exclamdown 8#272 /questiondown ] def",
};

}  // namespace

void qqpsrec(Global& g, const char* fmt, ...) {
  char raw[256];
  va_list ap;
  va_start(ap, fmt);
  int n = std::vsnprintf(raw, sizeof raw, fmt, ap);
  va_end(ap);
  if (n <= 0) return;
  if (n >= static_cast<int>(sizeof raw)) n = static_cast<int>(sizeof raw) - 1;
  // Every word keeps the one blank that ends it; lone blanks are dropped.
  char packed[256];
  int m = 0;
  for (int i = 0; i < n; ++i) {
    if (raw[i] == ' ' && (m == 0 || packed[m - 1] == ' ')) continue;
    packed[m++] = raw[i];
  }
  if (m > 0) qpsblk(g, packed, m);
}

void PostScriptDriver::toDevice(const Global& g, float x, float y, float& X, float& Y) const {
  // the plot's top edge on the sheet's left edge, plot x up the sheet
  qqsheet(g, landscape_, x, y, X, Y);
}

void PostScriptDriver::open(Global& g) {
  float w = static_cast<float>(g.pageWidth);
  float h = static_cast<float>(g.pageHeight);
  landscape_ = qqsheetTurned(g);
  float d = landscape_ ? std::min(std::min(5600.0f / w, 3900.0f / h), 2.0f)
                       : std::min(std::min(3900.0f / w, 5600.0f / h), 2.0f);
  g.deviceScale = kScale;
  float saved = g.plotScale;
  g.plotScale = d / kScale;
  inipsc(g);
  g.plotScale = saved;
}

void PostScriptDriver::inipsc(Global& g) {
  ByteSink* f = g.outFile.get();
  if (f) {
    float s = g.deviceScale;
    float d = g.plotScale * s;
    double a = landscape_ ? g.pageHeight : g.pageWidth;
    double b = landscape_ ? g.pageWidth : g.pageHeight;
    int llx = static_cast<int>(150 * kCm);
    int lly = static_cast<int>(200 * kCm);
    int urx = static_cast<int>((a * d + 150) * kCm + 1);
    int ury = static_cast<int>((b * d + 200) * kCm + 1);
    f->puts(device_ == 503 ? "%!PS-Adobe-3.0 EPSF-3.0\n" : "%!PS-Adobe-2.0\n");
    f->printf("%%%%BoundingBox: ");
    f->printf(" %d %d %d %d\n", llx, lly, urx, ury);
    f->printf("%%%%Creator: KORVAN ");
    f->printf(landscape_ ? " %4.1f L\n" : " %4.1f P\n", static_cast<double>(edition().version));
    f->printf("%%%%CreationDate:");
    const std::tm t = qqftim();
    f->printf(" %s , %s\n", dddate(t), ddtime(t));
    f->puts("%%EndComments\n");
    f->puts("%%Page: 1 1\n");
    for (const char* line : kPrologue) {
      f->puts(line);
      f->put('\n');
    }
    f->puts("  150 cm   200 cm translate 5 cm setlinewidth");
    f->printf(" %10.6f%10.6f scale\n", static_cast<double>(g.plotScale),
              static_cast<double>(g.plotScale));
    if ((device_ == 502 || device_ == 503) && g.bgMode != 2) {
      int hs = rnd(static_cast<float>(g.pageHeight) * s);
      int ws = rnd(static_cast<float>(g.pageWidth) * s);
      if (landscape_)
        f->printf("0 0 %d %d 0 0 0 e \n", hs, ws);
      else
        f->printf("0 %d %d 0 0 0 0 e \n", hs, ws);
    }
  }
  drwpsc(g, 0.0f, 0.0f, 0);
}

namespace {
// qqpsrec(g, "%5d %5d u ", x, y) and its kin without the formatting run:
// packed, the record is the two numbers and the operator, one blank after
// each.
char* pathRecord(char* p, int x, int y, char op) {
  p = fmtInt(p, x);
  *p++ = ' ';
  p = fmtInt(p, y);
  *p++ = ' ';
  *p++ = op;
  *p++ = ' ';
  return p;
}
}  // namespace

void PostScriptDriver::flushPath(Global& g) {
  if (path_.count == 0) return;
  // The whole path goes to the line buffer at once: a record is at most 26
  // characters.
  char buf[kPathPoints * 26 + 2];
  char* p = pathRecord(buf, path_.x[0], path_.y[0], 'u');
  for (int k = 1; k < path_.count; ++k) p = pathRecord(p, path_.x[k], path_.y[k], 'd');
  *p++ = 'p';
  *p++ = ' ';
  qpsblk(g, buf, static_cast<int>(p - buf));
  path_.written();
}

void PostScriptDriver::drwpsc(Global& g, float x, float y, int op) {
  // Nothing arrives once the page has been ended.
  path_.operate(op, rnd(x), rnd(y), pathOpen_, [&] { flushPath(g); });
}

void PostScriptDriver::point(Global& g, float x, float y, int mode) {
  float X, Y;
  toDevice(g, x, y, X, Y);
  drwpsc(g, X, Y, mode);
}

void PostScriptDriver::draws(Global& g, const float* xs, const float* ys, int n) {
  if (!pathOpen_) return;
  auto flush = [&] { flushPath(g); };
  for (int i = 0; i < n; ++i) {
    float X, Y;
    toDevice(g, xs[i], ys[i], X, Y);
    path_.draw(rnd(X), rnd(Y), flush);
  }
}

void PostScriptDriver::polygon(Global& g, const float* xs, const float* ys, int n) {
  if (n < 1) return;
  // what was drawn before lies under the filled area
  drwpsc(g, 0.0f, 0.0f, 9);
  float X, Y;
  toDevice(g, xs[0], ys[0], X, Y);
  int x0 = rnd(X), y0 = rnd(Y);
  qqpsrec(g, "%5d %5d u ", x0, y0);
  for (int k = 1; k < n; ++k) {
    toDevice(g, xs[k], ys[k], X, Y);
    qqpsrec(g, "%5d %5d d ", rnd(X), rnd(Y));
  }
  qqpsrec(g, "%5d %5d d ", x0, y0);
  qqpsrec(g, "eofill ");
}

void PostScriptDriver::box(Global& g, float x1, float y1, float x2, float y2, int colour) {
  // what was drawn before lies under the box
  drwpsc(g, 0.0f, 0.0f, 9);
  float X1, Y1, X2, Y2;
  toDevice(g, x1, y1, X1, Y1);
  toDevice(g, x2, y2, X2, Y2);
  int r, gr, b;
  entryRgb(g, colour, r, gr, b);
  qqpsrec(g, "%5d %5d %5d %5d %3d %3d %3d e ", rnd(X1), rnd(Y1), rnd(X2), rnd(Y2), r, gr, b);
}

void PostScriptDriver::colour(Global& g, int index) {
  drwpsc(g, 0.0f, 0.0f, 9);
  int r, gr, b;
  entryRgb(g, index, r, gr, b);
  qqpsrec(g, "%3d %3d %3d f ", r, gr, b);
}

bool PostScriptDriver::rgb(Global& g, int r, int gr, int b) {
  drwpsc(g, 0.0f, 0.0f, 9);
  qqpsrec(g, "%3d %3d %3d f ", r, gr, b);
  return true;
}

void PostScriptDriver::width(Global& g, int n) {
  g.lineWidth = -n;
  drwpsc(g, 0.0f, 0.0f, 9);
  int w = std::max(static_cast<int>(2.0f * static_cast<float>(n) * g.unitScale), 5);
  qqpsrec(g, "%5d cm ", w);
  qqpsrec(g, "setlinewidth ");
}

int PostScriptDriver::finish(Global& g) {
  drwpsc(g, 0.0f, 0.0f, 999);
  qqpsrec(g, "showpage ");
  return g.outFile ? 1 : 0;
}

}  // namespace korvan
