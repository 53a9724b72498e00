// X11 window system (Xlib). Each window has one image of its surface: in
// MIT-SHM shared memory when the server offers it, so that an update is a
// single XShmPutImage with no copy on our side; otherwise in process memory
// sent with XPutImage. For visuals whose pixel layout is not 0x00RRGGBB the
// surface is converted into a second image at each update. The environment
// variable KORVAN_NO_SHM (any value) turns shared memory off.
#include "platform/window_system.h"
#include "platform/window_slots.h"

#ifdef KORVAN_HAVE_X11

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>

#ifdef KORVAN_HAVE_XSHM
#include <X11/extensions/XShm.h>
#include <sys/ipc.h>
#include <sys/shm.h>
#endif

#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace korvan::platform {

namespace {

// X errors must not end the program (a window destroyed by someone else
// gives BadWindow for our next request on it); they are only noted.
int lastXError = 0;
int noteError(::Display*, XErrorEvent* e) {
  lastXError = e->error_code;
  return 0;
}

int shiftOf(unsigned long mask) { return mask ? std::countr_zero(mask) : 0; }
int bitsOf(unsigned long mask) { return std::popcount(mask); }

class X11System : public WindowSystem {
 public:
  explicit X11System(::Display* d) : dpy_(d) {
    screen_ = DefaultScreen(dpy_);
    visual_ = DefaultVisual(dpy_, screen_);
    depth_ = DefaultDepth(dpy_, screen_);
    wmProtocols_ = XInternAtom(dpy_, "WM_PROTOCOLS", False);
    wmDelete_ = XInternAtom(dpy_, "WM_DELETE_WINDOW", False);
    netWmName_ = XInternAtom(dpy_, "_NET_WM_NAME", False);
    utf8_ = XInternAtom(dpy_, "UTF8_STRING", False);
    XSetErrorHandler(noteError);
    const bool hostLsb = std::endian::native == std::endian::little;
    direct_ = visual_->red_mask == 0xFF0000 && visual_->green_mask == 0xFF00 &&
              visual_->blue_mask == 0xFF && (depth_ == 24 || depth_ == 32) &&
              (ImageByteOrder(dpy_) == LSBFirst) == hostLsb;
#ifdef KORVAN_HAVE_XSHM
    int major, minor;
    Bool pixmaps;
    shm_ = direct_ && XShmQueryVersion(dpy_, &major, &minor, &pixmaps) && !std::getenv("KORVAN_NO_SHM");
#endif
  }

  ~X11System() override {
    windows_.eachId([this](int id) { destroy(id); });
    XCloseDisplay(dpy_);
  }

  bool headless() const override { return false; }

  ScreenMetrics metrics() override {
    ScreenMetrics m;
    m.width = DisplayWidth(dpy_, screen_);
    m.height = DisplayHeight(dpy_, screen_);
    m.bitsPerPixel = depth_;
    return m;
  }

  int create(int x, int y, int width, int height, int surfaceWidth, int surfaceHeight,
             const char* title, bool show) override {
    if (width < 1) width = 1;
    if (height < 1) height = 1;
    int id = windows_.freeId();
    if (id == 0) return 0;
    Win w;
    w.used = true;
    w.width = width;
    w.height = height;
    XSetWindowAttributes attr{};
    attr.background_pixel = BlackPixel(dpy_, screen_);
    attr.event_mask =
        ExposureMask | ButtonPressMask | ButtonReleaseMask | KeyPressMask | StructureNotifyMask;
    w.xid = XCreateWindow(dpy_, RootWindow(dpy_, screen_), x, y, static_cast<unsigned>(width),
                          static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
                          CopyFromParent, CWBackPixel | CWEventMask, &attr);
    if (!w.xid) return 0;
    w.gc = XCreateGC(dpy_, w.xid, 0, nullptr);

    XSizeHints* hints = XAllocSizeHints();
    if (hints) {
      // The position is that of the client area, decorations go outside.
      hints->flags = USPosition | USSize | PWinGravity;
      hints->x = x;
      hints->y = y;
      hints->width = width;
      hints->height = height;
      hints->win_gravity = StaticGravity;
      XSetWMNormalHints(dpy_, w.xid, hints);
      XFree(hints);
    }
    XClassHint* cls = XAllocClassHint();
    if (cls) {
      char name[] = "korvan", klass[] = "kormain";
      cls->res_name = name;
      cls->res_class = klass;
      XSetClassHint(dpy_, w.xid, cls);
      XFree(cls);
    }
    XSetWMProtocols(dpy_, w.xid, &wmDelete_, 1);
    // The shared-memory image keeps a pointer to its segment record, so the
    // record is made in its final place.
    Win& slot = windows_.at(id);
    slot = w;
    makeImage(slot, surfaceWidth, surfaceHeight);
    setTitle(id, title);
    if (show) XMapRaised(dpy_, slot.xid);
    XSync(dpy_, False);
    return id;
  }

  void destroy(int window) override {
    Win* w = find(window);
    if (!w) return;
    freeImage(*w);
    if (w->gc) XFreeGC(dpy_, w->gc);
    if (w->xid) XDestroyWindow(dpy_, w->xid);
    XSync(dpy_, False);
    *w = Win();
  }

