// The same plot from C++, through the by-address forms, as a program that
// keeps its parameters in variables would call them.
#include <korvan.h>

#include <string_view>

namespace {

void text(void (*routine)(const char*, int), std::string_view s) {
  routine(s.data(), static_cast<int>(s.size()));
}

}  // namespace

int main() {
  const int nx = 1485, ny = 1050, na = 900, nb = 500, nhsym = 40, nwidth = 3;
  const int nx2 = 2264, ny2 = 600, ivec = 1501, nsym = 21;
  const float alpha = 0.0f, beta = 360.0f, theta = 30.0f;
  text(metafl_, "PS");
  korini_();
  pagera_();
  hsymbl_(&nhsym);
  linwid_(&nwidth);
  text(color_, "BLUE");
  arcell_(&nx, &ny, &na, &nb, &alpha, &beta, &theta);
  text(color_, "RED");
  vector_(&nx, &ny, &nx2, &ny2, &ivec);
  text(color_, "FORE");
  symbol_(&nsym, &nx, &ny);
  korfin_();
}
