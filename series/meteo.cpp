// CLDMR reads one block of monthly meteorological data: text lines before
// the data give the title, skipped years are filled with missing values, a
// year going backwards ends the block. At the end of the data it shows the
// span of years, the months without data (by SERSTA) and the missing count.
#include "series/meteo.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <vector>

#include "fmtio/io.h"
#include "series/lines.h"

namespace series {
namespace {

constexpr int kMonths = 12;
// Columns of a month's field.
constexpr std::size_t kFieldWidth = 5;
// A year below this in four columns means the five-column layout.
constexpr std::int32_t kSmallestYear = 1000;
// Characters of a text line shown on the console.
constexpr std::size_t kShownText = 60;
// A title whose first characters are blank is taken from the next text line.
constexpr std::size_t kTitleBlankTest = 6;

// What one line did to the block.
enum class Outcome { Stored, Text, Backwards, Full };

// The block being read.
struct Block {
  std::string& title;
  std::span<float> values;
  std::int32_t unit;
  std::int32_t listUnit;
  std::int32_t capacity;
  std::int32_t years = 0;
  std::int32_t firstYear = 0;
  std::int32_t expected = 0;  // year of the last stored row
  std::int32_t missing = 0;
  int wide = 0;  // 1 in the five-column layout: also the offset of the month fields
  std::string line = std::string(kLineLength, ' ');
  std::int32_t year = 0;  // the year field of the line
  std::array<float, kMonths> row{};
};

// The next line of the block: a line the previous block left over, or the
// next record of the unit.
LineStatus nextLine(Block& b) {
  ReaderState& state = readerState();
  if (state.meteoPendingUnit == b.unit && !state.meteoPending.empty()) {
    b.line = state.meteoPending;
    state.meteoPending.clear();
    return LineStatus::Ok;
  }
  return readLine(b.unit, b.line);
}

// Reads the year and the twelve months of the line in the current layout.
bool parse(Block& b) {
  fmtio::Internal record(std::string_view(b.line), fmtio::Control::catching());
  std::span<float> row(b.row);
  int rc = b.wide == 0 ? fmtio::READ(record, FMT("(I4,12F5.1)"), b.year, row)
                       : fmtio::READ(record, FMT("(I5,12F5.1)"), b.year, row);
  return rc == fmtio::kCompleted;
}

// A year below 1000 in four columns: the line is read again with a
// five-column year. Only a line that then reads as data with a year of 1000
// or more switches the block to that layout; any other is a text line.
bool widen(Block& b) {
  if (b.wide == 1) return false;
  b.wide = 1;
  if (!parse(b) || b.year < kSmallestYear) {
    b.wide = 0;
    return false;
  }
  fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' Lamont-Doherty met data format')"));
  b.firstYear = 0;
  return true;
}

// The block holds no more years: the line is kept for the next block.
Outcome full(Block& b) {
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr CLDMR: Only',I4,' years fit one series: kept',I5,' to',I5,"
                   "'; the line of',I5,' begins the next')"),
               b.capacity, b.firstYear, b.firstYear + b.years - 1, b.year);
  ReaderState& state = readerState();
  state.meteoPending = b.line;
  state.meteoPendingUnit = b.unit;
  return Outcome::Full;
}

float* rowAt(Block& b, std::int32_t k) {
  return b.values.data() + static_cast<std::size_t>(k) * kMonths;
}

// Rows of missing values for the years skipped before the line, as many as fit.
bool fillGap(Block& b) {
  std::int32_t gap = b.year - b.expected;
  std::int32_t filled = std::min(gap, b.capacity - b.years);
  for (std::int32_t k = 0; k < filled; ++k) {
    std::fill_n(rowAt(b, b.years++), kMonths, kMissingValue);
    b.missing += kMonths;
  }
  if (filled > 0)
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Sbr CLDMR: Years skipped, taken as missing:',I5,' to',I5)"), b.expected,
                 b.expected + filled - 1);
  b.expected = b.year;
  return filled == gap;
}

// Stores the line's row; a month field of blanks is missing.
void storeRow(Block& b) {
  float* row = rowAt(b, b.years++);
  for (std::size_t m = 0; m < kMonths; ++m) {
    std::size_t column = (m + 1) * kFieldWidth + static_cast<std::size_t>(b.wide) - 1;
    bool blank = b.line.find_first_not_of(' ', column) >= column + kFieldWidth;
    row[m] = blank ? kMissingValue : b.row[m];
    if (blank) ++b.missing;
  }
  reportCutData();
}

