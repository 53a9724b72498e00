// By-address entry points of the charts.
#include "core/strings.h"
#include "core/wrap.h"
#include "korvan.h"

using korvan::Key4;
using korvan::qqwrcp;

namespace {
// A blank-filled text of a by-address caller without its trailing blanks,
// which would move a centred title and widen the legend.
void trimmed(char* dst, const char* src, int len, int max) {
  qqwrcp(dst, src, len, max);
  dst[korvan::trmlen(dst)] = '\0';
}
}  // namespace

extern "C" {

void title_(const char* ctext, int len) {
  char text[1025];
  trimmed(text, ctext, len, 1024);
  title(text);
}
void tithgt_(const int* nhchar) { tithgt(*nhchar); }
void crvnam_(const char* cname, int len) {
  char text[81];
  trimmed(text, cname, len, 80);
  crvnam(text);
}
void legend_(const char* cpos, int len) { legend(Key4(cpos, len)); }
void grid_(const int* nx, const int* ny) { grid(*nx, *ny); }
void crvsym_(const int* nsym) { crvsym(*nsym); }
void crvlin_(const char* copt, int len) { crvlin(Key4(copt, len)); }
void ebary_(const float* xray, const float* yray, const float* e1ray, const float* e2ray,
            const int* n) {
  ebary(xray, yray, e1ray, e2ray, *n);
}
void ebarx_(const float* xray, const float* yray, const float* e1ray, const float* e2ray,
            const int* n) {
  ebarx(xray, yray, e1ray, e2ray, *n);
}
void ebrcap_(const int* nwidth) { ebrcap(*nwidth); }
void autgrf_(const float* xray, const float* yray, const int* n) { autgrf(xray, yray, *n); }
void getgrf_(float* a, float* e, float* org, float* step, const char* cax, int len) {
  getgrf(a, e, org, step, Key4(cax, len));
}
void barplt_(const float* xray, const float* y1ray, const float* y2ray, const int* n) {
  barplt(xray, y1ray, y2ray, *n);
}
void barwid_(const float* width) { barwid(*width); }
void bardir_(const char* copt, int len) { bardir(Key4(copt, len)); }
void hstgrm_(const float* xray, const int* n, const int* nbins, const float* xa, const float* xe,
             int* iray) {
  hstgrm(xray, *n, *nbins, *xa, *xe, iray);
}
void fillbt_(const float* xray, const float* y1ray, const float* y2ray, const int* n) {
  fillbt(xray, y1ray, y2ray, *n);
}
void usrmsg_(const char* ctext, const float* x, const float* y, int len) {
  char text[1025];
  qqwrcp(text, ctext, len, 1024);
  usrmsg(text, *x, *y);
}
void usrsym_(const int* nsym, const float* x, const float* y) { usrsym(*nsym, *x, *y); }
void usrlin_(const float* x1, const float* y1, const float* x2, const float* y2) {
  usrlin(*x1, *y1, *x2, *y2);
}
void usrpos_(const float* x, const float* y, int* nx, int* ny) { usrpos(*x, *y, nx, ny); }
void posusr_(const int* nx, const int* ny, float* x, float* y) { posusr(*nx, *ny, x, y); }
void panel_(const int* nrow, const int* ncol, const int* i) { panel(*nrow, *ncol, *i); }

}  // extern "C"
