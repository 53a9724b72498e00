// Placeholder of the text output until the stroke fonts land: measures with
// a fixed advance and draws nothing.
#include <cstring>

#include "core/numtext.h"
#include "core/state.h"
#include "text/text.h"

namespace korvan {

void qqmess(Global&, const char*, float, float) {}
void dtext(Global&, const char*, int, int, float, int) {}
void dnumqq(Global&, float, int, int, int) {}
int qqnlms(Global& g, const char* text) {
  return text ? static_cast<int>(std::strlen(text)) * g.charHeight : 0;
}
void qqgmsg(Global& g, const char* text, float& height, float& depth, float& length) {
  height = static_cast<float>(g.charHeight);
  depth = 0.0f;
  length = static_cast<float>(qqnlms(g, text));
}
void dframe(Global&, int, int, int, int, int, float) {}

}  // namespace korvan
