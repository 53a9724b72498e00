// qqrfil: the image file of a plot, from the virtual raster or, with a
// screen output, from the window image; qqwfil: the raster dump of the
// window image.
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "core/sink.h"
#include "core/state.h"
#include "devices/device_table.h"
#include "devices/image/image.h"
#include "devices/raster/dump.h"
#include "devices/screen/screen_image.h"

namespace korvan {

namespace {

// The window image as a row reader. The window gives R, G, B rows; colour
// indices are the nearest entries of the library's colour table.
class ScreenReader : public RowReader {
 public:
  ScreenReader(Global& g, int width, int height)
      : g_(g), width_(width), height_(height), line_(3 * static_cast<std::size_t>(width)) {}

  void rows(std::uint8_t* data, int x, int y, int n, int count) override {
    bool rgb = n < 0;
    int pixels = rgb ? -n : n;
    std::size_t rowBytes = static_cast<std::size_t>(pixels) * (rgb ? 3 : 1);
    for (int r = 0; r < count; ++r) {
      std::uint8_t* out = data + rowBytes * r;
      std::memset(out, 0, rowBytes);
      int yy = y + r;
      if (yy < 0 || yy >= height_) continue;
      qqwrdr(g_, yy, line_.data());
      for (int i = 0; i < pixels; ++i) {
        int xx = x + i;
        if (xx < 0 || xx >= width_) continue;
        const std::uint8_t* p = &line_[3 * static_cast<std::size_t>(xx)];
        if (rgb) {
          std::memcpy(out + 3 * i, p, 3);
        } else {
          int key = (p[0] << 16) | (p[1] << 8) | p[2];
          if (key != lastKey_) {
            lastKey_ = key;
            lastIndex_ = nearestIndex(g_.colourTable, p[0], p[1], p[2]);
          }
          out[i] = static_cast<std::uint8_t>(lastIndex_);
        }
      }
    }
  }

 private:
  Global& g_;
  int width_, height_;
  std::vector<std::uint8_t> line_;
  int lastKey_ = -1, lastIndex_ = 0;
};

int paletteCount(const Global& g) {
  if (g.colourTableNo == 0) return 9;
  if (g.colourTableNo == 7) return 16;
  return 256;
}

// Resolution written into TIFF files: 72 pixels per inch.
constexpr int kTiffResolution = 72;
constexpr int kTiffUnit = 2;

}  // namespace

int qqwfil(Global& g, char* path, std::size_t cap) {
  int w = 0, h = 0;
  if (!qqwimg(g, &w, &h) || w < 1 || h < 1) return 3;
  const int stride = (3 * w + 3) / 4 * 4;
  std::unique_ptr<std::uint8_t[]> row(new (std::nothrow) std::uint8_t[stride]);
  if (!row) return 2;
  int code = qqpfile(g, path, cap, [&](ByteSink& out) {
    char header[81];
    std::memset(header, ' ', 80);
    std::memcpy(header, "!Bitmap KORVAN WIN  ", 20);
    char numbers[64];
    int n = std::snprintf(numbers, sizeof numbers, "%5d %5d %5d %5d %5d %5d %5d %5d %5d", w, h,
                          8, stride, 24, 32, 0, 1, 0);
    if (n != 53) return 3;
    std::memcpy(header + 20, numbers, 53);
    out.write(header, 80);
    for (int y = 0; y < h; ++y) {
      std::memset(row.get(), 0, static_cast<std::size_t>(stride));
      qqwrdr(g, y, row.get());
      out.write(row.get(), static_cast<std::size_t>(stride));
    }
    return 0;
  });
  return code == -1 ? 1 : code;
}

int qqrfil(Global& g, char* path, std::size_t cap, int format, VirtualRaster* raster) {
  const bool screen = deviceInfo(g.device).cls == DeviceClass::Screen;
  ImageInfo info;
  info.byteOrder = qqpord();
  info.paletteCount = paletteCount(g);
  std::unique_ptr<ScreenReader> window;
  RowReader* reader = raster;
  if (screen) {
    int w = 0, h = 0;
    if (!qqwimg(g, &w, &h) || w < 1 || h < 1) {
      warnin(g, 53);
      return -2;
    }
    window.reset(new (std::nothrow) ScreenReader(g, w, h));
    if (!window) {
      warnin(g, 51);
      return -2;
    }
    reader = window.get();
    info.device = -g.device;
    info.width = w;
    info.height = h;
    info.table = g.colourTable;
  } else {
    if (!raster || !raster->valid()) return -2;
    info.device = raster->trueColour() ? -g.device : g.device;
    info.width = raster->width();
    info.height = raster->height();
    info.table = raster->table();
  }

  int code = 0;
  switch (format) {
    case 1:
      code = qqptif(g, path, cap, info, *reader, kTiffResolution, kTiffUnit);
      break;
    case 2:
      code = screen ? qqwfil(g, path, cap) : qqvfil(g, *raster, path, cap, 0);
      // the dump's codes 1 and 2 are the writers' -1 and -2
      if (code == 1 || code == 2) code = -code;
      if (code == 3) warnc1(g, 36, path);  // a raster the header cannot describe
      break;
    case 4:
      code = qqppng(g, path, cap, info, *reader, 0);
      break;
    case 5:
      code = qqpppm(g, path, cap, info, *reader);
      break;
    case 6:
      code = qqpbmp(g, path, cap, info, *reader);
      break;
    case 7:
      code = qqpgif(g, path, cap, info, *reader, 0, 0);
      break;
    default:
      return 0;
  }
  // -1: the file routines have given warning 36 with the file name.
  if (code == -2)
    warnin(g, 51);
  else if (code < -2 && format == 4) {
    qqserr(g, "ZLIB error");
    warnin(g, 101);
  }
  return code;
}

}  // namespace korvan
