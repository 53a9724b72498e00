// Strings of stroke-font characters: messag and its worker qqmess, the
// string length (nlmess), the extent of a string, dtext and dnumqq, and the
// user settings of height, angle and font.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/numtext.h"
#include "core/state.h"
#include "core/strings.h"
#include "draw/colour.h"
#include "draw/figure.h"
#include "draw/pipeline.h"
#include "draw/shield.h"
#include "korvan.h"
#include "text/devfont.h"
#include "text/font.h"
#include "text/mixing.h"
#include "text/tex.h"
#include "text/text.h"

namespace korvan {

namespace {

constexpr int kMaxText = 256;

int nint(float v) { return static_cast<int>(std::lround(v)); }

// The text as it is drawn: at most 256 characters, escapes substituted;
// returns the length without trailing blanks.
int prepare(Global& g, const char* text, char (&buf)[kMaxText + 1]) {
  std::size_t n = text ? strnlen(text, kMaxText) : 0;
  std::memcpy(buf, text ? text : "", n);
  buf[n] = '\0';
  strsft(g, buf);
  return trmlen(buf);
}

// The per-string state: instruction changes last to the end of a string.
void beginString(Global& g) {
  g.measuring = 0;
  g.scaleAlphabet = 0;
  g.stringHeight = g.charHeight;
  g.stringColour = g.currentColour;
  g.alphabet = g.afterSwitch = g.baseAlphabet;
  g.widthFactor = g.widthDefault;
  g.spacingFactor = g.spacingDefault;
  g.slant = g.slantDefault;
  g.fixedPitch = g.fixedPitchDefault;
  g.fixedFactor = g.fixedFactorDefault;
  g.baseShift = g.lineOffset = 0.0f;
  g.inSwitch = 0;
  g.insLength = 0;
  g.lastFallback = 0;
  g.italic = 0;
}

void setHeight(Global& g, int h) {
  g.charHeight = h < 1 ? 1 : h;
  g.scaleAlphabet = 0;
}

// Largest distance of the position (less one spacing) from the origin.
struct Reach {
  float max = 0.0f;
  void take(const Global& g) {
    float x = g.textX - g.charSpacing * g.textCos, y = g.textY + g.charSpacing * g.textSin;
    max = std::fmax(max, std::hypot(x - g.startX, y - g.startY));
  }
};

void moveUp(Global& g, float d, float& accX, float& accY) {
  float dx = -d * g.textSin, dy = -d * g.textCos;
  g.textX += dx;
  g.textY += dy;
  accX += dx;
  accY += dy;
}

// The characters of a prepared string, through the exponent/index control
// when it is on. TeX-style strings have their own reader.
bool drawChars(Global& g, const char* s, int n, Reach* reach) {
  if (g.texMode) return qqtexs(g, s, n, reach ? &reach->max : nullptr);
  if (!g.expSwitch) {
    for (int i = 0; i < n; ++i) {
      alfcha(g, static_cast<unsigned char>(s[i]));
      if (reach) reach->take(g);
    }
    return true;
  }
  float accX = 0.0f, accY = 0.0f;
  for (int i = 0; i < n; ++i) {
    char c = s[i];
    if (c == g.expChars[0]) {
      moveUp(g, static_cast<float>(g.charHeight) * g.expShift, accX, accY);
      setHeight(g, nint(static_cast<float>(g.charHeight) * g.expHeight));
    } else if (c == g.expChars[1]) {
      setHeight(g, nint(static_cast<float>(g.charHeight) * g.expHeight));
      moveUp(g, -static_cast<float>(g.charHeight) * g.expShift, accX, accY);
    } else if (c == g.expChars[2]) {
      setHeight(g, g.stringHeight);
      g.textX -= accX;
      g.textY -= accY;
      accX = accY = 0.0f;
    } else {
      alfcha(g, static_cast<unsigned char>(c));
      if (reach) reach->take(g);
    }
  }
  g.textX -= accX;
  g.textY -= accY;
  return true;
}

// The point is printed rounded as it lies, however far off the page.
void outOfPage(Global& g, const char* which, double x, double y, const char* text) {
  g.warningCount += 1;
  if (g.messageUnit == 0 || g.messagesOn == 0 || g.protocolOn == 0) return;
  char head[9];
  std::snprintf(head, sizeof head, "%s", text ? text : "");
  char line[512];
  std::snprintf(line, sizeof line, "<<<< Warning: %s(%5.0f/%5.0f) in MESSAG out of page - (%s).", which,
                std::round(x) + 0.0, std::round(y) + 0.0, head);
  qqmsg(g, 0, line);
}

bool offPage(const Global& g, float x, float y) {
  return x < 0.0f || x > static_cast<float>(g.pageWidth) || y < 0.0f ||
         y > static_cast<float>(g.pageHeight);
}

// Restores what a string may change beyond its end.
void endString(Global& g) {
  if (g.charHeight != g.stringHeight) setHeight(g, g.stringHeight);
  if (g.currentColour != g.stringColour) qqsclr(g, g.stringColour);
  g.alphabet = g.baseAlphabet;
  g.inSwitch = 0;
}

// Measures a prepared string from the origin, leaving the text state as it
// was; extents are taken when track is set.
float measure(Global& g, const char* buf, int n, bool track) {
  float x = g.textX, y = g.textY, sx = g.startX, sy = g.startY;
  int h = g.charHeight, colour = g.currentColour, tracking = g.trackExtent;
  float stored[20];
  std::memcpy(stored, g.storedPos, sizeof stored);
  beginString(g);
  g.measuring = 1;
  g.trackExtent = track;
  g.extentUp = g.extentDown = 0.0f;
  g.textX = g.textY = g.startX = g.startY = 0.0f;
  Reach reach;
  if (!drawChars(g, buf, n, &reach)) reach.max = 0.0f;
  g.measuring = 0;
  g.trackExtent = tracking;
  g.textX = x, g.textY = y, g.startX = sx, g.startY = sy;
  std::memcpy(g.storedPos, stored, sizeof stored);
  setHeight(g, h);
  g.currentColour = colour;
  g.alphabet = g.baseAlphabet;
  g.inSwitch = 0;
  return reach.max;
}

}  // namespace

void qqtang(Global& g, float degrees) {
  g.textAngle = degrees;
  double a = static_cast<double>(degrees) * 3.14159265358979 / 180.0;
  g.textSin = static_cast<float>(std::sin(a));
  g.textCos = static_cast<float>(std::cos(a));
}

int qqnlms(Global& g, const char* text) {
  char buf[kMaxText + 1];
  int n = prepare(g, text, buf);
  return n == 0 ? 0 : nint(measure(g, buf, n, false));
}

void qqgmsg(Global& g, const char* text, float& height, float& depth, float& length) {
  char buf[kMaxText + 1];
  int n = prepare(g, text, buf);
  height = depth = length = 0.0f;
  if (n == 0) return;
  length = measure(g, buf, n, true);
  height = g.extentUp;
  depth = g.extentDown;
}

void qqmess(Global& g, const char* text, double x, double y) {
  char buf[kMaxText + 1];
  int n = prepare(g, text, buf);
  if (n == 0) return;
  beginString(g);
  if (!(x == 999.0 && y == 999.0)) {
    float h1 = static_cast<float>(g.charHeight - 1);
    double sx = x + g.shiftX, sy = y + g.shiftY;
    float px = static_cast<float>(sx), py = static_cast<float>(sy);
    g.textX = g.startX = px + h1 * g.textSin;
    g.textY = g.startY = py + h1 * g.textCos;
    if (g.mixSwitch) std::memset(g.storedPos, 0, sizeof g.storedPos);
    if (offPage(g, px, py)) outOfPage(g, "Startpoint ", sx, sy, text);
  }
  float bx = g.textX, by = g.textY;
  // A faulty TeX-style string is found by its measuring pass and not drawn.
  if (!drawChars(g, buf, n, nullptr)) {
    endString(g);
    return;
  }
  float ex = g.textX - g.charSpacing * g.textCos, ey = g.textY + g.charSpacing * g.textSin;
  if (offPage(g, std::round(ex), std::round(ey))) outOfPage(g, "Endpoint   ", ex, ey, text);
  endString(g);
  if (g.frameThickness == 0 && g.shieldAuto[0] == 0) return;
  // The box of the string, widened by the frame, from its own start.
  float up = 0.0f, down = 0.0f, len = 0.0f;
  qqgmsg(g, text, up, down, len);
  float f = static_cast<float>(std::abs(g.frameThickness));
  float cx = bx - f * g.textCos - (up + f) * g.textSin;
  float cy = by + f * g.textSin - (up + f) * g.textCos;
  int w = nint(len + 2.0f * f), h = nint(up + down + 2.0f * f);
  if (g.frameThickness != 0) dframe(g, nint(cx), nint(cy), w, h, g.frameThickness, g.textAngle);
  if (g.shieldAuto[0] != 0 && w > 0 && h > 0) {
    int saved = g.shieldClass;
    g.shieldClass = 1;
    qqshrg(g, nint(cx), nint(cy), w, h, g.textAngle);
    g.shieldClass = saved;
  }
}

void dtext(Global& g, const char* text, int x, int y, float angle, int height) {
  float a = g.textAngle;
  int h = g.charHeight;
  qqtang(g, angle);
  setHeight(g, height);
  if (x == 999 && y == 999) x = 1000;
  qqmess(g, text, static_cast<float>(x), static_cast<float>(y));
  qqtang(g, a);
  setHeight(g, h);
}

void dnumqq(Global& g, float value, int digits, int x, int y) {
  char buf[64];
  fcha(value, digits, buf, sizeof buf);
  qqmess(g, buf, static_cast<float>(x), static_cast<float>(y));
}

}  // namespace korvan

