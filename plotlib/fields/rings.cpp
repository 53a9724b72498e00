// Boundary edges to polygons with holes: the rings are walked from the
// edges, holes are bridged leftwards to the nearest edge of their own
// region, and each outer ring is handed out with its holes.
#include "fields/rings.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace korvan {

int RingBuilder::vertex(std::int64_t key, double u, double v, float x, float y) {
  auto [it, fresh] = ids_.try_emplace(key, static_cast<int>(vertices_.size()));
  if (fresh) vertices_.push_back({u, v, x, y});
  return it->second;
}

void RingBuilder::buildRings(std::vector<int>& ringStart, std::vector<double>& area) {
  const int nv = static_cast<int>(vertices_.size()), ne = static_cast<int>(edges_.size());
  // The edges leaving each vertex, in one array.
  std::vector<int> first(static_cast<std::size_t>(nv) + 1, 0), out(static_cast<std::size_t>(ne));
  for (const Edge& e : edges_) ++first[static_cast<std::size_t>(e.from) + 1];
  for (int k = 0; k < nv; ++k) first[k + 1] += first[k];
  std::vector<int> cursor(first.begin(), first.end() - 1);
  for (int k = 0; k < ne; ++k) out[cursor[edges_[k].from]++] = k;
  std::copy(first.begin(), first.end() - 1, cursor.begin());
  std::vector<char> used(static_cast<std::size_t>(ne), 0);
  // At a vertex where rings touch (two edges in, two out) either pairing
  // gives rings that fill the same area.
  auto take = [&](int vtx) {
    while (cursor[vtx] < first[vtx + 1]) {
      const int e = out[cursor[vtx]++];
      if (!used[e]) return e;
    }
    return -1;
  };
  for (int k = 0; k < ne; ++k) {
    if (used[k]) continue;
    const int ring = static_cast<int>(ringStart.size());
    const int start = static_cast<int>(nodes_.size());
    ringStart.push_back(start);
    const int s = edges_[k].from;
    int e = k;
    for (;;) {
      used[e] = 1;
      const Vertex& p = vertices_[edges_[e].from];
      const int id = static_cast<int>(nodes_.size());
      nodes_.push_back({p.u, p.v, p.x, p.y, edges_[e].cell, id + 1, id - 1, ring});
      const int to = edges_[e].to;
      if (to == s) break;
      e = take(to);
      if (e < 0) {
        // A chain that does not close (it cannot happen on a sound grid):
        // it is closed straight back to its start rather than lost.
        const Vertex& q = vertices_[to];
        nodes_.push_back({q.u, q.v, q.x, q.y, -1, id + 2, id, ring});
        break;
      }
    }
    const int end = static_cast<int>(nodes_.size()) - 1;
    nodes_[end].next = start;
    nodes_[start].prev = end;
    double a = 0;
    for (int n = start; n <= end; ++n) {
      const Node& p = nodes_[n];
      const Node& q = nodes_[p.next];
      a += p.u * q.v - q.u * p.v;
    }
    area.push_back(a / 2);
  }
}

int RingBuilder::find(int r) {
  while (parent_[r] != r) {
    parent_[r] = parent_[parent_[r]];
    r = parent_[r];
  }
  return r;
}

void RingBuilder::enter(int node) {
  const std::int64_t c = nodes_[node].cell;
  if (c < 0) return;
  auto [it, fresh] = cellHead_.try_emplace(c, node);
  nextInCell_.resize(nodes_.size(), -1);
  nextInCell_[node] = fresh ? -1 : it->second;
  it->second = node;
}

