// Fields of the global state block that belong to the drawing primitives:
// the stroke pipeline, line styles and widths, colours, fills, symbols.
#pragma once

#include "draw/fill_fields.h"

namespace korvan {

struct DrawFields : FillFields {
  // move/draw pipeline
  float curX, curY;                 // current point, absolute
  float strokeX[100], strokeY[100]; // stroke buffer
  int strokeCount;                  // 0 = no stroke open
  int stroking;                     // 1 while qqstrk emits a stroke
  int savedClip[4];
  int axisClipXmin, axisClipYmin, axisClipXmax, axisClipYmax;
  int axisClipMargin;
  int axisClipMarker;
  int shieldCount;
  // line styles and widths
  int lineStyle;
  int linePattern[10];
  int patternLength;
  int patternIndex;
  int penUp;
  float patternRest;
  int lineWidth;
  // colours
  int colourTable[256];
  int colourTableNo;
  int namedColours[9];
  int bgColour;
};

}  // namespace korvan
