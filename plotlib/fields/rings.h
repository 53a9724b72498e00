// Joins the boundary edges of a filled region on a grid into whole
// polygons: the edges are stitched into closed rings, each hole is tied to
// the ring around it by a zero-width bridge, and every outer ring comes out
// with its holes as one polygon. The bridges are traversed once each way,
// so they add nothing to the filled area under either fill rule.
//
// Places are given twice: in grid index space (u along x, v along y, cell
// (i, j) spanning i..i+1, j..j+1), where the geometry is decided, and in
// user coordinates, which are what comes out. The map between the two is
// affine inside every cell, and every edge lies inside one cell, so the two
// pictures have the same shape.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace korvan {

class RingBuilder {
 public:
  // The grid's cells: cols along x, rows along y.
  RingBuilder(int cols, int rows) : cols_(cols), rows_(rows) {}

  // The vertex of a key (registered on first sight with its places).
  int vertex(std::int64_t key, double u, double v, float x, float y);
  // A boundary edge with the region on its left, lying in cell (i, j).
  void edge(int from, int to, int i, int j) {
    edges_.push_back({from, to, static_cast<std::int64_t>(j) * cols_ + i});
  }
  bool empty() const { return edges_.empty(); }

  // Calls fn(xs, ys, n) with each polygon in user coordinates: an outer
  // ring counterclockwise in index space with its holes clockwise, joined.
  // Clears the builder for the next region.
  using PolygonFn = void (*)(void* ctx, const float* xs, const float* ys, int n);
  void polygons(PolygonFn fn, void* ctx);

  // Rings found by the last polygons() call (outer rings and holes).
  int rings() const { return rings_; }

 private:
  struct Vertex {
    double u, v;
    float x, y;
  };
  struct Edge {
    int from, to;
    std::int64_t cell;
  };
  // One corner of a ring in the list being joined; its edge runs to next.
  struct Node {
    double u, v;
    float x, y;
    std::int64_t cell;  // the cell of the edge to next, -1 for a bridge
    int next, prev, ring;
  };
  void buildRings(std::vector<int>& ringStart, std::vector<double>& area);
  int find(int r);
  bool bridge(int hole, int h);

  void enter(int node);  // into its cell's list

  int cols_, rows_;
  int rings_ = 0;
  std::unordered_map<std::int64_t, int> ids_;
  std::vector<Vertex> vertices_;
  std::vector<Edge> edges_;
  std::vector<Node> nodes_;
  std::vector<int> parent_;    // union-find of rings joined into one polygon
  std::vector<char> hasOuter_;
  // The nodes of each cell's edges, as lists through nextInCell_.
  std::unordered_map<std::int64_t, int> cellHead_;
  std::vector<int> nextInCell_;
};

}  // namespace korvan
