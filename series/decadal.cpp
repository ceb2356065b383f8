// The decadal formats: TRRW reads one series of the measurement ("MR") or
// index ("IR") format and hands the write requests to the writers.
//
// Every line holds an identification, a year and up to ten values aligned on
// decades; a measurement series ends at its stop marker (999 for .01
// precision, -9999 for .001), an index series at its first 9990 filler. A
// series that breaks off before its end (a line that does not read, or a
// line of another year than its next value's) ends there with a message,
// and the lines after the break begin the next series with their own years.
// Every number of a data line that does not reach the series is named in a
// message: fields beyond the line's decade or beyond its ten fields.
#include "series/decadal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "common/text.h"
#include "fmtio/io.h"
#include "fmtio/stop.h"
#include "series/datol.h"
#include "series/decadal_lines.h"
#include "series/lines.h"

namespace series {
namespace {

// A line whose last non-blank character stands before column 9 is skipped.
constexpr int kShortestDataLine = 9;
// An index value read with F4.3 of at least this ends the series (9990 filler).
constexpr double kIndexEnd = 9.99;
// An identification passed in as this keeps the sample counts untouched.
constexpr std::string_view kNoSamples = "******";
// Columns of the identification of an index line.
constexpr std::size_t kIndexIdentWidth = 6;

// The series being read and the year its next value must have.
struct DecadalRead {
  DecadalRead(Series& series, std::int32_t u, bool isIndex)
      : s(series),
        fill(series, "TRRW"),
        unit(u),
        index(isIndex),
        storeSamples(isIndex && shownIdent(series.ident) != kNoSamples),
        tabs(u) {}
  Series& s;
  SeriesFill fill;
  std::int32_t unit;
  bool index;
  bool storeSamples;
  TabWatch tabs;
  std::int64_t nextYear = 0;
  std::string firstLine = {};   // the series' first data line
  bool otherIdentTold = false;  // a line of another identification was told
  // The values taken so far as F6.2 read them (measurements): the series'
  // values once more when its marker turns out to be -9999.
  std::unique_ptr<double[]> read = std::make_unique_for_overwrite<double[]>(kMaxValues);
};

// The hundredths read become thousandths: the series' marker is -9999.
void toThousandths(const DecadalRead& r) {
  for (int j = 0; j < r.s.count; ++j) r.s.values[j] = static_cast<float>(r.read[j] / 10.0);
}

// The measurement fields of a line, without what stands after them.
std::string_view fieldsOnly(std::string_view line) {
  return line.substr(0, std::min(line.size(), kMeasurementFields.end()));
}

// Whether the line holds a character other than a blank or a NUL in the
// 1-based column or beyond, as common::LASTNB(line) >= column tells: looked
// for from that column on, where a data line has its year.
bool reachesColumn(std::string_view line, int column) {
  for (auto i = static_cast<std::size_t>(column - 1); i < line.size(); ++i)
    if (line[i] != ' ' && line[i] != '\0') return true;
  return false;
}

// The stop marker a measurement line holds: 999, -9999, or 0 for none.
int markerOn(std::string_view line) {
  DecadalLine d;
  if (common::LASTNB(line) < kShortestDataLine || parseMeasurementLine(line, d) != 0) return 0;
  return stopMarker(d, fieldsPresent(fieldsOnly(line), kMeasurementFields)).kind;
}

// Lines looked at for the marker of a series that broke off: a series
// holds at most 4096 values, ten to a line.
constexpr std::size_t kMarkerSearchLines = kMaxValues / 10 + 2;

// A measurement series that broke off has no marker to tell its precision:
// it takes that of the next marker in the file (of the rest of the series,
// or of the series after it). The lines looked at, and the last line read
// when withLast, are put back for the next series.
void precisionFromNextMarker(const DecadalRead& r, bool withLast) {
  const std::int32_t unit = r.unit;
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
  if (marker < 0) toThousandths(r);
}

// What one line gave the series: the values taken, and whether the series
// ended on it.
struct Taken {
  int values = 0;
  bool ended = false;
};

// The next line that may be a data line, left to be read again.
std::string peekDataLine(std::int32_t unit) {
  std::vector<std::string> seen;
  std::string line(kLineLength, ' ');
  while (readLine(unit, line) == LineStatus::Ok) {
    seen.push_back(lastLineRead());
    if (common::LASTNB(line) >= kShortestDataLine) break;
  }
  for (auto it = seen.rbegin(); it != seen.rend(); ++it) unreadLine(unit, *it);
  return seen.empty() ? std::string() : seen.back().substr(0, kLineLength);
}

// Whether the file's stop markers other than the undecided ones are all
// -9999: its precision is .001, and a 999 in it is a value.
bool fileIsThousandths(std::int32_t unit) {
  FileSurvey& survey = surveyOf(unit);
  if (!survey.known) return false;
  if (!survey.markersCounted) {
    FileMarkers m = markersOf(surveyLines(survey));
    survey.hundredthsMarkers = m.hundredths;
    survey.thousandthsMarkers = m.thousandths;
    survey.markersCounted = true;
  }
  return survey.thousandthsMarkers > 0 && survey.hundredthsMarkers == 0;
}

// What a 999 that ends its line, the series going on after it, is read as:
// whether every other stop marker of the file is -9999 -> the message's end.
constexpr std::string_view kOpen999[] = {
    "the file also ends series with 999: read as the stop marker",
    "every other stop marker of the file is -9999: read as a value"};

// A single 999 that ends its line while the next line goes on with the
// series at the year after it: a value when every other marker of the file
// is -9999, otherwise the series' stop marker; told either way.
bool markerReadAsValue(const DecadalRead& r, const DecadalLine& d, std::string_view line,
                       LineMarker stop, int held) {
  if (stop.kind != 999 || stop.at + 1 != held) return false;
  std::int64_t year = std::int64_t{d.year} + stop.at;
  if (!continuesWith(line, peekDataLine(r.unit), year + 1)) return false;
  bool value = fileIsThousandths(r.unit);
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr TRRW:  Series ',A,', year',I6,': 999 ends its line and the series',"
                   "' goes on; ',A)"),
               shownIdent(r.s.ident), year, kOpen999[value ? 1 : 0]);
  return value;
}

