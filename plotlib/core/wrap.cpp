#include "core/wrap.h"

namespace korvan {

int qqwrcp(char* dst, const char* src, int len, int max) {
  int n = len < max ? len : max;
  if (n < 0 || !src) n = 0;
  for (int i = 0; i < n; ++i) dst[i] = src[i];
  dst[n] = '\0';
  return n;
}

}  // namespace korvan
