// CGM output: the exact header elements, the 80-byte blocks, and the
// drawing read back by a small element reader of the binary encoding that
// knows nothing of the driver.
#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <string>
#include <vector>

#include "core/sink.h"
#include "draw/device_ops.h"
#include "core/state.h"
#include "devices/cgm/cgm_driver.h"
#include "devices/dispatch.h"
#include "draw/colour.h"
#include "korvan.h"
#include "support/plot_fixture.h"

namespace korvan::test {
namespace {

// One element of a binary metafile.
struct Element {
  int cls = 0, id = 0;
  std::size_t at = 0;          // offset of the header word
  bool longForm = false;
  std::vector<std::uint8_t> p; // parameters without the padding byte
  int word(std::size_t k) const {
    return static_cast<std::int16_t>(p[2 * k] << 8 | p[2 * k + 1]);
  }
  std::string str() const {  // a string parameter: count byte and text
    return p.empty() ? std::string() : std::string(p.begin() + 1, p.begin() + 1 + p[0]);
  }
};

struct Metafile {
  std::vector<Element> elements;
  std::size_t end = 0;  // offset after END METAFILE
  bool ok = false;
  std::string error;
};

// Reads elements up to END METAFILE: header word (class, id, length), the
// long form's length word, parameters and the padding byte of odd lengths.
Metafile readCgm(const std::string& f) {
  Metafile m;
  std::size_t i = 0;
  auto u16 = [&f](std::size_t k) {
    return static_cast<unsigned>(static_cast<std::uint8_t>(f[k]) << 8 |
                                 static_cast<std::uint8_t>(f[k + 1]));
  };
  while (i + 2 <= f.size()) {
    Element e;
    e.at = i;
    unsigned h = u16(i);
    i += 2;
    e.cls = static_cast<int>(h >> 12);
    e.id = static_cast<int>((h >> 5) & 0x7F);
    std::size_t len = h & 31;
    if (len == 31) {
      if (i + 2 > f.size()) break;
      unsigned lw = u16(i);
      i += 2;
      if (lw & 0x8000) {
        m.error = "partitioned element";
        return m;
      }
      len = lw;
      e.longForm = true;
    }
    if (i + len > f.size()) {
      m.error = "element runs past the end";
      return m;
    }
    e.p.assign(f.begin() + static_cast<std::ptrdiff_t>(i),
               f.begin() + static_cast<std::ptrdiff_t>(i + len));
    i += len + (len % 2);
    m.elements.push_back(e);
    if (e.cls == 0 && e.id == 2) {
      m.end = i;
      m.ok = true;
      return m;
    }
  }
  m.error = "no END METAFILE";
  return m;
}

std::vector<const Element*> ofKind(const Metafile& m, int cls, int id) {
  std::vector<const Element*> out;
  for (const Element& e : m.elements)
    if (e.cls == cls && e.id == id) out.push_back(&e);
  return out;
}

using Points = std::vector<std::pair<int, int>>;
Points points(const Element& e) {
  Points v;
  for (std::size_t k = 0; 2 * k + 1 < e.p.size() / 2; ++k) v.push_back({e.word(2 * k), e.word(2 * k + 1)});
  return v;
}

class CgmTest : public PlotTest {
 protected:
  Global& start(int version = 1) {
    metafl("CGM");
    Global& g0 = qqgglb();
    g0.cgmVersion = version;
    korini();
    Global& g = qqgglb();
    g.protocolOn = 0;
    return g;
  }
  std::string finish() { return endAndRead(); }
  // The elements of the picture body, without the header and the final
  // move of the plot end.
  static std::vector<Element> body(const Metafile& m) {
    std::vector<Element> out;
    bool in = false;
    for (const Element& e : m.elements) {
      if (e.cls == 0 && e.id == 4) {
        in = true;
        continue;
      }
      if (e.cls == 0 && e.id == 5) break;
      if (in) out.push_back(e);
    }
    return out;
  }
};

TEST_F(CgmTest, HeaderElementsAreExact) {
  start();
  std::string f = finish();
  ASSERT_GE(f.size(), 160u);
  std::string expected;
  auto w = [&expected](unsigned v) {
    expected += static_cast<char>(v >> 8);
    expected += static_cast<char>(v & 255);
  };
  // BEGIN METAFILE with the file name: length 11, count 10, padding
  w(0x003F);
  w(11);
  expected += '\x0A';
  expected += "korvan.cgm";
  expected += '\0';
  w(0x1022);
  w(1);
  ASSERT_EQ(f.substr(0, expected.size()), expected);

  std::size_t at = expected.size();
  ASSERT_EQ(f.substr(at, 2), std::string("\x10\x5F", 2));
  unsigned len = static_cast<unsigned char>(f[at + 2]) << 8 | static_cast<unsigned char>(f[at + 3]);
  unsigned n = static_cast<unsigned char>(f[at + 4]);
  EXPECT_EQ(len, n + 1);
  std::string desc = f.substr(at + 5, n);
  EXPECT_TRUE(std::regex_match(desc, std::regex(
                  "\"ProfileId:CALS\",\"ProfileEd:1.0\",\"Source:KORVAN  8.3\","
                  "\"Date:20[0-9]{2}[01][0-9][0-3][0-9]\",\"ColourClass:colour\"")))
      << desc;
  at += 5 + n + (n % 2 == 0 ? 1 : 0);

  std::string rest;
  expected.swap(rest);
  w(0x1166);
  w(1);
  w(0xFFFF);
  w(1);
  // BEGIN PICTURE "Picture 1": length 10, count 9, no padding
  w(0x007F);
  w(10);
  expected += '\x09';
  expected += "Picture 1";
  w(0x2042);
  w(1);
  w(0x20C8);
  w(0);
  w(0);
  w(5938);
  w(4198);
  w(0x20E4);
  expected += std::string("\xFF\xFF\xFF\0", 4);
  w(0x0080);
  EXPECT_EQ(f.substr(at, expected.size()), expected);
}

TEST_F(CgmTest, WebProfileAddsTheMetricScaling) {
  start(2);
  std::string f = finish();
  Metafile m = readCgm(f);
  ASSERT_TRUE(m.ok) << m.error;
  auto version = ofKind(m, 1, 1);
  ASSERT_EQ(version.size(), 1u);
  EXPECT_EQ(version[0]->word(0), 2);
  auto desc = ofKind(m, 1, 2);
  ASSERT_EQ(desc.size(), 1u);
  EXPECT_EQ(desc[0]->str().find("\"ProfileId:WebCGM\""), 0u);
  auto scaling = ofKind(m, 2, 1);
  ASSERT_EQ(scaling.size(), 1u);
  EXPECT_EQ(scaling[0]->p, (std::vector<std::uint8_t>{0, 1, 0x3D, 0x4C, 0xCC, 0xC8}));
  // the scaling comes after BEGIN PICTURE and before COLOUR SELECTION MODE
  EXPECT_LT(ofKind(m, 0, 3)[0]->at, scaling[0]->at);
  EXPECT_LT(scaling[0]->at, ofKind(m, 2, 2)[0]->at);
  // the default profile has none
  qqsglb(1);
  start(1);
  EXPECT_TRUE(ofKind(readCgm(finish()), 2, 1).empty());
}

TEST_F(CgmTest, FileIsWholeBlocksEndedByTheEndElements) {
  Global& g = start();
  line(10, 10, 200, 300);
  sendbf();
  int vectors = g.vectorCount;
  std::string f = finish();
  ASSERT_EQ(f.size() % 80, 0u);
  Metafile m = readCgm(f);
  ASSERT_TRUE(m.ok) << m.error;
  // blanks fill the last block after END METAFILE
  for (std::size_t i = m.end; i < f.size(); ++i) ASSERT_EQ(f[i], ' ') << i;
  EXPECT_LT(f.size() - m.end, 80u);
  // END PICTURE directly before END METAFILE: the 4-byte end
  EXPECT_EQ(f.substr(m.end - 4, 4), std::string("\x00\xA0\x00\x40", 4));
  // the plot end moves to (0, 0): one more vector, a one-point path at the
  // top left corner
  EXPECT_EQ(qqgglb().vectorCount, vectors + 1);
  const Element& last = m.elements[m.elements.size() - 3];
  ASSERT_EQ(last.cls, 4);
  EXPECT_EQ(points(last), (Points{{0, 4198}}));
}

TEST_F(CgmTest, LinesBecomePolylinesInVdc) {
  start();
  line(0, 0, 2969, 2099);  // corner to corner
  line(100, 200, 300, 200);
  std::string f = finish();
  Metafile m = readCgm(f);
  ASSERT_TRUE(m.ok) << m.error;
  auto lines = ofKind(m, 4, 1);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_TRUE(lines[0]->longForm);
  EXPECT_EQ(points(*lines[0]), (Points{{0, 4198}, {5938, 0}}));
  EXPECT_EQ(points(*lines[1]), (Points{{200, 3798}, {600, 3798}}));
}

TEST_F(CgmTest, LongPathsContinueFromTheirLastPoint) {
  Global& g = start();
  // 60 draws after one move: 50 points, then the rest from the 50th on
  xjdraw(g, 10.0f, 100.0f, 3);
  for (int k = 1; k <= 60; ++k) xjdraw(g, 10.0f + 10.0f * static_cast<float>(k), 100.0f, 2);
  std::string f = finish();
  Metafile m = readCgm(f);
  ASSERT_TRUE(m.ok) << m.error;
  auto lines = ofKind(m, 4, 1);
  ASSERT_GE(lines.size(), 2u);
  Points a = points(*lines[0]), b = points(*lines[1]);
  ASSERT_EQ(a.size(), 50u);
  ASSERT_EQ(b.size(), 12u);
  EXPECT_EQ(a.front(), (std::pair<int, int>{20, 3998}));
  EXPECT_EQ(b.front(), a.back());
  EXPECT_EQ(b.back(), (std::pair<int, int>{2 * 610, 3998}));
  EXPECT_EQ(lines[0]->p.size(), 4u * 50u);
}

TEST_F(CgmTest, DrawAfterAFlushStartsAtThePen) {
  Global& g = start();
  xjdraw(g, 50.0f, 50.0f, 3);
  xjdraw(g, 60.0f, 50.0f, 2);
  qqsclr(g, 30);  // flushes the path
  xjdraw(g, 60.0f, 70.0f, 2);
  Metafile m = readCgm(finish());
  ASSERT_TRUE(m.ok) << m.error;
  auto lines = ofKind(m, 4, 1);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(points(*lines[1]), (Points{{120, 4098}, {120, 4058}}));
}

TEST_F(CgmTest, LineColourOnlyWhenTheIndexChanges) {
  Global& g = start();
  g.colourTable[200] = 0x123456;
  qqsclr(g, 200);
  qqsclr(g, 200);
  line(10, 10, 20, 20);
  qqsclr(g, 200 + 256);  // another index of the same entry
  Metafile m = readCgm(finish());
  ASSERT_TRUE(m.ok) << m.error;
  auto colours = ofKind(m, 5, 4);
  ASSERT_EQ(colours.size(), 2u);
  EXPECT_EQ(colours[0]->p, (std::vector<std::uint8_t>{0x12, 0x34, 0x56}));
  EXPECT_EQ(colours[1]->p, (std::vector<std::uint8_t>{0x12, 0x34, 0x56}));
  // six bytes in all: header word, three bytes and the padding byte
  EXPECT_EQ(colours[1]->at - colours[0]->at, 6u + 2u + 2u + 8u);
}

TEST_F(CgmTest, ColourNamesSelectTheirEntries) {
  start();
  color("RED");
  line(10, 10, 20, 20);
  color("GREEN");
  line(10, 10, 20, 20);
  Metafile m = readCgm(finish());
  ASSERT_TRUE(m.ok) << m.error;
  std::vector<std::vector<std::uint8_t>> seen;
  for (const Element& e : body(m))
    if (e.cls == 5 && e.id == 4) seen.push_back(e.p);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], (std::vector<std::uint8_t>{255, 0, 0}));
  EXPECT_EQ(seen[1], (std::vector<std::uint8_t>{0, 255, 0}));
}

