// PNG (qqppng): signature, IHDR, PLTE, tRNS, one IDAT compressed with a
// single deflate call, IEND. Integers most significant byte first.
#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "core/sink.h"
#include "devices/deflate.h"
#include "devices/image/image.h"

namespace korvan {

namespace {

// A chunk whose buffer holds the 4-byte type followed by n data bytes, so
// that the CRC covers both in one run.
void chunk(ByteSink& out, const std::uint8_t* typeAndData, std::size_t n) {
  out.be32(static_cast<std::uint32_t>(n));
  out.write(typeAndData, n + 4);
  out.be32(qqpcrc(typeAndData, n + 4));
}

void chunk(ByteSink& out, const char* type, const std::uint8_t* data, std::size_t n) {
  std::vector<std::uint8_t> buf(n + 4);
  std::memcpy(buf.data(), type, 4);
  if (n) std::memcpy(buf.data() + 4, data, n);
  chunk(out, buf.data(), n);
}

}  // namespace

int qqppng(ByteSink& out, const ImageInfo& info, RowReader& reader, int transparent) {
  const int w = info.width, h = info.height;
  const bool rgb = info.rgb();
  const std::size_t rowBytes = static_cast<std::size_t>(w) * (rgb ? 3 : 1);
  const std::size_t raw = (rowBytes + 1) * static_cast<std::size_t>(h);
  if (w < 1 || h < 1 || raw > UINT_MAX / 2) return -2;

  // The whole image, each row behind its filter byte 0.
  std::unique_ptr<std::uint8_t[]> image(new (std::nothrow) std::uint8_t[raw]);
  if (!image) return -2;
  int maxIndex = 0;
  for (int y = 0; y < h; ++y) {
    std::uint8_t* row = image.get() + (rowBytes + 1) * y;
    row[0] = 0;
    reader.rows(row + 1, 0, y, rgb ? -w : w, 1);
    if (!rgb)
      for (std::size_t i = 1; i <= rowBytes; ++i) maxIndex = std::max<int>(maxIndex, row[i]);
  }

  // Compressed in one call into a buffer that starts with the chunk type.
  std::size_t room = qqzbound(raw, kPngDeflateLevel) + 4;
  std::unique_ptr<std::uint8_t[]> idat(new (std::nothrow) std::uint8_t[room]);
  if (!idat) return -2;
  std::memcpy(idat.get(), "IDAT", 4);
  std::size_t packed = qqzlib(image.get(), raw, idat.get() + 4, room - 4, kPngDeflateLevel);
  if (packed == 0) return -4;
  image.reset();

  static const std::uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
  out.write(kSignature, 8);

  std::uint8_t ihdr[4 + 13] = {'I', 'H', 'D', 'R'};
  std::uint32_t words[2] = {static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h)};
  std::memcpy(ihdr + 4, words, 8);
  if (info.byteOrder == 1) qqpswp(ihdr + 4, 2);
  ihdr[12] = 8;               // bit depth
  ihdr[13] = rgb ? 2 : 3;     // colour type: RGB or palette
  ihdr[14] = ihdr[15] = ihdr[16] = 0;
  chunk(out, ihdr, 13);

  if (!rgb) {
    // Every index in the image must have an entry, also where the small
    // tables leave pixels drawn with an earlier table.
    int count = std::clamp(std::max(info.paletteCount, maxIndex + 1), 1, 256);
    std::uint8_t plte[3 * 256];
    for (int i = 0; i < count; ++i) {
      int v = info.table ? info.table[i] : 0;
      plte[3 * i] = static_cast<std::uint8_t>((v >> 16) & 255);
      plte[3 * i + 1] = static_cast<std::uint8_t>((v >> 8) & 255);
      plte[3 * i + 2] = static_cast<std::uint8_t>(v & 255);
    }
    chunk(out, "PLTE", plte, 3 * static_cast<std::size_t>(count));
  }

  if (transparent) {
    if (rgb) {
      static const std::uint8_t kWhite[6] = {0, 255, 0, 255, 0, 255};
      chunk(out, "tRNS", kWhite, 6);
    } else {
      static const std::uint8_t kEntry0[1] = {0};
      chunk(out, "tRNS", kEntry0, 1);
    }
  }

  chunk(out, idat.get(), packed);
  chunk(out, "IEND", nullptr, 0);
  return 0;
}

int qqppng(Global& g, char* name, std::size_t cap, const ImageInfo& info, RowReader& reader,
           int transparent) {
  return qqpfile(g, name, cap,
                 [&](ByteSink& out) { return qqppng(out, info, reader, transparent); });
}

int qqppng(std::uint8_t* buffer, int* length, const ImageInfo& info, RowReader& reader,
           int transparent) {
  int capacity = length ? *length : 0;
  if (length) *length = 0;
  std::vector<std::uint8_t> file;
  ByteSink sink(&file);
  int code = qqppng(sink, info, reader, transparent);
  if (code != 0) return code;
  if (file.size() > static_cast<std::size_t>(INT_MAX)) return -2;
  int end = qqpbuf(buffer, capacity, 0, file.data(), static_cast<int>(file.size()));
  if (end == 0) return -2;
  if (length) *length = end;
  return 0;
}

}  // namespace korvan
