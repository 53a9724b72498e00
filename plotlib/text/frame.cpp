// Frames around texts and boxes (dframe).
#include <cmath>
#include <cstdlib>

#include "core/state.h"
#include "draw/colour.h"
#include "draw/pipeline.h"
#include "text/text.h"

namespace korvan {

void dframe(Global& g, int x, int y, int w, int h, int thick, float angle) {
  if (thick == 0) return;
  // Rectangles are one plot unit apart, so the count is the thickness in
  // plot units on every device.
  int count = std::abs(thick);
  bool rotated = std::fabs(angle) > 0.001f;
  double a = static_cast<double>(angle) * 3.14159265358979 / 180.0;
  float sn = rotated ? static_cast<float>(std::sin(a)) : 0.0f;
  float cs = rotated ? static_cast<float>(std::cos(a)) : 1.0f;
  int colour = g.currentColour;
  if (g.frameColour >= 0 && g.frameColour != colour) qqsclr(g, g.frameColour);
  for (int k = 0; k < count; ++k) {
    float o = thick > 0 ? static_cast<float>(k) : -static_cast<float>(k);
    float u[5] = {-o, static_cast<float>(w - 1) + o, static_cast<float>(w - 1) + o, -o, -o};
    float v[5] = {-o, -o, static_cast<float>(h - 1) + o, static_cast<float>(h - 1) + o, -o};
    for (int i = 0; i < 5; ++i) {
      // u along the rotated top edge, v down the rotated left edge.
      float px = static_cast<float>(x) + u[i] * cs + v[i] * sn;
      float py = static_cast<float>(y) - u[i] * sn + v[i] * cs;
      if (i == 0)
        qqmove(g, px, py);
      else
        qqdraw(g, px, py);
    }
  }
  qqstrk(g);
  if (g.currentColour != colour) qqsclr(g, colour);
}

}  // namespace korvan
