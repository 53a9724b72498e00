// TIFF (qqptif): little-endian, one IFD, uncompressed, one strip per row;
// a colour map in palette form, 8-8-8 samples in RGB form.
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "core/sink.h"
#include "devices/image/image.h"

namespace korvan {

namespace {
enum : unsigned { kShort = 3, kLong = 4, kRational = 5 };

void entry(ByteSink& out, unsigned tag, unsigned type, std::uint32_t count, std::uint32_t value) {
  out.le16(tag);
  out.le16(type);
  out.le32(count);
  out.le32(value);
}

// Tables in the file's byte order (least significant byte first).
void words32(ByteSink& out, std::vector<std::uint32_t>& v, int byteOrder) {
  auto* p = reinterpret_cast<std::uint8_t*>(v.data());
  if (byteOrder != 1) qqpswp(p, static_cast<int>(v.size()));
  out.write(p, 4 * v.size());
}
void words16(ByteSink& out, std::vector<std::uint16_t>& v, int byteOrder) {
  auto* p = reinterpret_cast<std::uint8_t*>(v.data());
  if (byteOrder != 1) qqpswp2(p, static_cast<int>(v.size()));
  out.write(p, 2 * v.size());
}
}  // namespace

int qqptif(ByteSink& out, const ImageInfo& info, RowReader& reader, int resolution, int unit) {
  const int w = info.width, h = info.height;
  const bool rgb = info.rgb();
  if (w < 1 || h < 1 || w > 65535 || h > 65535) return -2;
  const std::uint32_t rowBytes = static_cast<std::uint32_t>(w) * (rgb ? 3 : 1);
  // Rows longer than a SHORT can count get LONG byte counts.
  const unsigned countType = rowBytes > 65535 ? kLong : kShort;
  const std::uint32_t countSize = countType == kLong ? 4 : 2;
  const std::uint32_t entries = rgb ? 13 : 14;

  const std::uint32_t stripTable = 8 + 2 + 12 * entries + 4;
  const std::uint32_t countTable = stripTable + 4 * static_cast<std::uint32_t>(h);
  const std::uint32_t xres = countTable + countSize * static_cast<std::uint32_t>(h);
  const std::uint32_t yres = xres + 8;
  const std::uint32_t extra = yres + 8;  // 8, 8, 8 or the colour map
  const std::uint32_t data = extra + (rgb ? 6 : 2 * 768);

  std::unique_ptr<std::uint8_t[]> row(new (std::nothrow) std::uint8_t[rowBytes]);
  if (!row) return -2;

  out.write("II", 2);
  out.le16(42);
  out.le32(8);
  out.le16(entries);
  entry(out, 254, kLong, 1, 0);
  entry(out, 256, kShort, 1, static_cast<std::uint32_t>(w));
  entry(out, 257, kShort, 1, static_cast<std::uint32_t>(h));
  if (rgb)
    entry(out, 258, kShort, 3, extra);
  else
    entry(out, 258, kShort, 1, 8);
  entry(out, 259, kShort, 1, 1);
  entry(out, 262, kShort, 1, rgb ? 2 : 3);
  // A value that fits into the 4 bytes of an entry must stand there, not
  // behind an offset: a single row has its strip offset inline, and up to
  // two SHORT byte counts are inline as well. The tables are written anyway
  // so that the layout does not depend on the height.
  entry(out, 273, kLong, static_cast<std::uint32_t>(h), h == 1 ? data : stripTable);
  entry(out, 277, kShort, 1, rgb ? 3 : 1);
  entry(out, 278, kShort, 1, 1);
  if (h * countSize <= 4) {
    out.le16(279);
    out.le16(countType);
    out.le32(static_cast<std::uint32_t>(h));
    if (countType == kLong) {
      out.le32(rowBytes);
    } else {
      out.le16(rowBytes);
      out.le16(h == 2 ? rowBytes : 0);
    }
  } else {
    entry(out, 279, countType, static_cast<std::uint32_t>(h), countTable);
  }
  entry(out, 282, kRational, 1, xres);
  entry(out, 283, kRational, 1, yres);
  entry(out, 296, kShort, 1, static_cast<std::uint32_t>(unit));
  if (!rgb) entry(out, 320, kShort, 768, extra);
  out.le32(0);  // no further IFD

  std::vector<std::uint32_t> strips(static_cast<std::size_t>(h));
  for (int i = 0; i < h; ++i) strips[i] = data + static_cast<std::uint32_t>(i) * rowBytes;
  words32(out, strips, info.byteOrder);
  if (countType == kLong) {
    std::vector<std::uint32_t> counts(static_cast<std::size_t>(h), rowBytes);
    words32(out, counts, info.byteOrder);
  } else {
    std::vector<std::uint16_t> counts(static_cast<std::size_t>(h),
                                      static_cast<std::uint16_t>(rowBytes));
    words16(out, counts, info.byteOrder);
  }
  std::vector<std::uint32_t> res = {static_cast<std::uint32_t>(resolution), 1,
                                    static_cast<std::uint32_t>(resolution), 1};
  words32(out, res, info.byteOrder);
  if (rgb) {
    std::vector<std::uint16_t> bits = {8, 8, 8};
    words16(out, bits, info.byteOrder);
  } else {
    std::vector<std::uint16_t> map(768);
    for (int i = 0; i < 256; ++i) {
      int v = info.table ? info.table[i] : 0;
      map[i] = static_cast<std::uint16_t>(((v >> 16) & 255) * 65535 / 255);
      map[256 + i] = static_cast<std::uint16_t>(((v >> 8) & 255) * 65535 / 255);
      map[512 + i] = static_cast<std::uint16_t>((v & 255) * 65535 / 255);
    }
    words16(out, map, info.byteOrder);
  }
  for (int y = 0; y < h; ++y) {
    reader.rows(row.get(), 0, y, rgb ? -w : w, 1);
    out.write(row.get(), rowBytes);
  }
  return 0;
}

int qqptif(Global& g, char* name, std::size_t cap, const ImageInfo& info, RowReader& reader,
           int resolution, int unit) {
  return qqpfile(g, name, cap,
                 [&](ByteSink& out) { return qqptif(out, info, reader, resolution, unit); });
}

}  // namespace korvan
