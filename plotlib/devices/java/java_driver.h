// "JAVA": the plot as the source of a Java applet that paints it.
#pragma once

#include "devices/driver.h"

namespace korvan {

class JavaDriver : public Driver {
 public:
  void open(Global& g) override;
  void point(Global& g, float x, float y, int mode) override;
  void box(Global& g, float x1, float y1, float x2, float y2, int colour) override;
  void erase(Global& g) override;
  void colour(Global& g, int index) override;
  int finish(Global& g) override;
};

}  // namespace korvan
