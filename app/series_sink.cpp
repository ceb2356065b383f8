// Where convert and check put the series they read.
#include "app/series_sink.h"

#include "app/copying.h"
#include "app/edits.h"
#include "fmtio/io.h"
#include "fmtio/unit.h"

namespace app {
namespace {

// Output format letter -> columns of its identification field.
struct IdentField {
  char letter;
  std::size_t width;
};
constexpr IdentField kIdentFields[] = {{'C', 40}, {'M', 8}, {'3', 8}, {'I', 6}};

std::size_t identWidth(char letter) {
  for (const IdentField& f : kIdentFields)
    if (f.letter == letter) return f.width;
  return 8;
}

void sayRefused(std::int32_t sequence, const series::Series& s, const CopyCheck& check) {
  if (check.refusal == Refusal::YearsBeyond)
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Series',I5,2X,A,2I6,': not copied, its years do not fit',"
                     "' the new file''s year fields')"),
                 sequence, s.ident, s.firstYear, s.lastYear());
  else if (check.compactHoldsIt)
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Series',I5,2X,A,2I6,': not copied, its value',1PE12.4,' of year',"
                     "I6,' does not fit the new file''s value fields (the compact format',"
                     "' holds it)')"),
                 sequence, s.ident, s.firstYear, s.lastYear(), s.values[check.value],
                 s.firstYear + check.value);
  else
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Series',I5,2X,A,2I6,': not copied, its value',1PE12.4,' of year',"
                     "I6,' does not fit the new file''s value fields')"),
                 sequence, s.ident, s.firstYear, s.lastYear(), s.values[check.value],
                 s.firstYear + check.value);
}

std::string seriesLine(std::string_view ident, std::int32_t first, std::int32_t count) {
  std::string line(ident.size() + 30, ' ');
  fmtio::WRITE(fmtio::Internal(line), FMT("(2X,A,3I7)"), ident, first,
               yearAt(first, std::int64_t{count} - 1), count);
  return line.substr(0, line.find_last_not_of(' ') + 1);
}

void say(const std::string& text) { fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' >> ',A)"), text); }

}  // namespace

SeriesSink::SeriesSink(std::int32_t out, bool writing, bool withSamples,
                       const BatchOptions& options, InputReport& report)
    : out_(out), writing_(writing), withSamples_(withSamples), options_(options), report_(report) {}

void SeriesSink::count(std::int32_t values) {
  ++report_.series;
  report_.values += values;
}

void SeriesSink::take(series::Series& s, std::int32_t sequence) {
  if (!writing_) {
    report_.lines.push_back(seriesLine(s.ident, s.firstYear, s.count));
  } else if (options_.toExchange != series::Exchange::None) {
    collected_.push_back(series::namedFrom(s, withSamples_));
  } else {
    const std::string_view request =
        options_.to == 'I' ? kIndexRequest : writerRequest(options_.to);
    if (CopyCheck check = checkCopy(s, request); check.refusal != Refusal::None)
      return sayRefused(sequence, s, check);
    appendSeries(s, out_, request);
  }
  count(s.count);
}

void SeriesSink::take(const series::NamedSeries& named, std::int32_t sequence) {
  if (!writing_) {
    report_.lines.push_back(
        seriesLine(named.name, named.firstYear, static_cast<std::int32_t>(named.values.size())));
    count(static_cast<std::int32_t>(named.values.size()));
  } else if (options_.toExchange != series::Exchange::None) {
    collected_.push_back(named);
    count(static_cast<std::int32_t>(named.values.size()));
  } else {
    series::recordFrom(named, identFor(named.name), record_);
    take(record_, sequence);
  }
}

// The name cut to the new file's identification field, told when cut, and
// made distinct from the series before it by a number at its end.
std::string SeriesSink::identFor(const std::string& name) {
  const std::size_t width = identWidth(options_.to);
  std::string ident = name.substr(0, std::min(name.size(), width));
  const std::string cut = ident;
  for (int n = 2; idents_.count(ident) != 0; ++n) {
    std::string number = std::to_string(n);
    ident = cut.substr(0, std::min(cut.size(), width - number.size())) + number;
  }
  idents_.insert(ident);
  if (ident == name) return ident;
  if (ident == cut)
    say("Series " + name + ": identification cut to " + std::to_string(width) +
        " columns: " + ident);
  else
    say("Series " + name + ": identification cut to " + std::to_string(width) +
        " columns: " + ident + " (" + cut + " stands for an earlier series)");
  return ident;
}

void SeriesSink::finish() {
  if (!writing_) return;
  if (options_.toExchange != series::Exchange::None) writeExchange();
  fmtio::FLUSH(fmtio::Control::of(out_));
}

void SeriesSink::writeExchange() {
  const std::string text = series::writeExchange(options_.toExchange, collected_);
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find('\n', at);
    fmtio::WRITE(out_, FMT("(A)"), std::string_view(text).substr(at, end - at));
    at = end + 1;
  }
}

}  // namespace app
