#include "devices/java/java_driver.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/edition.h"
#include "core/sink.h"
#include "core/colour_entry.h"
#include "core/state.h"

namespace korvan {

namespace {
// The class is named after the file: no directory, cut at the first ".".
std::string className(const char* file) {
  std::string name = file;
  std::size_t cut = name.find_last_of("\\/:");
  if (cut != std::string::npos) name = name.substr(cut + 1);
  std::size_t dot = name.find('.');
  if (dot != std::string::npos) name = name.substr(0, dot);
  return name;
}
}  // namespace

void JavaDriver::open(Global& g) {
  float w = static_cast<float>(g.winWidth), h = static_cast<float>(g.winHeight);
  float W = static_cast<float>(g.pageWidth), H = static_cast<float>(g.pageHeight);
  float s = std::min((w - 1) / W, (h - 1) / H);
  s = std::min(s, (g.pageWidth > g.pageHeight ? w - 1 : h - 1) / std::max(W, H));
  g.deviceScale = s;
  lastX = lastY = 0;
  ByteSink* f = g.outFile.get();
  if (!f) return;
  f->puts("// KORVAN Java Metafile\n");
  f->printf("// Creator: KORVAN %4.1f\n", static_cast<double>(edition().version));
  const std::tm t = qqftim();
  f->printf("// Date   : %s, %s\n", dddate(t), ddtime(t));
  f->printf("// Size   : %d %d\n", g.winWidth, g.winHeight);
  f->puts("\n");
  f->puts("import java.applet.*;\n");
  f->puts("import java.awt.*;\n\n");
  f->printf("public class %s extends Applet {\n", className(g.outFileName).c_str());
  f->puts("public void paint(Graphics g) {\n");
  statements_ = 0;
  part_ = 0;
}

// Java takes at most 64 KB of bytecode in one method, some 3000 of these
// statements: every kPart statements the method ends by calling the next
// part, so the plot is still painted in order.
void JavaDriver::statement(ByteSink* f) {
  if (++statements_ <= kPart) return;
  statements_ = 1;
  ++part_;
  f->printf("  paint%d (g);\n  }\n", part_);
  f->printf("private void paint%d(Graphics g) {\n", part_);
}

void JavaDriver::point(Global& g, float x, float y, int mode) {
  int X = rnd(x * g.deviceScale), Y = rnd(y * g.deviceScale);
  if (mode == 2 && g.outFile) {
    statement(g.outFile.get());
    g.outFile->printf("  g.drawLine (%d,%d,%d,%d);\n", lastX, lastY, X, Y);
  }
  lastX = X;
  lastY = Y;
}

void JavaDriver::box(Global& g, float x1, float y1, float x2, float y2, int colour) {
  // The rectangle comes in its own colour, which stays current (the open
  // stroke was finished before).
  this->colour(g, colour);
  g.currentColour = colour;
  float s = g.deviceScale;
  int X1 = rnd(x1 * s), Y1 = rnd(y1 * s), X2 = rnd(x2 * s), Y2 = rnd(y2 * s);
  if (!g.outFile) return;
  statement(g.outFile.get());
  g.outFile->printf("  g.fillRect (%d,%d,%d,%d);\n", X1, Y1, X2 - X1 + 1, Y2 - Y1 + 1);
}

void JavaDriver::erase(Global& g) {
  if (!g.outFile) return;
  statement(g.outFile.get());
  g.outFile->printf("  g.clearRect (0,0,%d,%d);\n", g.winWidth, g.winHeight);
}

void JavaDriver::colour(Global& g, int index) {
  int r, gr, b;
  entryRgb(g, index, r, gr, b);
  if (!g.outFile) return;
  statement(g.outFile.get());
  g.outFile->printf("  g.setColor (new Color (%d,%d,%d));\n", r, gr, b);
}

int JavaDriver::finish(Global& g) {
  if (!g.outFile) return 0;
  g.outFile->puts("  }\n}\n");
  return 1;
}

}  // namespace korvan
