// Device dispatch: the single place where plot units reach a driver.
#pragma once

namespace korvan {

struct Global;

void xjdraw(Global& g, float x, float y, int mode);
// xjdraw(g, xs[i], ys[i], 2) for i = 0 .. n - 1.
void xjdraws(Global& g, const float* xs, const float* ys, int n);
void xjpoly(Global& g, const float* xs, const float* ys, int n);
// A solid polygon for a driver that fills it itself before the fill draws
// its lines (Driver::fillsSolid).
void xjfill(Global& g, const float* xs, const float* ys, int n);

// The output line buffer of the text file formats.
void qqsbuf(Global& g, const char* text, int n);
void qpsbuf(Global& g, const char* text, int n);
// qpsbuf for packed text (no leading blank, no two blanks in a row): the
// same lines, filled in bulk.
void qpsblk(Global& g, const char* text, int n);
// Writes a partly filled line (CGM: padded to 80 bytes) and empties it.
void qqflbf(Global& g);

// Names and opens the output file of korini (the device's file kind says
// which buffer it needs).
void qqfopn(Global& g);
// Opens the driver for g.device (korini step 8) and ends it (korfin step 2
// and 3); qqclos returns the protocol kind (0 or 1).
void qqopen(Global& g);
int qqclos(Global& g);

}  // namespace korvan

