// The windows of a window system: a fixed array of records (they never move,
// since images and system objects point into them), with the window ids as
// positions from 1. Win needs a `used` flag.
#pragma once

#include <array>
#include <cstddef>

namespace korvan::platform {

template <class Win, std::size_t N = 16>
class WindowSlots {
 public:
  // The record of a window in use, or nullptr.
  Win* find(int id) {
    if (id < 1 || id > static_cast<int>(N)) return nullptr;
    Win& w = slots_[static_cast<std::size_t>(id) - 1];
    return w.used ? &w : nullptr;
  }
  // The id of the first free record, 0 when all are used.
  int freeId() const {
    for (std::size_t i = 0; i < N; ++i)
      if (!slots_[i].used) return static_cast<int>(i) + 1;
    return 0;
  }
  Win& at(int id) { return slots_[static_cast<std::size_t>(id) - 1]; }
  int idOf(const Win* w) const { return static_cast<int>(w - slots_.data()) + 1; }
  // The first window in use that p accepts.
  template <class P>
  Win* findIf(P p) {
    for (auto& w : slots_)
      if (w.used && p(w)) return &w;
    return nullptr;
  }
  bool anyUsed() const {
    for (const auto& w : slots_)
      if (w.used) return true;
    return false;
  }
  // Calls f with the id of every window in use.
  template <class F>
  void eachId(F f) const {
    for (std::size_t i = 0; i < N; ++i)
      if (slots_[i].used) f(static_cast<int>(i) + 1);
  }

 private:
  std::array<Win, N> slots_;
};

}  // namespace korvan::platform
