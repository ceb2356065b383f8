// The compact format: DATR reads one series, CMPWR writes one.
//
// A series is a header line ending in "~" (count, first year, identification,
// decimal exponent and the real format of the data lines) followed by the
// values as integers in fixed fields, p to a line.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "common/text.h"
#include "fmtio/io.h"
#include "series/datol.h"
#include "series/lines.h"
#include "series/rounding.h"
#include "series/writers.h"

namespace series {
namespace {

// 0-based column of the identification in a header of the fixed layout.
constexpr std::size_t kIdentColumn = 21;
// Exponent (3 columns) and data format (8 columns) stand before the marker.
constexpr int kTailLength = 11;

struct CompactHeader {
  std::int32_t count = 0;
  std::int32_t firstYear = 0;
  std::int32_t exponent = 0;
  std::string dataFormat = std::string(8, ' ');
  std::size_t identColumn = kIdentColumn;
};

// Rewrites a header whose marker "@" stands in 1-based column n into the "~"
// layout: exponent 0 and the real format built from the count and the width
// found before the marker.
void convertAtHeader(std::string& line, int n) {
  std::string format = line.substr(n - 8, 3) + 'F' + line[n - 3] + ".0)";
  line.replace(n - 1 - kTailLength, kTailLength, "  0" + format);
  line[n - 1] = '~';
}

// Count and first year written as free numbers before "=N" and "=I" (as
// other programs write the header); the identification then follows "=I ".
int readFreeHeader(std::string_view line, CompactHeader& h) {
  std::size_t n = line.find("=N");
  std::size_t i = line.find("=I", n == std::string_view::npos ? 0 : n);
  if (n == std::string_view::npos || i == std::string_view::npos) return fmtio::kOutcomeError;
  int rc = fmtio::READ(fmtio::Internal(line.substr(0, n), fmtio::Control::catching()), fmtio::LIST,
                       h.count);
  if (rc == 0)
    rc = fmtio::READ(fmtio::Internal(line.substr(n + 2, i - n - 2), fmtio::Control::catching()),
                     fmtio::LIST, h.firstYear);
  h.identColumn = i + 3;
  return rc;
}

// Reads the header fields of a line whose marker stands in 1-based column n.
int readHeader(std::string_view line, int n, CompactHeader& h) {
  int rc = fmtio::READ(fmtio::Internal(line, fmtio::Control::catching()), FMT("(I8,T11,I8)"),
                       h.count, h.firstYear);
  if (rc == fmtio::kOutcomeError) rc = readFreeHeader(line.substr(0, n - 1 - kTailLength), h);
  if (rc != 0) return rc;
  return fmtio::READ(
      fmtio::Internal(line.substr(n - 1 - kTailLength, kTailLength), fmtio::Control::catching()),
      FMT("(I3,A)"), h.exponent, h.dataFormat);
}

// Values one record of a data format holds, the columns it spans and the
// column each value's field ends in; 0 values for a format that is not a
// plain list of fields.
struct RecordShape {
  int values = 0;
  int columns = 0;
  std::vector<int> ends;
};

RecordShape shapeOf(const fmtio::Format& format) {
  RecordShape shape;
  if (format.status() != 0) return {};
  std::size_t fields = 0;
  for (const fmtio::FormatEntry& e : format.entries())
    if (fmtio::isDataOp(e.op)) fields += e.repeat;
  shape.ends.reserve(fields);
  for (const fmtio::FormatEntry& e : format.entries()) {
    if (e.op == fmtio::Op::GroupOpen || e.op == fmtio::Op::Slash) return {};
    if (fmtio::isDataOp(e.op)) {
      shape.values += e.repeat;
      for (int k = 0; k < e.repeat; ++k) {
        shape.columns += std::max(e.w, 0);
        shape.ends.push_back(shape.columns);
      }
    } else if (e.op == fmtio::Op::X) {
      shape.columns += e.repeat;
    }
  }
  return shape;
}

// Whether the line reaches the end of the field of its last value: the
// integers stand right-justified, so a line that stops short was cut (the
// fields it lacks would read as 0, a cut one as a smaller number).
bool holdsFields(std::string_view line, const RecordShape& shape, std::size_t values) {
  std::size_t last = line.find_last_not_of(' ');
  std::size_t columns = last == std::string_view::npos ? 0 : last + 1;
  return columns >= static_cast<std::size_t>(shape.ends[values - 1]);
}

// Values times 10^exponent (power = 10^|exponent|), each rounded once.
void scaleByExponent(std::span<float> values, int exponent, double power) {
  if (exponent > 0)
    for (float& v : values) v = static_cast<float>(v * power);
  else if (exponent < 0)
    divideByPowerOfTen(values, -exponent, power);
}

// A line of numbers alone: digits, signs, points and blanks, and at least
// one digit.
bool onlyNumbers(std::string_view line) {
  return line.find_first_not_of("0123456789+-. ") == std::string_view::npos &&
         line.find_first_of("0123456789") != std::string_view::npos;
}

void reportBeyondCount(const Series& s, const CompactHeader& h, std::string_view text) {
  std::size_t from = text.find_first_not_of(' ');
  std::size_t end = text.find_last_not_of(' ');
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr DATR:  Series ',A,': values beyond the header count of ',I0,"
                   "'; not read:'/1X,A)"),
               shownIdent(s.ident), h.count, text.substr(from, end + 1 - from));
}

