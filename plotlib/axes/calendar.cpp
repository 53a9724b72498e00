// The calendar of the date labels: leap years, month lengths, day numbers
// relative to a base date, weekdays, and the month steps of date axes.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "axes/axes.h"
#include "core/state.h"
#include "core/wrap.h"
#include "korvan.h"

namespace korvan {

namespace {
// Days from 1 January 1970 in the Gregorian calendar, also before 1582.
long long civilDays(long long y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilDate(long long z, int* d, int* m, long long* y) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long doe = z - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  *d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  *m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  *y = yoe + era * 400 + (*m <= 2);
}

int clampInt(long long v) {
  if (v > 2147483647LL) return 2147483647;
  if (v < -2147483647LL) return -2147483647;
  return static_cast<int>(v);
}

bool haveBase(Global& g) {
  if (g.baseDateSet) return true;
  qqserr(g, "no base date is defined with basdat");
  warnin(g, 101);
  return false;
}

long long baseDays(const Global& g) { return civilDays(g.baseYear, g.baseMonth, g.baseDay); }

// Month index (year * 12 + month - 1) of a day number.
long long monthIndex(const Global& g, int days, int* dayOfMonth) {
  int d, m;
  long long y;
  civilDate(baseDays(g) + days, &d, &m, &y);
  if (dayOfMonth) *dayOfMonth = d;
  return y * 12 + (m - 1);
}

// Day number of the given day in month index mi, the day kept within the
// month's length.
long long dayInMonth(const Global& g, long long mi, int day) {
  long long y = mi >= 0 ? mi / 12 : -((-mi + 11) / 12);
  int m = static_cast<int>(mi - y * 12) + 1;
  int last = jqqmon(m, static_cast<int>(y));
  return civilDays(y, m, day < last ? day : last) - baseDays(g);
}
}  // namespace

int jqqyea(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0 ? 1 : 0;
}

int jqqmon(int month, int year) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 ? 28 + jqqyea(year) : days[month - 1];
}

bool jqqdat(Global& g, int day, int month, int year) {
  if (year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
      day <= jqqmon(month, year))
    return true;
  char text[48];
  std::snprintf(text, sizeof text, "%d.%d.%d", day, month, year);
  warnc1(g, 2, text);
  return false;
}

void qqbdat(Global& g, int day, int month, int year) {
  g.baseDay = day;
  g.baseMonth = month;
  g.baseYear = year;
  g.baseDateSet = 1;
}

int qqincd(Global& g, int day, int month, int year) {
  if (!jqqdat(g, day, month, year) || !haveBase(g)) return 0;
  return clampInt(civilDays(year, month, day) - baseDays(g));
}

void qqtrfd(Global& g, int days, int* day, int* month, int* year) {
  *day = *month = *year = 0;
  if (!haveBase(g)) return;
  long long y;
  civilDate(baseDays(g) + days, day, month, &y);
  *year = clampInt(y);
}

int qqwday(int day, int month, int year) {
  // 5 July 1999 was a Monday.
  const long long n = civilDays(year, month, day) - civilDays(1999, 7, 5);
  if (n >= 0) return static_cast<int>(n % 7) + 1;
  const int r = static_cast<int>((-n) % 7);
  return r == 0 ? 1 : 8 - r;
}

int qqxlab(Global& g, int start, int i, int months, int dir) {
  int day;
  const long long mi = monthIndex(g, start, &day);
  const long long step = static_cast<long long>(i) * months * (dir < 0 ? -1 : 1);
  return clampInt(dayInMonth(g, mi + step, day));
}

int jqqnlb(Global& g, int start, int end, int months, int dir) {
  if (months <= 0) return 0;
  if (dir >= 0 ? end < start : end > start) return 0;
  const long long a = monthIndex(g, start, nullptr), b = monthIndex(g, end, nullptr);
  long long n = (dir >= 0 ? b - a : a - b) / months;
  while (n > 0) {
    const int d = qqxlab(g, start, static_cast<int>(n), months, dir);
    if (dir >= 0 ? d <= end : d >= end) break;
    --n;
  }
  return clampInt(n);
}

}  // namespace korvan

using namespace korvan;

