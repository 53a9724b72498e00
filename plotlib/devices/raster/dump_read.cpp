// Reading a raster dump into a raster of any size and mode. Kept apart from
// the writer so that it builds without the rest of the library.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "devices/image/byte_source.h"
#include "devices/raster/dump.h"

namespace korvan {

namespace {
// A dump row longer than this comes from no raster we can make.
constexpr int kMaxStride = 1 << 20;

void translate(std::uint8_t* row, int n, int flag, int base) {
  if (flag == 1) return;
  // Window dumps store palette entries; index = 2 (v - base) - 1.
  for (int i = 0; i < n; ++i) {
    long long v = row[i];
    long long c = v == base ? 0 : 2 * (v - base) - 1;
    row[i] = static_cast<std::uint8_t>(std::clamp(c, 0LL, 255LL));
  }
}
}  // namespace

int qqvfilRead(ByteSource& in, VirtualRaster& raster) {
  char header[81];
  if (!in.readAll(header, 80)) return 3;
  header[80] = '\0';
  if (std::memcmp(header, "!Bitmap", 7) != 0) return 3;
  // Nine numbers separated by blanks; each must be a number an int holds.
  int f[9];
  const char* p = header + 20;
  for (int& v : f) {
    char* end = nullptr;
    errno = 0;
    long long n = std::strtoll(p, &end, 10);
    if (end == p || errno != 0 || n < INT_MIN || n > INT_MAX) return 3;
    v = static_cast<int>(n);
    p = end;
  }
  const int w = f[0], h = f[1], stride = f[3], bpp = f[4], flag = f[7], base = f[8];
  if (bpp != 8 && bpp != 24 && bpp != 32) return 3;
  if (w < 1 || h < 1 || stride < 1 || stride > kMaxStride) return 3;
  if (static_cast<long long>(w) * (bpp / 8) > stride) return 3;

  if (raster.valid() && w == raster.width() && h == raster.height() &&
      stride == raster.stride() && bpp == raster.bitsPerPixel()) {
    if (!in.readAll(raster.buffer(), raster.bufferSize())) return 4;
    if (bpp == 8)
      for (int y = 0; y < h; ++y)
        translate(raster.buffer() + static_cast<std::size_t>(y) * stride, w, flag, base);
    return 0;
  }

  std::unique_ptr<std::uint8_t[]> row(new (std::nothrow) std::uint8_t[stride]);
  std::unique_ptr<std::uint8_t[]> rgb(new (std::nothrow) std::uint8_t[3 * static_cast<std::size_t>(w)]);
  if (!row || !rgb) return 2;
  const int rows = std::min(h, raster.height());
  const int n = std::min(w, raster.width());
  for (int y = 0; y < rows; ++y) {
    if (!in.readAll(row.get(), static_cast<std::size_t>(stride))) return 4;
    if (bpp == 8) {
      translate(row.get(), n, flag, base);
      raster.qqvrow(row.get(), 0, y, n);
    } else if (bpp == 24) {
      raster.qqvrow(row.get(), 0, y, -n);
    } else {
      for (int i = 0; i < n; ++i) {
        rgb[3 * i] = row[4 * i + 2];
        rgb[3 * i + 1] = row[4 * i + 1];
        rgb[3 * i + 2] = row[4 * i];
      }
      raster.qqvrow(rgb.get(), 0, y, -n);
    }
  }
  return 0;
}

}  // namespace korvan
