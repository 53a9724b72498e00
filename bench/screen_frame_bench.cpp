// One frame of an orbit viewer on the screen driver: page fill, four
// ellipses of width 4, the star symbol and the update that copies the back
// buffer to the window. Headless (drawing only) and on an Xvfb server that
// the benchmark starts (drawing and the copy to the server).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "core/state.h"
#include "korvan.h"
#include "platform/window_system.h"

namespace {

void frame() {
  pagfll(0);
  linwid(4);
  const char* colours[4] = {"YELL", "GREE", "RED", "CYAN"};
  for (int i = 0; i < 4; ++i) {
    color(colours[i]);
    arcell(1484 - 60 * i, 1050 + 20 * i, 300 + 200 * i, 200 + 150 * i, 0.0f, 360.0f,
           15.0f * static_cast<float>(i));
  }
  symbol(21, 1484, 1050);
  endgrf();
}

void plot(benchmark::State& state) {
  korvan::qqsglb(1);
  metafl("CONS");
  korini();
  hsymbl(10);
  for (auto _ : state) frame();
  korvan::qqgglb().winEndMode = 3;  // close at once, no wait
  korfin();
}

void BM_FrameHeadless(benchmark::State& state) {
  korvan::platform::useHeadless(korvan::platform::ScreenMetrics{});
  plot(state);
}
BENCHMARK(BM_FrameHeadless)->Unit(benchmark::kMicrosecond);

// Starts Xvfb on a free display; returns its pid, or -1.
pid_t startXvfb() {
  int p[2];
  if (pipe(p) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    close(p[0]);
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlive the benchmark
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    std::string fd = std::to_string(p[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
           "tcp", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(p[1]);
  std::string number;
  pollfd pf{p[0], POLLIN, 0};
  char c = 0;
  while (poll(&pf, 1, 15000) == 1 && read(p[0], &c, 1) == 1 && c != '\n') number += c;
  close(p[0]);
  if (c != '\n' || number.empty()) {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return -1;
  }
  setenv("DISPLAY", (":" + number).c_str(), 1);
  return pid;
}

pid_t server = -2;  // -2 not tried yet, -1 failed
void stopXvfb() {
  korvan::platform::closeWindowSystem();
  if (server > 0) {
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
  }
}

void BM_FrameXvfb(benchmark::State& state) {
  if (server == -2) {
    server = startXvfb();
    if (server > 0) std::atexit(stopXvfb);
  }
  if (server < 0) {
    state.SkipWithError("Xvfb could not be started");
    return;
  }
  korvan::platform::closeWindowSystem();  // opened again, on the display
  plot(state);
}
BENCHMARK(BM_FrameXvfb)->Unit(benchmark::kMicrosecond);

}  // namespace
