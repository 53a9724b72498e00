// Shielded regions and the blanking stage of the stroke pipeline.
#pragma once

namespace korvan {

struct Global;

// Draws the segment (x1, y1)-(x2, y2) around the shielded regions; called
// by the pipeline instead of a plain draw while g.shieldCount is non-zero.
void qqbl01(Global& g, float x1, float y1, float x2, float y2);
// 3 (move) if the absolute point lies in a region in force, else 2 (draw).
int qqbl06(Global& g, float x, float y);
// Appends a region record of the given type with its coordinate entries;
// false after warning 47 when the list has no room.
bool qqbl07(Global& g, int type, const int* entries, int count);
// Registers the rectangle with upper-left corner (x, y) (absolute), width w
// and height h, rotated by angle degrees about that corner, under the
// current shield class; user regions get their frame first.
void qqshrg(Global& g, int x, int y, int w, int h, float angle);

// Removes every region of class cls (1 MESS .. 5 LEGE) without changing its
// automatic switch.
void qqshdl(Global& g, int cls);

}  // namespace korvan
