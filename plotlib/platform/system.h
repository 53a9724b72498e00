// Services of the operating system outside the window: the installation
// directory recorded by the system (the registry on Windows), the message
// box of the line protocol and of fatal screen messages, exclusive file
// creation, local time and the file name separators. Everything above this
// header is the same on every system.
#pragma once

#include <cstddef>
#include <cstdio>
#include <ctime>

namespace korvan::platform {

// The installation directory from the registry: the value "Path" under
// HKEY_LOCAL_MACHINE\SOFTWARE\Korvan. Returns false where there is no
// registry or no such value (text is then empty).
bool registryDirectory(char* text, std::size_t cap);

// A message for the user: a message box on Windows, standard output
// elsewhere.
void showMessage(const char* text, const char* caption);

// Creates a file that must not exist yet, for writing; binary files are
// written byte for byte, text files with the system's line ends. nullptr
// with errno set (EEXIST when the name is taken) on failure.
// Neither this nor reopenText ever hands out a standard descriptor (0-2),
// so that with a closed standard stream the console's messages cannot end
// up in the file.
std::FILE* createExclusive(const char* name, bool binary);
// Opens an existing text file for writing from its start.
std::FILE* reopenText(const char* name);

// The broken-down local time of t, and the same in UTC.
std::tm localTime(std::time_t t);
std::tm utcTime(std::time_t t);

// Separators of directories in file names, and the one used to join them.
bool isPathSeparator(char c);
char pathSeparator();

// Where the library's data files are when neither the environment nor the
// registry says.
const char* defaultDataDirectory();

// The data directory of an installed library: each of the relative paths
// (separated by '|') is tried from the directory of the file that holds the
// library's code (the shared library, or the program it is linked into);
// the first that exists is written to text. False when none exists.
bool installedDataDirectory(const char* relatives, char* text, std::size_t cap);

}  // namespace korvan::platform