using namespace korvan;

extern "C" {

void messag(const char* text, int nx, int ny) {
  Global* gp = jqqlev(1, 3, "messag");
  if (!gp) return;
  Global& g = *gp;
  // The start goes on as given, so that its warning prints it exactly.
  double x = nx, y = nx == 999 && ny == 999 ? ny : qqyorg(g, ny);
  if (g.justification != 0 && !(nx == 999 && ny == 999)) {
    float fx = static_cast<float>(x), fy = static_cast<float>(y);
    float len = static_cast<float>(qqnlms(g, text));
    if (g.justification == 1) len *= 0.5f;
    fx -= len * g.textCos;
    fy += len * g.textSin;
    x = fx;
    y = fy;
  }
  qqmess(g, text, x, y);
}

int nlmess(const char* text) {
  Global* g = jqqlev(1, 3, "nlmess");
  return g ? qqnlms(*g, text) : 0;
}

void height(int n) {
  Global* g = jqqlev(1, 3, "height");
  if (!g || !jqqval(*g, n, 1, 10000)) return;
  g->charHeight = n;
  g->scaleAlphabet = 0;
  qqdfsel(*g, true);
}

void angle(int deg) {
  Global& g = chkini("angle");
  qqtang(g, static_cast<float>(deg));
  qqdfsel(g, false);
}

void koralf(void) { qqkrlf(chkini("koralf")); }

void complx(void) { qqcplx(chkini("complx")); }

}  // extern "C"
