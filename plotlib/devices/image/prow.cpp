// qqprow: where the image readers put their rows.
#include "devices/image/image.h"

namespace korvan {

void qqprow(VirtualRaster& raster, const std::uint8_t* data, int x, int y, int n) {
  raster.qqvrow(data, x, y, n);
}

}  // namespace korvan
