#include "core/numtext.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace korvan {

namespace {
// |x| as it is printed with d decimals (d <= 0: the nearest integer).
double rounded(double x, int d) {
  double r = std::fabs(x);
  if (d <= 0) return std::floor(r + 0.5);
  const double p = std::pow(10.0, d);
  return std::floor(r * p + 0.5) / p;
}

// A value that prints as zero is zero: no "-0.0" for -0.04 or for the
// rounding error of a label value computed near zero.
double unsignedZero(double x, int d) { return rounded(x, d) == 0.0 ? 0.0 : x; }

int integerDigits(double r) {
  if (!std::isfinite(r)) return 3;  // "inf", "nan"
  int w = 1;
  for (double t = r; t >= 10.0; t /= 10.0)
    if (++w > 100) return 0;
  return w;
}
}  // namespace

int flen(float x, int d) {
  const double v = unsignedZero(x, d);
  const int w = integerDigits(rounded(v, d)) + (v < 0.0 ? 1 : 0);
  // Without decimals there is no decimal point either: the field is just
  // the digits and the sign.
  return d <= 0 ? w : d + w + 1;
}

int fcha(float x, int d, char* text, std::size_t cap) {
  const int n = flen(x, d);
  if (cap == 0) return n;
  const double v = unsignedZero(x, d);
  if (d > 0) {
    std::snprintf(text, cap, "%*.*f", n, d, v);
  } else if (d == 0) {
    std::snprintf(text, cap, "%*.0f", n, v);
  } else {
    // Half away from zero, printed from the double so that no value is too
    // large for an integer type.
    const double r = v < 0.0 ? -rounded(v, 0) : rounded(v, 0);
    std::snprintf(text, cap, "%.0f", r);
  }
  return n;
}

int intcha(int n, char* text, std::size_t cap) {
  if (cap == 0) return 0;
  int len = std::snprintf(text, cap, "%d", n);
  return len < static_cast<int>(cap) ? len : static_cast<int>(cap) - 1;
}

int gexpno(float x, int d, char* text, std::size_t cap, int form, char raise, char back) {
  if (cap == 0) return 0;
  double m = x;
  int e = 0;
  const double a = std::fabs(m);
  if (a != 0.0 && std::isfinite(a)) {
    e = static_cast<int>(std::floor(std::log10(a)));
    m = x / std::pow(10.0, e);
    if (std::fabs(m) >= 10.0) {  // log10 rounded up at a power of ten
      m /= 10.0;
      ++e;
    } else if (std::fabs(m) < 1.0) {
      m *= 10.0;
      --e;
    }
    // A mantissa that rounds to 10 at d decimals is written as 1 of the
    // next power: 9.996 with 2 decimals is 1.00*10^1, not 10.00*10^0.
    if (rounded(m, d) >= 10.0) {
      m /= 10.0;
      ++e;
    }
  }
  char mant[64], ex[16];
  fcha(static_cast<float>(m), d, mant, sizeof mant);
  intcha(e, ex, sizeof ex);
  int n;
  if (form == 1)
    n = std::snprintf(text, cap, "%s*10%c%s%c", mant, raise, ex, back);
  else
    n = std::snprintf(text, cap, "%sE%s", mant, ex);
  return n < static_cast<int>(cap) ? n : static_cast<int>(cap) - 1;
}

}  // namespace korvan
