// convert and check: reading inputs without questions.
#include "app/batch.h"

#include <memory>
#include <string_view>
#include <utility>

#include "app/copying.h"
#include "app/edits.h"
#include "dialogue/fileop.h"
#include "dialogue/tables.h"
#include "fmtio/hooks.h"
#include "fmtio/io.h"
#include "fmtio/stop.h"
#include "series/datol.h"
#include "series/fmtid.h"

namespace app {
namespace {

constexpr int kConsole = 6;

// Formats whose reading asks questions: convert and check leave them to the
// session.
struct AskingFormat {
  char letter;
  std::string_view name;
};
constexpr AskingFormat kAskingFormats[] = {
    {'S', "spreadsheet"}, {'T', "meteorological"}, {'X', "user-format"}};

// Console notices that are no message: the title and text lines a reader
// passes over, each followed by the line itself.
constexpr std::string_view kNotices[] = {" Title:", " Text line:"};

// The console of one input: what the program writes is kept; a question
// would find no answer (end of input). The hooks come back at the end.
class CapturedConsole {
 public:
  CapturedConsole() : saved_(fmtio::consoleHooks()) {
    fmtio::ConsoleHooks& hooks = fmtio::consoleHooks();
    hooks.writeBlock = [this](int, bool, std::string_view bytes) { text_ += bytes; };
    hooks.readLine = [](int, std::string&) { return false; };
    hooks.pump = [] {};
  }
  ~CapturedConsole() { fmtio::consoleHooks() = saved_; }
  CapturedConsole(const CapturedConsole&) = delete;
  CapturedConsole& operator=(const CapturedConsole&) = delete;
  const std::string& text() const { return text_; }

 private:
  fmtio::ConsoleHooks saved_;
  std::string text_;
};

// The console text's lines, notices left out, as messages.
std::vector<std::string> messagesOf(const std::string& text) {
  std::vector<std::string> messages;
  bool skipNext = false;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    std::erase(line, '\r');
    if (std::exchange(skipNext, false)) continue;
    bool notice = false;
    for (std::string_view n : kNotices) notice = notice || line == n;
    if (notice) {
      skipNext = true;
      continue;
    }
    std::size_t first = line.find_first_not_of(' ');
    if (first != std::string::npos) messages.push_back(line.substr(first));
  }
  return messages;
}

// A message of the command itself, among the readers' and writers'.
bool say(std::string_view text) {
  fmtio::WRITE(kConsole, FMT("(' >> ',A)"), text);
  return false;
}

std::string_view askingName(char letter) {
  for (const AskingFormat& f : kAskingFormats)
    if (f.letter == letter) return f.name;
  return {};
}

// The format letter of the input: the one given, or the one identified.
char formatOf(std::int32_t unit, const BatchOptions& options) {
  return options.from != ' ' ? options.from : series::FMTDET(unit);
}

void sayRefused(std::int32_t sequence, const series::Series& s, const CopyCheck& check) {
  if (check.refusal == Refusal::YearsBeyond)
    fmtio::WRITE(kConsole,
                 FMT("(' >> Series',I5,2X,A,2I6,': not copied, its years do not fit',"
                     "' the new file''s year fields')"),
                 sequence, s.ident, s.firstYear, lastYear(s));
  else if (check.compactHoldsIt)
    fmtio::WRITE(kConsole,
                 FMT("(' >> Series',I5,2X,A,2I6,': not copied, its value',1PE12.4,' of year',"
                     "I6,' does not fit the new file''s value fields (the compact format',"
                     "' holds it)')"),
                 sequence, s.ident, s.firstYear, lastYear(s), s.values[check.value],
                 s.firstYear + check.value);
  else
    fmtio::WRITE(kConsole,
                 FMT("(' >> Series',I5,2X,A,2I6,': not copied, its value',1PE12.4,' of year',"
                     "I6,' does not fit the new file''s value fields')"),
                 sequence, s.ident, s.firstYear, lastYear(s), s.values[check.value],
                 s.firstYear + check.value);
}

std::string seriesLine(const series::Series& s) {
  std::string line(40, ' ');
  fmtio::WRITE(fmtio::Internal(line), FMT("(2X,A,3I7)"), s.ident, s.firstYear, lastYear(s),
               s.count);
  return line.substr(0, line.find_last_not_of(' ') + 1);
}

// Reads every series of the open input; with a new file open on out, writes
// those the new file can hold, as the session's "T" copies them.
void readSeries(std::int32_t in, std::int32_t out, bool writing, const BatchOptions& options,
                InputReport& report) {
  auto s = std::make_unique<series::Series>();
  const std::string_view request = options.to == 'I' ? kIndexRequest : writerRequest(options.to);
  for (std::int32_t sequence = 1;; ++sequence) {
    s->ident.resize(kIdentLength, ' ');
    series::DATOL(*s, in);
    if (s->count < 1) return;
    if (!writing) {
      report.lines.push_back(seriesLine(*s));
    } else if (CopyCheck check = checkCopy(*s, request); check.refusal != Refusal::None) {
      sayRefused(sequence, *s, check);
      continue;
    } else {
      writeSeries(*s, out, request);
    }
    ++report.series;
    report.values += s->count;
  }
}

// The program run of one input; false when it could not be read through.
bool readInput(const std::string& input, const std::string& newFile, const BatchOptions& options,
               InputReport& report) {
  dialogue::PROGID("EDIT TIME SERIES");
  series::resetReaders();
  const std::int32_t in = dialogue::UNITNO(1);
  const std::int32_t out = dialogue::UNITNO(2);
  if (!dialogue::openDataFile(in, input)) return say("cannot be opened");
  const char letter = formatOf(in, options);
  if (letter == ' ') return say("its format is not recognised: name it with --from");
  if (std::string_view name = askingName(letter); !name.empty())
    return say("its format looks " + std::string(name) + " (" + letter +
               "), whose reading asks questions: edit it in the session, or name another"
               " format with --from");
  if (options.to == 'I' && letter != 'I')
    return say(std::string("--to I writes index files with their sample counts; this input is"
                           " not one (format ") + letter + ")");
  dialogue::setUnitFormat(in, letter);
  report.lines.push_back(std::string("format ") + letter);
  const bool writing = !newFile.empty();
  if (writing && !dialogue::createDataFile(out, newFile, options.force))
    return say("the new file " + newFile + " cannot be created");
  readSeries(in, out, writing, options, report);
  return true;
}

}  // namespace

InputReport processInput(const std::string& input, const std::string& newFile,
                         const BatchOptions& options) {
  InputReport report;
  bool finished = false;
  int code = 0;
  {
    CapturedConsole console;
    code = fmtio::runProgram([&] { finished = readInput(input, newFile, options, report); });
    report.messages = messagesOf(console.text());
  }
  if (code != 0 || !finished)
    report.status = kBatchFailed;
  else if (!report.messages.empty())
    report.status = kBatchMessages;
  return report;
}

}  // namespace app