TEST_F(CgmTest, BoxesAreHatchedInTheirColour) {
  Global& g = start();
  g.colourTable[44] = 0x00FF00;
  dbox(g, 100, 100, 110, 105, 300);  // 300 is entry 44
  Metafile m = readCgm(finish());
  ASSERT_TRUE(m.ok) << m.error;
  std::vector<Element> b = body(m);
  ASSERT_GE(b.size(), 2u);
  EXPECT_EQ(b[0].cls, 5);
  EXPECT_EQ(b[0].p, (std::vector<std::uint8_t>{0, 255, 0}));
  Points pts = points(b[1]);
  // a zigzag from the top edge down, 1.4 plot units (2.8 VDC) apart
  ASSERT_GE(pts.size(), 8u);
  EXPECT_EQ(pts[0], (std::pair<int, int>{200, 4198 - 200}));
  EXPECT_EQ(pts[1], (std::pair<int, int>{220, 4198 - 200}));
  EXPECT_EQ(pts[2], (std::pair<int, int>{220, 4198 - 203}));
  EXPECT_EQ(pts[3], (std::pair<int, int>{200, 4198 - 203}));
  for (const auto& p : pts) {
    EXPECT_GE(p.first, 200);
    EXPECT_LE(p.first, 220);
    EXPECT_LE(p.second, 4198 - 200);
    EXPECT_GE(p.second, 4198 - 210);
  }
}

