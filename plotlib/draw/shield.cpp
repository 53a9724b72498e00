// Placeholder blanking stage: no regions yet, so the segment is drawn.
#include "draw/shield.h"

#include "devices/dispatch.h"

namespace korvan {

void qqbl01(Global& g, float, float, float x2, float y2) { xjdraw(g, x2, y2, 2); }

}  // namespace korvan
