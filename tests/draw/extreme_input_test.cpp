// Extreme but legal integers and non-finite floats at the public routines:
// no arithmetic overflow (the sanitizer build checks that), the non-finite
// floats refused with warning 2.
#include <climits>
#include <cmath>
#include <functional>
#include <string>

#include "draw/pipeline.h"
#include "support/plot_fixture.h"

namespace korvan::test {
namespace {

class ExtremeInputTest : public PlotTest {
 protected:
  void SetUp() override {
    PlotTest::SetUp();
    metafl("PS");
    korini();
  }
  void TearDown() override {
    korfin();
    PlotTest::TearDown();
  }
};

TEST_F(ExtremeInputTest, IntegersAtTheEndsOfTheirRangeAreDrawnWithoutOverflow) {
  shield("SYMB", "ON");
  shield("MESS", "ON");
  const std::function<void()> calls[] = {
      [] { shlrec(256, 0, INT_MAX, 10); },
      [] { shlrec(INT_MAX, INT_MAX, INT_MAX, INT_MAX); },
      [] { shlrct(INT_MAX, INT_MIN, INT_MAX, INT_MAX, 30.0f); },
      [] { symbol(5, INT_MAX, INT_MAX); },
      [] { symbol(5, INT_MIN, INT_MIN); },
      [] { messag("A", INT_MAX, INT_MAX); },
      [] { line(INT_MIN, INT_MIN, INT_MAX, INT_MAX); },
      [] { arcell(INT_MAX, INT_MIN, INT_MAX, INT_MAX, 0.0f, 90.0f, 0.0f); },
      [] { vector(INT_MIN, INT_MIN, INT_MAX, INT_MAX, 1421); },
  };
  for (int origin = 0; origin < 2; ++origin) {
    if (origin == 1) pagorg("BOTTOM");
    for (const auto& call : calls) output(call);
    // Under the bottom origin every y becomes page height - y.
    output([] {
      messag("B", 100, INT_MIN);
      line(0, INT_MIN, 100, 100);
      symbol(3, 100, INT_MIN);
      arcell(100, INT_MIN, 50, 50, 0.0f, 360.0f, 0.0f);
      vector(0, INT_MIN, 100, 100, 1421);
      shlrct(0, INT_MIN, 10, 10, 45.0f);
    });
  }
  EXPECT_EQ(qqgglb().level, 1);
}

TEST_F(ExtremeInputTest, TheStartPointWarningOfMessagPrintsTheCoordinatesAsGiven) {
  const struct {
    int x, y;
    const char* shown;
  } rows[] = {
      {INT_MAX, 100, "Startpoint (2147483647/  100)"},
      {100, INT_MAX, "Startpoint (  100/2147483647)"},
      {INT_MIN, INT_MIN, "Startpoint (-2147483648/-2147483648)"},
      {-5, 100, "Startpoint (   -5/  100)"},
  };
  for (const auto& r : rows) {
    std::string out = output([&] { messag("AB", r.x, r.y); });
    EXPECT_NE(out.find(r.shown), std::string::npos) << out;
  }
}

TEST_F(ExtremeInputTest, NonFiniteFloatsAreRefusedWithWarning2) {
  const float bad[] = {INFINITY, -INFINITY, NAN};
  const struct {
    const char* name;
    std::function<void(float)> call;
  } rows[] = {
      {"arcell", [](float v) { arcell(500, 500, 100, 50, v, 90.0f, 0.0f); }},
      {"arcell", [](float v) { arcell(500, 500, 100, 50, 0.0f, v, 0.0f); }},
      {"arcell", [](float v) { arcell(500, 500, 100, 50, 0.0f, 90.0f, v); }},
      {"shlrct", [](float v) { shlrct(100, 100, 50, 50, v); }},
  };
  for (int pattern : {0, 16}) {
    shdpat(pattern);
    for (const auto& r : rows)
      for (float v : bad) {
        int before = qqgglb().warningCount, shields = qqgglb().shieldCount;
        std::string out = output([&] { r.call(v); });
        EXPECT_EQ(out, std::string(" <<<< Warning   2: Incorrect parameter in ") + r.name + "!\n");
        EXPECT_EQ(qqgglb().warningCount, before + 1);
        EXPECT_EQ(qqgglb().shieldCount, shields);
      }
  }
  // Finite values still draw.
  int vectors = qqgglb().vectorCount;
  arcell(500, 500, 100, 50, 0.0f, 90.0f, 0.0f);
  qqstrk(qqgglb());
  EXPECT_GT(qqgglb().vectorCount, vectors);
}

}  // namespace
}  // namespace korvan::test
