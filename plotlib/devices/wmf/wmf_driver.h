// Windows metafile output ("WMF "): the metafile records (pens, moves,
// lines, rectangle fills, polygons) are written by our own recorder, so no
// platform metafile support is needed. The recording is kept in memory; at
// the end it goes into the file the dispatch opened, behind the 22-byte
// placeable header (unless wmfOption is 1).
//
//   open     qqwmf1: device scale, mapping mode, window origin and extent
//   point    qqwmf4: MoveTo / LineTo
//   polygon  qqwmf6: Polygon in the current colour, outlined with the pen
//            (one larger than a record holds: PolyPolygon, then its outline)
//   box      qqwmf5: a rectangle filled with a solid brush, no outline
//   colour   qqwmf3: a solid pen of width 1, also the text colour
//   fonts    qqwmf7: a window font (create-font-indirect, select);
//            qqwmf8: one character (text-out)
//   finish   qqwmf2: end of the recording, placeable header and records written
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "devices/driver.h"

namespace korvan {

class WmfDriver : public Driver {
 public:
  void open(Global& g) override;
  void point(Global& g, float x, float y, int mode) override;
  bool polygons() const override { return true; }
  void polygon(Global& g, const float* xs, const float* ys, int n) override;
  void box(Global& g, float x1, float y1, float x2, float y2, int colour) override;
  void colour(Global& g, int index) override;
  bool windowFont(Global& g, const char* name, int size, float angle, int coding,
                  int* widths) override;
  void windowChar(Global& g, int code, int x, int y) override;
  int finish(Global& g) override;

  void qqwmf1(Global& g);
  int qqwmf2(Global& g);
  void qqwmf3(int r, int gr, int b);
  void qqwmf4(int x, int y, int mode);
  void qqwmf5(int x, int y, int width, int height, int r, int gr, int b);
  // op 1 starts a polygon of x points, 9 fills it, any other op adds (x, y).
  void qqwmf6(Global& g, int x, int y, int op);
  // The font of the family name, size units high (the cell), turned by
  // angle degrees, becomes the selected font.
  void qqwmf7(const char* name, int size, float angle);
  // One character code with the top-left corner of its cell at (x, y).
  void qqwmf8(int code, int x, int y);

  // The 22-byte placeable header for a bounding box of a by b units.
  static std::vector<std::uint8_t> placeableHeader(int a, int b);

 private:
  // One record: size in 16-bit words, function, parameter words.
  void record(unsigned function, std::initializer_list<unsigned> params);
  void recordWords(unsigned function, const std::vector<std::uint16_t>& params);
  int createObject();
  void deleteObject(int index);
  static std::uint32_t colorRef(int r, int gr, int b);
  // A solid brush of colour c becomes the selected brush.
  void selectBrush(std::uint32_t c);
  // Most points of one polygon record.
  static constexpr std::size_t kMaxCount = 32767;
  // The polygon being built, of more than kMaxCount points.
  void largePolygon();

  std::vector<std::uint8_t> body_;  // records after the metafile header
  std::uint32_t maxRecord_ = 0;
  std::vector<bool> objects_;       // slots of the object table in use
  int maxObjects_ = 0;
  int pen_ = -1;                    // our current pen, -1 before the first
  std::uint32_t penColour_ = 0;
  int brush_ = -1;                  // the selected brush, -1 before the first
  std::uint32_t brushColour_ = 0;
  int nullPen_ = -1;                // the pen of outline-free rectangles
  int font_ = -1;                   // the selected window font, -1 before the first
  bool transparentText_ = false;    // the background mode is set for text
  int a_ = 0, b_ = 0;
  std::vector<std::int16_t> poly_;  // x, y pairs of the polygon being built
  bool open_ = false;
};

}  // namespace korvan
