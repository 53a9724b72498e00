// The texts of axis labels: numbers, powers of ten, user texts, times of
// day, geographic degrees and dates.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "axes/axes.h"
#include "core/numtext.h"
#include "core/state.h"
#include "core/strings.h"

namespace korvan {

namespace {
const char* const kMonths[2][12] = {
    {"January", "February", "March", "April", "May", "June", "July", "August", "September",
     "October", "November", "December"},
    {"Januar", "Februar", "M!arz", "April", "Mai", "Juni", "Juli", "August", "September",
     "Oktober", "November", "Dezember"}};
const char* const kDays[2][7] = {
    {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"},
    {"Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Sonnabend", "Sonntag"}};

int finish(int n, std::size_t cap) {
  if (n < 0) return 0;
  return n < static_cast<int>(cap) ? n : static_cast<int>(cap) - 1;
}

// A name cut to its abbreviation: three letters, German weekdays two
// ("Sa" for Sonnabend, which would clash with Sonntag), and the German
// March four characters, since its umlaut takes two ("M!ar").
void abbreviate(char* out, const char* full, bool german, bool weekday) {
  int n = 3;
  if (german && weekday) n = 2;
  if (german && !weekday && std::strncmp(full, "M!", 2) == 0) n = 4;
  std::snprintf(out, 16, "%.*s", n, full);
  if (german && weekday && std::strcmp(full, "Sonnabend") == 0) std::snprintf(out, 16, "Sa");
}

int timeText(const Global& g, double v, int form, char* text, std::size_t cap) {
  double t = std::fmod(v, 86400.0);
  if (t < 0.0) t += 86400.0;
  const char* sep = g.timeSeparator ? ":" : "";
  if (form == 2) {
    const long s = std::lround(t) % 86400;
    return finish(std::snprintf(text, cap, "%02ld%s%02ld%s%02ld", s / 3600, sep, s % 3600 / 60,
                                sep, s % 60),
                  cap);
  }
  // Minutes rounded; 60 of them carry into the hour.
  const long mins = std::lround(t / 60.0) % 1440;
  if (form == 1) return finish(std::snprintf(text, cap, "%ld", mins / 60), cap);
  return finish(std::snprintf(text, cap, "%02ld%s%02ld", mins / 60, sep, mins % 60), cap);
}

int geoText(const Global& g, double v, int form, int digits, int axis, char* text,
            std::size_t cap) {
  char num[64];
  fcha(static_cast<float>(form == 1 ? v : std::fabs(v)), digits, num, sizeof num);
  int n = std::snprintf(text, cap, "%s%co%c", num, g.expChars[0], g.expChars[2]);
  if (v != 0.0) {
    char c = axis == 1 ? (v > 0.0 ? 'E' : 'W') : (v > 0.0 ? 'N' : 'S');
    if (form == 3) c = static_cast<char>(c - 'A' + 'a');
    n = std::snprintf(text, cap, "%s%co%c %c", num, g.expChars[0], g.expChars[2], c);
  }
  return finish(n, cap);
}

int dateText(Global& g, double v, char* text, std::size_t cap) {
  text[0] = '\0';
  if (!g.baseDateSet) return 0;
  int d, m, y;
  qqtrfd(g, static_cast<int>(std::lround(v)), &d, &m, &y);
  const bool de = g.dateGerman != 0;
  char part[3][24] = {"", "", ""};  // day, month, year
  switch (g.dateDayForm) {
    case 1: std::snprintf(part[0], sizeof part[0], "%d", d); break;
    case 2: std::snprintf(part[0], sizeof part[0], "%02d", d); break;
    case 3: std::snprintf(part[0], sizeof part[0], "%s", kDays[de][qqwday(d, m, y) - 1]); break;
    case 4: abbreviate(part[0], kDays[de][qqwday(d, m, y) - 1], de, true); break;
    default: break;
  }
  switch (g.dateMonthForm) {
    case 1: std::snprintf(part[1], sizeof part[1], "%d", m); break;
    case 2: std::snprintf(part[1], sizeof part[1], "%02d", m); break;
    case 3: std::snprintf(part[1], sizeof part[1], "%s", kMonths[de][m - 1]); break;
    case 4: abbreviate(part[1], kMonths[de][m - 1], de, false); break;
    default: break;
  }
  switch (g.dateYearForm) {
    case 1: std::snprintf(part[2], sizeof part[2], "%4d", y); break;
    case 2: std::snprintf(part[2], sizeof part[2], "%02d", (y % 100 + 100) % 100); break;
    default: break;
  }
  static const int orders[6][3] = {{0, 1, 2}, {1, 0, 2}, {2, 1, 0},
                                   {2, 0, 1}, {0, 2, 1}, {1, 2, 0}};
  const int o = g.dateOrder >= 1 && g.dateOrder <= 6 ? g.dateOrder - 1 : 0;
  std::size_t n = 0;
  for (int k = 0; k < 3; ++k) {
    const char* p = part[orders[o][k]];
    if (!*p) continue;
    if (n > 0 && g.dateSep != '\0' && n + 1 < cap) text[n++] = g.dateSep;
    for (; *p && n + 1 < cap; ++p) text[n++] = *p;
  }
  text[n] = '\0';
  if (g.dateUpper) upstr(text);
  return static_cast<int>(n);
}
}  // namespace

int glabxy(Global& g, float value, int i, int logScale, int axis, char* text, std::size_t cap) {
  if (cap == 0) return 0;
  text[0] = '\0';
  const AxisSettings& s = g.axis[axis - 1];
  const int type = s.labelType;
  const double v = value;
  const char raise = g.expChars[0], back = g.expChars[2];

  if ((type >= 9 && type <= 11) || (type == 1 && s.labelCat == 1)) {
    int form = type - 9;
    if (type == 1) {
      const double step = std::fabs(g.axisStep[axis - 1]);
      form = std::fmod(step, 3600.0) == 0.0 ? 1 : std::fmod(step, 60.0) == 0.0 ? 0 : 2;
    }
    return timeText(g, v, form, text, cap);
  }
  if ((type >= 6 && type <= 8) || (type == 1 && s.labelCat == 2)) {
    const int form = type == 7 ? 1 : type == 8 ? 3 : 2;
    return geoText(g, v, form, s.labelDigits, axis, text, cap);
  }
  switch (type) {
    case 0:
      return 0;
    case 12: {
      const int count = std::min(s.userLabelCount < 0 ? -s.userLabelCount : s.userLabelCount, 20);
      if (i < 0 || i >= count) return 0;
      const int k = s.userLabelCount < 0 ? count - 1 - i : i;
      return finish(std::snprintf(text, cap, "%s", s.userLabels[k]), cap);
    }
    case 14:
      return dateText(g, v, text, cap);
    case 2:
    case 13: {
      const float x = logScale ? static_cast<float>(std::pow(10.0, v)) : value;
      return gexpno(x, s.labelDigits, text, cap, type == 2 ? 1 : 2, raise, back);
    }
    default:
      break;
  }
  char num[64];
  if (logScale && s.logForm == 1) {
    // Whole exponents are written without decimals: 10 with a raised 3, not
    // 3.0; the label digits serve fractional ones.
    const bool whole = std::fabs(v - std::round(v)) < 1.0e-4;
    fcha(whole ? static_cast<float>(std::round(v)) : value, whole ? -1 : s.labelDigits, num,
         sizeof num);
    return finish(std::snprintf(text, cap, "10%c%s%c", raise, num, back), cap);
  }
  const float x = logScale ? static_cast<float>(std::pow(10.0, v)) : value;
  fcha(x, s.labelDigits, num, sizeof num);
  return finish(std::snprintf(text, cap, "%s", num), cap);
}

}  // namespace korvan
