// Number texts of labels and numbers: fcha, flen, intcha, gexpno.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "core/numtext.h"

namespace korvan::test {
namespace {

struct Fixed {
  float x;
  int d;
  const char* text;
};

TEST(NumberText, FixedDecimalsAndIntegers) {
  const Fixed cases[] = {
      {0.0f, 1, "0.0"},     {2.0f, 1, "2.0"},      {10.0f, 1, "10.0"},   {-3.25f, 2, "-3.25"},
      {9.96f, 1, "10.0"},   {123.456f, 2, "123.46"}, {5.0f, 0, "5"},      {0.0f, -1, "0"},
      {2.5f, -1, "3"},      {-2.5f, -1, "-3"},     {2.4f, -1, "2"},      {-0.4f, -1, "0"},
      {10.0f, 0, "10"},     {-7.6f, 0, "-8"},      {99.7f, 0, "100"},    {-0.3f, 0, "0"},
      {12345.0f, -3, "12345"}, {-0.04f, 1, "0.0"},  {1.0e30f, -1, "1000000015047466219876688855040"},
  };
  for (const Fixed& c : cases) {
    char text[64];
    const int n = fcha(c.x, c.d, text, sizeof text);
    EXPECT_EQ(std::string(text), c.text) << c.x << " with " << c.d;
    EXPECT_EQ(n, static_cast<int>(std::string(c.text).size())) << c.x << " with " << c.d;
    EXPECT_EQ(flen(c.x, c.d), n);
  }
  char small[4];
  fcha(123.456f, 2, small, sizeof small);  // cut, never overrun
  EXPECT_EQ(std::string(small), "123");
  char text[16];
  fcha(std::numeric_limits<float>::infinity(), 1, text, sizeof text);
  EXPECT_NE(std::string(text).find("inf"), std::string::npos);
}

TEST(NumberText, Integers) {
  char text[16];
  EXPECT_EQ(intcha(0, text, sizeof text), 1);
  EXPECT_STREQ(text, "0");
  EXPECT_EQ(intcha(-42, text, sizeof text), 3);
  EXPECT_STREQ(text, "-42");
  EXPECT_EQ(intcha(INT_MIN, text, sizeof text), 11);
  EXPECT_STREQ(text, "-2147483648");
}

struct Expo {
  float x;
  int d, form;
  const char* text;
};

TEST(NumberText, PowersOfTen) {
  const Expo cases[] = {
      {12345.0f, 2, 1, "1.23*10[4$"}, {12345.0f, 2, 2, "1.23E4"},  {-0.00126f, 1, 1, "-1.3*10[-3$"},
      {0.0f, 1, 1, "0.0*10[0$"},      {1000.0f, -1, 2, "1E3"},     {9.996f, 2, 2, "1.00E1"},
      {1.0f, 0, 2, "1E0"},            {3.0e-30f, 1, 2, "3.0E-30"},
      {12345.0f, 0, 1, "1*10[4$"},    {-96.0f, 0, 2, "-1E2"},
  };
  for (const Expo& c : cases) {
    char text[64];
    const int n = gexpno(c.x, c.d, text, sizeof text, c.form);
    EXPECT_EQ(std::string(text), c.text) << c.x;
    EXPECT_EQ(n, static_cast<int>(std::string(c.text).size()));
  }
  char text[32];
  gexpno(12345.0f, 2, text, sizeof text, 1, '^', '|');  // the current control characters
  EXPECT_STREQ(text, "1.23*10^4|");
}

}  // namespace
}  // namespace korvan::test
