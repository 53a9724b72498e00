// Line styles: the eight named dash patterns and the user pattern. The walk
// along a line is connqq's; a style change restarts it with a full dash.
#include "core/state.h"
#include "korvan.h"

namespace korvan {

namespace {

// Installs a checked pattern and resets the phase.
void qqmyln(Global& g, const int* nray, int n) {
  if (!jqqval(g, n, 1, 10)) return;
  if (!nray) return;
  for (int i = 0; i < n; ++i)
    if (nray[i] < 1) {
      warni1(g, 2, nray[i]);
      return;
    }
  for (int i = 0; i < n; ++i) g.linePattern[i] = nray[i];
  g.patternLength = n;
  g.penUp = 0;
  g.patternIndex = 1;
  g.patternRest = static_cast<float>(nray[0]);
}

struct Style {
  int n;
  int len[4];
};

// Dash and gap lengths in plot units, by style number.
constexpr Style kStyles[8] = {
    {1, {1}},                 // solid
    {2, {1, 10}},             // dot
    {2, {10, 10}},            // dash
    {4, {30, 15, 10, 15}},    // chndsh
    {4, {1, 15, 15, 15}},     // chndot
    {2, {20, 15}},            // dashm
    {2, {1, 20}},             // dotl
    {2, {30, 20}},            // dashl
};

void named(const char* name, int n) {
  chkini(name);
  lintyp(n);
}

}  // namespace

}  // namespace korvan

using namespace korvan;

extern "C" {

void lintyp(int ntyp) {
  Global* gp = jqqlev(1, 3, "lintyp");
  if (!gp) return;
  Global& g = *gp;
  if (!jqqval(g, ntyp, 0, 7)) return;
  g.lineStyle = ntyp;
  const Style& s = kStyles[ntyp];
  int pattern[4];
  for (int i = 0; i < s.n; ++i) {
    int v = static_cast<int>(static_cast<float>(s.len[i]) / g.unitScale + 0.5f);
    pattern[i] = v == 0 ? 1 : v;
  }
  qqmyln(g, pattern, s.n);
}

void myline(const int* nray, int n) {
  Global& g = chkini("myline");
  if (!nray && n >= 1 && n <= 10) {
    warni1(g, 2, n);
    return;
  }
  qqmyln(g, nray, n);
}

void solid(void) { named("solid", 0); }
void dot(void) { named("dot", 1); }
void dash(void) { named("dash", 2); }
void chndsh(void) { named("chndsh", 3); }
void chndot(void) { named("chndot", 4); }
void dashm(void) { named("dashm", 5); }
void dotl(void) { named("dotl", 6); }
void dashl(void) { named("dashl", 7); }

}  // extern "C"
