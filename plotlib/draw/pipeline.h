// The move/draw pipeline: current point, line-style walk, stroke buffer,
// clipping and widening, down to the device dispatch.
#pragma once

namespace korvan {

struct Global;

// Relative start and styled draw: the plot origin offset is added and the
// line style is walked (the dash phase runs on across lines).
void strtqq(Global& g, float x, float y);
void connqq(Global& g, float x, float y);
// Absolute move and draw that ignore the style and the origin offset.
void qqmove(Global& g, float x, float y);
void qqdraw(Global& g, float x, float y);
// Flushes the stroke buffer: clips, emits and widens the open stroke.
void qqstrk(Global& g);
void lineqq(Global& g, int nx1, int ny1, int nx2, int ny2);
// lineqq alternately forwards and backwards, so tick marks zig-zag.
void rvline(Global& g, int nx1, int ny1, int nx2, int ny2);

// The axis window of the current axis system, and clipping to it: mode 0
// begins, mode 1 restores the window saved by mode 0.
void setclp(Global& g);
void sclpax(Global& g, int mode);

}  // namespace korvan
