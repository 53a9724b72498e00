// By-address entry points of the text routines.
#include "core/wrap.h"
#include "korvan.h"

using namespace korvan;

extern "C" {

void messag_(const char* text, const int* nx, const int* ny, int len) {
  char buf[257];
  qqwrcp(buf, text, len, 256);
  messag(buf, *nx, *ny);
}

int nlmess_(const char* text, int len) {
  char buf[257];
  qqwrcp(buf, text, len, 256);
  return nlmess(buf);
}

void height_(const int* n) { height(*n); }
void angle_(const int* n) { angle(*n); }
void koralf_(void) { koralf(); }
void complx_(void) { complx(); }

}  // extern "C"
