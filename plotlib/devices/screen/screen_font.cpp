#include "devices/screen/screen_font.h"

#include <algorithm>
#include <iterator>

#include "core/codings.h"
#include "core/state.h"
#include "devices/screen/screen_driver.h"
#include "platform/font_service.h"

namespace korvan {

namespace {

// The two tables read backwards: code of each position 127 .. 255.
struct Inverse {
  short umlaut[129], latin[129];
  Inverse() {
    std::fill(std::begin(umlaut), std::end(umlaut), static_cast<short>(-1));
    std::fill(std::begin(latin), std::end(latin), static_cast<short>(-1));
    umlaut[185 - 127] = 161;
    for (int i = 0; i < 65; ++i)
      if (kLatin1Positions[i] && umlaut[kLatin1Positions[i] - 127] < 0)
        umlaut[kLatin1Positions[i] - 127] = static_cast<short>(191 + i);
    for (int i = 0; i < 96; ++i)
      if (kLatin2Positions[i] && latin[kLatin2Positions[i] - 127] < 0)
        latin[kLatin2Positions[i] - 127] = static_cast<short>(160 + i);
  }
};

// The screen's window font: one at a time, kept across plots like the
// windows.
int& screenFont() {
  static int font = 0;
  return font;
}

}  // namespace

int qqgiso(int position, int coding) {
  if (position < 0 || position > 255) return -1;
  if (position < 127) return position;
  static const Inverse inverse;
  return coding == 0 || coding == 1 ? inverse.umlaut[position - 127]
                                    : inverse.latin[position - 127];
}

void qqwfwd(int font, int coding, int* widths) {
  platform::FontService& fs = platform::fontService();
  for (int p = 32; p <= 255; ++p) {
    int code = qqgiso(p, coding);
    int w = code > 0 ? fs.width(font, static_cast<unsigned char>(code)) : 0;
    widths[p - 31] = std::clamp(w, 0, 65535 / 10) * 10;
  }
}

bool qqwfnt(const char* name, int size, float angle, int coding, int* widths) {
  platform::FontService& fs = platform::fontService();
  // Anti-aliased only in true colour: a palette buffer holds indices,
  // which cannot be blended.
  int font = fs.create(name, std::max(size, 1), angle, qqwmod() == 256);
  if (font == 0) return false;
  if (screenFont()) fs.release(screenFont());
  screenFont() = font;
  qqwfwd(font, coding, widths);
  return true;
}

void qqwcha(int code, int x, int y) {
  platform::Surface buffer;
  std::uint32_t pen;
  if (!screenFont() || code <= 0 || code > 255 || !qqwbuf(&buffer, &pen)) return;
  char text[2] = {static_cast<char>(code), '\0'};
  platform::fontService().draw(screenFont(), buffer, x, y, text, pen);
}

bool ScreenDriver::windowFont(Global&, const char* name, int size, float angle, int coding,
                              int* widths) {
  return qqwfnt(name, size, angle, coding, widths);
}

void ScreenDriver::windowChar(Global&, int code, int x, int y) {
  pen_.end();
  qqwcha(code, x, y);
}

void ScreenDriver::fontPixel(Global&, int x, int y) {
  pen_.end();
  qqwspx(x, y);
}

}  // namespace korvan
