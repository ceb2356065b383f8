// A unit opened without a file name in the windowed console: the file
// dialog hook names the file, after any "-fileprompt" command-line words.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fmtio/errors.h"
#include "fmtio/hooks.h"
#include "fmtio/options.h"
#include "fmtio/unit.h"
#include "tests/support/console_script.h"

namespace {

using testing_support::ConsoleScript;
using testing_support::TempDir;

struct DialogCase {
  const char* status;
  bool fileExists;
  bool cancel;
  bool wantMustExist;
  int wantIostat;
};

TEST(UnnamedOpen, WindowedConsoleAsksTheDialogHook) {
  const DialogCase cases[] = {
      {"OLD", true, false, true, 0},
      {"NEW", false, false, false, 0},
      {"UNKNOWN", false, false, false, 0},
      {"REPLACE", true, false, false, 0},
      {"OLD", true, true, true, fmtio::kErrBadFileSpec},  // cancelled
  };
  for (const DialogCase& c : cases) {
    ConsoleScript script;
    TempDir dir;
    if (c.fileExists) dir.write("unit.dat", "1\n");
    int askedUnit = 0;
    bool askedMustExist = !c.wantMustExist;
    fmtio::ConsoleHooks& hooks = fmtio::consoleHooks();
    hooks.plainConsole = false;
    hooks.askFileName = [&](int unit, bool mustExist, std::string& name) {
      askedUnit = unit;
      askedMustExist = mustExist;
      if (c.cancel) return static_cast<int>(fmtio::kErrBadFileSpec);
      name = dir.file("unit.dat");
      return 0;
    };
    fmtio::OpenSpec spec;
    spec.status = c.status;
    std::int32_t ios = -7;
    script.run([&] { fmtio::OPEN({.unit = 23, .iostat = &ios, .err = true}, spec); });
    EXPECT_EQ(ios, c.wantIostat) << c.status << (c.cancel ? " cancelled" : "");
    EXPECT_EQ(askedUnit, 23) << c.status;
    EXPECT_EQ(askedMustExist, c.wantMustExist) << c.status;
    EXPECT_EQ(script.out(), "") << "nothing is asked on the console";
  }
}

TEST(UnnamedOpen, CommandLineWordsComeBeforeTheDialog) {
  ConsoleScript script;
  TempDir dir;
  fmtio::RuntimeOptions options;
  options.filePrompt = true;
  fmtio::setRuntimeOptions(options);
  fmtio::setCommandLine({dir.file("word.dat")});
  int asked = 0;
  fmtio::ConsoleHooks& hooks = fmtio::consoleHooks();
  hooks.plainConsole = false;
  hooks.askFileName = [&](int, bool, std::string& name) {
    ++asked;
    name = dir.file("dialog.dat");
    return 0;
  };
  fmtio::OpenSpec spec;
  spec.status = "NEW";
  std::int32_t ios = -7;
  script.run([&] {
    fmtio::OPEN({.unit = 11, .iostat = &ios, .err = true}, spec);
    fmtio::OPEN({.unit = 12, .iostat = &ios, .err = true}, spec);
  });
  EXPECT_EQ(ios, 0);
  EXPECT_EQ(asked, 1) << "the first unit takes the command-line word";
  EXPECT_TRUE(std::filesystem::exists(dir.file("word.dat")));
  EXPECT_TRUE(std::filesystem::exists(dir.file("dialog.dat")));
  fmtio::setCommandLine({});
}

}  // namespace
