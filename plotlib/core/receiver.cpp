// wrncbk and conmsg: a program receives every warning itself and may keep
// the console free of them (bindings turn the warnings into their own).
#include "core/state.h"
#include "core/wrap.h"
#include "korvan.h"

using namespace korvan;

extern "C" {

void wrncbk(korvan_warning fn, void* data) {
  Global* g = jqqlev(0, 3, "wrncbk");
  if (!g) return;
  g->warnHook = fn;
  g->warnHookData = fn ? data : nullptr;
}

void conmsg(const char* copt) {
  Global* g = jqqlev(0, 3, "conmsg");
  if (!g) return;
  int i = jqqind(*g, "ON  +OFF ", 2, copt);
  if (i != 0) g->consoleOff = i == 2 ? 1 : 0;
}

void conmsg_(const char* copt, int len) { conmsg(Key4(copt, len)); }

}  // extern "C"
