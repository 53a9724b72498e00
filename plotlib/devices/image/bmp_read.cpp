// Reading BMP files (qqpibmp): uncompressed 1, 4, 8, 24 and 32 bits per
// pixel, bottom-up or top-down, with the 40-byte (or longer) info header or
// the 12-byte core header.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>

#include "devices/image/byte_source.h"
#include "devices/image/image.h"

namespace korvan {

namespace {
constexpr long long kMaxSide = 1 << 24;

std::uint32_t le16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t le32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
}  // namespace

int qqpibmp(ByteSource& in, VirtualRaster& raster, int x, int y) {
  std::uint8_t fh[14];
  if (!in.readAll(fh, 14) || fh[0] != 'B' || fh[1] != 'M') return 3;
  const std::uint32_t offset = le32(fh + 10);
  std::uint8_t ih[124];
  if (!in.readAll(ih, 4)) return 3;
  const std::uint32_t size = le32(ih);
  long long w, h;
  int bpp, compression = 0, used = 0, entryBytes;
  if (size == 12) {
    if (!in.readAll(ih + 4, 8)) return 3;
    w = le16(ih + 4);
    h = static_cast<std::int16_t>(le16(ih + 6));
    bpp = static_cast<int>(le16(ih + 10));
    entryBytes = 3;
  } else if (size >= 40 && size <= 124) {
    if (!in.readAll(ih + 4, size - 4)) return 3;
    w = static_cast<std::int32_t>(le32(ih + 4));
    h = static_cast<std::int32_t>(le32(ih + 8));
    bpp = static_cast<int>(le16(ih + 14));
    compression = static_cast<int>(le32(ih + 16));
    used = static_cast<int>(std::min<std::uint32_t>(le32(ih + 32), 0x7FFFFFFF));
    entryBytes = 4;
  } else {
    return 3;
  }
  if (compression != 0) return 3;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) return 3;
  const bool topDown = h < 0;
  if (topDown) h = -h;
  if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) return 3;

  std::uint8_t palette[256][3] = {};
  int entries = 0;
  if (bpp <= 8) {
    entries = used ? used : 1 << bpp;
    if (entries > 256) return 3;
    for (int i = 0; i < entries; ++i) {
      std::uint8_t e[4];
      if (!in.readAll(e, static_cast<std::size_t>(entryBytes))) return 4;
      palette[i][0] = e[2];
      palette[i][1] = e[1];
      palette[i][2] = e[0];
    }
  }
  const long long headerEnd = 14LL + size + static_cast<long long>(entries) * entryBytes;
  if (offset < headerEnd) return 3;
  if (!in.skip(static_cast<std::size_t>(offset - headerEnd))) return 4;

  const long long rowSize = (w * bpp + 31) / 32 * 4;
  // Only the pixels that land in the raster are kept; the rest of a row is
  // skipped, so a huge width costs no memory.
  const long long keep = std::clamp<long long>(static_cast<long long>(raster.width()) - x, 0, w);
  const long long need = (keep * bpp + 7) / 8;
  std::unique_ptr<std::uint8_t[]> row(new (std::nothrow) std::uint8_t[need + 1]);
  std::unique_ptr<std::uint8_t[]> rgb(new (std::nothrow) std::uint8_t[3 * keep + 1]);
  if (!row || !rgb) return 2;

  for (long long r = 0; r < h; ++r) {
    long long ty = topDown ? y + r : y + h - 1 - r;
    if (topDown ? ty >= raster.height() : ty < 0) break;  // no later row lands
    if (keep == 0 || ty < 0 || ty >= raster.height()) {
      if (!in.skip(static_cast<std::size_t>(rowSize))) return 4;
      continue;
    }
    if (!in.readAll(row.get(), static_cast<std::size_t>(need))) return 4;
    if (!in.skip(static_cast<std::size_t>(rowSize - need))) return 4;
    for (long long i = 0; i < keep; ++i) {
      std::uint8_t* o = rgb.get() + 3 * i;
      if (bpp >= 24) {
        const std::uint8_t* p = row.get() + i * (bpp / 8);
        o[0] = p[2];
        o[1] = p[1];
        o[2] = p[0];
        continue;
      }
      int bit = static_cast<int>(i * bpp);
      int v = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1 << bpp) - 1);
      if (v < entries) {
        o[0] = palette[v][0];
        o[1] = palette[v][1];
        o[2] = palette[v][2];
      } else {
        o[0] = o[1] = o[2] = 0;
      }
    }
    qqprow(raster, rgb.get(), x, static_cast<int>(ty), -static_cast<int>(keep));
  }
  return 0;
}

int qqpibmp(const char* path, VirtualRaster& raster, int x, int y) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return 1;
  ByteSource in(f);
  int code = qqpibmp(in, raster, x, y);
  std::fclose(f);
  return code;
}

}  // namespace korvan
