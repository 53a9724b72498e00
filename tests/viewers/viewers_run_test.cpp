// The three viewers run as programs on small element sets, without a
// display: the screen output then draws off screen and does not wait.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <fstream>
#include <map>
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

namespace {

// The composed frames of an animated GIF, each as a PPM file frame-<i>.ppm
// in dir; their number.
int splitFrames(const std::string& dir, const std::string& gif) {
  std::string out;
  if (korvan::test::exitCode("cd '" + dir + "' && convert '" + gif +
                                 "' -coalesce frame-%d.ppm 2>&1",
                             &out) != 0)
    return -1;
  int n = 0;
  while (access((dir + "/frame-" + std::to_string(n) + ".ppm").c_str(), F_OK) == 0) ++n;
  return n;
}

struct Pixels {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  bool operator==(const Pixels&) const = default;
};
Pixels ppm(const std::string& name) {
  Pixels p;
  korvan::test::readPpm(name, p.width, p.height, p.rgb);
  return p;
}

}  // namespace

TEST_F(ViewersRun, OutputWritesEachKeptFrameOfTheAnimation) {
  for (const Viewer& v : kViewers) {
    SCOPED_TRACE(v.name);
    for (std::size_t i = 0; i < v.bodies.size(); ++i)
      write(name(v.bodies[i]), file(9, v.bodies[i], v.a * (1 + 0.3 * i)));
    Outcome r = run(v.name, "--output orbits.gif --step 2");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Fileformat: AGIF"), std::string::npos) << r.out;
    EXPECT_EQ(access((dir_ + "/korvan.gif").c_str(), F_OK), -1) << "the file is the one named";
    std::string giftext;
    EXPECT_EQ(korvan::test::exitCode("giftext '" + dir_ + "/orbits.gif' 2>&1", &giftext), 0)
        << giftext;
    // Records 1, 3, 5, 7, 9 (every second): five frames, each the still
    // picture that a run cut after it draws.
    ASSERT_EQ(splitFrames(dir_, "orbits.gif"), 5);
    for (int k : {0, 2, 4}) {
      SCOPED_TRACE(k);
      std::string still = "still" + std::to_string(k) + ".png";
      Outcome s = run(v.name, "--output " + still + " --step 2 --frames " + std::to_string(k + 1));
      EXPECT_EQ(s.status, 0) << s.err;
      ASSERT_EQ(korvan::test::exitCode("cd '" + dir_ + "' && pngtopnm " + still + " > still.ppm"), 0);
      Pixels a = ppm(dir_ + "/frame-" + std::to_string(k) + ".ppm"), b = ppm(dir_ + "/still.ppm");
      EXPECT_GT(a.width, 0);
      EXPECT_TRUE(a == b) << "frame " << k << " of the animation and the still picture";
    }
    std::system(("rm -f '" + dir_ + "'/*").c_str());
  }
}

TEST_F(ViewersRun, OutputAsAStillPdfIsTheLastFrame) {
  for (int b = 5; b <= 8; ++b) write(name(b), file(4, b, 12.0 * (1 + 0.3 * (b - 5))));
  Outcome pdf = run("orbview4", "--output last.pdf --frames 3");
  EXPECT_EQ(pdf.status, 0) << pdf.err;
  Outcome pdf1 = run("orbview4", "--output first.pdf --frames 1");
  EXPECT_EQ(run("orbview4", "--output last.png --frames 3").status, 0);
  EXPECT_EQ(run("orbview4", "--output first.png --frames 1").status, 0);
  // The PDF holds one frame, not three.
  EXPECT_GT(vectors(pdf.out), 0);
  EXPECT_LT(vectors(pdf.out), vectors(pdf1.out) * 3 / 2);
  // Rendered, the PDF shows the last frame's orbits where the PNG has them,
  // not the first frame's: coloured cells of a coarse grid over the page.
  ASSERT_EQ(korvan::test::exitCode("cd '" + dir_ +
                                   "' && pdftoppm -r 40 -singlefile last.pdf pdf && "
                                   "pngtopnm last.png > last.ppm && pngtopnm first.png > first.ppm"),
            0);
  Pixels r = ppm(dir_ + "/pdf.ppm"), last = ppm(dir_ + "/last.ppm"), first = ppm(dir_ + "/first.ppm");
  ASSERT_GT(r.width, 0);
  const int nx = 40, ny = 28;
  // A cell is drawn when a pixel differs clearly from the page colour (the
  // most frequent one: the PDF's page is white, the PNG's black).
  auto page = [](const Pixels& p) {
    std::map<int, int> n;
    for (std::size_t i = 0; i < p.rgb.size(); i += 3) ++n[p.rgb[i] << 16 | p.rgb[i + 1] << 8 | p.rgb[i + 2]];
    return std::max_element(n.begin(), n.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
  };
  const int bgR = page(r), bgLast = page(last), bgFirst = page(first);
  auto coloured = [&](const Pixels& p, int cx, int cy) {
    int bg = &p == &r ? bgR : &p == &last ? bgLast : bgFirst;
    for (int y = cy * p.height / ny; y < (cy + 1) * p.height / ny; ++y)
      for (int x = cx * p.width / nx; x < (cx + 1) * p.width / nx; ++x) {
        const unsigned char* q = &p.rgb[3 * (static_cast<std::size_t>(y) * p.width + x)];
        int d = std::abs(q[0] - (bg >> 16)) + std::abs(q[1] - (bg >> 8 & 255)) + std::abs(q[2] - (bg & 255));
        if (d > 150) return true;
      }
    return false;
  };
  int agreeLast = 0, agreeFirst = 0, cells = 0;
  for (int cy = 1; cy < ny - 1; ++cy)
    for (int cx = 1; cx < nx - 1; ++cx) {
      bool p = coloured(r, cx, cy);
      agreeLast += p == coloured(last, cx, cy);
      agreeFirst += p == coloured(first, cx, cy);
      ++cells;
    }
  EXPECT_GT(agreeLast, cells * 95 / 100);
  EXPECT_GT(agreeLast, agreeFirst);
}

TEST_F(ViewersRun, BadOptionsAndValuesAreRefusedWithStatus2) {
  for (int b = 5; b <= 6; ++b) write(name(b), file(2, b, 1.5));
  write("taken.gif", "x");
  const char* const bad[] = {
      "--step 0",          "--step x",           "--step",            "--frames -1",
      "--frames 2.5",      "--output",           "--output x.xyz",    "--output noext",
      "--output taken.gif", "--output /nonexistent/dir/x.gif", "--dir /nonexistent",
      "--bogus",           "--step 2 --step 3",  "--help --step 2",
  };
  for (const char* args : bad) {
    SCOPED_TRACE(args);
    Outcome r = run("orbview2", args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.rfind("orbview2: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("Usage:"), std::string::npos);
  }
  EXPECT_EQ(slurp(dir_ + "/taken.gif"), "x") << "an existing file is never replaced";
}

TEST_F(ViewersRun, DirReadsTheElementFilesFromAnotherFolder) {
  ASSERT_EQ(mkdir((dir_ + "/elements").c_str(), 0755), 0);
  write("elements/elm0005.dat", file(3, 5, 1.5));
  write("elements/elm0006.dat", file(3, 6, 1.8));
  Outcome r = run("orbview2", "--dir elements --output here.gif");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(access((dir_ + "/here.gif").c_str(), F_OK), 0) << "relative to the starting folder";
  EXPECT_EQ(splitFrames(dir_, "here.gif"), 3);
  // Without --dir the same run finds no element files here.
  r = run("orbview2", "--output there.gif");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "elm0005.dat: No such file or directory\n");
}
