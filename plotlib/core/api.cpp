// By-address entry points of the core routines: every numeric argument by
// address, text lengths after all other arguments, keywords cut to four
// characters.
#include "core/wrap.h"
#include "korvan.h"

using korvan::Key4;

extern "C" {

void korini_(void) { korini(); }
void korfin_(void) { korfin(); }
void winini_(void) { winini(); }
float getver_(void) { return getver(); }
int getplv_(void) { return getplv(); }
void gusrid_(char* cuser, int len) {
  for (int i = 0; i < len; ++i) cuser[i] = ' ';
}
void korlog_(void) { korlog(); }
void metafl_(const char* cfmt, int len) { metafl(Key4(cfmt, len)); }
void smooth_(const char* cmode, int len) { smooth(Key4(cmode, len)); }
void pagbkg_(const char* copt, int len) { pagbkg(Key4(copt, len)); }
void pagorg_(const char* copt, int len) { pagorg(Key4(copt, len)); }
void pagera_(void) { pagera(); }
void pagfll_(const int* nclr) { pagfll(*nclr); }
void erase_(void) { erase(); }
void sendbf_(void) { sendbf(); }
void winupd_(void) { winupd(); }

}  // extern "C"
