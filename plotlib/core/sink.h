// ByteSink: the one output stream of the file drivers. It counts the bytes
// written (offsets for cross-reference tables come for free) and remembers
// the first write error, which is reported once when the file is closed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace korvan {

class ByteSink {
 public:
  // A sink that writes into a file it owns.
  explicit ByteSink(std::FILE* f) : file_(f) {}
  // A sink that appends to a memory buffer owned by the caller.
  explicit ByteSink(std::vector<std::uint8_t>* mem) : mem_(mem) {}
  ByteSink(const ByteSink&) = delete;
  ByteSink& operator=(const ByteSink&) = delete;
  ~ByteSink();

  void write(const void* data, std::size_t n) {
    if (n <= kBuffer - used_ && buffer_) {
      std::memcpy(buffer_.get() + used_, data, n);
      used_ += n;
      count_ += n;
      return;
    }
    writeSlow(data, n);
  }
  void put(char c) { write(&c, 1); }
  void puts(const std::string& s) { write(s.data(), s.size()); }
  void printf(const char* fmt, ...)
#if defined(__GNUC__)
      __attribute__((format(printf, 2, 3)))
#endif
      ;
  void be16(unsigned v);
  void be32(std::uint32_t v);
  void le16(unsigned v);
  void le32(std::uint32_t v);

  std::uint64_t count() const { return count_; }
  bool failed() const { return failed_; }
  // Closes the file; false if any write, the flush or the close failed.
  bool close();

 private:
  void writeSlow(const void* data, std::size_t n);
  void drain();  // the buffered bytes to the file

  std::FILE* file_ = nullptr;
  std::vector<std::uint8_t>* mem_ = nullptr;
  // Writes to a file gather here first: the drivers write a few bytes at a
  // time, millions of times per plot.
  static constexpr std::size_t kBuffer = 65536;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::size_t used_ = 0;
  std::uint64_t count_ = 0;
  bool failed_ = false;
};

}  // namespace korvan
