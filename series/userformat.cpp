// The user-format reading (format letter X): for each series the user types
// a format specification and the number of values, which are read from the
// unit's current position, the format reverting over as many records as it
// needs. The file holds no identification or year: the series keeps those it
// already has.
#include <span>
#include <string>
#include <string_view>

#include "dialogue/ask.h"
#include "fmtio/io.h"
#include "series/datol.h"
#include "series/series.h"

namespace series {
namespace {

// Characters of the typed format.
constexpr std::size_t kFormatLength = 40;
constexpr std::string_view kAskFormat = "FORMAT for reading file (with parentheses)";
constexpr std::string_view kAskCount = "Number of values to read";

// The number of values, asked again while it is more than a series holds.
std::int32_t askCount() {
  for (;;) {
    std::int32_t n = 0;
    dialogue::ASKINT(kAskCount, n);
    if (n <= kMaxValues) return n;
    dialogue::BELLUP();
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Sbr DATOL: A series holds at most',I5,' values, not',I11)"), kMaxValues,
                 n);
  }
}

// Reads n values through the typed format; false on an error or an early end.
bool readValues(Series& s, std::int32_t unit, const std::string& text, std::int32_t n) {
  fmtio::Format format(text);
  fmtio::ReadStatement read = fmtio::Statement::read(fmtio::Control::catching(unit), &format);
  read << std::span<float>(s.values.data(), static_cast<std::size_t>(n));
  return read.end() == fmtio::kCompleted;
}

}  // namespace

void readUserFormat(Series& s, std::int32_t unit) {
  fmtio::WRITE(fmtio::kConsoleOutput, FMT("(T40,'<CR> if no more data to read')"));
  std::string answer(kFormatLength, ' ');
  dialogue::ASKSTR(kAskFormat, answer);
  if (answer[0] == ' ' && answer[1] == ' ') {
    s.count = 0;
    return;
  }
  std::int32_t n = askCount();
  if (n >= 1 && !readValues(s, unit, answer, n)) {
    dialogue::BELLUP();
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Sbr DATOL: Format error or less than',I6,' data')"), n);
    n = -1;
  }
  s.count = n;
}

}  // namespace series
