// Rectangles, erasure and flushes of the drawing layer (device_ops.cpp).
#pragma once

namespace korvan {

struct Global;

// A filled rectangle in plot units, clipped; devices without boxes get a
// zigzag of lines instead.
void dbox(Global& g, int x1, int y1, int x2, int y2, int colour);
void qqerase(Global& g);  // erase without the level check
void qqsend(Global& g);   // sendbf without the level check

}  // namespace korvan
