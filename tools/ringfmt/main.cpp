// ringfmt: a workbench for format specifications. It compiles a format and
// shows its entries, or runs one WRITE or READ statement through the runtime.
#include <cstdio>
#include <cstring>
#include <string>

#include "fmtio/options.h"
#include "fmtio/stop.h"
#include "tools/ringfmt/commands.h"

namespace {

struct Command {
  const char* name;
  std::string (*run)(const ringfmt::Args&);
  const char* usage;
};

// Command name -> handler and its line of the usage text.
constexpr Command kCommands[] = {
    {"compile", ringfmt::compileCommand, "ringfmt compile FORMAT"},
    {"write", ringfmt::writeCommand, "ringfmt write [--iostat] [--internal N] FORMAT ITEM..."},
    {"read", ringfmt::readCommand,
     "ringfmt read [--iostat] [--end] [--err] [--internal TEXT] FORMAT TYPE..."},
};

#ifndef RINGEDIT_VERSION
#define RINGEDIT_VERSION "unknown"
#endif

void printUsage(std::FILE* stream) {
  std::fputs("usage:\n", stream);
  for (const Command& c : kCommands) std::fprintf(stream, "  %s\n", c.usage);
  std::fputs("  ringfmt --help | --version\n", stream);
  std::fputs(
      "ITEM: i:V r:V d:V l:T l:F c:TEXT cN:TEXT    TYPE: i r d l cN, each optionally =INIT\n",
      stream);
}

int usage(const std::string& problem) {
  if (!problem.empty()) std::fprintf(stderr, "ringfmt: %s\n", problem.c_str());
  printUsage(stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return usage("");
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    printUsage(stdout);
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::puts("ringfmt " RINGEDIT_VERSION);
    return 0;
  }
  const Command* command = nullptr;
  for (const Command& c : kCommands)
    if (std::strcmp(argv[1], c.name) == 0) command = &c;
  if (command == nullptr) return usage(std::string("unknown command ") + argv[1]);
  ringfmt::Args args(argv + 2, argv + argc);
  fmtio::setCommandLine({});
  std::string problem;
  int code = fmtio::runProgram([&] {
    problem = command->run(args);
    if (problem.empty()) fmtio::STOP();
  });
  if (!problem.empty()) return usage(problem);
  return code == -1 ? 255 : code;
}
