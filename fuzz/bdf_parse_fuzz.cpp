// libFuzzer target: parsing a BDF font and painting each of its glyphs.
#include <cstdint>

#include "text/bdf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  korvan::BdfFont font;
  int code = korvan::bdfParse(reinterpret_cast<const char*>(data), size, font);
  if (code != 0 && code != 2) __builtin_trap();
  if (static_cast<int>(font.glyphs.size()) > font.chars) __builtin_trap();
  // A usable font holds every glyph it announces, and only those.
  if (korvan::bdfUsable(font) && (font.chars <= 0 || static_cast<int>(font.glyphs.size()) != font.chars))
    __builtin_trap();
  static unsigned char page[64][64];
  for (const korvan::BdfGlyph& glyph : font.glyphs) {
    for (float angle : {0.0f, 90.0f, 33.0f}) {
      korvan::bdfPaint(glyph, 20, 40, angle, [](int x, int y) {
        if (x >= 0 && x < 64 && y >= 0 && y < 64) page[y][x] ^= 1;
      });
    }
    if (korvan::bdfFind(font, glyph.encoding) == nullptr && glyph.encoding >= 0) __builtin_trap();
  }
  return 0;
}
