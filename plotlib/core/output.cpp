// File names, exclusive file creation and the installation directory.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "core/edition.h"
#include "core/sink.h"
#include "core/state.h"
#include "korvan.h"
#include "platform/system.h"

namespace korvan {

namespace {

bool readable(const char* name) {
  std::FILE* f = std::fopen(name, "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

// The n-th version of a file name: the base name cut so that it keeps at most
// eight characters together with the suffix "_n". Version 0 is the name.
std::string versionName(const std::string& name, int n) {
  std::string full = name;
  while (!full.empty() && full.back() == ' ') full.pop_back();
  if (n == 0) return full;
  std::size_t start = 0;
  for (std::size_t i = 0; i < full.size(); ++i)
    if (platform::isPathSeparator(full[i])) start = i + 1;
  std::size_t dot = full.rfind('.');
  if (dot == std::string::npos || dot < start) dot = full.size();
  char sfx[16];
  std::snprintf(sfx, sizeof sfx, "_%d", n);
  const std::string suffix = sfx;
  std::size_t keep = std::min(dot - start, 8 - suffix.size());
  std::string r;
  r.reserve(full.size() + suffix.size());
  r.append(full, 0, start);
  r.append(full, start, keep);
  r.append(suffix);
  r.append(full, dot, std::string::npos);
  return r;
}

[[noreturn]] void tooManyVersions() {
  std::printf("More than 9999 file versions!\n");
  qqfatal();
}

}  // namespace

void gfilnn(Global& g, char* name, std::size_t cap) {
  (void)g;
  if (!readable(name)) return;
  std::string original = name;
  for (int n = 1; n <= 9999; ++n) {
    std::string candidate = versionName(original, n);
    if (!readable(candidate.c_str())) {
      std::snprintf(name, cap, "%s", candidate.c_str());
      return;
    }
  }
  tooManyVersions();
}

int qqgetreg(char* text, std::size_t cap) {
  return platform::registryDirectory(text, cap) ? 0 : 1;
}

void qqgenv(const char* variable, char* text, std::size_t cap) {
  if (cap == 0) return;
  text[0] = '\0';
  const char* v = std::getenv(variable);
  if (v) {
    std::snprintf(text, cap, "%s", v);
    return;
  }
  if (std::strcmp(variable, "KORVAN") != 0) return;
  if (qqgetreg(text, cap) == 0) return;
  // An installed library finds its data next to itself, wherever the
  // installation was put.
#if defined(KORVAN_DATA_RELATIVE)
  if (platform::installedDataDirectory(KORVAN_DATA_RELATIVE, text, cap)) return;
#else
  if (platform::installedDataDirectory("../share/korvan", text, cap)) return;
#endif
#if defined(KORVAN_DATA_DIR)
  std::snprintf(text, cap, "%s", KORVAN_DATA_DIR);
#else
  std::snprintf(text, cap, "%s", platform::defaultDataDirectory());
#endif
}

std::unique_ptr<ByteSink> qqopfl(Global& g, char* name, std::size_t cap, bool binary) {
  // Exclusive creation: an existing file is never overwritten. A name that
  // looks free but cannot be created because it exists after all (another
  // process took it in between, or a dangling link) moves on to the next
  // version.
  std::string original = name;
  for (int n = 0; n <= 9999; ++n) {
    std::string candidate = versionName(original, n);
    if (readable(candidate.c_str())) continue;
    errno = 0;
    std::FILE* f = platform::createExclusive(candidate.c_str(), binary);
    if (f) {
      std::snprintf(name, cap, "%s", candidate.c_str());
      return std::make_unique<ByteSink>(f);
    }
    if (errno != EEXIST) {
      std::snprintf(name, cap, "%s", candidate.c_str());
      warnc1(g, 36, name);
      return nullptr;
    }
  }
  tooManyVersions();
}

bool qqfold(const char* name) {
  std::string full = name;
  std::size_t cut = std::string::npos;
  for (std::size_t i = 0; i < full.size(); ++i)
    if (platform::isPathSeparator(full[i])) cut = i;
  if (cut == std::string::npos) return true;  // the current folder
  std::string folder = full.substr(0, cut + 1);
  std::error_code ec;
  return std::filesystem::is_directory(folder, ec);
}

std::unique_ptr<ByteSink> qqopmd(Global& g, char* name, std::size_t cap, bool binary, int mode,
                                 bool& exists) {
  exists = false;
  if (mode == kVersions) return qqopfl(g, name, cap, binary);
  std::FILE* f = nullptr;
  if (mode == kOverwrite) {
    f = std::fopen(name, binary ? "wb" : "w");
  } else {
    errno = 0;
    f = platform::createExclusive(name, binary);
    if (!f && errno == EEXIST) {
      exists = true;
      return nullptr;
    }
  }
  if (!f) {
    warnc1(g, 36, name);
    return nullptr;
  }
  return std::make_unique<ByteSink>(f);
}

bool qqclfl(Global& g, std::unique_ptr<ByteSink>& sink) {
  if (!sink) return false;
  bool ok = sink->close();
  sink.reset();
  if (!ok) {
    g.fileError = true;
    warnc1(g, 36, g.outFileName);
  }
  return ok;
}

}  // namespace korvan

