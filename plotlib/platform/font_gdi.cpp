// The font service on Windows: GDI fonts (CreateFontIndirectA), measured
// with GetTextExtentPoint32A and drawn with TextOutA. A text is drawn white
// on black into a scratch DIB section of its bounding box and then put into
// the surface in the text colour, so that the surface may be any memory
// (the window's bitmap, or the palette indices of a palette screen).
#if defined(_WIN32)

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "platform/font_service.h"
#include "platform/font_table.h"

namespace korvan::platform {

namespace {

class GdiFonts final : public FontService {
 public:
  GdiFonts() : dc_(CreateCompatibleDC(nullptr)) {}
  ~GdiFonts() override {
    fonts_.clear();
    if (dc_) DeleteDC(dc_);
  }

  int create(const char* name, int size, float angle, bool antialias) override {
    if (!dc_ || size < 1) return 0;
    std::string face = trimmedName(name);
    LOGFONTA lf{};
    lf.lfHeight = size;  // positive: the height of the character cell
    int tenths = static_cast<int>(std::lround(static_cast<double>(angle) * 10.0));
    lf.lfEscapement = tenths;
    lf.lfOrientation = tenths;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = ANSI_CHARSET;
    lf.lfOutPrecision = OUT_TT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = antialias ? ANTIALIASED_QUALITY : NONANTIALIASED_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", face.c_str());
    HFONT handle = CreateFontIndirectA(&lf);
    if (!handle) return 0;
    return fonts_.add(handle, angle, antialias);
  }

  void release(int id) override { fonts_.release(id); }

  int width(int id, unsigned char code) override {
    Font* font = fonts_.find(id);
    if (!font) return 0;
    char text[1] = {static_cast<char>(code)};
    SIZE size{};
    HGDIOBJ old = SelectObject(dc_, font->handle);
    BOOL ok = GetTextExtentPoint32A(dc_, text, 1, &size);
    SelectObject(dc_, old);
    return ok ? static_cast<int>(size.cx) : 0;
  }

  void draw(int id, const Surface& surface, int x, int y, const char* text,
            std::uint32_t rgb) override {
    Font* font = fonts_.find(id);
    if (!font || !text || !*text || !surface.pixels) return;
    int n = static_cast<int>(std::strlen(text));
    HGDIOBJ oldFont = SelectObject(dc_, font->handle);
    SIZE ext{};
    GetTextExtentPoint32A(dc_, text, n, &ext);
    SelectObject(dc_, oldFont);
    // The bounding box of the turned text cell (y downwards), with room
    // for overhangs.
    double ax = ext.cx * font->cos, ay = -ext.cx * font->sin;
    double dx = ext.cy * font->sin, dy = ext.cy * font->cos;
    double xs[4] = {0, ax, dx, ax + dx}, ys[4] = {0, ay, dy, ay + dy};
    int pad = static_cast<int>(ext.cy) / 2 + 2;
    int x0 = x + static_cast<int>(std::floor(*std::min_element(xs, xs + 4))) - pad;
    int y0 = y + static_cast<int>(std::floor(*std::min_element(ys, ys + 4))) - pad;
    int x1 = x + static_cast<int>(std::ceil(*std::max_element(xs, xs + 4))) + pad;
    int y1 = y + static_cast<int>(std::ceil(*std::max_element(ys, ys + 4))) + pad;
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, surface.width);
    y1 = std::min(y1, surface.height);
    if (x1 <= x0 || y1 <= y0) return;
    int w = x1 - x0, h = y1 - y0;

    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP scratch = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!scratch || !bits) {
      if (scratch) DeleteObject(scratch);
      return;
    }
    std::memset(bits, 0, static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
    HGDIOBJ oldBitmap = SelectObject(dc_, scratch);
    oldFont = SelectObject(dc_, font->handle);
    SetTextColor(dc_, RGB(255, 255, 255));
    SetBkMode(dc_, TRANSPARENT);
    SetTextAlign(dc_, TA_TOP | TA_LEFT | TA_NOUPDATECP);
    TextOutA(dc_, x - x0, y - y0, text, n);
    GdiFlush();
    SelectObject(dc_, oldFont);
    SelectObject(dc_, oldBitmap);

    const auto* src = static_cast<const std::uint32_t*>(bits);
    for (int row = 0; row < h; ++row) {
      std::uint32_t* dst = surface.pixels + static_cast<std::ptrdiff_t>(y0 + row) * surface.stride;
      for (int col = 0; col < w; ++col) {
        std::uint32_t v = src[static_cast<std::ptrdiff_t>(row) * w + col];
        unsigned a = std::max({v >> 16 & 255u, v >> 8 & 255u, v & 255u});
        if (a == 0) continue;
        std::uint32_t& d = dst[x0 + col];
        if (!font->antialias)
          d = rgb;  // also right for a surface of palette indices
        else
          d = a == 255 ? rgb : blendRgb(d, rgb, a);
      }
    }
    DeleteObject(scratch);
  }

 private:
  using Font = FontTable<HFONT>::Font;
  static void freeFont(HFONT font) { DeleteObject(font); }

  HDC dc_;
  FontTable<HFONT> fonts_{freeFont};
};

}  // namespace

FontService& fontService() {
  static GdiFonts fonts;
  return fonts;
}

}  // namespace korvan::platform

#endif  // _WIN32
