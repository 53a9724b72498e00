// One frame of an orbit viewer on the screen driver: page fill, four
// ellipses of width 4, the star symbol and the update that copies the back
// buffer to the window; plain and smooth. Headless (drawing only) and on an Xvfb server that
// the benchmark starts (drawing and the copy to the server); beside them a
// bare loop of XShmPutImage and XSync into a window of the same size, the
// server's limit for the copy of a frame.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <cstdlib>
#include <string>

#include "core/state.h"
#include "korvan.h"
#include "support/xvfb.h"
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

int windowWidth = 0, windowHeight = 0;  // of the last plot

void plot(benchmark::State& state, bool smoothOn = false) {
  korvan::qqsglb(1);
  if (smoothOn) smooth("ON");
  metafl("CONS");
  korini();
  windowWidth = korvan::qqgglb().winWidth;
  windowHeight = korvan::qqgglb().winHeight;
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

// The same frame drawn smooth (anti-aliased).
void BM_FrameHeadlessSmooth(benchmark::State& state) {
  korvan::platform::useHeadless(korvan::platform::ScreenMetrics{});
  plot(state, true);
}
BENCHMARK(BM_FrameHeadlessSmooth)->Unit(benchmark::kMicrosecond);

// Starts Xvfb on a free display and points DISPLAY at it; its pid, or -1.
pid_t startXvfb() {
  std::string name;
  pid_t pid = testsupport::startXvfb("1024x768x24", name);
  if (pid > 0) setenv("DISPLAY", name.c_str(), 1);
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
  plot(state, state.range(0) == 1);
}
BENCHMARK(BM_FrameXvfb)->Arg(0)->Arg(1)->ArgName("smooth")->Unit(benchmark::kMicrosecond)->UseRealTime();

// The copy alone: one shared-memory image of the window's size sent with
// XShmPutImage and waited for with XSync, as the driver's update does.
void BM_PutImageXvfb(benchmark::State& state) {
  Display* dpy = server > 0 ? XOpenDisplay(nullptr) : nullptr;
  if (!dpy || !XShmQueryExtension(dpy) || windowWidth < 1 || windowHeight < 1) {
    if (dpy) XCloseDisplay(dpy);
    state.SkipWithError("no Xvfb with MIT-SHM, or no window size (run BM_FrameXvfb first)");
    return;
  }
  int screen = DefaultScreen(dpy);
  auto w = static_cast<unsigned>(windowWidth), h = static_cast<unsigned>(windowHeight);
  Window win = XCreateSimpleWindow(dpy, RootWindow(dpy, screen), 0, 0, w, h, 0, 0, 0);
  XMapWindow(dpy, win);
  GC gc = XCreateGC(dpy, win, 0, nullptr);
  XShmSegmentInfo info{};
  XImage* img = XShmCreateImage(dpy, DefaultVisual(dpy, screen),
                                static_cast<unsigned>(DefaultDepth(dpy, screen)), ZPixmap,
                                nullptr, &info, w, h);
  info.shmid = shmget(IPC_PRIVATE, static_cast<std::size_t>(img->bytes_per_line) * h,
                      IPC_CREAT | 0600);
  info.shmaddr = img->data = static_cast<char*>(shmat(info.shmid, nullptr, 0));
  info.readOnly = False;
  XShmAttach(dpy, &info);
  XSync(dpy, False);
  shmctl(info.shmid, IPC_RMID, nullptr);
  for (auto _ : state) {
    XShmPutImage(dpy, win, gc, img, 0, 0, 0, 0, w, h, False);
    XSync(dpy, False);
  }
  state.counters["pixels"] = static_cast<double>(w) * h;
  XShmDetach(dpy, &info);
  img->data = nullptr;  // the segment is not XDestroyImage's to free
  XDestroyImage(img);
  shmdt(info.shmaddr);
  XFreeGC(dpy, gc);
  XDestroyWindow(dpy, win);
  XCloseDisplay(dpy);
}
BENCHMARK(BM_PutImageXvfb)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
