// The one table of device codes: for each code range its keywords, file
// extension, class, file kind, the colour and background traits the
// drawing layer asks about, and the driver that serves it. The rest of the
// library asks this table (or the driver) and never compares codes itself.
#pragma once

namespace korvan {

class Driver;

enum class DeviceClass {
  None,      // no output chosen, or a code no row knows
  Screen,    // a window (codes 72 .. 80)
  Terminal,  // terminals and printers without a driver of their own
  Metafile,  // the text metafile
  Cgm,
  Wmf,
  Kyocera,
  Hpgl,
  PostScript,
  Pdf,
  Raster,    // the virtual raster and the image files
  Java,
  Svg,
};

enum class FileKind {
  None,     // nothing written
  Lines,    // text through the 80-character line buffer
  Records,  // binary 80-byte records through the same buffer
  Text,     // a text file the driver writes directly
  Bytes,    // a binary file the driver writes directly
};

struct DeviceInfo {
  int lo, hi;
  const char* ext;  // file extension without the dot; "" for none
  DeviceClass cls;
  FileKind file;
  bool pixels;          // drawn into pixels: clip margin, bitmap fonts
  bool windowFonts;     // the fonts of the window system can be used
  bool paperBackground; // background mode 2 from korini on
  bool paperColours;    // white background of the plain tables
  bool smallTableOnly;  // every colour table becomes the small one
  bool swappedEnds;     // the first colour changes places with the last
  bool blackFirst;      // the first named colour is black on plain tables
  bool smooth;          // smooth("ON") draws it anti-aliased in true colour
  const char* defaultTable;
  Driver* (*make)(int code);
};

// The row of a device code; a row of class None for unknown codes.
const DeviceInfo& deviceInfo(int code);

// The driver for a device code; never null.
Driver* makeDriver(int device);

// Device code of an output keyword (0: unknown) and the file extension of
// a code (returns its length).
int qqgdnr(const char* keyword);
int qqgfxt(int code, char* text);
// The code stored for a keyword's code (the console becomes window 80).
int qqgdst(int code);

}  // namespace korvan
