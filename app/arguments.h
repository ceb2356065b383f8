// The command line of ringedit: no arguments start the edit session; the
// commands "convert" and "check" read files without asking a question.
//
//   ringedit
//   ringedit -h | --help | --version
//   ringedit convert [--from F] [--to C|M|3|I|fh|csv|tridas] [--force] (-o NEW | --out-dir DIR)
//                    INPUT...
//   ringedit check [--from F] INPUT...
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "series/exchange.h"

namespace app {

// What convert and check are asked to do.
struct BatchOptions {
  char from = ' ';  // the inputs' format letter; blank: identify each input
  char to = 'C';    // the new files' format: C, M, 3 or I (indices)
  // An exchange format instead of the letters: the inputs' and the new files'.
  series::Exchange fromExchange = series::Exchange::None;
  series::Exchange toExchange = series::Exchange::None;
  bool force = false;  // an existing new file may be replaced
  std::string output;  // -o: the new file of the one input
  std::string outDir;  // --out-dir: the folder of the new files
  std::vector<std::string> inputs;
};

enum class Action { Session, Help, Version, Convert, Check, Usage };

struct CommandLine {
  Action action = Action::Session;
  BatchOptions options;
  std::string error;  // with Action::Usage: what is wrong
};

// The name of a format whose reading asks questions ("spreadsheet" for S,
// "meteorological" for T, "user-format" for X), which convert and check
// leave to the session; empty for the others.
std::string_view askingFormatName(char letter);

CommandLine parseCommandLine(const std::vector<std::string>& words);
// The usage text, ending in a line feed.
std::string usageText();
std::string versionText();

}  // namespace app
