// Text defaults set at every korini (the character height and angle are set
// with the page defaults).
#include <cstring>

#include "core/state.h"
#include "text/font.h"
#include "text/text.h"

namespace korvan {

void restxt(Global& g) {
  qqtang(g, g.textAngle);
  g.texMode = 0;
  g.texEscape = '\\';
  g.expSwitch = 0;
  std::memcpy(g.expChars, "[]$", 3);
  g.expShift = 0.6f;
  g.expHeight = 0.8f;
  g.umlautSwitch = 0;
  std::memset(g.umlautEsc, ' ', sizeof g.umlautEsc);
  g.codingFlag = 0;
  g.italicDivisor = 3.732f;
  g.italic = 0;
  g.alphabet = g.baseAlphabet = g.afterSwitch = 1;
  g.mixSwitch = 0;
  std::memset(g.mixAlphabet, 0, sizeof g.mixAlphabet);
  std::memset(g.mixOn, 0, sizeof g.mixOn);
  std::memset(g.mixOff, 0, sizeof g.mixOff);
  g.inSwitch = 0;
  g.widthDefault = g.widthFactor = 1.0f;
  g.spacingDefault = g.spacingFactor = 0.0f;
  g.slantDefault = g.slant = 0.0f;
  g.fixedPitchDefault = g.fixedPitch = 0;
  g.fixedFactorDefault = g.fixedFactor = 0.0f;
  g.justification = 0;
  g.frameThickness = 0;
  g.frameColour = -1;
  g.measuring = 0;
  g.trackExtent = 0;
  qqkrlf(g);
}

}  // namespace korvan
