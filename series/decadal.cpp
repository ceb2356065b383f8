// The decadal formats: TRRW reads one series of the measurement ("MR") or
// index ("IR") format and hands the write requests to the writers.
//
// Every line holds an identification, a year and up to ten values aligned on
// decades; a measurement series ends at its stop marker (999 for .01
// precision, -9999 for .001), an index series at its first 9990 filler. A
// series that breaks off before its end (a line that does not read, or a
// line of another year than its next value's) ends there with a message,
// and the lines after the break begin the next series with their own years.
#include "series/decadal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "dialogue/ask.h"
#include "fmtio/io.h"
#include "fmtio/stop.h"
#include "series/datol.h"
#include "series/lines.h"

namespace series {
namespace {

// Column 8 holding "-" marks the I5 year layout of a measurement line.
constexpr std::size_t kLongYearColumn = 7;
// A line whose last non-blank character stands before column 9 is skipped.
constexpr int kShortestDataLine = 9;
// Stop markers as F6.2 reads them, and how close a value must come to one.
constexpr double kHundredthsMarker = 9.99;
constexpr double kThousandthsMarker = -99.99;
constexpr double kMarkerTolerance = 0.0001;
// A marker below this is the -9999 of .001 precision.
constexpr double kThousandthsBelow = -99.98;
// An index value read with F4.3 of at least this ends the series (9990 filler).
constexpr double kIndexEnd = 9.99;
// An identification passed in as this keeps the sample counts untouched.
constexpr std::string_view kNoSamples = "******";

// Fields are read in double precision so that the thousandths of a -9999
// series are rounded to single precision once, after the division by ten.
struct DecadalLine {
  std::string ident = std::string(8, ' ');
  std::int32_t year = 0;
  std::array<double, 10> values{};
  std::array<std::int32_t, 10> samples{};
};

fmtio::Control caught(std::int32_t& ios) { return {.iostat = &ios, .err = true, .end = true}; }

int parseMeasurementLine(std::string_view line, DecadalLine& d) {
  std::int32_t ios = 0;
  std::span<double> values(d.values);
  if (line[kLongYearColumn] != '-')
    return fmtio::READ(fmtio::Internal(line, caught(ios)), FMT("(A,I4,10F6.2)"), d.ident, d.year,
                       values);
  fmtio::Chars ident7{d.ident.data(), 7};
  d.ident[7] = ' ';
  return fmtio::READ(fmtio::Internal(line, caught(ios)), FMT("(A,I5,10F6.2)"), ident7, d.year,
                     values);
}

int parseIndexLine(std::string_view line, DecadalLine& d) {
  std::int32_t ios = 0;
  fmtio::Statement s =
      fmtio::Statement::read(fmtio::Internal(line, caught(ios)), &FMT("(A,I4,10(F4.3,I3))"));
  s << fmtio::Chars{d.ident.data(), 6} << d.year;
  for (std::size_t k = 0; k < d.values.size(); ++k) s << d.values[k] << d.samples[k];
  d.ident[6] = d.ident[7] = ' ';
  return s.end();
}

bool isMeasurementMarker(double v) {
  return std::fabs(v - kHundredthsMarker) < kMarkerTolerance ||
         std::fabs(v - kThousandthsMarker) < kMarkerTolerance;
}

// The values of the series being read, as F6.2 read them.
std::array<double, kMaxValues>& fieldValues() {
  static std::array<double, kMaxValues> values;
  return values;
}

// Where the value fields of a line stand: the 0-based column of the first
// and the width of each (an I6 value, or an index slot of I4 value and I3
// count); every line has room for ten.
struct FieldColumns {
  std::size_t first;
  std::size_t width;
};
constexpr FieldColumns kMeasurementFields{12, 6};
constexpr FieldColumns kIndexFields{10, 7};

// The fields a line really holds: those up to its last non-blank column
// within the fields (fields beyond the line's end read as 0). The last of
// them is cut when the line ends inside it while the field before it (or
// the year) is filled to its last column: its number stood right-justified
// and lost its last digits, so it would read as a smaller number. Lines
// whose numbers all stop short of their fields' ends, and lines that run
// on past their fields, are read as they stand.
struct FieldsPresent {
  int whole = 0;
  bool cut = false;
  int held() const { return whole + (cut ? 1 : 0); }
};

FieldsPresent fieldsPresent(std::string_view line, FieldColumns f) {
  std::size_t last = line.find_last_not_of(' ');
  if (last == std::string_view::npos || last < f.first) return {};
  if (last + 1 >= f.first + 10 * f.width) return {10, false};
  std::size_t used = last + 1 - f.first;
  FieldsPresent p{static_cast<int>(used / f.width), used % f.width != 0};
  if (p.cut && line[f.first + static_cast<std::size_t>(p.whole) * f.width - 1] == ' ') {
    p.cut = false;
    ++p.whole;
  }
  return p;
}

// The hundredths read become thousandths: the series' marker is -9999.
void toThousandths(Series& s) {
  const std::array<double, kMaxValues>& read = fieldValues();
  for (int j = 0; j < s.count; ++j) s.values[j] = static_cast<float>(read[j] / 10.0);
}

// The stop marker a measurement line holds: 999, -9999, or 0 for none.
int markerOn(std::string_view line) {
  DecadalLine d;
  if (dialogue::LASTNB(line) < kShortestDataLine || parseMeasurementLine(line, d) != 0) return 0;
  int held = fieldsPresent(line, kMeasurementFields).held();
  for (int i = 0; i < held; ++i)
    if (isMeasurementMarker(d.values[i])) return d.values[i] < kThousandthsBelow ? -9999 : 999;
  return 0;
}

// Lines looked at for the marker of a series that broke off: a series
// holds at most 4096 values, ten to a line.
constexpr std::size_t kMarkerSearchLines = kMaxValues / 10 + 2;

// A measurement series that broke off has no marker to tell its precision:
// it takes that of the next marker in the file (of the rest of the series,
// or of the series after it). The lines looked at, and the last line read
// when withLast, are put back for the next series.
void precisionFromNextMarker(Series& s, std::int32_t unit, bool withLast) {
  std::vector<std::string> seen;
  if (withLast) seen.push_back(lastLineRead());
  std::string line(kLineLength, ' ');
  int marker = withLast ? markerOn(std::string_view(seen.back()).substr(0, kLineLength)) : 0;
  while (marker == 0 && seen.size() < kMarkerSearchLines &&
         readLine(unit, line) == LineStatus::Ok) {
    seen.push_back(lastLineRead());
    marker = markerOn(line);
  }
  for (auto it = seen.rbegin(); it != seen.rend(); ++it) unreadLine(unit, *it);
  if (marker < 0) toThousandths(s);
}

// What one line gave the series: the values taken, and whether the series
// ended on it.
struct Taken {
  int values = 0;
  bool ended = false;
};

// Takes the values of one measurement line up to its stop marker, after
// which a -9999 marker turns the hundredths read into thousandths. A field
// the line does not hold, or holds cut, is no value.
Taken takeMeasurements(const DecadalLine& d, int onLine, FieldsPresent present, SeriesFill& fill,
                       Series& s) {
  std::array<double, kMaxValues>& read = fieldValues();
  Taken t;
  for (int i = 0; i < std::min(onLine, present.held()); ++i) {
    double v = d.values[i];
    if (isMeasurementMarker(v)) {
      if (v < kThousandthsBelow) toThousandths(s);
      t.ended = true;
      return t;
    }
    if (i == present.whole) break;
    if (s.count < kMaxValues) read[s.count] = v;
    fill.add(static_cast<float>(v));
    ++t.values;
  }
  return t;
}

// Takes the last onLine slots of one index line up to the first value of
// 9.99 or more; a slot the line does not hold whole is no value.
Taken takeIndices(const DecadalLine& d, int onLine, FieldsPresent present, bool storeSamples,
                  SeriesFill& fill) {
  Taken t;
  for (int slot = 10 - onLine; slot < present.held(); ++slot) {
    if (d.values[slot] >= kIndexEnd) {
      t.ended = true;
      return t;
    }
    if (slot == present.whole) break;
    auto v = static_cast<float>(d.values[slot]);
    if (storeSamples)
      fill.add(v, d.samples[slot]);
    else
      fill.add(v);
    ++t.values;
  }
  return t;
}

// A text line in front of a series: echoed, the run ends after too many.
void textLine(std::string_view line, int& textLines, char& note) {
  if (++textLines > kMaxTextLines) fmtio::STOP(">> Sbr TRRW:  Text over 25 lines");
  echoTitle(line, TitleStyle::Blank1X, note);
}

// The file ended in the middle of a series: the series is kept with a
// warning.
void missingMarker(Series& s) {
  if (s.count < 1) {
    s.count = -1;
    return;
  }
  fmtio::WRITE(6,
               FMT("(' >> Sbr TRRW:  Series ',A,' ends without its stop marker',"
                   "' at the end of the file')"),
               shownIdent(s.ident));
}

// The series being read and the year its next value must have.
struct DecadalRead {
  Series& s;
  SeriesFill fill;
  bool index;
  bool storeSamples;
  std::int64_t nextYear = 0;
};

// A data line whose year is not the year of the series' next value: the
// series ends with the values read and the line begins the next series.
void yearBreak(DecadalRead& r, std::int32_t unit, std::int32_t lineYear) {
  fmtio::WRITE(6,
               FMT("(' >> Sbr TRRW:  Series ',A,' ends in ',I0,' without its stop marker:',"
                   "' the line of ',I0,' starts a new series')"),
               shownIdent(r.s.ident), r.nextYear - 1, lineYear);
  if (r.index)
    unreadLine(unit);
  else
    precisionFromNextMarker(r.s, unit, true);
}

// A line inside a series that does not read as a data line: the series
// ends before it, and the lines after it begin the next series.
void damagedLine(const DecadalRead& r, std::int32_t unit, std::string_view line) {
  std::size_t end = static_cast<std::size_t>(dialogue::LASTNB(line));
  fmtio::WRITE(6,
               FMT("(' >> Sbr TRRW:  Series ',A,' ends in ',I0,' at a line that does not',"
                   "' read:'/1X,A)"),
               shownIdent(r.s.ident), r.nextYear - 1, line.substr(0, end));
  if (!r.index) precisionFromNextMarker(r.s, unit, false);
}

// Takes one data line into the series; true when the series ended on it
// (its stop marker) with values.
bool takeLine(DecadalRead& r, const DecadalLine& d, std::string_view line) {
  if (r.s.count == 0) {
    setIdent(r.s.ident, d.ident);
    r.s.firstYear = d.year;
  }
  int onLine = valuesOnFirstLine(d.year);
  Taken t = r.index
                ? takeIndices(d, onLine, fieldsPresent(line, kIndexFields), r.storeSamples, r.fill)
                : takeMeasurements(d, onLine, fieldsPresent(line, kMeasurementFields), r.fill, r.s);
  r.nextYear = std::int64_t{d.year} + t.values;
  if (!t.ended || r.s.count > 0) return t.ended;
  fmtio::WRITE(6,
               FMT("(' >> Sbr TRRW:  Series ',A,': the line of ',I0,' ends a series',"
                   "' before any value: skipped')"),
               shownIdent(d.ident), d.year);
  return false;
}

void readDecadal(Series& s, std::int32_t unit, bool index) {
  ReaderState& state = readerState();
  s.count = 0;
  DecadalRead r{s, SeriesFill(s, "TRRW"), index, index && shownIdent(s.ident) != kNoSamples};
  int textLines = 0;
  std::string line(kLineLength, ' ');
  DecadalLine d;
  for (;;) {
    if (readLine(unit, line) != LineStatus::Ok) {
      missingMarker(s);
      return updateTitleFlag(state.decadalNote);
    }
    if (dialogue::LASTNB(line) < kShortestDataLine) continue;
    int rc = index ? parseIndexLine(line, d) : parseMeasurementLine(line, d);
    if (rc == fmtio::kOutcomeEnd) {
      s.count = -1;
      return;
    }
    bool inSeries = s.count > 0;
    if (rc != 0 && inSeries) {
      damagedLine(r, unit, line);
      return updateTitleFlag(state.decadalNote);
    }
    if (rc != 0) {
      textLine(line, textLines, state.decadalNote);
      continue;
    }
    if (inSeries && d.year != r.nextYear) {
      yearBreak(r, unit, d.year);
      return updateTitleFlag(state.decadalNote);
    }
    reportCutData();
    if (takeLine(r, d, line)) return updateTitleFlag(state.decadalNote);
  }
}

}  // namespace

int valuesOnFirstLine(std::int32_t firstYear) {
  int r = firstYear % 10;
  if (firstYear >= 0) return 10 - r;
  return r == 0 ? 10 : -r;
}

void TRRW(Series& s, std::int32_t unit, std::string_view request) {
  if (request == "MR") return readDecadal(s, unit, false);
  if (request == "IR") return readDecadal(s, unit, true);
  if (request == "MW") return writeMeasurements(s, unit, Precision::Hundredths);
  if (request == "3W") return writeMeasurements(s, unit, Precision::Thousandths);
  if (request == "IW") return writeIndices(s, unit);
  fmtio::WRITE(6, FMT("(' >> Sbr TRRW:  Unknown request ',A)"), request);
}

}  // namespace series
