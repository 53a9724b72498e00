#include "devices/raster/smooth.h"

#include <algorithm>
#include <cmath>

namespace korvan {

namespace {
constexpr double kPi = 3.14159265358979323846;
// Largest deviation of a round join or cap from the true circle, in pixels.
constexpr double kArcTolerance = 0.1;
// Points closer than this are one point.
constexpr double kSame = 1e-4;

// (c * a + d * (255 - a)) / 255, rounded, for a in 0 .. 255.
inline std::uint8_t mix(unsigned c, unsigned d, unsigned a) {
  unsigned t = c * a + d * (255u - a) + 128u;
  return static_cast<std::uint8_t>((t + (t >> 8)) >> 8);
}

bool finite(double v) { return std::isfinite(v); }
}  // namespace

void SmoothPainter::attach(std::uint8_t* pixels, int width, int height, std::ptrdiff_t stride,
                           PixelLayout layout) {
  if (!pixels || width < 1 || height < 1) {
    pixels_ = nullptr;
    width_ = height_ = 0;
    stride_ = 0;
    cx0_ = cy0_ = 0;
    cx1_ = cy1_ = -1;
    return;
  }
  const bool same = width == width_ && height == height_ && !cells_.empty();
  pixels_ = pixels;
  stride_ = stride;
  layout_ = layout;
  if (same) {
    // The cells are empty between paints: only the target changes.
    clip(0, 0, width - 1, height - 1);
    return;
  }
  width_ = width;
  height_ = height;
  cells_.assign(static_cast<std::size_t>(width + 2) * static_cast<std::size_t>(height), 0.0f);
  lo_.assign(static_cast<std::size_t>(height), 0x7FFFFFFF);
  hi_.assign(static_cast<std::size_t>(height), -1);
  top_ = height;
  bottom_ = -1;
  clip(0, 0, width - 1, height - 1);
}

void SmoothPainter::clip(int x0, int y0, int x1, int y1) {
  cx0_ = std::max(x0, 0);
  cy0_ = std::max(y0, 0);
  cx1_ = std::min(x1, width_ - 1);
  cy1_ = std::min(y1, height_ - 1);
}

void SmoothPainter::colour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  rgb_[0] = r;
  rgb_[1] = g;
  rgb_[2] = b;
}

// ---- coverage ----

void SmoothPainter::edge(double x0, double y0, double x1, double y1) {
  if (y0 == y1) return;
  const double H = height_, W = width_;
  if (x0 >= 0.0 && x1 >= 0.0 && x0 <= W && x1 <= W && y0 >= 0.0 && y1 >= 0.0 && y0 <= H &&
      y1 <= H) {
    accumulate(x0, y0, x1, y1);
    return;
  }
  // The part within the rows of the buffer; the rest covers no pixel.
  if ((y0 <= 0.0 && y1 <= 0.0) || (y0 >= H && y1 >= H)) return;
  auto cutY = [&](double& xa, double& ya, double xb, double yb, double y) {
    xa = xa + (xb - xa) * (y - ya) / (yb - ya);
    ya = y;
  };
  if (y0 < 0.0) cutY(x0, y0, x1, y1, 0.0);
  if (y1 < 0.0) cutY(x1, y1, x0, y0, 0.0);
  if (y0 > H) cutY(x0, y0, x1, y1, H);
  if (y1 > H) cutY(x1, y1, x0, y0, H);
  // Left of the buffer an edge still covers the whole row to its right, so
  // that part runs down column 0; right of it, it covers nothing but is kept
  // at the column after the last so that every row sums to zero.
  double xs[4] = {x0, 0.0, 0.0, x1}, ys[4] = {y0, 0.0, 0.0, y1};
  int n = 1;
  double cuts[2];
  int nc = 0;
  for (double xc : {0.0, W}) {
    if ((x0 < xc && x1 > xc) || (x0 > xc && x1 < xc)) cuts[nc++] = (xc - x0) / (x1 - x0);
  }
  if (nc == 2 && cuts[0] > cuts[1]) std::swap(cuts[0], cuts[1]);
  for (int k = 0; k < nc; ++k) {
    xs[n] = x0 + (x1 - x0) * cuts[k];
    ys[n] = y0 + (y1 - y0) * cuts[k];
    ++n;
  }
  xs[n] = x1;
  ys[n] = y1;
  for (int k = 0; k < n; ++k)
    accumulate(std::clamp(xs[k], 0.0, W), ys[k], std::clamp(xs[k + 1], 0.0, W), ys[k + 1]);
}

