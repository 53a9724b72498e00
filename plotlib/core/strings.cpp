#include "core/strings.h"

#include <cstring>

namespace korvan {

int trmlen(const char* text) {
  if (!text) return 0;
  int n = static_cast<int>(std::strlen(text));
  while (n > 0 && text[n - 1] == ' ') --n;
  return n;
}

void upstr(char* text) {
  if (!text) return;
  for (; *text; ++text)
    if (*text >= 'a' && *text <= 'z') *text = static_cast<char>(*text - 'a' + 'A');
}

int dsblnk(char* text) {
  if (!text) return 0;
  char* out = text;
  for (const char* in = text; *in; ++in)
    if (*in != ' ') *out++ = *in;
  *out = '\0';
  return static_cast<int>(out - text);
}

}  // namespace korvan
