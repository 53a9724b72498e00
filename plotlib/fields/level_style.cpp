// Line styles of single contour levels: isoset gives a level its own line
// type, width and colour, isoneg a line type to the levels below zero; the
// line routines draw a level inside a LevelStyle.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/state.h"
#include "devices/driver.h"
#include "draw/colour.h"
#include "draw/pipeline.h"
#include "fields/fields.h"
#include "korvan.h"

namespace korvan {

namespace {

// lintyp and linwid from inside a routine: later warnings still name it.
void setType(Global& g, int type) {
  char name[sizeof g.routineName];
  std::memcpy(name, g.routineName, sizeof name);
  lintyp(type);
  std::memcpy(g.routineName, name, sizeof name);
}

void setWidth(Global& g, int width) {
  qqstrk(g);
  if (g.driver)
    g.driver->width(g, width);
  else
    g.lineWidth = width;
}

}  // namespace

LevelStyle::LevelStyle(Global& g, float level) : g_(g) {
  int type = -1, width = -1, colour = -1;
  bool found = false;
  for (int k = 0; k < g.levelStyles && !found; ++k)
    if (g.levelStyleZ[k] == level) {
      found = true;
      type = g.levelStyleType[k];
      width = g.levelStyleWidth[k];
      colour = g.levelStyleColour[k];
    }
  if (!found && level < 0) type = g.negativeLineType;
  if (type < 0 && width < 0 && colour < 0) return;
  qqstrk(g);
  if (type >= 0) {
    type_ = true;
    style_ = g.lineStyle;
    std::memcpy(pattern_, g.linePattern, sizeof pattern_);
    length_ = g.patternLength;
    index_ = g.patternIndex;
    penUp_ = g.penUp;
    rest_ = g.patternRest;
    setType(g, type);
  }
  if (width >= 0) {
    width_ = true;
    lineWidth_ = g.lineWidth;
    setWidth(g, width);
  }
  if (colour >= 0) {
    colour_ = true;
    oldColour_ = g.currentColour;
    qqsclr(g, colour);
  }
}

LevelStyle::~LevelStyle() {
  if (!type_ && !width_ && !colour_) return;
  qqstrk(g_);
  if (type_) {
    g_.lineStyle = style_;
    std::memcpy(g_.linePattern, pattern_, sizeof pattern_);
    g_.patternLength = length_;
    g_.patternIndex = index_;
    g_.penUp = penUp_;
    g_.patternRest = rest_;
  }
  if (width_) setWidth(g_, std::abs(lineWidth_));
  if (colour_) qqsclr(g_, oldColour_);
}

}  // namespace korvan

using namespace korvan;

extern "C" {

void isoset(float zlev, int ntyp, int nwid, int nclr) {
  Global* gp = jqqlev(1, 3, "isoset");
  if (!gp) return;
  Global& g = *gp;
  if (!jqqfin(g, {zlev}) || !jqqval(g, ntyp, -1, 7) || !jqqval(g, nclr, -1, 255)) return;
  if (nwid != -1 && !jqqval(g, nwid, 1, 32000)) return;
  int k = 0;
  while (k < g.levelStyles && g.levelStyleZ[k] != zlev) ++k;
  if (k == 64) {
    qqserr(g, "Too many contour levels with a style of their own");
    warnin(g, 101);
    return;
  }
  if (k == g.levelStyles) ++g.levelStyles;
  g.levelStyleZ[k] = zlev;
  g.levelStyleType[k] = ntyp;
  g.levelStyleWidth[k] = nwid;
  g.levelStyleColour[k] = nclr;
}

void isoneg(int ntyp) {
  Global* gp = jqqlev(1, 3, "isoneg");
  if (!gp || !jqqval(*gp, ntyp, -1, 7)) return;
  gp->negativeLineType = ntyp;
}

void isoset_(const float* zlev, const int* ntyp, const int* nwid, const int* nclr) {
  isoset(*zlev, *ntyp, *nwid, *nclr);
}
void isoneg_(const int* ntyp) { isoneg(*ntyp); }

}  // extern "C"
