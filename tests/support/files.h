// Test support: reading the files and the command output that the tests
// check.
#pragma once

#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace korvan::test {

// The whole file, byte for byte; empty when it cannot be read.
inline std::string readFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A binary PPM (P6, maxval 255, comments allowed in the header) as R, G, B
// rows from the top; false for anything else or a short file.
inline bool readPpm(const std::string& name, int& width, int& height,
                    std::vector<std::uint8_t>& rgb) {
  std::ifstream in(name, std::ios::binary);
  std::string magic;
  in >> magic;
  auto number = [&in](int& v) {
    in >> std::ws;
    while (in.peek() == '#') {
      std::string skip;
      std::getline(in, skip);
      in >> std::ws;
    }
    in >> v;
  };
  int w = 0, h = 0, maxval = 0;
  number(w);
  number(h);
  number(maxval);
  in.get();
  if (!in || magic != "P6" || maxval != 255 || w <= 0 || h <= 0) return false;
  std::vector<std::uint8_t> data(3 * static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!in) return false;
  width = w;
  height = h;
  rgb.swap(data);
  return true;
}

// Runs a shell command; its exit code (-1 when it did not end normally) and,
// when asked, what it wrote to standard output.
inline int exitCode(const std::string& command, std::string* out = nullptr) {
  std::FILE* p = popen(command.c_str(), "r");
  if (!p) return -1;
  std::string text;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) text.append(buf, n);
  int rc = pclose(p);
  if (out) *out = text;
  return WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
}

// Runs a shell command; its standard output (when asked) and whether it
// exited with 0. Standard error is dropped.
inline bool shell(const std::string& command, std::string* out = nullptr) {
  return exitCode("(" + command + ") 2>/dev/null", out) == 0;
}

// What a shell command writes to standard output, without the blanks and
// line feeds at its end. It is given 15 seconds; standard error is dropped.
inline std::string commandOutput(const std::string& command) {
  std::string out;
  shell("timeout 15 " + command, &out);
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

inline bool onPath(const char* tool) {
  return !commandOutput(std::string("sh -c 'command -v ") + tool + "'").empty();
}

}  // namespace korvan::test
