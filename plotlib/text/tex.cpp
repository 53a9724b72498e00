// TeX-style strings (placeholder: drawn as plain characters).
#include "text/tex.h"

#include <cmath>

#include "core/state.h"
#include "text/font.h"

namespace korvan {

bool qqtexs(Global& g, const char* text, int n, float* reach) {
  for (int i = 0; i < n; ++i) {
    alfcha(g, static_cast<unsigned char>(text[i]));
    if (reach)
      *reach = std::fmax(*reach, std::hypot(g.textX - g.startX, g.textY - g.startY) - g.charSpacing);
  }
  return true;
}

}  // namespace korvan
