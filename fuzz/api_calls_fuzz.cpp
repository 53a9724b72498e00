// libFuzzer target: random sequences of public calls with arbitrary
// arguments (extreme integers, non-finite floats, any text), at any level,
// on the file devices. Each input runs in an empty scratch directory whose
// files are removed afterwards; the library must never crash, and every
// plot must end at level 0.
#include <dirent.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/state.h"
#include "korvan.h"

namespace {

class Input {
 public:
  Input(const std::uint8_t* d, std::size_t n) : d_(d), n_(n) {}
  bool empty() const { return at_ >= n_; }
  std::uint8_t byte() { return at_ < n_ ? d_[at_++] : 0; }
  int integer() {
    // Mostly small page values, sometimes the ends of the range.
    switch (byte() % 8) {
      case 0: return INT_MAX;
      case 1: return INT_MIN;
      case 2: {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | byte();
        return static_cast<int>(v);
      }
      default: return (byte() << 8 | byte()) - 16384;
    }
  }
  float real() {
    switch (byte() % 8) {
      case 0: return INFINITY;
      case 1: return -INFINITY;
      case 2: return NAN;
      case 3: {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | byte();
        float f;
        std::memcpy(&f, &v, sizeof f);
        return f;
      }
      default: return static_cast<float>(static_cast<std::int16_t>(byte() << 8 | byte())) / 16.0f;
    }
  }
  // A text of up to 40 bytes, or one of the given keywords.
  const char* text(const char* const* words = nullptr, int count = 0) {
    int pick = byte();
    if (words && pick % 4 != 0) return words[pick % count];
    int len = byte() % 41, i = 0;
    for (; i < len && !empty(); ++i) buf_[i] = static_cast<char>(byte());
    buf_[i] = '\0';
    return buf_;
  }

 private:
  const std::uint8_t* d_;
  std::size_t n_, at_ = 0;
  char buf_[48];
};

const char* const kDevices[] = {"PS", "EPS", "PDF", "SVG", "CGM", "GKSL", "HPGL", "KYOC", "JAVA",
                                "WMF", "PNG", "GIF", "BMP", "TIFF", "PPM", "IMAG", "VIRT", "POST"};
const char* const kColours[] = {"RED", "GREEN", "BLUE", "FORE", "BACK", "WHITE", "BLACK"};
const char* const kTables[] = {"RAINBOW", "GREY", "RGREY", "TEMP", "SMALL", "VGA"};
const char* const kShield[] = {"MESS", "SYMB", "BARS", "PIE", "LEGE"};
const char* const kShieldMode[] = {"ON", "OFF", "VIS", "NOVIS", "DELETE", "RESET"};
const char* const kAxes[] = {"X", "Y", "XY", "Z"};
const char* const kScale[] = {"LIN", "LOG"};
const char* const kOnOff[] = {"ON", "OFF"};
const char* const kFonts[] = {"COMP", "SIMP", "HELV", "Times", ""};
const char* const kOrigin[] = {"TOP", "BOTTOM"};
const char* const kTex[] = {"$x_i^2$", "\\frac{a}{b}", "\\alpha particles", "$\\sqrt[3]{x}$",
                            "a^b_c", "\\red{red}"};

void removeFiles() {
  DIR* d = opendir(".");
  if (!d) return;
  while (dirent* e = readdir(d))
    if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) unlink(e->d_name);
  closedir(d);
}

