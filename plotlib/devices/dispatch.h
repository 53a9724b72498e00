// Device dispatch: the single place where plot units reach a driver.
#pragma once

namespace korvan {

struct Global;

void xjdraw(Global& g, float x, float y, int mode);
void xjpoly(Global& g, const float* xs, const float* ys, int n);
void dbox(Global& g, int x1, int y1, int x2, int y2, int colour);
void qqerase(Global& g);   // erase without the level check
void qqsend(Global& g);    // sendbf without the level check

// The output line buffer of the text file formats.
void qqsbuf(Global& g, const char* text, int n);
void qpsbuf(Global& g, const char* text, int n);
// Writes a partly filled line (CGM: padded to 80 bytes) and empties it.
void qqflbf(Global& g);

// Opens the driver for g.device (korini step 8) and ends it (korfin step 2
// and 3); qqclos returns the protocol kind (0 or 1).
void qqopen(Global& g);
int qqclos(Global& g);

}  // namespace korvan

namespace korvan {
// The line hatching that fills a rectangle on "GKSL", CGM and HP-GL: a
// zigzag of lines 1.4 plot units apart.
void qqzigzag(Global& g, float x1, float y1, float x2, float y2, int colour);
}  // namespace korvan
