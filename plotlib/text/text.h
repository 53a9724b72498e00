// Text output used inside the library (axis labels, numbers, frames). All
// coordinates are absolute plot units (the page origin and the plot origin
// offset applied by the caller as messag does); angles are degrees.
#pragma once

namespace korvan {

struct Global;

// The worker of messag: draws text with its upper-left corner at (x, y);
// (999, 999) continues where the last text ended.
void qqmess(Global& g, const char* text, double x, double y);
// Draws with a temporary angle and height, restoring both.
void dtext(Global& g, const char* text, int x, int y, float angle, int height);
// Formats value with fcha(value, digits) and draws it.
void dnumqq(Global& g, float value, int digits, int x, int y);
// Length of text in plot units as it would be drawn now (rounded); draws
// nothing.
int qqnlms(Global& g, const char* text);
// Height above the baseline, depth below it and length of text.
void qqgmsg(Global& g, const char* text, float& height, float& depth, float& length);
// Frame of |thick| rectangles around (x, y, w, h), rotated about (x, y).
void dframe(Global& g, int x, int y, int w, int h, int thick, float angle);
// Sets the text angle and its sine and cosine.
void qqtang(Global& g, float degrees);

}  // namespace korvan
