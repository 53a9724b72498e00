// Figures: ellipses and arcs, vectors with arrow heads, and the small
// geometric helpers shared by the fills and symbols.
#pragma once

namespace korvan {

struct Global;

// Rotates n points in place about the origin:
// x' = ca*x - sa*y, y' = sa*x + ca*y.
void trfro2(float* x, float* y, int n, float sa, float ca);
// Degrees to radians.
float qqang1(float a);
// An angle in radians brought into 0..2*pi.
float qqang2(float a);
// A page y value after the page-origin rule (bottom origin flips it).
int qqyorg(const Global& g, int y);
// The worker of arcell; ny already converted.
void elpsln(Global& g, int nx, int ny, int na, int nb, float alpha, float beta, float theta);

}  // namespace korvan
