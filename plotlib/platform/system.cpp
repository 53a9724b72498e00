// The registry lookup and the message box; see system.h.
#include "platform/system.h"

#include <cstdio>

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
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

#else

bool registryDirectory(char* text, std::size_t cap) {
  if (cap) text[0] = '\0';
  return false;
}

void showMessage(const char* text, const char*) {
  std::printf("%s\n", text);
  std::fflush(stdout);
}

#endif

}  // namespace korvan::platform
