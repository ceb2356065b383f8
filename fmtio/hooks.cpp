// The console hooks and their defaults on the process's standard streams.
#include "fmtio/hooks.h"

#include <cstdio>

#include "fmtio/options.h"

namespace fmtio {
namespace {

// Reads one line of standard input with its line feed, every byte of it (a
// NUL among them). A line longer than the longest record is kept only to one
// byte past that length and the rest of it passed over, so that the record
// it makes is refused (error 10004) instead of held whole.
bool readStandardLine(int /*windowUnit*/, std::string& line) {
  line.clear();
  const std::size_t most = runtimeOptions().recordLimit + 1;
  bool any = false;
  for (int c; (c = std::getc(stdin)) != EOF;) {
    any = true;
    if (line.size() < most || c == '\n') line += static_cast<char>(c);
    if (c == '\n') return true;
  }
  return any;
}

// Writes bytes to standard output or error and pushes them out at once, so
// that a question is on the terminal before the read that waits for it.
void writeStandardBlock(int /*windowUnit*/, bool toError, std::string_view bytes) {
  std::FILE* stream = toError ? stderr : stdout;
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::fflush(stream);
}

ConsoleHooks defaultHooks() {
  ConsoleHooks hooks;
  hooks.readLine = readStandardLine;
  hooks.writeBlock = writeStandardBlock;
  hooks.pump = [] {};
  hooks.finalLoop = [] {};
  hooks.openWindow = [](int, std::string_view, int, int) { return false; };
  hooks.closeWindow = [](int) {};
  hooks.plainConsole = true;
  return hooks;
}

}  // namespace

ConsoleHooks& consoleHooks() {
  static ConsoleHooks hooks = defaultHooks();
  return hooks;
}

void installDefaultHooks() { consoleHooks() = defaultHooks(); }

}  // namespace fmtio
