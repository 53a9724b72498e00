// libFuzzer target: any byte string read as an element file, record by
// record, to its end or its first error. Every message must be short and
// printable, and the reader must stop.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "elements.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string name = "/tmp/korvan-element-fuzz-" + std::to_string(getpid()) + ".dat";
  std::FILE* f = std::fopen(name.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  orbview::ElementReader r(name);
  std::size_t records = 0;
  if (r.open()) {
    orbview::Elements e;
    for (;;) {
      auto st = r.next(e);
      if (st != orbview::ElementReader::Status::Record) break;
      if (++records > size) __builtin_trap();  // each record takes at least one byte
      if (orbview::convertible(e, 257)) orbview::convert(e, 257);
    }
  }
  if (r.error().size() > name.size() + 200) __builtin_trap();
  for (char c : r.error())
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f) __builtin_trap();
  std::remove(name.c_str());
  return 0;
}
