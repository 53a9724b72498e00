// The move/draw pipeline: current point, line-style walk, stroke buffer,
// clipping and widening, down to the device dispatch.
#pragma once

namespace korvan {

struct Global;

void strtqq(Global& g, float x, float y);
void connqq(Global& g, float x, float y);
void qqmove(Global& g, float x, float y);
void qqdraw(Global& g, float x, float y);
void qqstrk(Global& g);
void lineqq(Global& g, int nx1, int ny1, int nx2, int ny2);

}  // namespace korvan
