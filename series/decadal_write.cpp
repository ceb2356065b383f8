// Writing the decadal formats: measurement series in hundredths or
// thousandths with their stop marker, index series with sample counts and
// 9990 fillers. Values that would not survive the file (a field of
// asterisks, an integer equal to a stop marker) are reported; a series
// whose years its lines' year fields cannot hold is reported and not
// written.
#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "fmtio/io.h"
#include "series/decadal.h"
#include "series/lines.h"
#include "series/rounding.h"
#include "series/writers.h"

namespace series {
namespace {

struct MeasurementScale {
  float factor;              // value times factor is the stored integer
  std::int32_t marker;       // stop marker after the last value
  std::string_view request;  // the writer request of the precision
};
// Precision of the measurement format -> multiplier, stop marker, request.
constexpr MeasurementScale kMeasurementScales[] = {{100.0f, 999, "MW"}, {1000.0f, -9999, "3W"}};

// A stored integer that would be read as a stop marker -> the integer
// written instead, with a message: 999 (the .01 marker) as 1000, -9999
// (the .001 marker) as -10000.
struct StandIn {
  std::int32_t marker;
  std::int32_t written;
};
constexpr StandIn kStandIns[] = {{999, 1000}, {-9999, -10000}};

constexpr int kMeasurementWidth = 6;
constexpr int kIndexWidth = 4;
// Index values are scaled down by tenths until the largest is at most this,
// so that no stored index reaches the 9990 filler.
constexpr float kIndexLimit = 9.98949f;
constexpr std::int32_t kIndexFiller = 9990;
// A stored integer no field can hold, written as asterisks.
constexpr std::int32_t kNoField = kBeyondStoredIntegers;

// Years a line's year field holds: I4, and I5 below -999 for measurements.
constexpr std::int32_t kLowestMeasurementYear = -9999;
constexpr std::int32_t kLowestI4Year = -999;
constexpr std::int32_t kHighestYear = 9999;
// Column 8 of a measurement line: "-" there makes the reader take the I5 year.
constexpr std::size_t kSignColumn = 7;

// Year of the last line written: the first line when its slots hold every
// value and the end (marker or filler) too, else the line of the decade
// of the year after the last value.
std::int64_t lastLineYear(const Series& s) {
  if (s.count < valuesOnFirstLine(s.firstYear)) return s.firstYear;
  std::int64_t end = std::int64_t{s.firstYear} + s.count;
  return end - ((end % 10) + 10) % 10;
}

// The first line year that its field cannot hold, or 0 when all fit (0
// itself always fits).
std::int64_t yearBeyondField(const Series& s, std::int32_t lowest) {
  if (s.firstYear < lowest || s.firstYear > kHighestYear) return s.firstYear;
  if (lastLineYear(s) > kHighestYear) return kHighestYear + 1;  // the first decade line beyond
  return 0;
}

// Whether every line's year fits its field; otherwise the message naming
// the first year that does not, and the series is not written at all (a
// year of asterisks would not read back).
bool yearsFit(const Series& s, std::int32_t lowest) {
  std::int64_t beyond = yearBeyondField(s, lowest);
  if (beyond == 0) return true;
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr TRRW:  Series ',A,': the year ',I0,' does not fit its',"
                   "' year field: the series is not written')"),
               shownIdent(s.ident), beyond);
  return false;
}

// The identification of the lines of I4 years: a "-" in column 8 would be
// read as the sign of an I5 year, so it is written as a blank, with a message.
std::string measurementIdent(const Series& s) {
  std::string ident8 = identColumns(s.ident, 8);
  if (ident8[kSignColumn] != '-' || lastLineYear(s) < kLowestI4Year) return ident8;
  ident8[kSignColumn] = ' ';
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr TRRW:  Series ',A,': the - in column 8 would be read as',"
                   "' the sign of the year: written as a blank')"),
               shownIdent(s.ident));
  return ident8;
}

// Whether an I field of width 4 or 6 holds the integer, sign included.
bool fitsField(std::int32_t k, int width) {
  std::int32_t top = width == kIndexWidth ? 9999 : 999999;
  return k <= top && k > -(top + 1) / 10;
}

// Whether the integer a value is stored as (nearestStored) fits the
// 6-column field, told from the single-precision product alone: halves are
// rounded away from zero, so the integer is -99999 to 999999 exactly when
// the product lies strictly between -99999.5 and 999999.5 (both exact in
// single precision); a product that is not a number fails both comparisons.
bool productFitsMeasurementField(float value, float factor) {
  constexpr float kBelowLowest = -99999.5f;
  constexpr float kAboveHighest = 999999.5f;
  const float product = value * factor;
  return (product > kBelowLowest) & (product < kAboveHighest);
}

