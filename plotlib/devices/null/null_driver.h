// The driver of outputs that have no driver of their own yet: it accepts
// every request and draws nothing, so korini ... korfin runs on every device.
#pragma once


#include "devices/driver.h"

namespace korvan {

class NullDriver : public Driver {
 public:
  void point(Global&, float, float, int) override {}
  void box(Global&, float, float, float, float, int) override {}
  int finish(Global&) override;
};

}  // namespace korvan
