// The console hooks and their defaults on the process's standard streams.
#include "fmtio/hooks.h"

#include <cstdio>
#include <cstring>

namespace fmtio {
namespace {

// Reads one line of standard input with its line feed, in pieces.
bool readStandardLine(int /*windowUnit*/, std::string& line) {
  line.clear();
  char piece[256];
  while (std::fgets(piece, sizeof piece, stdin) != nullptr) {
    line.append(piece, std::strlen(piece));
    if (!line.empty() && line.back() == '\n') return true;
  }
  return !line.empty();
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
