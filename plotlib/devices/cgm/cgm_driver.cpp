#include "devices/cgm/cgm_driver.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "core/edition.h"
#include "core/colour_entry.h"
#include "core/state.h"
#include "devices/sheet.h"
#include "devices/dispatch.h"

namespace korvan {

namespace {

// Element header words: class << 12 | id << 5 | parameter length; the
// length 31 announces a following length word.
constexpr unsigned kBeginMetafile = 0x003F;
constexpr unsigned kEndMetafile = 0x0040;
constexpr unsigned kBeginPicture = 0x007F;
constexpr unsigned kBeginPictureBody = 0x0080;
constexpr unsigned kEndPicture = 0x00A0;
constexpr unsigned kMetafileVersion = 0x1022;
constexpr unsigned kMetafileDescription = 0x105F;
constexpr unsigned kMetafileElementList = 0x1166;
constexpr unsigned kScalingMode = 0x2026;
constexpr unsigned kColourSelectionMode = 0x2042;
constexpr unsigned kVdcExtent = 0x20C8;
constexpr unsigned kBackgroundColour = 0x20E4;
constexpr unsigned kPolyline = 0x403F;
constexpr unsigned kLineColour = 0x5083;

// Every word goes out most significant byte first, whatever the machine.
void bytes(Global& g, const void* p, int n) { qqsbuf(g, static_cast<const char*>(p), n); }

void word(Global& g, unsigned v) {
  unsigned char b[2] = {static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)};
  bytes(g, b, 2);
}

// VDC are 16-bit signed; a point off that range is pinned to its edge
// instead of wrapping to the other side of the picture.
std::int16_t vdc(float v) {
  int i = static_cast<int>(v + 0.5f);
  if (v >= 32767.0f) i = 32767;
  if (v <= -32768.0f) i = -32768;
  return static_cast<std::int16_t>(i);
}

void entryRgb(const Global& g, int index, unsigned char rgb[3]) {
  int r, gr, b;
  korvan::entryRgb(g, index, r, gr, b);
  rgb[0] = static_cast<unsigned char>(r);
  rgb[1] = static_cast<unsigned char>(gr);
  rgb[2] = static_cast<unsigned char>(b);
}

}  // namespace

void CgmDriver::open(Global& g) {
  g.deviceScale = 2.0f * g.plotScale * g.unitScale;
  inicgm(g, 1);
}

void CgmDriver::qqcgm1(Global& g, const char* text) {
  // The count is one byte: longer texts are cut at 255 characters.
  std::size_t len = std::strlen(text);
  int n = len > 255 ? 255 : static_cast<int>(len);
  word(g, static_cast<unsigned>(n + 1));
  unsigned char count = static_cast<unsigned char>(n);
  bytes(g, &count, 1);
  bytes(g, text, n);
  if (n % 2 == 0) {
    unsigned char pad = 0;
    bytes(g, &pad, 1);
  }
}

void CgmDriver::inicgm(Global& g, int kind) {
  if (kind == 1) {
    word(g, kBeginMetafile);
    qqcgm1(g, g.outFileName);

    word(g, kMetafileVersion);
    word(g, static_cast<unsigned>(g.cgmVersion));

    std::tm tmv = qqftim();
    char date[40];
    std::snprintf(date, sizeof date, "%04d%02d%02d", tmv.tm_year + 1900, tmv.tm_mon + 1,
                  tmv.tm_mday);
    char version[16];
    std::snprintf(version, sizeof version, "%4.1f", static_cast<double>(edition().version));
    char desc[200];
    const char q = '"';
    std::snprintf(desc, sizeof desc, "%c%s%c,%c%s%c,%c%s %s%c,%c%s%s%c,%c%s%c", q,
                  g.cgmVersion == 1 ? "ProfileId:CALS" : "ProfileId:WebCGM", q, q,
                  "ProfileEd:1.0", q, q, "Source:KORVAN", version, q, q, "Date:", date, q, q,
                  "ColourClass:colour", q);
    word(g, kMetafileDescription);
    qqcgm1(g, desc);

    word(g, kMetafileElementList);
    word(g, 0x0001);
    word(g, 0xFFFF);
    word(g, 0x0001);

    char name[32];
    std::snprintf(name, sizeof name, "Picture %d", picture_);
    word(g, kBeginPicture);
    qqcgm1(g, name);

    if (g.cgmVersion != 1) {
      // metric scaling, 0.05 mm per VDC unit as a 32-bit real
      word(g, kScalingMode);
      word(g, 0x0001);
      const unsigned char mm[4] = {0x3D, 0x4C, 0xCC, 0xC8};
      bytes(g, mm, 4);
    }

    word(g, kColourSelectionMode);
    word(g, 0x0001);

    float s = g.deviceScale;
    float a, b;
    qqdevpage(g, a, b);
    word(g, kVdcExtent);
    word(g, 0);
    word(g, 0);
    word(g, static_cast<std::uint16_t>(vdc(a * s)));
    word(g, static_cast<std::uint16_t>(vdc(b * s)));

    word(g, kBackgroundColour);
    const unsigned char white[4] = {255, 255, 255, 0};
    bytes(g, white, 4);

    word(g, kBeginPictureBody);
  }
  drwcgm(g, 0.0f, 0.0f, 0);
}

void CgmDriver::flushPath(Global& g) {
  if (path_.count == 0) return;
  word(g, kPolyline);
  word(g, static_cast<unsigned>(4 * path_.count));
  for (int k = 0; k < path_.count; ++k) {
    word(g, static_cast<std::uint16_t>(path_.x[k]));
    word(g, static_cast<std::uint16_t>(path_.y[k]));
  }
  path_.written();
}

void CgmDriver::drwcgm(Global& g, float x, float y, int op) {
  // Nothing belongs to the picture once it has been ended.
  path_.operate(op, vdc(x), vdc(y), pathOpen_, [&] { flushPath(g); });
}

void CgmDriver::point(Global& g, float x, float y, int mode) {
  float X, Y;
  qqsheet(g, g.rotation == 1, x, y, X, Y);
  drwcgm(g, X, Y, mode);
}

void CgmDriver::colour(Global& g, int index) {
  if (index == g.currentColour || !pathOpen_) return;
  drwcgm(g, 0.0f, 0.0f, 9);
  unsigned char rgb[4] = {0, 0, 0, 0};
  entryRgb(g, index, rgb);
  word(g, kLineColour);
  bytes(g, rgb, 4);
}

int CgmDriver::finish(Global& g) {
  xjdraw(g, 0.0f, 0.0f, 3);
  drwcgm(g, 0.0f, 0.0f, 999);
  word(g, kEndPicture);
  word(g, kEndMetafile);
  return g.outFile ? 1 : 0;
}

}  // namespace korvan
