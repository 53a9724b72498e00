// Reading GIF files (qqpigif): the first image of the file, with its local or
// the global colour table, interlaced or not. Extensions are skipped.
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "devices/image/byte_source.h"
#include "devices/image/image.h"

namespace korvan {

namespace {

class GifDecoder {
 public:
  GifDecoder(ByteSource& in, VirtualRaster& raster, int x, int y)
      : in_(in), raster_(raster), x_(x), y_(y) {}

  int run() {
    std::uint8_t sig[6];
    if (!in_.readAll(sig, 6) || std::memcmp(sig, "GIF8", 4) != 0 ||
        (sig[4] != '7' && sig[4] != '9') || sig[5] != 'a')
      return 3;
    int sw = qqgifwrd(), sh = qqgifwrd(), packed = qqgifbyt();
    if (sw < 0 || sh < 0 || packed < 0 || qqgifbyt() < 0 || qqgifbyt() < 0) return 3;
    if (packed & 0x80) {
      globalSize_ = 2 << (packed & 7);
      if (!in_.readAll(global_, 3 * static_cast<std::size_t>(globalSize_))) return 4;
    }
    for (;;) {
      int b = qqgifbyt();
      if (b < 0) return 4;
      if (b == 0x2C) return qqgifpic();
      if (b == 0x3B) return 3;  // a file without an image
      if (b != 0x21) return 3;
      if (qqgifbyt() < 0) return 4;  // extension label
      for (;;) {
        int n = qqgifblk();
        if (n < 0) return 4;
        if (n == 0) break;
      }
    }
  }

 private:
  static constexpr int kCodes = 4096;

  int qqgifbyt() {
    std::uint8_t b;
    return in_.read(&b, 1) == 1 ? b : -1;
  }
  int qqgifwrd() {
    int lo = qqgifbyt(), hi = qqgifbyt();
    return lo < 0 || hi < 0 ? -1 : lo | (hi << 8);
  }
  // The next data sub-block into block_; its length, 0 at the terminator,
  // -1 when the data end.
  int qqgifblk() {
    int n = qqgifbyt();
    if (n < 0) return -1;
    if (n > 0 && !in_.readAll(block_, static_cast<std::size_t>(n))) return -1;
    blockLen_ = n;
    blockPos_ = 0;
    return n;
  }
  // The next LZW code of the current width; -1 when the data end.
  int qqgifcod() {
    while (nacc_ < bits_) {
      if (blockPos_ == blockLen_) {
        if (ended_ || qqgifblk() <= 0) {
          ended_ = true;
          return -1;
        }
      }
      acc_ |= static_cast<std::uint32_t>(block_[blockPos_++]) << nacc_;
      nacc_ += 8;
    }
    int code = static_cast<int>(acc_ & ((1u << bits_) - 1));
    acc_ >>= bits_;
    nacc_ -= bits_;
    return code;
  }
  // One decoded pixel; a completed row goes to the raster.
  void qqgifpix(int index) {
    if (row_ >= height_) return;
    std::uint8_t* o = line_.get() + 3 * static_cast<std::size_t>(col_);
    if (table_) {
      if (index < tableSize_) {
        o[0] = table_[3 * index];
        o[1] = table_[3 * index + 1];
        o[2] = table_[3 * index + 2];
      } else {
        o[0] = o[1] = o[2] = 0;
      }
    } else {
      line_[col_] = static_cast<std::uint8_t>(index);
    }
    if (++col_ < width_) return;
    col_ = 0;
    qqprow(raster_, line_.get(), x_ + left_, y_ + top_ + rowY(row_), table_ ? -width_ : width_);
    ++row_;
  }
  // The image row of the n-th decoded row: in four passes when interlaced.
  int rowY(int n) const {
    if (!interlaced_) return n;
    int p1 = (height_ + 7) / 8, p2 = (height_ + 3) / 8, p3 = (height_ + 1) / 4;
    if (n < p1) return 8 * n;
    n -= p1;
    if (n < p2) return 8 * n + 4;
    n -= p2;
    if (n < p3) return 4 * n + 2;
    return 2 * (n - p3) + 1;
  }

