// orbview3: the orbits of three bodies (element files 2, 3 and 4) at ifac
// plot units per unit of semi-major axis, as fast as the window draws.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "elements.h"
#include "options.h"
#include "korvan.h"

namespace {

// The frame delay: nretraso x nretraso rounds, none with nretraso = 0.
void pause() {
  const int nretraso = 0;
  volatile float arg = 123.3355f;
  volatile int nalpedo = 0;
  for (int i = 0; i < nretraso; ++i)
    for (int j = 0; j < nretraso; ++j) nalpedo = static_cast<int>(std::cos(arg) + 3.0f);
  (void)nalpedo;
}

}  // namespace

int main(int argc, char** argv) {
  orbview::ViewOptions opt;
  int status = orbview::viewerOptions(argc, argv, "orbview3",
                                      "elm0002.dat, elm0003.dat and elm0004.dat", getver_, opt);
  if (status >= 0) return status;

  const float panfactor = 1.8f;
  const int ifac = static_cast<int>(900.0f / panfactor);
  std::vector<int> icuerpo;
  for (int n = 2; n <= 4; ++n) icuerpo.push_back(n);
  std::vector<orbview::Track> body;
  if (!orbview::loadTracks(icuerpo, ifac, body)) return 1;
  const std::vector<int> frames = orbview::selectFrames(opt, static_cast<int>(body[0].size()));
  static const char* const colour[3] = {"YELLOW", "GREEN", "RED"};

  const int nhsym = 10, nclr = 0, nwidth = 4, nsym = 21;
  const int nxs = orbview::kStarX, nys = orbview::kStarY;
  const float alpha = 0.0f, beta = 360.0f;

  orbview::selectOutput(opt);
  pagorg_("BOTTOM", 6);
  korini_();
  pagera_();
  hsymbl_(&nhsym);
  for (int k : frames) {
    if (opt.window()) pause();
    pagfll_(&nclr);
    linwid_(&nwidth);
    for (int i = 2; i >= 0; --i) {
      const orbview::Track& t = body[i];
      color_(colour[i], static_cast<int>(std::strlen(colour[i])));
      arcell_(&t.xc[k], &t.yc[k], &t.a[k], &t.b[k], &alpha, &beta, &t.giro[k]);
    }
    symbol_(&nsym, &nxs, &nys);
    endgrf_();
  }
  dash_();
  xaxgit_();
  korfin_();
  return 0;
}
