// Curve simplification for the routines that draw user data (curve, the
// charts): which points of a polyline the device needs, when the points that
// lie within a tolerance of the line through their neighbours may be left out.
#pragma once

namespace korvan {

// The polyline (x[i], y[i]), i = 0 .. n - 1, in plot units. Writes the
// indices of the points to keep, in increasing order, to keep (room for n
// indices) and returns their count. Always kept:
//   - the first and the last point;
//   - every point that is not finite (a gap) and the points next to it; the
//     pieces between gaps are simplified each on their own;
//   - the extremes in x and in y of each piece: its highest, lowest,
//     leftmost and rightmost point and every peak or trough that rises or
//     falls by more than tol against the points around it.
// Of the others, a point is left out only when it lies within tol of the
// segment between the kept points before and after it. tol <= 0 keeps every
// point. Runs in O(n), one square root per point.
int qqsimp(const float* x, const float* y, int n, float tol, int* keep);

}  // namespace korvan
