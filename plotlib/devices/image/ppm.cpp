// PPM (qqpppm): the raw portable pixmap, P6, maximum value 255.
#include <memory>
#include <new>

#include "core/sink.h"
#include "devices/image/image.h"

namespace korvan {

int qqpppm(ByteSink& out, const ImageInfo& info, RowReader& reader) {
  const int w = info.width, h = info.height;
  if (w < 1 || h < 1) return -2;
  const std::size_t rowBytes = 3 * static_cast<std::size_t>(w);
  // Palette rasters come as indices and are translated through the table
  // the writer was given.
  std::unique_ptr<std::uint8_t[]> row(new (std::nothrow) std::uint8_t[rowBytes]);
  std::unique_ptr<std::uint8_t[]> idx(new (std::nothrow) std::uint8_t[w]);
  if (!row || !idx) return -2;
  out.printf("P6\n%d %d\n255\n", w, h);
  for (int y = 0; y < h; ++y) {
    if (info.rgb()) {
      reader.rows(row.get(), 0, y, -w, 1);
    } else {
      reader.rows(idx.get(), 0, y, w, 1);
      for (int x = 0; x < w; ++x) {
        int v = info.table ? info.table[idx[x]] : 0;
        row[3 * x] = static_cast<std::uint8_t>((v >> 16) & 255);
        row[3 * x + 1] = static_cast<std::uint8_t>((v >> 8) & 255);
        row[3 * x + 2] = static_cast<std::uint8_t>(v & 255);
      }
    }
    out.write(row.get(), rowBytes);
  }
  return 0;
}

int qqpppm(Global& g, char* name, std::size_t cap, const ImageInfo& info, RowReader& reader) {
  return qqpfile(g, name, cap, [&](ByteSink& out) { return qqpppm(out, info, reader); });
}

}  // namespace korvan