void reportNoField(const Series& s, int i, int width) {
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr TRRW:  Series ',A,', year',I6,': value',1PE12.4,"
                   "' does not fit its',I2,'-column field: written as asterisks')"),
               shownIdent(s.ident), s.firstYear + i, s.values[i], width);
}

// The integer a value whose stored integer is a stop marker or fits no
// field is written as, with its message.
std::int32_t unusualMeasurement(const Series& s, int i, std::int32_t k) {
  for (const StandIn& m : kStandIns) {
    if (k != m.marker) continue;
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Sbr TRRW:  Series ',A,', year',I6,': the stored value ',I0,"
                     "' is the stop marker: written as ',I0)"),
                 shownIdent(s.ident), s.firstYear + i, m.marker, m.written);
    return m.written;
  }
  if (!fitsField(k, kMeasurementWidth)) reportNoField(s, i, kMeasurementWidth);
  return k;
}

// The integers the values are written as, in the order of the values, the
// messages of the unusual ones among them. Nearly every series has none:
// told while the integers are made, without a branch for each.
void storeMeasurements(const Series& s, const MeasurementScale& scale,
                       std::span<std::int32_t> stored) {
  constexpr std::int32_t kLowestFitting = -99999;
  constexpr std::int32_t kHighestFitting = 999999;
  auto unusual = [](auto k) {
    return (k < kLowestFitting) | (k > kHighestFitting) | (k == kStandIns[0].marker) |
           (k == kStandIns[1].marker);
  };
  // Blocks of eight values, each a loop of a known count that runs on vectors.
  constexpr std::size_t kBlock = 8;
  std::size_t i = 0;
  for (; i + kBlock <= stored.size(); i += kBlock)
    for (std::size_t j = 0; j < kBlock; ++j)
      stored[i + j] = nearestStoredInteger(s.values[i + j], scale.factor);
  for (; i < stored.size(); ++i) stored[i] = nearestStoredInteger(s.values[i], scale.factor);
  if (!anyElement<std::int32_t>(stored.data(), stored.size(), unusual)) return;
  for (std::size_t i = 0; i < stored.size(); ++i)
    if (unusual(stored[i])) stored[i] = unusualMeasurement(s, static_cast<int>(i), stored[i]);
}

// The slots of a series' lines (its integers, then the stop marker), the
// first line from the first year to the end of its decade, then ten a line.
// The lines of one year field go out in one statement, the format taken
// again for each line; a first line of fewer than ten slots ends its
// statement, as a line with a short year field ends the run of them.
void writeMeasurementLines(std::int32_t unit, std::string_view ident8, std::int32_t firstYear,
                           std::span<const std::int32_t> slots) {
  // Line i starts at slot start(i): the first line holds `first` slots.
  const auto first = std::min(static_cast<std::size_t>(valuesOnFirstLine(firstYear)), slots.size());
  auto start = [first](std::size_t i) { return i == 0 ? 0 : first + 10 * (i - 1); };
  const std::size_t lines = 1 + (slots.size() - first + 9) / 10;
  std::vector<std::int32_t> years(lines);
  for (std::size_t i = 0; i < lines; ++i)
    years[i] = firstYear + static_cast<std::int32_t>(start(i));
  std::vector<fmtio::Item> items;
  items.reserve(3 * lines);
  for (std::size_t i = 0; i < lines;) {
    const bool wide = years[i] < kLowestI4Year;
    const fmtio::Item ident = fmtio::outputItem(wide ? ident8.substr(0, 7) : ident8);
    items.clear();
    std::size_t used = 0;  // slots of the line last taken
    do {
      used = std::min(i == 0 ? first : 10, slots.size() - start(i));
      items.push_back(ident);
      items.push_back(fmtio::outputItem(years[i]));
      items.push_back(fmtio::outputItem(slots.subspan(start(i), used)));
      ++i;
    } while (i < lines && used == 10 && (years[i] < kLowestI4Year) == wide);
    if (wide)
      fmtio::WRITE(unit, FMT("(A,I5,10I6)"), fmtio::ItemList{items});
    else
      fmtio::WRITE(unit, FMT("(A,I4,10I6)"), fmtio::ItemList{items});
  }
}

