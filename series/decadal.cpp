// The decadal formats: TRRW reads one series of the measurement ("MR") or
// index ("IR") format and hands the write requests to the writers.
//
// Every line holds an identification, a year and up to ten values aligned on
// decades; a measurement series ends at its stop marker (999 for .01
// precision, -9999 for .001), an index series at its first 9990 filler.
#include "series/decadal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <string>

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

// Takes the values of one measurement line; true at the stop marker, after
// which a -9999 marker turns the hundredths read into thousandths.
bool takeMeasurements(const DecadalLine& d, int onLine, SeriesFill& fill, Series& s) {
  std::array<double, kMaxValues>& read = fieldValues();
  for (int i = 0; i < onLine; ++i) {
    double v = d.values[i];
    if (!isMeasurementMarker(v)) {
      if (s.count < kMaxValues) read[s.count] = v;
      fill.add(static_cast<float>(v));
      continue;
    }
    if (v < kThousandthsBelow)
      for (int j = 0; j < s.count; ++j) s.values[j] = static_cast<float>(read[j] / 10.0);
    return true;
  }
  return false;
}

// Takes the last onLine slots of one index line; true at the first value of
// 9.99 or more.
bool takeIndices(const DecadalLine& d, int onLine, bool storeSamples, SeriesFill& fill) {
  for (int slot = 10 - onLine; slot < 10; ++slot) {
    auto v = static_cast<float>(d.values[slot]);
    if (d.values[slot] >= kIndexEnd) return true;
    if (storeSamples)
      fill.add(v, d.samples[slot]);
    else
      fill.add(v);
  }
  return false;
}

// A text line in front of a series: echoed, the run ends after too many.
void textLine(std::string_view line, int& textLines, char& note) {
  if (++textLines > kMaxTextLines) fmtio::STOP(">> Sbr TRRW:  Text over 25 lines");
  echoTitle(line, TitleStyle::Blank1X, note);
}

// Value fields a line really holds: those that begin before its last
// non-blank column (fields past the end of a short line read as 0).
int fieldsPresent(int lastColumn, bool index) {
  return index ? (lastColumn - 4) / 7 : (lastColumn - 7) / 6;
}

// The file ended in the middle of a series: the series is kept, without the
// zeros of fields its last line does not have, and with a warning.
void missingMarker(Series& s, int absentTail) {
  s.count -= absentTail;
  if (s.count < 1) {
    s.count = -1;
    return;
  }
  fmtio::WRITE(6,
               FMT("(' >> Sbr TRRW:  Series ',A,' ends without its stop marker',"
                   "' at the end of the file')"),
               shownIdent(s.ident));
}

void readDecadal(Series& s, std::int32_t unit, bool index) {
  ReaderState& state = readerState();
  bool storeSamples = index && shownIdent(s.ident) != kNoSamples;
  s.count = 0;
  int dataLines = 0, textLines = 0, absentTail = 0;
  SeriesFill fill(s, "TRRW");
  std::string line(kLineLength, ' ');
  DecadalLine d;
  for (;;) {
    if (readLine(unit, line) != LineStatus::Ok) {
      missingMarker(s, fill.cut() ? 0 : absentTail);
      return updateTitleFlag(state.decadalNote);
    }
    int last = dialogue::LASTNB(line);
    if (last < kShortestDataLine) continue;
    int rc = index ? parseIndexLine(line, d) : parseMeasurementLine(line, d);
    if (rc == fmtio::kOutcomeEnd) {
      s.count = -1;
      return;
    }
    if (rc != 0) {
      textLine(line, textLines, state.decadalNote);
      continue;
    }
    reportCutData();
    int onLine = ++dataLines == 1 ? valuesOnFirstLine(d.year) : 10;
    if (dataLines == 1) {
      setIdent(s.ident, d.ident);
      s.firstYear = d.year;
    }
    if (index ? takeIndices(d, onLine, storeSamples, fill) : takeMeasurements(d, onLine, fill, s))
      return updateTitleFlag(state.decadalNote);
    int end = index ? 10 : onLine;
    absentTail = std::max(0, end - std::max(end - onLine, fieldsPresent(last, index)));
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
