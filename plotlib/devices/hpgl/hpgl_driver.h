// HP-GL plotter commands ("HPGL", "HPA4" ... "HPA1").
#pragma once

#include "devices/driver.h"

namespace korvan {

class HpglDriver : public Driver {
 public:
  explicit HpglDriver(int device) : device_(device) {}
  void open(Global& g) override;
  void point(Global& g, float x, float y, int mode) override;
  void box(Global& g, float x1, float y1, float x2, float y2, int colour) override;
  void colour(Global& g, int index) override;
  int finish(Global& g) override;
  bool lineFile() const override { return true; }

 private:
  int device_;
};

}  // namespace korvan