// The series ends at its stop marker; after -9999 the hundredths read
// become thousandths. The marker is kept as the file's last one.
void endAtMarker(DecadalRead& r, std::int32_t kind) {
  if (kind < 0) toThousandths(r);
  ReaderState& state = readerState();
  state.lastMarker = kind;
  state.markerUnit = r.unit;
}

// Fields of a line after the last one its decade holds (the first line of
// a series starting after a year ending in 0 has fewer than ten): named in
// a message, with the year the first of them would have.
// fields: the line up to the end of its fields, which hold inFields.
void reportBeyondDecade(const DecadalRead& r, const DecadalLine& d, std::string_view fields,
                        FieldsPresent inFields, int onLine, FieldColumns f) {
  if (inFields.held() <= onLine) return;
  std::size_t from = f.first + static_cast<std::size_t>(onLine) * f.width;
  std::string_view rest = fields.substr(from);
  rest = rest.substr(rest.find_first_not_of(' '));
  rest = rest.substr(0, rest.find_last_not_of(' ') + 1);
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr TRRW:  Series ',A,', year',I6,': beyond the decade of the',"
                   "' line of ',I0,'; not read:'/1X,A)"),
               shownIdent(r.s.ident), std::int64_t{d.year} + onLine, d.year, rest);
}