Outcome takeLine(Block& b) {
  if (!parse(b)) return Outcome::Text;
  if (b.year < kSmallestYear && !widen(b)) return Outcome::Text;
  if (b.firstYear == 0) {
    b.firstYear = b.year;
    b.expected = b.year - 1;
  }
  ++b.expected;
  if (b.year < b.expected) {
    fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' >> Sbr CLDMR: Year goes from',I5,' to',I5)"),
                 b.expected, b.year);
    return Outcome::Backwards;
  }
  if (b.year > b.expected && !fillGap(b)) return full(b);
  if (b.years == b.capacity) return full(b);
  storeRow(b);
  return Outcome::Stored;
}

// A text line: the title while it is blank, shown and listed.
void showText(Block& b) {
  std::size_t test = std::min(kTitleBlankTest, b.title.size());
  if (b.title.find_first_not_of(' ') >= test) {
    std::size_t n = std::min(b.title.size(), b.line.size());
    b.title.replace(0, n, b.line, 0, n);
  }
  fmtio::WRITE(fmtio::kConsoleOutput, FMT("(1X,A)"),
               std::string_view(b.line).substr(0, kShownText));
  if (b.listUnit > 0) fmtio::WRITE(b.listUnit, FMT("(9X,A)"), b.line);
}

// Reads the block's lines; true when it ends with the summary (at the end of
// the file or when it is full), false when a line ended it at once.
bool readBlock(Block& b) {
  for (;;) {
    LineStatus status = nextLine(b);
    if (status == LineStatus::End) return true;
    Outcome outcome = status == LineStatus::Ok ? takeLine(b) : Outcome::Text;
    switch (outcome) {
      case Outcome::Stored: break;
      case Outcome::Text:
        if (b.years > 1) return false;
        showText(b);
        break;
      case Outcome::Backwards: return false;
      case Outcome::Full: return true;
    }
  }
}

// The span, the months without data and the missing count; returns the
// number of months with data.
std::int32_t summarize(Block& b) {
  if (b.years == 0) {
    fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' Sbr CLDMR: End of file')"));
    return 0;
  }
  std::int32_t last = b.firstYear + b.years - 1;
  fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' Span',3I6,' years')"), b.firstYear, last, b.years);
  if (b.listUnit > 0)
    fmtio::WRITE(b.listUnit, FMT("(9X,'Span',3I6,' years')"), b.firstYear, last, b.years);
  std::int32_t withData = 0;
  std::vector<float> work(static_cast<std::size_t>(b.years));
  for (std::int32_t m = 1; m <= kMonths; ++m) {
    for (std::int32_t k = 0; k < b.years; ++k) {
      float v = rowAt(b, k)[m - 1];
      work[static_cast<std::size_t>(k)] = v > kMissingValue ? v : 0.0f;
    }
    SeriesStats stats = SERSTA(work);
    if (stats.mean == 0.0f && stats.deviation == 0.0f)
      fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' Month',I3,' has no data')"), m);
    else
      ++withData;
  }
  if (b.missing > 0) {
    fmtio::WRITE(fmtio::kConsoleOutput, FMT("(I8,' missing data')"), b.missing);
    if (b.listUnit > 0) fmtio::WRITE(b.listUnit, FMT("(I12,' missing data')"), b.missing);
  }
  return withData;
}

}  // namespace

void CLDMR(std::string& title, std::int32_t& years, std::span<float> values,
           std::int32_t& firstYear, std::int32_t& monthsWithData, std::int32_t unit,
           std::int32_t listUnit, std::int32_t yearCapacity) {
  std::fill(title.begin(), title.end(), ' ');
  std::int32_t room = static_cast<std::int32_t>(values.size() / kMonths);
  Block b{title, values, unit, listUnit, std::clamp(yearCapacity, 0, room)};
  monthsWithData = 0;
  if (readBlock(b)) monthsWithData = summarize(b);
  years = b.years;
  firstYear = b.years > 0 ? b.firstYear : 0;
}

SeriesStats SERSTA(std::span<const float> x) {
  SeriesStats s;
  if (x.empty()) return s;
  s.mean = s.minimum = s.maximum = x[0];
  if (x.size() == 1) return s;
  float sum = x[0];
  float squares = x[0] * x[0];
  for (std::size_t i = 1; i < x.size(); ++i) {
    float pair = x[i] + x[i - 1];
    if (pair != 0.0f) s.sensitivity += std::fabs(2.0f * (x[i] - x[i - 1])) / pair;
    sum += x[i];
    squares += x[i] * x[i];
    s.minimum = std::min(s.minimum, x[i]);
    s.maximum = std::max(s.maximum, x[i]);
  }
  float n = static_cast<float>(x.size());
  s.mean = sum / n;
  float variance = std::fabs(squares - s.mean * sum) / (n - 1.0f);
  s.sensitivity /= n - 1.0f;
  s.deviation = std::sqrt(variance);
  if (s.minimum < 0.0f) s.sensitivity = 0.0f;
  return s;
}

}  // namespace series
