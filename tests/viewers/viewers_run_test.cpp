// The three viewers run as programs on small element sets, without a
// display: the screen output then draws off screen and does not wait.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/files.h"

namespace {

struct Outcome {
  int status = -1;
  std::string out, err;
};

std::string slurp(const std::string& name) { return korvan::test::readFile(name); }

class ViewersRun : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/viewers_run_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override { std::system(("rm -rf '" + dir_ + "'").c_str()); }

  void write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ + "/" + name, std::ios::binary) << text;
  }
  // n records of one body; record k varies with k so that frames differ.
  static std::string file(int n, int nobj, double a, int shift = 0) {
    std::string t = "elements of body " + std::to_string(nobj) + "\n";
    for (int k = 0; k < n; ++k) {
      char line[128];
      std::snprintf(line, sizeof line, "%d %.3f %.3f 1.0 %d %d 0.0 %d\n", k,
                    a * (1.0 + 0.05 * ((k + shift) % 3)), 0.1 * ((k + shift) % 5), 37 * (k + shift),
                    11 * (k + shift), nobj);
      t += line;
    }
    return t;
  }
  Outcome run(const std::string& viewer, const std::string& args = "") {
    Outcome r;
    std::string cmd = "cd '" + dir_ + "' && env -u DISPLAY timeout 120 '" ORBVIEW_DIR "/" +
                      viewer + "' " + args + " >stdout.txt 2>stderr.txt";
    int rc = std::system(cmd.c_str());
    r.status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    r.out = slurp(dir_ + "/stdout.txt");
    r.err = slurp(dir_ + "/stderr.txt");
    std::remove((dir_ + "/stdout.txt").c_str());
    std::remove((dir_ + "/stderr.txt").c_str());
    return r;
  }
  static long vectors(const std::string& out) {
    std::smatch m;
    if (!std::regex_search(out, m, std::regex("Vectors : ([0-9]+) +Warnings: ([0-9]+)")))
      return -1;
    return std::stol(m[1]);
  }
  // The warning lines and the protocol of every complete run.
  static void expectProtocol(const Outcome& r, const char* version) {
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string w1 = " <<<< Warning   3: Incorrect level in pagorg!   (   0)\n";
    const std::string w2 = " <<<< Warning   3: Incorrect level in xaxgit!   (   1)\n";
    std::size_t p1 = r.out.find(w1), p2 = r.out.find(w2);
    std::size_t end = r.out.find("END OF KORVAN / VERSION  " + std::string(version) + " ");
    ASSERT_NE(p1, std::string::npos) << r.out;
    ASSERT_NE(p2, std::string::npos) << r.out;
    ASSERT_NE(end, std::string::npos) << r.out;
    EXPECT_LT(p1, p2);
    EXPECT_LT(p2, end);
    EXPECT_EQ(r.out.find(" <<<< Warning", p1 + 1), p2) << "no other warnings: " << r.out;
    EXPECT_NE(r.out.find("Warnings: 1 "), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Fileformat: CONS"), std::string::npos) << r.out;
  }
  std::string dir_;
};

struct Viewer {
  const char* name;
  std::vector<int> bodies;
  double a;  // a semi-major axis that fits its page
  const char* version;
};
const Viewer kViewers[] = {{"orbview2", {5, 6}, 1.5, "8.3"},
                           {"orbview3", {2, 3, 4}, 0.8, "8.1"},
                           {"orbview4", {5, 6, 7, 8}, 12.0, "8.3"}};

std::string name(int body) {
  char n[16];
  std::snprintf(n, sizeof n, "elm%04d.dat", body);
  return n;
}

}  // namespace

TEST_F(ViewersRun, WarningsProtocolAndOneFrameSetOfVectorsPerRecord) {
  for (const Viewer& v : kViewers) {
    SCOPED_TRACE(v.name);
    // Vectors of the page alone, of each of three frames alone, and of the
    // three frames in one run: the frames add up, and each one draws.
    auto setUp = [&](int n, int shift) {
      for (std::size_t i = 0; i < v.bodies.size(); ++i)
        write(name(v.bodies[i]), file(n, v.bodies[i], v.a * (1 + 0.3 * i), shift));
    };
    setUp(0, 0);
    Outcome empty = run(v.name);
    expectProtocol(empty, v.version);
    long base = vectors(empty.out);
    EXPECT_GT(base, 0) << "the page border";
    long sum = 0;
    for (int k = 0; k < 3; ++k) {
      setUp(1, k);
      Outcome one = run(v.name);
      expectProtocol(one, v.version);
      long frame = vectors(one.out) - base;
      EXPECT_GT(frame, 100) << "ellipses, star and (orbview2) vectors";
      sum += frame;
    }
    setUp(3, 0);
    Outcome three = run(v.name);
    expectProtocol(three, v.version);
    EXPECT_EQ(vectors(three.out), base + sum);
    // orbview2 begins with an empty line; the others do not.
    EXPECT_EQ(three.out.rfind("\n <<<< Warning   3: Incorrect level in pagorg", 0) == 0,
              std::string(v.name) == "orbview2");
    EXPECT_EQ(three.err.find("Warning"), std::string::npos);
  }
}

TEST_F(ViewersRun, MissingFileEndsTheRunAndIsNotCreated) {
  write("elm0005.dat", file(2, 5, 1.0));
  Outcome r = run("orbview2");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "elm0006.dat: No such file or directory\n");
  EXPECT_EQ(r.out, "\n");  // the empty line, and nothing of the library
  EXPECT_NE(access((dir_ + "/elm0006.dat").c_str(), F_OK), 0);
  r = run("orbview3");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "elm0002.dat: No such file or directory\n");
  EXPECT_EQ(r.out, "");
}

TEST_F(ViewersRun, InputFaultsEndTheRunBeforeTheWindowOpens) {
  for (int b = 5; b <= 8; ++b) write(name(b), file(3, b, 10.0));
  write("elm0007.dat", file(2, 7, 10.0));
  Outcome r = run("orbview4");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "elm0007.dat, line 3: end of file after 2 of 3 records\n");
  EXPECT_EQ(r.out, "");
  write("elm0007.dat", "h\n0 10 0.1 0 0 0 0 7\n1 10 0.1 0 0 0 0 7.5\n");
  r = run("orbview4");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "elm0007.dat, line 3: nobj \"7.5\" is not an integer\n");
  write("elm0005.dat", "");
  r = run("orbview4");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "elm0005.dat, line 1: empty file, no header line\n");
}

TEST_F(ViewersRun, IncompleteLastRecordIsDroppedWithAWarning) {
  write("elm0005.dat", file(2, 5, 1.0) + "2 1.0 0.1\n");
  write("elm0006.dat", file(2, 6, 1.2));
  Outcome r = run("orbview2");
  expectProtocol(r, "8.3");
  EXPECT_EQ(r.err.find("elm0005.dat, line 4: incomplete last record dropped (3 of 8 values)\n"),
            0u)
      << r.err;
}

TEST_F(ViewersRun, HelpAndVersion) {
  for (const Viewer& v : kViewers) {
    Outcome r = run(v.name, "--help");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind(std::string("Usage: ") + v.name, 0), 0u) << r.out;
    EXPECT_NE(r.out.find(name(v.bodies.front())), std::string::npos);
    EXPECT_NE(r.out.find("right mouse button"), std::string::npos);
    r = run(v.name, "--version");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, std::string(v.name) + " (KORVAN " + v.version + ")\n");
    r = run(v.name, "--frobnicate");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("Usage:"), std::string::npos);
  }
}
