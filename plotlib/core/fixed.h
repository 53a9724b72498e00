// Number formatting for the vector file writers, which write millions of
// coordinates: the same characters as printf's "%.2f", "%.3f" and "%d" at a
// fraction of the cost. Each routine writes at p and returns the end.
//
// A float times 100 or 1000 is exact in double (24 + 7 bits), so rounding
// that product to an integer in the current rounding mode (ties to even by
// default) is what printf does with the exact decimal value.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace korvan {

// n >= 0 without leading zeros.
inline char* fmtUnsigned(char* p, std::uint64_t n) {
  char tmp[20];
  int k = 0;
  do {
    tmp[k++] = static_cast<char>('0' + n % 10);
    n /= 10;
  } while (n != 0);
  while (k > 0) *p++ = tmp[--k];
  return p;
}

// "%d"
inline char* fmtInt(char* p, int n) {
  std::uint64_t u = static_cast<std::uint64_t>(n);
  if (n < 0) {
    *p++ = '-';
    u = 0 - u;
    u &= 0xFFFFFFFFu;
  }
  return fmtUnsigned(p, u);
}

// "%<width>d": right-aligned in at least width characters.
inline char* fmtInt(char* p, int n, int width) {
  char tmp[16];
  int len = static_cast<int>(fmtInt(tmp, n) - tmp);
  for (int i = len; i < width; ++i) *p++ = ' ';
  std::memcpy(p, tmp, static_cast<std::size_t>(len));
  return p + len;
}

// "%.<decimals>f" of a float, decimals 2 or 3.
inline char* fmtFixed(char* p, float v, int decimals) {
  const double scale = decimals == 2 ? 100.0 : 1000.0;
  const double a = std::fabs(static_cast<double>(v)) * scale;
  if (!(a < 1e15)) {
    // infinite, NaN or too large for the integer path
    int n = std::snprintf(p, 64, decimals == 2 ? "%.2f" : "%.3f", static_cast<double>(v));
    return p + (n > 0 ? n : 0);
  }
  if (std::signbit(v)) *p++ = '-';
  const auto q = static_cast<std::uint64_t>(std::nearbyint(a));
  const std::uint64_t div = decimals == 2 ? 100 : 1000;
  p = fmtUnsigned(p, q / div);
  *p++ = '.';
  std::uint64_t f = q % div;
  if (decimals == 3) {
    *p++ = static_cast<char>('0' + f / 100);
    f %= 100;
  }
  *p++ = static_cast<char>('0' + f / 10);
  *p++ = static_cast<char>('0' + f % 10);
  return p;
}

}  // namespace korvan
