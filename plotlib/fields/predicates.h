// Orientation and in-circle tests whose sign is always right: a
// floating-point estimate with an error bound, and exact expansion
// arithmetic when the estimate is too close to zero to be trusted.
#pragma once

namespace korvan {

// Positive when a, b, c turn counterclockwise, negative when clockwise, zero
// when collinear.
double orient2d(double ax, double ay, double bx, double by, double cx, double cy);

// Positive when d lies inside the circle through the counterclockwise a, b,
// c, negative outside, zero on it.
double incircle(double ax, double ay, double bx, double by, double cx, double cy, double dx,
                double dy);

}  // namespace korvan
