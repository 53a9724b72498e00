// "GKSL": the library's own text metafile of 10-character number fields,
// packed eight to a line by the output line buffer.
#pragma once

#include "devices/driver.h"

namespace korvan {

class GkslDriver : public Driver {
 public:
  void open(Global& g) override;
  void point(Global& g, float x, float y, int mode) override;
  bool boxes() const override { return false; }
  void colour(Global& g, int index) override;
  int finish(Global& g) override;

 private:
  int lastMode = 0;  // the line mode last written
};

}  // namespace korvan
