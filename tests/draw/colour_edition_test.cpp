// The colour flush of the earlier library state: this program links that
// edition's object ahead of the archive (tests.cmake, core/edition.h).
#include <gtest/gtest.h>

#include "core/edition.h"
#include "draw/colour.h"
#include "support/recording_driver.h"

namespace korvan::test {
namespace {

using EditionColourTest = RecordingTest;

TEST_F(EditionColourTest, ThisProgramRunsTheEarlierState) {
  EXPECT_FLOAT_EQ(getver(), 8.1f);
  EXPECT_EQ(edition().patchLevel, 1);
  EXPECT_FALSE(edition().hasGif);
  EXPECT_TRUE(edition().alwaysFlushColour);
}

TEST_F(EditionColourTest, ColourChangeFlushesTheOpenStroke) {
  start();
  Global& g = G();
  lineqq(g, 10, 10, 100, 10);
  color("RED");
  ASSERT_EQ(rec->events.size(), 3u);
  EXPECT_EQ(rec->events[2].kind, Event::Colour);
  EXPECT_EQ(g.strokeCount, 0);
}

TEST_F(EditionColourTest, FlushAskedForDuringAFlushEmitsNothingTwice) {
  start();
  Global& g = G();
  rec->onPoint = [](Global& gg, float, float, int) {
    if (gg.currentColour != 30) qqsclr(gg, 30);
  };
  qqmove(g, 10, 10);
  for (int i = 1; i < 10; ++i) qqdraw(g, 10.0f + 10 * i, 10);
  qqstrk(g);
  std::vector<Event> p = rec->points();
  ASSERT_EQ(p.size(), 10u);
  EXPECT_EQ(p[0].mode, 3);
  for (int i = 1; i < 10; ++i) EXPECT_FLOAT_EQ(p[i].x, 10.0f + 10 * i);
  EXPECT_EQ(g.currentColour, 30);
  EXPECT_EQ(g.strokeCount, 0);
  EXPECT_EQ(g.stroking, 0);
}

}  // namespace
}  // namespace korvan::test
