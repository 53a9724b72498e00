// Fields of the global state block that belong to the device dispatch.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace korvan {

class Driver;
// Defined with the dispatch, so that the block can own a driver without
// knowing its type.
struct DriverDeleter {
  void operator()(Driver* d) const;
};

// How an output file meets a file of the same name (outmod).
enum OutputMode { kVersions = 0, kOverwrite = 1, kStop = 2 };

struct DeviceFields {
  std::unique_ptr<Driver, DriverDeleter> driver;  // the driver of the open output
  int smoothMode;       // 1: the raster outputs and windows draw smooth (smooth)
  int pageBackground;   // 0 the device's own, 1 white, 2 black (pagbkg)
  int frameDelay = 4;  // animated GIF: hundredths of a second per frame (frmdly)
  // The choices of level 0 that every later plot keeps.
  char outName[260];   // outfil: the file name; empty: "korvan." + extension
  int outMode;         // outmod: OutputMode
  int outMemory;       // outmem: 1 keeps the file in memFile instead of writing it
  int rasterWidth, rasterHeight;  // rassiz in pixels; 0: what the page gives
  // Per plot.
  std::vector<std::uint8_t> memFile;  // the file of the last plot kept in memory
  bool outSuppressed;  // outmod "STOP" met an existing file: nothing is written
};

}  // namespace korvan
