// Runtime options: VELMAR_RT_FLAGS, TABSIZE and the command-line words.
#include "fmtio/options.h"

#include <cstdlib>
#include <string>

#include "fmtio/hooks.h"
#include "fmtio/records.h"

namespace fmtio {
namespace {

constexpr std::size_t kMaxFlagsLength = 128;
constexpr std::size_t kMaxTabSizeLength = 20;
constexpr int kDefaultTabSize = 8;

using ApplyOption = void (*)(RuntimeOptions& options, std::string& warnings);

struct FlagOption {
  std::string_view name;
  ApplyOption apply;
};

// Option word -> its effect, in the order the words are tried. The byte order
// of unformatted data is fixed by this program, so the byte-order words only warn.
constexpr FlagOption kFlagOptions[] = {
    {"-defaultcarriage", [](RuntimeOptions& o, std::string&) { o.defaultCarriage = true; }},
    {"-fileprompt", [](RuntimeOptions& o, std::string&) { o.filePrompt = true; }},
    {"-vaxnames",
     [](RuntimeOptions& o, std::string&) {
       o.vaxNames = true;
       o.unixNames = false;
     }},
    {"-unixnames",
     [](RuntimeOptions& o, std::string&) {
       o.unixNames = true;
       o.vaxNames = false;
     }},
    {"-bigendian",
     [](RuntimeOptions&, std::string& w) {
       w += "Warning: compile time option overrides -bigendian\n";
     }},
    {"-littleendian",
     [](RuntimeOptions&, std::string& w) {
       w += "Warning: compile time option overrides -littleendian\n";
     }},
    {"-noleadzero", [](RuntimeOptions& o, std::string&) { o.noLeadZero = true; }},
    {"-reclen32", [](RuntimeOptions& o, std::string&) { o.reclen32 = true; }},
    {"-f90nlexts", [](RuntimeOptions& o, std::string&) { o.f90nlexts = true; }},
    {"-printstop", [](RuntimeOptions& o, std::string&) { o.printStop = true; }},
    {"-nounit9", [](RuntimeOptions& o, std::string&) { o.connectUnit9 = false; }},
    {"-connectunit9", [](RuntimeOptions& o, std::string&) { o.connectUnit9 = true; }},
    {"-maceol",
     [](RuntimeOptions& o, std::string&) {
       o.terminator = '\r';
       o.companion = '\n';
       o.terminatorLength = 1;
     }},
    {"-doseol",
     [](RuntimeOptions& o, std::string&) {
       o.terminator = '\n';
       o.companion = '\r';
       o.terminatorLength = 2;
     }},
    {"-unixeol",
     [](RuntimeOptions& o, std::string&) {
       o.terminator = '\n';
       o.companion = '\r';
       o.terminatorLength = 1;
     }},
    {"-hex_uppercase", [](RuntimeOptions& o, std::string&) { o.hexUppercase = true; }},
};

std::size_t skipBlanks(std::string_view text, std::size_t pos) {
  while (pos < text.size() && isBlank(text[pos])) ++pos;
  return pos;
}

// The option whose name the text at pos begins with, or nullptr.
const FlagOption* matchOption(std::string_view text, std::size_t pos) {
  for (const FlagOption& option : kFlagOptions)
    if (text.substr(pos, option.name.size()) == option.name) return &option;
  return nullptr;
}

// Process-wide option state: the options once read and the command line.
struct OptionState {
  RuntimeOptions options;
  bool loaded = false;
  std::vector<std::string> words;
  std::size_t nextWord = 0;
};

// Initialised before the program runs: no guard on each statement's look.
constinit OptionState gOptionState;
OptionState& optionState() { return gOptionState; }

void loadFromEnvironment(RuntimeOptions& options) {
  std::string warnings;
  if (const char* flags = std::getenv("VELMAR_RT_FLAGS")) {
    std::string_view text(flags);
    parseRuntimeFlags(text.substr(0, kMaxFlagsLength), options, warnings);
  } else {
    parseRuntimeFlags({}, options, warnings);
  }
  options.tabSize = parseTabSize(std::getenv("TABSIZE"));
  if (!warnings.empty()) consoleHooks().writeBlock(kStandardWindow, true, warnings);
}

}  // namespace

void parseRuntimeFlags(std::string_view text, RuntimeOptions& options, std::string& warnings) {
  std::size_t pos = skipBlanks(text, 0);
  while (pos < text.size()) {
    if (const FlagOption* option = matchOption(text, pos)) {
      option->apply(options, warnings);
      pos += option->name.size();
    } else {
      std::size_t end = pos;
      while (end < text.size() && !isBlank(text[end])) ++end;
      warnings += "Warning: unknown runtime option ";
      warnings += text.substr(pos, end - pos);
      warnings += '\n';
      pos = end;
    }
    pos = skipBlanks(text, pos);
  }
  if (!options.vaxNames && !options.unixNames) options.unixNames = true;
}

// A tab size of 0 would give no tab stops at all (and a division by zero), so
// 0 is refused like a negative value; so is anything beyond the int range.
int parseTabSize(const char* value) {
  if (value == nullptr) return kDefaultTabSize;
  std::string_view text(value);
  if (text.empty() || text.size() > kMaxTabSizeLength) return kDefaultTabSize;
  long long size = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return kDefaultTabSize;
    size = size * 10 + (c - '0');
    if (size > 0x7fffffff) return kDefaultTabSize;
  }
  return size > 0 ? static_cast<int>(size) : kDefaultTabSize;
}

const RuntimeOptions& runtimeOptions() {
  OptionState& state = optionState();
  if (!state.loaded) {
    state.loaded = true;
    state.options = RuntimeOptions{};
    loadFromEnvironment(state.options);
  }
  return state.options;
}

void setRuntimeOptions(const RuntimeOptions& options) {
  OptionState& state = optionState();
  state.options = options;
  state.loaded = true;
}

void resetRuntimeOptions() { optionState().loaded = false; }

void setCommandLine(std::vector<std::string> words) {
  OptionState& state = optionState();
  state.words = std::move(words);
  state.nextWord = 0;
}

// A word enclosed in quotation marks or apostrophes is taken without them.
bool takeCommandLineWord(std::string& word) {
  OptionState& state = optionState();
  if (state.nextWord >= state.words.size()) return false;
  word = state.words[state.nextWord++];
  if (word.size() >= 2 && (word.front() == '"' || word.front() == '\'') &&
      word.back() == word.front())
    word = word.substr(1, word.size() - 2);
  return true;
}

}  // namespace fmtio
