// Device dispatch: the single place where plot units reach a driver.
#pragma once

namespace korvan {

struct Global;

void xjdraw(Global& g, float x, float y, int mode);
void xjpoly(Global& g, const float* xs, const float* ys, int n);
// A solid polygon for a driver that fills it itself before the fill draws
// its lines (Driver::fillsSolid).
void xjfill(Global& g, const float* xs, const float* ys, int n);

// The output line buffer of the text file formats.
void qqsbuf(Global& g, const char* text, int n);
void qpsbuf(Global& g, const char* text, int n);
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