TEST_F(CgmTest, StringsArePaddedToEvenLengthAndCut) {
  Global& g = start();
  auto* d = dynamic_cast<CgmDriver*>(g.driver.get());
  ASSERT_NE(d, nullptr);
  std::size_t before = static_cast<std::size_t>(g.outFile->count()) + static_cast<std::size_t>(g.lines->pending());
  d->qqcgm1(g, "Picture 10");
  std::string longName(300, 'n');
  d->qqcgm1(g, longName.c_str());
  std::string f = finish();
  EXPECT_EQ(f.substr(before, 14), std::string("\x00\x0B\x0APicture 10\x00", 14));
  // 255 characters at most: length word 256, count 255, no padding
  EXPECT_EQ(f.substr(before + 14, 3), std::string("\x01\x00\xFF", 3));
  EXPECT_EQ(f.substr(before + 17, 255), std::string(255, 'n'));
  EXPECT_NE(f[before + 17 + 255], 'n');
}

TEST_F(CgmTest, WideLinesAndFillsArriveAsPolylines) {
  start();
  linwid(5);
  line(100, 100, 1000, 100);
  int xs[3] = {100, 600, 100}, ys[3] = {300, 300, 800};
  shdpat(16);
  areaf(xs, ys, 3);
  EXPECT_EQ(qqgglb().lineWidth, 5);
  Metafile m = readCgm(finish());
  ASSERT_TRUE(m.ok) << m.error;
  // the centre line and its outlines, the hatch lines of the fill
  EXPECT_GT(ofKind(m, 4, 1).size(), 20u);
  for (const Element& e : m.elements) {
    bool known = (e.cls == 0) || (e.cls == 1) || (e.cls == 2) || (e.cls == 4 && e.id == 1) ||
                 (e.cls == 5 && e.id == 4);
    EXPECT_TRUE(known) << e.cls << "/" << e.id;
  }
}

}  // namespace
}  // namespace korvan::test
