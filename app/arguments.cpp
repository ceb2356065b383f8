// The command line of ringedit.
#include "app/arguments.h"

#include <string_view>

#ifndef RINGEDIT_VERSION
#define RINGEDIT_VERSION "unknown"
#endif

namespace app {
namespace {

constexpr std::string_view kUsage =
    "usage: ringedit                      edit a file of series, answering questions\n"
    "       ringedit convert [--from F] [--to C|M|3|I|fh|csv|tridas] [--force]\n"
    "                        (-o NEWFILE | --out-dir DIR) INPUT...\n"
    "       ringedit check [--from F] INPUT...\n"
    "       ringedit -h | --help | --version\n"
    "\n"
    "convert  writes each INPUT's series to a new file without asking a question:\n"
    "         --to C compact (default, .rwm), M decadal .01 or 3 decadal .001 (.rwl),\n"
    "         I decadal indices with their sample depths (.crn, from index INPUTs),\n"
    "         fh Heidelberg (.fh), csv a table of years and series (.csv) or\n"
    "         tridas the TRiDaS XML standard (.xml);\n"
    "         -o names the new file of one INPUT, --out-dir the folder of the new\n"
    "         files (the INPUT's name with .rwm or .rwl); an existing file is\n"
    "         replaced only with --force, an INPUT never.\n"
    "check    reads each INPUT as convert would and lists its series; writes nothing.\n"
    "--from   the INPUTs' format: C compact, M decadal measurements, I indices,\n"
    "         A Accurite, 1 single column, 2 year and value, V value and year,\n"
    "         fh Heidelberg, csv a table with a column of years (\"NA\": no value),\n"
    "         tridas TRiDaS XML;\n"
    "         without it each INPUT's format is identified from its first lines.\n"
    "\n"
    "Exit status: 0 done without a message, 1 done with messages (\" >> \" on\n"
    "standard error), 2 an INPUT could not be read, identified or written, or\n"
    "the command line is wrong.\n";

// Format letters convert and check read; the others ask questions.
constexpr std::string_view kReadableLetters = "CMIA12V";
struct AskingFormat {
  char letter;
  std::string_view name;
};
constexpr AskingFormat kAskingFormats[] = {
    {'S', "spreadsheet"}, {'T', "meteorological"}, {'X', "user-format"}};
constexpr std::string_view kOutputLetters = "CM3I";

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

CommandLine usageError(std::string error) {
  CommandLine line;
  line.action = Action::Usage;
  line.error = std::move(error);
  return line;
}

// The one letter of an option's value, or blank when it is not one letter.
char letterOf(const std::string& value) { return value.size() == 1 ? upper(value[0]) : ' '; }

std::string checkFrom(char letter, const std::string& value) {
  if (std::string_view name = askingFormatName(letter); !name.empty())
    return "--from " + value + ": " + std::string(name) +
           " files ask questions when they are read; edit them in the session";
  if (letter == ' ' || kReadableLetters.find(letter) == std::string_view::npos)
    return "--from " + value + ": not a format (C M I A 1 2 V fh csv tridas)";
  return "";
}

std::string availability(const std::string& value, series::Exchange format) {
  if (series::exchangeAvailable(format)) return "";
  return value + ": this format is not built into this program";
}

// Takes the option at words[k] (and its value); "" or what is wrong.
std::string takeOption(const std::vector<std::string>& words, std::size_t& k, Action action,
                       BatchOptions& o) {
  std::string word = words[k];
  std::string value;
  bool inlineValue = false;
  if (std::size_t eq = word.find('='); word.rfind("--", 0) == 0 && eq != std::string::npos) {
    value = word.substr(eq + 1);
    word.resize(eq);
    inlineValue = true;
  }
  const bool convert = action == Action::Convert;
  if (word == "--force" && convert && !inlineValue) {
    o.force = true;
    return "";
  }
  const bool takesValue =
      word == "--from" || (convert && (word == "--to" || word == "-o" || word == "--out-dir"));
  if (!takesValue) return "unknown option " + words[k];
  if (!inlineValue) {
    if (k + 1 >= words.size()) return word + " needs a value";
    value = words[++k];
  }
  if (word == "--from") {
    o.fromExchange = series::exchangeNamed(value);
    if (o.fromExchange != series::Exchange::None) return availability(value, o.fromExchange);
    o.from = letterOf(value);
    return checkFrom(o.from, value);
  }
  if (word == "--to") {
    o.toExchange = series::exchangeNamed(value);
    if (o.toExchange != series::Exchange::None) return availability(value, o.toExchange);
    o.to = letterOf(value);
    if (kOutputLetters.find(o.to) == std::string_view::npos || o.to == ' ')
      return "--to " + value + ": C, M, 3, I, fh, csv or tridas";
    return "";
  }
  (word == "-o" ? o.output : o.outDir) = value;
  return value.empty() ? word + " needs a value" : "";
}

std::string checkWhole(Action action, const BatchOptions& o) {
  if (o.inputs.empty()) return "no INPUT given";
  if (action != Action::Convert) return "";
  if (o.output.empty() == o.outDir.empty())
    return "convert needs either -o NEWFILE or --out-dir DIR";
  if (!o.output.empty() && o.inputs.size() != 1) return "-o names the new file of one INPUT";
  return "";
}

}  // namespace

std::string_view askingFormatName(char letter) {
  for (const AskingFormat& f : kAskingFormats)
    if (f.letter == letter) return f.name;
  return {};
}

CommandLine parseCommandLine(const std::vector<std::string>& words) {
  CommandLine line;
  if (words.empty()) return line;
  const std::string& first = words[0];
  if (words.size() == 1 && (first == "-h" || first == "--help")) line.action = Action::Help;
  if (words.size() == 1 && first == "--version") line.action = Action::Version;
  if (line.action != Action::Session) return line;
  if (first == "convert")
    line.action = Action::Convert;
  else if (first == "check")
    line.action = Action::Check;
  else
    return usageError("unknown command or option " + first);
  bool optionsEnd = false;
  for (std::size_t k = 1; k < words.size(); ++k) {
    const std::string& word = words[k];
    if (!optionsEnd && word == "--") {
      optionsEnd = true;
    } else if (!optionsEnd && word.size() > 1 && word[0] == '-') {
      if (std::string error = takeOption(words, k, line.action, line.options); !error.empty())
        return usageError(error);
    } else {
      line.options.inputs.push_back(word);
    }
  }
  if (std::string error = checkWhole(line.action, line.options); !error.empty())
    return usageError(error);
  return line;
}

std::string usageText() { return std::string(kUsage); }

std::string versionText() { return std::string("ringedit ") + RINGEDIT_VERSION + "\n"; }

}  // namespace app
