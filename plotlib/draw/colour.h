// Colours and colour tables.
#pragma once

namespace korvan {

struct Global;

// Makes index the current colour and tells the device (the driver's
// colour() sees the previous index still in g.currentColour).
void qqsclr(Global& g, int index);
// The colour of a name of the color routine, without the level check.
void qqcolr(Global& g, const char* cname);
// Splits a packed table entry into its bytes.
void gbyt03(int value, int* r, int* g, int* b);
// Loads a colour table by name without the level check (setvlt, korini);
// false after the keyword warning.
bool qqsvlt(Global& g, const char* name);
// Sends the whole table to the devices that keep a palette.
void shwvlt(Global& g);

// The stored tables.
extern const int kRain[256];
extern const int kSpectrum[256];

}  // namespace korvan
