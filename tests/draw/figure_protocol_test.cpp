// A whole plot on "GKSL" through the public header: the end-of-run protocol
// counts the vectors of one circle, and the metafile holds its points.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "korvan.h"
#include "support/plot_fixture.h"

namespace korvan::test {
namespace {

class FigureProtocolTest : public PlotTest {
 protected:
  // Runs the plot, returns the vector count of its protocol and the file.
  int plot(bool withCircle, std::string* file) {
    qqsglb(1);
    std::filesystem::path sub = dir_ / (withCircle ? "with" : "without");
    std::filesystem::create_directory(sub);
    std::filesystem::current_path(sub);
    ::testing::internal::CaptureStdout();
    metafl("GKSL");
    korini();
    pagera();
    hsymbl(20);
    symbol(21, 1400, 1000);
    vector(100, 100, 600, 300, 1421);
    if (withCircle) arcell(1000, 1000, 100, 100, 0.0f, 360.0f, 0.0f);
    korfin();
    std::string out = ::testing::internal::GetCapturedStdout();
    *file = slurp((sub / "korvan.met").string());
    std::smatch m;
    EXPECT_TRUE(std::regex_search(out, m, std::regex(R"(Vectors : (\d+))"))) << out;
    return m.empty() ? -1 : std::stoi(m[1]);
  }

  // Points of a "GKSL" file in plot units: fields below 1.5 are coordinates
  // (scaled to the longer page side), the others are codes.
  static std::vector<std::pair<double, double>> points(const std::string& file) {
    std::vector<std::pair<double, double>> out;
    std::size_t nl = file.find('\n');
    std::vector<double> coords;
    for (std::size_t pos = nl + 1; pos < file.size();) {
      if (file[pos] == '\n') {
        ++pos;
        continue;
      }
      double v = std::stod(file.substr(pos, 10));
      pos += 10;
      if (v < 1.5) coords.push_back(v);
    }
    for (std::size_t i = 0; i + 1 < coords.size(); i += 2)
      out.push_back({coords[i] * 2969.0, 2099.0 - coords[i + 1] * 2969.0});
    return out;
  }
};

TEST_F(FigureProtocolTest, OneCircleAddsSixtyThreeVectors) {
  std::string with, without;
  int a = plot(true, &with);
  int b = plot(false, &without);
  EXPECT_EQ(a - b, 63);

  int onCircle = 0;
  for (auto [x, y] : points(with)) onCircle += std::fabs(std::hypot(x - 1000, y - 1000) - 100) < 0.05;
  EXPECT_EQ(onCircle, 63);  // 62 segments, closed back at the first point
  int before = 0;
  for (auto [x, y] : points(without)) before += std::fabs(std::hypot(x - 1000, y - 1000) - 100) < 0.05;
  EXPECT_EQ(before, 0);
}

}  // namespace
}  // namespace korvan::test
