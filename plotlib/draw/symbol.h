// Marker symbols.
#pragma once

namespace korvan {

struct Global;

// Draws symbol nsym centred at (nx, ny) (ny converted, before the plot
// origin offset); no checks.
void dsymbl(Global& g, int nsym, int nx, int ny);

}  // namespace korvan