void call(Input& in) {
  int op = in.byte() % 48;
  switch (op) {
    case 0: metafl(in.text(kDevices, 18)); break;
    case 1: korini(); break;
    case 2: korfin(); break;
    case 3: winini(); break;
    case 4: pagorg(in.text(kOrigin, 2)); break;
    case 5: pagera(); break;
    case 6: pagfll(in.integer()); break;
    case 7: { int a = in.integer(), b = in.integer(), c = in.integer(); line(a, b, c, in.integer()); break; }
    case 8: linwid(in.integer()); break;
    case 9: lintyp(in.integer()); break;
    case 10: { int ray[10]; int n = in.byte() % 11; for (int i = 0; i < n; ++i) ray[i] = in.integer(); myline(ray, n); break; }
    case 11: switch (in.byte() % 8) { case 0: solid(); break; case 1: dot(); break; case 2: dash(); break; case 3: chndsh(); break; case 4: chndot(); break; case 5: dashm(); break; case 6: dotl(); break; default: dashl(); } break;
    case 12: color(in.text(kColours, 7)); break;
    case 13: setvlt(in.text(kTables, 6)); break;
    case 14: { int x[12], y[12]; int n = in.byte() % 13; for (int i = 0; i < n; ++i) { x[i] = in.integer(); y[i] = in.integer(); } areaf(x, y, n); break; }
    case 15: shdpat(in.integer()); break;
    case 16: { int a = in.integer(), b = in.integer(), c = in.integer(); mypat(a, b, c, in.integer()); break; }
    case 17: { const char* c = in.text(kShield, 5); std::string keep = c; shield(keep.c_str(), in.text(kShieldMode, 6)); break; }
    case 18: { int a = in.integer(), b = in.integer(), c = in.integer(); shlrec(a, b, c, in.integer()); break; }
    case 19: { int a = in.integer(), b = in.integer(), c = in.integer(), d = in.integer(); shlrct(a, b, c, d, in.real()); break; }
    case 20: shlres(in.integer()); break;
    case 21: { int a = in.integer(), b = in.integer(), c = in.integer(), d = in.integer(); float e = in.real(), f = in.real(); arcell(a, b, c, d, e, f, in.real()); break; }
    case 22: { int a = in.integer(), b = in.integer(), c = in.integer(), d = in.integer(); vector(a, b, c, d, in.integer()); break; }
    case 23: { int a = in.integer(), b = in.integer(); symbol(a, b, in.integer()); break; }
    case 24: hsymbl(in.integer()); break;
    case 25: { const char* t = in.text(kTex, 6); std::string keep = t; int a = in.integer(); messag(keep.c_str(), a, in.integer()); break; }
    case 26: nlmess(in.text(kTex, 6)); break;
    case 27: height(in.integer()); break;
    case 28: angle(in.integer()); break;
    case 29: koralf(); break;
    case 30: complx(); break;
    case 31: texmod(in.text(kOnOff, 2)); break;
    case 32: winfnt(in.text(kFonts, 5)); break;
    case 33: bmpfnt(in.text(kFonts, 5)); break;
    case 34: { float v[8]; for (float& f : v) f = in.real(); graf(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]); break; }
    case 35: endgrf(); break;
    case 36: xaxgit(); break;
    case 37: { float x[16], y[16]; int n = in.byte() % 17; for (int i = 0; i < n; ++i) { x[i] = in.real(); y[i] = in.real(); } curve(x, y, n); break; }
    case 38: { const char* t = in.text(); std::string keep = t; name(keep.c_str(), in.text(kAxes, 4)); break; }
    case 39: { int a = in.integer(); axslen(a, in.integer()); break; }
    case 40: { int a = in.integer(); axspos(a, in.integer()); break; }
    case 41: { int a = in.integer(); labdig(a, in.text(kAxes, 4)); break; }
    case 42: { int a = in.integer(); ticks(a, in.text(kAxes, 4)); break; }
    case 43: { const char* c = in.text(kScale, 2); std::string keep = c; axsscl(keep.c_str(), in.text(kAxes, 4)); break; }
    case 44: { int a = in.integer(), b = in.integer(); incdat(a, b, in.integer()); break; }
    case 45: { int d, m, y; trfdat(in.integer(), &d, &m, &y); break; }
    case 46: { int a = in.integer(), b = in.integer(); nwkday(a, b, in.integer()); break; }
    default: switch (in.byte() % 3) { case 0: erase(); break; case 1: sendbf(); break; default: x11fnt(in.text(kFonts, 5), "STANDARD"); } break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char tmpl[] = "/tmp/korvan-api-fuzz-XXXXXX";
  if (!mkdtemp(tmpl) || chdir(tmpl) != 0) std::abort();
  // The warnings and protocols of millions of plots are not wanted.
  if (!std::freopen("/dev/null", "w", stdout)) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  Input in(data, size);
  for (int calls = 0; !in.empty() && calls < 64; ++calls) call(in);
  if (korvan::qqgglb().level != 0) korfin();
  if (korvan::qqgglb().level != 0) __builtin_trap();
  korvan::qqsglb(1);
  removeFiles();
  return 0;
}
