#include "devices/wmf/wmf_driver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/sink.h"
#include "core/colour_entry.h"
#include "core/state.h"
#include "devices/sheet.h"
#include "devices/dispatch.h"
#include "devices/screen/screen_font.h"
#include "platform/font_service.h"

namespace korvan {

namespace {

// Metafile units per plot unit: 1/1440 inch.
constexpr float kScale = 1440.0f / 254.0f;

// Record functions of the Windows metafile format.
constexpr unsigned kEof = 0x0000;
constexpr unsigned kSetMapMode = 0x0103;
constexpr unsigned kSelectObject = 0x012D;
constexpr unsigned kDeleteObject = 0x01F0;
constexpr unsigned kSetWindowOrg = 0x020B;
constexpr unsigned kSetWindowExt = 0x020C;
constexpr unsigned kSetTextColor = 0x0209;
constexpr unsigned kCreatePenIndirect = 0x02FA;
constexpr unsigned kCreateBrushIndirect = 0x02FC;
constexpr unsigned kLineTo = 0x0213;
constexpr unsigned kMoveTo = 0x0214;
constexpr unsigned kPolygon = 0x0324;
constexpr unsigned kPolyPolygon = 0x0538;
constexpr unsigned kRectangle = 0x041B;
constexpr unsigned kSetBkMode = 0x0102;
constexpr unsigned kCreateFontIndirect = 0x02FB;
constexpr unsigned kTextOut = 0x0521;

constexpr unsigned kAnisotropic = 8;
constexpr unsigned kPenSolid = 0, kPenNull = 5;
constexpr unsigned kBrushSolid = 0;
constexpr unsigned kTransparent = 1;
constexpr unsigned kWeightNormal = 400;
constexpr std::size_t kFaceName = 32;  // bytes, the final NUL included

// Device coordinates are 16-bit: points off that range are pinned.
unsigned coord(int v) {
  v = std::clamp(v, -32768, 32767);
  return static_cast<std::uint16_t>(static_cast<std::int16_t>(v));
}

void putLe16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void putLe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  putLe16(out, v & 0xFFFF);
  putLe16(out, v >> 16);
}

}  // namespace

std::uint32_t WmfDriver::colorRef(int r, int gr, int b) {
  return static_cast<std::uint32_t>(r & 255) | static_cast<std::uint32_t>(gr & 255) << 8 |
         static_cast<std::uint32_t>(b & 255) << 16;
}

void WmfDriver::recordWords(unsigned function, const std::vector<std::uint16_t>& params) {
  std::uint32_t size = 3 + static_cast<std::uint32_t>(params.size());
  putLe32(body_, size);
  putLe16(body_, function);
  for (std::uint16_t p : params) putLe16(body_, p);
  maxRecord_ = std::max(maxRecord_, size);
}

void WmfDriver::record(unsigned function, std::initializer_list<unsigned> params) {
  std::uint32_t size = 3 + static_cast<std::uint32_t>(params.size());
  putLe32(body_, size);
  putLe16(body_, function);
  for (unsigned p : params) putLe16(body_, p & 0xFFFF);
  maxRecord_ = std::max(maxRecord_, size);
}

int WmfDriver::createObject() {
  // A new object takes the lowest free slot of the table.
  std::size_t i = 0;
  while (i < objects_.size() && objects_[i]) ++i;
  if (i == objects_.size()) objects_.push_back(true);
  objects_[i] = true;
  maxObjects_ = std::max(maxObjects_, static_cast<int>(objects_.size()));
  return static_cast<int>(i);
}

void WmfDriver::deleteObject(int index) {
  if (index < 0) return;
  record(kDeleteObject, {static_cast<unsigned>(index)});
  objects_[static_cast<std::size_t>(index)] = false;
}

void WmfDriver::open(Global& g) {
  g.deviceScale = kScale;
  qqwmf1(g);
}

