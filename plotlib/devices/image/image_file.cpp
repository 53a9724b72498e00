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

namespace {

// The window image as a raster dump, or 3 when the header cannot hold it.
int windowDump(Global& g, ByteSink& out) {
  int w = 0, h = 0;
  if (!qqwimg(g, &w, &h) || w < 1 || h < 1) return 3;
  const int stride = (3 * w + 3) / 4 * 4;
  std::unique_ptr<std::uint8_t[]> row(new (std::nothrow) std::uint8_t[stride]);
  if (!row) return -2;
  char header[81];
  std::memset(header, ' ', 80);
  std::memcpy(header, "!Bitmap KORVAN WIN  ", 20);
  char numbers[64];
  int n = std::snprintf(numbers, sizeof numbers, "%5d %5d %5d %5d %5d %5d %5d %5d %5d", w, h, 8,
                        stride, 24, 32, 0, 1, 0);
  if (n != 53) return 3;
  std::memcpy(header + 20, numbers, 53);
  out.write(header, 80);
  for (int y = 0; y < h; ++y) {
    std::memset(row.get(), 0, static_cast<std::size_t>(stride));
    qqwrdr(g, y, row.get());
    out.write(row.get(), static_cast<std::size_t>(stride));
  }
  return 0;
}

// What is written: the pixels of the virtual raster or of the window.
struct ImageSource {
  bool screen = false;
  ImageInfo info;
  std::unique_ptr<ScreenReader> window;
  RowReader* reader = nullptr;
  VirtualRaster* raster = nullptr;
};

// 0, or -2 when there is nothing to write (the warnings are given).
int prepare(Global& g, VirtualRaster* raster, ImageSource& src) {
  src.screen = deviceInfo(g.device).cls == DeviceClass::Screen;
  src.raster = raster;
  src.reader = raster;
  src.info.byteOrder = qqpord();
  src.info.paletteCount = paletteCount(g);
  if (src.screen) {
    int w = 0, h = 0;
    if (!qqwimg(g, &w, &h) || w < 1 || h < 1) {
      warnin(g, 53);
      return -2;
    }
    src.window.reset(new (std::nothrow) ScreenReader(g, w, h));
    if (!src.window) {
      warnin(g, 51);
      return -2;
    }
    src.reader = src.window.get();
    src.info.device = -g.device;
    src.info.blended = g.smoothMode == 1 && deviceInfo(g.device).smooth;
    src.info.width = w;
    src.info.height = h;
    src.info.table = g.colourTable;
  } else {
    if (!raster || !raster->valid()) return -2;
    src.info.device = raster->trueColour() ? -g.device : g.device;
    src.info.width = raster->width();
    src.info.height = raster->height();
    src.info.table = raster->table();
    src.info.blended = raster->blended() && raster->trueColour();
  }
  return 0;
}

int writeImage(Global& g, ByteSink& out, int format, ImageSource& src) {
  switch (format) {
    case 1:
      return qqptif(out, src.info, *src.reader, kTiffResolution, kTiffUnit);
    case 2:
      return src.screen ? windowDump(g, out) : qqvfilWrite(out, *src.raster, "!Bitmap KORVAN VIRT ");
    case 4:
      return qqppng(out, src.info, *src.reader, 0);
    case 5:
      return qqpppm(out, src.info, *src.reader);
    case 6:
      return qqpbmp(out, src.info, *src.reader);
    case 7:
      return qqpgif(out, src.info, *src.reader, 0, 0);
    default:
      return 0;
  }
}

bool knownFormat(int format) { return format == 1 || format == 2 || (format >= 4 && format <= 7); }

// -1: the file routines have given warning 36 with the file name.
int report(Global& g, int code, int format, const char* name) {
  if (code == 3 && format == 2) {
    warnc1(g, 36, name);  // a raster the dump header cannot describe
  } else if (code == -2) {
    warnin(g, 51);
  } else if (code < -2 && format == 4) {
    qqserr(g, "ZLIB error");
    warnin(g, 101);
  }
  return code;
}

}  // namespace

int qqwfil(Global& g, char* path, std::size_t cap) {
  int w = 0, h = 0;
  if (!qqwimg(g, &w, &h) || w < 1 || h < 1) return 3;
  int code = qqpfile(g, path, cap, [&](ByteSink& out) { return windowDump(g, out); });
  return code < 0 ? -code : code;
}

int qqrfil(Global& g, char* path, std::size_t cap, int format, VirtualRaster* raster) {
  ImageSource src;
  if (prepare(g, raster, src) != 0) return -2;
  if (!knownFormat(format)) return 0;
  int code = qqpfile(g, path, cap, [&](ByteSink& out) { return writeImage(g, out, format, src); });
  return report(g, code, format, path);
}

int qqrfil(Global& g, ByteSink& out, int format, VirtualRaster* raster) {
  ImageSource src;
  if (prepare(g, raster, src) != 0) return -2;
  if (!knownFormat(format)) return 0;
  return report(g, writeImage(g, out, format, src), format, g.outFileName);
}

}  // namespace korvan
