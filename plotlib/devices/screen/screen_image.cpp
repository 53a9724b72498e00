// Image capture of the current screen window: its back buffer as RGB rows.
#include "devices/screen/screen_image.h"

#include "devices/screen/screen_driver.h"

namespace korvan {

bool qqwimg(Global&, int* width, int* height) {
  ScreenSlotInfo info{};
  bool open = qqwinf(qqwcur(), &info);
  *width = open ? info.width : 0;
  *height = open ? info.height : 0;
  return open && info.width > 0 && info.height > 0;
}

void qqwrdr(Global&, int y, std::uint8_t* rgb) {
  ScreenSlotInfo info{};
  if (!qqwinf(qqwcur(), &info) || y < 0 || y >= info.height) return;
  for (int x = 0; x < info.width; ++x) {
    std::uint32_t c = qqwrgb(x, y);
    *rgb++ = static_cast<std::uint8_t>(c >> 16);
    *rgb++ = static_cast<std::uint8_t>(c >> 8);
    *rgb++ = static_cast<std::uint8_t>(c);
  }
}

}  // namespace korvan
