// Services of the operating system outside the window: the installation
// directory recorded by the system (the registry on Windows), and the
// message box of the line protocol and of fatal screen messages.
//
// Entry points: registryDirectory(), showMessage().
#pragma once

#include <cstddef>

namespace korvan::platform {

// The installation directory from the registry: the value "Path" under
// HKEY_LOCAL_MACHINE\SOFTWARE\Korvan. Returns false where there is no
// registry or no such value (text is then empty).
bool registryDirectory(char* text, std::size_t cap);

// A message for the user: a message box on Windows, standard output
// elsewhere.
void showMessage(const char* text, const char* caption);

}  // namespace korvan::platform
