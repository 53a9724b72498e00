// Device dispatch: points, polygons, rectangles, erasure and flushes reach
// the driver of the open output here, and only here.
#include "devices/dispatch.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/sink.h"
#include "core/state.h"
#include "devices/driver.h"
#include "devices/device_table.h"
#include "korvan.h"

namespace korvan {

void Driver::width(Global& g, int n) { g.lineWidth = n; }
void DriverDeleter::operator()(Driver* d) const { delete d; }

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

namespace {

bool records(const Global& g) { return deviceInfo(g.device).file == FileKind::Records; }

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
  if (records(g)) {
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
  if (records(g)) {
    std::memset(g.lineBuffer + g.linePos, ' ', static_cast<std::size_t>(g.lineCapacity - g.linePos));
    writeRecord(g);
  } else {
    writeLine(g);
  }
}

void qqfopn(Global& g) {
  const DeviceInfo& d = deviceInfo(g.device);
  char ext[8];
  qqgfxt(g.device, ext);
  std::string e = ext;
  while (!e.empty() && e.back() == ' ') e.pop_back();
  std::snprintf(g.outFileName, sizeof g.outFileName, "korvan.%s", e.c_str());
  g.lineCapacity = 80;
  g.linePos = 0;
  gfilnn(g, g.outFileName, sizeof g.outFileName);
  if (d.file == FileKind::Own) return;
  g.lineBuffer = static_cast<char*>(std::malloc(static_cast<std::size_t>(g.lineCapacity) + 2));
  if (!g.lineBuffer) {
    warnin(g, 53);
    qqfatal();
  }
  g.outFile = qqopfl(g, g.outFileName, sizeof g.outFileName, d.file == FileKind::Records);
  if (!g.outFile) g.fileError = true;
}

void qqopen(Global& g) {
  g.driver.reset(makeDriver(g.device));
  if (deviceInfo(g.device).cls != DeviceClass::Screen) qqfopn(g);
  g.driver->open(g);
}

int qqclos(Global& g) {
  int kind = 0;
  if (g.driver) {
    kind = g.driver->finish(g);
    const FileKind file = deviceInfo(g.device).file;
    if (file == FileKind::Lines || file == FileKind::Records) {
      qqflbf(g);
      bool ok = g.outFile != nullptr && qqclfl(g, g.outFile);
      if (!ok) kind = 0;
    }
    g.driver.reset();
  }
  if (g.outFile) qqclfl(g, g.outFile);
  std::free(g.lineBuffer);
  g.lineBuffer = nullptr;
  g.linePos = 0;
  if (g.fileError) kind = 0;
  return kind;
}

}  // namespace korvan

