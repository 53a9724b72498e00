// libFuzzer target: reading a raster dump.
#include "devices/raster/dump.h"
#include "fuzz_raster.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  korvan::fuzz::readTwice(data, size, [](korvan::ByteSource& in, korvan::VirtualRaster& r, int,
                                         int) { return korvan::qqvfilRead(in, r); });
  return 0;
}
