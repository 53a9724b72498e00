// orbview2: the orbits of two bodies (element files 5 and 6) at 257 plot
// units per unit of semi-major axis, each with the vector from the star to
// its periapsis, slowed by a short pause per frame.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "elements.h"
#include "options.h"
#include "korvan.h"

namespace {

// The pause between frames: 400 x 400 cosines whose results are dropped.
// The volatile operands keep the compiler from removing the loop.
void pause() {
  volatile float arg = 123.3355f;
  volatile float sink = 0.0f;
  for (int i = 0; i < 400; ++i)
    for (int j = 0; j < 400; ++j) sink = std::cos(arg);
  (void)sink;
}

}  // namespace

int main(int argc, char** argv) {
  orbview::ViewOptions opt;
  int status = orbview::viewerOptions(argc, argv, "orbview2", "elm0005.dat and elm0006.dat",
                                      getver_, opt);
  if (status >= 0) return status;

  std::printf("\n");
  std::fflush(stdout);
  std::vector<orbview::Track> body;
  if (!orbview::loadTracks({5, 6}, 257, body)) return 1;
  const std::vector<int> frames = orbview::selectFrames(opt, static_cast<int>(body[0].size()));
  static const char* const colour[2] = {"YELLOW", "GREEN"};

  const int nhsym = 10, nclr = 0, nwidth = 4, nsym = 21, ivec = 1501;
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
    for (int i = 1; i >= 0; --i) {
      const orbview::Track& t = body[i];
      color_(colour[i], static_cast<int>(std::strlen(colour[i])));
      int nx2 = nxs + t.xv[k], ny2 = nys + t.yv[k];
      vector_(&nxs, &nys, &nx2, &ny2, &ivec);
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