// Takes the values of one measurement line up to its stop marker. A field
// the line does not hold, or holds cut, is no value.
// The line's last non-blank column is looked for once: on nearly every
// line it stands within the fields, which then end there too.
Taken takeMeasurements(DecadalRead& r, const DecadalLine& d, std::string_view line) {
  const std::size_t last = line.find_last_not_of(' ');
  const std::string_view fields = fieldsOnly(line);
  const FieldsPresent present = fieldsPresent(line, last, kMeasurementFields);
  const FieldsPresent inFields = last == std::string_view::npos || last < fields.size()
                                     ? fieldsPresent(fields, last, kMeasurementFields)
                                     : fieldsPresent(fields, kMeasurementFields);
  LineMarker stop = stopMarker(d, inFields);
  int onLine = valuesOnFirstLine(d.year);
  Taken t;
  for (int i = 0; i < std::min(onLine, present.held()); ++i) {
    if (i == stop.at && !markerReadAsValue(r, d, line, stop, inFields.held())) {
      endAtMarker(r, stop.kind);
      t.ended = true;
      return t;
    }
    if (i == present.whole) break;
    if (r.s.count < kMaxValues) r.read[r.s.count] = d.values[i];
    r.fill.add(static_cast<float>(d.values[i]));
    ++t.values;
  }
  reportBeyondDecade(r, d, fields, inFields, onLine, kMeasurementFields);
  return t;
}

// Takes the last onLine slots of one index line up to the first value of
// 9.99 or more; a slot the line does not hold whole is no value.
Taken takeIndices(DecadalRead& r, const DecadalLine& d, std::string_view line) {
  FieldsPresent present = fieldsPresent(line, kIndexFields);
  Taken t;
  for (int slot = 10 - valuesOnFirstLine(d.year); slot < present.held(); ++slot) {
    if (d.values[slot] >= kIndexEnd) {
      t.ended = true;
      return t;
    }
    if (slot == present.whole) break;
    auto v = static_cast<float>(d.values[slot]);
    if (r.storeSamples)
      r.fill.add(v, d.samples[slot]);
    else
      r.fill.add(v);
    ++t.values;
  }
  return t;
}

// A text line in front of a series: echoed, the run ends after too many.
void textLine(std::string_view line, int& textLines, char& note) {
  if (++textLines > kMaxTextLines) fmtio::STOP(">> Sbr TRRW:  Text over 25 lines");
  echoTitle(line, TitleStyle::Blank1X, note);
}

// Precision of the measurement format -> the text messages give it.
constexpr std::string_view kPrecisionText[] = {".01", ".001"};

// The file ended in the middle of a series: the series is kept with a
// warning. A measurement series takes the precision of the file's last
// marker before it (.01 when there is none), which the message names.
void missingMarker(DecadalRead& r) {
  if (r.s.count < 1) {
    r.s.count = -1;
    return;
  }
  if (r.index) {
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Sbr TRRW:  Series ',A,' ends without its stop marker',"
                     "' at the end of the file')"),
                 shownIdent(r.s.ident));
    return;
  }
  const ReaderState& state = readerState();
  bool thousandths = state.markerUnit == r.unit && state.lastMarker < 0;
  if (thousandths) toThousandths(r);
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr TRRW:  Series ',A,' ends without its stop marker',"
                   "' at the end of the file: read at ',A,' precision')"),
               shownIdent(r.s.ident), kPrecisionText[thousandths ? 1 : 0]);
}

// A data line whose year is not the year of the series' next value: the
// series ends with the values read and the line begins the next series.
void yearBreak(DecadalRead& r, std::int32_t lineYear) {
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr TRRW:  Series ',A,' ends in ',I0,' without its stop marker:',"
                   "' the line of ',I0,' starts a new series')"),
               shownIdent(r.s.ident), r.nextYear - 1, lineYear);
  if (r.index)
    unreadLine(r.unit);
  else
    precisionFromNextMarker(r, true);
}

// A line inside a series that does not read as a data line: the series
// ends before it, and the lines after it begin the next series.
void damagedLine(const DecadalRead& r, std::string_view line) {
  std::size_t end = static_cast<std::size_t>(common::LASTNB(line));
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr TRRW:  Series ',A,' ends in ',I0,' at a line that does not',"
                   "' read:'/1X,A)"),
               shownIdent(r.s.ident), r.nextYear - 1, line.substr(0, end));
  if (!r.index) precisionFromNextMarker(r, false);
}

