// The animated GIF output: one frame per sendbf, only the changed rectangle
// stored, read back by giftext and ImageMagick, each frame equal to the
// still PNG of the same picture.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "raster_support.h"

namespace korvan {
namespace {

using test::decodeWithConvert;
using test::sh;

// Frame k of a small animation: a red square moving right over the page
// border, a green line that stays.
void drawFrame(int k) {
  int zero = 0;
  pagfll(zero);
  color("GREEN");
  line(100, 1800, 2800, 1800);
  color("RED");
  int xs[4] = {400 + 300 * k, 700 + 300 * k, 700 + 300 * k, 400 + 300 * k};
  int ys[4] = {400, 400, 700, 700};
  areaf(xs, ys, 4);
}

// The images of a GIF (position and size of each), read from its blocks.
struct Frame {
  int x, y, w, h, delay;
  bool localTable;
};
std::vector<Frame> framesOf(const std::string& gif) {
  std::vector<Frame> out;
  auto u8 = [&](std::size_t i) { return static_cast<int>(static_cast<unsigned char>(gif[i])); };
  auto le16 = [&](std::size_t i) { return u8(i) | u8(i + 1) << 8; };
  if (gif.size() < 13) return out;
  std::size_t at = 13 + ((u8(10) & 0x80) ? 3u << ((u8(10) & 7) + 1) : 0);
  int delay = -1;
  while (at < gif.size()) {
    int b = u8(at);
    if (b == 0x3B) break;
    if (b == 0x21) {
      if (u8(at + 1) == 0xF9) delay = le16(at + 4);
      at += 2;
      while (at < gif.size() && u8(at) != 0) at += u8(at) + 1;
      ++at;
    } else if (b == 0x2C) {
      Frame f{le16(at + 1), le16(at + 3), le16(at + 5), le16(at + 7), delay,
              (u8(at + 9) & 0x80) != 0};
      at += 10 + (f.localTable ? 3u << ((u8(at + 9) & 7) + 1) : 0);
      ++at;  // code size
      while (at < gif.size() && u8(at) != 0) at += u8(at) + 1;
      ++at;
      out.push_back(f);
    } else {
      break;
    }
  }
  return out;
}

class AnimatedGif : public test::PlotTest {};

TEST_F(AnimatedGif, EverySendbfAddsAFrameOfTheChangedRectangle) {
  metafl("AGIF");
  frmdly(7);
  korini();
  const int frames = 3;
  for (int k = 0; k < frames; ++k) {
    drawFrame(k);
    sendbf();
  }
  korfin();
  std::string gif = slurp("korvan.gif");
  ASSERT_EQ(gif.rfind("GIF89a", 0), 0u);
  EXPECT_NE(gif.find("NETSCAPE2.0"), std::string::npos) << "the loop extension";
  std::string out;
  EXPECT_EQ(sh("giftext korvan.gif", &out), 0) << out;
  ASSERT_EQ(sh("identify -format '%Wx%H %T\\n' korvan.gif", &out), 0) << out;
  EXPECT_EQ(out, "853x603 7\n853x603 7\n853x603 7\n");

  std::vector<Frame> f = framesOf(gif);
  ASSERT_EQ(f.size(), 3u);
  EXPECT_EQ(f[0].w * f[0].h, 853 * 603) << "the first frame is whole";
  for (int k = 1; k < frames; ++k) {
    // Only the squares of frames k - 1 and k differ: 600 x 300 plot units.
    EXPECT_LT(f[k].w, 853 / 2);
    EXPECT_LT(f[k].h, 603 / 4);
    EXPECT_FALSE(f[k].localTable);
  }

  // Each frame, composed, is the still picture of that frame.
  ASSERT_EQ(sh("convert korvan.gif -coalesce frame-%d.ppm", &out), 0) << out;
  for (int k = 0; k < frames; ++k) {
    SCOPED_TRACE(k);
    qqsglb(1);
    metafl("PNG");
    korini();
    drawFrame(k);
    std::string png = qqgglb().outFileName;
    korfin();
    test::Decoded still = decodeWithConvert(png);
    test::Decoded frame;
    ASSERT_TRUE(test::readPpm("frame-" + std::to_string(k) + ".ppm", &frame));
    EXPECT_TRUE(test::samePixels(frame, still));
    std::remove(png.c_str());
  }
}

TEST_F(AnimatedGif, UnchangedFramesKeepTheirPlaceAndTheEndAddsWhatFollows) {
  // Two unchanged frames are one pixel each; what korfin finds drawn after
  // the last frame is one more; a plot without sendbf is one frame.
  metafl("AGIF");
  korini();
  drawFrame(0);
  sendbf();
  sendbf();
  sendbf();
  drawFrame(1);
  korfin();
  std::vector<Frame> f = framesOf(slurp("korvan.gif"));
  ASSERT_EQ(f.size(), 4u);
  EXPECT_EQ(f[1].w * f[1].h, 1);
  EXPECT_EQ(f[2].w * f[2].h, 1);
  EXPECT_GT(f[3].w * f[3].h, 1);
  EXPECT_EQ(f[0].delay, 4) << "the default delay";

  qqsglb(1);
  metafl("AGIF");
  korini();
  drawFrame(0);
  std::string name = qqgglb().outFileName;
  korfin();
  EXPECT_EQ(framesOf(slurp(name)).size(), 1u);
  std::string out;
  EXPECT_EQ(sh("giftext " + name, &out), 0) << out;
}

TEST_F(AnimatedGif, ANewColourTableGoesWithTheFrame) {
  metafl("AGIF");
  korini();
  drawFrame(0);
  sendbf();
  setvlt("GREY");
  drawFrame(0);
  korfin();
  std::vector<Frame> f = framesOf(slurp("korvan.gif"));
  ASSERT_EQ(f.size(), 2u);
  EXPECT_FALSE(f[0].localTable);
  EXPECT_TRUE(f[1].localTable);
  EXPECT_EQ(f[1].w * f[1].h, 853 * 603);
}

TEST_F(AnimatedGif, FrameDelayIsCheckedAndSetBeforeTheAxes) {
  std::string out = output([] {
    frmdly(-1);
    frmdly(70000);
  });
  EXPECT_NE(out.find("Warning   2"), std::string::npos) << out;
  metafl("AGIF");
  korini();
  out = output([] { frmdly(10); });
  EXPECT_EQ(out.find("Warning"), std::string::npos) << out;
  graf(0, 1, 0, 1, 0, 1, 0, 1);
  out = output([] { frmdly(10); });
  EXPECT_NE(out.find("Warning   3"), std::string::npos) << out;
  endgrf();
  korfin();
}

}  // namespace
}  // namespace korvan
