// Helpers of the image writers: byte order, CRC, memory buffers, files.
#include <cstring>

#include "core/sink.h"
#include "core/state.h"
#include "devices/image/image.h"

namespace korvan {

int qqpord() {
  const std::uint16_t probe = 1;
  std::uint8_t first;
  std::memcpy(&first, &probe, 1);
  return first == 1 ? 1 : 0;
}

namespace {
const std::uint32_t* crcTable() {
  static std::uint32_t table[256];
  static bool built = false;
  if (!built) {
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[n] = c;
    }
    built = true;
  }
  return table;
}
}  // namespace

std::uint32_t qqpcrcx(std::uint32_t crc, const std::uint8_t* data, std::size_t n) {
  const std::uint32_t* t = crcTable();
  std::uint32_t c = crc ^ 0xFFFFFFFFu;
  for (std::size_t i = 0; i < n; ++i) c = t[(c ^ data[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::uint32_t qqpcrc(const std::uint8_t* data, std::size_t n) { return qqpcrcx(0, data, n); }

void qqpswp(std::uint8_t* words, int n) {
  for (int i = 0; i < n; ++i) {
    std::uint8_t* w = words + 4 * i;
    std::uint8_t a = w[0], b = w[1];
    w[0] = w[3];
    w[1] = w[2];
    w[2] = b;
    w[3] = a;
  }
}

void qqpswp2(std::uint8_t* words, int n) {
  for (int i = 0; i < n; ++i) {
    std::uint8_t a = words[2 * i];
    words[2 * i] = words[2 * i + 1];
    words[2 * i + 1] = a;
  }
}

int qqpbuf(std::uint8_t* buffer, int capacity, int position, const std::uint8_t* data, int n) {
  if (n < 0 || position < 0) return 0;
  if (capacity == 0) return position + n;
  if (n > capacity - position) return 0;
  if (n > 0) std::memcpy(buffer + position, data, static_cast<std::size_t>(n));
  return position + n;
}

int qqpfile(Global& g, char* name, std::size_t cap, const std::function<int(ByteSink&)>& write) {
  std::unique_ptr<ByteSink> sink = qqopfl(g, name, cap, true);
  if (!sink) return -1;
  int code = write(*sink);
  if (!qqclfl(g, sink) && code == 0) code = -1;
  return code;
}

}  // namespace korvan
