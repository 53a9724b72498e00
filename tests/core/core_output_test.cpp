// Output keywords, file extensions, version names and the file opening.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "core/sink.h"
#include "core/state.h"
#include "devices/device_table.h"
#include "korvan.h"
#include "support/plot_fixture.h"

using namespace korvan;
using korvan::test::PlotTest;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

class Output : public PlotTest {};

TEST_F(Output, KeywordTable) {
  struct {
    const char* key;
    int code;
  } cases[] = {{"cons", 101}, {"Console", 101}, {"CONS", 101}, {"MET1", 80},  {"met5", 80},
               {"MET9", 80},  {"MET0", 0},      {"GKSL", 201}, {"cgm", 211},  {"KYOC", 301},
               {"hpgl", 401}, {"HPA1", 405},    {"TEKT", 151}, {"VT34", 103}, {"LN03", 161},
               {"POST", 501}, {"PSCL", 502},    {"EPS", 503},  {"PS", 504},   {"PDF", 511},
               {"XWIN", 72},  {"XWI1", 72},     {"XWI8", 79},  {"XWND", 80},  {"TIFF", 601},
               {"IMAG", 602}, {"VIRT", 603},    {"png", 604},  {"PPM", 605},  {"BMP", 606},
               {"GIF", 607},  {"JAVA", 701},    {"WMF", 221},  {"SVG", 801},  {"SVGZ", 0},
               {"", 0},       {"P", 0},         {"PSX", 0}};
  for (auto& c : cases) EXPECT_EQ(qqgdnr(c.key), c.code) << c.key;
}

TEST_F(Output, MetaflStoresTheDevice) {
  CaptureStdout();
  metafl("Console");
  Global& g = qqgglb();
  EXPECT_EQ(g.device, 80);
  EXPECT_STREQ(g.deviceName, "CONS");
  EXPECT_EQ(g.outputChosen, 1);
  metafl("MET0");
  metafl("eps");
  std::string out = GetCapturedStdout();
  EXPECT_EQ(out, " <<<< Warning   2: Incorrect parameter in metafl!   (MET0)\n");
  EXPECT_EQ(g.device, 503);
  EXPECT_STREQ(g.deviceName, "EPS");
}

TEST_F(Output, Extensions) {
  char ext[8];
  struct {
    int code;
    const char* ext;
    int len;
  } cases[] = {{201, "met", 3}, {211, "cgm", 3},  {301, "kyo", 3}, {403, "hpg", 3},
               {151, "tek", 3}, {161, "ln3", 3},  {501, "psc", 3}, {502, "psc", 3},
               {504, "ps", 3},  {801, "svg", 3},  {701, "java", 4}, {601, "tif", 3},
               {602, "img", 3}, {604, "png", 3},  {221, "wmf", 3}, {605, "ppm", 3},
               {511, "pdf", 3}, {503, "eps", 3},  {606, "bmp", 3}, {607, "gif", 3},
               {603, "   ", 3}, {103, "   ", 3},  {80, "   ", 3}};
  for (auto& c : cases) {
    EXPECT_EQ(qqgfxt(c.code, ext), c.len) << c.code;
    EXPECT_STREQ(ext, c.ext) << c.code;
  }
}

TEST_F(Output, VersionNames) {
  Global& g = *jqqlev(0, 3, "test");
  char name[64];
  auto next = [&](const char* base) {
    std::strcpy(name, base);
    gfilnn(g, name, sizeof name);
    return std::string(name);
  };
  EXPECT_EQ(next("korvan.ps"), "korvan.ps");  // free: unchanged
  touch("korvan.ps");
  EXPECT_EQ(next("korvan.ps"), "korvan_1.ps");
  touch("korvan_1.ps");
  EXPECT_EQ(next("korvan.ps"), "korvan_2.ps");
  for (int i = 2; i <= 9; ++i) touch("korvan_" + std::to_string(i) + ".ps");
  EXPECT_EQ(next("korvan.ps"), "korva_10.ps");
  for (int i = 10; i <= 99; ++i) touch("korva_" + std::to_string(i) + ".ps");
  EXPECT_EQ(next("korvan.ps"), "korv_100.ps");
  // short base names are not padded; names without an extension work too
  touch("ab.x");
  EXPECT_EQ(next("ab.x"), "ab_1.x");
  touch("plain");
  EXPECT_EQ(next("plain"), "plain_1");
  // directories stay, and only the file name is cut
  std::filesystem::create_directory("sub.dir");
  touch("sub.dir/orbitfile.met");
  EXPECT_EQ(next("sub.dir/orbitfile.met"), "sub.dir/orbitf_1.met");
}

