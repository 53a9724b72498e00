// The element-file reader: list-directed records, the page geometry and the
// faults that end a viewer before its window opens.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "elements.h"

using orbview::ElementReader;
using orbview::Elements;
using orbview::Track;

namespace {

class ViewersReader : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/viewers_elements_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    ASSERT_NE(getcwd(old_, sizeof old_), nullptr);
    ASSERT_EQ(chdir(dir_.c_str()), 0);
  }
  void TearDown() override {
    ASSERT_EQ(chdir(old_), 0);
    std::system(("rm -rf '" + dir_ + "'").c_str());
  }
  static void write(const std::string& name, const std::string& text) {
    std::ofstream(name, std::ios::binary) << text;
  }
  // All records of one file, or the reader's error.
  static std::vector<Elements> records(const std::string& text, std::string* error = nullptr) {
    write("elm0001.dat", text);
    ElementReader r("elm0001.dat");
    std::vector<Elements> out;
    if (!r.open()) {
      if (error) *error = r.error();
      return out;
    }
    Elements e;
    for (;;) {
      auto st = r.next(e);
      if (st == ElementReader::Status::Record) {
        out.push_back(e);
        continue;
      }
      if (st == ElementReader::Status::Error && error) *error = r.error();
      break;
    }
    return out;
  }
  std::string dir_;
  char old_[4096];
};

void expectRecord(const Elements& e, float t, float a, float ex, float i, float odo, float w,
                  float m, int nobj) {
  EXPECT_FLOAT_EQ(e.tiempo, t);
  EXPECT_FLOAT_EQ(e.semieje, a);
  EXPECT_FLOAT_EQ(e.ex, ex);
  EXPECT_FLOAT_EQ(e.ynclin, i);
  EXPECT_FLOAT_EQ(e.odo, odo);
  EXPECT_FLOAT_EQ(e.w, w);
  EXPECT_FLOAT_EQ(e.anomamedia, m);
  EXPECT_EQ(e.nobj, nobj);
}

Elements elements(float semieje, float ex, float odo, float w) {
  Elements e;
  e.semieje = semieje;
  e.ex = ex;
  e.odo = odo;
  e.w = w;
  return e;
}

}  // namespace

TEST(ViewersFileName, FourDigitsOfTheBodyNumber) {
  EXPECT_EQ(orbview::elementFileName(5), "elm0005.dat");
  EXPECT_EQ(orbview::elementFileName(0), "elm0000.dat");
  EXPECT_EQ(orbview::elementFileName(42), "elm0042.dat");
  EXPECT_EQ(orbview::elementFileName(907), "elm0907.dat");
  EXPECT_EQ(orbview::elementFileName(9999), "elm9999.dat");
  for (int n = 0; n <= 9999; ++n) {
    char expect[16];
    std::snprintf(expect, sizeof expect, "elm%04d.dat", n);
    ASSERT_EQ(orbview::elementFileName(n), expect);
  }
  EXPECT_THROW(orbview::elementFileName(10000), std::out_of_range);
  EXPECT_THROW(orbview::elementFileName(-1), std::out_of_range);
}

TEST(ViewersGeometry, WorkedExampleAtScale257) {
  auto g = orbview::convert(elements(2.0f, 0.5f, 0.0f, 0.0f), 257);
  EXPECT_EQ(g.a, 514);
  EXPECT_EQ(g.b, 445);
  EXPECT_EQ(g.xc, 1228);
  EXPECT_EQ(g.yc, 1050);
  EXPECT_EQ(orbview::kStarX + g.xv, 1742);
  EXPECT_EQ(orbview::kStarY + g.yv, 1050);
  EXPECT_FLOAT_EQ(g.giro, 0.0f);
}

