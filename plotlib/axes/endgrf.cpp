// endgrf: ends the axis system (and at level 1 a frame): the axis clip
// window still held applied is removed and everything drawn so far is made
// visible.
#include "core/state.h"
#include "draw/device_ops.h"
#include "devices/dispatch.h"
#include "draw/pipeline.h"
#include "draw/shield.h"
#include "korvan.h"

using namespace korvan;

extern "C" {

void endgrf(void) {
  Global* gp = jqqlev(1, 3, "endgrf");
  if (!gp) return;
  Global& g = *gp;
  if (g.axisClipMarker == 2) {
    g.axisClipMarker = 0;
    sclpax(g, 1);
  }
  // the switches that hold for one axis system only, and the legend's
  // shielded box, which must not blank the next system
  qqshdl(g, 5);
  g.polar = 0;
  g.axisLineFlag = 0;
  g.level = 1;
  resatt(g);
  qqsend(g);
}

void endgrf_(void) { endgrf(); }

}  // extern "C"
