// The 80-character output line buffer and the PostScript word packing.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/sink.h"
#include "core/state.h"
#include "devices/dispatch.h"
#include "korvan.h"
#include "support/plot_fixture.h"

using namespace korvan;
using korvan::test::PlotTest;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

class LineBuffer : public PlotTest {
 protected:
  // A plot on `key` whose body is written by `body`; returns the file.
  template <class F>
  std::string file(const char* key, F body) {
    CaptureStdout();
    metafl(key);
    korini();
    Global& g = qqgglb();
    qqflbf(g);  // the header is not what these tests look at
    std::string name = g.outFileName;
    std::size_t header = 0;
    if (g.outFile) header = static_cast<std::size_t>(g.outFile->count());
    body(g);
    korfin();
    GetCapturedStdout();
    std::string all = slurp(name);
    return all.substr(header);
  }
};

TEST_F(LineBuffer, PiecesAreNeverSplitAcrossLines) {
  std::string f = file("HPGL", [](Global& g) {
    std::string a(78, 'a');
    qqsbuf(g, a.c_str(), 78);
    qqsbuf(g, "bbbbb", 5);
    qqsbuf(g, "cc", 2);
  });
  EXPECT_EQ(f.substr(0, 79), std::string(78, 'a') + "\n");
  EXPECT_EQ(f.substr(79, 7), "bbbbbcc");
}

TEST_F(LineBuffer, ExactlyEightyCharactersFit) {
  std::string f = file("HPGL", [](Global& g) {
    std::string a(80, 'x');
    qqsbuf(g, a.c_str(), 80);
    qqsbuf(g, "y", 1);
  });
  EXPECT_EQ(f.substr(0, 82), std::string(80, 'x') + "\ny");
}

TEST_F(LineBuffer, APieceLongerThanALineIsKeptWhole) {
  std::string long_piece(200, 'L');
  std::string f = file("HPGL", [&](Global& g) {
    qqsbuf(g, "start", 5);
    qqsbuf(g, long_piece.c_str(), 200);
    qqsbuf(g, "end", 3);
  });
  EXPECT_EQ(f.substr(0, 6 + 201 + 3), "start\n" + long_piece + "\nend");
}

TEST_F(LineBuffer, CgmWritesRawEightyByteRecords) {
  std::string f = file("CGM", [](Global& g) {
    std::string a(70, 'a');
    qqsbuf(g, a.c_str(), 70);
    std::string b(100, 'b');
    qqsbuf(g, b.c_str(), 100);  // fills the record, then runs on
    qqsbuf(g, "c", 1);
  });
  ASSERT_EQ(f.size() % 80, 0u);
  ASSERT_EQ(f.size(), 240u);
  EXPECT_EQ(f.substr(0, 80), std::string(70, 'a') + std::string(10, 'b'));
  EXPECT_EQ(f.substr(80, 80), std::string(80, 'b'));
  EXPECT_EQ(f.substr(160, 11), std::string(10, 'b') + "c");
  // the end of the picture (the last one-point path, END PICTURE, END
  // METAFILE) follows, then the last record is padded with blanks
  EXPECT_EQ(f.substr(171, 12), std::string("\x40\x3F\0\x04\0\0\x10\x66\0\xA0\0\x40", 12));
  EXPECT_EQ(f.substr(183), std::string(57, ' '));
  EXPECT_EQ(f.find('\n'), std::string::npos);
}

TEST_F(LineBuffer, WordPacking) {
  std::string f = file("HPGL", [](Global& g) {
    std::string words;
    for (int i = 0; i < 30; ++i) words += "word ";
    qpsbuf(g, words.c_str(), static_cast<int>(words.size()));
    qpsbuf(g, "a  b   c", 8);  // runs of blanks collapse to one
    qpsbuf(g, nullptr, -1);
    qpsbuf(g, "next", 4);
  });
  std::size_t nl = f.find('\n');
  EXPECT_EQ(nl, 80u);  // 16 words of 5 characters
  EXPECT_EQ(f.substr(0, 80), [] {
    std::string s;
    for (int i = 0; i < 16; ++i) s += "word ";
    return s;
  }());
  std::size_t nl2 = f.find('\n', nl + 1);
  std::string second = f.substr(nl + 1, nl2 - nl - 1);
  EXPECT_EQ(second.substr(second.size() - 5), "a b c");
  EXPECT_EQ(f.substr(nl2 + 1, 4), "next");
}

TEST_F(LineBuffer, NoBodyLineOverEightyCharacters) {
  std::string f = file("HPGL", [](Global& g) {
    for (int i = 0; i < 500; ++i) {
      std::string piece = "PD" + std::to_string(i * 37) + "," + std::to_string(i * 11) + ";";
      qqsbuf(g, piece.c_str(), static_cast<int>(piece.size()));
    }
  });
  std::size_t start = 0;
  while (start < f.size()) {
    std::size_t end = f.find('\n', start);
    if (end == std::string::npos) end = f.size();
    EXPECT_LE(end - start, 80u);
    start = end + 1;
  }
}

// Packed text (no leading blank, no two blanks in a row) filled a line's
// worth at a time gives the same lines as word by word: random records of
// every length, words longer than a line, pieces without a closing blank,
// and line ends asked for in between.
TEST_F(LineBuffer, PackedTextGivesTheLinesOfWordPacking) {
  std::mt19937 rng(11);
  std::vector<std::string> pieces;
  for (int i = 0; i < 3000; ++i) {
    std::string piece;
    const int words = 1 + static_cast<int>(rng() % 12);
    for (int w = 0; w < words; ++w) {
      const int len = rng() % 50 == 0 ? 81 + static_cast<int>(rng() % 40) : 1 + static_cast<int>(rng() % 9);
      piece += std::string(static_cast<std::size_t>(len), static_cast<char>('a' + w % 26));
      if (w + 1 < words || rng() % 4 != 0) piece += ' ';
    }
    pieces.push_back(rng() % 97 == 0 ? std::string() : piece);  // "" asks for a line end
  }
  std::string out[2];
  for (int packed = 0; packed <= 1; ++packed) {
    out[packed] = file("HPGL", [&](Global& g) {
      for (const std::string& p : pieces) {
        if (p.empty())
          (packed ? qpsblk : qpsbuf)(g, nullptr, -1);
        else
          (packed ? qpsblk : qpsbuf)(g, p.data(), static_cast<int>(p.size()));
      }
    });
    std::remove(qqgglb().outFileName);
  }
  EXPECT_GT(out[0].size(), 20000u);
  EXPECT_EQ(out[0], out[1]);
}
