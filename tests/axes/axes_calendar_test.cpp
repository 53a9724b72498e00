// The calendar: weekdays, leap years, day numbers from a base date and the
// month steps of date axes.
#include <gtest/gtest.h>

#include <string>

#include "axes/axes.h"
#include "axes/gksl_plot.h"

namespace korvan::test {
namespace {

class CalendarTest : public GkslPlot {};

TEST_F(CalendarTest, WeekdaysAndImpossibleDates) {
  struct {
    int d, m, y, weekday;
  } cases[] = {{5, 7, 1999, 1},  {11, 7, 1999, 7}, {4, 7, 1999, 7},  {28, 6, 1999, 1},
               {1, 1, 2000, 6},  {29, 2, 2000, 2}, {31, 12, 1, 1},   {29, 2, 1900, 0},
               {31, 4, 2004, 0}, {1, 13, 2004, 0}, {0, 1, 2004, 0}};
  for (auto c : cases) {
    std::string out = output([&] { EXPECT_EQ(nwkday(c.d, c.m, c.y), c.weekday) << c.d << "." << c.m << "." << c.y; });
    EXPECT_EQ(out.find("Warning   2") != std::string::npos, c.weekday == 0) << out;
  }
}

TEST_F(CalendarTest, LeapYearsAndMonthLengths) {
  struct {
    int y, leap;
  } years[] = {{1900, 0}, {2000, 1}, {2004, 1}, {2001, 0}, {2100, 0}, {2400, 1}};
  for (auto c : years) EXPECT_EQ(jqqyea(c.y), c.leap) << c.y;
  const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(jqqmon(m, 2001), days[m - 1]);
  EXPECT_EQ(jqqmon(2, 2004), 29);
}

TEST_F(CalendarTest, WithoutBaseDateTheDayNumbersAreRefused) {
  std::string out = output([] { EXPECT_EQ(incdat(1, 1, 2000), 0); });
  EXPECT_NE(out.find("Warning 101: no base date is defined with basdat in incdat!"), std::string::npos)
      << out;
  int d = 9, m = 9, y = 9;
  out = output([&] { trfdat(100, &d, &m, &y); });
  EXPECT_NE(out.find("in trfdat!"), std::string::npos) << out;
  EXPECT_EQ(d + m + y, 0);
}

TEST_F(CalendarTest, DayNumbersFromABaseDate) {
  open();
  Global& g = qqgglb();
  qqbdat(g, 1, 1, 2000);
  struct {
    int d, m, y, days;
  } cases[] = {{1, 1, 2000, 0},  {1, 3, 2000, 60},  {1, 1, 2001, 366},
               {31, 12, 1999, -1}, {1, 3, 1900, -36465}, {5, 7, 1999, -180}};
  for (auto c : cases) {
    EXPECT_EQ(incdat(c.d, c.m, c.y), c.days);
    int d, m, y;
    trfdat(c.days, &d, &m, &y);
    EXPECT_EQ(d * 1000000 + m * 10000 + y, c.d * 1000000 + c.m * 10000 + c.y);
  }
  // Month steps: 31 January, one month on, is the last of February.
  const int jan31 = incdat(31, 1, 2000);
  EXPECT_EQ(qqxlab(g, jan31, 1, 1, 1), incdat(29, 2, 2000));
  EXPECT_EQ(qqxlab(g, jan31, 2, 1, 1), incdat(31, 3, 2000));
  EXPECT_EQ(qqxlab(g, 0, 1, 12, 1), incdat(1, 1, 2001));
  EXPECT_EQ(qqxlab(g, 0, 1, 3, -1), incdat(1, 10, 1999));
  EXPECT_EQ(jqqnlb(g, 0, incdat(15, 12, 2000), 3, 1), 3);
  EXPECT_EQ(jqqnlb(g, 0, incdat(1, 10, 2000), 3, 1), 3);
  EXPECT_EQ(jqqnlb(g, 0, incdat(30, 9, 2000), 3, 1), 2);
  EXPECT_EQ(jqqnlb(g, 0, incdat(1, 1, 1999), 1, -1), 12);
  EXPECT_EQ(jqqnlb(g, 100, 0, 1, 1), 0);
  close();
}

}  // namespace
}  // namespace korvan::test
