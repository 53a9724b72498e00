// Output selection: the keyword of metafl becomes the device code of the
// plot; outfil, outmod and outmem say where its file goes, outget hands
// over a file kept in memory.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/state.h"
#include "core/wrap.h"
#include "devices/device_table.h"
#include "korvan.h"
#include "platform/system.h"

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

}  // extern "C"

// ---- the output file a program chooses ----

namespace {

// A file name without the blanks a fixed-length text is padded with.
std::string trimmed(const char* text) {
  std::string s = text ? text : "";
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

}  // namespace

extern "C" {

void outfil(const char* cfil) {
  Global* g = jqqlev(0, 0, "outfil");
  if (!g) return;
  std::string name = trimmed(cfil);
  // a name that ends with a separator names a folder, not a file
  if (name.size() >= sizeof g->outName - 5 ||
      (!name.empty() && platform::isPathSeparator(name.back()))) {
    warnc1(*g, 37, name.c_str());
    return;
  }
  // A folder that is not there is reported now, not when the plot has
  // been drawn; the plot then keeps the name it had.
  if (!qqfold(name.c_str())) {
    qqserr(*g, "The folder does not exist");
    warnc1(*g, 101, name.c_str());
    return;
  }
  std::snprintf(g->outName, sizeof g->outName, "%s", name.c_str());
}

void outmod(const char* cmode) {
  Global* g = jqqlev(0, 0, "outmod");
  if (!g) return;
  int n = jqqind(*g, "VERS+OVER+STOP", 3, cmode);
  if (n == 1) g->outMode = kVersions;
  if (n == 2) g->outMode = kOverwrite;
  if (n == 3) g->outMode = kStop;
}

void outmem(const char* cmode) {
  Global* g = jqqlev(0, 0, "outmem");
  if (!g) return;
  int n = jqqind(*g, "ON  +OFF ", 2, cmode);
  if (n != 0) g->outMemory = n == 1 ? 1 : 0;
}

int outget(char* buffer, int size) {
  Global* g = jqqlev(0, 0, "outget");
  if (!g) return 0;
  const int length = static_cast<int>(g->memFile.size());
  if (!buffer) return length;
  if (!jqqval(*g, size, 0, -1)) return length;
  const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(size), g->memFile.size());
  if (n > 0) std::memcpy(buffer, g->memFile.data(), n);
  return length;
}

void outfil_(const char* cfil, int len) {
  std::string name(cfil ? cfil : "", cfil && len > 0 ? static_cast<std::size_t>(len) : 0);
  outfil(name.c_str());
}
void outmod_(const char* cmode, int len) { outmod(Key4(cmode, len)); }
void outmem_(const char* cmode, int len) { outmem(Key4(cmode, len)); }
int outget_(char* buffer, const int* size, int len) {
  // never more than the caller's text holds
  return outget(buffer, std::min(*size, std::max(len, 0)));
}

}  // extern "C"
