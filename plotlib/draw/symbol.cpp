// Marker symbols: the 24 shapes, symbol, hsymbl and the drawing worker
// dsymbl (rotation, filled shapes, automatic shielding).
#include "draw/symbol.h"

#include <cmath>
#include <cstdio>

#include "core/state.h"
#include "draw/figure.h"
#include "draw/fill.h"
#include "draw/pipeline.h"
#include "draw/shield.h"
#include "korvan.h"

namespace korvan {

namespace {

// The polylines the shapes are made of, in hundredths of the symbol height
// about the centre, y down the page.
struct Pt {
  signed char x, y;
};
struct Poly {
  const Pt* pts;
  int n;
};

constexpr Pt kSquare[] = {{-50, -50}, {-50, 50}, {50, 50}, {50, -50}, {-50, -50}};
constexpr Pt kOctagon[] = {{-20, -50}, {-50, -20}, {-50, 20}, {-20, 50}, {20, 50},
                           {50, 20},   {50, -20},  {20, -50}, {-20, -50}};
constexpr Pt kTriUp[] = {{0, -50}, {50, 50}, {-50, 50}, {0, -50}};
constexpr Pt kPlusH[] = {{-50, 0}, {50, 0}};
constexpr Pt kPlusV[] = {{0, -50}, {0, 50}};
constexpr Pt kDiag1[] = {{-50, -50}, {50, 50}};
constexpr Pt kDiag2[] = {{50, -50}, {-50, 50}};
constexpr Pt kDiamond[] = {{0, -50}, {50, 0}, {0, 50}, {-50, 0}, {0, -50}};
constexpr Pt kTriDown[] = {{-50, -50}, {0, 50}, {50, -50}, {-50, -50}};
// The circle's last edge runs over its first point; the half circle is its
// first ten points, closed along the diameter by dsymbl.
constexpr Pt kCircle[] = {{49, 0},    {49, -9},   {42, -27}, {27, -42}, {9, -49},
                          {-9, -49},  {-27, -42}, {-42, -27}, {-49, -9}, {-49, 0},
                          {-49, 9},   {-42, 27},  {-27, 42}, {-9, 49},  {9, 49},
                          {27, 42},   {42, 27},   {49, 9},   {49, -9}};

#define POLY(a) Poly{a, static_cast<int>(sizeof(a) / sizeof(a[0]))}
constexpr Poly kSq = POLY(kSquare), kOct = POLY(kOctagon), kTu = POLY(kTriUp),
               kPh = POLY(kPlusH), kPv = POLY(kPlusV), kD1 = POLY(kDiag1), kD2 = POLY(kDiag2),
               kDia = POLY(kDiamond), kTd = POLY(kTriDown), kCirc = POLY(kCircle),
               kHalf = Poly{kCircle, 10};
#undef POLY

struct Shape {
  Poly parts[4];
  int count;
  bool filled;
};

const Shape kShapes[24] = {
    {{kSq}, 1, false},                 // 0 square
    {{kOct}, 1, false},                // 1 octagon
    {{kTu}, 1, false},                 // 2 triangle, apex up
    {{kPh, kPv}, 2, false},            // 3 plus
    {{kD1, kD2}, 2, false},            // 4 diagonal cross
    {{kDia}, 1, false},                // 5 diamond
    {{kTd}, 1, false},                 // 6 triangle, apex down
    {{kSq, kD1, kD2}, 3, false},       // 7 square with diagonal cross
    {{kPh, kPv, kD1, kD2}, 4, false},  // 8 star
    {{kDia, kPh, kPv}, 3, false},      // 9 diamond with plus
    {{kOct, kPh, kPv}, 3, false},      // 10 octagon with plus
    {{kTd, kTu}, 2, false},            // 11 two triangles
    {{kSq, kPh, kPv}, 3, false},       // 12 square with plus
    {{kOct, kD1, kD2}, 3, false},      // 13 octagon with diagonal cross
    {{kSq, kTu}, 2, false},            // 14 square with triangle
    {{kCirc}, 1, false},               // 15 circle
    {{kSq}, 1, true},                  // 16 filled square
    {{kOct}, 1, true},                 // 17 filled octagon
    {{kTu}, 1, true},                  // 18 filled triangle, apex up
    {{kDia}, 1, true},                 // 19 filled diamond
    {{kTd}, 1, true},                  // 20 filled triangle, apex down
    {{kCirc}, 1, true},                // 21 filled circle
    {{kHalf}, 1, false},               // 22 half circle
    {{kHalf}, 1, true},                // 23 filled half circle
};

constexpr int kMaxPoints = 20;

}  // namespace

void dsymbl(Global& g, int nsym, int nx, int ny) {
  if (nsym < 0 || nsym > 23) return;
  float cx = static_cast<float>(static_cast<long long>(nx) + g.shiftX);
  float cy = static_cast<float>(static_cast<long long>(ny) + g.shiftY);
  bool rotated = g.symbolAngle != 0.0f;
  float sn = 0.0f, cs = 1.0f;
  if (rotated) {
    float a = -g.symbolAngle * 3.1415927f / 180.0f;
    sn = std::sin(a);
    cs = std::cos(a);
  }
  float f = static_cast<float>(g.symbolHeight) / 100.0f;
  const Shape& shape = kShapes[nsym];
  for (int p = 0; p < shape.count; ++p) {
    const Poly& poly = shape.parts[p];
    float x[kMaxPoints] = {}, y[kMaxPoints] = {};
    int n = poly.n;
    for (int i = 0; i < n; ++i) {
      x[i] = static_cast<float>(poly.pts[i].x) * f;
      y[i] = static_cast<float>(poly.pts[i].y) * f;
    }
    if (nsym == 22 || nsym == 23) {
      x[n] = x[0];
      y[n] = y[0];
      ++n;
    }
    if (rotated) trfro2(x, y, n, sn, cs);
    for (int i = 0; i < n; ++i) {
      x[i] += cx;
      y[i] += cy;
    }
    qqmove(g, x[0], y[0]);
    for (int i = 1; i < n; ++i) qqdraw(g, x[i], y[i]);
    if (shape.filled)
      gkwfa(g, n, x, y, 0.75f / g.unitScale, 100, xline, static_cast<float>(g.clipYmin),
            static_cast<float>(g.clipYmax));
  }
  if (g.shieldAuto[1] != 0) {
    int h = g.symbolHeight;
    int side = static_cast<int>(1.2f * static_cast<float>(h));
    int half = static_cast<int>(0.6f * static_cast<float>(h));
    // The corner turns with the symbol about its centre, so that the
    // region keeps covering a rotated symbol.
    float ux = static_cast<float>(-half), uy = static_cast<float>(-half);
    if (rotated) trfro2(&ux, &uy, 1, sn, cs);
    int saved = g.shieldClass;
    g.shieldClass = 2;
    qqshrg(g, qqsat(std::llround(cx + ux)), qqsat(std::llround(cy + uy)), side, side,
           g.symbolAngle);
    g.shieldClass = saved;
  }
}

}  // namespace korvan

using namespace korvan;

extern "C" {

void symbol(int nsym, int nx, int ny) {
  Global* gp = jqqlev(1, 3, "symbol");
  if (!gp) return;
  Global& g = *gp;
  if (nsym < 0 || nsym > g.maxSymbol || nsym > 23) {
    warni1(g, 2, nsym);
    return;
  }
  ny = qqyorg(g, ny);
  long long X = static_cast<long long>(nx) + g.shiftX, Y = static_cast<long long>(ny) + g.shiftY;
  if (X < 0 || X > g.pageWidth || Y < 0 || Y > g.pageHeight) {
    g.warningCount += 1;
    if (g.messageUnit != 0 && g.messagesOn != 0) {
      char line[96];
      std::snprintf(line, sizeof line, ">>>> (%d/%d) out of page in symbol!", nx, ny);
      qqmsg(g, 0, line);
    }
  }
  dsymbl(g, nsym, nx, ny);
}

void hsymbl(int nhsym) {
  Global& g = chkini("hsymbl");
  if (jqqval(g, nhsym, 1, 10000)) g.symbolHeight = nhsym;
}

}  // extern "C"
