// The global state block: the one record of library state, created at first
// use (qqsglb) and reached through qqgglb. It is assembled from the field
// groups of the subsystems, so that each group is declared next to the code
// that owns it, but it is one struct, zero-filled when created, and every
// field is reached by its own name (g.level, g.lineWidth, g.colourTable...).
#pragma once

#include <cstdio>
#include <ctime>
#include <initializer_list>

#include "axes/axis_fields.h"
#include "charts/chart_fields.h"
#include "core/line_buffer.h"
#include "core/sink.h"
#include "devices/device_fields.h"
#include "draw/draw_fields.h"
#include "fields/field_fields.h"
#include "text/devfont_fields.h"
#include "text/text_fields.h"

namespace korvan {

struct CoreFields {
  int level;            // plot level 0-3
  int device;           // device code of the selected output; 0 = none
  int vectorCount;      // points sent to the device since korini
  int pageWidth, pageHeight;  // page in plot units
  int shiftX, shiftY;   // plot origin offset
  int clipXmin, clipYmin, clipXmax, clipYmax;  // clipping window
  int noFlip;           // 1 suppresses the y flip of the bottom origin
  int winX, winY, winWidth, winHeight;  // screen window geometry (pixels)
  int winMode;
  int winEndMode, winKeyMode, winDelay;
  int winDisplayMode;
  float plotScale;
  int pdfOptions;
  int cgmVersion;
  int wmfOption;
  int rotation;
  int bgMode;
  int origin;           // 0 top left, 1 bottom left
  int finished;         // 1 after korfin
  int outputChosen;     // 1 after a successful metafl
  int windowNumber;
  float deviceScale;    // device units per plot unit
  float unitScale;      // page units per plot unit
  float pageSizeX, pageSizeY;  // page in page units
  int screenDepth;
  int externalWindow;
  int firstBgMode;
  char deviceName[5];
  char pageFormat[5];
  int messagesOn;
  int warningCount;
  int messageUnit;      // 6 console, 17 error file, 0 silent
  int guiMode;
  int protocolOn;
  int plotCounter;      // per-plot counter cleared by korini
  int plotSwitch1, plotSwitch2;  // per-plot switches set by korini
  char errFileName[260];
  char lastError[132];
  char routineName[16];
  int currentColour;
  char outFileName[260];
  int lineCapacity;     // of the line and record buffers
  std::FILE* messageFile;
  std::unique_ptr<ByteSink> outFile;  // opened and closed by the dispatch
  std::FILE* errFile;
  bool errFileUsed;     // something was written to the error file
  std::unique_ptr<OutputBuffer> lines;  // the file devices' line or record buffer
  int symbolHeight;
  float pi, gp;         // pi and pi/180 as reals
  bool fileError;       // a write or close error on the output file
  // The program's own receiver of every warning (wrncbk), and conmsg("OFF"):
  // nothing on the console (the error file and the receiver still get all).
  void (*warnHook)(int number, const char* routine, const char* text, void* data);
  void* warnHookData;
  int consoleOff;
};

struct Global : CoreFields, DrawFields, DeviceFields, TextFields, DevFontFields, AxisFields,
                ChartFields, FieldFields {};

// The block accessor and its creation (mode 0) and release (mode 1).
int qqsglb(int mode);
Global& qqgglb();

// Level checks. jqqlev returns nullptr (after warning 3) when the level is
// outside lo..hi; chkini checks 1..3 but always returns the block.
Global* jqqlev(int lo, int hi, const char* name);
Global& chkini(const char* name);
// Range check: true if accepted, else warning 2 with the value.
bool jqqval(Global& g, int value, int min, int max);
// Finite check of float arguments: true if all are finite, else warning 2.
bool jqqfin(Global& g, std::initializer_list<float> values);
// A 64-bit result brought back into the range of int.
int qqsat(long long value);
// Keyword lookup in a list of four-character entries separated by one
// character; returns the 1-based position or 0 after warning 2.
int jqqind(Global& g, const char* list, int count, const char* keyword);
// The same without a warning (used by metafl's own lookup).
int jqqfind(const char* list, int count, const char* keyword);

// Keyword normalisation: first four characters, upper case, blank padded.
void qqkey4(const char* keyword, char out[5]);

// Page and parameter set-up of korini.
void defvar(Global& g);
// The pixel size the page gives the screen window and the raster outputs.
void qqpgpx(const Global& g, int& width, int& height);
void resall(Global& g);
// Reset hooks of the subsystems, called by resall in this order.
void resdrw(Global& g);   // drawing: styles, widths, colours, fills, symbols
void restxt(Global& g);   // text and fonts
void resaxs(Global& g);   // axis systems
void resatt(Global& g);   // the four axis-attribute switches (endgrf)
void reschr(Global& g);   // titles, bars, error bars

// Warnings (errors.cpp).
void errmes(Global& g, int n);
void warnin(Global& g, int n);
void warni1(Global& g, int n, int value);
void warnc1(Global& g, int n, const char* text);
void qqserr(Global& g, const char* text);
// The file that messages go to: the message file, or null when that is the
// console and the console is switched off.
std::FILE* qqmfil(Global& g);
// One message line (without its leading blank and line feed) of warning
// number n (0 for the unnumbered notices): to the message file, and to the
// program's receiver.
void qqmsg(Global& g, int n, const char* line);
// Date "dd.mm.yyyy" and time "hh:mm:ss" of t, or of the local time now.
const char* dddate(const std::tm& t);
const char* ddtime(const std::tm& t);
const char* dddate();
const char* ddtime();
// The local time now (the protocol).
std::tm qqltim();
// The time written into files: SOURCE_DATE_EPOCH when it is set, else now.
std::tm qqftim();
void dprcol(Global& g, int kind);
void qqmprc(Global& g, int kind);
// Ends the program after a fatal condition: exit status 1.
[[noreturn]] void qqfatal();

// File names and files (output.cpp).
void gfilnn(Global& g, char* name, std::size_t cap);
void qqgenv(const char* variable, char* text, std::size_t cap);
int qqgetreg(char* text, std::size_t cap);
// Creates name exclusively after making it unique with gfilnn; a name taken
// by another process in between moves on to the next version. nullptr and
// warning 36 when the file cannot be created.
std::unique_ptr<ByteSink> qqopfl(Global& g, char* name, std::size_t cap, bool binary);
// True when the folder part of a file name exists (no folder: the current
// one).
bool qqfold(const char* name);
// Opens name for the given OutputMode: versions as qqopfl; overwrite
// replaces a file of that name; stop creates the file only if there is none
// (exists is set, and nullptr returned, when there is one). nullptr and
// warning 36 when the file cannot be created.
std::unique_ptr<ByteSink> qqopmd(Global& g, char* name, std::size_t cap, bool binary, int mode,
                                 bool& exists);
// Closes and releases a sink made by qqopfl; a write or close error is
// warning 36. False also when there was no sink.
bool qqclfl(Global& g, std::unique_ptr<ByteSink>& sink);

}  // namespace korvan
