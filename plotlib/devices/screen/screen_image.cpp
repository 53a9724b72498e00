// Placeholder until the screen driver keeps a back buffer.
#include "devices/screen/screen_image.h"

namespace korvan {

bool qqwimg(Global&, int* width, int* height) {
  *width = *height = 0;
  return false;
}

void qqwrdr(Global&, int, std::uint8_t*) {}

}  // namespace korvan
