// The global state block and the level state machine.
#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "core/sink.h"

#include "core/state.h"

namespace korvan {

namespace {
Global* block = nullptr;  // the flag outside the block is "block != nullptr"

void firstUse(Global& g) {
  g.messageUnit = 6;
  g.messagesOn = 1;
  g.messageFile = stdout;
  g.errFile = stdout;
  g.level = 0;
  g.device = 0;
  g.pageSizeX = 2969.0f;
  g.pageSizeY = 2099.0f;
  std::memcpy(g.pageFormat, "DA4L", 5);
  g.unitScale = 1.0f;
  g.plotScale = 1.0f;
  g.firstBgMode = -1;
  g.winDisplayMode = 2;
  g.pdfOptions = 1;
  g.cgmVersion = 1;
  g.lineCapacity = 80;
  g.axisClipMargin = -1;
}
}  // namespace

int qqsglb(int mode) {
  if (mode == 1) {
    // Whatever a plot still holds goes with the block.
    if (block) {
      block->driver.reset();
      block->lines.reset();
      block->outFile.reset();
      if (block->errFile && block->errFile != stdout) std::fclose(block->errFile);
    }
    delete block;
    block = nullptr;
    return 0;
  }
  if (block) return 1;
  block = new (std::nothrow) Global();
  if (!block) {
    std::printf(">>>> Not enough memory for global variables!\n");
    qqfatal();
  }
  return 0;
}

Global& qqgglb() { return *block; }

Global* jqqlev(int lo, int hi, const char* name) {
  if (qqsglb(0) == 0) firstUse(*block);
  Global& g = *block;
  std::snprintf(g.routineName, sizeof g.routineName, "%s", name);
  if (g.level >= lo && g.level <= hi) return &g;
  if (g.level == 0) g.messageUnit = 6;
  warni1(g, 3, g.level);
  return nullptr;
}

Global& chkini(const char* name) {
  Global* g = jqqlev(1, 3, name);
  return g ? *g : qqgglb();
}

bool jqqval(Global& g, int value, int min, int max) {
  if (value >= min && (max < min || value <= max)) return true;
  warni1(g, 2, value);
  return false;
}

bool jqqfin(Global& g, std::initializer_list<float> values) {
  for (float v : values)
    if (!std::isfinite(v)) {
      warnin(g, 2);
      return false;
    }
  return true;
}

int qqsat(long long value) {
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

void qqkey4(const char* keyword, char out[5]) {
  int i = 0;
  if (keyword)
    for (; i < 4 && keyword[i]; ++i)
      out[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(keyword[i])));
  for (; i < 4; ++i) out[i] = ' ';
  out[4] = '\0';
}

int jqqfind(const char* list, int count, const char* keyword) {
  char key[5];
  qqkey4(keyword, key);
  std::size_t len = std::strlen(list);
  for (int k = 0; k < count; ++k) {
    std::size_t at = static_cast<std::size_t>(k) * 5;
    if (at >= len) break;
    char entry[5];
    bool same = true;
    for (int i = 0; i < 4; ++i) {
      char c = at + i < len ? list[at + i] : ' ';
      entry[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (entry[i] != key[i]) same = false;
    }
    if (same) return k + 1;
  }
  return 0;
}

int jqqind(Global& g, const char* list, int count, const char* keyword) {
  int n = jqqfind(list, count, keyword);
  if (n == 0) warnc1(g, 2, keyword ? keyword : "");
  return n;
}

}  // namespace korvan
