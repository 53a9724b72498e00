// "GKSL": the library's own text metafile of 10-character number fields,
// packed eight to a line by the output line buffer.
#pragma once

#include "devices/driver.h"

namespace korvan {

class GkslDriver : public Driver {
 public:
  void open(Global& g) override;
  void point(Global& g, float x, float y, int mode) override;
  void box(Global& g, float x1, float y1, float x2, float y2, int colour) override;
  void colour(Global& g, int index) override;
  int finish(Global& g) override;
  bool lineFile() const override { return true; }
};

}  // namespace korvan
