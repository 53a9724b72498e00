#include "text/devfont.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "core/state.h"
#include "platform/system.h"
#include "core/wrap.h"
#include "devices/device_table.h"
#include "devices/driver.h"
#include "devices/screen/screen_font.h"
#include "korvan.h"
#include "text/bdf.h"
#include "text/font.h"

namespace korvan {

namespace {

constexpr int kSlots = 12;

// The files by family and size: the upper size limit of each file (the
// last one takes every larger size).
struct BdfFile {
  const char* name;
  int upTo;
};
constexpr BdfFile kFiles[kSlots] = {
    {"complx10", 10}, {"complx12", 12}, {"complx14", 16}, {"complx18", 1 << 30},
    {"simplx8", 8},   {"simplx10", 10}, {"simplx12", 12}, {"simplx14", 1 << 30},
    {"helve10", 10},  {"helve12", 12},  {"helve14", 16},  {"helve18", 1 << 30}};

// Each file is read at most once per run; a file that could not be read is
// tried again at the next selection.
struct BdfCache {
  std::unique_ptr<BdfFont> fonts[kSlots];
  int reads = 0;
};

BdfCache& cache() {
  static BdfCache c;
  return c;
}

// The coding flag of the strings, which the device fonts follow.
int coding(const Global& g) { return g.codingFlag; }

// The stroke font of the other alphabets (it switches the device font off).
void loadComplex(Global& g) { qqcplx(g); }

bool inRange(float v) { return v > -1e9f && v < 1e9f; }

// Plot units to device units: times the device scale, + 0.5, truncated.
int toDevice(float v, float s) {
  float d = v * s + 0.5f;
  return inRange(d) ? static_cast<int>(d) : (d < 0 ? -1000000000 : 1000000000);
}

std::string fontPath(int slot) {
  char dir[512];
  qqgenv("KORVAN", dir, sizeof dir);
  const char sep = platform::pathSeparator();
  return std::string(dir) + sep + "fonts" + sep + kFiles[slot].name + ".bdf";
}

void reportDevice(Global& g, const char* text) {
  qqserr(g, text);
  warnin(g, 101);
}

void storeName(Global& g, const char* name) {
  if (name != g.devFontName) std::snprintf(g.devFontName, sizeof g.devFontName, "%s", name);
}

}  // namespace

int qqbdfslt(int family, int size) {
  int first = (std::clamp(family, 1, 3) - 1) * 4;
  for (int i = first; i < first + 3; ++i)
    if (size <= kFiles[i].upTo) return i;
  return first + 3;
}

const char* qqbdfnam(int slot) { return slot >= 0 && slot < kSlots ? kFiles[slot].name : ""; }

const BdfFont* qqbdffnt(int slot) {
  return slot >= 0 && slot < kSlots ? cache().fonts[slot].get() : nullptr;
}

int qqbdfrd() { return cache().reads; }

void qqbdfclr() {
  for (auto& f : cache().fonts) f.reset();
  cache().reads = 0;
}

int qqbdf1(int family, int size, int* widths, int coding, int* slot) {
  int k = qqbdfslt(family, size);
  BdfCache& c = cache();
  if (!c.fonts[k]) {
    std::unique_ptr<BdfFont> font(new (std::nothrow) BdfFont);
    if (!font) return 2;
    int code = qqgetbdf(fontPath(k).c_str(), *font);
    if (code != 0) return code;
    c.reads += 1;
    c.fonts[k] = std::move(font);
  }
  const BdfFont& font = *c.fonts[k];
  for (int p = 32; p <= 255; ++p) {
    const BdfGlyph* glyph = bdfFind(font, qqgiso(p, coding));
    int w = glyph ? std::clamp(glyph->dwidthX, 0, 6553) * 10 : 0;
    widths[p - 31] = w;
  }
  if (slot) *slot = k;
  return 0;
}

void qqbdfpix(Global& g, int x, int y) {
  if (g.driver) g.driver->fontPixel(g, x, y);
}

void qqbdf2(Global& g, int position, int x, int y, float angle) {
  const BdfFont* font = qqbdffnt(g.devFontFile);
  if (!font) return;
  const BdfGlyph* glyph = bdfFind(*font, qqgiso(position, coding(g)));
  if (!glyph) return;
  bdfPaint(*glyph, x, y, angle, [&g](int px, int py) { qqbdfpix(g, px, py); });
}

void qqchar(Global& g, int position, float x, float y, float shift) {
  if (g.devFontMode != 2 && g.devFontMode != 3) return;
  // Along the text's upward direction: a window font is placed by the top
  // of its cell, a bitmap font by its baseline.
  float up = shift + (g.devFontMode == 2 ? static_cast<float>(g.charHeight) : 0.0f);
  double a = static_cast<double>(g.textAngle) * 3.14159265358979323846 / 180.0;
  float px = x - up * static_cast<float>(std::sin(a));
  float py = y - up * static_cast<float>(std::cos(a));
  float s = g.deviceScale;
  int X, Y;
  if (g.rotation == 1) {
    X = toDevice(py, s);
    Y = toDevice(static_cast<float>(g.pageWidth) - px, s);
  } else {
    X = toDevice(px, s);
    Y = toDevice(py, s);
  }
  if (g.devFontMode == 2) {
    if (g.driver) g.driver->windowChar(g, qqgiso(position, coding(g)), X, Y);
  } else {
    qqbdf2(g, position, X, Y, g.textAngle);
  }
}

bool qqdfwd(Global& g, int position, float sf, float& width, float& spacing) {
  if (g.devFontMode != 2 && g.devFontMode != 3) return false;
  float s = g.deviceScale;
  int w = position >= 32 && position < kDevFontWidths + 31 ? g.devFontWidths[position - 31] : 0;
  width = s > 0.0f ? static_cast<float>(w) / (10.0f * s) : 0.0f;
  float h = static_cast<float>(g.charHeight);
  if (g.devFontMode == 2)
    spacing = (sf + 0.1f) * h;
  else
    spacing = static_cast<float>(static_cast<int>((sf + (s < 0.3f ? 0.18f : 0.15f)) * h));
  return true;
}

void qqdfof(Global& g) { g.devFontMode = 0; }

void qqdfsel(Global& g, bool heightChanged) {
  // The name is copied: the selectors store it again.
  char name[sizeof g.devFontName];
  std::snprintf(name, sizeof name, "%s", g.devFontName);
  if (g.devFontMode == 2)
    qqwfsel(g, name);
  else if (g.devFontMode == 3 && heightChanged)
    qqbfsel(g, name);
}

void qqwfsel(Global& g, const char* name) {
  if (!deviceInfo(g.device).windowFonts) {
    reportDevice(g, "Window fonts cannot be used");
    return;
  }
  float s = g.deviceScale, h = static_cast<float>(g.charHeight);
  float k = h < 30.0f || s < 0.25f ? 16.0f : 13.0f;
  float v = s * h * k * 0.125f + 0.5f;
  int size = inRange(v) ? static_cast<int>(v) : 0;
  int previous = g.devFontMode;
  loadComplex(g);
  if (!g.driver ||
      !g.driver->windowFont(g, name, size, g.textAngle, coding(g), g.devFontWidths)) {
    // No font system at all on this platform.
    g.devFontMode = previous;
    reportDevice(g, "Window fonts cannot be used");
    return;
  }
  storeName(g, name);
  g.devFontMode = 2;
}

void qqbfsel(Global& g, const char* name) {
  if (!deviceInfo(g.device).pixels) {
    reportDevice(g, "Bitmat fonts can only be used for raster output");
    return;
  }
  float s = g.deviceScale, h = static_cast<float>(g.charHeight);
  float v = s < 0.3f ? h * s * 1.2f : h * s;
  int size = inRange(v) ? static_cast<int>(v) : 0;
  int family = jqqind(g, "COMP+SIMP+HELV", 3, name);
  if (family == 0) return;
  int previous = g.devFontMode;
  loadComplex(g);
  int slot = 0;
  // The widths go to the state block only when the font is there.
  int widths[kDevFontWidths] = {};
  int code = qqbdf1(family, size, widths, coding(g), &slot);
  if (code != 0) {
    g.devFontMode = previous;
    std::snprintf(g.routineName, sizeof g.routineName, "BMPFNT");
    reportDevice(g, code == 2 ? "Not enough memory for bitmap font" : "Open error for bitmap font");
    // The warning names no file: say which one was tried, and why.
    static const char* const why[4] = {"", "cannot be read", "does not fit into memory",
                                       "is no usable BDF font"};
    std::fprintf(stderr, "KORVAN: bitmap font \"%s\" %s.\n",
                 fontPath(qqbdfslt(family, size)).c_str(), why[code >= 1 && code <= 3 ? code : 1]);
    return;
  }
  std::memcpy(g.devFontWidths, widths, sizeof widths);
  g.devFontFile = slot;
  storeName(g, name);
  g.devFontMode = 3;
}

}  // namespace korvan

using namespace korvan;

extern "C" {

void winfnt(const char* cfont) {
  Global& g = chkini("winfnt");
  qqwfsel(g, cfont ? cfont : "");
}

void winfnt_(const char* cfont, int len) {
  char name[sizeof(Global::devFontName)];
  int n = qqwrcp(name, cfont, len, static_cast<int>(sizeof name) - 1);
  while (n > 0 && name[n - 1] == ' ') name[--n] = '\0';
  winfnt(name);
}

void x11fnt(const char*, const char*) {
  Global& g = chkini("x11fnt");
  std::snprintf(g.routineName, sizeof g.routineName, "X11FNT");
  reportDevice(g, "X11 fonts cannot be used");
}

void x11fnt_(const char* cfont, const char* copt, int, int) { x11fnt(cfont, copt); }

void bmpfnt(const char* cfont) {
  Global& g = chkini("bmpfnt");
  qqbfsel(g, cfont ? cfont : "");
}

void bmpfnt_(const char* cfont, int len) { bmpfnt(Key4(cfont, len)); }

}  // extern "C"
