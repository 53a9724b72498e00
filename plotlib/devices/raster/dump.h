// The raster dump: an 80-byte text header ("!Bitmap KORVAN VIRT " and nine
// numbers) followed by the pixel buffer in its memory layout.
#pragma once

#include <cstddef>

#include "devices/raster/raster.h"

namespace korvan {

struct Global;
class ByteSink;
class ByteSource;

// Writes (read 0) or reads (read 1) the raster dump. Codes: 0 done, 1 cannot
// open (or write), 2 out of memory, 3 bad header, 4 the file ends early.
int qqvfil(Global& g, VirtualRaster& raster, char* path, std::size_t cap, int read);

// The two halves on streams. tag is the 20-character name of the writer.
int qqvfilWrite(ByteSink& out, const VirtualRaster& raster, const char* tag);
int qqvfilRead(ByteSource& in, VirtualRaster& raster);

}  // namespace korvan
