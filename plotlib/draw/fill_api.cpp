// By-address entry points of the fills, shielding, figures and symbols.
#include "core/wrap.h"
#include "korvan.h"

using korvan::Key4;

extern "C" {

void areaf_(const int* nx, const int* ny, const int* n) { areaf(nx, ny, *n); }
void shdpat_(const int* n) { shdpat(*n); }
void mypat_(const int* iangle, const int* itype, const int* idens, const int* icross) {
  mypat(*iangle, *itype, *idens, *icross);
}
void shield_(const char* cblnk, const char* cmode, int len1, int len2) {
  shield(Key4(cblnk, len1), Key4(cmode, len2));
}
void shlrec_(const int* nx, const int* ny, const int* nw, const int* nh) {
  shlrec(*nx, *ny, *nw, *nh);
}
void shlrct_(const int* nx, const int* ny, const int* nw, const int* nh, const float* angle) {
  shlrct(*nx, *ny, *nw, *nh, *angle);
}
void shlres_(const int* n) { shlres(*n); }
void arcell_(const int* nx, const int* ny, const int* na, const int* nb, const float* alpha,
             const float* beta, const float* theta) {
  arcell(*nx, *ny, *na, *nb, *alpha, *beta, *theta);
}
void vector_(const int* nx1, const int* ny1, const int* nx2, const int* ny2, const int* ivec) {
  vector(*nx1, *ny1, *nx2, *ny2, *ivec);
}
void symbol_(const int* nsym, const int* nx, const int* ny) { symbol(*nsym, *nx, *ny); }
void hsymbl_(const int* nhsym) { hsymbl(*nhsym); }

}  // extern "C"
