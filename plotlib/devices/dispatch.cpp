// Device dispatch: points, polygons, rectangles, erasure and flushes reach
// the driver of the open output here, and only here.
#include "devices/dispatch.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/line_buffer.h"
#include "core/sink.h"
#include "core/state.h"
#include "devices/driver.h"
#include "devices/device_table.h"
#include "korvan.h"
#include "platform/system.h"

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

void qqsbuf(Global& g, const char* text, int n) {
  if (g.lines) g.lines->put(text, n);
}

void qpsbuf(Global& g, const char* text, int n) {
  if (auto* lines = dynamic_cast<TextLineBuffer*>(g.lines.get())) lines->words(text, n);
}

void qqflbf(Global& g) {
  if (g.lines) g.lines->flush();
}

namespace {

// The output file's name: the name of outfil, with the format's extension
// when it has none, or "korvan." and the extension.
void outputName(Global& g, const std::string& ext) {
  if (!g.outName[0]) {
    std::snprintf(g.outFileName, sizeof g.outFileName, "korvan.%s", ext.c_str());
    return;
  }
  std::string name = g.outName;
  std::size_t start = 0;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (platform::isPathSeparator(name[i])) start = i + 1;
  if (!ext.empty() && name.find('.', start) == std::string::npos) name += "." + ext;
  std::snprintf(g.outFileName, sizeof g.outFileName, "%s", name.c_str());
}

}  // namespace

void qqfopn(Global& g) {
  const DeviceInfo& d = deviceInfo(g.device);
  char ext[8];
  qqgfxt(g.device, ext);
  std::string e = ext;
  while (!e.empty() && e.back() == ' ') e.pop_back();
  outputName(g, e);
  // a file kept in memory takes no version: it collides with nothing
  if (g.outMode == kVersions && !g.outMemory) gfilnn(g, g.outFileName, sizeof g.outFileName);
  if (d.file == FileKind::None) return;
  // Text files get the line ends of the platform; the others are written
  // byte for byte.
  const bool binary = d.file == FileKind::Records || d.file == FileKind::Bytes;
  if (g.outMemory) {
    // The file the plot would write, kept for outget instead.
    g.outFile = std::make_unique<ByteSink>(&g.memFile);
  } else {
    bool exists = false;
    g.outFile = qqopmd(g, g.outFileName, sizeof g.outFileName, binary, g.outMode, exists);
    if (exists) {
      // outmod "STOP": the plot runs to its end into a sink that keeps nothing
      qqserr(g, "The file exists already");
      warnc1(g, 101, g.outFileName);
      g.outSuppressed = true;
      g.outFile = std::make_unique<ByteSink>(static_cast<std::FILE*>(nullptr));
    }
  }
  if (!g.outFile) g.fileError = true;
  if (d.file == FileKind::Records)
    g.lines = std::make_unique<RecordBuffer>(g.outFile, g.lineCapacity);
  else if (d.file == FileKind::Lines)
    g.lines = std::make_unique<TextLineBuffer>(g.outFile, g.lineCapacity);
}

void qqopen(Global& g) {
  g.outSuppressed = false;
  g.memFile.clear();
  // the screen and the bare raster have no file to keep in memory
  if (g.outMemory && deviceInfo(g.device).file == FileKind::None) warnin(g, 40);
  g.driver.reset(makeDriver(g.device));
  if (deviceInfo(g.device).cls != DeviceClass::Screen) qqfopn(g);
  g.driver->open(g);
}

int qqclos(Global& g) {
  int kind = 0;
  if (g.driver) {
    kind = g.driver->finish(g);
    qqflbf(g);
    g.driver.reset();
  }
  // Every file the dispatch opened is closed here; a plot whose file could
  // not be written in full names no metafile.
  if (g.outFile && !qqclfl(g, g.outFile)) kind = 0;
  g.lines.reset();
  // Only a file on disk is named by the protocol.
  if (g.fileError || g.outSuppressed || g.outMemory) kind = 0;
  return kind;
}

}  // namespace korvan