void WmfDriver::qqwmf1(Global& g) {
  float a, b;
  qqdevpage(g, a, b);
  a_ = rnd(a * kScale);
  b_ = rnd(b * kScale);
  body_.clear();
  maxRecord_ = 0;
  objects_.clear();
  maxObjects_ = 0;
  pen_ = -1;
  brush_ = -1;
  nullPen_ = -1;
  font_ = -1;
  transparentText_ = false;
  poly_.clear();
  open_ = true;
  record(kSetMapMode, {kAnisotropic});
  record(kSetWindowOrg, {0, 0});
  record(kSetWindowExt, {coord(b_ + 20), coord(a_ + 20)});
}

void WmfDriver::qqwmf3(int r, int gr, int b) {
  if (!open_) return;
  std::uint32_t c = colorRef(r, gr, b);
  int pen = createObject();
  record(kCreatePenIndirect, {kPenSolid, 1, 0, c & 0xFFFF, c >> 16});
  record(kSelectObject, {static_cast<unsigned>(pen)});
  if (pen_ >= 0) deleteObject(pen_);
  pen_ = pen;
  penColour_ = c;
  record(kSetTextColor, {c & 0xFFFF, c >> 16});
}

void WmfDriver::qqwmf4(int x, int y, int mode) {
  if (!open_) return;
  if (mode == 2)
    record(kLineTo, {coord(y), coord(x)});
  else if (mode == 3)
    record(kMoveTo, {coord(y), coord(x)});
}

void WmfDriver::qqwmf5(int x, int y, int width, int height, int r, int gr, int b) {
  if (!open_) return;
  std::uint32_t c = colorRef(r, gr, b);
  selectBrush(c);
  if (nullPen_ < 0) {
    nullPen_ = createObject();
    record(kCreatePenIndirect, {kPenNull, 0, 0, 0, 0});
  }
  record(kSelectObject, {static_cast<unsigned>(nullPen_)});
  // Without an outline a rectangle covers one unit less each way than its
  // corners say, so the corners lie one beyond the filled area.
  record(kRectangle, {coord(y + height + 1), coord(x + width + 1), coord(y), coord(x)});
  if (pen_ < 0)
    qqwmf3(0, 0, 0);
  else
    record(kSelectObject, {static_cast<unsigned>(pen_)});
}

void WmfDriver::selectBrush(std::uint32_t c) {
  if (brush_ >= 0 && brushColour_ == c) return;
  int brush = createObject();
  record(kCreateBrushIndirect, {kBrushSolid, c & 0xFFFF, c >> 16, 0});
  record(kSelectObject, {static_cast<unsigned>(brush)});
  // the old brush is deleted only once it is no longer selected
  if (brush_ >= 0) deleteObject(brush_);
  brush_ = brush;
  brushColour_ = c;
}

void WmfDriver::qqwmf6(Global& g, int x, int y, int op) {
  (void)g;
  if (!open_) return;
  if (op == 1) {
    poly_.clear();
    poly_.reserve(2 * static_cast<std::size_t>(std::max(x, 0)));
    return;
  }
  if (op != 9) {
    poly_.push_back(static_cast<std::int16_t>(coord(x)));
    poly_.push_back(static_cast<std::int16_t>(coord(y)));
    return;
  }
  std::size_t n = poly_.size() / 2;
  if (n > kMaxCount) {
    largePolygon();
  } else if (n >= 2) {
    selectBrush(penColour_);
    std::vector<std::uint16_t> params;
    params.reserve(1 + 2 * n);
    params.push_back(static_cast<std::uint16_t>(n));
    for (std::size_t k = 0; k < 2 * n; ++k) params.push_back(static_cast<std::uint16_t>(poly_[k]));
    recordWords(kPolygon, params);
  }
  poly_.clear();
  poly_.shrink_to_fit();
}

