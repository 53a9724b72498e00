// Headless window system: windows are their surfaces in process memory,
// with a title and no input. Used when no display can be opened.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/window_system.h"

namespace korvan::platform {

namespace {

class HeadlessSystem : public WindowSystem {
 public:
  explicit HeadlessSystem(const ScreenMetrics& m) : metrics_(m) {}
  ~HeadlessSystem() override {
    for (auto& w : windows_) std::free(w.pixels);
  }

  bool headless() const override { return true; }
  ScreenMetrics metrics() override { return metrics_; }

  int create(int, int, int, int, int surfaceWidth, int surfaceHeight, const char* title,
             bool) override {
    Window w;
    w.used = true;
    w.title = title ? title : "";
    if (surfaceWidth > 0 && surfaceHeight > 0) {
      std::size_t n = static_cast<std::size_t>(surfaceWidth) * static_cast<std::size_t>(surfaceHeight);
      w.pixels = static_cast<std::uint32_t*>(std::calloc(n, sizeof(std::uint32_t)));
      if (w.pixels) {
        w.width = surfaceWidth;
        w.height = surfaceHeight;
      }
    }
    for (std::size_t i = 0; i < windows_.size(); ++i) {
      if (!windows_[i].used) {
        windows_[i] = std::move(w);
        return static_cast<int>(i) + 1;
      }
    }
    windows_.push_back(std::move(w));
    return static_cast<int>(windows_.size());
  }

  void destroy(int window) override {
    Window* w = find(window);
    if (!w) return;
    std::free(w->pixels);
    *w = Window();
  }

  Surface surface(int window) override {
    Window* w = find(window);
    if (!w || !w->pixels) return {};
    return {w->pixels, w->width, w->height, w->width};
  }

  void setTitle(int window, const char* title) override {
    if (Window* w = find(window)) w->title = title ? title : "";
  }
  const char* title(int window) override {
    Window* w = find(window);
    return w ? w->title.c_str() : "";
  }
  void present(int) override {}
  std::uintptr_t nativeId(int) override { return 0; }
  bool pending() override { return false; }
  bool next(Event&, int) override { return false; }
  void messageBox(const char* text, const char* caption) override {
    std::fprintf(stderr, "%s: %s\n", caption, text);
  }

 private:
  struct Window {
    bool used = false;
    std::uint32_t* pixels = nullptr;
    int width = 0, height = 0;
    std::string title;
  };
  Window* find(int window) {
    if (window < 1 || window > static_cast<int>(windows_.size())) return nullptr;
    Window& w = windows_[static_cast<std::size_t>(window) - 1];
    return w.used ? &w : nullptr;
  }

  ScreenMetrics metrics_;
  std::vector<Window> windows_;
};

}  // namespace

WindowSystem* openHeadless(const ScreenMetrics& metrics) { return new HeadlessSystem(metrics); }

}  // namespace korvan::platform
