// The virtual raster: sizes, modes, lines, fills, pixels and rows.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <utility>

#include "devices/raster/raster.h"
#include "raster_support.h"

namespace korvan {
namespace {

using test::testTable;

class RasterCore : public ::testing::Test {
 protected:
  void make(int w, int h, int mode, int background = 0) {
    int ww = w, hh = h;
    ASSERT_EQ(r.qqvini(2969, 2099, &ww, &hh, 1, background, mode), 0);
    int table[256];
    testTable(table);
    r.qqvvlt(table);
  }
  // The pixels set in colour c.
  std::set<std::pair<int, int>> pixels(int c) {
    std::set<std::pair<int, int>> s;
    for (int y = 0; y < r.height(); ++y)
      for (int x = 0; x < r.width(); ++x)
        if (r.qqvrpx(x, y) == c) s.insert({x, y});
    return s;
  }
  VirtualRaster r;
};

TEST_F(RasterCore, DefaultSizeFollowsThePageAndIsPassedBack) {
  int w = 0, h = 0;
  ASSERT_EQ(r.qqvini(2969, 2099, &w, &h, 0, 0, 0), 0);
  EXPECT_EQ(w, 853);
  EXPECT_EQ(h, 603);
  EXPECT_EQ(r.width(), 853);
  EXPECT_EQ(r.stride(), 856);  // rounded up to a multiple of 4
  ASSERT_EQ(r.qqvini(2099, 2969, &w, &h, 0, 0, 1), 0);
  EXPECT_EQ(w, 603);
  EXPECT_EQ(h, 853);
  EXPECT_EQ(r.stride(), 1812);  // 603 * 3 = 1809
  w = 10;
  h = 7;
  ASSERT_EQ(r.qqvini(2969, 2099, &w, &h, 1, 0, 1), 0);
  EXPECT_EQ(r.width(), 10);
  EXPECT_EQ(r.height(), 7);
  EXPECT_EQ(r.stride(), 32);
}

TEST_F(RasterCore, ImpossibleSizesGiveTheErrorFlag) {
  int w = 0, h = 5;
  EXPECT_EQ(r.qqvini(2969, 2099, &w, &h, 1, 0, 0), 1);
  EXPECT_FALSE(r.valid());
  w = 70000;
  EXPECT_EQ(r.qqvini(2969, 2099, &w, &h, 1, 0, 0), 1);
  // Drawing on a raster that does not exist changes nothing and reads 0.
  r.qqvlin(0, 0, 5, 5);
  r.qqvwpx(1, 1, 7);
  EXPECT_EQ(r.qqvrpx(1, 1), 0);
}

TEST_F(RasterCore, BackgroundWhiteOnlyWithTrueColourAndSwitch2) {
  make(4, 3, 1, 2);
  std::uint8_t rgb[3];
  r.qqvrdr(rgb, 3, 2, -1, 1);
  EXPECT_EQ(rgb[0], 255);
  EXPECT_EQ(rgb[2], 255);
  r.qqvwpx(3, 2, 4);
  r.qqvers();  // clears as at initialisation: white again
  r.qqvrdr(rgb, 3, 2, -1, 1);
  EXPECT_EQ(rgb[1], 255);
  make(4, 3, 0, 2);
  EXPECT_EQ(r.buffer()[0], 0);
}

TEST_F(RasterCore, SteppingLineFollowsTheErrorTerm) {
  make(10, 10, 0);
  r.qqvclr(5);
  r.qqvlin(0, 0, 4, 2);
  std::set<std::pair<int, int>> want = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}};
  EXPECT_EQ(pixels(5), want);
  // Steep, drawn upwards to the left: y steps, x follows.
  make(10, 10, 0);
  r.qqvclr(6);
  r.qqvlin(3, 6, 1, 0);
  want = {{3, 6}, {3, 5}, {2, 4}, {2, 3}, {2, 2}, {1, 1}, {1, 0}};
  EXPECT_EQ(pixels(6), want);
}

TEST_F(RasterCore, StraightLinesInEitherDirectionIncludeBothEnds) {
  make(8, 8, 1);
  r.qqvclr(9);
  r.qqvlin(6, 2, 1, 2);
  r.qqvlin(4, 7, 4, 4);
  std::set<std::pair<int, int>> want;
  for (int x = 1; x <= 6; ++x) want.insert({x, 2});
  for (int y = 4; y <= 7; ++y) want.insert({4, y});
  EXPECT_EQ(pixels(9), want);
}

TEST_F(RasterCore, LinesAndFillsOutsideTheRasterAreCut) {
  make(6, 5, 1);
  r.qqvclr(3);
  r.qqvlin(-20, -3, 40, 9);
  r.qqvlin(-5, 2, 50, 2);
  r.qqvlin(2, -50, 2, 50);
  r.qqvfll(-9, -9, 1, 0, 4);
  r.qqvfll(4, 3, 99, 99, 4);
  r.qqvwpx(6, 0, 3);
  r.qqvwpx(0, -1, 3);
  EXPECT_EQ(r.qqvrpx(-1, 0), 0);
  EXPECT_EQ(r.qqvrpx(0, 5), 0);
  std::set<std::pair<int, int>> boxes = {{0, 0}, {1, 0}, {4, 3}, {5, 3}, {4, 4}, {5, 4}};
  EXPECT_EQ(pixels(4), boxes);
  EXPECT_EQ(r.qqvrpx(2, 2), 3);
  EXPECT_EQ(r.qqvrpx(5, 2), 3);
}

