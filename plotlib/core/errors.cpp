// Numbered warnings and the end-of-run protocol.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "core/edition.h"
#include "core/state.h"
#include "platform/system.h"

namespace korvan {

namespace {

const char* const kWarnings[58] = {
    "Negative parameter",
    "Incorrect parameter",
    "Incorrect level",
    "X coordinate out of page",
    "Y coordinate out of page",
    "Same tick number as in a call before",
    "First radius greater than second radius",
    "Start angle greater/equal end angle",
    "Step equal zero",
    "Begin and end of scaling are equal",
    "Axis length < 2",
    "Startlabel out of scaling",
    "Linear scaling must be used",
    "Linear interpolation must be used",
    "No call to legini before",
    "Too long string for legend line",
    "Not enough store for the legend buffer",
    "Incorrect character after the eushft operator",
    "The basealphabet cannot be used",
    "No metafile",
    "The routine must be called after korfin",
    "The metafile is deleted before",
    "Non positive minimum for log scaling (set to 0.1)",
    "Non positive maximum for log scaling (set to 1.0)",
    "Minimum equal maximum (added -1 and +1)",
    "Too many intersections",
    "Non positive values for log scaling",
    "Number of bars unequal number of main ticks",
    "Sum of data is zero",
    "Incorrect number of points",
    "Incorrect number of points for spline interpolation",
    "No increasing x coordinates for spline interpolation",
    "Incorrect viewpoint",
    "No call to grfini before",
    "Confusion of graf3d and graf3",
    "File error",
    "Incorrect filename",
    "Singular matrix",
    "Too many pages for CGM file (max. length 327 cm)",
    "File format and output device are incompatible",
    "Incorrect device for HPGL file",
    "More legend lines than calls to curve",
    "Instruction code: incorrect parameter",
    "Instruction code: incorrect tabulator index",
    "Instruction code: no integer value",
    "Instruction code: unknown command",
    "Blanking buffer overflow",
    "No call to psfont",
    "Fileformat is not PostScript",
    "Incorrect sign for step",
    "Non positive parameter",
    "Hiddenline overflow",
    "Not enough memory",
    "No call to imgfin",
    "No call to imgini",
    "Incorrect file format",
    "Control characters must be different",
    "Array is out of screen",
};

bool printing(const Global& g) { return g.messageUnit != 0 && g.messagesOn != 0; }


// Blanks removed from a number formatted with the given width.
std::string packed(const char* fmt, int v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, fmt, v);
  std::string s;
  for (const char* p = buf; *p; ++p)
    if (*p != ' ') s += *p;
  return s;
}

std::string patchText() {
  int p = edition().patchLevel;
  return p != 0 ? std::string(1, static_cast<char>(64 + p)) : std::string(" ");
}

}  // namespace

void errmes(Global& g, int n) {
  g.warningCount += 1;
  if (g.messageUnit == 0 || n > 100 || g.messagesOn == 0) return;
  const char* text = " ";
  if (n < 1 || n > 58)
    std::printf("<<<< Incorrect parameter in errmes! (%4d)\n", n);
  else
    text = kWarnings[n - 1];
  std::snprintf(g.lastError, sizeof g.lastError, "%s", text);
}

std::FILE* qqmfil(Global& g) {
  std::FILE* f = g.messageFile ? g.messageFile : stdout;
  if (f == stdout && g.consoleOff) return nullptr;
  if (f != stdout) g.errFileUsed = true;
  return f;
}

void qqmsg(Global& g, int n, const char* line) {
  if (std::FILE* f = qqmfil(g)) std::fprintf(f, " %s\n", line);
  if (g.warnHook) g.warnHook(n, g.routineName, line, g.warnHookData);
}

void warnin(Global& g, int n) {
  errmes(g, n);
  if (!printing(g)) return;
  char line[256];
  std::snprintf(line, sizeof line, "<<<< Warning %3d: %s in %s!", n, g.lastError, g.routineName);
  qqmsg(g, n, line);
}

void warni1(Global& g, int n, int value) {
  errmes(g, n);
  if (!printing(g)) return;
  char line[256];
  std::snprintf(line, sizeof line, "<<<< Warning %3d: %s in %s!   (%4d)", n, g.lastError,
                g.routineName, value);
  qqmsg(g, n, line);
}

