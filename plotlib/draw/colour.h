// Colours and colour tables.
#pragma once

namespace korvan {

struct Global;

// Makes index the current colour and tells the device.
void qqsclr(Global& g, int index);
// Splits a packed table entry into its bytes.
void gbyt03(int value, int* r, int* g, int* b);

}  // namespace korvan
