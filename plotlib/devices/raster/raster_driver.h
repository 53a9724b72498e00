// The driver of the raster outputs 601-607 ("TIFF", "IMAG", "VIRT", "PNG ",
// "PPM ", "BMP ", "GIF "): the plot is drawn into a virtual raster that
// korfin writes as an image file ("VIRT" writes none).
#pragma once

#include "devices/driver.h"
#include "devices/raster/raster.h"

namespace korvan {

// Raster settings for the outputs opened by later korini calls: colour mode
// (1 true colour, else palette) and size (0, 0: the size korini took from
// rassiz or from the page, 853 x 603 for the default page). Default:
// palette mode.
void qqvopt(int colourMode, int width, int height);

class RasterDriver : public Driver {
 public:
  explicit RasterDriver(int device) : device_(device) {}
  void open(Global& g) override;
  void point(Global& g, float x, float y, int mode) override;
  void box(Global& g, float x1, float y1, float x2, float y2, int colour) override;
  void erase(Global& g) override;
  void colour(Global& g, int index) override;
  void palette(Global& g) override;
  void fontPixel(Global& g, int x, int y) override;
  int finish(Global& g) override;

  VirtualRaster& raster() { return raster_; }

 private:
  int device_;
  VirtualRaster raster_;
  int lastX = 0, lastY = 0;  // the device point last reached
};

}  // namespace korvan
