#include "core/numtext.h"

#include <cmath>
#include <cstdio>

namespace korvan {

int flen(float x, int d) {
  double r = std::fabs(static_cast<double>(x));
  if (d <= 0) {
    r = std::floor(r + 0.5);
  } else {
    const double p = std::pow(10.0, d);
    r = std::floor(r * p + 0.5) / p;
  }
  int w = 1;
  for (double t = r; t >= 10.0; t /= 10.0) {
    ++w;
    if (w > 100) {
      w = 0;
      break;
    }
  }
  return d + w + 1 + (x < 0.0f ? 1 : 0);
}

int fcha(float x, int d, char* text, std::size_t cap) {
  const int n = flen(x, d);
  if (cap == 0) return n;
  if (d >= 0) {
    std::snprintf(text, cap, "%*.*f", n, d, static_cast<double>(x));
  } else {
    const double r = std::round(static_cast<double>(x));  // half away from zero
    std::snprintf(text, cap, "%-*ld", -d, static_cast<long>(r));
  }
  return n;
}

int intcha(int n, char* text, std::size_t cap) {
  if (cap == 0) return 0;
  return std::snprintf(text, cap, "%d", n);
}

}  // namespace korvan
