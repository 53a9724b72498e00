// Bad surroundings: closed standard streams and files that cannot be
// written. Each case runs a plot in a child process, whose descriptors and
// limits it may spoil.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "support/plot_fixture.h"

namespace korvan::test {
namespace {

class SurroundingsTest : public PlotTest {
 protected:
  // Runs body in a child prepared by spoil; returns what the child wrote on
  // its standard output (a pipe).
  static std::string inChild(const std::function<void()>& spoil, const std::function<void()>& body) {
    int fds[2];
    if (pipe(fds) != 0) return "pipe failed";
    std::fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
      close(fds[0]);
      dup2(fds[1], 1);
      close(fds[1]);
      spoil();
      body();
      std::fflush(stdout);
      _exit(0);
    }
    close(fds[1]);
    std::string out;
    char buf[4096];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, static_cast<std::size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    return out;
  }
  static void plotWithWarnings() {
    metafl("PS");
    korini();
    for (int i = 0; i < 5; ++i) hsymbl(0);  // warning 2
    line(0, 0, 100, 100);
    korfin();
  }
};

TEST_F(SurroundingsTest, NoStandardDescriptorBecomesThePlotFile) {
  for (bool gui : {false, true}) {
    inChild([] { close(1); close(2); },
            [gui] {
              if (gui) winini();
              plotWithWarnings();
            });
    std::string ps = slurp("korvan.ps");
    EXPECT_EQ(ps.rfind("%!PS", 0), 0u) << ps.substr(0, 200);
    EXPECT_EQ(ps.find("Warning"), std::string::npos);
    EXPECT_EQ(ps.find("END OF KORVAN"), std::string::npos);
    if (gui) {
      EXPECT_NE(slurp("korvan.err").find("Warning   2"), std::string::npos);
    }
    std::filesystem::remove("korvan.ps");
  }
}

TEST_F(SurroundingsTest, AFailedErrorFileIsToldOnTheConsoleAndNotKeptEmpty) {
  // No file may grow: the plot file and the error file both fail.
  std::string out = inChild(
      [] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit none{0, 0};
        setrlimit(RLIMIT_FSIZE, &none);
      },
      [] {
        winini();
        plotWithWarnings();
      });
  EXPECT_NE(out.find(" <<<< Warning  36: File error in korfin!   (korvan.err)\n"), std::string::npos)
      << out;
  EXPECT_NE(out.find(" <<<< Warning  36: File error in korfin!   (korvan.ps)\n"), std::string::npos)
      << out;
  EXPECT_FALSE(exists("korvan.err"));
  EXPECT_EQ(out.find("Error file"), std::string::npos) << out;
  EXPECT_NE(out.find("END OF KORVAN"), std::string::npos) << out;
}

}  // namespace
}  // namespace korvan::test
