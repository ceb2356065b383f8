// Test fixture for the unit layer: console hooks that record what the runtime
// writes and answer its reads from a list, default options, an empty unit
// table and a fresh temporary directory per test.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "fmtio/hooks.h"
#include "fmtio/options.h"
#include "fmtio/unit.h"

namespace fmtio::units_testing {

class ConsoleCaptureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetUnitTable();
    useOptions(RuntimeOptions{});
    setCommandLine({});
    ConsoleHooks& hooks = consoleHooks();
    hooks.writeBlock = [this](int window, bool toError, std::string_view bytes) {
      lastWindow = window;
      (toError ? err : out).append(bytes);
    };
    hooks.readLine = [this](int window, std::string& line) {
      lastWindow = window;
      if (typed.empty()) return false;
      line = typed.front();
      typed.pop_front();
      return true;
    };
    char pattern[] = "/tmp/fmtio-units-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }

  void TearDown() override {
    resetUnitTable();
    installDefaultHooks();
    resetRuntimeOptions();
    setCommandLine({});
    std::filesystem::remove_all(dir);
  }

  // Options as the environment would give them, with the naming default.
  static void useOptions(RuntimeOptions options) {
    if (!options.vaxNames) options.unixNames = true;
    setRuntimeOptions(options);
  }

  std::string path(const std::string& name) const { return dir + "/" + name; }

  static std::string contents(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static void create(const std::string& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
  }

  static bool exists(const std::string& file) { return std::filesystem::exists(file); }

  std::string dir;
  std::string out;                // standard output as written
  std::string err;                // standard error as written
  std::deque<std::string> typed;  // lines the console hands to reads
  int lastWindow = 0;
};

}  // namespace fmtio::units_testing
