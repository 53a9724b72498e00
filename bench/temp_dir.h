#pragma once
// A private temporary directory, the current one while it lives, so that a
// benchmark never touches an existing file.
#include <stdlib.h>

#include <filesystem>
#include <system_error>

class TempDir {
 public:
  TempDir() {
    old_ = std::filesystem::current_path();
    char tmpl[] = "/tmp/korvan-bench-XXXXXX";
    if (mkdtemp(tmpl)) dir_ = tmpl;
    std::filesystem::current_path(dir_);
  }
  ~TempDir() {
    std::filesystem::current_path(old_);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

 private:
  std::filesystem::path dir_, old_;
};