// The signed area of one edge (x within 0 .. width, y within 0 .. height)
// added to the cells of the rows it crosses.
void SmoothPainter::accumulate(double ax, double ay, double bx, double by) {
  if (ay == by) return;
  float dir = 1.0f;
  if (ay > by) {
    std::swap(ax, bx);
    std::swap(ay, by);
    dir = -1.0f;
  }
  const float p0x = static_cast<float>(ax), p0y = static_cast<float>(ay);
  const float p1x = static_cast<float>(bx), p1y = static_cast<float>(by);
  if (!(p1y > p0y)) return;
  const float dxdy = (p1x - p0x) / (p1y - p0y);
  const int row = width_ + 2;
  const int yStart = std::max(0, static_cast<int>(p0y));
  const int yEnd = std::min(height_, static_cast<int>(p1y) + (p1y > static_cast<float>(static_cast<int>(p1y)) ? 1 : 0));
  const float maxX = static_cast<float>(width_);
  float x = p0x;
  for (int y = yStart; y < yEnd; ++y) {
    float* line = cells_.data() + static_cast<std::ptrdiff_t>(y) * row;
    const float dy = std::min(static_cast<float>(y + 1), p1y) - std::max(static_cast<float>(y), p0y);
    float xnext = std::clamp(x + dxdy * dy, 0.0f, maxX);
    const float d = dy * dir;
    float xa = std::min(x, xnext), xb = std::max(x, xnext);
    // x is never negative here: truncation is the floor
    const int xai = static_cast<int>(xa);
    const float xaFloor = static_cast<float>(xai);
    const int xbi = static_cast<int>(xb) + (xb > static_cast<float>(static_cast<int>(xb)) ? 1 : 0);
    const float xbCeil = static_cast<float>(xbi);
    int last;
    if (xbi <= xai + 1) {
      const float xmf = 0.5f * (x + xnext) - xaFloor;
      line[xai] += d - d * xmf;
      line[xai + 1] += d * xmf;
      last = xai + 1;
    } else {
      const float s = 1.0f / (xb - xa);
      const float xaf = xa - xaFloor;
      const float a0 = 0.5f * s * (1.0f - xaf) * (1.0f - xaf);
      const float xbf = xb - xbCeil + 1.0f;
      const float am = 0.5f * s * xbf * xbf;
      line[xai] += d * a0;
      if (xbi == xai + 2) {
        line[xai + 1] += d * (1.0f - a0 - am);
      } else {
        const float a1 = s * (1.5f - xaf);
        line[xai + 1] += d * (a1 - a0);
        for (int xi = xai + 2; xi < xbi - 1; ++xi) line[xi] += d * s;
        const float a2 = a1 + static_cast<float>(xbi - xai - 3) * s;
        line[xbi - 1] += d * (1.0f - a2 - am);
      }
      line[xbi] += d * am;
      last = xbi;
    }
    lo_[static_cast<std::size_t>(y)] = std::min(lo_[static_cast<std::size_t>(y)], xai);
    hi_[static_cast<std::size_t>(y)] = std::max(hi_[static_cast<std::size_t>(y)], last);
    top_ = std::min(top_, y);
    bottom_ = std::max(bottom_, y);
    x = xnext;
  }
}

