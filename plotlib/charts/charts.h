// Internal routines of the charts: checks of the data arrays, filled
// polygons clipped to the axis system, and the fill settings of one call.
#pragma once

namespace korvan {

struct Global;

// The fill settings of a call, put back when it ends.
struct FillState {
  int shading, fillType, hatchAngle, crossHatch, hatchDensity, hatchGroupOn, hatchGroupOff;
  float hatchSpacing;
};
FillState qqfsav(const Global& g);
void qqfrst(Global& g, const FillState& s);
// Makes the fill solid when no shading pattern is set (filled bars and
// bands are filled with the current colour then).
void qqfsol(Global& g);

// Checks n points of the given arrays: n >= 1 (warning 30), no null array
// (warning 2) and no value that is NaN or infinite (warning 2).
bool qqchkd(Global& g, int n, const float* const* arrays, int count);

// Fills the polygon of n relative points with the current pattern, cut
// to the clipping window first, so that a solid fill stays one polygon.
void qqfclp(Global& g, const float* x, const float* y, int n);
// The closed outline of n relative points, solid.
void qqoutl(Global& g, const float* x, const float* y, int n);
// A bar of width w (user units) at position p from v1 to v2 (user units);
// along the X axis when g.barHori is set. Fills and outlines it.
void qqdbar(Global& g, float p, float v1, float v2, float w);

}  // namespace korvan