void WmfDriver::qqwmf7(const char* name, int size, float angle) {
  if (!open_) return;
  // The logical font: height, width, escapement and orientation (tenths
  // of a degree), weight, then bytes: italic, underline, strike-out, char
  // set, output and clip precision, quality, pitch and family; then the
  // face name, NUL-terminated.
  std::vector<std::uint8_t> bytes;
  int tenths = static_cast<int>(std::lround(std::fmod(angle, 360.0f) * 10.0f));
  putLe16(bytes, coord(std::clamp(size, 1, 32767)));
  putLe16(bytes, 0);
  putLe16(bytes, coord(tenths));
  putLe16(bytes, coord(tenths));
  putLe16(bytes, kWeightNormal);
  for (int i = 0; i < 8; ++i) bytes.push_back(0);
  std::size_t n = std::min(std::strlen(name ? name : ""), kFaceName - 1);
  for (std::size_t i = 0; i < n; ++i) bytes.push_back(static_cast<std::uint8_t>(name[i]));
  bytes.push_back(0);
  if (bytes.size() % 2) bytes.push_back(0);
  std::vector<std::uint16_t> params;
  for (std::size_t i = 0; i < bytes.size(); i += 2)
    params.push_back(static_cast<std::uint16_t>(bytes[i] | bytes[i + 1] << 8));
  int font = createObject();
  recordWords(kCreateFontIndirect, params);
  record(kSelectObject, {static_cast<unsigned>(font)});
  if (font_ >= 0) deleteObject(font_);
  font_ = font;
}

void WmfDriver::qqwmf8(int code, int x, int y) {
  if (!open_ || font_ < 0 || code <= 0 || code > 255) return;
  if (!transparentText_) {
    // Characters are drawn one by one: an opaque background would cover
    // the neighbours.
    record(kSetBkMode, {kTransparent});
    transparentText_ = true;
  }
  record(kTextOut, {1, static_cast<unsigned>(code), coord(y), coord(x)});
}

bool WmfDriver::windowFont(Global&, const char* name, int size, float angle, int coding,
                           int* widths) {
  if (!open_) return false;
  qqwmf7(name, size, angle);
  // The reader of the file draws with a font of its own; we measure with
  // the system's font of that name, or without one with a common average.
  platform::FontService& fs = platform::fontService();
  int font = fs.create(name, std::clamp(size, 1, 32767), 0.0f, false);
  if (font) {
    qqwfwd(font, coding, widths);
    fs.release(font);
  } else {
    for (int p = 32; p <= 255; ++p)
      widths[p - 31] = qqgiso(p, coding) > 0 ? std::min(size, 32767) * 11 / 2 : 0;
  }
  return true;
}

void WmfDriver::windowChar(Global&, int code, int x, int y) { qqwmf8(code, x, y); }

// A record counts the points of a polygon in 16 bits. A larger polygon is
// filled as a fan of pieces that all start at its first point: each chord
// from there is an edge of two pieces and so cancels in the fill, whichever
// fill rule applies. The outline follows as lines, without the chords.
void WmfDriver::largePolygon() {
  const std::size_t n = poly_.size() / 2;
  constexpr std::size_t kRun = kMaxCount - 1;  // points after the first
  std::vector<std::uint16_t> counts, points;
  auto add = [&](std::size_t k) {
    points.push_back(static_cast<std::uint16_t>(poly_[2 * k]));
    points.push_back(static_cast<std::uint16_t>(poly_[2 * k + 1]));
  };
  for (std::size_t from = 1; from + 1 < n; from += kRun - 1) {
    std::size_t to = std::min(from + kRun - 1, n - 1);
    counts.push_back(static_cast<std::uint16_t>(to - from + 2));
    add(0);
    for (std::size_t k = from; k <= to; ++k) add(k);
  }
  selectBrush(penColour_);
  if (nullPen_ < 0) {
    nullPen_ = createObject();
    record(kCreatePenIndirect, {kPenNull, 0, 0, 0, 0});
  }
  record(kSelectObject, {static_cast<unsigned>(nullPen_)});
  std::vector<std::uint16_t> params;
  params.push_back(static_cast<std::uint16_t>(counts.size()));
  params.insert(params.end(), counts.begin(), counts.end());
  params.insert(params.end(), points.begin(), points.end());
  recordWords(kPolyPolygon, params);
  if (pen_ < 0)
    qqwmf3(0, 0, 0);
  else
    record(kSelectObject, {static_cast<unsigned>(pen_)});
  // The outline, drawn as the lines are: every point and back to the first.
  record(kMoveTo, {static_cast<std::uint16_t>(poly_[1]), static_cast<std::uint16_t>(poly_[0])});
  for (std::size_t k = 1; k <= n; ++k)
    record(kLineTo, {static_cast<std::uint16_t>(poly_[2 * (k % n) + 1]),
                     static_cast<std::uint16_t>(poly_[2 * (k % n)])});
}

