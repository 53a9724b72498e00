// orbview4: the orbits of four bodies (element files 5 to 8) at 27 plot
// units per unit of semi-major axis, as fast as the window draws.
#include <cstdio>
#include <cstring>
#include <vector>

#include "elements.h"
#include "options.h"
#include "korvan.h"

int main(int argc, char** argv) {
  orbview::ViewOptions opt;
  int status = orbview::viewerOptions(argc, argv, "orbview4",
                                      "elm0005.dat to elm0008.dat", getver_, opt);
  if (status >= 0) return status;

  std::vector<orbview::Track> body;
  if (!orbview::loadTracks({5, 6, 7, 8}, 27, body)) return 1;
  const std::vector<int> frames = orbview::selectFrames(opt, static_cast<int>(body[0].size()));
  static const char* const colour[4] = {"YELLOW", "GREEN", "RED", "BLUE"};

  const int nhsym = 10, nclr = 0, nwidth = 4, nsym = 21;
  const int nxs = orbview::kStarX, nys = orbview::kStarY;
  const float alpha = 0.0f, beta = 360.0f;

  orbview::selectOutput(opt);
  pagorg_("BOTTOM", 6);
  korini_();
  pagera_();
  hsymbl_(&nhsym);
  for (int k : frames) {
    pagfll_(&nclr);
    linwid_(&nwidth);
    for (int i = 3; i >= 0; --i) {
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
