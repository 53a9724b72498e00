// Drawing defaults set at every korini.
#include "core/state.h"
#include "devices/device_table.h"
#include "draw/colour.h"

namespace korvan {

void resfil(Global& g);  // fills, shielding, figures, symbols

void resdrw(Global& g) {
  g.strokeCount = 0;
  g.stroking = 0;
  g.shieldCount = 0;
  g.axisClipMargin = -1;
  g.axisClipMarker = 0;
  g.lineStyle = 0;
  g.linePattern[0] = 1;
  g.patternLength = 1;
  g.patternIndex = 1;
  g.penUp = 0;
  g.patternRest = 1.0f;
  g.lineWidth = 1;
  resfil(g);
  // Every plot starts from the colour state of a fresh library, so that a
  // second plot of a run gets the same first colour record as the first.
  g.currentColour = 0;
  qqsvlt(g, deviceInfo(g.device).defaultTable);
}

}  // namespace korvan