TEST(ViewersGeometry, RotationAndPageSense) {
  // Periapsis straight up on the page (90 degrees counter-clockwise): the
  // centre lies below the star (larger page y), the periapsis above it.
  auto g = orbview::convert(elements(2.0f, 0.5f, 30.0f, 60.0f), 257);
  EXPECT_EQ(g.xc, 1485);
  EXPECT_EQ(g.yc, 1050 + 257);
  EXPECT_EQ(g.xv, 0);
  EXPECT_EQ(g.yv, -257);
  // 180 degrees: centre right of the star.
  g = orbview::convert(elements(1.0f, 0.2f, 100.0f, 80.0f), 500);
  EXPECT_EQ(g.a, 500);
  EXPECT_EQ(g.b, static_cast<int>(500.0f * std::sqrt(0.96f)));
  EXPECT_EQ(g.xc, 1485 + 100);
  EXPECT_EQ(g.yc, 1050);
  EXPECT_EQ(g.xv, -400);
}

TEST(ViewersGeometry, GiroLosesOnly360Once) {
  EXPECT_FLOAT_EQ(orbview::convert(elements(1, 0, 300, 100), 27).giro, 40.0f);
  EXPECT_FLOAT_EQ(orbview::convert(elements(1, 0, 300, 60), 27).giro, 360.0f);
  EXPECT_FLOAT_EQ(orbview::convert(elements(1, 0, -50, 20), 27).giro, -30.0f);
  EXPECT_FLOAT_EQ(orbview::convert(elements(1, 0, 400, 400), 27).giro, 440.0f);
}

TEST(ViewersGeometry, CircleSitsOnTheStar) {
  auto g = orbview::convert(elements(1.5f, 0.0f, 123.0f, 45.0f), 500);
  EXPECT_EQ(g.a, 750);
  EXPECT_EQ(g.b, 750);
  EXPECT_EQ(g.xc, 1485);
  EXPECT_EQ(g.yc, 1050);
}

TEST(ViewersGeometry, TruncatesTowardZeroInSinglePrecision) {
  // 27 * 5.2 = 140.4 -> 140; in double 0.7 * 3 would differ from float here
  // only by rounding, which truncation must not turn into a unit.
  auto g = orbview::convert(elements(5.2f, 0.048f, 100.0f, 274.0f), 27);
  EXPECT_EQ(g.a, 140);
  float sa = 27.0f * 5.2f;
  EXPECT_EQ(g.b, static_cast<int>(sa * std::sqrt(1.0f - 0.048f * 0.048f)));
  float th = 14.0f * (3.1415927f / 180.0f) + 3.1415927f;
  EXPECT_EQ(g.xc, static_cast<int>(sa * 0.048f * std::cos(th)) + 1485);
  EXPECT_EQ(g.yc, 1050 - static_cast<int>(sa * 0.048f * std::sin(th)));
  // Negative products truncate toward zero, not down.
  auto n = orbview::convert(elements(1.0f, 0.0031f, 0.0f, 0.0f), 500);
  EXPECT_EQ(n.xc, 1485 - 1);  // -1.55 -> -1
}

TEST_F(ViewersReader, SeparatorsBlanksCommasAndBoth) {
  auto r = records(
      "header\n"
      "1 2 0.5 3 4 5 6 7\n"
      "1,2,0.5,3,4,5,6,7\n"
      "1 , 2 ,0.5,  3\t4 ,5, 6 7   \n"
      "  1.0e0 2.0D0 5E-1 3d0 .4e1 +5. 6.0 +7\r\n");
  ASSERT_EQ(r.size(), 4u);
  for (const auto& e : r) expectRecord(e, 1, 2, 0.5f, 3, 4, 5, 6, 7);
}

TEST_F(ViewersReader, RecordsSpanLinesAndStartOnANewLine) {
  auto r = records(
      "h\n"
      "1 2\n"
      "\n"
      "0.5 3 4\n"
      "5 6 7 99 98 97\n"  // values after the eighth belong to no record
      "10 20 0.25 30 40 50 60 70\n");
  ASSERT_EQ(r.size(), 2u);
  expectRecord(r[0], 1, 2, 0.5f, 3, 4, 5, 6, 7);
  expectRecord(r[1], 10, 20, 0.25f, 30, 40, 50, 60, 70);
}

