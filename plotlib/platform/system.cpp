// The operating system services of system.h.
#include "platform/system.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>

#if !defined(_WIN32)
#include <dlfcn.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>
#endif

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#endif

namespace korvan::platform {

#if defined(_WIN32)

bool registryDirectory(char* text, std::size_t cap) {
  if (cap == 0) return false;
  text[0] = '\0';
  // ADVAPI32 is loaded by name at run time, so that the programs do not
  // depend on it being linked.
  HMODULE lib = LoadLibraryA("ADVAPI32.DLL");
  if (!lib) return false;
  using Open = LONG(WINAPI*)(HKEY, LPCSTR, DWORD, REGSAM, PHKEY);
  using Query = LONG(WINAPI*)(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
  using Close = LONG(WINAPI*)(HKEY);
  // Casting through a generic function pointer keeps -Wcast-function-type quiet.
  auto open = reinterpret_cast<Open>(reinterpret_cast<void (*)()>(GetProcAddress(lib, "RegOpenKeyExA")));
  auto query =
      reinterpret_cast<Query>(reinterpret_cast<void (*)()>(GetProcAddress(lib, "RegQueryValueExA")));
  auto close = reinterpret_cast<Close>(reinterpret_cast<void (*)()>(GetProcAddress(lib, "RegCloseKey")));
  bool ok = false;
  if (open && query && close) {
    HKEY key = nullptr;
    if (open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Korvan", 0, KEY_READ, &key) == ERROR_SUCCESS) {
      char value[132] = {};
      DWORD type = 0, size = sizeof value - 1;  // room for the terminator a value may lack
      ok = query(key, "Path", nullptr, &type, reinterpret_cast<LPBYTE>(value), &size) ==
               ERROR_SUCCESS &&
           (type == REG_SZ || type == REG_EXPAND_SZ);
      close(key);
      if (ok) std::snprintf(text, cap, "%s", value);
    }
  }
  FreeLibrary(lib);
  return ok;
}

void showMessage(const char* text, const char* caption) {
  MessageBoxA(nullptr, text, caption, MB_OK);
}

namespace {

// A descriptor above the standard ones: duplicates are taken until one is
// free of them, and the lower ones closed again.
int aboveStandard(int fd) {
  int held[3];
  int n = 0;
  while (fd >= 0 && fd <= 2 && n < 3) {
    held[n++] = fd;
    fd = _dup(fd);
  }
  for (int i = 0; i < n; ++i) _close(held[i]);
  return fd;
}

std::FILE* openWith(const char* name, int flags, const char* mode) {
  int fd = aboveStandard(_open(name, flags, _S_IREAD | _S_IWRITE));
  if (fd < 0) return nullptr;
  std::FILE* f = _fdopen(fd, mode);
  if (!f) _close(fd);
  return f;
}

}  // namespace

std::FILE* createExclusive(const char* name, bool binary) {
  // The runtime's fopen may not know the "x" mode: the exclusive creation
  // is asked of _open.
  return openWith(name, _O_WRONLY | _O_CREAT | _O_EXCL | (binary ? _O_BINARY : _O_TEXT),
                  binary ? "wb" : "w");
}

std::FILE* reopenText(const char* name) { return openWith(name, _O_WRONLY | _O_TRUNC | _O_TEXT, "w"); }

std::tm localTime(std::time_t t) {
  std::tm tmv{};
  localtime_s(&tmv, &t);
  return tmv;
}

std::tm utcTime(std::time_t t) {
  std::tm tmv{};
  gmtime_s(&tmv, &t);
  return tmv;
}

bool isPathSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }
char pathSeparator() { return '\\'; }
const char* defaultDataDirectory() { return "c:\\korvan"; }

namespace {
// The full name of the module (DLL or program) that holds this code.
std::string ownFile() {
  HMODULE self = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCSTR>(&installedDataDirectory), &self))
    return {};
  char name[MAX_PATH];
  DWORD n = GetModuleFileNameA(self, name, sizeof name);
  return n > 0 && n < sizeof name ? std::string(name, n) : std::string();
}
}  // namespace

#else

bool registryDirectory(char* text, std::size_t cap) {
  if (cap) text[0] = '\0';
  return false;
}

void showMessage(const char* text, const char*) {
  std::printf("%s\n", text);
  std::fflush(stdout);
}

namespace {

std::FILE* openWith(const char* name, int flags) {
  int fd = open(name, flags | O_WRONLY | O_CLOEXEC, 0666);
  if (fd >= 0 && fd <= 2) {
    int above = fcntl(fd, F_DUPFD_CLOEXEC, 3);
    close(fd);
    fd = above;
  }
  if (fd < 0) return nullptr;
  std::FILE* f = fdopen(fd, "w");
  if (!f) close(fd);
  return f;
}

}  // namespace

std::FILE* createExclusive(const char* name, bool) { return openWith(name, O_CREAT | O_EXCL); }

std::FILE* reopenText(const char* name) { return openWith(name, O_TRUNC); }

std::tm localTime(std::time_t t) {
  std::tm tmv{};
  localtime_r(&t, &tmv);
  return tmv;
}

std::tm utcTime(std::time_t t) {
  std::tm tmv{};
  gmtime_r(&t, &tmv);
  return tmv;
}

// A backslash is taken as a separator too, so that names written for
// Windows keep their directories.
bool isPathSeparator(char c) { return c == '\\' || c == '/'; }
char pathSeparator() { return '/'; }
const char* defaultDataDirectory() { return "/usr/local/share/korvan"; }

namespace {
// The full name of the shared library or program that holds this code.
std::string ownFile() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&installedDataDirectory), &info) != 0 && info.dli_fname &&
      std::string(info.dli_fname).find('/') != std::string::npos) {
    char full[PATH_MAX];
    if (realpath(info.dli_fname, full)) return full;
  }
  char exe[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  return n > 0 ? std::string(exe, static_cast<std::size_t>(n)) : std::string();
}
}  // namespace

#endif

bool installedDataDirectory(const char* relatives, char* text, std::size_t cap) {
  std::string file = ownFile();
  std::size_t cut = file.size();
  while (cut > 0 && !isPathSeparator(file[cut - 1])) --cut;
  if (cut == 0 || cap == 0) return false;
  const std::string dir = file.substr(0, cut);
  std::string list = relatives ? relatives : "";
  for (std::size_t from = 0; from <= list.size();) {
    std::size_t to = list.find('|', from);
    if (to == std::string::npos) to = list.size();
    std::string rel = list.substr(from, to - from);
    from = to + 1;
    if (rel.empty()) continue;
    std::string candidate = dir + rel;
    struct stat st {};
    if (stat(candidate.c_str(), &st) == 0 && (st.st_mode & S_IFMT) == S_IFDIR && candidate.size() < cap) {
      std::snprintf(text, cap, "%s", candidate.c_str());
      return true;
    }
  }
  return false;
}

}  // namespace korvan::platform
