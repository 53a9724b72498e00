// The animated GIF output "AGIF" (608): the plot is drawn into the virtual
// raster as for the image files, and every sendbf (endgrf at level 1, once
// per frame in an animation) adds the raster as one frame. Only the
// rectangle that changed since the previous frame is stored; korfin adds
// what was drawn after the last frame and ends the file.
#pragma once

#include <cstdint>
#include <vector>

#include "devices/raster/raster_driver.h"

namespace korvan {

class AnimatedGifDriver : public RasterDriver {
 public:
  explicit AnimatedGifDriver(int device) : RasterDriver(device) {}
  void flush(Global& g) override;
  int finish(Global& g) override;

  int frames() const { return frames_; }

 private:
  // Adds the raster as a frame; false (and no frame) when the raster has
  // not changed and `always` is not set.
  bool addFrame(Global& g, bool always);

  int frames_ = 0;
  bool failed_ = false;
  std::vector<std::uint8_t> previous_, current_;
  int table_[256] = {};  // the colour table of the previous frame
  int globalTable_[256] = {};
};

}  // namespace korvan
