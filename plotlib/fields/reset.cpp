// Field and surface settings at every korini.
#include "core/state.h"

namespace korvan {

void resfld(Global& g) {
  g.contourLabels = 0;
  g.contourLabelCount = 0;
  g.levelStyles = 0;
  g.negativeLineType = -1;
  g.viewAzimuth = 40.0f;
  g.viewElevation = 30.0f;
  g.box3dSet = 0;
  g.meshColour = -1;
  g.lightOn = 0;
  g.lightAzimuth = 0.0f;
  g.lightElevation = 45.0f;
  g.keySet = 0;
  g.keyMin = 0.0f;
  g.keyMax = 1.0f;
  g.keyBands = 0;
}

}  // namespace korvan
