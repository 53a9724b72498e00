// The colour tables, the colour names and the current colour. The records a
// colour change writes belong to the drivers.
#include "draw/colour.h"

#include <utility>

#include "core/edition.h"
#include "core/colour_entry.h"
#include "core/state.h"
#include "devices/device_table.h"
#include "devices/driver.h"
#include "draw/pipeline.h"
#include "korvan.h"

namespace korvan {

namespace {

enum Table { TabSmal, TabRain, TabSpec, TabGrey, TabRrai, TabRspe, TabRgre, TabVga, TabTemp };

constexpr int kSmall[9] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF,
                           0xFFFF00, 0xFF5500, 0x00FFFF, 0xFF00FF};
constexpr int kVga[16] = {0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA,
                          0xAA5500, 0xAAAAAA, 0x555555, 0x5555FF, 0x55FF55, 0x55FFFF,
                          0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF};

// Indices of WHIT, RED, GREE, YELL, BLUE, ORAN, CYAN, MAGE, BLAC per group.
constexpr int kNamesSmall[9] = {1, 2, 3, 5, 4, 6, 7, 8, 1};
constexpr int kNamesRain[9] = {255, 254, 138, 192, 30, 223, 96, 13, 0};
constexpr int kNamesSpec[9] = {255, 254, 154, 205, 53, 235, 103, 1, 0};
constexpr int kNamesGrey[9] = {255, 230, 185, 150, 95, 215, 175, 110, 255};
constexpr int kNamesVga[9] = {15, 4, 2, 14, 1, 12, 3, 5, 0};

bool reversed(int t) { return t == TabRrai || t == TabRspe || t == TabRgre; }
bool plain(int t) { return t == TabRain || t == TabSpec || t == TabGrey; }
// Devices that draw on white paper with index 0 as their ink.
bool paperDevice(int d) { return deviceInfo(d).paperColours; }

const int* nameRow(int t) {
  switch (t) {
    case TabSmal: return kNamesSmall;
    case TabSpec: case TabRspe: return kNamesSpec;
    case TabGrey: case TabRgre: return kNamesGrey;
    case TabVga: return kNamesVga;
    default: return kNamesRain;
  }
}

int foreground(const Global& g) {
  int t = g.colourTableNo;
  if (paperDevice(g.device) && plain(t)) return 0;
  if (t == TabSmal) return 1;
  if (t == TabVga) return 15;
  return 255;
}

int temperature(int i) {
  int r = i >= 150 ? 255 : static_cast<int>(i * 1.7 + 0.5);
  int gr = i >= 120 ? static_cast<int>((i - 120) * 1.8888888888888888 + 0.5) : 0;
  int b = i >= 190 ? static_cast<int>((i - 190) * 3.923076923076923 + 0.5) : 0;
  return r * 65536 + gr * 256 + b;
}

void fillTable(Global& g, int t) {
  int* c = g.colourTable;
  switch (t) {
    case TabSmal:
      for (int i = 0; i < 9; ++i) c[i] = kSmall[i];
      break;
    case TabVga:
      for (int i = 0; i < 16; ++i) c[i] = kVga[i];
      break;
    case TabRain: case TabRrai:
      for (int i = 0; i < 256; ++i) c[i] = kRain[i];
      break;
    case TabSpec: case TabRspe:
      for (int i = 0; i < 256; ++i) c[i] = kSpectrum[i];
      break;
    case TabGrey: case TabRgre:
      for (int i = 0; i < 256; ++i) c[i] = i * 0x010101;
      break;
    default:
      for (int i = 0; i < 256; ++i) c[i] = temperature(i);
      break;
  }
  if (deviceInfo(g.device).swappedEnds) {
    if (t == TabSmal) std::swap(c[0], c[1]);
    if (t == TabVga) std::swap(c[0], c[15]);
  }
  if (reversed(t))
    for (int i = 0; i < 128; ++i) std::swap(c[i], c[255 - i]);
}

}  // namespace

void gbyt03(int value, int* r, int* g, int* b) { splitRgb(value, *r, *g, *b); }

bool qqsvlt(Global& g, const char* name) {
  int n = jqqind(g, "SMAL+RAIN+SPEC+GREY+RRAI+RSPE+RGRE+VGA +TEMP", 9, name);
  if (n == 0) return false;
  int t = n - 1;
  if (deviceInfo(g.device).smallTableOnly) t = TabSmal;
  g.colourTableNo = t;

  const int* row = nameRow(t);
  for (int i = 0; i < 9; ++i) g.namedColours[i] = row[i];
  if (reversed(t))
    for (int i = 1; i <= 7; ++i) g.namedColours[i] = 255 - row[i];
  if (deviceInfo(g.device).blackFirst && plain(t)) g.namedColours[0] = 0;

  fillTable(g, t);

  g.bgColour = 0;
  if (paperDevice(g.device) && plain(t)) g.bgColour = 255;
  if (g.bgMode == 2) {
    int k = t == TabSmal ? 1 : t == TabVga ? 15 : 255;
    std::swap(g.colourTable[0], g.colourTable[k]);
  }
  shwvlt(g);
  qqsclr(g, foreground(g));
  return true;
}

void shwvlt(Global& g) {
  if (g.driver) g.driver->palette(g);
}

void qqsclr(Global& g, int index) {
  // What was drawn so far keeps its colour. A flush is never started from
  // inside one (qqstrk ignores the request), in either edition.
  if (g.stroking == 0 || edition().alwaysFlushColour) qqstrk(g);
  if (g.driver) g.driver->colour(g, index);
  g.currentColour = index;
}

}  // namespace korvan

using namespace korvan;

extern "C" {

void setvlt(const char* ctab) {
  Global* g = jqqlev(1, 3, "setvlt");
  if (g) qqsvlt(*g, ctab);
}

void color(const char* cname) {
  Global* gp = jqqlev(1, 3, "color");
  if (gp) qqcolr(*gp, cname);
}

}  // extern "C"

namespace korvan {

void qqcolr(Global& g, const char* cname) {
  int n = jqqind(g, "WHIT+RED +GREE+YELL+BLUE+ORAN+CYAN+MAGE+BLAC+FORE+BACK", 11, cname);
  if (n == 0) return;
  int index;
  if (n <= 9)
    index = g.namedColours[n - 1];
  else if (n == 10)
    index = foreground(g);
  else
    index = g.bgColour;
  qqsclr(g, index);
}

}  // namespace korvan
