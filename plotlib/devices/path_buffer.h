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

  // The operations of the drivers' path routines: 0 opens the picture and
  // empties the buffer, 2 draws, 9 writes and ends the path, 999 also ends
  // the picture, any other moves. Nothing is taken while the picture is
  // not open.
  template <class Flush>
  void operate(int op, T X, T Y, bool& open, Flush&& flush) {
    if (op == 0) {
      open = true;
      reset();
      return;
    }
    if (!open) return;
    if (op == 2) {
      draw(X, Y, flush);
    } else if (op == 9 || op == 999) {
      flush();
      clear();
      if (op == 999) open = false;
    } else {
      move(X, Y, flush);
    }
  }

 private:
  T penX_{}, penY_{};
};

}  // namespace korvan
