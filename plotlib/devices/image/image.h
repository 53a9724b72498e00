// The image files: writers for PNG, GIF, BMP, TIFF and PPM, the readers of
// BMP and GIF, their helpers, and qqrfil, which writes the image of a plot at
// its end.
//
// Every writer reads its pixels through a RowReader (the virtual raster or
// the captured window image) and returns 0, -1 (file cannot be opened or
// written), -2 (out of memory) or, for PNG, -3/-4/-5 (deflate failures).
// Each exists in two forms: onto a ByteSink, and into a new file whose name
// is made unique first (qqopfl; the name buffer receives the name used).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

#include "devices/raster/raster.h"

namespace korvan {

struct Global;
class ByteSink;
class ByteSource;

// The inputs that every writer takes.
struct ImageInfo {
  int device = 0;        // device code, negated for the RGB form (true-colour raster)
  int byteOrder = 1;     // 1: the host stores the least significant byte first
  int width = 0, height = 0;
  const int* table = nullptr;  // the 256-entry colour table, packed 0xRRGGBB
  int paletteCount = 256;      // 9 (small table), 16 (16-colour table) or 256
  // The pixels are blended (smooth drawing): a format with a palette gets
  // one made for the image (qqpqnt), not the colour table.
  bool blended = false;
  bool rgb() const { return device < 0; }
};

// Reduces a true-colour image to at most 256 colours for the palette
// formats. The colours of the table that occur in the image keep entries of
// their own, so pixels wholly in a plot colour stay exact; the other colours
// (blended edges) share the remaining entries, chosen by median cut. rgb
// holds count pixels as R, G, B; indices receives an entry per pixel and
// palette the entries as 0xRRGGBB. Returns the number of entries (at least
// 1), or 0 when memory runs out.
int qqpqnt(const std::uint8_t* rgb, std::size_t count, const int table[256], int palette[256],
           std::uint8_t* indices);

// 1 when this processor stores integers least significant byte first.
int qqpord();

int qqppng(ByteSink& out, const ImageInfo& info, RowReader& reader, int transparent);
int qqppng(Global& g, char* name, std::size_t cap, const ImageInfo& info, RowReader& reader,
           int transparent);
// The memory form: length carries the capacity of buffer in and the length
// of the file out. Capacity 0 only measures; a buffer that is too small gives
// -2 and length 0.
int qqppng(std::uint8_t* buffer, int* length, const ImageInfo& info, RowReader& reader,
           int transparent);

int qqpgif(ByteSink& out, const ImageInfo& info, RowReader& reader, int background,
           int transparent);
int qqpgif(Global& g, char* name, std::size_t cap, const ImageInfo& info, RowReader& reader,
           int background, int transparent);

// The LZW-coded image data of one GIF image of n 8-bit indices: the code
// size, the data sub-blocks and the block terminator. -2 out of memory.
int qqplzw(ByteSink& out, const std::uint8_t* pixels, std::size_t n);

int qqpbmp(ByteSink& out, const ImageInfo& info, RowReader& reader);
int qqpbmp(Global& g, char* name, std::size_t cap, const ImageInfo& info, RowReader& reader);

int qqptif(ByteSink& out, const ImageInfo& info, RowReader& reader, int resolution, int unit);
int qqptif(Global& g, char* name, std::size_t cap, const ImageInfo& info, RowReader& reader,
           int resolution, int unit);

int qqpppm(ByteSink& out, const ImageInfo& info, RowReader& reader);
int qqpppm(Global& g, char* name, std::size_t cap, const ImageInfo& info, RowReader& reader);

// Creates the file (exclusively, versioned), lets write fill it and closes
// it. -1 when it cannot be created or a write failed (warning 36 is given by
// the file routines), else the code of write.
int qqpfile(Global& g, char* name, std::size_t cap, const std::function<int(ByteSink&)>& write);

// CRC-32 of the PNG chunks; qqpcrcx continues a running CRC (start with 0).
std::uint32_t qqpcrc(const std::uint8_t* data, std::size_t n);
std::uint32_t qqpcrcx(std::uint32_t crc, const std::uint8_t* data, std::size_t n);
// Byte order reversal in place: n 32-bit words, n 16-bit words.
void qqpswp(std::uint8_t* words, int n);
void qqpswp2(std::uint8_t* words, int n);
// Appends n bytes at position of a buffer of the given capacity: capacity 0
// only counts (returns position + n); 0 when the data would not fit;
// otherwise the new position.
int qqpbuf(std::uint8_t* buffer, int capacity, int position, const std::uint8_t* data, int n);

// Image input: the image is stored with its upper-left corner at (x, y) of
// the raster through qqvrow, cut to the raster. Codes: 0 done, 1 cannot open,
// 2 out of memory, 3 bad or unsupported header, 4 the data end early or are
// corrupt (the rows decoded so far are stored).
int qqpibmp(const char* path, VirtualRaster& raster, int x, int y);
int qqpibmp(ByteSource& in, VirtualRaster& raster, int x, int y);
int qqpigif(const char* path, VirtualRaster& raster, int x, int y);
int qqpigif(ByteSource& in, VirtualRaster& raster, int x, int y);
// Stores one decoded row (n > 0 indices, n < 0 R, G, B triples).
void qqprow(VirtualRaster& raster, const std::uint8_t* data, int x, int y, int n);

// The image of the plot at its end: format 1 TIFF, 2 raster dump, 4 PNG,
// 5 PPM, 6 BMP, 7 GIF. With a screen output the window image is captured
// (raster is then ignored). Reports failures as warnings and returns the
// writer's code (0 written).
int qqrfil(Global& g, char* path, std::size_t cap, int format, VirtualRaster* raster);
// The same onto the plot's open output file (named in warnings by
// outFileName); write errors show when the file is closed.
int qqrfil(Global& g, ByteSink& out, int format, VirtualRaster* raster);
// The raster dump of the window image.
int qqwfil(Global& g, char* path, std::size_t cap);

}  // namespace korvan