// The factor that brings the largest index within the field, with the
// message when it is not 1.
float indexFactor(const Series& s, std::string_view ident8) {
  float largest = 0.0f;
  bool any = false;
  for (int i = 0; i < s.count; ++i) {
    if (!std::isfinite(s.values[i])) continue;
    largest = any ? std::max(largest, s.values[i]) : s.values[i];
    any = true;
  }
  float g = 1.0f;
  while (largest * g > kIndexLimit) g *= 0.1f;
  if (g != 1.0f)
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Sbr TRRW: Series ',A,' max value',F9.3,' multiplied by',F9.5)"), ident8,
                 largest, g);
  return g;
}

void writeIndexLine(std::int32_t unit, std::string_view ident8, std::int32_t year,
                    const std::array<std::int32_t, 10>& values,
                    const std::array<std::int32_t, 10>& samples) {
  fmtio::WriteStatement line = fmtio::Statement::write(unit, FMT("(A,I4,10(I4,I3))"));
  line << ident8.substr(0, 6) << year;
  for (std::size_t k = 0; k < values.size(); ++k) line << values[k] << samples[k];
  line.end();
}

// Writer request -> lowest year of its lines; the compact header has its own.
struct YearField {
  std::string_view request;
  std::int32_t lowest;
};
constexpr YearField kYearFields[] = {
    {"MW", kLowestMeasurementYear}, {"3W", kLowestMeasurementYear}, {"IW", kLowestI4Year}};

}  // namespace

// The writer's own rounding and field decide: a value fits when the
// integer it would be stored as fits the 6-column field.
int firstValueBeyond(const Series& s, std::string_view request) {
  const MeasurementScale* scale = nullptr;
  for (const MeasurementScale& m : kMeasurementScales)
    if (m.request == request) scale = &m;
  const int n = std::min(s.count, static_cast<std::int32_t>(kMaxValues));
  // A value that is not finite makes a product outside the field's range
  // (or not a number): the one test covers both.
  if (scale != nullptr) {
    // Blocks of eight told at once (on vectors) up to the first block with
    // a value beyond; from there value by value.
    constexpr int kBlock = 8;
    const float factor = scale->factor;
    int i = 0;
    for (; i + kBlock <= n; i += kBlock) {
      std::int32_t beyond = 0;
      for (int j = 0; j < kBlock; ++j)
        beyond |= !productFitsMeasurementField(s.values[i + j], factor);
      if (beyond != 0) break;
    }
    for (; i < n; ++i)
      if (!productFitsMeasurementField(s.values[i], factor)) return i;
    return -1;
  }
  for (int i = 0; i < n; ++i)
    if (!std::isfinite(s.values[i])) return i;
  return -1;
}

bool writerYearsFit(const Series& s, std::string_view request) {
  for (const YearField& field : kYearFields)
    if (field.request == request) return yearBeyondField(s, field.lowest) == 0;
  return compactYearsFit(s);
}

void writeMeasurements(const Series& s, std::int32_t unit, Precision precision) {
  if (s.count < 1 || !yearsFit(s, kLowestMeasurementYear)) return;
  const MeasurementScale& scale = kMeasurementScales[static_cast<int>(precision)];
  std::string ident8 = measurementIdent(s);
  std::vector<std::int32_t> slots(static_cast<std::size_t>(s.count) + 1);
  storeMeasurements(s, scale, std::span(slots).first(slots.size() - 1));
  slots.back() = scale.marker;
  writeMeasurementLines(unit, ident8, s.firstYear, slots);
}

void writeIndices(const Series& s, std::int32_t unit) {
  if (s.count < 1 || !yearsFit(s, kLowestI4Year)) return;
  std::string ident8 = identColumns(s.ident, 8);
  float g = indexFactor(s, ident8);
  bool oneSample = s.samples[0] < 1;
  int first = 11 - valuesOnFirstLine(s.firstYear);
  std::array<std::int32_t, 10> values, samples;
  int next = 0;
  bool finished = false;
  for (std::int32_t year = s.firstYear; !finished; year += 11 - first, first = 1) {
    values.fill(kIndexFiller);
    samples.fill(0);
    for (int slot = first - 1; slot < 10; ++slot, ++next) {
      if (next == s.count) {
        finished = true;
        break;
      }
      values[slot] = nearestStoredInteger(s.values[next], 1000.0f * g);
      if (!fitsField(values[slot], kIndexWidth)) reportNoField(s, next, kIndexWidth);
      samples[slot] = oneSample ? 1 : s.samples[next];
    }
    writeIndexLine(unit, ident8, year, values, samples);
  }
}

}  // namespace series
