// Fields of the global state block that belong to the axis systems.
#pragma once

namespace korvan {

// The settings of one axis (X, Y and Z), set by the reset and the setters.
struct AxisSettings {
  int lineOn;          // draw the axis line
  int ticks;           // tick intervals between two labels; 0 no ticks
  int tickPos;         // 0 outside, 1 inside, 2 centred on the axis line
  int tickShort, tickLong;
  int labelType;       // 0 none, 1 fixed decimals, 2 "*10", 13 "E", 12 user
                       // texts, 14 dates; 6-11 map and time forms
  int labelCat;        // 0 numbers, 1 time of day, 2 geographic
  int labelDigits;     // decimals; negative: integers
  int logForm;         // log axis: 1 "10" with an exponent, 2 the value
  int labelDist;
  int labelOrient;     // 0 horizontal, 1 reading upwards, 2 downwards
  int labelJust;       // Y labels: 0 right, 1 left, 3 left on the left
                       // side only, 4 left on the right side only
  int labelPlace;      // 0 at the ticks, 1 between them, 2 kept inside
  int labelOmit;       // see endpar
  int nameDist, nameHeight;
  int nameJust;        // 0 centred, 1 at the axis start, 2 at its end
  char name[133];
  int lineColour, tickColour, labelColour, nameColour;  // -1 current
  char userLabels[20][33];
  int userLabelCount;  // negative: the texts in reverse order
  int logScale;        // 1: the axis works in log10 of the values
  int autoScale;       // automatic scaling hook switch
};

// One named item of the current axis system (a curve, a bar set, a band)
// with the look it was drawn in, for the legend.
struct KeyEntry {
  char name[81];
  int kind;                 // 1 a line with its marker, 2 a filled area
  int colour;
  int pattern[10], patternLength, lineWidth;
  int symbol;               // -1 none
  int lineOn;
  int shading, fillType, hatchAngle, crossHatch, hatchDensity;
  int hatchGroupOn, hatchGroupOff;
  float hatchSpacing;
};
constexpr int kMaxKeys = 40;

struct AxisFields {
  int axisLenX, axisLenY;   // axis lengths in plot units
  int axisPosX, axisPosY;   // lower-left corner of the axis system
  int axisAttr[4];          // the four axis-attribute switches
  AxisSettings axis[3];     // X, Y, Z

  // scaling of the current axis system (X, Y)
  float axisA[2], axisE[2], axisOr[2];
  float axisStep[3];        // the third: the z step of the 3-D box
                            // (label texts of a time axis read it)
  float axisFactor[2];      // (length - 1) / (E - A)
  float axisOrigin[2];      // plot coordinates to which A maps
  float axisRange[2][2];    // the ends in ascending order (values, not logs)
  int logFallback;          // a value <= 0 on a log axis maps to the
  float logFallbackValue;   // fallback value when the switch is on
  int logWholeSteps;        // decade ticks for any whole log step
  float curveTolerance;     // curve: points within this many plot units of
                            // the line through their neighbours are left
                            // out; 0 draws every point
  int polar;
  int crossed;              // axes cross at the user origin
  int crossCentre;          // move the system onto the crossing point
  int crossX, crossY;       // plot position of the user origin
  int centreRequest;        // 1: centre at the next graf; 2: done
  int twoAxes;              // only the lower X and the left Y axis
  int noDrawing;            // scaling and clipping only
  int axisBgColour;         // -1 none
  int axisFrame;            // frame thickness, 0 none
  int rightEdge, topEdge;
  float axisEps;
  int sideLevel[4];         // display levels of the sides 1-4
  // what sgrafp swapped out of an axis while a side is drawn
  int sideLineOn, sideTicks, sideLabelType;
  char sideName[133];
  int axisLineFlag;         // 1 while a zero line is drawn
  int denseWarned;          // this graf has said that an axis is too dense

  // signs of one side while it is drawn (settic)
  int distSign, tickSign;

  // calendar: the base date of the date labels and their text form
  int baseDateSet, baseDay, baseMonth, baseYear;
  int dateDayForm;          // 0 none, 1 "%1d", 2 "%02d", 3 weekday, 4 short
  int dateMonthForm;        // 0 none, 1 "%1d", 2 "%02d", 3 name, 4 short
  int dateYearForm;         // 0 none, 1 "%4d", 2 "%02d"
  int dateOrder;            // 1 DMY, 2 MDY, 3 YMD, 4 YDM, 5 DYM, 6 MYD
  char dateSep;
  int dateUpper;
  int dateGerman;
  int timeSeparator;        // "12:30" instead of "1230"

  // what curve draws: markers at the points, the connecting line
  int curveSymbol;          // -1 none
  int curveLine;            // 0 markers only
  // the name of the next item and the named items since graf
  char keyName[81];
  int keyNamed;
  KeyEntry keys[kMaxKeys];
  int keyCount;
};

}  // namespace korvan
