// HP-GL plotter commands ("HPGL", "HPA4" ... "HPA1").
#pragma once

#include "devices/driver.h"

namespace korvan {

class HpglDriver : public Driver {
 public:
  explicit HpglDriver(int device) : device_(device) {}
  void open(Global& g) override;
  void point(Global& g, float x, float y, int mode) override;
  bool boxes() const override { return false; }
  void colour(Global& g, int index) override;
  int finish(Global& g) override;

 private:
  int device_;
};

}  // namespace korvan
