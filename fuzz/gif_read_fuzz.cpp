// libFuzzer target: reading a GIF file.
#include "devices/image/image.h"
#include "fuzz_raster.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  korvan::fuzz::readTwice(data, size,
                          [](korvan::ByteSource& in, korvan::VirtualRaster& r, int x, int y) {
                            return korvan::qqpigif(in, r, x, y);
                          });
  return 0;
}
