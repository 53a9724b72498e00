// autgrf: an axis system whose ends, first label and step are chosen from
// the data: round steps (1, 2 or 5 times a power of ten), at most nine
// labels, the data inside; whole decades on logarithmic axes.
#include <algorithm>
#include <cmath>

#include "core/state.h"
#include "korvan.h"

using namespace korvan;

namespace {

struct Scale {
  float a, e, org, step;
  int digits;  // label decimals; -1 whole numbers
};

// The smallest round step that needs at most nine labels from lo to hi.
Scale linear(double lo, double hi) {
  if (lo == hi) {
    const double d = lo == 0.0 ? 1.0 : std::fabs(lo) * 0.1;
    lo -= d;
    hi += d;
  }
  const double raw = (hi - lo) / 10.0;
  double power = std::pow(10.0, std::floor(std::log10(raw)));
  static const double kMant[] = {1.0, 2.0, 5.0};
  double step = power, a = lo, e = hi;
  for (int tries = 0; tries < 12; ++tries) {
    bool found = false;
    for (double m : kMant) {
      step = m * power;
      a = std::floor(lo / step + 1e-9) * step;
      e = std::ceil(hi / step - 1e-9) * step;
      if ((e - a) / step <= 8.0 + 1e-9) {
        found = true;
        break;
      }
    }
    if (found) break;
    power *= 10.0;
  }
  // Round the ends to the step to keep labels like 0.30000001 out.
  a = std::round(a / step) * step;
  e = std::round(e / step) * step;
  const int decimals = static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
  return {static_cast<float>(a), static_cast<float>(e), static_cast<float>(a),
          static_cast<float>(step), decimals > 0 ? decimals : -1};
}

// Whole decades around lo..hi (both > 0), a step of whole decades that
// needs at most ten labels.
Scale logarithmic(double lo, double hi) {
  double a = std::floor(std::log10(lo) + 1e-9), e = std::ceil(std::log10(hi) - 1e-9);
  if (e <= a) e = a + 1.0;
  const double step = std::max(1.0, std::ceil((e - a) / 9.0));
  e = a + std::ceil((e - a) / step) * step;
  return {static_cast<float>(a), static_cast<float>(e), static_cast<float>(a),
          static_cast<float>(step), -1};
}

// The scale of one axis from n values; false when no value is usable.
bool choose(Global& g, const float* v, int n, int ax, Scale* s) {
  double lo = HUGE_VAL, hi = -HUGE_VAL, plo = HUGE_VAL, phi = -HUGE_VAL;
  for (int i = 0; i < n; ++i) {
    const double x = v[i];
    if (!std::isfinite(x)) continue;  // NaN and infinities are left out
    lo = std::min(lo, x);
    hi = std::max(hi, x);
    if (x > 0.0) {
      plo = std::min(plo, x);
      phi = std::max(phi, x);
    }
  }
  if (lo > hi) return false;
  if (g.axis[ax].logScale) {
    if (plo <= phi) {
      *s = logarithmic(plo, phi);
      return true;
    }
    // Nothing to show on a logarithm: the axis falls back to linear.
    warnin(g, 27);
    g.axis[ax].logScale = 0;
  }
  *s = linear(lo, hi);
  return true;
}

}  // namespace

extern "C" {

void autgrf(const float* xray, const float* yray, int n) {
  Global* gp = jqqlev(1, 1, "autgrf");
  if (!gp) return;
  Global& g = *gp;
  if (n < 1) return warni1(g, 30, n);
  if (!xray || !yray) return warnc1(g, 2, "null array");
  Scale sx{}, sy{};
  if (!choose(g, xray, n, 0, &sx) || !choose(g, yray, n, 1, &sy))
    return warnc1(g, 2, "no finite value");
  // Labels that fit the step; decades read best as powers of ten.
  const Scale* both[2] = {&sx, &sy};
  for (int k = 0; k < 2; ++k) {
    g.axis[k].labelDigits = both[k]->digits;
    if (g.axis[k].logScale) g.axis[k].logForm = 1;
  }
  graf(sx.a, sx.e, sx.org, sx.step, sy.a, sy.e, sy.org, sy.step);
}

}  // extern "C"
