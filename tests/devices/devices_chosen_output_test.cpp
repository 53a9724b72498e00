// The output a program chooses before korini: the file's name and what
// happens to an existing file, the page and raster size, files kept in
// memory, and reproducible dates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/plot_fixture.h"

using namespace korvan;
using korvan::test::commandOutput;
using korvan::test::PlotTest;

namespace {

// Every keyword that writes a file.
const char* const kFileKeywords[] = {"GKSL", "CGM", "KYOC", "HPGL", "HPA3", "TEKT", "POST",
                                     "PSCL", "EPS",  "PS",  "PDF",  "TIFF", "IMAG", "PNG",
                                     "PPM",  "BMP",  "GIF", "JAVA", "WMF",  "SVG"};

class ChosenOutput : public PlotTest {
 protected:
  void TearDown() override {
    unsetenv("SOURCE_DATE_EPOCH");
    PlotTest::TearDown();
  }
  // One plot with the page framed, a line, a filled triangle and a text;
  // what the library printed.
  static std::string plot(const char* keyword) {
    return output([&] {
      metafl(keyword);
      korini();
      pagera();
      color("RED");
      linwid(3);
      line(300, 400, 1900, 400);
      shdpat(16);
      color("BLUE");
      int nx[] = {800, 1600, 1200};
      int ny[] = {900, 900, 1600};
      areaf(nx, ny, 3);
      messag("Chosen", 300, 1800);
      korfin();
    });
  }
};

TEST_F(ChosenOutput, NamesModesAndFolders) {
  std::filesystem::create_directory("sub");
  struct Case {
    const char* existing;  // a file there before, holding "old"
    const char* name;
    const char* mode;
    const char* written;   // the file the plot writes; "" none
    const char* warning;   // in what the library prints; "" none
  } cases[] = {
      {"", "plot", "VERS", "plot.ps", ""},
      {"", "plot.eps", "VERS", "plot.eps", ""},
      {"", "sub/plot", "VERS", "sub/plot.ps", ""},
      {"", "sub.d/plot", "VERS", "korvan.ps",
       "Warning 101: The folder does not exist in outfil!   (sub.d/plot)"},
      {"plot.ps", "plot", "VERS", "plot_1.ps", ""},
      {"plot.ps", "plot", "OVER", "plot.ps", ""},
      {"plot.ps", "plot", "STOP", "", "Warning 101: The file exists already in korini!   (plot.ps)"},
      {"", "plot", "STOP", "plot.ps", ""},
      {"", "/proc/korvan-chosen", "OVER", "", "Warning  36: File error in korini!"},
      {"", "/proc/korvan-chosen", "STOP", "", "Warning  36: File error in korini!"},
      {"", "/proc/korvan-chosen", "VERS", "", "Warning  36: File error in korini!"},
  };
  for (const Case& c : cases) {
    qqsglb(1);
    for (const char* f : {"plot.ps", "plot_1.ps", "plot.eps", "sub/plot.ps", "korvan.ps"})
      std::filesystem::remove(f);
    if (*c.existing) touch(c.existing, "old");
    std::string printed = output([&] {
      outfil(c.name);
      outmod(c.mode);
    });
    printed += plot("PS");
    SCOPED_TRACE(std::string(c.name) + " " + c.mode);
    if (*c.warning)
      EXPECT_NE(printed.find(c.warning), std::string::npos) << printed;
    else
      EXPECT_EQ(printed.find("<<<< Warning"), std::string::npos) << printed;
    if (*c.written) {
      EXPECT_EQ(slurp(c.written).rfind("%!PS-Adobe", 0), 0u);
      EXPECT_NE(printed.find(std::string("Metafile: ") + c.written), std::string::npos);
    } else {
      EXPECT_NE(printed.find("Metafile:   "), std::string::npos) << printed;
    }
    // nothing but "OVER" replaces a file
    if (*c.existing && std::string(c.mode) != "OVER") {
      EXPECT_EQ(slurp(c.existing), "old");
    }
  }
}

TEST_F(ChosenOutput, SettersCheckLevelAndArguments) {
  struct Case {
    void (*call)();
    const char* warning;
  } cases[] = {
      {[] { outmod("KEEP"); }, "Warning   2: Incorrect parameter in outmod!   (KEEP)"},
      {[] { outfil("plots/"); }, "Warning  37: Incorrect filename in outfil!   (plots/)"},
      {[] { outmem("MAYBE"); }, "Warning   2: Incorrect parameter in outmem!   (MAYBE)"},
      {[] { pagsiz(0, 2000); }, "Warning   2: Incorrect parameter in pagsiz!   (   0)"},
      {[] { pagsiz(2000, 40000); }, "Warning   2: Incorrect parameter in pagsiz!   (40000)"},
      {[] { rassiz(1, 100); }, "Warning   2: Incorrect parameter in rassiz!   (   1)"},
      {[] { outget(nullptr, -1); korini(); outfil("x"); korfin(); },
       "Warning   3: Incorrect level in outfil!   (   1)"},
  };
  for (const Case& c : cases) {
    qqsglb(1);
    std::string printed = output(c.call);
    EXPECT_NE(printed.find(c.warning), std::string::npos) << printed;
  }
  // a refused page leaves the default
  qqsglb(1);
  output([] { pagsiz(0, 0); });
  EXPECT_STREQ(qqgglb().pageFormat, "DA4L");
}

// The page in each reader: PDF media box, PostScript bounding box of what is
// drawn, SVG and raster size.
TEST_F(ChosenOutput, PageSizeInEveryReader) {
  struct Case {
    int width, height;
    const char* pdf;  // pdfinfo's page size and turn: the page fits 195 x 280 mm
    int svgW, svgH;   // the size the page gives in pixels
  } cases[] = {
      {2969, 2099, "553 x 782 pts|90", 853, 603},  // the default page, turned on the sheet
      {2100, 2970, "553 x 782 pts|0", 604, 853},   // A4 portrait, upright
      {2794, 2159, "553 x 716 pts|90", 803, 621},  // US letter landscape
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    qqsglb(1);
    std::filesystem::remove("korvan.pdf");
    std::filesystem::remove("korvan.ps");
    std::filesystem::remove("korvan.svg");
    std::filesystem::remove("korvan.png");
    pagsiz(c.width, c.height);
    std::string printed = plot("PDF");
    EXPECT_NE(printed.find(c.width == 2969 ? "Pageformat: DA4L" : "Pageformat: USER"),
              std::string::npos);
    EXPECT_EQ(commandOutput("pdfinfo korvan.pdf | sed -n 's/^Page size: *//p; s/^Page rot: *//p' "
                            "| paste -sd'|'"),
              c.pdf);

    plot("PS");
    // the frame of the page drawn is the bounding box the header gives
    std::string header = slurp("korvan.ps");
    header = header.substr(header.find("%%BoundingBox:") + 15);
    int x1, y1, x2, y2;
    ASSERT_EQ(std::sscanf(header.c_str(), "%d %d %d %d", &x1, &y1, &x2, &y2), 4);
    std::string bbox = commandOutput("gs -q -dNOPAUSE -dBATCH -sDEVICE=bbox korvan.ps 2>&1");
    int b1, b2, b3, b4;
    ASSERT_EQ(std::sscanf(bbox.c_str(), "%%%%BoundingBox: %d %d %d %d", &b1, &b2, &b3, &b4), 4)
        << bbox;
    EXPECT_NEAR(b1, x1, 2);
    EXPECT_NEAR(b2, y1, 2);
    EXPECT_NEAR(b3, x2, 2);
    EXPECT_NEAR(b4, y2, 2);
    // landscape pages lie across the sheet
    const double ratio = c.width > c.height ? double(c.height) / c.width
                                            : double(c.width) / c.height;
    EXPECT_NEAR(double(b3 - b1) / (b4 - b2), ratio, 0.01);

    plot("SVG");
    EXPECT_EQ(commandOutput("rsvg-convert korvan.svg | identify -format '%w %h' -"),
              std::to_string(c.svgW) + " " + std::to_string(c.svgH));
    plot("PNG");
    EXPECT_EQ(commandOutput("identify -format '%w %h' korvan.png"),
              std::to_string(c.svgW) + " " + std::to_string(c.svgH));
  }
  // rassiz wins over the page
  qqsglb(1);
  std::filesystem::remove("korvan.bmp");
  pagsiz(2100, 2970);
  rassiz(300, 500);
  plot("BMP");
  EXPECT_EQ(commandOutput("identify -format '%w %h' korvan.bmp"), "300 500");
}

TEST_F(ChosenOutput, PageSizeSetsTheAxisSystem) {
  pagsiz(2100, 2970);
  output([] {
    metafl("VIRT");
    korini();
  });
  Global& g = qqgglb();
  EXPECT_EQ(g.pageWidth, 2100);
  EXPECT_EQ(g.pageHeight, 2970);
  EXPECT_EQ(g.axisLenX, 1401);
  EXPECT_EQ(g.axisLenY, 1981);
  EXPECT_EQ(g.axisPosX, 349);
  EXPECT_EQ(g.axisPosY, 2670);
  EXPECT_EQ(g.clipXmax, 2100);
  output([] { korfin(); });
}

// outmem keeps exactly the file the same plot writes; two runs with
// SOURCE_DATE_EPOCH give the same bytes.
TEST_F(ChosenOutput, MemoryAndReproducibleFilesInEveryFormat) {
  setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  for (const char* key : kFileKeywords) {
    SCOPED_TRACE(key);
    for (const auto& e : std::filesystem::directory_iterator(".")) std::filesystem::remove(e);
    qqsglb(1);
    outmod("OVER");  // CGM and Java carry the file's name
    plot(key);
    const std::string name = qqgglb().outFileName;
    ASSERT_TRUE(exists(name));
    const std::string first = slurp(name);
    plot(key);
    EXPECT_TRUE(slurp(name) == first) << "second run differs";

    std::filesystem::remove(name);
    outmem("ON");
    std::string printed = plot(key);
    EXPECT_FALSE(exists(name)) << "memory output wrote a file";
    EXPECT_NE(printed.find("Metafile:   "), std::string::npos);
    const int length = outget(nullptr, 0);
    std::vector<char> held(static_cast<std::size_t>(length) + 1, '#');
    EXPECT_EQ(outget(held.data(), length), length);
    EXPECT_EQ(held.back(), '#');
    EXPECT_TRUE(std::string(held.data(), static_cast<std::size_t>(length)) == first)
        << "memory differs from the file: " << length << " against " << first.size();
    // a short buffer gets the beginning
    char head[4] = {};
    EXPECT_EQ(outget(head, 3), length);
    EXPECT_EQ(std::string(head, std::min<std::size_t>(3, first.size())), first.substr(0, 3));
  }
}

TEST_F(ChosenOutput, DatesOfFilesFollowTheEpoch) {
  setenv("SOURCE_DATE_EPOCH", "1700000000", 1);  // 14.11.2023 22:13:20 UTC
  struct Case {
    const char* key;
    const char* file;
    const char* date;
  } cases[] = {{"PS", "korvan.ps", "%%CreationDate: 14.11.2023 , 22:13:20"},
               {"PDF", "korvan.pdf", "/CreationDate (D:20231114221320)"},
               {"SVG", "korvan.svg", "Date   : 14.11.2023 22:13:20"},
               {"CGM", "korvan.cgm", "Date:20231114"},
               {"JAVA", "korvan.java", "// Date   : 14.11.2023, 22:13:20"}};
  for (const Case& c : cases) {
    std::string printed = plot(c.key);
    EXPECT_NE(slurp(c.file).find(c.date), std::string::npos) << c.key;
    // the console keeps the real time
    EXPECT_EQ(printed.find("14.11.2023"), std::string::npos);
  }
}

TEST_F(ChosenOutput, MemoryNeedsAFileFormat) {
  std::string printed = output([] {
    outmem("ON");
    metafl("VIRT");
    korini();
    korfin();
  });
  EXPECT_NE(printed.find("Warning  40: File format and output device are incompatible in korini!"),
            std::string::npos)
      << printed;
  EXPECT_EQ(outget(nullptr, 0), 0);
}

// The by-address forms: blank-padded texts, and never more bytes than the
// caller's text holds.
TEST_F(ChosenOutput, ByAddressForms) {
  const int w = 2100, h = 2970;
  output([&] {
    outfil_("fig/one.ps   ", 13);  // no folder "fig": refused
    outfil_("one          ", 13);
    outmod_("OVERWRITE", 9);
    pagsiz_(&w, &h);
  });
  touch("one.met", "old");
  plot("GKSL");
  EXPECT_NE(slurp("one.met"), "old");
  EXPECT_STREQ(qqgglb().pageFormat, "USER");

  output([] { outmem_("ON", 2); });
  plot("GKSL");
  char text[8];
  std::memset(text, '#', sizeof text);
  const int wanted = 100;
  const int length = outget_(text, &wanted, 5);
  EXPECT_GT(length, 5);
  EXPECT_EQ(text[5], '#');
  EXPECT_EQ(std::string(text, 5), slurp("one.met").substr(0, 5));
}

}  // namespace
