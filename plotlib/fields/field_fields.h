// Fields of the global state block that belong to contours, colour maps and
// the 3-D surfaces.
#pragma once

namespace korvan {

struct Global;

struct FieldFields {
  // contour labels (isolab)
  int contourLabels;      // 0 none, 1 every line, n: every n-th line
  int contourLabelCount;  // lines drawn since labelling was switched on
  // contour line styles of single levels (isoset); -1 keeps the current one
  int levelStyles;        // entries in use
  float levelStyleZ[64];
  int levelStyleType[64], levelStyleWidth[64], levelStyleColour[64];
  int negativeLineType;   // isoneg: line type of levels below zero without an entry, -1 none
  // 3-D view (camera, axes3d)
  float viewAzimuth, viewElevation;  // degrees
  int box3dSet;           // 1 after axes3d in this axis system
  float box3d[3][2];      // the ranges of x, y and z
  int box3dX, box3dY, box3dW, box3dH;  // the box's place on the page
  // surfaces (mshclr, light, litdir)
  int meshColour;         // colour index of mesh3d's lines, -1 the current colour
  int lightOn;            // 1: surf3d shades its cells
  float lightAzimuth, lightElevation;  // degrees, where the light comes from
  // colour key (heatmp, isobnd, surf3d)
  int keySet;             // 1 after a routine coloured by values
  float keyMin, keyMax;
  int keyBands;           // 0 a continuous ramp, else the number of bands
  float keyLevels[256];   // their levels (keyBands + 1 of them)
};

void resfld(Global& g);

}  // namespace korvan
