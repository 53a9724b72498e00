// GIF (qqpgif): GIF87a, or GIF89a with a transparent colour; the 256-entry
// global colour table; one image compressed with LZW.
#include <cstring>
#include <memory>
#include <new>

#include "core/sink.h"
#include "devices/image/image.h"

namespace korvan {

namespace {

// The LZW coder. Strings are found through an open hash table of 5021
// entries: index (byte * 16) XOR prefix, on a collision stepping down by
// 5021 - index. After code 4094 the table starts again.
class LzwCoder {
 public:
  explicit LzwCoder(ByteSink& out) : out_(out) { empty(); }

  void encode(const std::uint8_t* pixels, std::size_t n) {
    put(kClear);
    if (n == 0) {
      put(kEnd);
      finish();
      return;
    }
    int prefix = pixels[0];
    for (std::size_t i = 1; i < n; ++i) {
      int c = pixels[i];
      int h = (c << 4) ^ prefix;
      int step = h == 0 ? 1 : kSize - h;
      bool found = false;
      while (code_[h] != -1) {
        if (prefix_[h] == prefix && byte_[h] == c) {
          found = true;
          break;
        }
        h -= step;
        if (h < 0) h += kSize;
      }
      if (found) {
        prefix = code_[h];
        continue;
      }
      put(prefix);
      int assigned = free_++;
      prefix_[h] = prefix;
      byte_[h] = c;
      code_[h] = assigned;
      if (assigned == (1 << bits_)) ++bits_;
      if (assigned == 4094) {
        put(kClear);
        empty();
      }
      prefix = c;
    }
    put(prefix);
    // The decoder adds a string for the last code too; if that fills the
    // current width it reads the end code one bit wider.
    if (free_ == (1 << bits_) && bits_ < 12) ++bits_;
    put(kEnd);
    finish();
  }

 private:
  static constexpr int kSize = 5021;
  static constexpr int kClear = 256, kEnd = 257;

  void empty() {
    std::memset(code_, 0xFF, sizeof code_);
    free_ = 258;
    bits_ = 9;
  }
  void put(int code) {
    acc_ |= static_cast<std::uint32_t>(code) << nacc_;
    nacc_ += bits_;
    while (nacc_ >= 8) {
      byte(static_cast<std::uint8_t>(acc_ & 255));
      acc_ >>= 8;
      nacc_ -= 8;
    }
  }
  void byte(std::uint8_t b) {
    block_[count_++] = b;
    if (count_ == 255) flush();
  }
  void flush() {
    if (count_ == 0) return;
    std::uint8_t len = static_cast<std::uint8_t>(count_);
    out_.write(&len, 1);
    out_.write(block_, static_cast<std::size_t>(count_));
    count_ = 0;
  }
  void finish() {
    if (nacc_ > 0) byte(static_cast<std::uint8_t>(acc_ & 255));
    acc_ = 0;
    nacc_ = 0;
    flush();
  }

  ByteSink& out_;
  int prefix_[kSize];
  int byte_[kSize];
  int code_[kSize];
  int free_ = 258;
  int bits_ = 9;
  std::uint32_t acc_ = 0;
  int nacc_ = 0;
  std::uint8_t block_[255];
  int count_ = 0;
};

}  // namespace

int qqpgif(ByteSink& out, const ImageInfo& info, RowReader& reader, int background,
           int transparent) {
  const int w = info.width, h = info.height;
  if (w < 1 || h < 1 || w > 65535 || h > 65535) return -2;
  std::size_t n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  std::unique_ptr<std::uint8_t[]> pixels(new (std::nothrow) std::uint8_t[n]);
  if (!pixels) return -2;
  // Colour indices, true-colour rasters giving their nearest indices; a
  // blended raster gets a palette of its own.
  int own[256];
  bool quantised = false;
  if (info.blended && info.rgb()) {
    std::unique_ptr<std::uint8_t[]> rgb(new (std::nothrow) std::uint8_t[3 * n]);
    if (!rgb) return -2;
    reader.rows(rgb.get(), 0, 0, -w, h);
    if (qqpqnt(rgb.get(), n, info.table, own, pixels.get()) == 0) return -2;
    quantised = true;
  } else {
    reader.rows(pixels.get(), 0, 0, w, h);
  }

  out.puts(transparent ? "GIF89a" : "GIF87a");
  out.le16(static_cast<unsigned>(w));
  out.le16(static_cast<unsigned>(h));
  const std::uint8_t screen[3] = {247, static_cast<std::uint8_t>(background & 255), 0};
  out.write(screen, 3);
  std::uint8_t table[3 * 256];
  for (int i = 0; i < 256; ++i) {
    int v = quantised ? own[i] : info.table ? info.table[i] : 0;
    table[3 * i] = static_cast<std::uint8_t>((v >> 16) & 255);
    table[3 * i + 1] = static_cast<std::uint8_t>((v >> 8) & 255);
    table[3 * i + 2] = static_cast<std::uint8_t>(v & 255);
  }
  out.write(table, sizeof table);
  if (transparent) {
    const std::uint8_t control[8] = {0x21, 0xF9, 4, 1, 0, 0,
                                     static_cast<std::uint8_t>(background & 255), 0};
    out.write(control, 8);
  }
  out.put(',');
  out.le16(0);
  out.le16(0);
  out.le16(static_cast<unsigned>(w));
  out.le16(static_cast<unsigned>(h));
  out.put(0);  // no local table, not interlaced
  if (qqplzw(out, pixels.get(), n) != 0) return -2;
  out.put(';');
  return 0;
}

int qqplzw(ByteSink& out, const std::uint8_t* pixels, std::size_t n) {
  std::unique_ptr<LzwCoder> coder(new (std::nothrow) LzwCoder(out));
  if (!coder) return -2;
  out.put(8);  // code size: 8-bit indices
  coder->encode(pixels, n);
  out.put(0);
  return 0;
}

int qqpgif(Global& g, char* name, std::size_t cap, const ImageInfo& info, RowReader& reader,
           int background, int transparent) {
  return qqpfile(g, name, cap, [&](ByteSink& out) {
    return qqpgif(out, info, reader, background, transparent);
  });
}

}  // namespace korvan