// What a data line holds beyond the values the reader takes from it: the
// fields after the header's count on the series' last line, and digits
// after the last field of the format.
void reportUnread(const Series& s, const CompactHeader& h, const RecordShape& shape,
                  std::string_view line, std::size_t taken) {
  std::size_t fieldsEnd = static_cast<std::size_t>(shape.ends[taken - 1]);
  std::string_view after = line.substr(std::min(fieldsEnd, line.size()));
  if (taken < shape.ends.size() && after.find_first_of("0123456789") != std::string_view::npos) {
    reportBeyondCount(s, h, after);
    return reportCutData();
  }
  reportCutData(static_cast<std::size_t>(shape.ends.back()));
}

// Lines of numbers alone that follow a series whose count is reached: the
// header counted fewer values than the file holds. They are named in a
// message each; the first other line is left to the next series.
void skipValuesBeyondCount(const Series& s, std::int32_t unit, const CompactHeader& h) {
  std::string line(kLineLength, ' ');
  while (readLine(unit, line) == LineStatus::Ok) {
    if (!onlyNumbers(line)) return unreadLine(unit);
    reportBeyondCount(s, h, line);
  }
}

// Reads the header's count of values, one data line at a time, parsing each
// line with the header's data format. The series keeps the values of the
// lines read whole when a line is bad or the file ends early.
// The header's data format compiled, kept while the next headers repeat it.
const fmtio::Format& dataFormatOf(const CompactHeader& h) {
  ReaderState& state = readerState();
  if (state.compactFormatText != h.dataFormat) {
    state.compactFormat = fmtio::Format(h.dataFormat);
    state.compactFormatText = h.dataFormat;
  }
  return state.compactFormat;
}

void readCompactValues(Series& s, std::int32_t unit, const CompactHeader& h) {
  const fmtio::Format& format = dataFormatOf(h);
  RecordShape shape = shapeOf(format);
  SeriesFill fill(s, "DATR");
  std::string line(static_cast<std::size_t>(std::max(kLineLength, shape.columns)), ' ');
  std::vector<float> fields(static_cast<std::size_t>(std::max(shape.values, 1)));
  double power = std::pow(10.0, std::abs(h.exponent));
  TabWatch tabs(unit);
  for (std::int32_t taken = 0; taken < h.count;) {
    LineStatus status = shape.values > 0 ? readLine(unit, line) : LineStatus::Error;
    if (status == LineStatus::End) {
      fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' >> Sbr DATR:  EOF unexpected')"));
      return;
    }
    std::span<float> row(fields.data(),
                         static_cast<std::size_t>(std::min(shape.values, h.count - taken)));
    bool read = status == LineStatus::Ok &&
                fmtio::READ(fmtio::Internal(std::string_view(line), fmtio::Control::catching()),
                            format, row) == 0;
    if (read) reportUnread(s, h, shape, line, row.size());
    if (!read || !holdsFields(line, shape, row.size())) {
      fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' >> Sbr DATR:  Read error')"));
      return;
    }
    if (tabs.heldTab(lastLineRead()))
      reportTab("DATR", shownIdent(s.ident), std::int64_t{s.firstYear} + taken);
    scaleByExponent(row, h.exponent, power);
    fill.addAll(row);
    taken += static_cast<std::int32_t>(row.size());
  }
  skipValuesBeyondCount(s, unit, h);
}

}  // namespace

