// The window services the screen driver needs from the operating system:
// screen metrics, top-level windows with a back-buffer surface in process
// memory, titles, the copy of the surface to the window, and the messages
// the driver reacts to. The driver draws into the surface itself; the
// platform only shows it. Nothing here names a type of a window system, so
// that the X11 and headless implementations (and others) sit behind it.
//
// Entry points: windowSystem(), useHeadless(); the WindowSystem methods.
#pragma once

#include <cstdint>

namespace korvan::platform {

// Caption height and frame sizes are fixed values of our own: window
// managers decorate windows as they please and do not report it reliably.
constexpr int kCaptionHeight = 23;
constexpr int kFrameWidth = 4;
constexpr int kFrameHeight = 4;

struct ScreenMetrics {
  int width = 1024, height = 768;  // pixels
  int bitsPerPixel = 24;
  int captionHeight = kCaptionHeight;
  int frameWidth = kFrameWidth;
  int frameHeight = kFrameHeight;
};

// Messages delivered to the driver's window procedure.
enum class Message {
  Paint,          // the window must be repainted from its surface
  Close,          // the title-bar Close item was chosen
  RightButtonUp,  // the right mouse button was released over the window
  KeyReturn,
  KeyEscape,
  KeyOther,
  Destroyed,      // the window was destroyed by someone else
};

struct Event {
  Message message;
  int window;  // id returned by WindowSystem::create
};

// A surface of 32-bit pixels 0x00RRGGBB, rows top-down, stride in pixels.
struct Surface {
  std::uint32_t* pixels = nullptr;
  int width = 0, height = 0, stride = 0;
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // True when nothing is shown: windows exist only as their surfaces.
  virtual bool headless() const = 0;
  virtual ScreenMetrics metrics() = 0;

  // A top-level window whose client area starts at (x, y) on the screen and
  // measures width x height, with a surface of surfaceWidth x surfaceHeight
  // (at least the client size). Returns an id > 0, or 0 when the window
  // cannot be made; a window whose surface cannot be allocated is made with
  // an empty surface.
  virtual int create(int x, int y, int width, int height, int surfaceWidth, int surfaceHeight,
                     const char* title, bool show) = 0;
  virtual void destroy(int window) = 0;
  virtual Surface surface(int window) = 0;
  virtual void setTitle(int window, const char* title) = 0;
  // The title last set (for the window list and the tests).
  virtual const char* title(int window) = 0;
  // Copies the client-sized top-left part of the surface to the window.
  virtual void present(int window) = 0;
  // The identifier the window system knows the window by (0 when headless).
  virtual std::uintptr_t nativeId(int window) = 0;

  // Enables or disables the Close item of the window (a no-op where the
  // window system has no such item; the driver ignores Close until the end).
  virtual void enableClose(int /*window*/, bool /*enable*/) {}

  // True if any input is queued.
  virtual bool pending() = 0;
  // Next message: timeoutMs 0 only looks, < 0 blocks until one arrives.
  // Returns false when none arrived in time.
  virtual bool next(Event& event, int timeoutMs) = 0;

  // A fatal message of the screen set-up (shown where the platform can).
  virtual void messageBox(const char* text, const char* caption) = 0;
};

// The process-wide window system, opened on first use: the display named
// by the environment when it can be opened, otherwise the headless one
// (after one notice on standard error).
WindowSystem& windowSystem();

// From now on use a headless window system with these metrics (tests, and
// programs that must not open a display). Windows of the previous system
// must have been destroyed.
void useHeadless(const ScreenMetrics& metrics);

// Closes the window system (its windows must have been destroyed); the next
// windowSystem() opens one again.
void closeWindowSystem();

// The implementations; openX11 returns nullptr without a display, openWin32
// nullptr except on Windows.
WindowSystem* openHeadless(const ScreenMetrics& metrics);
WindowSystem* openX11();
WindowSystem* openWin32();

}  // namespace korvan::platform
