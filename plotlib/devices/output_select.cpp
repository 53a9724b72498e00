// Output selection: the keyword of metafl becomes the device code of the
// plot; smooth and pagbkg choose how the plots that follow are drawn.
#include "core/state.h"
#include "devices/device_table.h"
#include "korvan.h"

using namespace korvan;

extern "C" {

void metafl(const char* cfmt) {
  Global* g = jqqlev(0, 0, "metafl");
  if (!g) return;
  int code = qqgdnr(cfmt);
  if (code == 0) {
    warnc1(*g, 2, cfmt ? cfmt : "");
    return;
  }
  g->device = qqgdst(code);
  qqkey4(cfmt, g->deviceName);
  // the stored name is the keyword itself, without the blank padding
  for (int i = 3; i >= 0 && g->deviceName[i] == ' '; --i) g->deviceName[i] = '\0';
  g->outputChosen = 1;
}

void smooth(const char* cmode) {
  Global* g = jqqlev(0, 0, "smooth");
  if (!g) return;
  int n = jqqind(*g, "ON  +OFF ", 2, cmode ? cmode : "");
  if (n != 0) g->smoothMode = n == 1 ? 1 : 0;
}

void pagbkg(const char* copt) {
  Global* g = jqqlev(0, 0, "pagbkg");
  if (!g) return;
  int n = jqqind(*g, "AUTO+WHIT+BLAC", 3, copt ? copt : "");
  if (n != 0) g->pageBackground = n - 1;
}

}  // extern "C"
