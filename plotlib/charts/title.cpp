// title: lines of text centred above the current axis system.
#include <cstring>

#include "charts/charts.h"
#include "core/state.h"
#include "korvan.h"
#include "text/text.h"

using namespace korvan;

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
  const int bottom = g.topEdge - qqtopx(g) - (3 * h) / 4;
  const int centre = g.axisPosX + g.axisLenX / 2;
  for (int k = 0; k < count; ++k) {
    if (lines[k][0] == '\0') continue;
    // Lengths scale with the height: measure at the current one.
    const long len = static_cast<long>(qqnlms(g, lines[k])) * h / (g.charHeight > 0 ? g.charHeight : 1);
    const int top = bottom - (count - k) * step + (step - h);
    dtext(g, lines[k], centre - static_cast<int>(len / 2), top, 0.0f, h);
  }
}

}  // extern "C"