extern "C" {

int incdat(int iday, int imonth, int iyear) {
  Global* g = jqqlev(0, 3, "incdat");
  return g ? qqincd(*g, iday, imonth, iyear) : 0;
}

void trfdat(int ndays, int* iday, int* imonth, int* iyear) {
  Global* g = jqqlev(0, 3, "trfdat");
  int d = 0, m = 0, y = 0;
  if (g) qqtrfd(*g, ndays, &d, &m, &y);
  if (iday) *iday = d;
  if (imonth) *imonth = m;
  if (iyear) *iyear = y;
}

int nwkday(int iday, int imonth, int iyear) {
  Global* g = jqqlev(0, 3, "nwkday");
  if (!g || !jqqdat(*g, iday, imonth, iyear)) return 0;
  return qqwday(iday, imonth, iyear);
}

void basdat(int iday, int imonth, int iyear) {
  Global* g = jqqlev(0, 3, "basdat");
  if (g && jqqdat(*g, iday, imonth, iyear)) qqbdat(*g, iday, imonth, iyear);
}

void datfmt(const char* cday, const char* cmonth, const char* cyear) {
  Global* g = jqqlev(1, 3, "datfmt");
  if (!g) return;
  // NONE, NUMB "%1d", LEAD "%02d", LONG the name, SHOR the abbreviated name;
  // years: NONE, LONG four digits, SHOR two.
  const char* kForms = "NONE+NUMB+LEAD+LONG+SHOR";
  const int d = jqqind(*g, kForms, 5, cday ? cday : "");
  if (d == 0) return;
  const int m = jqqind(*g, kForms, 5, cmonth ? cmonth : "");
  if (m == 0) return;
  const int y = jqqind(*g, "NONE+LONG+SHOR", 3, cyear ? cyear : "");
  if (y == 0) return;
  g->dateDayForm = d - 1;
  g->dateMonthForm = m - 1;
  g->dateYearForm = y - 1;
}

void datord(const char* cord) {
  Global* g = jqqlev(1, 3, "datord");
  if (!g) return;
  const int n = jqqind(*g, "DMY +MDY +YMD +YDM +DYM +MYD ", 6, cord ? cord : "");
  if (n != 0) g->dateOrder = n;
}

void datsep(const char* csep) {
  Global* g = jqqlev(1, 3, "datsep");
  if (!g) return;
  if (!csep || !*csep) {
    warnc1(*g, 2, "");
    return;
  }
  char key[5];
  qqkey4(csep, key);
  g->dateSep = std::strcmp(key, "NONE") == 0 ? '\0' : csep[0];
}

void datlan(const char* clang) {
  Global* g = jqqlev(1, 3, "datlan");
  if (!g) return;
  const int n = jqqind(*g, "ENGL+GERM", 2, clang ? clang : "");
  if (n != 0) g->dateGerman = n == 2;
}

void datcas(const char* ccase) {
  Global* g = jqqlev(1, 3, "datcas");
  if (!g) return;
  const int n = jqqind(*g, "NORM+UPPE", 2, ccase ? ccase : "");
  if (n != 0) g->dateUpper = n == 2;
}

void basdat_(const int* iday, const int* imonth, const int* iyear) {
  basdat(*iday, *imonth, *iyear);
}
void datfmt_(const char* cday, const char* cmonth, const char* cyear, int len1, int len2,
             int len3) {
  datfmt(Key4(cday, len1), Key4(cmonth, len2), Key4(cyear, len3));
}
void datord_(const char* cord, int len) { datord(Key4(cord, len)); }
void datsep_(const char* csep, int len) { datsep(Key4(csep, len)); }
void datlan_(const char* clang, int len) { datlan(Key4(clang, len)); }
void datcas_(const char* ccase, int len) { datcas(Key4(ccase, len)); }

int incdat_(const int* iday, const int* imonth, const int* iyear) {
  return incdat(*iday, *imonth, *iyear);
}
void trfdat_(const int* ndays, int* iday, int* imonth, int* iyear) {
  trfdat(*ndays, iday, imonth, iyear);
}
int nwkday_(const int* iday, const int* imonth, const int* iyear) {
  return nwkday(*iday, *imonth, *iyear);
}

}  // extern "C"
