#include "devices/deflate.h"

#include <memory>

#if defined(KORVAN_HAVE_LIBDEFLATE)
#include <libdeflate.h>
#else
#include <zlib.h>
#endif

namespace korvan {

#if defined(KORVAN_HAVE_LIBDEFLATE)

namespace {

struct Free {
  void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// One compressor per level, made at first use and kept: making one costs
// more than compressing a small stream.
libdeflate_compressor* compressor(int level) {
  static std::unique_ptr<libdeflate_compressor, Free> made[13];
  if (level < 0 || level > 12) level = 6;
  auto& c = made[level];
  if (!c) c.reset(libdeflate_alloc_compressor(level));
  return c.get();
}

}  // namespace

std::size_t qqzbound(std::size_t n, int level) {
  libdeflate_compressor* c = compressor(level);
  // without a compressor nothing is written, but the caller's room stays sound
  return c ? libdeflate_zlib_compress_bound(c, n) : n + n / 100 + 64;
}

std::size_t qqzlib(const std::uint8_t* in, std::size_t n, std::uint8_t* out, std::size_t cap,
                   int level) {
  libdeflate_compressor* c = compressor(level);
  if (!c) return 0;
  return libdeflate_zlib_compress(c, in, n, out, cap);
}

#else

// zlib, where libdeflate is not available: the same zlib-format stream,
// compressed in one call as well.
std::size_t qqzbound(std::size_t n, int) { return compressBound(static_cast<uLong>(n)); }

std::size_t qqzlib(const std::uint8_t* in, std::size_t n, std::uint8_t* out, std::size_t cap,
                   int level) {
  uLongf len = static_cast<uLongf>(cap);
  if (level < 0 || level > 9) level = 6;
  if (compress2(out, &len, in, static_cast<uLong>(n), level) != Z_OK) return 0;
  return len;
}

#endif

}  // namespace korvan
