// The polyline buffer of the vector file formats (PostScript, SVG, CGM): up
// to N device points of one path. A full buffer is written and the path goes
// on from its last point, so long polylines join without a gap; a path begun
// by a draw starts at the pen position.
#pragma once

namespace korvan {

template <class T, int N = 50>
class PathBuffer {
 public:
  T x[N] = {}, y[N] = {};
  int count = 0;

  void reset() {
    count = 0;
    penX_ = penY_ = T{};
  }
  // A draw to (X, Y); flush() writes x/y[0..count) when the buffer is full.
  template <class Flush>
  void draw(T X, T Y, Flush&& flush) {
    if (count == 0) {
      x[0] = penX_;
      y[0] = penY_;
      count = 1;
    }
    x[count] = X;
    y[count] = Y;
    ++count;
    if (count == N) {
      flush();
      x[0] = x[N - 1];
      y[0] = y[N - 1];
      count = 1;
    }
  }
  // A move: the path so far is written and a new one starts at (X, Y).
  template <class Flush>
  void move(T X, T Y, Flush&& flush) {
    flush();
    x[0] = X;
    y[0] = Y;
    count = 1;
  }
  // Called by the writer after it wrote the path: the pen stands at its end.
  void written() {
    if (count > 0) {
      penX_ = x[count - 1];
      penY_ = y[count - 1];
    }
  }
  void clear() { count = 0; }

 private:
  T penX_{}, penY_{};
};

}  // namespace korvan
