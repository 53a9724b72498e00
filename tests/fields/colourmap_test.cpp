// Heat maps and colour bars read back as PPM pixels.
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "fields/fields_plot.h"

namespace korvan::test {
namespace {

class ColourMapTest : public FieldPlot {};

TEST_F(ColourMapTest, CellsFillTheAxesInOrderAndMeetTheirEdges) {
  // 4 x 2 cells over -2..2: values rising with i and j, one NaN.
  std::vector<float> z = {0, 1, 2, 3, 4, 5, 6, 7};
  z[5] = std::numeric_limits<float>::quiet_NaN();
  axes("PPM");
  heatmp(z.data(), 4, 2, 0, 7);
  colkey("RIGHT");
  korfin();
  Picture p;
  ASSERT_TRUE(p.read("korvan.ppm"));
  const std::uint32_t page = p.at(1, 1);
  std::vector<std::uint32_t> seen;
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 4; ++i) {
      const double cx = kLeft + (kSide - 1) * (i + 0.5) / 4, cy = kBottom - (kSide - 1) * (j + 0.5) / 2;
      seen.push_back(p.at(p.px(cx), p.py(cy)));
    }
  EXPECT_EQ(seen[5], page) << "NaN leaves a hole";
  std::set<std::uint32_t> distinct;
  for (int k = 0; k < 8; ++k)
    if (k != 5) {
      EXPECT_NE(seen[k], page) << k;
      distinct.insert(seen[k]);
    }
  EXPECT_EQ(distinct.size(), 7u) << "every value its own colour";
  // Cell edges: a few pixels either side of the boundary between cells 0
  // and 1 carry the two cells' colours, and the cells reach the frame.
  const double edgeX = kLeft + (kSide - 1) / 4.0, midY = kBottom - (kSide - 1) / 4.0;
  EXPECT_EQ(p.at(p.px(edgeX) - 2, p.py(midY)), seen[0]);
  EXPECT_EQ(p.at(p.px(edgeX) + 2, p.py(midY)), seen[1]);
  EXPECT_EQ(p.at(p.px(kLeft) + 3, p.py(midY)), seen[0]);
  EXPECT_EQ(p.at(p.px(kLeft + kSide - 1) - 3, p.py(midY)), seen[3]);
  // The colour bar right of the axes: many colours in a column through it.
  std::set<std::uint32_t> bar;
  const int bx = p.px(kLeft + kSide + kSide / 20 + 20);
  for (int y = p.py(kBottom - kSide + 20); y < p.py(kBottom - 20); ++y) bar.insert(p.at(bx, y));
  EXPECT_GT(bar.size(), 50u);
}

TEST_F(ColourMapTest, BadInputWarns) {
  const float z[4] = {1, 2, 3, 4};
  axes();
  struct Case {
    const char* what;
    std::function<void()> call;
  };
  const Case cases[] = {
      {"nx 0", [&] { heatmp(z, 0, 2, 0, 1); }},
      {"range", [&] { heatmp(z, 2, 2, 1, 1); }},
      {"no z", [&] { heatmp(nullptr, 2, 2, 0, 1); }},
      {"no map yet", [&] { colkey("RIGHT"); }},
  };
  for (const Case& c : cases) {
    const int before = qqgglb().vectorCount;
    const std::string said = output(c.call);
    EXPECT_NE(said.find("Warning   2"), std::string::npos) << c.what << ": " << said;
    EXPECT_EQ(qqgglb().vectorCount, before) << c.what;
  }
  close();
}

}  // namespace
}  // namespace korvan::test
