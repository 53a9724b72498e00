// Internal routines of the axis systems: scaling, the sides with their
// ticks, labels and names, and the calendar of the date labels.
#pragma once

#include <cstddef>

namespace korvan {

struct Global;

// ---- settings ----
// The axes a text such as "X", "Y" or "XYZ" names; false after warning 2
// for any other letter or for none.
bool qqaxes(Global& g, const char* cax, bool sel[3]);

// ---- axis system (graf) ----
// User to plot coordinates of the current system, each clamped to
// -1,000,000..1,000,000.
void qqrel2(const Global& g, float x, float y, float* xp, float* yp);
// The same without the clamp, for lines that must be cut before it.
void qqrel2d(const Global& g, float x, float y, double* xp, double* yp);
// Checks one axis: warnings 9 and 10 (false: no system), 12 and 50.
bool erraxs(Global& g, float a, float e, float org, float step);
void gscale(Global& g, int axis);
void sxyscl(Global& g, float xa, float xe, float xor_, float xstep, float ya, float ye,
            float yor, float ystep);
void newori(Global& g);
// Loads (mode 0) the settings of a side that its display level allows into
// the working settings of its axis, and puts them back (mode 1).
void sgrafp(Global& g, int side, int mode);
// Zero lines: 1 Y = 0, 2 X = 0, 3 both.
void daxgit(Global& g, int kind);

// ---- curves and their legend entries ----
// The markers of the current curve symbol at the usable points.
void qqcmrk(Global& g, const float* x, const float* y, int n);
// Records the item just drawn under the pending name of crvnam, if any,
// with the current colour, line style, width, marker and fill (kind 1 a
// line, 2 a filled area); a full list gives warning 101.
void qqkadd(Global& g, int kind);
// Whether a point has a place on the axes of the current system.
bool qqusbl(const Global& g, float x, float y);

// ---- one side ----
// axis 1 = X, 2 = Y; (nx, ny) is the axis start.
void daxis(Global& g, float a, float e, float org, float step, int len, const char* name,
           int mirrored, int nx, int ny, int logScale, int axis);
void settic(Global& g, int mirrored, int tickPos);
void markx(Global& g, float a, float e, float org, float step, int len, int nx, int ny,
           int logScale, int axis);
// Draws the labels and returns their extent across the axis.
int labelx(Global& g, float a, float e, float org, float step, int len, int nx, int ny,
           int logScale, int axis);
void namex(Global& g, const char* name, int len, int nx, int ny, int labelWidth, int axis);
// The labels first..last by inc for m + 1 label places and an omission.
void endpar(int m, int omit, int* first, int* last, int* inc);
// Width of the widest label of an axis.
int maxnuy(Global& g, float a, float e, float org, float step, int logScale, int axis);
// The text of label index i with value v; returns its length.
int glabxy(Global& g, float v, int i, int logScale, int axis, char* text, std::size_t cap);

// ---- calendar ----
int jqqyea(int year);
int jqqmon(int month, int year);
// false (after warning 2) for an impossible date.
bool jqqdat(Global& g, int day, int month, int year);
// The base date of the day numbers; false when none is defined.
void qqbdat(Global& g, int day, int month, int year);
int qqincd(Global& g, int day, int month, int year);
void qqtrfd(Global& g, int days, int* day, int* month, int* year);
int qqwday(int day, int month, int year);  // 1 Monday .. 7 Sunday
// Day number of the i-th date label from day number start, stepping by
// months (backwards when dir < 0).
int qqxlab(Global& g, int start, int i, int months, int dir);
// How many such steps fit from start to end.
int jqqnlb(Global& g, int start, int end, int months, int dir);
// The number of date labels of an axis (1..3) with range a..e, first label
// org and step; with qqdlab, the day number of label i. -1 when the axis
// does not label dates.
int qqdnlb(Global& g, int axis, double a, double e, double org, double step);
int qqdlab(Global& g, double org, double step, double a, double e, int i);

}  // namespace korvan
