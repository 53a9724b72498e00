// Fields of the global state block that belong to the charts: the settings
// of titles, bars and error bars.
#pragma once

namespace korvan {

struct ChartFields {
  int titleHeight;   // plot units; 0: 1.2 x the label height
  float barWidth;    // user units; 0: 0.8 x the closest spacing of the bars
  int barHori;       // 1: bars run along the X axis
  int capWidth;      // error bar caps, plot units
};

}  // namespace korvan