TEST_F(ViewersReader, RepeatCountsNullsAndSlash) {
  auto r = records(
      "h\n"
      "1 2 0.5 3 4 5 6 7\n"
      "3*0.25 4*9 8\n"         // repeat counts across items of both types
      "11,,,,,,,12\n"          // null values keep the previous record's
      "2*,0.75 5*\n"           // r* is r null values
      "21 22 0.125 /\n"        // slash ends the record early
      ",31/\n");
  ASSERT_EQ(r.size(), 6u);
  expectRecord(r[0], 1, 2, 0.5f, 3, 4, 5, 6, 7);
  expectRecord(r[1], 0.25f, 0.25f, 0.25f, 9, 9, 9, 9, 8);
  expectRecord(r[2], 11, 0.25f, 0.25f, 9, 9, 9, 9, 12);
  expectRecord(r[3], 11, 0.25f, 0.75f, 9, 9, 9, 9, 12);
  expectRecord(r[4], 21, 22, 0.125f, 9, 9, 9, 9, 12);
  expectRecord(r[5], 21, 31, 0.125f, 9, 9, 9, 9, 12);
}

TEST_F(ViewersReader, HeaderIsExactlyTheFirstLine) {
  auto r = records("\n1 2 0.5 3 4 5 6 7\n");
  ASSERT_EQ(r.size(), 1u);  // an empty header swallows no record
  r = records("1 2 0.5 3 4 5 6 7\n8 2 0.5 3 4 5 6 7\n");
  ASSERT_EQ(r.size(), 1u);
  EXPECT_FLOAT_EQ(r[0].tiempo, 8);
  r = records("only a header");
  EXPECT_TRUE(r.empty());
}

TEST_F(ViewersReader, AfterBlankLinesTheFirstTextIsTheHeaderUnlessItIsARecord) {
  struct {
    const char* text;
    std::size_t records;
    float firstTiempo;
  } cases[] = {
      {"\n  \n Elements of body 5\n1 2 0.5 3 4 5 6 7\n", 1, 1},
      {"\n\n9 2 0.5 3\n 4 5 6 7\n1 2 0.5 3 4 5 6 7\n", 2, 9},  // a record over two lines
      {"\n2024 orbit\n1 2 0.5 3 4 5 6 7\n", 1, 1},
  };
  for (const auto& c : cases) {
    std::string err;
    auto r = records(c.text, &err);
    EXPECT_EQ(err, "") << c.text;
    ASSERT_EQ(r.size(), c.records) << c.text;
    EXPECT_FLOAT_EQ(r[0].tiempo, c.firstTiempo) << c.text;
  }
  // a complete record with a bad value is data: its error is reported
  std::string err;
  records("\n\n1 2 1.5 3 4 5 6 7\n", &err);
  EXPECT_EQ(err, "elm0001.dat, line 3: ex \"1.5\" is outside 0 <= ex < 1");
}

TEST_F(ViewersReader, BadNumbersNameFileLineAndValue) {
  std::string err;
  records("h\n1 2 0.5 3 4 5 6 7\n1 2 0.5 3\n4 5 6 7.0\n", &err);
  EXPECT_EQ(err, "elm0001.dat, line 4: nobj \"7.0\" is not an integer");
  records("h\n1 2x 0.5 3 4 5 6 7\n", &err);
  EXPECT_EQ(err, "elm0001.dat, line 2: semieje \"2x\" is not a real number");
  for (const char* bad : {"1.2.3", "e5", ".", "+", "1e", "1e+", "inf", "nan", "0x10", "1;2",
                          "'1'", "1.5q2"}) {
    err.clear();
    auto r = records(std::string("h\n") + bad + " 2 0.5 3 4 5 6 7\n", &err);
    EXPECT_TRUE(r.empty()) << bad;
    EXPECT_NE(err.find("tiempo"), std::string::npos) << bad << ": " << err;
  }
  records("h\n1 1e39 0.5 3 4 5 6 7\n", &err);
  EXPECT_EQ(err, "elm0001.dat, line 2: semieje \"1e39\" is out of the range of a real");
  records("h\n1 2 0.5 3 4 5 6 99999999999\n", &err);
  EXPECT_NE(err.find("nobj \"99999999999\""), std::string::npos);
  records("h\n0*1 2 0.5 3 4 5 6 7\n", &err);
  EXPECT_EQ(err, "elm0001.dat, line 2: \"0*1\" has no valid repeat count");
  records("h\n1 2 -0.1 3 4 5 6 7\n", &err);
  EXPECT_EQ(err, "elm0001.dat, line 2: ex \"-0.1\" is outside 0 <= ex < 1");
  records("h\n1 2 1.0 3 4 5 6 7\n", &err);
  EXPECT_EQ(err, "elm0001.dat, line 2: ex \"1.0\" is outside 0 <= ex < 1");
  // Accepted edge values of the syntax.
  auto r = records("h\n-1.5e+2 2. .5 1d-3 -4 +5 6E0 -7\n");
  ASSERT_EQ(r.size(), 1u);
  expectRecord(r[0], -150, 2, 0.5f, 0.001f, -4, 5, 6, -7);
}

