// The console hooks: the only way the runtime reaches the console.
//
// One process-wide replaceable table. The defaults use the process's standard
// input, output and error; the window environment installs its own at start-up.
// A window unit number of -1 names the standard streams.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace fmtio {

constexpr int kStandardWindow = -1;

struct ConsoleHooks {
  // Reads one typed line, with its terminator when one was typed, replacing
  // line; false at end of input with nothing read.
  std::function<bool(int windowUnit, std::string& line)> readLine;
  // Writes bytes to standard output (toError false) or standard error.
  std::function<void(int windowUnit, bool toError, std::string_view bytes)> writeBlock;
  // Called at the start of every I/O statement.
  std::function<void()> pump;
  // Run when the program ends, before the process exits with its code.
  std::function<void()> finalLoop;
  // OPEN with ACCESS='WINDOW...': connect unit to a console window of its own.
  std::function<bool(int unit, std::string_view title, int width, int height)> openWindow;
  std::function<void(int unit)> closeWindow;
  // Names the file of a unit opened without FILE= in a windowed console
  // (mustExist for STATUS='OLD'); returns 0 or an error number. Unset on a
  // plain console, which asks on standard input instead.
  std::function<int(int unit, bool mustExist, std::string& name)> askFileName;
  // True while the defaults are in place (a plain text console).
  bool plainConsole = true;
};

// The process-wide table.
ConsoleHooks& consoleHooks();
// Puts the process-stream defaults back.
void installDefaultHooks();

}  // namespace fmtio
