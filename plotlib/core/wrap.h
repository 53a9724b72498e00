// Helpers of the by-address entry points.
#pragma once

namespace korvan {

// Copies min(len, max) characters of a fixed-length text into dst, ends it
// with NUL and returns the number of characters copied. dst holds max + 1.
int qqwrcp(char* dst, const char* src, int len, int max);

// A keyword argument of a by-address entry: its first four characters.
struct Key4 {
  char text[5];
  Key4(const char* src, int len) { qqwrcp(text, src, len, 4); }
  operator const char*() const { return text; }
};

}  // namespace korvan
