// Line widths: the emulation of wide lines by nested outlines.
#pragma once

namespace korvan {

struct Global;

// Surrounds the open stroke with the outlines of the current line width;
// part of the stroke flush, after the centre line.
void qqwide(Global& g);

}  // namespace korvan
