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

namespace korvan::platform {

namespace {

constexpr double kPi = 3.14159265358979323846;

bool sameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

std::string trimmed(const char* name) {
  std::string s = name ? name : "";
  std::size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

class FreeTypeFonts final : public FontService {
 public:
  FreeTypeFonts() {
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
  }
  ~FreeTypeFonts() override {
    for (auto& [id, font] : fonts_) FT_Done_Face(font.face);
    if (library_) FT_Done_FreeType(library_);
  }

  int create(const char* name, int size, float angle, bool antialias) override {
    if (!library_ || size < 1) return 0;
    std::string file;
    int index = 0;
    if (!resolve(trimmed(name), file, index)) return 0;
    FT_Face face = nullptr;
    if (FT_New_Face(library_, file.c_str(), index, &face) != 0) return 0;
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    if (!setCellHeight(face, size)) {
      FT_Done_Face(face);
      return 0;
    }
    Font font;
    font.face = face;
    font.antialias = antialias;
    double a = static_cast<double>(angle) * kPi / 180.0;
    font.cos = std::cos(a);
    font.sin = std::sin(a);
    font.ascent = static_cast<double>(face->size->metrics.ascender) / 64.0;
    int id = next_++;
    fonts_[id] = font;
    return id;
  }

  void release(int id) override {
    auto it = fonts_.find(id);
    if (it == fonts_.end()) return;
    FT_Done_Face(it->second.face);
    fonts_.erase(it);
  }

  int width(int id, unsigned char code) override {
    Font* font = find(id);
    if (!font) return 0;
    FT_Set_Transform(font->face, nullptr, nullptr);
    if (FT_Load_Char(font->face, code, loadFlags(*font)) != 0) return 0;
    return static_cast<int>(std::lround(font->face->glyph->metrics.horiAdvance / 64.0));
  }

  void draw(int id, const Surface& surface, int x, int y, const char* text,
            std::uint32_t rgb) override {
    Font* font = find(id);
    if (!font || !text || !surface.pixels) return;
    FT_Face face = font->face;
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
  struct Font {
    FT_Face face = nullptr;
    bool antialias = true;
    double cos = 1.0, sin = 0.0;
    double ascent = 0.0;  // pixels
  };

  Font* find(int id) {
    auto it = fonts_.find(id);
    return it == fonts_.end() ? nullptr : &it->second;
  }

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
          dst[x] = a == 255 ? rgb : blend(dst[x], rgb, a);
        }
      }
    }
  }

  static std::uint32_t blend(std::uint32_t under, std::uint32_t over, unsigned a) {
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      unsigned u = under >> shift & 255, o = over >> shift & 255;
      out |= ((o * a + u * (255 - a) + 127) / 255) << shift;
    }
    return out;
  }

  FT_Library library_ = nullptr;
  std::map<int, Font> fonts_;
  int next_ = 1;
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
