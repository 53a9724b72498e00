// curve in an axis system, watched at the device: a line to a point far
// outside the axes keeps its direction up to where it leaves them.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/recording_driver.h"

namespace korvan::test {
namespace {

class CurveTest : public RecordingTest {};

// Distance of (x, y) from the line through (x1, y1) and (x2, y2).
double offLine(double x, double y, double x1, double y1, double x2, double y2) {
  const double dx = x2 - x1, dy = y2 - y1;
  return std::fabs((x - x1) * dy - (y - y1) * dx) / std::hypot(dx, dy);
}

TEST_F(CurveTest, ALineToAFarPointKeepsItsDirection) {
  // graf(0, 10, 0, 2, 0, 5, 0, 1) at (400, 1700), 1001 x 501: x -> 400 +
  // 100 x, y -> 1700 - 100 y.
  struct {
    float x1, y1, x2, y2;
  } cases[] = {
      {5, 2.5f, 1e6f, 1e3f},    // out through the right edge, 300 units off when clamped
      {1e6f, 1e3f, 5, 2.5f},    // the same backwards: it enters with a move
      {5, 2.5f, -3e5f, -1e4f},  // out through the bottom
      {2, 1, 9, 4000},          // far in y only
      {-1e7f, 2, 1e5f, 3},      // both ends far, passing through
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2);
    start();
    axspos(400, 1700);
    axslen(1001, 501);
    graf(0, 10, 0, 2, 0, 5, 0, 1);
    qqstrk(G());
    rec->clear();
    const float xs[] = {c.x1, c.x2}, ys[] = {c.y1, c.y2};
    curve(xs, ys, 2);
    endgrf();
    const double x1 = 400 + 100.0 * c.x1, y1 = 1700 - 100.0 * c.y1;
    const double x2 = 400 + 100.0 * c.x2, y2 = 1700 - 100.0 * c.y2;
    std::vector<Event> pts = rec->points();
    ASSERT_GE(rec->draws(), 1);
    double reach = 0;  // the length drawn inside the axes
    for (const Seg& s : rec->segments()) reach += segLength(s);
    EXPECT_GT(reach, 100);
    for (const Event& e : pts) {
      EXPECT_LT(offLine(e.x, e.y, x1, y1, x2, y2), 0.02) << e.x << "," << e.y;
      EXPECT_TRUE(e.x > 400 && e.x < 1400 && e.y > 1200 && e.y < 1700) << e.x << "," << e.y;
    }
    G().protocolOn = 0;
    korfin();
  }
}

}  // namespace
}  // namespace korvan::test
