// Clipping of points and segments against the clipping window, and the
// small geometric helpers of the pipeline.
#pragma once

namespace korvan {

struct Global;

// 1 if the absolute point lies outside the clipping window (no tolerance).
// A NaN coordinate counts as outside.
int jqqclp(const Global& g, float x, float y);

// Side codes of a point against a window with a tolerance of 0.001: 1 below
// the minimum, 3 above the maximum, 2 inside; returns how many of the two
// coordinates are outside.
int chkval(float x, float y, int* cx, int* cy, float xmin, float ymin, float xmax, float ymax);
// x where the line through the two points meets y = yc, and y where it
// meets x = xc.
float xcut(float x1, float y1, float x2, float y2, float yc);
float ycut(float x1, float y1, float x2, float y2, float xc);
// One step of the segment clipper: moves the start (first) or the end onto
// the window edge that its side codes cx, cy name.
void qqcutp(float& x1, float& y1, float& x2, float& y2, bool first, int cx, int cy, float xmin,
            float ymin, float xmax, float ymax);
// Angle of the vector (b, a) in radians, safe for b = 0.
float qqatan(float a, float b);

// Clips one segment and emits what is left: a move to the start when it was
// cut, then the end (around shielded regions while there are any).
void clip2d(Global& g, float x1, float y1, float x2, float y2);
// clip2d for callers that know whether the device pen already stands at the
// start; without it the start is moved to before the draw. Returns true
// when the end was emitted uncut, so the pen stands at it afterwards.
bool qqclps(Global& g, float x1, float y1, float x2, float y2, bool penAtStart);

}  // namespace korvan
