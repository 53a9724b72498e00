#include "devices/device_table.h"

#include <cstring>

#include "core/edition.h"
#include "core/state.h"
#include "devices/cgm/cgm_driver.h"
#include "devices/driver.h"
#include "devices/gksl/gksl_driver.h"
#include "devices/hpgl/hpgl_driver.h"
#include "devices/java/java_driver.h"
#include "devices/kyocera/kyoc_driver.h"
#include "devices/null/null_driver.h"
#include "devices/pdf/pdf_driver.h"
#include "devices/postscript/ps_driver.h"
#include "devices/raster/agif_driver.h"
#include "devices/raster/raster_driver.h"
#include "devices/screen/screen_driver.h"
#include "devices/svg/svg_driver.h"
#include "devices/wmf/wmf_driver.h"

namespace korvan {

namespace {

template <class D>
Driver* withCode(int code) {
  return new D(code);
}
template <class D>
Driver* plain(int) {
  return new D();
}
Driver* none(int) { return new NullDriver(); }

using C = DeviceClass;
using F = FileKind;
constexpr bool Y = true, N = false;

// lo, hi, ext, class, file, pixels, window fonts, paper background, paper
// colours, small table only, swapped ends, black first, smooth, default table,
// make
const DeviceInfo kDevices[] = {
    {72, 80, "", C::Screen, F::None, Y, Y, N, N, N, N, N, Y, "rainbo", withCode<ScreenDriver>},
    {103, 103, "", C::Terminal, F::Lines, N, N, N, N, N, N, N, N, "rainbo", none},
    {151, 151, "tek", C::Terminal, F::Lines, N, N, N, N, N, N, N, N, "rainbo", none},
    {161, 161, "ln3", C::Terminal, F::Lines, N, N, N, N, N, N, N, N, "rainbo", none},
    {201, 201, "met", C::Metafile, F::Lines, N, N, N, N, N, N, N, N, "rainbo", plain<GkslDriver>},
    {211, 211, "cgm", C::Cgm, F::Records, N, N, N, Y, N, N, Y, N, "rainbo", plain<CgmDriver>},
    {221, 221, "wmf", C::Wmf, F::Bytes, N, Y, N, Y, N, Y, Y, N, "rainbo", plain<WmfDriver>},
    {301, 301, "kyo", C::Kyocera, F::Lines, N, N, N, N, Y, N, N, N, "rainbo", plain<KyocDriver>},
    {401, 405, "hpg", C::Hpgl, F::Lines, N, N, N, N, N, N, N, N, "rainbo", withCode<HpglDriver>},
    {501, 501, "psc", C::PostScript, F::Lines, N, N, N, Y, N, Y, N, N, "rgrey",
     withCode<PostScriptDriver>},
    {502, 502, "psc", C::PostScript, F::Lines, N, N, N, N, N, N, N, N, "rainbo",
     withCode<PostScriptDriver>},
    {503, 503, "eps", C::PostScript, F::Lines, N, N, Y, N, N, N, N, N, "rainbo",
     withCode<PostScriptDriver>},
    {504, 504, "ps", C::PostScript, F::Lines, N, N, Y, N, N, N, N, N, "rainbo",
     withCode<PostScriptDriver>},
    {511, 511, "pdf", C::Pdf, F::Bytes, N, N, Y, N, N, N, N, N, "rainbo", plain<PdfDriver>},
    {601, 601, "tif", C::Raster, F::Bytes, Y, N, N, N, N, N, N, Y, "rainbo", withCode<RasterDriver>},
    {602, 602, "img", C::Raster, F::Bytes, Y, N, N, N, N, N, N, N, "rainbo", withCode<RasterDriver>},
    {603, 603, "", C::Raster, F::None, Y, N, N, N, N, N, N, N, "rainbo", withCode<RasterDriver>},
    {604, 604, "png", C::Raster, F::Bytes, Y, N, N, N, N, N, N, Y, "rainbo", withCode<RasterDriver>},
    {605, 605, "ppm", C::Raster, F::Bytes, Y, N, N, N, N, N, N, Y, "rainbo", withCode<RasterDriver>},
    {606, 606, "bmp", C::Raster, F::Bytes, Y, N, N, N, N, N, N, Y, "rainbo", withCode<RasterDriver>},
    {607, 607, "gif", C::Raster, F::Bytes, Y, N, N, N, N, N, N, Y, "rainbo", withCode<RasterDriver>},
    {608, 608, "gif", C::Raster, F::Bytes, Y, N, N, N, N, N, N, Y, "rainbo",
     withCode<AnimatedGifDriver>},
    {701, 701, "java", C::Java, F::Text, N, N, N, Y, N, N, N, N, "rainbo", plain<JavaDriver>},
    {801, 801, "svg", C::Svg, F::Text, N, N, Y, N, N, N, N, N, "rainbo", plain<SvgDriver>},
};

const DeviceInfo kUnknown = {0, 0, "", C::None, F::None, N, N, N, N, N, N, N, N, "rainbo", none};

struct Keyword {
  const char* key;
  int code;
  int stored;  // the code metafl stores: the console window is window 80
};

// Searched in this order; "MET1".."MET9" are handled before the table.
const Keyword kKeywords[] = {
    {"GKSL", 201, 201}, {"CGM ", 211, 211}, {"KYOC", 301, 301}, {"HPGL", 401, 401}, {"HPA4", 402, 402},
    {"HPA3", 403, 403}, {"HPA2", 404, 404}, {"HPA1", 405, 405}, {"CONS", 101, 80},  {"TEKT", 151, 151},
    {"VT34", 103, 103}, {"LN03", 161, 161}, {"POST", 501, 501}, {"PSCL", 502, 502}, {"XWIN", 72, 72},
    {"XWI1", 72, 72},  {"XWI2", 73, 73},  {"XWI3", 74, 74},  {"XWI4", 75, 75},  {"XWI5", 76, 76},
    {"XWI6", 77, 77},  {"XWI7", 78, 78},  {"XWI8", 79, 79},  {"XWND", 80, 80},  {"TIFF", 601, 601},
    {"IMAG", 602, 602}, {"VIRT", 603, 603}, {"PNG ", 604, 604}, {"JAVA", 701, 701}, {"WMF ", 221, 221},
    {"PPM ", 605, 605}, {"PDF ", 511, 511}, {"EPS ", 503, 503}, {"BMP ", 606, 606}, {"PS  ", 504, 504},
    {"SVG ", 801, 801}, {"GIF ", 607, 607}, {"AGIF", 608, 608},
};

// GIF output is a matter of the edition.
bool available(const DeviceInfo& d) { return d.lo != 607 || edition().hasGif; }

}  // namespace

const DeviceInfo& deviceInfo(int code) {
  for (const DeviceInfo& d : kDevices)
    if (code >= d.lo && code <= d.hi) return available(d) ? d : kUnknown;
  return kUnknown;
}

int qqgdst(int code) {
  for (const Keyword& k : kKeywords)
    if (k.code == code) return k.stored;
  return code;
}

Driver* makeDriver(int device) { return deviceInfo(device).make(device); }

int qqgdnr(const char* keyword) {
  char key[5];
  qqkey4(keyword, key);
  if (key[0] == 'M' && key[1] == 'E' && key[2] == 'T' && key[3] >= '1' && key[3] <= '9')
    return 80;
  for (const Keyword& k : kKeywords)
    if (std::memcmp(k.key, key, 4) == 0) return deviceInfo(k.stored).cls == C::None ? 0 : k.code;
  return 0;
}

int qqgfxt(int code, char* text) {
  const char* ext = deviceInfo(code).ext;
  if (!*ext) ext = "   ";
  std::strcpy(text, ext);
  return std::strlen(ext) == 4 ? 4 : 3;
}

}  // namespace korvan
