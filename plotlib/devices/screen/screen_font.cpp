#include "devices/screen/screen_font.h"

#include <algorithm>
#include <iterator>

#include "core/state.h"
#include "devices/screen/screen_driver.h"
#include "platform/font_service.h"

namespace korvan {

namespace {

// Font positions of the ISO 8859-1 codes 191 .. 255 (coding 1) and
// 160 .. 255 (other codings); 0: no position.
constexpr unsigned char kUmlautTable[65] = {
    186, 158, 148, 168, 178, 127, 134, 136, 142, 159, 149, 169, 144, 160, 150, 170, 145,
    187, 140, 161, 151, 171, 180, 128, 0,   135, 162, 152, 172, 129, 182, 189, 133, 163,
    153, 173, 179, 130, 137, 139, 143, 164, 154, 174, 146, 165, 155, 175, 147, 188, 141,
    166, 156, 176, 181, 131, 0,   138, 167, 157, 177, 132, 183, 190, 184};
constexpr unsigned char kLatinTable[96] = {
    0,   191, 0,   192, 0,   193, 194, 0,   0,   195, 196, 197, 198, 0,   199, 200,
    0,   201, 0,   202, 0,   203, 204, 0,   0,   205, 206, 207, 208, 0,   209, 210,
    211, 148, 168, 212, 127, 213, 214, 142, 215, 149, 216, 144, 217, 150, 170, 218,
    187, 219, 220, 151, 171, 221, 128, 0,   222, 223, 152, 224, 129, 182, 225, 133,
    226, 153, 173, 227, 130, 228, 229, 143, 230, 154, 231, 146, 232, 155, 175, 233,
    188, 234, 235, 156, 176, 236, 131, 0,   237, 238, 157, 239, 132, 183, 240, 0};

// The two tables read backwards: code of each position 127 .. 255.
struct Inverse {
  short umlaut[129], latin[129];
  Inverse() {
    std::fill(std::begin(umlaut), std::end(umlaut), static_cast<short>(-1));
    std::fill(std::begin(latin), std::end(latin), static_cast<short>(-1));
    umlaut[185 - 127] = 161;
    for (int i = 0; i < 65; ++i)
      if (kUmlautTable[i] && umlaut[kUmlautTable[i] - 127] < 0)
        umlaut[kUmlautTable[i] - 127] = static_cast<short>(191 + i);
    for (int i = 0; i < 96; ++i)
      if (kLatinTable[i] && latin[kLatinTable[i] - 127] < 0)
        latin[kLatinTable[i] - 127] = static_cast<short>(160 + i);
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

void ScreenDriver::windowChar(Global&, int code, int x, int y) { qqwcha(code, x, y); }

void ScreenDriver::fontPixel(Global&, int x, int y) { qqwspx(x, y); }

}  // namespace korvan
