// korini and korfin, the derived page values and the parameter reset.
#include <cstdio>
#include <cstring>

#include "core/edition.h"
#include "core/sink.h"
#include "core/state.h"
#include "devices/device_table.h"
#include "devices/dispatch.h"
#include "draw/device_ops.h"
#include "devices/driver.h"
#include "draw/pipeline.h"
#include "korvan.h"
#include "platform/system.h"

namespace korvan {

namespace {
int nint(float v) { return static_cast<int>(v + 0.5f); }

bool fileEmpty(const char* name) {
  std::FILE* f = std::fopen(name, "rb");
  if (!f) return true;
  bool empty = std::fgetc(f) == EOF;
  std::fclose(f);
  return empty;
}

void openErrorFile(Global& g) {
  std::snprintf(g.errFileName, sizeof g.errFileName, "korvan.err");
  std::unique_ptr<ByteSink> probe = qqopfl(g, g.errFileName, sizeof g.errFileName, false);
  // The error file is written with stdio; the sink only created it safely.
  const bool created = probe != nullptr;
  if (probe) probe->close();
  probe.reset();
  std::FILE* f = created ? platform::reopenText(g.errFileName) : nullptr;
  g.errFile = f ? f : stdout;
  g.errFileUsed = false;
}
}  // namespace

void defvar(Global& g) {
  g.pageWidth = nint(g.pageSizeX / g.unitScale);
  g.pageHeight = nint(g.pageSizeY / g.unitScale);
  g.axisLenX = static_cast<int>(2.0f * (g.pageWidth + 1) / 3.0f + 0.5f);
  g.axisLenY = static_cast<int>(2.0f * (g.pageHeight + 1) / 3.0f + 0.5f);
  g.axisPosX = (g.pageWidth - g.axisLenX) / 2;
  g.axisPosY = g.pageHeight - nint(300.0f / g.unitScale);
}

void qqpgpx(const Global& g, int& width, int& height) {
  // 853 x 603 pixels for the landscape A4 page, the same density for others
  constexpr float kDensity = 852.0f / 2969.0f;
  width = nint(static_cast<float>(g.pageWidth) * kDensity) + 1;
  height = nint(static_cast<float>(g.pageHeight) * kDensity) + 1;
}

void resall(Global& g) {
  g.pi = 3.1415927f;
  g.gp = g.pi / 180.0f;
  g.messageFile = g.errFile ? g.errFile : stdout;
  g.messageUnit = g.messageFile == stdout ? 6 : 17;
  g.protocolOn = 1;
  g.shiftX = g.shiftY = 0;
  g.clipXmin = g.clipYmin = 0;
  g.clipXmax = g.pageWidth;
  g.clipYmax = g.pageHeight;
  g.symbolHeight = nint(36.0f / g.unitScale);
  g.charHeight = g.symbolHeight;
  g.textAngle = 0.0f;
  g.origin = 0;
  resdrw(g);
  restxt(g);
  resaxs(g);
  reschr(g);
  resfld(g);
}

}  // namespace korvan

using namespace korvan;

extern "C" {

void korini(void) {
  Global* gp = jqqlev(0, 0, "korini");
  if (!gp) return;
  Global& g = *gp;
  g.level = 1;
  g.vectorCount = 0;
  g.warningCount = 0;
  g.finished = 0;
  g.plotCounter = 0;
  g.fileError = false;
  g.bgMode = deviceInfo(g.device).paperBackground ? 2 : 0;
  // pagbkg: a white page has the dark default colours of the paper devices.
  if (g.pageBackground != 0) g.bgMode = g.pageBackground == 1 ? 2 : 0;
  if (g.device == 0) {
    g.device = 201;
    std::memcpy(g.deviceName, "GKSL", 5);
  }
  g.plotSwitch1 = g.plotSwitch2 = 1;
  defvar(g);
  g.outFile.reset();
  g.winX = g.winY = 0;
  if (g.rasterWidth > 0) {
    g.winWidth = g.rasterWidth;
    g.winHeight = g.rasterHeight;
  } else {
    qqpgpx(g, g.winWidth, g.winHeight);
  }
  qqopen(g);
  if (g.guiMode == 1)
    openErrorFile(g);
  else
    g.errFile = stdout;
  resall(g);
  if (g.firstBgMode == -1) g.firstBgMode = g.bgMode;
  if (g.screenDepth > 8 && deviceInfo(g.device).cls == DeviceClass::Screen && g.externalWindow == 0 &&
      g.bgMode != g.firstBgMode)
    qqerase(g);
}

void korfin(void) {
  Global* gp = jqqlev(1, 3, "korfin");
  if (!gp) return;
  Global& g = *gp;
  qqstrk(g);
  int kind = qqclos(g);
  g.level = 0;
  g.finished = 1;
  bool errLost = false;
  if (g.guiMode == 1 && g.errFile && g.errFile != stdout) {
    bool used = g.errFileUsed || std::ftell(g.errFile) > 0;
    errLost = std::ferror(g.errFile) != 0;
    errLost = std::fclose(g.errFile) != 0 || errLost;
    // What a failed write left is kept only if it holds something.
    if (used && errLost) used = !fileEmpty(g.errFileName);
    if (used)
      kind += 10;
    else
      std::remove(g.errFileName);
  }
  g.errFile = stdout;
  if (g.messageUnit == 17) g.messageUnit = 6;
  g.messageFile = stdout;
  if (errLost) {
    // The messages of the plot may be lost with the error file: its failure
    // and the plot file's are told on the console.
    warnc1(g, 36, g.errFileName);
    if (g.fileError) warnc1(g, 36, g.outFileName);
  }
  if (g.guiMode == 1)
    qqmprc(g, kind);
  else
    dprcol(g, kind);
}

void winini(void) {
  Global* g = jqqlev(0, 0, "winini");
  if (g) g->guiMode = 1;
}

float getver(void) { return edition().version; }
int getplv(void) { return edition().patchLevel; }
void gusrid(char* cuser) {
  if (cuser) cuser[0] = '\0';
}
void korlog(void) {}

}  // extern "C"