void DATR(Series& s, std::int32_t unit) {
  ReaderState& state = readerState();
  std::size_t identLength = std::min(s.ident.size(), std::size_t{kMaxIdentLength});
  s.count = 0;
  std::string line(kLineLength, ' ');
  for (;;) {
    if (readLine(unit, line) != LineStatus::Ok) {
      s.count = -1;
      return updateTitleFlag(state.compactNote);
    }
    int n = common::LASTNB(line);
    if (n < 2) continue;
    char marker = line[n - 1];
    if (n > kTailLength && marker == '@') convertAtHeader(line, n);
    CompactHeader h;
    int rc = fmtio::kOutcomeError;
    if (n > kTailLength && (marker == '~' || marker == '@')) rc = readHeader(line, n, h);
    if (rc == fmtio::kOutcomeEnd) {
      s.count = -1;
      return;
    }
    if (rc != 0) {
      echoTitle(line, TitleStyle::Blank1X, state.compactNote);
      continue;
    }
    std::fill(line.begin() + (n - 1 - kTailLength), line.begin() + n, ' ');
    std::string_view ident = std::string_view(line).substr(std::min(h.identColumn, line.size()));
    setIdent(s.ident, ident.substr(0, std::min(identLength, ident.size())));
    s.firstYear = h.firstYear;
    if (h.count < 1) {
      s.count = h.count;
      return updateTitleFlag(state.compactNote);
    }
    readCompactValues(s, unit, h);
    // A series without a single good line is skipped: a count of 0 would
    // end the reading of the file.
    if (s.count > 0) return updateTitleFlag(state.compactNote);
  }
}

namespace {

// Largest magnitude an integer of a compact field may have before scaling:
// six columns, the sign of a negative value taking one of them.
constexpr double kFieldLimit = 999999.5;
constexpr int kLargestScale = 15;
// The smallest scale 10^-16 fits every value up to about 10^22.
constexpr int kSmallestUsualScale = -16;

// How the values of a series become the integers of its data lines.
struct CompactScaling {
  int scale = 0;     // integers = values times 10^scale, rounded
  int largest = -1;  // index of the value of largest magnitude (the first on ties)
  int divisor = 0;   // common trailing zeros removed: divided by 10^divisor
  int width = 6;     // field width
};

// The largest scale 10^j (j at most 15) that keeps range times 10^j below
// the field limit; the search starts just above the logarithm's estimate.
int scaleFor(double range) {
  double estimate = std::floor(std::log10(kFieldLimit / range)) + 1;
  int scale = static_cast<int>(std::min(estimate, double{kLargestScale}));
  while (std::pow(10.0, scale) * range >= kFieldLimit) --scale;
  return scale;
}

// Integers six columns hold, a negative one with its sign.
constexpr std::int32_t kLowestStored = -99999;
constexpr std::int32_t kHighestStored = 999999;

// The stored integers at the scale 10^scale; false when one of them does
// not fit its field.
bool storeAt(const Series& s, std::span<std::int32_t> k, int scale) {
  double power = std::pow(10.0, scale);
  bool fit = true;
  for (std::size_t i = 0; i < k.size(); ++i) {
    double x = s.values[i];
    k[i] = std::isfinite(x) ? static_cast<std::int32_t>(nearestInteger(x * power)) : 0;
    fit = fit && k[i] >= kLowestStored && k[i] <= kHighestStored;
  }
  return fit;
}

// Range, scale and stored integers (before the trailing zeros go). Values
// that are not numbers or infinite are stored as 0 with one message.
CompactScaling scaleValues(const Series& s, std::span<std::int32_t> k) {
  CompactScaling c;
  double range = 1.0;
  double largest = -1.0;  // magnitude of the value at c.largest
  int bad = 0, firstBad = 0;
  for (std::size_t i = 0; i < k.size(); ++i) {
    const double x = s.values[i];
    if (!std::isfinite(x)) {
      if (bad++ == 0) firstBad = static_cast<int>(i);
      continue;
    }
    range = std::max(range, std::max(x, -10.0 * x));
    if (std::fabs(x) > largest) {
      largest = std::fabs(x);
      c.largest = static_cast<int>(i);
    }
  }
  if (bad > 0)
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Sbr CMPWR:  Series ',A,':',I5,' values not numbers or',"
                     "' infinite, the first in year',I6,': written as 0')"),
                 shownIdent(s.ident), bad, std::int64_t{s.firstYear} + firstBad);
  // A negative value may round to -100000, one column too many: the next
  // smaller scale holds it.
  for (c.scale = scaleFor(range); !storeAt(s, k, c.scale);) --c.scale;
  if (c.scale < kSmallestUsualScale)
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Sbr CMPWR:  Series ',A,': values up to',1PE12.4,"
                     "' are beyond the usual scales: a larger exponent holds them')"),
                 shownIdent(s.ident), range);
  return c;
}

// First years the I8 field of the header holds.
constexpr std::int32_t kLowestHeaderYear = -9999999;
constexpr std::int32_t kHighestHeaderYear = 99999999;

// Whether the header's year field holds the first year.
bool headerHoldsYear(const Series& s) {
  return s.firstYear >= kLowestHeaderYear && s.firstYear <= kHighestHeaderYear;
}

