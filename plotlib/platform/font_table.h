// What both font services keep: the fonts made so far by id, each with the
// system's handle and the direction of its text, and the helpers of their
// create and draw steps.
#pragma once

#include <cmath>
#include <cstdint>
#include <map>
#include <string>

namespace korvan::platform {

template <class Handle>
class FontTable {
 public:
  struct Font {
    Handle handle{};
    bool antialias = true;
    double cos = 1.0, sin = 0.0;  // of the text direction
    double ascent = 0.0;          // pixels from the cell top to the baseline
  };

  explicit FontTable(void (*free)(Handle)) : free_(free) {}
  FontTable(const FontTable&) = delete;
  FontTable& operator=(const FontTable&) = delete;
  ~FontTable() { clear(); }

  // A new font turned by angle degrees counter-clockwise; returns its id.
  int add(Handle handle, float angle, bool antialias, double ascent = 0.0) {
    constexpr double kPi = 3.14159265358979323846;
    Font font;
    font.handle = handle;
    font.antialias = antialias;
    double a = static_cast<double>(angle) * kPi / 180.0;
    font.cos = std::cos(a);
    font.sin = std::sin(a);
    font.ascent = ascent;
    int id = next_++;
    fonts_[id] = font;
    return id;
  }
  Font* find(int id) {
    auto it = fonts_.find(id);
    return it == fonts_.end() ? nullptr : &it->second;
  }
  void release(int id) {
    auto it = fonts_.find(id);
    if (it == fonts_.end()) return;
    free_(it->second.handle);
    fonts_.erase(it);
  }
  // Frees every font; the owner calls it before it shuts its font system down.
  void clear() {
    for (auto& [id, font] : fonts_) free_(font.handle);
    fonts_.clear();
  }

 private:
  void (*free_)(Handle);
  std::map<int, Font> fonts_;
  int next_ = 1;
};

// A family name without the blanks around it.
inline std::string trimmedName(const char* name) {
  std::string s = name ? name : "";
  std::size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// over on top of under (both 0x00RRGGBB) with coverage a of 255.
inline std::uint32_t blendRgb(std::uint32_t under, std::uint32_t over, unsigned a) {
  std::uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    unsigned u = under >> shift & 255, o = over >> shift & 255;
    out |= ((o * a + u * (255 - a) + 127) / 255) << shift;
  }
  return out;
}

}  // namespace korvan::platform