  int qqgifpic() {
    left_ = qqgifwrd();
    top_ = qqgifwrd();
    width_ = qqgifwrd();
    height_ = qqgifwrd();
    int packed = qqgifbyt();
    if (left_ < 0 || top_ < 0 || width_ < 0 || height_ < 0 || packed < 0) return 4;
    interlaced_ = (packed & 0x40) != 0;
    table_ = globalSize_ ? global_ : nullptr;
    tableSize_ = globalSize_;
    if (packed & 0x80) {
      tableSize_ = 2 << (packed & 7);
      if (!in_.readAll(local_, 3 * static_cast<std::size_t>(tableSize_))) return 4;
      table_ = local_;
    }
    int minBits = qqgifbyt();
    if (minBits < 0) return 4;
    if (minBits < 1 || minBits > 8) return 3;
    if (width_ == 0 || height_ == 0) return 0;
    line_.reset(new (std::nothrow) std::uint8_t[3 * static_cast<std::size_t>(width_)]);
    std::unique_ptr<std::uint16_t[]> prefix(new (std::nothrow) std::uint16_t[kCodes]);
    std::unique_ptr<std::uint8_t[]> suffix(new (std::nothrow) std::uint8_t[kCodes]);
    std::unique_ptr<std::uint8_t[]> stack(new (std::nothrow) std::uint8_t[kCodes + 1]);
    if (!line_ || !prefix || !suffix || !stack) return 2;

    const int clear = 1 << minBits, end = clear + 1;
    int free = clear + 2, prev = -1, first = 0;
    bits_ = minBits + 1;
    for (;;) {
      int code = qqgifcod();
      if (code < 0) break;
      if (code == clear) {
        free = clear + 2;
        bits_ = minBits + 1;
        prev = -1;
        continue;
      }
      if (code == end) break;
      if (prev < 0) {
        if (code > clear) return 4;  // the first code must be a pixel
        qqgifpix(code);
        prev = first = code;
        continue;
      }
      if (code > free || (code == free && free >= kCodes)) return 4;
      int depth = 0;
      int cur = code;
      if (code == free) {  // the string just being defined
        stack[depth++] = static_cast<std::uint8_t>(first);
        cur = prev;
      }
      while (cur > end) {
        if (depth >= kCodes) return 4;
        stack[depth++] = suffix[cur];
        cur = prefix[cur];
      }
      if (cur >= clear) return 4;
      first = cur;
      stack[depth++] = static_cast<std::uint8_t>(cur);
      while (depth > 0) qqgifpix(stack[--depth]);
      if (free < kCodes) {
        prefix[free] = static_cast<std::uint16_t>(prev);
        suffix[free] = static_cast<std::uint8_t>(first);
        ++free;
        if (free == (1 << bits_) && bits_ < 12) ++bits_;
      }
      prev = code;
    }
    return row_ < height_ ? 4 : 0;
  }

  ByteSource& in_;
  VirtualRaster& raster_;
  int x_, y_;
  std::uint8_t global_[3 * 256];
  std::uint8_t local_[3 * 256];
  int globalSize_ = 0;
  const std::uint8_t* table_ = nullptr;
  int tableSize_ = 0;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool interlaced_ = false;
  std::unique_ptr<std::uint8_t[]> line_;
  int col_ = 0, row_ = 0;
  std::uint8_t block_[255];
  int blockLen_ = 0, blockPos_ = 0;
  bool ended_ = false;
  std::uint32_t acc_ = 0;
  int nacc_ = 0;
  int bits_ = 9;
};

}  // namespace

int qqpigif(ByteSource& in, VirtualRaster& raster, int x, int y) {
  std::unique_ptr<GifDecoder> d(new (std::nothrow) GifDecoder(in, raster, x, y));
  if (!d) return 2;
  return d->run();
}

int qqpigif(const char* path, VirtualRaster& raster, int x, int y) {
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return 1;
  ByteSource in(f);
  int code = qqpigif(in, raster, x, y);
  std::fclose(f);
  return code;
}

}  // namespace korvan
