// Test support: every test runs in its own empty directory with a fresh
// library state, and can capture what the library prints.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "core/state.h"
#include "support/files.h"
#include "korvan.h"

namespace korvan::test {

class PlotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    qqsglb(1);
    old_ = std::filesystem::current_path();
    char tmpl[] = "/tmp/korvan-test-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    qqsglb(1);
    std::filesystem::current_path(old_);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }


 public:
  static std::string slurp(const std::string& name) { return readFile(name); }
  static void touch(const std::string& name, const std::string& content = "") {
    std::ofstream(name, std::ios::binary) << content;
  }
  static bool exists(const std::string& name) { return std::filesystem::exists(name); }
  // Ends the plot and returns what its output file holds.
  static std::string endAndRead() {
    std::string name = qqgglb().outFileName;
    korfin();
    return slurp(name);
  }

  // What the library prints while f runs.
  template <class F>
  static std::string output(F f) {
    ::testing::internal::CaptureStdout();
    f();
    std::fflush(stdout);
    return ::testing::internal::GetCapturedStdout();
  }

  // Date and time of the protocol replaced by fixed masks.
  static std::string masked(const std::string& s) {
    std::string r = std::regex_replace(s, std::regex(R"(\d\d\.\d\d\.\d{4})"), "DD.MM.YYYY");
    return std::regex_replace(r, std::regex(R"(\d\d:\d\d:\d\d)"), "hh:mm:ss");
  }

 protected:
  std::filesystem::path dir_, old_;
};

}  // namespace korvan::test
