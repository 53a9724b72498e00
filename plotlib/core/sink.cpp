#include "core/sink.h"

#include <cstdarg>
#include <new>

namespace korvan {

ByteSink::~ByteSink() {
  if (file_) {
    drain();
    std::fclose(file_);
  }
}

void ByteSink::drain() {
  if (used_ > 0 && file_ && !failed_ && std::fwrite(buffer_.get(), 1, used_, file_) != used_)
    failed_ = true;
  used_ = 0;
}

void ByteSink::writeSlow(const void* data, std::size_t n) {
  if (n == 0) return;
  count_ += n;
  if (mem_) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    mem_->insert(mem_->end(), p, p + n);
    return;
  }
  if (!file_ || failed_) return;
  if (!buffer_) buffer_.reset(new (std::nothrow) std::uint8_t[kBuffer]);
  drain();
  if (buffer_ && n < kBuffer) {
    std::memcpy(buffer_.get(), data, n);
    used_ = n;
    return;
  }
  if (std::fwrite(data, 1, n, file_) != n) failed_ = true;
}

void ByteSink::printf(const char* fmt, ...) {
  char buf[512];
  va_list ap;
  va_start(ap, fmt);
  int n = std::vsnprintf(buf, sizeof buf, fmt, ap);
  va_end(ap);
  if (n < 0) return;
  if (static_cast<std::size_t>(n) < sizeof buf) {
    write(buf, static_cast<std::size_t>(n));
    return;
  }
  std::string big(static_cast<std::size_t>(n) + 1, '\0');
  va_start(ap, fmt);
  std::vsnprintf(big.data(), big.size(), fmt, ap);
  va_end(ap);
  write(big.data(), static_cast<std::size_t>(n));
}

void ByteSink::be16(unsigned v) {
  std::uint8_t b[2] = {std::uint8_t(v >> 8), std::uint8_t(v)};
  write(b, 2);
}
void ByteSink::be32(std::uint32_t v) {
  std::uint8_t b[4] = {std::uint8_t(v >> 24), std::uint8_t(v >> 16), std::uint8_t(v >> 8),
                       std::uint8_t(v)};
  write(b, 4);
}
void ByteSink::le16(unsigned v) {
  std::uint8_t b[2] = {std::uint8_t(v), std::uint8_t(v >> 8)};
  write(b, 2);
}
void ByteSink::le32(std::uint32_t v) {
  std::uint8_t b[4] = {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16),
                       std::uint8_t(v >> 24)};
  write(b, 4);
}

bool ByteSink::close() {
  if (file_) {
    drain();
    if (std::fflush(file_) != 0) failed_ = true;
    if (std::ferror(file_)) failed_ = true;
    if (std::fclose(file_) != 0) failed_ = true;
    file_ = nullptr;
  }
  return !failed_;
}

}  // namespace korvan
