// Window fonts from the operating system, for the screen and the Windows
// metafile: a font is made by name at a pixel height and an angle, measured
// per character and drawn into a window surface. Nothing here names a type
// of a font or window system, so that FreeType/fontconfig on Linux and GDI on
// Windows sit behind the same line.
//
// Entry points: fontService(); the FontService methods.
#pragma once

#include <cstdint>

#include "platform/window_system.h"

namespace korvan::platform {

class FontService {
 public:
  virtual ~FontService() = default;

  // A font of the family name, size pixels high (the cell height), turned by
  // angle degrees counter-clockwise. Returns an id > 0, or 0 when no font at
  // all can be made (a name the system cannot resolve falls back to its
  // default sans font).
  virtual int create(const char* name, int size, float angle, bool antialias) = 0;
  virtual void release(int font) = 0;
  // Advance of the character code in pixels along the text direction.
  virtual int width(int font, unsigned char code) = 0;
  // Draws text with the top-left corner of its first cell at (x, y) in
  // colour rgb (0x00RRGGBB), clipped to the surface.
  virtual void draw(int font, const Surface& surface, int x, int y, const char* text,
                    std::uint32_t rgb) = 0;
};

// The process-wide font service of the platform, made on first use; without
// any usable font system it is a service whose create() returns 0.
FontService& fontService();

}  // namespace korvan::platform