void SmoothPainter::paint() {
  const int row = width_ + 2;
  for (int y = top_; y <= bottom_; ++y) {
    int lo = lo_[static_cast<std::size_t>(y)], hi = hi_[static_cast<std::size_t>(y)];
    if (lo > hi) continue;
    lo_[static_cast<std::size_t>(y)] = 0x7FFFFFFF;
    hi_[static_cast<std::size_t>(y)] = -1;
    float* line = cells_.data() + static_cast<std::ptrdiff_t>(y) * row;
    const bool rowVisible = y >= cy0_ && y <= cy1_;
    std::uint8_t* pixels = pixels_ + static_cast<std::ptrdiff_t>(y) * stride_;
    float sum = 0.0f;
    int x = lo;
    if (!rowVisible) {
      std::fill(line + lo, line + hi + 1, 0.0f);
      continue;
    }
    // left of the clip rectangle: summed only
    for (; x <= hi && x < cx0_; ++x) {
      sum += line[x];
      line[x] = 0.0f;
    }
    const int last = std::min(hi, cx1_);
    for (; x <= last; ++x) {
      sum += line[x];
      line[x] = 0.0f;
      const float c = std::fabs(sum);
      if (c < 0.5f / 255.0f) continue;
      const unsigned a = c >= 1.0f ? 255u : static_cast<unsigned>(c * 255.0f + 0.5f);
      if (a == 255u && x < last && line[x + 1] == 0.0f) {
        // The inside of a shape: no edge changes the coverage along a run
        // of empty cells, which is filled at once.
        int end = x + 1;
        while (end < last && line[end + 1] == 0.0f) ++end;
        if (layout_ == PixelLayout::Rgb24) {
          for (std::uint8_t* p = pixels + 3 * x; p < pixels + 3 * (end + 1); p += 3) {
            p[0] = rgb_[0];
            p[1] = rgb_[1];
            p[2] = rgb_[2];
          }
        } else {
          const std::uint32_t v = static_cast<std::uint32_t>(rgb_[0]) << 16 |
                                  static_cast<std::uint32_t>(rgb_[1]) << 8 | rgb_[2];
          std::fill(reinterpret_cast<std::uint32_t*>(pixels) + x,
                    reinterpret_cast<std::uint32_t*>(pixels) + end + 1, v);
        }
        x = end;
        continue;
      }
      if (layout_ == PixelLayout::Rgb24) {
        std::uint8_t* p = pixels + 3 * x;
        if (a == 255u) {
          p[0] = rgb_[0];
          p[1] = rgb_[1];
          p[2] = rgb_[2];
        } else {
          p[0] = mix(rgb_[0], p[0], a);
          p[1] = mix(rgb_[1], p[1], a);
          p[2] = mix(rgb_[2], p[2], a);
        }
      } else {
        auto* p = reinterpret_cast<std::uint32_t*>(pixels) + x;
        const std::uint32_t v = *p;
        const std::uint32_t r = a == 255u ? rgb_[0] : mix(rgb_[0], (v >> 16) & 255u, a);
        const std::uint32_t g = a == 255u ? rgb_[1] : mix(rgb_[1], (v >> 8) & 255u, a);
        const std::uint32_t b = a == 255u ? rgb_[2] : mix(rgb_[2], v & 255u, a);
        *p = (r << 16) | (g << 8) | b;
      }
    }
    if (x <= hi) std::fill(line + x, line + hi + 1, 0.0f);
  }
  top_ = height_;
  bottom_ = -1;
}

void SmoothPainter::contour(const std::vector<Pt>& pts) {
  const std::size_t n = pts.size();
  if (n < 3) return;
  for (std::size_t i = 0; i < n; ++i) {
    const Pt& a = pts[i];
    const Pt& b = pts[i + 1 == n ? 0 : i + 1];
    edge(a.x, a.y, b.x, b.y);
  }
}

void SmoothPainter::fill(const float* xs, const float* ys, int n) {
  if (!pixels_ || n < 3 || !xs || !ys) return;
  for (int i = 0; i < n; ++i)
    if (!finite(xs[i]) || !finite(ys[i])) return;
  for (int i = 0; i < n; ++i) {
    int j = i + 1 == n ? 0 : i + 1;
    edge(xs[i], ys[i], xs[j], ys[j]);
  }
  paint();
}

void SmoothPainter::rect(double x0, double y0, double x1, double y1) {
  if (!pixels_ || !finite(x0) || !finite(y0) || !finite(x1) || !finite(y1)) return;
  edge(x0, y0, x0, y1);
  edge(x1, y1, x1, y0);
  paint();
}

// ---- wide lines ----

int SmoothPainter::arcSteps(double angle, double half) const {
  double step = half > kArcTolerance ? 2.0 * std::acos(1.0 - kArcTolerance / half) : kPi / 2.0;
  step = std::max(step, kPi / 128.0);
  return std::max(1, static_cast<int>(std::ceil(std::fabs(angle) / step)));
}

// The points strictly between from and its turn by angle around centre.
void SmoothPainter::arc(Pt centre, Pt from, double angle, double half, std::vector<Pt>& out) const {
  const int k = arcSteps(angle, half);
  for (int i = 1; i < k; ++i) {
    const double a = angle * i / k, c = std::cos(a), s = std::sin(a);
    out.push_back({centre.x + half * (from.x * c - from.y * s),
                   centre.y + half * (from.x * s + from.y * c)});
  }
}

