// Defaults of fills, shielding, figures and symbols set at every korini.
#include "core/state.h"
#include "draw/fill.h"

namespace korvan {

void resfil(Global& g) {
  qqmypt(g, 0, 0, 0, 0);
  g.shadingPattern = 0;
  g.hatchGroupOn = g.hatchGroupOff = 0;
  g.hatchRotated = 0;
  g.bandStarted = 0;
  g.shieldUsed = 0;
  g.shieldCount = 0;
  g.shieldSerial = 0;
  g.userShields = 0;
  g.shieldClass = 0;
  for (int& a : g.shieldAuto) a = 0;
  g.shieldNoFrame = 0;
  g.glyphFill = 0;
  g.degToRad = 0.017453292f;
  g.arcStep = 10.0f;
  g.outlineOn = 1;
  g.arrowForm = -1;
  g.maxSymbol = 23;
  g.symbolAngle = 0.0f;
}

}  // namespace korvan