TEST_F(Output, TooManyVersionsEndsWithStatusOne) {
  touch("korvan.met");
  for (int i = 1; i <= 9; ++i) touch("korvan_" + std::to_string(i) + ".met");
  for (int i = 10; i <= 99; ++i) touch("korva_" + std::to_string(i) + ".met");
  for (int i = 100; i <= 999; ++i) touch("korv_" + std::to_string(i) + ".met");
  for (int i = 1000; i <= 9999; ++i) touch("kor_" + std::to_string(i) + ".met");
  EXPECT_EXIT(
      {
        std::fclose(stderr);
        korini();
      },
      ::testing::ExitedWithCode(1), "");
}

TEST_F(Output, NeverOverwritesAnExistingFile) {
  touch("korvan.met", "precious");
  CaptureStdout();
  korini();
  korfin();
  std::string out = GetCapturedStdout();
  EXPECT_EQ(slurp("korvan.met"), "precious");
  EXPECT_TRUE(exists("korvan_1.met"));
  EXPECT_NE(out.find("Metafile: korvan_1.met"), std::string::npos);
}

TEST_F(Output, ExclusiveCreationTakesTheNextVersionOnARace) {
  Global& g = *jqqlev(0, 3, "test");
  // The name looks free to the version rule, but creating it fails because it
  // exists as a dangling link: the file opening must move on, not follow it.
  ASSERT_EQ(symlink("nowhere/target", "korvan.svg"), 0);
  char name[64] = "korvan.svg";
  std::unique_ptr<ByteSink> s = qqopfl(g, name, sizeof name, false);
  ASSERT_NE(s, nullptr);
  EXPECT_STREQ(name, "korvan_1.svg");
  EXPECT_TRUE(qqclfl(g, s));
  EXPECT_FALSE(exists("nowhere/target"));
}

// One output of each file kind: line buffer, records, a text stream and
// the binary streams of the drivers that write their files at the end.
const char* const kFileKinds[][2] = {{"HPGL", "korvan.hpg"}, {"CGM", "korvan.cgm"},
                                     {"SVG", "korvan.svg"},  {"PDF", "korvan.pdf"},
                                     {"WMF", "korvan.wmf"},  {"PNG", "korvan.png"}};

// The protocol of a plot whose file failed: one warning 36 for the file,
// given in routine, and an empty metafile line.
void expectFileError(const std::string& out, const char* key, const char* routine,
                     const char* file) {
  EXPECT_NE(out.find(std::string(" <<<< Warning  36: File error in ") + routine + "!   (" + file +
                     ")"),
            std::string::npos)
      << key << out;
  EXPECT_NE(out.find("Warnings: 1 "), std::string::npos) << key << out;
  EXPECT_NE(out.find(" <<  Metafile:                                                   <<"),
            std::string::npos)
      << key << out;
}

TEST_F(Output, UncreatableFileIsWarning36AndNoMetafileInTheProtocol) {
  // A working directory that no longer exists: nothing can be created in it.
  std::filesystem::create_directory("gone");
  std::filesystem::current_path("gone");
  std::filesystem::remove(dir_ / "gone");
  for (const auto& [key, file] : kFileKinds) {
    qqsglb(1);
    if (std::string(key) == "PDF") {
      // A PDF cannot start without its file: the program ends.
      metafl(key);
      EXPECT_EXIT(korini(), ::testing::ExitedWithCode(1), "") << key;
      continue;
    }
    CaptureStdout();
    metafl(key);
    korini();
    korfin();
    expectFileError(GetCapturedStdout(), key, "korini", file);
  }
}

TEST_F(Output, WriteErrorIsWarning36AndNoMetafileInTheProtocol) {
  for (const auto& [key, file] : kFileKinds) {
    qqsglb(1);
    CaptureStdout();
    metafl(key);
    korini();
    Global& g = qqgglb();
    // Swap the output for a device that fails every write.
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    g.outFile = std::make_unique<ByteSink>(full);
    pagera();
    korfin();
    expectFileError(GetCapturedStdout(), key, "korfin", file);
  }
}

TEST_F(Output, FileNamesPerDevice) {
  for (const char* key : {"JAVA", "KYOC", "CGM", "SVG", "PSCL"}) {
    qqsglb(1);
    CaptureStdout();
    metafl(key);
    korini();
    std::string name = qqgglb().outFileName;
    korfin();
    GetCapturedStdout();
    EXPECT_TRUE(exists(name)) << key << " " << name;
  }
  EXPECT_TRUE(exists("korvan.java"));
  EXPECT_TRUE(exists("korvan.psc"));
}

TEST_F(Output, InstallationDirectory) {
  char dir[256];
  setenv("KORVAN", "/opt/korvan-data", 1);
  qqgenv("KORVAN", dir, sizeof dir);
  EXPECT_STREQ(dir, "/opt/korvan-data");
  unsetenv("KORVAN");
  qqgenv("KORVAN", dir, sizeof dir);
  EXPECT_STREQ(dir, KORVAN_DATA_DIR);
  unsetenv("KORVAN_SURELY_UNSET");
  qqgenv("KORVAN_SURELY_UNSET", dir, sizeof dir);
  EXPECT_STREQ(dir, "");
  EXPECT_EQ(qqgetreg(dir, sizeof dir), 1);
}