  Surface surface(int window) override {
    Win* w = find(window);
    return w ? w->surface : Surface{};
  }

  void setTitle(int window, const char* title) override {
    Win* w = find(window);
    if (!w) return;
    w->title = title ? title : "";
    if (!w->xid) return;
    XStoreName(dpy_, w->xid, w->title.c_str());
    XChangeProperty(dpy_, w->xid, netWmName_, utf8_, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(w->title.data()),
                    static_cast<int>(w->title.size()));
    XFlush(dpy_);
  }

  const char* title(int window) override {
    Win* w = find(window);
    return w ? w->title.c_str() : "";
  }

  void present(int window) override {
    Win* w = find(window);
    if (!w || !w->xid || !w->image) return;
    unsigned cw = static_cast<unsigned>(std::min(w->width, w->surface.width));
    unsigned ch = static_cast<unsigned>(std::min(w->height, w->surface.height));
    if (w->converted) convert(*w, static_cast<int>(cw), static_cast<int>(ch));
#ifdef KORVAN_HAVE_XSHM
    if (w->shm) {
      XShmPutImage(dpy_, w->xid, w->gc, w->image, 0, 0, 0, 0, cw, ch, False);
      // The server reads the shared memory later: wait before drawing on.
      XSync(dpy_, False);
      return;
    }
#endif
    XPutImage(dpy_, w->xid, w->gc, w->image, 0, 0, 0, 0, cw, ch);
    XFlush(dpy_);
  }

  std::uintptr_t nativeId(int window) override {
    Win* w = find(window);
    return w ? static_cast<std::uintptr_t>(w->xid) : 0;
  }

  bool pending() override { return XPending(dpy_) > 0; }

  bool next(Event& event, int timeoutMs) override {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0);
    for (;;) {
      while (XPending(dpy_) > 0) {
        XEvent ev;
        XNextEvent(dpy_, &ev);
        if (translate(ev, event)) return true;
      }
      int wait = -1;
      if (timeoutMs == 0) return false;
      if (timeoutMs > 0) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        wait = static_cast<int>(left.count());
      }
      pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
      poll(&p, 1, wait);
    }
  }

  void messageBox(const char* text, const char* caption) override {
    std::fprintf(stderr, "%s: %s\n", caption, text);
  }

 private:
  struct Win {
    bool used = false;
    ::Window xid = 0;
    GC gc = nullptr;
    int width = 0, height = 0;  // client area
    Surface surface;
    XImage* image = nullptr;    // what is sent to the window
    bool shm = false;
    bool converted = false;     // image holds a converted copy of the surface
    std::uint32_t* own = nullptr;  // surface memory when not shared
#ifdef KORVAN_HAVE_XSHM
    XShmSegmentInfo shmInfo{};
#endif
    std::string title;
  };

  Win* find(int window) { return windows_.find(window); }

  Win* byXid(::Window xid) {
    return windows_.findIf([xid](const Win& w) { return w.xid == xid; });
  }
  int idOf(const Win* w) const { return windows_.idOf(w); }

  void makeImage(Win& w, int sw, int sh) {
    if (sw < 1 || sh < 1) return;
#ifdef KORVAN_HAVE_XSHM
    if (shm_ && makeShmImage(w, sw, sh)) return;
#endif
    std::size_t n = static_cast<std::size_t>(sw) * static_cast<std::size_t>(sh);
    w.own = static_cast<std::uint32_t*>(std::calloc(n, sizeof(std::uint32_t)));
    if (!w.own) return;
    w.surface = {w.own, sw, sh, sw};
    if (direct_) {
      w.image = XCreateImage(dpy_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0,
                             reinterpret_cast<char*>(w.own), static_cast<unsigned>(sw),
                             static_cast<unsigned>(sh), 32, sw * 4);
      return;
    }
    w.image = XCreateImage(dpy_, visual_, static_cast<unsigned>(depth_), ZPixmap, 0, nullptr,
                           static_cast<unsigned>(sw), static_cast<unsigned>(sh), 32, 0);
    if (!w.image) return;
    w.image->data = static_cast<char*>(
        std::calloc(static_cast<std::size_t>(w.image->bytes_per_line) * static_cast<std::size_t>(sh), 1));
    if (!w.image->data) {
      XDestroyImage(w.image);
      w.image = nullptr;
      return;
    }
    w.converted = true;
  }