// The end of a line at `at`, leaving in direction dir: from the side of the
// normal (-dir.y, dir.x) around to the other side.
void SmoothPainter::cap(Pt at, Pt dir, double half, LineCap kind, std::vector<Pt>& out) const {
  const Pt n{-dir.y, dir.x};
  if (kind == LineCap::Square) {
    out.push_back({at.x + half * (n.x + dir.x), at.y + half * (n.y + dir.y)});
    out.push_back({at.x + half * (dir.x - n.x), at.y + half * (dir.y - n.y)});
  } else if (kind == LineCap::Round) {
    arc(at, n, -kPi, half, out);
  }
}

// The offset of a polyline on the side of its normals (-u.y, u.x): round
// joins where this side is the outer one, and through the centre point
// where it is the inner one (the overlap then counts twice, never zero).
void SmoothPainter::side(const std::vector<Pt>& p, bool closed, double half,
                         std::vector<Pt>& out) const {
  const std::size_t m = p.size();
  const std::size_t segs = closed ? m : m - 1;
  dirs_.resize(segs);
  lens_.resize(segs);
  for (std::size_t i = 0; i < segs; ++i) {
    const Pt& a = p[i];
    const Pt& b = p[(i + 1) % m];
    const double dx = b.x - a.x, dy = b.y - a.y, len = std::sqrt(dx * dx + dy * dy);
    dirs_[i] = {dx / len, dy / len};
    lens_[i] = len;
  }
  // Turns smaller than one step of a round join need no points between.
  const double step = kPi / arcSteps(kPi, half);
  const double cosStep = std::cos(step);
  auto join = [&](std::size_t at, std::size_t prev, std::size_t next) {
    const Pt ua = dirs_[prev], ub = dirs_[next], P = p[at];
    const Pt na{-ua.y, ua.x}, nb{-ub.y, ub.x};
    const double cross = ua.x * ub.y - ua.y * ub.x, dot = ua.x * ub.x + ua.y * ub.y;
    // A small turn (a curve): the offset lines meet in one point, which
    // lies within both segments; the round join would differ from it by
    // less than the tolerance. Half the edges of the general join.
    if (dot > cosStep && half * std::fabs(cross) < 0.5 * (1.0 + dot) * std::min(lens_[prev], lens_[next])) {
      const double k = half / (1.0 + dot);
      out.push_back({P.x + k * (na.x + nb.x), P.y + k * (na.y + nb.y)});
      return;
    }
    out.push_back({P.x + half * na.x, P.y + half * na.y});
    if (cross > 1e-12) {
      out.push_back(P);
    } else if ((cross < -1e-12 || dot < 0.0) && dot < cosStep) {
      double angle = std::atan2(cross, dot);
      if (angle > 0.0) angle = -angle;  // a full reversal turns round the outside
      arc(P, na, angle, half, out);
    }
    out.push_back({P.x + half * nb.x, P.y + half * nb.y});
  };
  if (closed) {
    for (std::size_t i = 0; i < m; ++i) join(i, (i + segs - 1) % segs, i);
    return;
  }
  const Pt u0 = dirs_[0];
  out.push_back({p[0].x - half * u0.y, p[0].y + half * u0.x});
  for (std::size_t i = 1; i + 1 < m; ++i) join(i, i - 1, i);
  const Pt ul = dirs_[m - 2];
  out.push_back({p[m - 1].x - half * ul.y, p[m - 1].y + half * ul.x});
}

void SmoothPainter::strokeRun(std::vector<Pt>& run, double half, LineCap kind) {
  // Zero-length segments have no direction: they go.
  std::size_t k = 0;
  for (std::size_t i = 0; i < run.size(); ++i) {
    if (k > 0 && std::fabs(run[i].x - run[k - 1].x) < kSame &&
        std::fabs(run[i].y - run[k - 1].y) < kSame)
      continue;
    run[k++] = run[i];
  }
  run.resize(k);
  if (run.empty()) return;
  outline_.clear();
  if (run.size() == 1) {
    // A line of no length is a dot the width of the line.
    const Pt c = run[0];
    if (kind == LineCap::Round) {
      outline_.push_back({c.x + half, c.y});
      arc(c, {1.0, 0.0}, 2.0 * kPi, half, outline_);
    } else {
      outline_ = {{c.x - half, c.y - half}, {c.x + half, c.y - half},
                  {c.x + half, c.y + half}, {c.x - half, c.y + half}};
    }
    contour(outline_);
    return;
  }
  const bool closed = run.size() >= 4 && std::fabs(run.front().x - run.back().x) < kSame * 10 &&
                      std::fabs(run.front().y - run.back().y) < kSame * 10;
  if (closed) {
    run.pop_back();
    side(run, true, half, outline_);
    contour(outline_);
    std::reverse(run.begin(), run.end());
    outline_.clear();
    side(run, true, half, outline_);
    contour(outline_);
    return;
  }
  side(run, false, half, outline_);
  auto unit = [](Pt a, Pt b) {
    double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
    return Pt{dx / len, dy / len};
  };
  const std::size_t m = run.size();
  cap(run[m - 1], unit(run[m - 2], run[m - 1]), half, kind, outline_);
  back_.assign(run.rbegin(), run.rend());
  side(back_, false, half, outline_);
  cap(run[0], unit(run[1], run[0]), half, kind, outline_);
  contour(outline_);
}

