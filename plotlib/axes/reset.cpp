// Axis-system defaults set at every korini (the axis lengths and position
// come with the page, see defvar), and the attribute switches that endgrf
// resets.
#include <cstring>

#include "core/state.h"

namespace korvan {

namespace {
int units(const Global& g, float v) {
  const float s = g.unitScale > 0.0f ? g.unitScale : 1.0f;
  return static_cast<int>(v / s + 0.5f);
}
}  // namespace

void resatt(Global& g) {
  for (int& a : g.axisAttr) a = 0;
}

void resaxs(Global& g) {
  for (AxisSettings& a : g.axis) {
    a = AxisSettings{};
    a.lineOn = 1;
    a.ticks = 2;
    a.tickPos = 0;
    a.tickShort = units(g, 16.0f);
    a.tickLong = units(g, 24.0f);
    a.labelType = 1;
    a.labelCat = 0;
    a.labelDigits = 1;
    a.logForm = 2;
    a.labelDist = units(g, 24.0f);
    a.nameDist = units(g, 30.0f);
    a.nameHeight = units(g, 36.0f);
    a.lineColour = a.tickColour = a.labelColour = a.nameColour = -1;
  }
  g.logFallback = 0;
  g.logFallbackValue = 0.0f;
  g.logWholeSteps = 0;
  g.polar = 0;
  g.crossed = 0;
  g.crossCentre = 0;
  g.crossX = g.pageWidth / 2;
  g.crossY = g.pageHeight / 2;
  g.centreRequest = 0;
  g.twoAxes = 0;
  g.noDrawing = 0;
  g.axisBgColour = -1;
  g.axisFrame = 1;
  g.axisClipMargin = -1;
  g.axisClipMarker = 0;
  g.axisEps = 1.0e-35f;
  const int levels[4] = {4, 2, 2, 4};
  std::memcpy(g.sideLevel, levels, sizeof levels);
  g.axisLineFlag = 0;
  g.distSign = g.tickSign = 1;
  g.dateDayForm = 1;
  g.dateMonthForm = 4;
  g.dateYearForm = 1;
  g.dateOrder = 1;
  g.dateSep = '-';
  g.dateUpper = 0;
  g.dateGerman = 0;
  g.timeSeparator = 0;
  g.curveSymbol = -1;
  g.curveLine = 1;
  g.keyNamed = 0;
  g.keyCount = 0;
  resatt(g);
}

}  // namespace korvan
