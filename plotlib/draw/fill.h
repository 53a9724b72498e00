// Area fills: polygon outline and fill, software hatching, shading patterns
// and the glyph fill.
#pragma once

namespace korvan {

struct Global;

// Receives one span of a hatching: the segment (x1, y1)-(x2, y2).
using SpanFn = void (*)(Global& g, float x1, float y1, float x2, float y2);

// Hatches the polygon of n points with horizontal lines at y = k * s and
// hands every even-odd span to line. More than maxCrossings crossings on one
// line give warning 26 and end the hatching. visLo..visHi is the range of
// scan lines that can be visible; it is used only to bound absurdly tall
// figures. Returns false if the work arrays could not be had (warning 53).
bool gkwfa(Global& g, int n, const float* x, const float* y, float s, int maxCrossings,
           SpanFn line, float visLo, float visHi);

// The closed outline of a polygon in the current line style (relative).
void arealx(Global& g, const float* x, const float* y, int n);
// Fills a polygon of relative points with the current shading pattern.
void dareaf(Global& g, const float* x, const float* y, int n);
// The span routine of dareaf: rotation back, hatch style, bands.
void dlinef(Global& g, float x1, float y1, float x2, float y2);
// A solid move and draw in absolute coordinates.
void xline(Global& g, float x1, float y1, float x2, float y2);
// Fills a glyph outline of n absolute points with vertical lines 2 apart
// (only while g.glyphFill is set).
void shdfll(Global& g, const float* x, const float* y, int n);
void ffllin(Global& g, float x1, float y1, float x2, float y2);

// Sets the pattern from its four parts after checking them (warning 2 on
// the first bad one); false if any was refused.
bool qqmypt(Global& g, int iangle, int itype, int idens, int icross);

}  // namespace korvan
