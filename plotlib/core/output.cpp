// Output selection, file names and the installation directory.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#endif

#include "core/edition.h"
#include "core/sink.h"
#include "core/state.h"
#include "devices/driver.h"
#include "korvan.h"
#include "platform/system.h"

namespace korvan {

namespace {

struct Keyword {
  const char* key;
  int code;
};

// Searched in this order; "MET1".."MET9" are handled before the table.
const Keyword kKeywords[] = {
    {"GKSL", 201}, {"CGM ", 211}, {"KYOC", 301}, {"HPGL", 401}, {"HPA4", 402},
    {"HPA3", 403}, {"HPA2", 404}, {"HPA1", 405}, {"CONS", 101}, {"TEKT", 151},
    {"VT34", 103}, {"LN03", 161}, {"POST", 501}, {"PSCL", 502}, {"XWIN", 72},
    {"XWI1", 72},  {"XWI2", 73},  {"XWI3", 74},  {"XWI4", 75},  {"XWI5", 76},
    {"XWI6", 77},  {"XWI7", 78},  {"XWI8", 79},  {"XWND", 80},  {"TIFF", 601},
    {"IMAG", 602}, {"VIRT", 603}, {"PNG ", 604}, {"JAVA", 701}, {"WMF ", 221},
    {"PPM ", 605}, {"PDF ", 511}, {"EPS ", 503}, {"BMP ", 606}, {"PS  ", 504},
    {"SVG ", 801}, {"GIF ", 607},
};

struct Extension {
  int lo, hi;
  const char* ext;
};

const Extension kExtensions[] = {
    {201, 201, "met"}, {211, 211, "cgm"}, {301, 301, "kyo"}, {401, 405, "hpg"},
    {151, 151, "tek"}, {161, 161, "ln3"}, {501, 502, "psc"}, {504, 504, "ps"},
    {801, 801, "svg"}, {701, 701, "java"}, {601, 601, "tif"}, {602, 602, "img"},
    {604, 604, "png"}, {221, 221, "wmf"}, {605, 605, "ppm"}, {511, 511, "pdf"},
    {503, 503, "eps"}, {606, 606, "bmp"}, {607, 607, "gif"},
};

bool readable(const char* name) {
  std::FILE* f = std::fopen(name, "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

bool isSeparator(char c) {
#if defined(_WIN32)
  return c == '\\' || c == '/' || c == ':';
#else
  return c == '\\' || c == '/';
#endif
}

}  // namespace

int qqgdnr(const char* keyword) {
  char key[5];
  qqkey4(keyword, key);
  if (key[0] == 'M' && key[1] == 'E' && key[2] == 'T' && key[3] >= '1' && key[3] <= '9')
    return 80;
  for (const Keyword& k : kKeywords) {
    if (k.code == 607 && !edition().hasGif) continue;
    if (std::memcmp(k.key, key, 4) == 0) return k.code;
  }
  return 0;
}

int qqgfxt(int code, char* text) {
  const char* ext = "   ";
  for (const Extension& e : kExtensions) {
    if (e.lo == 607 && !edition().hasGif) continue;
    if (code >= e.lo && code <= e.hi) ext = e.ext;
  }
  std::strcpy(text, ext);
  return code == 701 ? 4 : 3;
}

namespace {

// The n-th version of a file name: the base name cut so that it keeps at most
// eight characters together with the suffix "_n". Version 0 is the name.
std::string versionName(const std::string& name, int n) {
  std::string full = name;
  while (!full.empty() && full.back() == ' ') full.pop_back();
  if (n == 0) return full;
  std::size_t start = 0;
  for (std::size_t i = 0; i < full.size(); ++i)
    if (isSeparator(full[i])) start = i + 1;
  std::size_t dot = full.rfind('.');
  if (dot == std::string::npos || dot < start) dot = full.size();
  char sfx[16];
  std::snprintf(sfx, sizeof sfx, "_%d", n);
  const std::string suffix = sfx;
  std::size_t keep = std::min(dot - start, 8 - suffix.size());
  std::string r;
  r.reserve(full.size() + suffix.size());
  r.append(full, 0, start);
  r.append(full, start, keep);
  r.append(suffix);
  r.append(full, dot, std::string::npos);
  return r;
}

[[noreturn]] void tooManyVersions() {
  std::printf("More than 9999 file versions!\n");
  qqfatal();
}

}  // namespace

void gfilnn(Global& g, char* name, std::size_t cap) {
  (void)g;
  if (!readable(name)) return;
  std::string original = name;
  for (int n = 1; n <= 9999; ++n) {
    std::string candidate = versionName(original, n);
    if (!readable(candidate.c_str())) {
      std::snprintf(name, cap, "%s", candidate.c_str());
      return;
    }
  }
  tooManyVersions();
}

int qqgetreg(char* text, std::size_t cap) {
  return platform::registryDirectory(text, cap) ? 0 : 1;
}

void qqgenv(const char* variable, char* text, std::size_t cap) {
  if (cap == 0) return;
  text[0] = '\0';
  const char* v = std::getenv(variable);
  if (v) {
    std::snprintf(text, cap, "%s", v);
    return;
  }
  if (std::strcmp(variable, "KORVAN") != 0) return;
  if (qqgetreg(text, cap) == 0) return;
#if defined(KORVAN_DATA_DIR)
  std::snprintf(text, cap, "%s", KORVAN_DATA_DIR);
#elif defined(_WIN32)
  std::snprintf(text, cap, "c:\\korvan");
#else
  std::snprintf(text, cap, "/usr/local/share/korvan");
#endif
}

ByteSink* qqopfl(Global& g, char* name, std::size_t cap, bool binary) {
  // Exclusive creation: an existing file is never overwritten. A name that
  // looks free but cannot be created because it exists after all (another
  // process took it in between, or a dangling link) moves on to the next
  // version.
  std::string original = name;
  for (int n = 0; n <= 9999; ++n) {
    std::string candidate = versionName(original, n);
    if (readable(candidate.c_str())) continue;
#if defined(_WIN32)
    // The runtime's fopen may not know the "x" mode: the exclusive creation
    // is asked of _open, in text mode except for the binary formats.
    std::FILE* f = nullptr;
    int fd = _open(candidate.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | (binary ? _O_BINARY : _O_TEXT),
                   _S_IREAD | _S_IWRITE);
    if (fd >= 0 && !(f = _fdopen(fd, binary ? "wb" : "w"))) _close(fd);
#else
    (void)binary;
    std::FILE* f = std::fopen(candidate.c_str(), "wbx");
#endif
    if (f) {
      std::snprintf(name, cap, "%s", candidate.c_str());
      return new ByteSink(f);
    }
    if (errno != EEXIST) {
      std::snprintf(name, cap, "%s", candidate.c_str());
      warnc1(g, 36, name);
      return nullptr;
    }
  }
  tooManyVersions();
}

bool qqclfl(Global& g, ByteSink*& sink) {
  if (!sink) return false;
  bool ok = sink->close();
  delete sink;
  sink = nullptr;
  if (!ok) {
    g.fileError = true;
    warnc1(g, 36, g.outFileName);
  }
  return ok;
}

void qqfopn(Global& g) {
  char ext[8];
  qqgfxt(g.device, ext);
  std::string e = ext;
  while (!e.empty() && e.back() == ' ') e.pop_back();
  std::snprintf(g.outFileName, sizeof g.outFileName, "korvan.%s", e.c_str());
  g.lineCapacity = 80;
  g.linePos = 0;
  gfilnn(g, g.outFileName, sizeof g.outFileName);
  if (isRasterDevice(g.device) || g.device == 221 || g.device == 511) return;
  g.lineBuffer = static_cast<char*>(std::malloc(static_cast<std::size_t>(g.lineCapacity) + 2));
  if (!g.lineBuffer) {
    warnin(g, 53);
    qqfatal();
  }
  g.outFile = qqopfl(g, g.outFileName, sizeof g.outFileName, g.device == 211);
  if (!g.outFile) g.fileError = true;
}

}  // namespace korvan

using namespace korvan;

extern "C" {

void metafl(const char* cfmt) {
  Global* g = jqqlev(0, 0, "metafl");
  if (!g) return;
  int code = qqgdnr(cfmt);
  if (code == 0) {
    warnc1(*g, 2, cfmt ? cfmt : "");
    return;
  }
  g->device = code == 101 ? 80 : code;
  qqkey4(cfmt, g->deviceName);
  // the stored name is the keyword itself, without the blank padding
  for (int i = 3; i >= 0 && g->deviceName[i] == ' '; --i) g->deviceName[i] = '\0';
  g->outputChosen = 1;
}

}  // extern "C"
