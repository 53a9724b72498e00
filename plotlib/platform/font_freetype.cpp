// The font service on Linux: fontconfig finds the font file of a family
// name, FreeType measures and renders its glyphs. A name that fontconfig
// cannot resolve gets its default sans font, with one notice per name.
#if defined(KORVAN_HAVE_FREETYPE)

#include <ft2build.h>
#include FT_FREETYPE_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "platform/font_service.h"
#include "platform/font_table.h"

namespace korvan::platform {

namespace {

bool sameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

class FreeTypeFonts final : public FontService {
 public:
  FreeTypeFonts() {
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
  }
  ~FreeTypeFonts() override {
    fonts_.clear();  // the faces go before their library
    if (library_) FT_Done_FreeType(library_);
  }

  int create(const char* name, int size, float angle, bool antialias) override {
    if (!library_ || size < 1) return 0;
    std::string file;
    int index = 0;
    if (!resolve(trimmedName(name), file, index)) return 0;
    FT_Face face = nullptr;
    if (FT_New_Face(library_, file.c_str(), index, &face) != 0) return 0;
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    if (!setCellHeight(face, size)) {
      FT_Done_Face(face);
      return 0;
    }
    return fonts_.add(face, angle, antialias,
                      static_cast<double>(face->size->metrics.ascender) / 64.0);
  }

  void release(int id) override { fonts_.release(id); }

  int width(int id, unsigned char code) override {
    Font* font = fonts_.find(id);
    if (!font) return 0;
    FT_Set_Transform(font->handle, nullptr, nullptr);
    if (FT_Load_Char(font->handle, code, loadFlags(*font)) != 0) return 0;
    return static_cast<int>(std::lround(font->handle->glyph->metrics.horiAdvance / 64.0));
  }

  void draw(int id, const Surface& surface, int x, int y, const char* text,
            std::uint32_t rgb) override {
    Font* font = fonts_.find(id);
    if (!font || !text || !surface.pixels) return;
    FT_Face face = font->handle;
    // FreeType turns counter-clockwise with y up; the surface has y down.
    FT_Matrix m;
    m.xx = static_cast<FT_Fixed>(std::lround(font->cos * 65536.0));
    m.xy = static_cast<FT_Fixed>(std::lround(-font->sin * 65536.0));
    m.yx = static_cast<FT_Fixed>(std::lround(font->sin * 65536.0));
    m.yy = m.xx;
    // The baseline origin lies the ascent below the top of the cell, along
    // the turned downward direction.
    double penX = x + font->ascent * font->sin;
    double penY = y + font->ascent * font->cos;
    for (const char* p = text; *p; ++p) {
      FT_Set_Transform(face, &m, nullptr);
      if (FT_Load_Char(face, static_cast<unsigned char>(*p), loadFlags(*font) | FT_LOAD_RENDER) !=
          0)
        continue;
      FT_GlyphSlot slot = face->glyph;
      int ox = static_cast<int>(std::floor(penX + 0.5)) + slot->bitmap_left;
      int oy = static_cast<int>(std::floor(penY + 0.5)) - slot->bitmap_top;
      blit(slot->bitmap, surface, ox, oy, rgb);
      penX += slot->advance.x / 64.0;
      penY -= slot->advance.y / 64.0;
    }
  }

 private:
  using Font = FontTable<FT_Face>::Font;
  static void freeFace(FT_Face face) { FT_Done_Face(face); }

  static FT_Int32 loadFlags(const Font& font) {
    return font.antialias ? FT_LOAD_TARGET_NORMAL : (FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME);
  }

  // The size is the height of the cell, ascent plus descent, as a window
  // system's font height is.
  static bool setCellHeight(FT_Face face, int size) {
    if (FT_IS_SCALABLE(face)) {
      long cell = static_cast<long>(face->ascender) - face->descender;
      if (cell <= 0) cell = face->units_per_EM;
      double em = static_cast<double>(size) * face->units_per_EM / static_cast<double>(cell);
      FT_UInt px = static_cast<FT_UInt>(std::max(1L, std::lround(em)));
      return FT_Set_Pixel_Sizes(face, 0, px) == 0;
    }
    if (face->num_fixed_sizes <= 0) return false;
    int best = 0;
    for (int i = 1; i < face->num_fixed_sizes; ++i)
      if (std::abs(face->available_sizes[i].height - size) <
          std::abs(face->available_sizes[best].height - size))
        best = i;
    return FT_Select_Size(face, best) == 0;
  }

  // The font file of a family name through fontconfig.
  bool resolve(const std::string& name, std::string& file, int& index) {
    if (!FcInit()) return false;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(name.empty() ? "sans-serif" : name.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return false;
    FcChar8* path = nullptr;
    FcChar8* family = nullptr;
    bool ok = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path;
    if (ok) {
      file = reinterpret_cast<const char*>(path);
      if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
      bool named = name.empty();
      for (int i = 0; !named && FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch;
           ++i)
        named = sameName(reinterpret_cast<const char*>(family), name);
      if (!named && noticed_.insert(name).second) {
        const char* used = FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch
                               ? reinterpret_cast<const char*>(family)
                               : "sans-serif";
        std::fprintf(stderr, "KORVAN: font \"%s\" not found; \"%s\" is used instead.\n",
                     name.c_str(), used);
      }
    }
    FcPatternDestroy(match);
    return ok;
  }

  // A rendered glyph into the surface: coverage blended in anti-aliased
  // mode, the value itself for the set pixels of a monochrome glyph (which
  // is also right for a surface of palette indices).
  static void blit(const FT_Bitmap& bm, const Surface& s, int ox, int oy, std::uint32_t rgb) {
    for (unsigned row = 0; row < bm.rows; ++row) {
      int y = oy + static_cast<int>(row);
      if (y < 0 || y >= s.height) continue;
      const unsigned char* src = bm.buffer + static_cast<std::ptrdiff_t>(row) * bm.pitch;
      std::uint32_t* dst = s.pixels + static_cast<std::ptrdiff_t>(y) * s.stride;
      for (unsigned col = 0; col < bm.width; ++col) {
        int x = ox + static_cast<int>(col);
        if (x < 0 || x >= s.width) continue;
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
          if (src[col >> 3] & (0x80 >> (col & 7))) dst[x] = rgb;
        } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
          unsigned a = src[col];
          if (a == 0) continue;
          dst[x] = a == 255 ? rgb : blendRgb(dst[x], rgb, a);
        }
      }
    }
  }

  FT_Library library_ = nullptr;
  FontTable<FT_Face> fonts_{freeFace};
  std::set<std::string> noticed_;
};

}  // namespace

FontService& fontService() {
  static FreeTypeFonts fonts;
  return fonts;
}

}  // namespace korvan::platform

// fontconfig loses a few bytes while it parses its configuration, once per
// process; that is none of ours for the leak checker.
#if defined(__SANITIZE_ADDRESS__)
#define KORVAN_LSAN_HOOK 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KORVAN_LSAN_HOOK 1
#endif
#endif
#if defined(KORVAN_LSAN_HOOK)
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

#endif  // KORVAN_HAVE_FREETYPE
