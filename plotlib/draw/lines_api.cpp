// By-address entry points of the line, style, width and colour routines.
#include "core/wrap.h"
#include "korvan.h"

using korvan::Key4;

extern "C" {

void line_(const int* nx1, const int* ny1, const int* nx2, const int* ny2) {
  line(*nx1, *ny1, *nx2, *ny2);
}
void linwid_(const int* nwidth) { linwid(*nwidth); }
void lintyp_(const int* ntyp) { lintyp(*ntyp); }
void myline_(const int* nray, const int* n) { myline(nray, *n); }
void solid_(void) { solid(); }
void dot_(void) { dot(); }
void dash_(void) { dash(); }
void chndsh_(void) { chndsh(); }
void chndot_(void) { chndot(); }
void dashm_(void) { dashm(); }
void dotl_(void) { dotl(); }
void dashl_(void) { dashl(); }
void color_(const char* cname, int len) { color(Key4(cname, len)); }
void setvlt_(const char* ctab, int len) { setvlt(Key4(ctab, len)); }

}  // extern "C"
