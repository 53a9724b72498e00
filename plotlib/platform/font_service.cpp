// The font service where the platform provides none: no fonts.
#if !defined(KORVAN_HAVE_FREETYPE) && !defined(_WIN32)

#include "platform/font_service.h"

namespace korvan::platform {

namespace {

class NoFonts final : public FontService {
 public:
  int create(const char*, int, float, bool) override { return 0; }
  void release(int) override {}
  int width(int, unsigned char) override { return 0; }
  void draw(int, const Surface&, int, int, const char*, std::uint32_t) override {}
};

}  // namespace

FontService& fontService() {
  static NoFonts none;
  return none;
}

}  // namespace korvan::platform

#endif  // !KORVAN_HAVE_FREETYPE && !_WIN32
