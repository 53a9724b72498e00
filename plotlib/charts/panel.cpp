// panel: the next axis system goes into one cell of a grid of panels on the
// page, with room around it for labels, names and a title.
#include <algorithm>

#include "core/state.h"
#include "korvan.h"

using namespace korvan;

extern "C" {

void panel(int nrow, int ncol, int i) {
  Global* gp = jqqlev(1, 1, "panel");
  if (!gp) return;
  Global& g = *gp;
  if (nrow < 1 || nrow > 20) return warni1(g, 2, nrow);
  if (ncol < 1 || ncol > 20) return warni1(g, 2, ncol);
  if (i < 1 || i > nrow * ncol) return warni1(g, 2, i);
  const int row = (i - 1) / ncol, col = (i - 1) % ncol;
  const int cw = g.pageWidth / ncol, ch = g.pageHeight / nrow;
  // Room for the labels and name on the left and below, the title above;
  // in small cells a share of the cell instead.
  const int h = std::max(1, g.charHeight);
  const int left = std::min(9 * h, cw / 3), right = std::min(2 * h, cw / 10);
  const int top = std::min(6 * h, ch / 4), bottom = std::min(6 * h, ch / 4);
  const int w = std::max(2, cw - left - right), ht = std::max(2, ch - top - bottom);
  g.axisPosX = col * cw + left;
  g.axisPosY = row * ch + top + ht - 1;
  g.axisLenX = w;
  g.axisLenY = ht;
}

}  // extern "C"
