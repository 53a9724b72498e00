// libFuzzer target: any byte string read as TeX-style text, measured and
// drawn with the stroke fonts. The pipeline, colour and warning routines
// the reader calls are replaced by checks: every point it emits is finite
// and near the page, and the reader leaves the baseline as it found it.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/state.h"
#include "draw/colour.h"
#include "draw/pipeline.h"
#include "text/devfont.h"
#include "text/font.h"
#include "text/mixing.h"
#include "text/tex.h"

namespace korvan {

namespace {
long points = 0;
void check(float x, float y) {
  if (!std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > 1e6f || std::fabs(y) > 1e6f)
    __builtin_trap();
  ++points;
}
}  // namespace

void qqmove(Global&, float x, float y) { check(x, y); }
void qqdraw(Global&, float x, float y) { check(x, y); }
void qqsclr(Global& g, int index) { g.currentColour = index; }
// The block owns its driver; the fuzzer never makes one.
void DriverDeleter::operator()(Driver*) const {}
void qqcolr(Global& g, const char* name) { g.currentColour = name && *name ? name[0] : 0; }
void qqserr(Global& g, const char* text) { std::strncpy(g.lastError, text, sizeof g.lastError - 1); }
void warnin(Global& g, int) { g.warningCount += 1; }
void qqdfof(Global&) {}
bool qqdfwd(Global&, int, float, float&, float&) { return false; }
void qqchar(Global&, int, float, float, float) {}
bool smixal(Global&, int) { return false; }

}  // namespace korvan

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvan;
  if (size < 2) return 0;
  static Global g;
  g = Global{};
  g.texEscape = '\\';
  g.baseAlphabet = g.alphabet = 1;
  g.italicDivisor = 3.732f;
  g.widthFactor = 1.0f;
  if (data[0] & 1)
    qqcplx(g);
  else
    qqkrlf(g);
  g.charHeight = 1 + data[0] / 2;
  g.measuring = (data[1] & 1);
  double a = (data[1] >> 1) * 3.0 * 3.14159265358979 / 180.0;
  g.textSin = static_cast<float>(std::sin(a));
  g.textCos = static_cast<float>(std::cos(a));
  g.textX = g.startX = 1000.0f;
  g.textY = g.startY = 1000.0f;
  int n = static_cast<int>(size - 2 > 256 ? 256 : size - 2);
  float reach = 0.0f;
  points = 0;
  bool ok = qqtexs(g, reinterpret_cast<const char*>(data + 2), n, &reach);
  if (g.baseShift != 0.0f || !std::isfinite(reach) || reach < 0.0f) __builtin_trap();
  if (!ok && (g.textX != 1000.0f || g.textY != 1000.0f || g.warningCount != 1)) __builtin_trap();
  if (ok && g.warningCount != 0) __builtin_trap();
  if (points > 2000000) __builtin_trap();
  return 0;
}