void SmoothPainter::stroke(const float* xs, const float* ys, int n, double width, LineCap kind) {
  if (!pixels_ || n < 1 || !xs || !ys || !(width > 0.0)) return;
  // Wider than the buffer's surroundings covers no more.
  const double half = std::min(width / 2.0, 2.0 * (width_ + height_) + 8.0);
  // Segments are cut to the buffer widened by the half width: what lies
  // beyond cannot reach a pixel, and the cut keeps every coordinate small.
  const double m = half + 2.0;
  const double xlo = -m, xhi = width_ + m, ylo = -m, yhi = height_ + m;
  run_.clear();
  auto flush = [&]() {
    if (!run_.empty()) strokeRun(run_, half, kind);
    run_.clear();
  };
  auto inside = [&](double x, double y) { return x >= xlo && x <= xhi && y >= ylo && y <= yhi; };
  if (n == 1) {
    if (finite(xs[0]) && finite(ys[0]) && inside(xs[0], ys[0])) run_.push_back({xs[0], ys[0]});
    flush();
    paint();
    return;
  }
  for (int i = 0; i + 1 < n; ++i) {
    const double ax = xs[i], ay = ys[i], bx = xs[i + 1], by = ys[i + 1];
    if (!finite(ax) || !finite(ay) || !finite(bx) || !finite(by)) {
      flush();
      continue;
    }
    // Liang-Barsky: the part [t0, t1] of the segment within the box.
    double t0 = 0.0, t1 = 1.0;
    const double dx = bx - ax, dy = by - ay;
    bool visible = true;
    auto bound = [&](double p, double q) {
      if (p == 0.0) {
        if (q < 0.0) visible = false;
        return;
      }
      const double r = q / p;
      if (p < 0.0) {
        if (r > t1) visible = false;
        else if (r > t0) t0 = r;
      } else {
        if (r < t0) visible = false;
        else if (r < t1) t1 = r;
      }
    };
    bound(-dx, ax - xlo);
    bound(dx, xhi - ax);
    bound(-dy, ay - ylo);
    bound(dy, yhi - ay);
    if (!visible) {
      flush();
      continue;
    }
    const Pt a{ax + t0 * dx, ay + t0 * dy}, b{ax + t1 * dx, ay + t1 * dy};
    if (t0 > 0.0 || run_.empty()) {
      flush();
      run_.push_back(a);
    }
    run_.push_back(b);
    if (t1 < 1.0) flush();
  }
  flush();
  paint();
}

// ---- the pen ----

void SmoothPen::move(float x, float y) {
  if (depth_ > 0) return;
  if (!xs_.empty() && x == lastX_ && y == lastY_) return;
  end();
  xs_.push_back(x);
  ys_.push_back(y);
  lastX_ = x;
  lastY_ = y;
}

void SmoothPen::draw(float x, float y) {
  if (depth_ > 0) return;
  if (xs_.empty()) {
    xs_.push_back(lastX_);
    ys_.push_back(lastY_);
  }
  xs_.push_back(x);
  ys_.push_back(y);
  lastX_ = x;
  lastY_ = y;
}

void SmoothPen::end() {
  if (xs_.size() >= 2)
    painter_.stroke(xs_.data(), ys_.data(), static_cast<int>(xs_.size()), width_, cap_);
  xs_.clear();
  ys_.clear();
}

void SmoothPen::style(double width, LineCap cap) {
  if (width == width_ && cap == cap_) return;
  end();
  width_ = width;
  cap_ = cap;
}

}  // namespace korvan