TEST_F(ViewersReader, LongLinesAreRefusedAndMessagesQuoteAShortPrintableExcerpt) {
  const std::string longLine(ElementReader::kMaxLine + 1, '1');
  const std::string fits(ElementReader::kMaxLine - 17, ' ');  // a line of exactly the bound
  const struct {
    std::string text, error;
  } rows[] = {
      {longLine, "elm0001.dat, line 1: line longer than 4096 characters"},
      {"h\n" + longLine, "elm0001.dat, line 2: line longer than 4096 characters"},
      {"\n\n" + longLine + "\n", "elm0001.dat, line 3: line longer than 4096 characters"},
      {"h\n1 2 0.5 3 4 5 6 7\n" + longLine, "elm0001.dat, line 3: line longer than 4096 characters"},
      {"h\n1 2 0.5 3 4 5 6 7" + fits + "\n", ""},
      {"h\n1 2" + std::string(300000, 'x') + " 0.5 3 4 5 6 7\n",
       "elm0001.dat, line 2: line longer than 4096 characters"},
      {"h\n1 2" + std::string(4000, 'x') + " 0.5 3 4 5 6 7\n",
       "elm0001.dat, line 2: semieje \"2xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...\" is not a real number"},
      {std::string("h\n1 2\x1b[2J\x07 0.5 3 4 5 6 7\n"),
       "elm0001.dat, line 2: semieje \"2\\x1B[2J\\x07\" is not a real number"},
      {std::string("h\n1 2 0.5 3 4 5 6 7\x7f\n", 21),
       "elm0001.dat, line 2: nobj \"7\\x7F\" is not an integer"},
      {std::string("h\n1 2 0.5 3 4 5 6 \0\x01\n", 21),
       "elm0001.dat, line 2: nobj \"\\x00\\x01\" is not an integer"},
  };
  for (const auto& r : rows) {
    std::string err;
    records(r.text, &err);
    EXPECT_EQ(err, r.error) << r.text.substr(0, 40);
  }
}

TEST_F(ViewersReader, AnEndlessFileIsRefusedAtTheLineBound) {
  if (symlink("/dev/zero", "elm0001.dat") != 0) GTEST_SKIP() << "no symbolic link";
  ElementReader r("elm0001.dat");
  EXPECT_FALSE(r.open());
  EXPECT_EQ(r.error(), "elm0001.dat, line 1: line longer than 4096 characters");
}

class ViewersTracks : public ViewersReader {
 protected:
  bool read(const std::vector<int>& bodies, int scale = 257) {
    return orbview::readTracks(bodies, scale, tracks_, error_, warning_);
  }
  std::vector<Track> tracks_;
  std::string error_, warning_;
};

