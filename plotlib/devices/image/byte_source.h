// ByteSource: the input of the image readers, a file or a memory block.
// Reads never go past the end; a short read tells the reader that the data
// ends early.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace korvan {

class ByteSource {
 public:
  // Reads from a file the source does not own.
  explicit ByteSource(std::FILE* f) : file_(f) {}
  ByteSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  // Up to n bytes; returns the number read.
  std::size_t read(void* out, std::size_t n) {
    if (file_) return std::fread(out, 1, n, file_);
    std::size_t k = size_ - pos_ < n ? size_ - pos_ : n;
    if (k) std::memcpy(out, data_ + pos_, k);
    pos_ += k;
    return k;
  }
  // Reads exactly n bytes; false if the data end before.
  bool readAll(void* out, std::size_t n) { return read(out, n) == n; }
  // Skips n bytes; false if the data end before.
  bool skip(std::size_t n) {
    if (!file_) {
      if (size_ - pos_ < n) {
        pos_ = size_;
        return false;
      }
      pos_ += n;
      return true;
    }
    std::uint8_t buf[4096];
    while (n > 0) {
      std::size_t k = n < sizeof buf ? n : sizeof buf;
      if (std::fread(buf, 1, k, file_) != k) return false;
      n -= k;
    }
    return true;
  }

 private:
  std::FILE* file_ = nullptr;
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0, pos_ = 0;
};

}  // namespace korvan