void WmfDriver::point(Global& g, float x, float y, int mode) {
  float X, Y;
  qqdown(g, x, y, X, Y);
  qqwmf4(rnd(X), rnd(Y), mode);
}

void WmfDriver::polygon(Global& g, const float* xs, const float* ys, int n) {
  float s = g.deviceScale;
  qqwmf6(g, n, 0, 1);
  for (int k = 0; k < n; ++k) qqwmf6(g, rnd(xs[k] * s), rnd(ys[k] * s), 2);
  qqwmf6(g, 0, 0, 9);
}

void WmfDriver::box(Global& g, float x1, float y1, float x2, float y2, int colour) {
  float s = g.deviceScale;
  int X1 = rnd(x1 * s), Y1 = rnd(y1 * s), X2 = rnd(x2 * s), Y2 = rnd(y2 * s);
  int r, gr, b;
  entryRgb(g, colour, r, gr, b);
  qqwmf5(X1, Y1, X2 - X1 + 1, Y2 - Y1 + 1, r, gr, b);
}

void WmfDriver::colour(Global& g, int index) {
  int r, gr, b;
  entryRgb(g, index, r, gr, b);
  qqwmf3(r, gr, b);
}

int WmfDriver::finish(Global& g) {
  xjdraw(g, 0.0f, 0.0f, 3);
  return qqwmf2(g);
}

std::vector<std::uint8_t> WmfDriver::placeableHeader(int a, int b) {
  const std::uint16_t words[10] = {0xCDD7, 0x9AC6, 0, 0, 0, static_cast<std::uint16_t>(a),
                                   static_cast<std::uint16_t>(b), 1440, 0, 0};
  std::uint16_t sum = 0;
  std::vector<std::uint8_t> out;
  for (std::uint16_t w : words) {
    sum ^= w;
    putLe16(out, w);
  }
  putLe16(out, sum);
  return out;
}

int WmfDriver::qqwmf2(Global& g) {
  if (!open_) return 0;
  record(kEof, {});
  open_ = false;
  if (!g.outFile) return 0;

  // The recording is complete in memory, so the placeable header goes in
  // front of it in the same pass: no work file, no second copy.
  if (g.wmfOption != 1) {
    std::vector<std::uint8_t> ph = placeableHeader(a_, b_);
    g.outFile->write(ph.data(), ph.size());
  }
  std::vector<std::uint8_t> head;
  std::uint32_t total = static_cast<std::uint32_t>((18 + body_.size()) / 2);
  putLe16(head, 1);       // in memory
  putLe16(head, 9);       // header words
  putLe16(head, 0x0300);  // version
  putLe32(head, total);
  putLe16(head, static_cast<unsigned>(maxObjects_));
  putLe32(head, maxRecord_);
  putLe16(head, 0);
  g.outFile->write(head.data(), head.size());
  g.outFile->write(body_.data(), body_.size());
  body_.clear();
  body_.shrink_to_fit();
  return 1;
}

}  // namespace korvan
