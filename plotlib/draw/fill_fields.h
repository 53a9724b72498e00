// Fields of the global state block that belong to area fills, shielding,
// figures and symbols.
#pragma once

#include <cstdint>

namespace korvan {

struct FillFields {
  // shading pattern
  int shadingPattern;   // shdpat index or mypat code; 16 = solid
  int fillType;         // 0 = no fill
  int hatchAngle;       // degrees, counterclockwise from the x axis
  int crossHatch;       // 1 = second set of lines
  int hatchDensity;
  float hatchSpacing;   // plot units between hatch lines
  int hatchGroupOn, hatchGroupOff;  // band patterns: lines drawn, lines skipped
  // state of one hatching run (dareaf/dlinef)
  int hatchRotated;     // the polygon was turned by hatchSin/hatchCos
  float hatchSin, hatchCos;
  int bandDrawing;      // 1 while the band draws, 0 while it skips
  int bandCount;        // lines counted in the current band state
  float bandY;          // y of the previous span
  int bandStarted;      // 0 until the first span of a run
  // shielded regions
  std::int16_t shieldList[1000];
  int shieldUsed;       // entries of shieldList in use
  int shieldSerial;
  int userShields;      // regions of class 0
  int shieldClass;      // class given to regions being registered
  int shieldAuto[5];    // automatic shielding: MESS, SYMB, BARS, PIE, LEGE
  int shieldNoFrame;    // 1 while a region is registered without its frame
  int glyphFill;        // fill glyph outlines of the text routines
  // figures
  float degToRad;
  float arcStep;        // target segment length along an arc
  int outlineOn;        // 1 = draw figure outlines
  int arrowForm;        // vector's form for ivec = -1 (vecfrm); -1 none
  // symbols
  int maxSymbol;
  float symbolAngle;    // degrees, counterclockwise on the page
};

}  // namespace korvan
