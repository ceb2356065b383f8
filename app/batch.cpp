// convert and check: reading inputs without questions.
#include "app/batch.h"

#include <fstream>
#include <limits>
#include <memory>
#include <string_view>
#include <utility>

#include "app/edits.h"
#include "app/series_sink.h"
#include "common/tables.h"
#include "dialogue/fileop.h"
#include "fmtio/hooks.h"
#include "fmtio/io.h"
#include "fmtio/stop.h"
#include "series/datol.h"
#include "series/exchange.h"
#include "series/fmtid.h"

namespace app {
namespace {

// The record length limit of a new file of an exchange format.
constexpr std::int32_t kExchangeRecordLength = 1 << 30;

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
  fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' >> ',A)"), text);
  return false;
}

// The file's bytes, at most limit of them (enough to tell an exchange format).
std::string fileText(const std::string& path,
                     std::size_t limit = std::numeric_limits<std::size_t>::max()) {
  std::ifstream in(path, std::ios::binary);
  std::string text;
  char buffer[65536];
  while (text.size() < limit && in) {
    in.read(buffer, sizeof buffer);
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
  }
  if (text.size() > limit) text.resize(limit);
  return text;
}

// The input's format: an exchange format named or shown by its first lines,
// or a format letter given or identified as the session identifies it.
struct InputFormat {
  char letter = ' ';
  series::Exchange exchange = series::Exchange::None;
  std::string name() const {
    for (const series::ExchangeFormat& f : series::kExchangeFormats)
      if (f.format == exchange) return std::string(f.name);
    return std::string(1, letter);
  }
};

InputFormat formatOf(std::int32_t unit, const std::string& input, const BatchOptions& options) {
  if (options.fromExchange != series::Exchange::None) return {' ', options.fromExchange};
  if (options.from != ' ') return {options.from};
  constexpr std::size_t kIdentifyBytes = 65536;
  series::Exchange exchange = series::identifyExchange(fileText(input, kIdentifyBytes));
  if (exchange != series::Exchange::None) return {' ', exchange};
  return {series::FMTDET(unit)};
}

// Why the input cannot go to the new file's format, or "".
std::string refusedFormat(const InputFormat& format, const BatchOptions& options) {
  if (format.exchange != series::Exchange::None) return "";
  if (format.letter == ' ') return "its format is not recognised: name it with --from";
  if (std::string_view name = askingFormatName(format.letter); !name.empty())
    return "its format looks " + std::string(name) + " (" + format.letter +
           "), whose reading asks questions: edit it in the session, or name another"
           " format with --from";
  if (options.to == 'I' && options.toExchange == series::Exchange::None && format.letter != 'I')
    return std::string(
               "--to I writes index files with their sample counts; this input is"
               " not one (format ") +
           format.letter + ")";
  return "";
}

// Every series of a line format, read as the session reads them.
void readLineSeries(std::int32_t in, SeriesSink& sink) {
  auto s = std::make_unique<series::Series>();
  for (std::int32_t sequence = 1;; ++sequence) {
    s->ident.resize(kIdentLength, ' ');
    series::DATOL(*s, in);
    if (s->count < 1) return;
    sink.take(*s, sequence);
  }
}

void readExchangeSeries(const std::string& input, series::Exchange format, SeriesSink& sink) {
  const series::ExchangeRead read = series::readExchange(format, fileText(input));
  for (const std::string& message : read.messages) say(message);
  std::int32_t sequence = 0;
  for (const series::NamedSeries& named : read.series) sink.take(named, ++sequence);
}

// The program run of one input; false when it could not be read through.
bool readInput(const std::string& input, const std::string& newFile, const BatchOptions& options,
               InputReport& report) {
  common::PROGID("EDIT TIME SERIES");
  series::resetReaders();
  const std::int32_t in = common::UNITNO(1);
  const std::int32_t out = common::UNITNO(2);
  if (!dialogue::openDataFile(in, input)) return say("cannot be opened");
  const InputFormat format = formatOf(in, input, options);
  if (std::string why = refusedFormat(format, options); !why.empty()) return say(why);
  report.lines.push_back("format " + format.name());
  const bool writing = !newFile.empty();
  // A table's row holds a value of every series: its lines are not limited.
  const std::int32_t recordLength =
      options.toExchange == series::Exchange::None ? 0 : kExchangeRecordLength;
  if (writing && !dialogue::createDataFile(out, newFile, options.force, recordLength))
    return say("the new file " + newFile + " cannot be created");
  SeriesSink sink(out, writing, format.letter == 'I', options, report);
  if (format.exchange != series::Exchange::None) {
    readExchangeSeries(input, format.exchange, sink);
  } else {
    common::setUnitFormat(in, format.letter);
    readLineSeries(in, sink);
  }
  sink.finish();
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
