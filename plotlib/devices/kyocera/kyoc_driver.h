// "KYOC": the page-printer command language, in dots of 1/300 inch.
#pragma once

#include "devices/driver.h"

namespace korvan {

class KyocDriver : public Driver {
 public:
  void open(Global& g) override;
  void point(Global& g, float x, float y, int mode) override;
  void box(Global& g, float x1, float y1, float x2, float y2, int colour) override;
  int finish(Global& g) override;
};

}  // namespace korvan
