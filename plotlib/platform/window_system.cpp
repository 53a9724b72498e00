// Choice of the window system: the display if one can be opened, else
// headless. Made once per process; the display stays open until exit.
#include <cstdio>
#include <memory>

#include "platform/window_system.h"

namespace korvan::platform {

namespace {
std::unique_ptr<WindowSystem>& current() {
  static std::unique_ptr<WindowSystem> system;
  return system;
}
}  // namespace

WindowSystem& windowSystem() {
  auto& system = current();
  if (!system) {
#if defined(_WIN32)
    system.reset(openWin32());
#else
    system.reset(openX11());
#endif
    if (!system) {
      std::fprintf(stderr,
                   "KORVAN: no display could be opened; the screen output is drawn off screen.\n");
      system.reset(openHeadless(ScreenMetrics{}));
    }
  }
  return *system;
}

void closeWindowSystem() { current().reset(); }

void useHeadless(const ScreenMetrics& metrics) { current().reset(openHeadless(metrics)); }

}  // namespace korvan::platform
