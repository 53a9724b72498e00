// title: lines of text centred above the current axis system.
#include <cstring>

#include "core/state.h"
#include "korvan.h"
#include "text/text.h"

using namespace korvan;

namespace {

// How far ticks, labels and the name of the upper side reach out of the
// top edge of the axis system.
int topExtent(const Global& g) {
  const AxisSettings& s = g.axis[0];
  const int level = g.sideLevel[2];
  int ext = 0;
  if (g.twoAxes == 0 && g.crossed == 0) {
    if (level >= 2 && s.ticks > 0)
      ext += s.tickPos == 0 ? s.tickLong : s.tickPos == 2 ? s.tickLong / 2 : 0;
    if (level >= 3 && s.labelType != 0) ext += s.labelDist + g.charHeight;
    if (level >= 4 && s.name[0] != '\0') ext += s.nameDist + s.nameHeight;
  }
  return ext;
}

}  // namespace

extern "C" {

void title(const char* ctext) {
  Global* gp = jqqlev(2, 3, "title");
  if (!gp) return;
  Global& g = *gp;
  if (!ctext) {
    warnc1(g, 2, "null text");
    return;
  }
  constexpr int kMaxLines = 8;
  char lines[kMaxLines][133];
  int count = 0;
  for (const char* p = ctext; count < kMaxLines;) {
    const char* bar = std::strchr(p, '|');
    const std::size_t len = bar ? static_cast<std::size_t>(bar - p) : std::strlen(p);
    const std::size_t keep = len < 132 ? len : 132;
    std::memcpy(lines[count], p, keep);
    lines[count++][keep] = '\0';
    if (!bar) break;
    p = bar + 1;
  }
  const int h = g.titleHeight > 0 ? g.titleHeight : (12 * g.charHeight + 5) / 10;
  const int step = (3 * h + 1) / 2;
  const int bottom = g.topEdge - topExtent(g) - (3 * h) / 4;
  const int centre = g.axisPosX + g.axisLenX / 2;
  for (int k = 0; k < count; ++k) {
    if (lines[k][0] == '\0') continue;
    // Lengths scale with the height: measure at the current one.
    const int current = g.charHeight > 0 ? g.charHeight : 1;
    const long len = static_cast<long>(qqnlms(g, lines[k])) * h / current;
    const int top = bottom - (count - k) * step + (step - h);
    dtext(g, lines[k], centre - static_cast<int>(len / 2), top, 0.0f, h);
  }
}

}  // extern "C"
