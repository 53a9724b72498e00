#include "devices/raster/agif_driver.h"

#include <algorithm>
#include <cstring>

#include "core/sink.h"
#include "core/state.h"
#include "devices/image/image.h"
#include "korvan.h"

namespace korvan {

namespace {

void colourTable(ByteSink& out, const int* table) {
  std::uint8_t bytes[3 * 256];
  for (int i = 0; i < 256; ++i) {
    bytes[3 * i] = static_cast<std::uint8_t>((table[i] >> 16) & 255);
    bytes[3 * i + 1] = static_cast<std::uint8_t>((table[i] >> 8) & 255);
    bytes[3 * i + 2] = static_cast<std::uint8_t>(table[i] & 255);
  }
  out.write(bytes, sizeof bytes);
}

// The smallest rectangle holding every pixel that differs; false when none.
bool changed(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, int w, int h,
             int& x0, int& y0, int& x1, int& y1) {
  x0 = w;
  y0 = h;
  x1 = y1 = -1;
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* p = a.data() + static_cast<std::size_t>(y) * w;
    const std::uint8_t* q = b.data() + static_cast<std::size_t>(y) * w;
    if (std::memcmp(p, q, static_cast<std::size_t>(w)) == 0) continue;
    int l = 0, r = w - 1;
    while (p[l] == q[l]) ++l;
    while (p[r] == q[r]) --r;
    x0 = std::min(x0, l);
    x1 = std::max(x1, r);
    y0 = std::min(y0, y);
    y1 = y;
  }
  return x1 >= 0;
}

}  // namespace

bool AnimatedGifDriver::addFrame(Global& g, bool always) {
  VirtualRaster& r = raster();
  if (!g.outFile || !r.valid() || failed_) return false;
  const int w = r.width(), h = r.height();
  if (w > 65535 || h > 65535) {
    failed_ = true;
    return false;
  }
  ByteSink& out = *g.outFile;
  // The raster follows the library's table (entries set without a load too).
  r.qqvvlt(g.colourTable);
  const std::size_t n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  current_.resize(n);
  // Colour indices; a true-colour raster gives the nearest entries, so that
  // every frame keeps the one table of the plot and colours do not flicker.
  r.rows(current_.data(), 0, 0, w, h);

  int x0 = 0, y0 = 0, x1 = w - 1, y1 = h - 1;
  bool newTable = frames_ > 0 && std::memcmp(table_, g.colourTable, sizeof table_) != 0;
  if (frames_ > 0 && !newTable && !changed(previous_, current_, w, h, x0, y0, x1, y1)) {
    if (!always) return false;
    x0 = y0 = x1 = y1 = 0;  // one unchanged pixel keeps the frame's place in time
  }

  if (frames_ == 0) {
    std::memcpy(globalTable_, g.colourTable, sizeof globalTable_);
    out.puts("GIF89a");
    out.le16(static_cast<unsigned>(w));
    out.le16(static_cast<unsigned>(h));
    const std::uint8_t screen[3] = {0xF7, 0, 0};  // global table of 256 entries
    out.write(screen, 3);
    colourTable(out, globalTable_);
    // Application extension: the animation repeats without end.
    static const std::uint8_t loop[19] = {0x21, 0xFF, 11,  'N', 'E', 'T', 'S', 'C', 'A', 'P',
                                          'E',  '2',  '.', '0', 3,   1,   0,   0,   0};
    out.write(loop, sizeof loop);
  }
  // Graphic control: the frame stays in place (disposal 1) for the delay.
  const int delay = std::clamp(g.frameDelay, 0, 65535);
  const std::uint8_t control[8] = {0x21, 0xF9, 4, 0x04, static_cast<std::uint8_t>(delay & 255),
                                   static_cast<std::uint8_t>(delay >> 8), 0, 0};
  out.write(control, sizeof control);
  const int fw = x1 - x0 + 1, fh = y1 - y0 + 1;
  out.put(',');
  out.le16(static_cast<unsigned>(x0));
  out.le16(static_cast<unsigned>(y0));
  out.le16(static_cast<unsigned>(fw));
  out.le16(static_cast<unsigned>(fh));
  // A table that differs from the global one goes with the frame.
  bool local = std::memcmp(globalTable_, g.colourTable, sizeof globalTable_) != 0;
  out.put(static_cast<char>(local ? 0x87 : 0));
  if (local) colourTable(out, g.colourTable);
  std::vector<std::uint8_t> part(static_cast<std::size_t>(fw) * static_cast<std::size_t>(fh));
  for (int y = 0; y < fh; ++y)
    std::memcpy(part.data() + static_cast<std::size_t>(y) * fw,
                current_.data() + static_cast<std::size_t>(y0 + y) * w + x0, static_cast<std::size_t>(fw));
  if (qqplzw(out, part.data(), part.size()) != 0) {
    failed_ = true;
    return false;
  }
  previous_.swap(current_);
  std::memcpy(table_, g.colourTable, sizeof table_);
  ++frames_;
  return true;
}

void AnimatedGifDriver::flush(Global& g) { addFrame(g, true); }

int AnimatedGifDriver::finish(Global& g) {
  int written = 0;
  if (g.outFile) {
    // What was drawn after the last frame; a plot without sendbf is one frame.
    addFrame(g, frames_ == 0);
    if (frames_ > 0) {
      g.outFile->put(';');
      written = 1;
    }
  }
  raster().qqvfin();
  return written;
}

}  // namespace korvan

using namespace korvan;

extern "C" {

void frmdly(int n) {
  Global* g = jqqlev(0, 1, "frmdly");
  if (!g || !jqqval(*g, n, 0, 65535)) return;
  g->frameDelay = n;
}

void frmdly_(const int* n) { frmdly(*n); }

}  // extern "C"
