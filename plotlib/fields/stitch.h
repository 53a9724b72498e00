// Joins the line pieces of a contour into whole polylines. Each piece runs
// between two mesh edges, named by integer keys; a piece that starts where a
// fragment ends extends it, one that ends where a fragment starts extends it
// at the front, and a fragment whose ends meet is a closed ring.
#pragma once

#include <cstdint>
#include <deque>
#include <unordered_map>
#include <vector>

namespace korvan {

template <class Emit>
class Stitcher {
 public:
  explicit Stitcher(Emit emit) : emit_(emit) {}

  void piece(std::int64_t a, std::int64_t b) {
    auto fe = byEnd_.find(a);
    auto gs = byStart_.find(b);
    if (fe != byEnd_.end() && gs != byStart_.end()) {
      const int f = fe->second, h = gs->second;
      byEnd_.erase(fe);
      byStart_.erase(gs);
      if (f == h) {  // the ring closes
        frags_[f].push_back(b);
        byStart_.erase(frags_[f].front());
        emit_(frags_[f]);
        release(f);
        return;
      }
      std::deque<std::int64_t>& F = frags_[f];
      F.insert(F.end(), frags_[h].begin(), frags_[h].end());
      byEnd_[F.back()] = f;
      release(h);
    } else if (fe != byEnd_.end()) {
      const int f = fe->second;
      byEnd_.erase(fe);
      frags_[f].push_back(b);
      byEnd_[b] = f;
    } else if (gs != byStart_.end()) {
      const int h = gs->second;
      byStart_.erase(gs);
      frags_[h].push_front(a);
      byStart_[a] = h;
    } else {
      int id;
      if (!free_.empty()) {
        id = free_.back();
        free_.pop_back();
      } else {
        id = static_cast<int>(frags_.size());
        frags_.emplace_back();
      }
      frags_[id] = {a, b};
      byStart_[a] = id;
      byEnd_[b] = id;
    }
  }

  // What is left ends at the border of the mesh or at a hole.
  void finish() {
    for (const auto& [start, id] : byStart_) {
      (void)start;
      emit_(frags_[id]);
    }
    byStart_.clear();
    byEnd_.clear();
  }

 private:
  void release(int id) {
    frags_[id].clear();
    free_.push_back(id);
  }
  Emit emit_;
  std::vector<std::deque<std::int64_t>> frags_;
  std::vector<int> free_;
  std::unordered_map<std::int64_t, int> byStart_, byEnd_;
};

}  // namespace korvan
