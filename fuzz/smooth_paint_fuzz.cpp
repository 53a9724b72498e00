// libFuzzer target: smooth painting of arbitrary strokes, polygons and
// rectangles (any floats: NaN, infinite, huge, tiny widths) into a small
// buffer whose surroundings must stay untouched.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "devices/raster/smooth.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  constexpr int kPad = 32;
  const int w = 1 + data[0] % 40, h = 1 + data[1] % 30;
  const std::ptrdiff_t stride = (data[2] & 1) ? 4 * w : 3 * w + (data[2] >> 1) % 4;
  const auto layout = (data[2] & 1) ? korvan::PixelLayout::Xrgb32 : korvan::PixelLayout::Rgb24;
  std::vector<std::uint8_t> bytes(2 * kPad + stride * h, 0x5A);
  korvan::SmoothPainter painter;
  painter.attach(bytes.data() + kPad, w, h, stride, layout);
  painter.colour(data[3], 7, 200);
  std::vector<float> xs, ys;
  std::size_t i = 4;
  while (i + 1 + 8 <= size) {
    const std::uint8_t op = data[i++];
    const int n = 1 + op % 13;
    xs.clear();
    ys.clear();
    for (int k = 0; k < n && i + 8 <= size; ++k, i += 8) {
      float x, y;
      std::memcpy(&x, data + i, 4);
      std::memcpy(&y, data + i + 4, 4);
      xs.push_back(x);
      ys.push_back(y);
    }
    const int m = static_cast<int>(xs.size());
    switch ((op >> 4) % 4) {
      case 0:
        painter.fill(xs.data(), ys.data(), m);
        break;
      case 1:
        if (m >= 2) painter.rect(xs[0], ys[0], xs[1], ys[1]);
        break;
      default:
        painter.stroke(xs.data(), ys.data(), m, m > 0 ? static_cast<double>(xs[0]) : 1.0,
                       static_cast<korvan::LineCap>(op % 3));
        break;
    }
  }
  for (int k = 0; k < kPad; ++k)
    if (bytes[k] != 0x5A || bytes[bytes.size() - 1 - k] != 0x5A) std::abort();
  return 0;
}