void warnc1(Global& g, int n, const char* text) {
  errmes(g, n);
  if (!printing(g)) return;
  std::string line(300 + std::strlen(text), '\0');
  int len = std::snprintf(line.data(), line.size(), "<<<< Warning %3d: %s in %s!   (%s)", n,
                          g.lastError, g.routineName, text);
  line.resize(len > 0 ? static_cast<std::size_t>(len) : 0);
  qqmsg(g, n, line.c_str());
}

void qqserr(Global& g, const char* text) {
  std::snprintf(g.lastError, sizeof g.lastError, "%s", text);
}

std::tm qqltim() {
  return platform::localTime(std::time(nullptr));
}

std::tm qqftim() {
  // SOURCE_DATE_EPOCH: seconds since 1970 in UTC, so that a program run
  // twice gives the same bytes. Anything but a plain number is ignored.
  if (const char* e = std::getenv("SOURCE_DATE_EPOCH")) {
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(e, &end, 10);
    if (*e && end && *end == '\0' && errno == 0 && v >= 0)
      return platform::utcTime(static_cast<std::time_t>(v));
  }
  return qqltim();
}

const char* dddate(const std::tm& tmv) {
  static char buf[48];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%4d", tmv.tm_mday, tmv.tm_mon + 1,
                tmv.tm_year + 1900);
  return buf;
}

const char* ddtime(const std::tm& tmv) {
  static char buf[48];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", tmv.tm_hour, tmv.tm_min, tmv.tm_sec);
  return buf;
}

const char* dddate() { return dddate(qqltim()); }
const char* ddtime() { return ddtime(qqltim()); }

void dprcol(Global& g, int kind) {
  if (g.messageUnit == 0 || g.protocolOn == 0) return;
  std::FILE* f = qqmfil(g);
  if (!f) return;
  const char* bar = "<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<";
  std::string vec = packed("%10d", g.vectorCount);
  std::string warn = packed("%8d", g.warningCount);
  std::string date = dddate();
  std::string time = ddtime();
  std::fprintf(f, "\n %s", bar);
  std::fprintf(f, "\n <<                END OF KORVAN / VERSION %4.1f %s                <<",
               static_cast<double>(edition().version), patchText().c_str());
  std::fprintf(f, "\n <<  Date    : %10s  Time    : %8s  Pageformat: %4s  <<", date.c_str(),
               time.c_str(), g.pageFormat);
  std::fprintf(f, "\n <<  Vectors : %-10s  Warnings: %-8s  Fileformat: %4s  <<", vec.c_str(),
               warn.c_str(), g.deviceName);
  char line[80];
  if (kind != 10) {
    if (kind != 0)
      std::snprintf(line, sizeof line, "Metafile: %.48s", g.outFileName);
    else
      std::snprintf(line, sizeof line, "Metafile: ");
    std::fprintf(f, "\n <<  %-58s  <<", line);
  }
  if (kind > 9) {
    std::snprintf(line, sizeof line, "Err-file: %.48s", g.errFileName);
    std::fprintf(f, "\n <<  %-58s  <<", line);
  }
  std::fprintf(f, "\n %s\n", bar);
  std::fprintf(f, "\n");
  std::fflush(f);
}

void qqmprc(Global& g, int kind) {
  if (g.messageUnit == 0 || g.protocolOn == 0) return;
  char head[64];
  std::snprintf(head, sizeof head, "           END OF KORVAN / VERSION %4.1f %s\n ",
                static_cast<double>(edition().version), patchText().c_str());
  std::string t = head;
  t += "\n Date          : ";
  t += dddate();
  t += "\n Time          : ";
  t += ddtime();
  t += "\n Pageformat: ";
  t += g.pageFormat;
  t += "\n Vectors      : " + packed("%10d", g.vectorCount);
  t += "\n Warnings  : " + packed("%8d", g.warningCount);
  t += "\n Fileformat  : ";
  t += g.deviceName;
  char name[64];
  if (kind == 1 || kind == 11) {
    std::snprintf(name, sizeof name, "%.48s", g.outFileName);
    t += "\n Metafile     : ";
    t += name;
  }
  if (kind > 9) {
    std::snprintf(name, sizeof name, "%.48s", g.errFileName);
    t += "\n Error file    : ";
    t += name;
  }
  platform::showMessage(t.c_str(), "korfin");
}

[[noreturn]] void qqfatal() {
  std::fflush(stdout);
  std::exit(1);
}

}  // namespace korvan
