// Shielded regions and the blanking stage of the stroke pipeline.
#pragma once

namespace korvan {

struct Global;

// Draws the segment (x1, y1)-(x2, y2) around the shielded regions; called
// by the pipeline instead of a plain draw while g.shieldCount is non-zero.
void qqbl01(Global& g, float x1, float y1, float x2, float y2);

}  // namespace korvan
