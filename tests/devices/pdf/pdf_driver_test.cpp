// PDF output: the document structure and its byte offsets, the content
// stream operators, qpdf and pdfinfo on every file, and pdftoppm renderings
// checked pixel by pixel, with and without compression.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "core/state.h"
#include "draw/device_ops.h"
#include "devices/dispatch.h"
#include "devices/pdf/pdf_driver.h"
#include "devices/postscript/raster_check.h"
#include "draw/colour.h"
#include "korvan.h"
#include "support/plot_fixture.h"
#include "support/scenes.h"

namespace korvan::test {
namespace {

// Points per plot unit on the default landscape page.
const double kD = 3900.0 * 0.5 * 72.0 / 254.0 / 2099.0;

int countOf(const std::string& s, const std::string& what) {
  int n = 0;
  for (std::size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
  return n;
}

std::string inflateAll(const std::string& in) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return "<inflateInit failed>";
  std::string out;
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
  z.avail_in = static_cast<uInt>(in.size());
  char buf[65536];
  int rc;
  do {
    z.next_out = reinterpret_cast<Bytef*>(buf);
    z.avail_out = sizeof buf;
    rc = inflate(&z, Z_NO_FLUSH);
    out.append(buf, sizeof buf - z.avail_out);
  } while (rc == Z_OK);
  inflateEnd(&z);
  return rc == Z_STREAM_END ? out : "<inflate failed>";
}

// An object of the file as found by its "N 0 obj" line.
struct Object {
  std::size_t at = 0;
  std::string text;    // from the header line to "endobj\n" inclusive
  std::string stream;  // the decoded stream data, if it has one
  bool compressed = false;
};

// Objects by number, read from the file text alone (not from the xref).
std::map<int, Object> objects(const std::string& f) {
  std::map<int, Object> out;
  std::regex head(R"((^|\n)(\d+) 0 obj\n)");
  for (auto it = std::sregex_iterator(f.begin(), f.end(), head); it != std::sregex_iterator(); ++it) {
    Object o;
    int n = std::stoi((*it)[2]);
    o.at = static_cast<std::size_t>(it->position(2));
    std::size_t body = static_cast<std::size_t>(it->position(0) + it->length(0));
    std::size_t s = f.find("stream\n", body);
    std::size_t e = f.find("endobj\n", body);
    if (s != std::string::npos && s < e) {
      std::string dict = f.substr(body, s - body);
      std::smatch m;
      std::size_t len = 0;
      if (std::regex_search(dict, m, std::regex(R"(/Length (\d+) 0 R)"))) {
        // the length object follows the stream; read it from the file
        std::regex lo("(^|\n)" + m[1].str() + R"( 0 obj\n(\d+)\n)");
        std::smatch lm;
        if (std::regex_search(f, lm, lo)) len = std::stoul(lm[2]);
      } else if (std::regex_search(dict, m, std::regex(R"(/Length (\d+))"))) {
        len = std::stoul(m[1]);
      }
      std::string data = f.substr(s + 7, len);
      // the data ends where "endstream" begins
      EXPECT_EQ(f.compare(s + 7 + len, 9, "endstream"), 0) << "object " << n;
      o.compressed = dict.find("/Filter /FlateDecode") != std::string::npos;
      o.stream = o.compressed ? inflateAll(data) : data;
      e = f.find("endobj\n", s + 7 + len);
    }
    o.text = f.substr(o.at, e + 7 - o.at);
    out[n] = o;
  }
  return out;
}

class PdfTest : public PlotTest {
 protected:
  Global& start(bool compress = true) {
    metafl("PDF");
    qqgglb().pdfOptions = compress ? 1 : 0;
    korini();
    Global& g = qqgglb();
    g.protocolOn = 0;
    return g;
  }
  // Ends the plot; qpdf and pdfinfo must accept the file.
  std::string finish(const char* name = "korvan.pdf") {
    korfin();
    EXPECT_EQ(run(std::string("qpdf --check ") + name + " >qpdf.log 2>&1"), 0) << slurp("qpdf.log");
    EXPECT_NE(slurp("qpdf.log").find("No syntax or stream encoding errors"), std::string::npos)
        << slurp("qpdf.log");
    EXPECT_EQ(run(std::string("pdfinfo ") + name + " >pdfinfo.log 2>&1"), 0) << slurp("pdfinfo.log");
    return slurp(name);
  }
  // The page's content, all streams in order.
  static std::string content(const std::string& f) {
    std::string all;
    for (auto& [n, o] : objects(f))
      if (o.text.find("stream\n") != std::string::npos) all += o.stream;
    return all;
  }
  // The content after the three set-up lines and the colour of korini.
  static std::string drawing(const std::string& c) {
    std::size_t at = c.find("2 j\n");
    if (at == std::string::npos) return c;
    std::string rest = c.substr(at + 4);
    const std::string black = "0 0 0 RG\n0 0 0 rg\n";  // the foreground of korini
    return rest.compare(0, black.size(), black) == 0 ? rest.substr(black.size()) : rest;
  }
  static Image render(const std::string& name, int dpi) {
    std::string base = name + "-r";
    if (run("pdftoppm -r " + std::to_string(dpi) + " -singlefile " + name + " " + base +
            " 2>pdftoppm.log") != 0)
      return {};
    return readPpm(base + ".ppm");
  }
};

TEST_F(PdfTest, CompressedDocumentStructure) {
  start();
  line(100, 100, 1000, 1000);
  std::string f = finish();
  EXPECT_EQ(f.substr(0, 9), "%PDF-1.3\n");
  auto obj = objects(f);
  ASSERT_EQ(obj.size(), 5u);
  // order in the file: 3 (content), 4 (page), 2, 1, 5 (info)
  EXPECT_LT(obj[3].at, obj[4].at);
  EXPECT_LT(obj[4].at, obj[2].at);
  EXPECT_LT(obj[2].at, obj[1].at);
  EXPECT_LT(obj[1].at, obj[5].at);
  EXPECT_EQ(obj[3].at, 9u);
  EXPECT_TRUE(obj[3].compressed);
  EXPECT_TRUE(std::regex_search(
      obj[3].text, std::regex("^3 0 obj\n<< /Length [0-9]+\n/Filter /FlateDecode\n>>\nstream\n")));
  EXPECT_EQ(obj[3].text.substr(obj[3].text.size() - 17), "endstream\nendobj\n");
  EXPECT_EQ(obj[3].stream.substr(0, 16), "0.709 w\n2 J\n2 j\n");
  EXPECT_EQ(obj[4].text,
            "4 0 obj\n<<\n/Type /Page\n/MediaBox [0 0 553 782]\n/Parent 2 0 R\n/Rotate 90\n"
            "/Resources << /ProcSet [/PDF]\n>>\n/Contents 3 0 R\n>>\nendobj\n");
  EXPECT_EQ(obj[2].text, "2 0 obj\n<< /Type /Pages /Kids [\n4 0 R\n] /Count 1\n>>\nendobj\n");
  EXPECT_EQ(obj[1].text, "1 0 obj\n<< /Type /Catalog /Pages 2 0 R\n>>\nendobj\n");
  EXPECT_TRUE(std::regex_match(obj[5].text,
                               std::regex("5 0 obj\n<< /CreationDate \\(D:[0-9]{14}\\)\n"
                                          "/Producer \\(KORVAN 8\\.3\\)\n>>\nendobj\n")))
      << obj[5].text;

  // cross-reference table: 6 entries, each the offset of its "N 0 obj"
  std::size_t x = f.find("xref\n");
  ASSERT_NE(x, std::string::npos);
  EXPECT_EQ(x, obj[5].at + obj[5].text.size());
  std::string table = f.substr(x);
  std::string expected = "xref\n0 6\n0000000000 65535 f \n";
  for (int k = 1; k <= 5; ++k) {
    char line[32];
    std::snprintf(line, sizeof line, "%010zu 00000 n \n", obj[k].at);
    expected += line;
  }
  expected += "trailer\n<< /Size 6 /Root 1 0 R /Info 5 0 R\n>>\nstartxref\n" +
              std::to_string(x) + "\n%%EOF\n";
  EXPECT_EQ(table, expected);
}

TEST_F(PdfTest, UncompressedStreamHasALengthObject) {
  start(false);
  line(100, 100, 1000, 1000);
  std::string f = finish();
  auto obj = objects(f);
  ASSERT_EQ(obj.size(), 6u);
  EXPECT_EQ(obj[3].text.substr(0, 38), "3 0 obj\n<< /Length 4 0 R >>\nstream\n0.7");
  EXPECT_FALSE(obj[3].compressed);
  // the length object holds the number of bytes between "stream\n" and
  // "endstream"
  std::size_t s = f.find("stream\n") + 7, e = f.find("endstream");
  EXPECT_EQ(obj[4].text, "4 0 obj\n" + std::to_string(e - s) + "\nendobj\n");
  EXPECT_NE(obj[5].text.find("/Type /Page\n"), std::string::npos);
  EXPECT_NE(obj[5].text.find("/Contents 3 0 R\n"), std::string::npos);
  EXPECT_NE(obj[2].text.find("5 0 R\n"), std::string::npos);
  EXPECT_NE(f.find("/Info 6 0 R"), std::string::npos);
  EXPECT_NE(f.find("xref\n0 7\n"), std::string::npos);
  EXPECT_LT(obj[4].at, obj[5].at);
  EXPECT_LT(obj[1].at, obj[6].at);
}

TEST_F(PdfTest, PathOperators) {
  Global& g = start(false);
  xjdraw(g, 10.0f, 20.0f, 3);
  xjdraw(g, 30.0f, 40.0f, 3);  // a move after a move writes nothing
  xjdraw(g, 50.0f, 60.0f, 2);
  xjdraw(g, 70.0f, 60.0f, 2);
  xjdraw(g, 0.0f, 0.0f, 3);  // strokes the path
  xjdraw(g, 0.0f, 0.0f, 3);
  std::string c = drawing(content(finish()));
  auto p = [](double x, double y) {
    char b[64];
    float s = static_cast<float>(kD);
    std::snprintf(b, sizeof b, "%.2f %.2f", static_cast<double>(static_cast<float>(y) * s),
                  static_cast<double>(static_cast<float>(x) * s));
    return std::string(b);
  };
  EXPECT_EQ(c, p(30, 40) + " m\n" + p(50, 60) + " l\n" + p(70, 60) + " l\nS\n");
  EXPECT_EQ(countOf(c, " m\n"), 1);
  EXPECT_EQ(countOf(c, "S\n"), 1);
}

TEST_F(PdfTest, ColoursAndTheirComponents) {
  Global& g = start(false);
  g.colourTable[100] = 0x00FF80;
  qqsclr(g, 100);
  qqsclr(g, 100);  // the stroking colour again, the filling colour not
  std::string c = drawing(content(finish()));
  EXPECT_EQ(c, "0 1 0.502 RG\n0 1 0.502 rg\n0 1 0.502 RG\n");
}

TEST_F(PdfTest, WidthsInPoints) {
  Global& g = start(false);
  linwid(3);
  EXPECT_EQ(g.lineWidth, -3);
  linwid(2);  // 5 is the minimum: 0.709 points
  linwid(100);
  std::string c = drawing(content(finish()));
  EXPECT_EQ(c, "0.850 w\n0.709 w\n28.346 w\n");
}

TEST_F(PdfTest, BoxesInTheirTableEntry) {
  Global& g = start(false);
  g.colourTable[44] = 0xFF0000;
  dbox(g, 100, 200, 300, 250, 300);  // 300 is entry 44
  std::string c = drawing(content(finish()));
  EXPECT_EQ(c.substr(0, 9), "1 0 0 rg\n");
  std::smatch m;
  ASSERT_TRUE(std::regex_search(c, m, std::regex(R"(([0-9.]+) ([0-9.]+) ([0-9.]+) ([0-9.]+) re\nf\n)")));
  EXPECT_NEAR(std::stod(m[1]), 200 * kD, 0.01);
  EXPECT_NEAR(std::stod(m[2]), 100 * kD, 0.01);
  EXPECT_NEAR(std::stod(m[3]), 50 * kD, 0.01);
  EXPECT_NEAR(std::stod(m[4]), 200 * kD, 0.01);
}

TEST_F(PdfTest, PolygonAfterABoxIsFilledInTheCurrentColour) {
  Global& g = start(false);
  g.colourTable[10] = 0x0000FF;
  g.colourTable[11] = 0x00FF00;
  qqsclr(g, 10);
  dbox(g, 0, 0, 10, 10, 11);
  int before = g.vectorCount;
  float xs[3] = {100, 200, 100}, ys[3] = {100, 100, 200};
  xjpoly(g, xs, ys, 3);
  EXPECT_EQ(g.vectorCount, before + 4);  // move, two draws, close and fill
  std::string c = drawing(content(finish()));
  std::size_t poly = c.find(" m\n");
  ASSERT_NE(poly, std::string::npos);
  std::size_t fill = c.rfind("rg\n", poly);
  ASSERT_NE(fill, std::string::npos);
  EXPECT_EQ(c.substr(fill - 6, 9), "0 0 1 rg\n");
  EXPECT_EQ(c.substr(c.size() - 5), "h\nf*\n");
  EXPECT_EQ(countOf(c, " l\n"), 2);
}

class PdfRender : public PdfTest, public ::testing::WithParamInterface<bool> {};

TEST_P(PdfRender, LinesBoxesAndPolygonsWhereTheyWereDrawn) {
  start(GetParam());
  test::drawLineBoxTriangle(10);
  std::string f = finish();
  EXPECT_EQ(objects(f)[3].compressed, GetParam());
  const int dpi = 72;
  Image im = render("korvan.pdf", dpi);
  ASSERT_FALSE(im.empty()) << slurp("pdftoppm.log");
  // the page is shown landscape
  EXPECT_EQ(im.width, 782);
  EXPECT_EQ(im.height, 553);
  double k = kD * dpi / 72.0;
  auto at = [&](double x, double y) { return im.at(static_cast<int>(x * k), static_cast<int>(y * k)); };
  const Rgb red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255}, white{255, 255, 255};
  EXPECT_TRUE(hasColourNear(im, 700 * k, 300 * k, red, 1));
  EXPECT_TRUE(near(at(700, 400), white));
  EXPECT_TRUE(near(at(1750, 400), green)) << at(1750, 400).r;
  EXPECT_TRUE(near(at(1450, 400), white));
  EXPECT_TRUE(near(at(2050, 400), white));
  EXPECT_TRUE(near(at(500, 1200), blue));
  EXPECT_TRUE(near(at(1100, 1600), white));  // beyond the hypotenuse
  EXPECT_TRUE(near(at(2500, 1800), white));
}

INSTANTIATE_TEST_SUITE_P(Compression, PdfRender, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Deflated" : "Plain"; });

TEST_F(PdfTest, LongContentIsSplitIntoSeveralStreams) {
  Global& g = start(true);
  // about 30 bytes per line segment: well over 300000 bytes in all
  color("RED");
  for (int k = 0; k < 12000; ++k) {
    float y = 100.0f + static_cast<float>(k % 1900);
    xjdraw(g, 100.0f, y, 3);
    xjdraw(g, 2800.0f, y, 2);
  }
  xjdraw(g, 0.0f, 0.0f, 3);
  color("BLUE");
  g.colourTable[44] = 0x0000FF;
  dbox(g, 1000, 1000, 1200, 1200, 44);  // the last thing drawn
  std::string f = finish();
  auto obj = objects(f);
  std::vector<int> streams;
  for (auto& [n, o] : obj)
    if (o.text.find("stream\n") != std::string::npos) streams.push_back(n);
  ASSERT_GE(streams.size(), 2u);
  for (int n : streams) {
    EXPECT_TRUE(obj[n].compressed);
    EXPECT_LE(obj[n].stream.size(), PdfDriver::kCollect);
  }
  std::string page;
  for (auto& [n, o] : obj)
    if (o.text.find("/Type /Page\n") != std::string::npos) page = o.text;
  std::string list = "/Contents [\n";
  for (int n : streams) list += std::to_string(n) + " 0 R\n";
  EXPECT_NE(page.find(list + "]\n"), std::string::npos) << page;
  // the streams together are the whole content, split between operators
  std::string c = content(f);
  EXPECT_EQ(countOf(c, " l\n"), 12000);
  for (int n : streams) {
    const std::string& s = obj[n].stream;
    EXPECT_EQ(s.back(), '\n');
  }
  Image im = render("korvan.pdf", 36);
  ASSERT_FALSE(im.empty()) << slurp("pdftoppm.log");
  double k = kD * 36 / 72.0;
  EXPECT_TRUE(near(im.at(static_cast<int>(1100 * k), static_cast<int>(1100 * k)), Rgb{0, 0, 255}));
  EXPECT_TRUE(near(im.at(static_cast<int>(500 * k), static_cast<int>(1100 * k)), Rgb{255, 0, 0}));
}

TEST_F(PdfTest, ViewerStylePlotRendersInBothModes) {
  for (bool compress : {true, false}) {
    qqsglb(1);
    start(compress);
    pagera();
    pagfll(0);  // the background: white on this device
    linwid(8);
    color("GREE");
    arcell(1485, 1050, 600, 400, 0.0f, 360.0f, 0.0f);
    std::string name = qqgglb().outFileName;
    finish(name.c_str());
    Image im = render(name, 72);
    ASSERT_FALSE(im.empty());
    double k = kD;
    EXPECT_TRUE(hasColourNear(im, 2085 * k, 1050 * k, Rgb{0, 255, 0}, 2)) << compress;
    EXPECT_TRUE(near(im.at(static_cast<int>(1485 * k), static_cast<int>(1050 * k)), Rgb{255, 255, 255}));
  }
  EXPECT_TRUE(exists("korvan.pdf"));
  EXPECT_TRUE(exists("korvan_1.pdf"));
}

TEST_F(PdfTest, ProtocolNamesTheFile) {
  ::testing::internal::CaptureStdout();
  metafl("PDF");
  korini();
  line(10, 10, 100, 100);
  korfin();
  std::string out = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(out.find("Metafile: korvan.pdf"), std::string::npos) << out;
  EXPECT_EQ(out.find("<<<< Warning"), std::string::npos) << out;
  EXPECT_EQ(run("qpdf --check korvan.pdf >/dev/null 2>&1"), 0);
  EXPECT_EQ(run("pdfinfo korvan.pdf >/dev/null 2>&1"), 0);
}

TEST_F(PdfTest, AFileThatCannotBeCreatedEndsTheProgram) {
  // a working directory that no longer exists: nothing can be created
  std::filesystem::create_directory("gone");
  EXPECT_EXIT(
      {
        dup2(2, 1);  // the warning goes to the console, here stderr
        std::filesystem::current_path("gone");
        std::filesystem::remove(dir_ / "gone");
        metafl("PDF");
        korini();
        std::exit(7);  // not reached
      },
      [](int status) { return WIFEXITED(status) && WEXITSTATUS(status) != 7; },
      "Warning  36: File error");
}

}  // namespace
}  // namespace korvan::test
