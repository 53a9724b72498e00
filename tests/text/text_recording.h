#pragma once
// Test support for the text tests: the strokes of one string, as paths
// recorded at the device layer.
#include <functional>
#include <vector>

#include "korvan.h"
#include "support/recording_driver.h"

namespace korvan::test {

using Paths = std::vector<std::vector<Event>>;

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
