// Whole-buffer compression in the zlib format, for the PDF content streams
// and the PNG image data. libdeflate compresses a buffer in one call, several
// times faster than zlib at the same size (bench/deflate_bench.cpp).
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvan {

// The levels the writers use, chosen by measured speed and size: content
// streams are written in runs of megabytes, so PDF takes the fastest level
// (about 5 % larger than zlib's default, at a twelfth of its time); for PNG
// level 2 costs half of level 6 and writes 3 % more bytes, level 1 saves
// little more time for 11 % more bytes.
constexpr int kPdfDeflateLevel = 1;
constexpr int kPngDeflateLevel = 2;

// Room that compressing n bytes can need.
std::size_t qqzbound(std::size_t n, int level);
// Compresses n bytes of in into out (cap bytes); returns the length, or 0
// when it does not fit or no compressor could be made.
std::size_t qqzlib(const std::uint8_t* in, std::size_t n, std::uint8_t* out, std::size_t cap,
                   int level);

}  // namespace korvan