// Whether two lines carry the same identification.
bool sameIdent(const DecadalRead& r, std::string_view a, std::string_view b) {
  std::size_t width = r.index ? kIndexIdentWidth : std::min(identWidth(a), identWidth(b));
  return a.substr(0, width) == b.substr(0, width);
}

// What the reader tells of a data line beside its values: a tab in it, and
// the first line of another identification inside a series.
void tellAboutLine(DecadalRead& r, const DecadalLine& d, std::string_view line) {
  if (r.tabs.heldTab(lastLineRead())) reportTab("TRRW", shownIdent(r.s.ident), d.year);
  if (r.firstLine.empty()) r.firstLine = line;
  if (r.otherIdentTold || sameIdent(r, r.firstLine, line)) return;
  r.otherIdentTold = true;
  std::size_t width = r.index ? kIndexIdentWidth : identWidth(line);
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr TRRW:  Series ',A,', year',I6,': the line is of ',A,';',"
                   "' read as part of the series')"),
               shownIdent(r.s.ident), d.year, shownIdent(line.substr(0, width)));
}

// A line that did not read just before the series' first line, of its
// identification and of the decade before: a damaged first line, whose
// values would otherwise pass as a title line unnoticed.
void tellUnreadFirstLine(const DecadalRead& r, std::string_view text, const DecadalLine& d,
                         std::string_view line) {
  std::int32_t year = 0;
  if (text.empty() || !lineYear(text, r.index, year) || !sameIdent(r, text, line) ||
      std::int64_t{year} + valuesOnFirstLine(year) != d.year)
    return;
  std::size_t end = static_cast<std::size_t>(common::LASTNB(text));
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr TRRW:  Series ',A,', year',I6,': the line before its first',"
                   "' does not read; not read:'/1X,A)"),
               shownIdent(d.ident), year, text.substr(0, end));
}

// Takes one data line into the series; true when the series ended on it
// (its stop marker) with values.
bool takeLine(DecadalRead& r, const DecadalLine& d, std::string_view line) {
  if (r.s.count == 0) {
    setIdent(r.s.ident, d.ident);
    r.s.firstYear = d.year;
    r.firstLine.clear();
  }
  tellAboutLine(r, d, line);
  Taken t = r.index ? takeIndices(r, d, line) : takeMeasurements(r, d, line);
  r.nextYear = std::int64_t{d.year} + t.values;
  if (!t.ended || r.s.count > 0) return t.ended;
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr TRRW:  Series ',A,': the line of ',I0,' ends a series',"
                   "' before any value: skipped')"),
               shownIdent(d.ident), d.year);
  return false;
}

void readDecadal(Series& s, std::int32_t unit, bool index) {
  ReaderState& state = readerState();
  s.count = 0;
  DecadalRead r(s, unit, index);
  int textLines = 0;
  std::string line(kLineLength, ' ');
  std::string lastText;  // the last line before the series that did not read
  DecadalLine d;
  for (;;) {
    if (readLine(unit, line) != LineStatus::Ok) {
      missingMarker(r);
      return updateTitleFlag(state.decadalNote);
    }
    if (!reachesColumn(line, kShortestDataLine)) continue;
    int rc = index ? parseIndexLine(line, d) : parseMeasurementLine(line, d);
    if (rc == fmtio::kOutcomeEnd) {
      s.count = -1;
      return;
    }
    bool inSeries = s.count > 0;
    if (rc != 0 && inSeries) {
      damagedLine(r, line);
      return updateTitleFlag(state.decadalNote);
    }
    if (rc != 0) {
      textLine(line, textLines, state.decadalNote);
      lastText = line;
      continue;
    }
    if (!inSeries) tellUnreadFirstLine(r, lastText, d, line);
    if (inSeries && d.year != r.nextYear) {
      yearBreak(r, d.year);
      return updateTitleFlag(state.decadalNote);
    }
    if (index)
      reportCutData();
    else
      reportCutData(kMeasurementFields.end());
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
  fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' >> Sbr TRRW:  Unknown request ',A)"), request);
}

}  // namespace series
