// Splitting the process's command line text.
#include "console/command_line.h"

namespace console {
namespace {

constexpr char kQuote = '"';
constexpr char kBackslash = '\\';

bool isBlank(char c) { return c == ' ' || c == '\t'; }

void skipBlanks(std::string_view line, std::size_t& pos) {
  while (pos < line.size() && isBlank(line[pos])) ++pos;
}

bool endsWithTwoBackslashes(const std::string& text) {
  return text.size() >= 2 && text[text.size() - 1] == kBackslash &&
         text[text.size() - 2] == kBackslash;
}

// One argument from pos; pos ends past the blanks after it.
std::string takeArgument(std::string_view line, std::size_t& pos) {
  std::string argument;
  bool quoting = false;
  while (pos < line.size()) {
    const char c = line[pos];
    if (!quoting && isBlank(c)) break;
    ++pos;
    if (c != kQuote) {
      argument += c;
      continue;
    }
    if (endsWithTwoBackslashes(argument)) {
      argument.pop_back();
      break;
    }
    if (!argument.empty() && argument.back() == kBackslash) {
      argument.back() = kQuote;
    } else if (quoting && pos < line.size() && line[pos] == kQuote) {
      argument += kQuote;
      ++pos;
    } else if (quoting) {
      break;
    } else {
      quoting = true;
    }
  }
  skipBlanks(line, pos);
  return argument;
}

}  // namespace

std::vector<std::string> splitCommandLine(std::string_view line) {
  std::vector<std::string> arguments;
  std::size_t pos = 0;
  for (;;) {
    std::string argument = takeArgument(line, pos);
    if (argument.empty()) break;
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

std::string_view commandLineRemainder(std::string_view line) {
  std::size_t pos = 0;
  if (!line.empty() && line[0] == kQuote) {
    pos = line.find(kQuote, 1);
    pos = pos == std::string_view::npos ? line.size() : pos + 1;
  } else {
    while (pos < line.size() && !isBlank(line[pos])) ++pos;
  }
  skipBlanks(line, pos);
  return line.substr(pos);
}

}  // namespace console
