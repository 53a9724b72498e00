// The one table from device codes to drivers. A driver is made once, at
// korini; nothing else in the library switches on the device code to reach a
// driver.
#include <memory>

#include "devices/cgm/cgm_driver.h"
#include "devices/driver.h"
#include "devices/gksl/gksl_driver.h"
#include "devices/hpgl/hpgl_driver.h"
#include "devices/java/java_driver.h"
#include "devices/kyocera/kyoc_driver.h"
#include "devices/null/null_driver.h"
#include "devices/pdf/pdf_driver.h"
#include "devices/postscript/ps_driver.h"
#include "devices/raster/raster_driver.h"
#include "devices/screen/screen_driver.h"
#include "devices/svg/svg_driver.h"
#include "devices/wmf/wmf_driver.h"

namespace korvan {

Driver* makeDriver(int device) {
  if (device >= 72 && device <= 80) return new ScreenDriver(device);
  if (device == 201) return new GkslDriver();
  if (device == 301) return new KyocDriver();
  if (device >= 401 && device <= 405) return new HpglDriver(device);
  if (device >= 501 && device <= 504) return new PostScriptDriver(device);
  if (device >= 601 && device <= 607) return new RasterDriver(device);
  if (device == 801) return new SvgDriver();
  if (device == 701) return new JavaDriver();
  if (device == 211) return new CgmDriver();
  if (device == 511) return new PdfDriver();
  if (device == 221) return new WmfDriver();
  return new NullDriver(device);
}

}  // namespace korvan
