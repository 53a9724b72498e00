#pragma once
// Test support for the text tests: the strokes of one string, as paths
// recorded at the device layer.
#include <cmath>
#include <cstddef>
#include <functional>
#include <vector>

#include "korvan.h"
#include "support/recording_driver.h"

namespace korvan::test {

using Paths = std::vector<std::vector<Event>>;

// The box around the points of paths [from, to).
struct Extent {
  float x0 = 1e9f, y0 = 1e9f, x1 = -1e9f, y1 = -1e9f;
};
inline Extent extent(const Paths& paths, std::size_t from = 0, std::size_t to = 1u << 30) {
  Extent e;
  for (std::size_t i = from; i < paths.size() && i < to; ++i)
    for (const Event& p : paths[i]) {
      e.x0 = std::fmin(e.x0, p.x), e.y0 = std::fmin(e.y0, p.y);
      e.x1 = std::fmax(e.x1, p.x), e.y1 = std::fmax(e.y1, p.y);
    }
  return e;
}

// The same paths, point for point within a hundredth of a unit.
inline bool samePaths(const Paths& a, const Paths& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].size() != b[i].size()) return false;
    for (std::size_t k = 0; k < a[i].size(); ++k)
      if (std::fabs(a[i][k].x - b[i][k].x) > 0.01f || std::fabs(a[i][k].y - b[i][k].y) > 0.01f)
        return false;
  }
  return true;
}

class TextRecordingTest : public RecordingTest {
 protected:
  void SetUp() override {
    RecordingTest::SetUp();
    start();
  }
  // What f draws, flushed before and after.
  Paths drawn(const std::function<void()>& f) {
    qqstrk(G());
    rec->clear();
    f();
    qqstrk(G());
    return rec->paths();
  }
  Paths text(const char* s, int x = 100, int y = 200) {
    return drawn([&] { messag(s, x, y); });
  }
};

}  // namespace korvan::test
