// Placeholder colour handling until the colour tables exist.
#include "draw/colour.h"

#include "core/state.h"
#include "devices/driver.h"
#include "draw/pipeline.h"

namespace korvan {

void gbyt03(int value, int* r, int* g, int* b) {
  *r = (value >> 16) & 255;
  *g = (value >> 8) & 255;
  *b = value & 255;
}

void qqsclr(Global& g, int index) {
  if (g.stroking == 0) qqstrk(g);
  if (g.driver) g.driver->colour(g, index);
  g.currentColour = index;
}

}  // namespace korvan