// Ties hole (its leftmost node h) to the first edge of another ring that a
// ray from h to the left meets: inside the region, that edge belongs to the
// region's outer ring or to a hole further left, already tied. The ray is
// horizontal, so only the edges of h's cell row can cross it, cell by cell
// leftwards, and the first cell with a crossing holds the nearest. With the
// half-open rule (one end above the ray, the other not) a ray through a
// vertex meets one of its two edges, never both.
bool RingBuilder::bridge(int hole, int h) {
  const double hu = nodes_[h].u, hv = nodes_[h].v;
  const int row = static_cast<int>(std::floor(hv));
  const int me = find(hole);
  int best = -1;
  double bx = -std::numeric_limits<double>::infinity();
  if (row >= 0 && row < rows_) {
    for (int col = std::min(static_cast<int>(std::floor(hu)), cols_ - 1); col >= 0 && best < 0; --col) {
      auto it = cellHead_.find(static_cast<std::int64_t>(row) * cols_ + col);
      if (it == cellHead_.end()) continue;
      for (int a = it->second; a >= 0; a = nextInCell_[a]) {
        const Node& A = nodes_[a];
        const Node& B = nodes_[A.next];
        if ((A.v > hv) == (B.v > hv) || find(A.ring) == me) continue;
        const double x = A.u + (hv - A.v) * (B.u - A.u) / (B.v - A.v);
        if (x <= hu && x > bx) {
          bx = x;
          best = a;
        }
      }
    }
  }
  const Node H = nodes_[h];
  const int hp = H.prev;
  if (best >= 0) {
    // a -> p1 -> h ... (the hole) ... h' -> p2 -> b, p1 = p2 on the edge.
    const Node A = nodes_[best];
    const Node& B = nodes_[A.next];
    const int b = A.next;
    const double s = (hv - A.v) / (B.v - A.v);
    const float px = static_cast<float>(A.x + s * (static_cast<double>(B.x) - A.x));
    const float py = static_cast<float>(A.y + s * (static_cast<double>(B.y) - A.y));
    const int p1 = static_cast<int>(nodes_.size()), p2 = p1 + 1, hc = p1 + 2;
    nodes_.push_back({bx, hv, px, py, -1, h, best, A.ring});
    nodes_.push_back({bx, hv, px, py, A.cell, b, hc, A.ring});
    nodes_.push_back({H.u, H.v, H.x, H.y, -1, p2, hp, H.ring});
    nodes_[best].next = p1;
    nodes_[h].prev = p1;
    nodes_[hp].next = hc;
    nodes_[b].prev = p2;
    enter(p2);
  } else {
    // Rounding let the ray slip past: the nearest corner of a region with
    // an outer ring takes the hole instead (a bridge is zero-width wherever
    // it runs).
    double bd = std::numeric_limits<double>::infinity();
    for (int a = 0; a < static_cast<int>(nodes_.size()); ++a) {
      const int r = find(nodes_[a].ring);
      if (r == me || !hasOuter_[r]) continue;
      const double d = std::hypot(nodes_[a].u - hu, nodes_[a].v - hv);
      if (d < bd) {
        bd = d;
        best = a;
      }
    }
    if (best < 0) return false;
    const Node A = nodes_[best];
    const int b = A.next, ac = static_cast<int>(nodes_.size()), hc = ac + 1;
    nodes_.push_back({A.u, A.v, A.x, A.y, A.cell, b, hc, A.ring});
    nodes_.push_back({H.u, H.v, H.x, H.y, -1, ac, hp, H.ring});
    nodes_[best].next = h;
    nodes_[best].cell = -1;
    nodes_[h].prev = best;
    nodes_[hp].next = hc;
    nodes_[b].prev = ac;
    enter(ac);
  }
  const int target = find(nodes_[best].ring);
  parent_[me] = target;
  hasOuter_[target] = static_cast<char>(hasOuter_[target] | hasOuter_[me]);
  return true;
}

void RingBuilder::polygons(PolygonFn fn, void* ctx) {
  std::vector<int> ringStart;
  std::vector<double> area;
  buildRings(ringStart, area);
  const int nr = static_cast<int>(ringStart.size());
  rings_ = nr;
  parent_.resize(static_cast<std::size_t>(nr));
  std::iota(parent_.begin(), parent_.end(), 0);
  hasOuter_.assign(static_cast<std::size_t>(nr), 0);
  cellHead_.clear();
  cellHead_.reserve(nodes_.size());
  nextInCell_.assign(nodes_.size(), -1);
  std::vector<std::pair<int, int>> holes;  // ring, leftmost node
  for (int r = 0; r < nr; ++r) {
    // A ring of no area fills nothing and must not catch a hole.
    if (area[r] == 0) continue;
    const int end = r + 1 < nr ? ringStart[r + 1] : static_cast<int>(nodes_.size());
    int left = ringStart[r];
    for (int n = ringStart[r]; n < end; ++n) {
      const Node& p = nodes_[n];
      enter(n);
      if (p.u < nodes_[left].u || (p.u == nodes_[left].u && p.v < nodes_[left].v)) left = n;
    }
    if (area[r] > 0)
      hasOuter_[r] = 1;
    else
      holes.push_back({r, left});
  }
  // Left to right, so that a hole met by a ray is tied already.
  std::sort(holes.begin(), holes.end(), [&](const auto& a, const auto& b) {
    const Node &p = nodes_[a.second], &q = nodes_[b.second];
    return p.u < q.u || (p.u == q.u && p.v < q.v);
  });
  for (const auto& [r, h] : holes) bridge(r, h);
  std::vector<float> xs, ys;
  for (int r = 0; r < nr; ++r) {
    if (!(area[r] > 0)) continue;
    xs.clear();
    ys.clear();
    int n = ringStart[r];
    do {
      const Node& p = nodes_[n];
      if (xs.empty() || p.x != xs.back() || p.y != ys.back()) {
        xs.push_back(p.x);
        ys.push_back(p.y);
      }
      n = p.next;
    } while (n != ringStart[r]);
    while (xs.size() > 1 && xs.back() == xs.front() && ys.back() == ys.front()) {
      xs.pop_back();
      ys.pop_back();
    }
    if (xs.size() >= 3) fn(ctx, xs.data(), ys.data(), static_cast<int>(xs.size()));
  }
  ids_.clear();
  vertices_.clear();
  edges_.clear();
  nodes_.clear();
  cellHead_.clear();
  nextInCell_.clear();
}

}  // namespace korvan
