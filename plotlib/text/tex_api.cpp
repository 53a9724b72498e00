// texmod: switches the reading of strings as TeX-style markup on or off.
#include "core/state.h"
#include "core/wrap.h"
#include "korvan.h"

using namespace korvan;

extern "C" {

void texmod(const char* copt) {
  Global* g = jqqlev(1, 3, "texmod");
  if (!g) return;
  int n = jqqind(*g, "ON  +OFF ", 2, copt);
  if (n != 0) g->texMode = n == 1;
}

void texmod_(const char* copt, int len) { texmod(Key4(copt, len)); }

}  // extern "C"
