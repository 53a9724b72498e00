// "JAVA": the plot as the source of a Java applet that paints it.
#pragma once

#include "devices/driver.h"

namespace korvan {

class ByteSink;

class JavaDriver : public Driver {
 public:
  void open(Global& g) override;
  void point(Global& g, float x, float y, int mode) override;
  void box(Global& g, float x1, float y1, float x2, float y2, int colour) override;
  void erase(Global& g) override;
  void colour(Global& g, int index) override;
  int finish(Global& g) override;

 private:
  static constexpr int kPart = 2000;
  // Before each statement: starts the next part when this one is full.
  void statement(ByteSink* f);
  int statements_ = 0;  // statements in the current part
  int part_ = 0;        // number of the current part, 0 in paint itself
  int lastX = 0, lastY = 0;  // the device point last reached
};

}  // namespace korvan
