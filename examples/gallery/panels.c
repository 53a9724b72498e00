/* Four panels on one page: one signal seen four ways. */
#include <math.h>

#include "gallery.h"

static void plot(void) {
  enum { N = 200 };
  float t[N], s[N], s2[N], e[N];
  for (int i = 0; i < N; ++i) {
    t[i] = 0.05f * i;
    s[i] = expf(-0.2f * t[i]) * cosf(2.0f * t[i]);
    s2[i] = s[i] * s[i];
    e[i] = expf(-0.2f * t[i]) + 0.01f;
  }
  static const char* const titles[4] = {"Signal", "Power", "Envelope (log)", "Phase portrait"};
  for (int p = 1; p <= 4; ++p) {
    panel(2, 2, p);
    name("t", "X");
    labdig(-1, "X");
    if (p == 3) axsscl("LOG", "Y");
    if (p == 4) {
      name("s", "X");
      name("power", "Y");
      labdig(1, "X");
      autgrf(s, s2, N);
    } else if (p == 3) {
      name("envelope", "Y");
      autgrf(t, e, N);
    } else {
      name(p == 1 ? "s" : "power", "Y");
      autgrf(t, p == 1 ? s : s2, N);
    }
    title(titles[p - 1]);
    color("CYAN");
    grid(1, 1);
    color(p == 3 ? "RED" : "BLUE");
    curve(p == 4 ? s : t, p == 1 ? s : p == 3 ? e : s2, N);
    color("FORE");
    endgrf();
    axsscl("LIN", "Y");
  }
}

int main(int argc, char** argv) { return gallery_run(argc, argv, "panels", plot); }
