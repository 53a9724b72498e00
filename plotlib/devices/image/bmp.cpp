// BMP (qqpbmp): file header, 40-byte info header, palette, rows from the
// bottom up, each padded to a multiple of 4 bytes. Integers least
// significant byte first.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "core/sink.h"
#include "devices/image/image.h"

namespace korvan {

int qqpbmp(ByteSink& out, const ImageInfo& info, RowReader& reader) {
  const int w = info.width, h = info.height;
  const bool rgb = info.rgb();
  if (w < 1 || h < 1) return -2;
  const std::uint32_t rowSize = (static_cast<std::uint32_t>(w) * (rgb ? 3 : 1) + 3) / 4 * 4;
  std::unique_ptr<std::uint8_t[]> row(new (std::nothrow) std::uint8_t[rowSize]);
  if (!row) return -2;

  int n = 0;
  if (!rgb) {
    // The palette covers every index that occurs, also above the entries of
    // a small table.
    int maxIndex = 0;
    for (int y = 0; y < h; ++y) {
      reader.rows(row.get(), 0, y, w, 1);
      for (int x = 0; x < w; ++x) maxIndex = std::max<int>(maxIndex, row[x]);
    }
    n = std::clamp(std::max(info.paletteCount, maxIndex + 1), 1, 256);
  }
  const std::uint32_t image = rowSize * static_cast<std::uint32_t>(h);
  const std::uint32_t offset = 4u * static_cast<std::uint32_t>(n) + 54u;

  out.put('B');
  out.put('M');
  out.le32(image + offset);
  out.le16(0);
  out.le16(0);
  out.le32(offset);
  out.le32(40);
  out.le32(static_cast<std::uint32_t>(w));
  out.le32(static_cast<std::uint32_t>(h));
  out.le16(1);
  out.le16(rgb ? 24 : 8);
  out.le32(0);
  out.le32(image);
  out.le32(2500);
  out.le32(2500);
  out.le32(static_cast<std::uint32_t>(n));
  out.le32(static_cast<std::uint32_t>(n));
  for (int i = 0; i < n; ++i) {
    int v = info.table ? info.table[i] : 0;
    const std::uint8_t entry[4] = {static_cast<std::uint8_t>(v & 255),
                                   static_cast<std::uint8_t>((v >> 8) & 255),
                                   static_cast<std::uint8_t>((v >> 16) & 255), 0};
    out.write(entry, 4);
  }
  for (int y = h - 1; y >= 0; --y) {
    std::memset(row.get(), 0, rowSize);
    reader.rows(row.get(), 0, y, rgb ? -w : w, 1);
    if (rgb)
      for (int x = 0; x < w; ++x) std::swap(row[3 * x], row[3 * x + 2]);
    out.write(row.get(), rowSize);
  }
  return 0;
}

int qqpbmp(Global& g, char* name, std::size_t cap, const ImageInfo& info, RowReader& reader) {
  return qqpfile(g, name, cap, [&](ByteSink& out) { return qqpbmp(out, info, reader); });
}

}  // namespace korvan
