// Writing the raster dump, and qqvfil.
#include <cstdio>
#include <cstring>

#include "core/sink.h"
#include "core/state.h"
#include "devices/image/byte_source.h"
#include "devices/image/image.h"
#include "devices/raster/dump.h"

namespace korvan {

int qqvfilWrite(ByteSink& out, const VirtualRaster& raster, const char* tag) {
  if (!raster.valid()) return 3;
  char header[81];
  std::memset(header, ' ', 80);
  header[80] = '\0';
  std::size_t tagLen = std::strlen(tag);
  std::memcpy(header, tag, tagLen < 20 ? tagLen : 20);
  char numbers[64];
  int n = std::snprintf(numbers, sizeof numbers, "%5d %5d %5d %5d %5d %5d %5d %5d %5d",
                        raster.width(), raster.height(), 8, raster.stride(),
                        raster.bitsPerPixel(), 32, 0, 1, 0);
  // A raster too large for the five-digit fields cannot be described.
  if (n != 53) return 3;
  std::memcpy(header + 20, numbers, 53);
  out.write(header, 80);
  out.write(raster.buffer(), raster.bufferSize());
  return 0;
}

int qqvfil(Global& g, VirtualRaster& raster, char* path, std::size_t cap, int read) {
  if (read) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return 1;
    ByteSource in(f);
    int code = qqvfilRead(in, raster);
    std::fclose(f);
    return code;
  }
  int code = qqpfile(g, path, cap, [&](ByteSink& out) {
    return qqvfilWrite(out, raster, "!Bitmap KORVAN VIRT ");
  });
  return code == -1 ? 1 : code;
}

}  // namespace korvan
