// Device dispatch: points, polygons, rectangles, erasure and flushes reach
// the driver of the open output here, and only here.
#include "devices/dispatch.h"

#include <cstdlib>
#include <cstring>

#include "core/sink.h"
#include "core/state.h"
#include "devices/driver.h"
#include "draw/colour.h"
#include "draw/pipeline.h"
#include "korvan.h"

namespace korvan {

void Driver::width(Global& g, int n) { g.lineWidth = n; }

void xjdraw(Global& g, float x, float y, int mode) {
  g.vectorCount += 1;
  if (g.driver) g.driver->point(g, x, y, mode);
}

void xjpoly(Global& g, const float* xs, const float* ys, int n) {
  if (!g.driver || !g.driver->polygons() || n <= 0) return;
  // Small polygons stay on the stack; the fills hand over large ones rarely.
  constexpr int kLocal = 256;
  float lx[kLocal], ly[kLocal];
  float* px = lx;
  float* py = ly;
  float* heap = nullptr;
  if (n > kLocal) {
    heap = new float[2 * static_cast<std::size_t>(n)];
    px = heap;
    py = heap + n;
  }
  for (int i = 0; i < n; ++i) {
    px[i] = static_cast<float>(g.shiftX) + xs[i];
    py[i] = static_cast<float>(g.shiftY) + ys[i];
  }
  g.driver->polygon(g, px, py, n);
  delete[] heap;
}

void dbox(Global& g, int x1, int y1, int x2, int y2, int colour) {
  // The open stroke was drawn before the rectangle and must not end up on
  // top of it (a page fill erases what came before it).
  qqstrk(g);
  x1 += g.shiftX;
  x2 += g.shiftX;
  y1 += g.shiftY;
  y2 += g.shiftY;
  if (x1 < g.clipXmin) x1 = g.clipXmin;
  if (y1 < g.clipYmin) y1 = g.clipYmin;
  if (x2 > g.clipXmax) x2 = g.clipXmax;
  if (y2 > g.clipYmax) y2 = g.clipYmax;
  if (x1 > x2 || y1 > y2) return;
  // Colour indices are 0..255 on every device; others wrap round the table.
  colour = ((colour % 256) + 256) % 256;
  if (g.driver)
    g.driver->box(g, static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
                  static_cast<float>(y2), colour);
}

void qqerase(Global& g) {
  qqstrk(g);
  if (g.driver) g.driver->erase(g);
}

void qqsend(Global& g) {
  qqstrk(g);
  if (g.driver) g.driver->flush(g);
}

namespace {

bool isCgm(const Global& g) { return g.device == 211; }

void writeLine(Global& g) {
  if (g.outFile) {
    g.outFile->write(g.lineBuffer, static_cast<std::size_t>(g.linePos));
    g.outFile->put('\n');
  }
  g.linePos = 0;
}

void writeRecord(Global& g) {
  if (g.outFile) g.outFile->write(g.lineBuffer, static_cast<std::size_t>(g.lineCapacity));
  g.linePos = 0;
}

}  // namespace

void qqsbuf(Global& g, const char* text, int n) {
  if (!g.lineBuffer || n <= 0) return;
  int cap = g.lineCapacity;
  if (g.linePos + n <= cap) {
    std::memcpy(g.lineBuffer + g.linePos, text, static_cast<std::size_t>(n));
    g.linePos += n;
    return;
  }
  if (isCgm(g)) {
    // Raw 80-byte records: fill the record, write it, go on with the rest.
    while (n > 0) {
      int take = cap - g.linePos;
      if (take > n) take = n;
      std::memcpy(g.lineBuffer + g.linePos, text, static_cast<std::size_t>(take));
      g.linePos += take;
      text += take;
      n -= take;
      if (g.linePos == cap) writeRecord(g);
    }
    return;
  }
  if (g.linePos > 0) writeLine(g);
  if (n > cap) {
    // A piece longer than a line is written whole, on its own line.
    if (g.outFile) {
      g.outFile->write(text, static_cast<std::size_t>(n));
      g.outFile->put('\n');
    }
    return;
  }
  std::memcpy(g.lineBuffer, text, static_cast<std::size_t>(n));
  g.linePos = n;
}

void qpsbuf(Global& g, const char* text, int n) {
  if (!g.lineBuffer) return;
  if (n == -1) {
    writeLine(g);
    return;
  }
  int i = 0;
  while (i < n) {
    int start = i;
    while (i < n && text[i] != ' ') ++i;
    if (i < n) ++i;  // the blank that ends the word
    int len = i - start;
    const char* word = text + start;
    if (len == 1 && word[0] == ' ' &&
        ((start > 0 && text[start - 1] == ' ') ||
         (g.linePos > 0 && g.lineBuffer[g.linePos - 1] == ' ')))
      continue;
    if (g.linePos + len > g.lineCapacity && g.linePos > 0) writeLine(g);
    if (len > g.lineCapacity) {
      if (g.outFile) {
        g.outFile->write(word, static_cast<std::size_t>(len));
        g.outFile->put('\n');
      }
      continue;
    }
    std::memcpy(g.lineBuffer + g.linePos, word, static_cast<std::size_t>(len));
    g.linePos += len;
  }
}

void qqflbf(Global& g) {
  if (!g.lineBuffer || g.linePos == 0) return;
  if (isCgm(g)) {
    std::memset(g.lineBuffer + g.linePos, ' ', static_cast<std::size_t>(g.lineCapacity - g.linePos));
    writeRecord(g);
  } else {
    writeLine(g);
  }
}

void qqopen(Global& g) {
  delete g.driver;
  g.driver = makeDriver(g.device);
  if (g.device > 100) qqfopn(g);
  g.driver->open(g);
}

int qqclos(Global& g) {
  int kind = 0;
  if (g.driver) {
    kind = g.driver->finish(g);
    if (g.driver->lineFile()) {
      qqflbf(g);
      bool ok = g.outFile != nullptr && qqclfl(g, g.outFile);
      if (!ok) kind = 0;
    }
    delete g.driver;
    g.driver = nullptr;
  }
  if (g.outFile) qqclfl(g, g.outFile);
  std::free(g.lineBuffer);
  g.lineBuffer = nullptr;
  g.linePos = 0;
  if (g.fileError) kind = 0;
  return kind;
}

}  // namespace korvan

using namespace korvan;

extern "C" {

void erase(void) {
  Global* g = jqqlev(1, 3, "erase");
  if (g) qqerase(*g);
}

void sendbf(void) {
  Global* g = jqqlev(1, 3, "sendbf");
  if (g) qqsend(*g);
}

// winupd and qqwext belong to the screen driver (devices/screen).

}  // extern "C"

namespace korvan {

void qqzigzag(Global& g, float x1, float y1, float x2, float y2, int colour) {
  qqsclr(g, colour);
  xjdraw(g, x1, y1, 3);
  xjdraw(g, x2, y1, 2);
  float step = 1.4f / g.unitScale;
  float end = x2, other = x1;
  for (int k = 1;; ++k) {
    float y = y1 + static_cast<float>(k) * step;
    if (y > y2) break;
    xjdraw(g, end, y, 2);
    xjdraw(g, other, y, 2);
    float t = end;
    end = other;
    other = t;
  }
}

}  // namespace korvan