// The same; otherwise the message, and the series is not written (a header
// of asterisks would be read as a title line).
bool firstYearFits(const Series& s) {
  if (headerHoldsYear(s)) return true;
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr CMPWR:  Series ',A,': the first year ',I0,' does not fit its',"
                   "' 8-column field: the series is not written')"),
               shownIdent(s.ident), s.firstYear);
  return false;
}

template <std::int32_t D>
void divideAll(std::span<std::int32_t> k) {
  for (std::int32_t& v : k) v /= D;
}
// Number of common trailing zeros -> division of every integer by 10 to that power.
constexpr void (*kDivideBy[7])(std::span<std::int32_t>) = {
    divideAll<1>,     divideAll<10>,     divideAll<100>,    divideAll<1000>,
    divideAll<10000>, divideAll<100000>, divideAll<1000000>};

// The index of the first integer from `from` on that is not a multiple of
// P, or the count: a division by a constant for each.
template <std::int32_t P>
std::size_t firstNotMultiple(std::span<const std::int32_t> k, std::size_t from) {
  while (from < k.size() && k[from] % P == 0) ++from;
  return from;
}
// j = 1..6 -> firstNotMultiple of 10^j.
constexpr std::size_t (*kFirstNotMultiple[7])(std::span<const std::int32_t>, std::size_t) = {
    nullptr,
    firstNotMultiple<10>,
    firstNotMultiple<100>,
    firstNotMultiple<1000>,
    firstNotMultiple<10000>,
    firstNotMultiple<100000>,
    firstNotMultiple<1000000>};

// Common trailing zeros: the first power 10^j (j = 1..6) that some integer
// is not a multiple of fixes the divisor 10^(j-1) and the width 7 - j (1
// when every integer is a multiple of 10^6). The count found so far only
// falls: the integers are passed over once, each tested against the count
// as it stands.
void removeTrailingZeros(std::span<std::int32_t> k, CompactScaling& c) {
  int common = 6;
  for (std::size_t i = 0; common > 0;) {
    i = kFirstNotMultiple[common](k, i);
    if (i == k.size()) break;
    --common;
  }
  c.divisor = common;
  c.width = std::max(6 - common, 1);
  if (common > 0) kDivideBy[common](k);
}

// A value line's format for one field width (1..6): its text, shown in the
// header, and the integer format the values are written with.
struct ValueLineFormat {
  std::string realText = std::string(8, ' ');
  std::string intText = std::string(8, ' ');
  fmtio::Format values;
};

// Built once for each width, as FMT compiles a constant format once.
const ValueLineFormat& valueLineFormat(std::int32_t width) {
  static const std::array<ValueLineFormat, 7> formats = [] {
    std::array<ValueLineFormat, 7> made;
    for (std::int32_t w = 1; w < 7; ++w) {
      ValueLineFormat& f = made[static_cast<std::size_t>(w)];
      const std::int32_t perLine = kLineLength / w;
      fmtio::WRITE(fmtio::Internal(f.realText), FMT("('(',I2,'F',I1,'.0)')"), perLine, w);
      fmtio::WRITE(fmtio::Internal(f.intText), FMT("('(',I2,'I',I1,')  ')"), perLine, w);
      f.values = fmtio::Format(f.intText);
    }
    return made;
  }();
  return formats[static_cast<std::size_t>(width)];
}

}  // namespace

void CMPWR(const Series& s, std::int32_t unit) {
  if (s.count < 1 || !firstYearFits(s)) return;
  std::string_view ident(s.ident);
  ident = ident.substr(0, std::min(ident.size(), std::size_t{kMaxIdentLength}));
  ident = ident.substr(0, static_cast<std::size_t>(common::LASTNB(ident)));
  std::int32_t n = std::min(s.count, static_cast<std::int32_t>(kMaxValues));
  std::array<std::int32_t, kMaxValues> stored;
  std::span<std::int32_t> k(stored.data(), static_cast<std::size_t>(n));
  CompactScaling c = scaleValues(s, k);
  removeTrailingZeros(k, c);
  // value = integer times 10^exponent; 0 when every integer is 0.
  std::int32_t exponent = c.largest < 0 || k[c.largest] == 0 ? 0 : c.divisor - c.scale;
  const ValueLineFormat& line = valueLineFormat(c.width);
  fmtio::WRITE(unit, FMT("(I8,'=N',I8,'=I',T22,A,T69,I3,A,'~')"), n, s.firstYear, ident, exponent,
               line.realText);
  fmtio::WRITE(unit, line.values, std::span<const std::int32_t>(k));
}

bool compactYearsFit(const Series& s) { return headerHoldsYear(s); }

}  // namespace series
