// The axes of the 3-D box read back from the text metafile: ticks on the
// box's outline, labels at their ticks and names beyond them, all outside
// the box whatever the view; bad steps warn and leave an axis unlabelled.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "axes/gksl_plot.h"

namespace korvan::test {
namespace {

struct P {
  double x, y;
};

// Colours by element, so that the file tells them apart.
constexpr int kTick[3] = {20, 21, 22}, kLabel[3] = {23, 24, 25}, kName[3] = {26, 27, 28};
// A box of 1200 x 1200 units with its lower-left corner at (800, 1800).
constexpr double kLeft = 800, kBottom = 1800, kSide = 1200;
constexpr int kHeight = 30;

// x 0..4 labelled from 1 by 1, y -2..2 by 2, z 0..10 by 5.
struct Scale {
  float a, e, org, step;
};
constexpr Scale kScales[3] = {{0, 4, 1, 1}, {-2, 2, -2, 2}, {0, 10, 0, 5}};

// The corners of the box as a viewer from azimuth az and elevation el sees
// them, fitted into the axis rectangle: corner c has x at bit 0, y at bit 1,
// z at bit 2.
std::array<P, 8> corners(double az, double el) {
  const double rad = 3.141592653589793 / 180.0, a = az * rad, e = el * rad;
  const double r[3] = {-std::sin(a), std::cos(a), 0};
  const double s[3] = {-std::sin(e) * std::cos(a), -std::sin(e) * std::sin(a), std::cos(e)};
  const double scale = kSide / (2 * std::sqrt(3.0));
  std::array<P, 8> out;
  for (int c = 0; c < 8; ++c) {
    const double u[3] = {c & 1 ? 1.0 : -1.0, c & 2 ? 1.0 : -1.0, c & 4 ? 1.0 : -1.0};
    out[c] = {kLeft + kSide / 2 + scale * (r[0] * u[0] + r[1] * u[1] + r[2] * u[2]),
              kBottom - kSide / 2 - scale * (s[0] * u[0] + s[1] * u[1] + s[2] * u[2])};
  }
  return out;
}

double cross(P o, P a, P b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

// The convex outline of points, counterclockwise as the page is stored.
std::vector<P> hull(std::vector<P> p) {
  std::sort(p.begin(), p.end(), [](P a, P b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
  std::vector<P> h(2 * p.size());
  std::size_t k = 0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    while (k >= 2 && cross(h[k - 2], h[k - 1], p[i]) <= 1e-9) --k;
    h[k++] = p[i];
  }
  for (std::size_t i = p.size() - 1, t = k + 1; i-- > 0;) {
    while (k >= t && cross(h[k - 2], h[k - 1], p[i]) <= 1e-9) --k;
    h[k++] = p[i];
  }
  h.resize(k - 1);
  return h;
}

// How far p lies outside a convex outline (negative: inside).
double outside(const std::vector<P>& h, P p) {
  // The hull turns so that its inside lies where cross > 0.
  double inside = 1e18;
  for (std::size_t i = 0; i < h.size(); ++i) {
    const P a = h[i], b = h[(i + 1) % h.size()];
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    if (len > 1e-9) inside = std::min(inside, cross(a, b, p) / len);
  }
  return -inside;
}

double toSegment(P p, P a, P b) {
  const double dx = b.x - a.x, dy = b.y - a.y, l2 = dx * dx + dy * dy;
  const double t = l2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / l2, 0.0, 1.0) : 0;
  return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// Stroke groups: segments of one colour whose ends come within gap of
// each other form one text.
std::vector<std::vector<P>> groups(const std::vector<Line>& lines, int colour, double gap) {
  std::vector<std::vector<P>> out;
  for (const Line& l : lines) {
    if (l.colour != colour) continue;
    std::vector<P> pts = {{l.x1, l.y1}, {l.x2, l.y2}};
    std::vector<std::size_t> near;
    for (std::size_t i = 0; i < out.size(); ++i)
      for (const P& q : out[i])
        if (std::hypot(q.x - l.x1, q.y - l.y1) < gap || std::hypot(q.x - l.x2, q.y - l.y2) < gap) {
          near.push_back(i);
          break;
        }
    for (std::size_t i = near.size(); i-- > 0;) {
      pts.insert(pts.end(), out[near[i]].begin(), out[near[i]].end());
      out.erase(out.begin() + static_cast<long>(near[i]));
    }
    out.push_back(pts);
  }
  return out;
}

class Box3dTest : public GkslPlot {
 protected:
  // The box from azimuth az and elevation el, with names and colours.
  std::vector<Line> draw(float az, float el) {
    std::remove("korvan.met");
    open();
    height(kHeight);
    axspos(static_cast<int>(kLeft), static_cast<int>(kBottom));
    axslen(static_cast<int>(kSide), static_cast<int>(kSide));
    labdig(-1, "XYZ");
    const char* axes[3] = {"X", "Y", "Z"};
    const char* names[3] = {"Distance", "Width", "Height"};
    for (int k = 0; k < 3; ++k) {
      axsclr(kTick[k], "TICK", axes[k]);
      axsclr(kLabel[k], "LABE", axes[k]);
      axsclr(kName[k], "NAME", axes[k]);
      name(names[k], axes[k]);
    }
    camera(az, el);
    const Scale* s = kScales;
    axes3d(s[0].a, s[0].e, s[0].org, s[0].step, s[1].a, s[1].e, s[1].org, s[1].step, s[2].a,
           s[2].e, s[2].org, s[2].step);
    drawsText_ = textDraws();
    endgrf();
    return close();
  }
  bool drawsText_ = false;
};

struct ViewCase {
  float az, el;
  bool zLabelled;  // false where z is seen end on
};

TEST_F(Box3dTest, LabelsSitAtTheirTicksOutsideTheBoxInEveryView) {
  const ViewCase views[] = {{40, 30, true},   {130, 20, true}, {-60, -30, true}, {225, 60, true},
                            {300, 5, true},   {-160, -75, true}, {70, 90, false},  {0, 30, true},
                            {-360, -90, false}};
  for (const ViewCase& v : views) {
    SCOPED_TRACE("azimuth " + std::to_string(v.az) + ", elevation " + std::to_string(v.el));
    const std::vector<Line> lines = draw(v.az, v.el);
    if (!drawsText_) GTEST_SKIP() << "the text layer draws nothing yet";
    const std::array<P, 8> c = corners(v.az, v.el);
    const std::vector<P> outline = hull({c.begin(), c.end()});
    for (int k = 0; k < 3; ++k) {
      SCOPED_TRACE("axis " + std::to_string(k));
      // The major ticks start on one edge of the outline parallel to the
      // axis, at the labelled values.
      int edge = -1;
      std::vector<P> starts;
      for (int from = 0; from < 8 && edge < 0; ++from) {
        if (from & (1 << k)) continue;
        const P a = c[from], b = c[from | 1 << k];
        starts.clear();
        for (const Line& l : lines)
          if (l.colour == kTick[k] && std::hypot(l.x2 - l.x1, l.y2 - l.y1) > 20 &&
              toSegment({l.x1, l.y1}, a, b) < 1.5)
            starts.push_back({l.x1, l.y1});
        if (starts.size() >= 3) edge = from;
      }
      std::vector<P> labels;
      for (const Line& l : lines)
        if (l.colour == kLabel[k]) labels.insert(labels.end(), {{l.x1, l.y1}, {l.x2, l.y2}});
      if (!v.zLabelled && k == 2) {
        EXPECT_TRUE(labels.empty()) << "z seen end on has no labels";
        continue;
      }
      ASSERT_GE(edge, 0) << "no edge with its major ticks";
      const P a = c[edge], b = c[edge | 1 << k];
      EXPECT_LT(outside(outline, {(a.x + b.x) / 2, (a.y + b.y) / 2}), 1.0) << "on the outline";
      // Every label stroke near a labelled value's tick, outside the box;
      // each value labelled (the one x and y share at their corner may be
      // left out).
      const Scale s = kScales[k];
      const int count = static_cast<int>(std::lround((s.e - s.org) / s.step)) + 1;
      std::vector<int> strokes(count, 0);
      for (const P& p : labels) {
        double best = 1e18;
        int nearest = 0;
        for (int i = 0; i < count; ++i) {
          const double t = (s.org + i * s.step - s.a) / (s.e - s.a);
          const double d = std::hypot(p.x - a.x - t * (b.x - a.x), p.y - a.y - t * (b.y - a.y));
          if (d < best) best = d, nearest = i;
        }
        ++strokes[nearest];
        // Tick 24, distance 24, a label of up to two characters.
        EXPECT_LT(best, 24 + 24 + 70) << "label " << nearest;
        EXPECT_GT(outside(outline, p), 20.0) << "a label over the box";
      }
      EXPECT_GE(std::count_if(strokes.begin(), strokes.end(), [](int n) { return n > 0; }), count - 1);
      // The name outside the box and farther from the axis than its labels.
      const std::vector<std::vector<P>> name = groups(lines, kName[k], 1e9);
      ASSERT_EQ(name.size(), 1u) << "the name is drawn";
      double labelFar = 0, nameNear = 1e18;
      for (const P& p : labels) labelFar = std::max(labelFar, toSegment(p, a, b));
      for (const P& p : name[0]) {
        nameNear = std::min(nameNear, toSegment(p, a, b));
        EXPECT_GT(outside(outline, p), 20.0) << "the name over the box";
      }
      EXPECT_GT(nameNear, labelFar) << "the name beyond the labels";
    }
  }
}

// The labels are numbers with the label digits of labdig in the current
// character height: "10.00" is wider than "10", and twice the height
// doubles the width.
TEST_F(Box3dTest, LabelsFollowTheDigitsAndTheHeight) {
  struct Case {
    int digits, height;
  };
  std::vector<double> widths;
  for (const Case& t : {Case{-1, 30}, Case{2, 30}, Case{-1, 60}}) {
    std::remove("korvan.met");
    open();
    height(t.height);
    labdig(t.digits, "Z");
    axsclr(kLabel[2], "LABE", "Z");
    axes3d(0, 4, 0, 1, 0, 4, 0, 1, 0, 10, 0, 5);
    const bool drawsText = textDraws();
    endgrf();
    const std::vector<Line> lines = close();
    if (!drawsText) GTEST_SKIP() << "the text layer draws nothing yet";
    double x0 = 1e18, x1 = -1e18;
    for (const Line& l : lines)
      if (l.colour == kLabel[2]) {
        x0 = std::min({x0, l.x1, l.x2});
        x1 = std::max({x1, l.x1, l.x2});
      }
    ASSERT_LT(x0, x1) << "z labels drawn";
    widths.push_back(x1 - x0);
  }
  EXPECT_GT(widths[1], widths[0] + 2 * 30 * 0.5) << "three more characters";
  EXPECT_NEAR(widths[2], 2 * widths[0], 0.15 * widths[0]);
}

// A step of 0, one that would give more than 50 labels and one of the
// wrong sign each warn; that axis has no labels, the others keep theirs,
// and the box takes surfaces.
TEST_F(Box3dTest, BadStepsWarnAndLeaveTheAxisUnlabelled) {
  struct Case {
    float zstep;
    const char* warning;
  };
  for (const Case& w : {Case{0.0f, "Warning   9"}, Case{0.01f, "Warning 101"},
                        Case{-5.0f, "Warning  50"}}) {
    SCOPED_TRACE(w.warning);
    std::remove("korvan.met");
    open();
    height(kHeight);
    axsclr(kLabel[0], "LABE", "X");
    axsclr(kLabel[2], "LABE", "Z");
    axsclr(kTick[2], "TICK", "Z");
    const std::string said = output([&] { axes3d(0, 4, 0, 1, 0, 4, 0, 1, 0, 10, 0, w.zstep); });
    EXPECT_NE(said.find(w.warning), std::string::npos) << said;
    const float v[2] = {0, 1}, z[4] = {0, 5, 5, 10};
    EXPECT_EQ(output([&] { mesh3d(v, 2, v, 2, z); }), "");
    const bool drawsText = textDraws();
    endgrf();
    const std::vector<Line> lines = close();
    const auto count = [&](int colour) {
      return std::count_if(lines.begin(), lines.end(), [&](const Line& l) { return l.colour == colour; });
    };
    EXPECT_EQ(count(kLabel[2]), 0) << "no z labels";
    EXPECT_EQ(count(kTick[2]), 0) << "no z ticks";
    if (drawsText) {
      EXPECT_GT(count(kLabel[0]), 0) << "x keeps its labels";
    }
  }
}

TEST_F(Box3dTest, ByAddressFormDrawsTheSameBox) {
  const float r[12] = {0, 4, 0, 1, 0, 4, 0, 1, 0, 10, 0, 5};
  std::vector<std::string> files;
  for (bool byAddress : {false, true}) {
    std::remove("korvan.met");
    open();
    if (byAddress)
      axes3d_(&r[0], &r[1], &r[2], &r[3], &r[4], &r[5], &r[6], &r[7], &r[8], &r[9], &r[10], &r[11]);
    else
      axes3d(r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8], r[9], r[10], r[11]);
    endgrf();
    korfin();
    files.push_back(slurp("korvan.met"));
  }
  EXPECT_EQ(files[0], files[1]);
  EXPECT_GT(files[0].size(), 2000u);
}

}  // namespace
}  // namespace korvan::test