TEST_F(RasterCore, RectangleFillUsesItsOwnColourInBothOrders) {
  make(6, 6, 0);
  r.qqvclr(1);
  r.qqvfll(4, 3, 2, 1, 300);  // index taken modulo 256: 44
  std::set<std::pair<int, int>> want;
  for (int y = 1; y <= 3; ++y)
    for (int x = 2; x <= 4; ++x) want.insert({x, y});
  EXPECT_EQ(pixels(44), want);
  EXPECT_EQ(r.currentColour(), 1);
}

TEST_F(RasterCore, TriangleIsFilledBetweenItsEdges) {
  make(12, 12, 1);
  int xs[3] = {1, 10, 1}, ys[3] = {1, 1, 10};
  r.qqvftr(xs, ys, 7);
  EXPECT_EQ(r.currentColour(), 7);
  auto set = pixels(7);
  // The right-angled triangle: row y holds x = 1 .. 11 - y.
  std::set<std::pair<int, int>> want;
  for (int y = 1; y <= 10; ++y)
    for (int x = 1; x <= 11 - y; ++x) want.insert({x, y});
  EXPECT_EQ(set, want);
  // A flat triangle and one beyond the edges do not write outside.
  int fx[3] = {-30, 40, 5}, fy[3] = {5, 5, 5};
  r.qqvftr(fx, fy, 8);
  EXPECT_EQ(pixels(8).size(), 12u);
  int bx[3] = {-100, 200, 6}, by[3] = {-100, -50, 300};
  r.qqvftr(bx, by, 9);
  EXPECT_GT(pixels(9).size(), 0u);
}

TEST_F(RasterCore, TrueColourPixelsReadBackAsTheirNearestIndex) {
  make(3, 1, 1);
  int table[256];
  testTable(table);
  r.qqvwpx(0, 0, 77);
  EXPECT_EQ(r.qqvrpx(0, 0), 77);
  std::uint8_t rgb[3] = {static_cast<std::uint8_t>((table[77] >> 16) + 1),
                         static_cast<std::uint8_t>(table[77] >> 8),
                         static_cast<std::uint8_t>(table[77])};
  if (rgb[0] == 0) rgb[0] = 254;
  r.qqvrow(rgb, 1, 0, -1);
  EXPECT_EQ(r.qqvrpx(1, 0), nearestIndex(table, rgb[0], rgb[1], rgb[2]));
  EXPECT_EQ(nearestIndex(table, (table[77] >> 16) & 255, (table[77] >> 8) & 255, table[77] & 255),
            77);
}

TEST_F(RasterCore, RowsConvertBetweenIndicesAndTriples) {
  int table[256];
  testTable(table);
  const std::uint8_t idx[4] = {0, 12, 200, 255};
  for (int mode : {0, 1}) {
    make(6, 2, mode);
    r.qqvrow(idx, 1, 1, 4);
    std::uint8_t back[6];
    r.qqvrdr(back, 0, 1, 6, 1);
    EXPECT_EQ(back[0], 0);
    EXPECT_EQ(back[1], 0);
    EXPECT_EQ(back[2], 12);
    EXPECT_EQ(back[3], 200);
    EXPECT_EQ(back[4], 255);
    std::uint8_t rgb[3 * 6];
    r.qqvrdr(rgb, 0, 1, -6, 1);
    EXPECT_EQ(rgb[3 * 3], (table[200] >> 16) & 255) << mode;
    EXPECT_EQ(rgb[3 * 3 + 1], (table[200] >> 8) & 255) << mode;
    EXPECT_EQ(rgb[3 * 3 + 2], table[200] & 255) << mode;
    // Triples in: palette mode stores the nearest index.
    const std::uint8_t in[6] = {static_cast<std::uint8_t>(table[40] >> 16),
                                static_cast<std::uint8_t>(table[40] >> 8),
                                static_cast<std::uint8_t>(table[40]), 255, 255, 255};
    r.qqvrow(in, 4, 0, -2);
    EXPECT_EQ(r.qqvrpx(4, 0), 40) << mode;
    EXPECT_EQ(r.qqvrpx(5, 0), 255) << mode;
  }
}

TEST_F(RasterCore, RowsAreCutAtBothEdgesAndReadZeroOutside) {
  make(4, 2, 0);
  const std::uint8_t idx[6] = {1, 2, 3, 4, 5, 6};
  r.qqvrow(idx, -2, 0, 6);  // pixels 3..6 land at x 0..3
  r.qqvrow(idx, 3, 1, 6);   // only the first lands
  r.qqvrow(idx, 0, 2, 6);   // below the raster: nothing
  std::uint8_t back[2 * 8];
  std::memset(back, 0xEE, sizeof back);
  r.qqvrdr(back, -2, 0, 8, 2);
  const std::uint8_t want[16] = {0, 0, 3, 4, 5, 6, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0};
  EXPECT_EQ(0, std::memcmp(back, want, 16));
}

TEST_F(RasterCore, TableLoadRecoloursTheCurrentColour) {
  make(2, 1, 1);
  r.qqvclr(10);
  int grey[256];
  for (int i = 0; i < 256; ++i) grey[i] = i * 0x010101;
  r.qqvvlt(grey);
  r.qqvlin(0, 0, 1, 0);
  std::uint8_t rgb[6];
  r.qqvrdr(rgb, 0, 0, -2, 1);
  EXPECT_EQ(rgb[0], 10);
  EXPECT_EQ(rgb[4], 10);
}

}  // namespace
}  // namespace korvan
