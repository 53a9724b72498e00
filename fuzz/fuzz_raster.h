// Shared by the fuzzers: each input is read twice, into a palette raster at
// the origin and into a smaller true-colour raster at an offset, so that the
// exact-size, row-cutting and colour-conversion paths all see it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "devices/image/byte_source.h"
#include "devices/raster/raster.h"

namespace korvan::fuzz {

template <class Reader>
void readTwice(const std::uint8_t* data, std::size_t size, Reader read) {
  static int table[256];
  for (int i = 0; i < 256; ++i) table[i] = (i * 0x10307) & 0xFFFFFF;
  const struct {
    int width, height, mode, x, y;
  } rasters[2] = {{23, 9, 0, 0, 0}, {11, 7, 1, 2, -1}};
  for (const auto& r : rasters) {
    VirtualRaster raster;
    int w = r.width, h = r.height;
    if (raster.qqvini(2969, 2099, &w, &h, 1, 0, r.mode) != 0) continue;
    raster.qqvvlt(table);
    ByteSource in(data, size);
    int code = read(in, raster, r.x, r.y);
    if (code < 0 || code > 4) __builtin_trap();  // only the documented codes
  }
}

}  // namespace korvan::fuzz