TEST_F(ViewersTracks, FirstFileSetsTheNumberOfRecords) {
  write("elm0005.dat", "h\n0 2 0.5 0 0 0 0 5\n1 2 0.5 0 30 60 0 5\n2 1 0 0 0 0 0 5\n");
  write("elm0006.dat",
        "h\n0 1 0 0 0 0 0 6\n1 1 0 0 0 0 0 6\n2 1 0 0 0 0 0 6\nnot read at all\n");
  ASSERT_TRUE(read({5, 6})) << error_;
  EXPECT_TRUE(warning_.empty());
  ASSERT_EQ(tracks_.size(), 2u);
  ASSERT_EQ(tracks_[0].size(), 3u);
  ASSERT_EQ(tracks_[1].size(), 3u);
  EXPECT_EQ(tracks_[0].a[0], 514);
  EXPECT_EQ(tracks_[0].b[0], 445);
  EXPECT_EQ(tracks_[0].xc[0], 1228);
  EXPECT_EQ(tracks_[0].xv[0], 257);
  EXPECT_EQ(tracks_[0].yc[1], 1050 + 257);
  EXPECT_EQ(tracks_[0].a[2], 257);
  EXPECT_EQ(tracks_[1].a[2], 257);
}

TEST_F(ViewersTracks, IncompleteLastRecordIsDroppedWithAWarning) {
  write("elm0005.dat", "h\n0 2 0.5 0 0 0 0 5\n1 2 0.5\n");
  write("elm0006.dat", "h\n0 1 0 0 0 0 0 6\n");
  ASSERT_TRUE(read({5, 6})) << error_;
  EXPECT_EQ(tracks_[0].size(), 1u);
  EXPECT_EQ(warning_, "elm0005.dat, line 3: incomplete last record dropped (3 of 8 values)");
}

TEST_F(ViewersTracks, OnlyAHeaderGivesNoFrames) {
  write("elm0005.dat", "header only\n");
  write("elm0006.dat", "\n");
  ASSERT_TRUE(read({5, 6})) << error_;
  EXPECT_EQ(tracks_[0].size(), 0u);
  EXPECT_EQ(tracks_[1].size(), 0u);
}

TEST_F(ViewersTracks, MissingFileIsNotCreated) {
  write("elm0005.dat", "h\n0 2 0.5 0 0 0 0 5\n");
  EXPECT_FALSE(read({5, 6}));
  EXPECT_EQ(error_, "elm0006.dat: No such file or directory");
  EXPECT_NE(access("elm0006.dat", F_OK), 0);
  EXPECT_FALSE(read({7}));
  EXPECT_EQ(error_, "elm0007.dat: No such file or directory");
}

TEST_F(ViewersTracks, FurtherFileShortOfRecords) {
  write("elm0005.dat", "h\n0 2 0.5 0 0 0 0 5\n1 2 0.5 0 0 0 0 5\n");
  write("elm0006.dat", "h\n0 1 0 0 0 0 0 6\n1 1 0\n");
  EXPECT_FALSE(read({5, 6}));
  EXPECT_EQ(error_, "elm0006.dat, line 3: end of file after 1 of 2 records");
}

TEST_F(ViewersTracks, EmptyFileEndsTheRun) {
  write("elm0005.dat", "");
  EXPECT_FALSE(read({5}));
  EXPECT_EQ(error_, "elm0005.dat, line 1: empty file, no header line");
}

TEST_F(ViewersTracks, ValuesOutsideThePage) {
  write("elm0005.dat", "h\n0 1e30 0.5 0 0 0 0 5\n");
  EXPECT_FALSE(read({5}));
  EXPECT_EQ(error_, "elm0005.dat, line 2: semieje 1e+30 is too large for the page");
  write("elm0005.dat", "h\n0 1 0.5 0 3e38 3e38 0 5\n");
  EXPECT_FALSE(read({5}));
  EXPECT_NE(error_.find("is not a finite angle"), std::string::npos) << error_;
}

TEST_F(ViewersTracks, ArraysGrowPastTenThousand) {
  std::string text = "h\n";
  for (int i = 0; i < 12345; ++i) text += std::to_string(i) + " 1 0 0 0 0 0 1\n";
  write("elm0001.dat", text);
  ASSERT_TRUE(read({1}, 500)) << error_;
  EXPECT_EQ(tracks_[0].size(), 12345u);
  EXPECT_EQ(tracks_[0].a.back(), 500);
}