#ifdef KORVAN_HAVE_XSHM
  bool makeShmImage(Win& w, int sw, int sh) {
    XImage* img = XShmCreateImage(dpy_, visual_, static_cast<unsigned>(depth_), ZPixmap, nullptr,
                                  &w.shmInfo, static_cast<unsigned>(sw), static_cast<unsigned>(sh));
    if (!img) return false;
    std::size_t bytes = static_cast<std::size_t>(img->bytes_per_line) * static_cast<std::size_t>(sh);
    w.shmInfo.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (w.shmInfo.shmid < 0) {
      XDestroyImage(img);
      return false;
    }
    void* addr = shmat(w.shmInfo.shmid, nullptr, 0);
    if (addr == reinterpret_cast<void*>(-1)) {
      shmctl(w.shmInfo.shmid, IPC_RMID, nullptr);
      XDestroyImage(img);
      return false;
    }
    w.shmInfo.shmaddr = img->data = static_cast<char*>(addr);
    w.shmInfo.readOnly = False;
    lastXError = 0;
    Bool ok = XShmAttach(dpy_, &w.shmInfo);
    XSync(dpy_, False);
    // Marked for removal now: it goes when both sides have detached.
    shmctl(w.shmInfo.shmid, IPC_RMID, nullptr);
    if (!ok || lastXError != 0) {
      shmdt(addr);
      img->data = nullptr;
      XDestroyImage(img);
      shm_ = false;  // a remote server: do not try again
      return false;
    }
    std::memset(addr, 0, bytes);
    w.image = img;
    w.shm = true;
    w.surface = {reinterpret_cast<std::uint32_t*>(addr), sw, sh, img->bytes_per_line / 4};
    return true;
  }
#endif

  void freeImage(Win& w) {
#ifdef KORVAN_HAVE_XSHM
    if (w.shm) {
      XShmDetach(dpy_, &w.shmInfo);
      XSync(dpy_, False);
      shmdt(w.shmInfo.shmaddr);
      w.image->data = nullptr;
      XDestroyImage(w.image);
      w.image = nullptr;
      return;
    }
#endif
    if (w.image) {
      if (!w.converted) w.image->data = nullptr;  // the surface is ours
      XDestroyImage(w.image);
      w.image = nullptr;
    }
    std::free(w.own);
    w.own = nullptr;
  }

  // 0x00RRGGBB to the visual's own pixel layout.
  void convert(Win& w, int cw, int ch) {
    unsigned long rm = visual_->red_mask, gm = visual_->green_mask, bm = visual_->blue_mask;
    int rs = shiftOf(rm), gs = shiftOf(gm), bs = shiftOf(bm);
    int rb = bitsOf(rm), gb = bitsOf(gm), bb = bitsOf(bm);
    auto pack = [&](std::uint32_t c) {
      unsigned long r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
      return ((r >> (8 - rb)) << rs) | ((g >> (8 - gb)) << gs) | ((b >> (8 - bb)) << bs);
    };
    for (int y = 0; y < ch; ++y) {
      const std::uint32_t* src = w.surface.pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(w.surface.stride);
      for (int x = 0; x < cw; ++x) XPutPixel(w.image, x, y, pack(src[x]));
    }
  }

  bool translate(const XEvent& ev, Event& out) {
    Win* w = byXid(ev.xany.window);
    if (!w) return false;
    out.window = idOf(w);
    switch (ev.type) {
      case Expose:
        if (ev.xexpose.count != 0) return false;
        out.message = Message::Paint;
        return true;
      case ClientMessage:
        if (ev.xclient.message_type == wmProtocols_ &&
            static_cast<Atom>(ev.xclient.data.l[0]) == wmDelete_) {
          out.message = Message::Close;
          return true;
        }
        return false;
      case ButtonRelease:
        if (ev.xbutton.button != Button3) return false;
        out.message = Message::RightButtonUp;
        return true;
      case KeyPress: {
        XKeyEvent key = ev.xkey;
        KeySym sym = XLookupKeysym(&key, 0);
        out.message = (sym == XK_Return || sym == XK_KP_Enter) ? Message::KeyReturn
                      : sym == XK_Escape                        ? Message::KeyEscape
                                                                : Message::KeyOther;
        return true;
      }
      case DestroyNotify:
        if (ev.xdestroywindow.window != w->xid) return false;
        // Destroyed from outside: forget the server side, keep the surface.
        if (w->gc) XFreeGC(dpy_, w->gc);
        w->gc = nullptr;
        w->xid = 0;
        out.message = Message::Destroyed;
        return true;
      default:
        return false;
    }
  }

  ::Display* dpy_;
  int screen_;
  Visual* visual_;
  int depth_;
  Atom wmProtocols_, wmDelete_, netWmName_, utf8_;
  bool direct_ = false;
  bool shm_ = false;
  WindowSlots<Win> windows_;  // fixed: images point into their records
};

}  // namespace

WindowSystem* openX11() {
  // A server that is there may still refuse a connection now and then when
  // clients connect in quick succession: try a few times before giving up.
  const char* name = std::getenv("DISPLAY");
  int tries = name && *name ? 5 : 1;
  ::Display* d = nullptr;
  for (int t = 0; t < tries && !d; ++t) {
    if (t > 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    d = XOpenDisplay(nullptr);
  }
  if (!d) return nullptr;
  Visual* v = DefaultVisual(d, DefaultScreen(d));
  // Only true-colour visuals: colour cells of a palette visual are not managed.
  if (v->c_class != TrueColor) {
    XCloseDisplay(d);
    return nullptr;
  }
  return new X11System(d);
}

}  // namespace korvan::platform

#else

namespace korvan::platform {
WindowSystem* openX11() { return nullptr; }
}  // namespace korvan::platform

#endif
