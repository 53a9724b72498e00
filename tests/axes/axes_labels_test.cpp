// Label texts of every type and category.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "axes/axes.h"
#include "axes/gksl_plot.h"

namespace korvan::test {
namespace {

class LabelTextTest : public GkslPlot {
 protected:
  void SetUp() override {
    GkslPlot::SetUp();
    open();
  }
  void TearDown() override {
    close();
    GkslPlot::TearDown();
  }
};

struct Case {
  const char* what;
  std::function<void(Global&)> set;
  float value;
  int index, log, axis;
  const char* text;
};

TEST_F(LabelTextTest, EveryForm) {
  auto type = [](int t, int cat = 0) {
    return [=](Global& g) {
      g.axis[0].labelType = g.axis[1].labelType = t;
      g.axis[0].labelCat = g.axis[1].labelCat = cat;
    };
  };
  auto date = [](int day, int month, int year, int order, bool upper, bool german) {
    return [=](Global& g) {
      g.axis[0].labelType = 14;
      qqbdat(g, 1, 1, 2000);
      g.dateDayForm = day;
      g.dateMonthForm = month;
      g.dateYearForm = year;
      g.dateOrder = order;
      g.dateUpper = upper;
      g.dateGerman = german;
    };
  };
  auto none = [](Global&) {};
  const float mar14 = 73;   // 14 March 2000, a Tuesday
  const float sat = 77;     // 18 March 2000, a Saturday
  const Case cases[] = {
      {"fixed", none, 2.0f, 0, 0, 1, "2.0"},
      {"digits -1", [](Global& g) { g.axis[0].labelDigits = -1; }, -2.5f, 0, 0, 1, "-3"},
      {"no decimals", [](Global& g) { g.axis[0].labelDigits = 0; }, 10.0f, 0, 0, 1, "10"},
      {"*10 no decimals", [&](Global& g) { type(2)(g); g.axis[0].labelDigits = 0; }, 5000.0f, 0, 0,
       1, "5*10[3$"},
      {"log value", none, 2.0f, 0, 1, 1, "100.0"},
      {"log power", [](Global& g) { g.axis[0].logForm = 1; g.axis[0].labelDigits = -1; }, 3.0f,
       0, 1, 1, "10[3$"},
      {"*10", type(2), 12345.0f, 0, 0, 1, "1.2*10[4$"},
      {"E", type(13), 12345.0f, 0, 0, 2, "1.2E4"},
      {"E on log", type(13), 3.0f, 0, 1, 1, "1.0E3"},
      {"user", [](Global& g) {
         g.axis[0].labelType = 12;
         g.axis[0].userLabelCount = 2;
         std::strcpy(g.axis[0].userLabels[0], "low");
         std::strcpy(g.axis[0].userLabels[1], "high");
       }, 0.0f, 1, 0, 1, "high"},
      {"user reversed", [](Global& g) {
         g.axis[0].labelType = 12;
         g.axis[0].userLabelCount = -2;
         std::strcpy(g.axis[0].userLabels[0], "low");
         std::strcpy(g.axis[0].userLabels[1], "high");
       }, 0.0f, 1, 0, 1, "low"},
      {"user beyond", [](Global& g) { g.axis[0].labelType = 12; g.axis[0].userLabelCount = 1; },
       0.0f, 1, 0, 1, ""},
      {"time hm", type(9), 45000.0f, 0, 0, 1, "1230"},
      {"time hm carry", type(9), 3599.0f, 0, 0, 1, "0100"},
      {"time h", type(10), 9.0f * 3600, 0, 0, 1, "9"},
      {"time hms sep", [](Global& g) { g.axis[0].labelType = 11; g.timeSeparator = 1; },
       -1.0f, 0, 0, 1, "23:59:59"},
      {"time by step", [&](Global& g) { type(1, 1)(g); g.axisStep[0] = 7200; }, 36000.0f, 0, 0, 1,
       "10"},
      {"time by step s", [&](Global& g) { type(1, 1)(g); g.axisStep[0] = 30; }, 61.0f, 0, 0, 1,
       "000101"},
      {"geo east", type(1, 2), 30.0f, 0, 0, 1, "30.0[o$ E"},
      {"geo south", type(6), -15.0f, 0, 0, 2, "15.0[o$ S"},
      {"geo signed", type(7), -15.0f, 0, 0, 1, "-15.0[o$ W"},
      {"geo lower", type(8), 20.0f, 0, 0, 2, "20.0[o$ n"},
      {"geo zero", type(6), 0.0f, 0, 0, 1, "0.0[o$"},
      {"date default", date(1, 4, 1, 1, false, false), mar14, 0, 0, 1, "14-Mar-2000"},
      {"date MDY", date(2, 2, 2, 2, false, false), 4, 0, 0, 1, "01-05-00"},
      {"date YMD full", date(1, 3, 1, 3, false, false), mar14, 0, 0, 1, "2000-March-14"},
      {"date YDM", date(1, 1, 1, 4, false, false), mar14, 0, 0, 1, "2000-14-3"},
      {"date DYM", date(1, 1, 2, 5, false, false), mar14, 0, 0, 1, "14-00-3"},
      {"date MYD", date(1, 4, 1, 6, false, false), mar14, 0, 0, 1, "Mar-2000-14"},
      {"date no day", date(0, 3, 1, 1, true, false), mar14, 0, 0, 1, "MARCH-2000"},
      {"weekday", date(3, 0, 0, 1, false, false), mar14, 0, 0, 1, "Tuesday"},
      {"weekday short", date(4, 4, 0, 1, false, false), mar14, 0, 0, 1, "Tue-Mar"},
      {"german march", date(1, 3, 0, 1, false, true), mar14, 0, 0, 1, "14-M!arz"},
      {"german short", date(4, 4, 0, 1, false, true), mar14, 0, 0, 1, "Di-M!ar"},
      {"german saturday", date(3, 0, 0, 1, false, true), sat, 0, 0, 1, "Sonnabend"},
      {"german sat short", date(4, 0, 0, 1, false, true), sat, 0, 0, 1, "Sa"},
      {"german upper", date(0, 4, 0, 1, true, true), 31 + 29 + 31 + 30 + 31 + 30 + 31 + 31 + 30,
       0, 0, 1, "OKT"},
      {"separator", [&](Global& g) { date(1, 1, 1, 1, false, false)(g); g.dateSep = '.'; }, mar14,
       0, 0, 1, "14.3.2000"},
      {"none", type(0), 1.0f, 0, 0, 1, ""},
  };
  for (const Case& c : cases) {
    Global& g = qqgglb();
    resaxs(g);
    g.axisStep[0] = g.axisStep[1] = 1.0f;
    c.set(g);
    char text[160];
    const int n = glabxy(g, c.value, c.index, c.log, c.axis, text, sizeof text);
    EXPECT_EQ(std::string(text), c.text) << c.what;
    EXPECT_EQ(n, static_cast<int>(std::strlen(c.text))) << c.what;
  }
}

}  // namespace
}  // namespace korvan::test
