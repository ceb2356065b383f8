// The column formats: Accurite measurements (TRRAC), a single column of
// values (DAT1C), year and value (DAT2C), value and year (DATVY). Each data
// line is read whole and then taken apart as an internal record. A series
// whose lines stop following each other (a damaged line, a line of another
// year, a gap) ends there with a message, and the lines after the break
// begin the next series with the years they stand for.
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <span>
#include <string>

#include "common/text.h"
#include "fmtio/io.h"
#include "fmtio/stop.h"
#include "series/datol.h"
#include "series/lines.h"

namespace series {
namespace {

// First year of an Accurite series before its first value is found.
constexpr std::int32_t kYearUnknown = -32000;
// The largest year of a series: its last year must stay a 32-bit number.
constexpr std::int32_t kLargestYear = std::numeric_limits<std::int32_t>::max();
// The value that ends an Accurite series, and how close a value must come.
constexpr float kAccuriteEnd = 999.0f;
constexpr float kAccuriteTolerance = 0.00001f;
// The year of a year-value line before it is read; a null value leaves it.
constexpr std::int32_t kUnreadYear = std::numeric_limits<std::int32_t>::min();
// Accurite values are stored in hundredths.
constexpr float kAccuriteUnit = 0.01f;

// Whether the line has a letter A-Z or a-z up to its last non-blank character.
bool hasLetter(std::string_view line) {
  std::string_view text = line.substr(0, static_cast<std::size_t>(common::LASTNB(line)));
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); });
}

// An Accurite data line: an integer that is not used, the year of the first
// value and ten values, separated by blanks or commas.
struct AccuriteLine {
  std::int32_t unused = 0;
  std::int32_t year = 0;
  std::array<float, 10> values{};
};

bool parseAccurite(std::string_view line, AccuriteLine& a) {
  a.values.fill(unreadValue());
  std::span<float> values(a.values);
  return fmtio::READ(fmtio::Internal(beforeSlash(line), fmtio::Control::catching()), fmtio::LIST,
                     a.unused, a.year, values) == 0 &&
         a.year <= kLargestYear - 9;
}

// Whether a line that does not read as data begins like a data line (two
// integers): a damaged data line, not a text line.
bool beginsLikeData(std::string_view line) {
  std::int32_t first = 0, second = 0;
  return fmtio::READ(fmtio::Internal(beforeSlash(line), fmtio::Control::catching()), fmtio::LIST,
                     first, second) == 0;
}

// An Accurite series being read: its identification line, whether its first
// value was found, the year its next data line must have, and the last text
// line since a data line.
struct AccuriteRead {
  Series& s;
  SeriesFill fill;
  std::string identLine;
  bool started = false;
  std::int64_t nextYear = 0;
  std::string lastText = {};
};

// Takes the values of one line; true at the end value 999.
bool takeAccurite(const AccuriteLine& a, AccuriteRead& r) {
  r.lastText.clear();
  r.nextYear = std::int64_t{a.year} + 10;
  for (std::int32_t pos = 0; pos < 10; ++pos) {
    float v = a.values[pos];
    if (!r.started && (isUnread(v) || v <= 0.0f)) continue;
    if (!r.started) r.s.firstYear = a.year + pos;
    r.started = true;
    if (std::fabs(v - kAccuriteEnd) < kAccuriteTolerance) return true;
    r.fill.addListed(isUnread(v) ? v : v * kAccuriteUnit);
  }
  return false;
}

// The series breaks off inside the file: the lines after the break form the
// next series, under the last text line seen (a lost 999 leaves the next
// identification there) or else under this series' identification.
void continueAfter(const AccuriteRead& r, std::int32_t unit) {
  unreadLine(unit, r.lastText.empty() ? r.identLine : r.lastText);
  readerState().accuriteContinues = true;
}

// A data line of another year than the series' next one.
void accuriteYearBreak(const AccuriteRead& r, std::int32_t unit, std::int32_t year) {
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr TRRAC:  Series ',A,' ends in ',I0,' without its 999:',"
                   "' the line of ',I0,' starts a new series')"),
               shownIdent(r.s.ident), r.nextYear - 1, year);
  unreadLine(unit);
  continueAfter(r, unit);
}

// A damaged data line: the series ends before it.
void accuriteDamaged(const AccuriteRead& r, std::int32_t unit, std::string_view line) {
  std::size_t end = static_cast<std::size_t>(common::LASTNB(line));
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr TRRAC:  Series ',A,' ends in ',I0,' at a line that does not',"
                   "' read:'/1X,A)"),
               shownIdent(r.s.ident), r.nextYear - 1, line.substr(0, end));
  continueAfter(r, unit);
}

// The end of the file: no further series, or one without its 999 (kept).
bool endWithoutMarker(Series& s) {
  if (s.count < 1) {
    s.count = -1;
    return true;
  }
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr TRRAC:  Series ',A,' ends without its 999',"
                   "' at the end of the file')"),
               shownIdent(s.ident));
  return true;
}

// A 999 before any value: no series (a count of 0 would end the reading).
bool emptySeries(const Series& s) {
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr TRRAC:  Series ',A,': its 999 in ',I0,' comes before any',"
                   "' value: skipped')"),
               shownIdent(s.ident), s.firstYear);
  return false;
}

// The lines after the identification line, up to the 999 or the end of
// the file; false when the series ends without a value.
bool readAccurite(AccuriteRead& r, std::int32_t unit, bool continues) {
  std::string line(kLineLength, ' ');
  AccuriteLine a;
  for (int textLines = 0;;) {
    LineStatus status = readLine(unit, line);
    if (status == LineStatus::End) return endWithoutMarker(r.s);
    if (status == LineStatus::Ok && parseAccurite(line, a)) {
      if (r.started && a.year != r.nextYear) {
        accuriteYearBreak(r, unit, a.year);
        return true;
      }
      if (takeAccurite(a, r)) return r.s.count > 0 || emptySeries(r.s);
      continue;
    }
    if (r.started && beginsLikeData(line)) {
      accuriteDamaged(r, unit, line);
      return true;
    }
    if (!r.started && continues) {
      // What is left of a broken series holds no value: this line names
      // the next series.
      setIdent(r.s.ident, line);
      r.identLine = line;
      continues = false;
      continue;
    }
    if (r.started) r.lastText = line;
    fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' Text line:'/1X,A)"), line);
    if (++textLines > kMaxTextLines) fmtio::STOP(">> SBR TRRAC:  Text over 25 lines");
  }
}

// A value that would stand beyond the largest year ends the series; its
// line begins the next series, of the same identification.
void pastLargestYear(const Series& s, std::int32_t unit, std::string_view identLine) {
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr DAT2C:  Series ',A,' reaches the largest year ',I0,':',"
                   "' the next line starts a new series')"),
               shownIdent(s.ident), kLargestYear);
  readerState().yearValueIdent = identLine;
  unreadLine(unit);
}

}  // namespace

void TRRAC(Series& s, std::int32_t unit) {
  ReaderState& state = readerState();
  for (;;) {
    s.count = 0;
    s.firstYear = kYearUnknown;
    std::string line(kLineLength, ' ');
    if (readLine(unit, line) != LineStatus::Ok) {
      s.count = -1;
      return;
    }
    bool continues = state.accuriteContinues;
    state.accuriteContinues = false;
    setIdent(s.ident, line);
    AccuriteRead r{s, SeriesFill(s, "TRRAC"), line};
    if (readAccurite(r, unit, continues)) return;
  }
}

void DAT1C(Series& s, std::int32_t unit) {
  ReaderState& state = readerState();
  s.count = 0;
  setIdent(s.ident, state.singleColumnIdent);
  SeriesFill fill(s, "DAT1C");
  std::string line(kLineLength, ' ');
  while (readLine(unit, line) == LineStatus::Ok) {
    float value = unreadValue();
    if (!hasLetter(line) &&
        fmtio::READ(fmtio::Internal(beforeSlash(line), fmtio::Control::catching()), fmtio::LIST,
                    value) == 0) {
      fill.addListed(value);
      continue;
    }
    if (s.count != 0) {
      state.singleColumnIdent = line;
      return;
    }
    setIdent(s.ident, line);
  }
}

void DAT2C(Series& s, std::int32_t unit) {
  ReaderState& state = readerState();
  s.count = 0;
  setIdent(s.ident, state.yearValueIdent);
  SeriesFill fill(s, "DAT2C");
  std::string line(kLineLength, ' ');
  std::string identLine = state.yearValueIdent;
  std::int32_t previous = 0;
  while (readLine(unit, line) == LineStatus::Ok) {
    // A line without its year (a null value first) is no data line.
    std::int32_t year = kUnreadYear;
    float value = unreadValue();
    if (fmtio::READ(fmtio::Internal(beforeSlash(line), fmtio::Control::catching()), fmtio::LIST,
                    year, value) != 0 ||
        year == kUnreadYear) {
      if (s.count != 0) {
        state.yearValueIdent = line;
        return;
      }
      setIdent(s.ident, line);
      identLine = line;
      continue;
    }
    if (s.count == 0)
      s.firstYear = year;
    else if (year != std::int64_t{previous} + 1)
      fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' >> Years go',2I6)"), previous, year);
    if (s.count > 0 && s.firstYear > kLargestYear - s.count)
      return pastLargestYear(s, unit, identLine);
    previous = year;
    fill.addListed(value);
  }
}

namespace {

// Columns of a value-year line: the value, 1-10, and the year, 11-16.
constexpr std::size_t kValueColumns = 10;
constexpr std::size_t kYearColumns = 6;

bool blank(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }
std::string_view valueField(std::string_view line) { return line.substr(0, kValueColumns); }
std::string_view yearField(std::string_view line) {
  return line.substr(kValueColumns, kYearColumns);
}

std::string_view trimmed(std::string_view line) {
  return line.substr(0, static_cast<std::size_t>(common::LASTNB(line)));
}

// Reads up to the first line of a series: a value, a year and the
// identification; false at the end of the file. A line with only a value
// or only a year is no first line (its year would be taken as 0).
bool firstValueYearLine(std::string& line, std::int32_t unit, float& value, std::int32_t& year,
                        std::string& ident) {
  char& note = readerState().valueYearNote;
  for (;;) {
    if (readLine(unit, line) != LineStatus::Ok) return false;
    bool read = fmtio::READ(fmtio::Internal(std::string_view(line), fmtio::Control::catching()),
                            FMT("(F10.0,I6,1X,A)"), value, year, ident) == 0;
    bool noValue = blank(valueField(line)), noYear = blank(yearField(line));
    if (read && !noValue && !noYear) return true;
    if (!read || (noValue && noYear)) {
      if (!blank(line)) echoTitle(line, TitleStyle::Tab2, note);
      continue;
    }
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Sbr DATVY:  A first line of a series needs a value and a year:',"
                     "' line not read:'/T2,A)"),
                 trimmed(line));
  }
}

// How a following line of a value-year series is taken.
enum class Following { Value, End, Gap, Damaged, OtherYear };

// A line that does not read as a value ends the series: a blank value
// field leaves a gap, one with a digit in it was a damaged value; a year in
// columns 11-16 other than the next year begins another series.
Following followingLine(std::string_view line, std::int64_t nextYear, float& value) {
  std::string_view field = valueField(line);
  if (blank(field)) return Following::Gap;
  if (fmtio::READ(fmtio::Internal(line, fmtio::Control::catching()), FMT("(F10.0)"), value) != 0)
    return field.find_first_of("0123456789") == std::string_view::npos ? Following::End
                                                                       : Following::Damaged;
  std::int32_t year = 0;
  if (!blank(yearField(line)) &&
      fmtio::READ(fmtio::Internal(line, fmtio::Control::catching()), FMT("(10X,I6)"), year) == 0 &&
      year != nextYear)
    return Following::OtherYear;
  return Following::Value;
}

// Years the I6 field of a first line holds.
constexpr std::int64_t kLowestFirstYear = -99999;
constexpr std::int64_t kHighestFirstYear = 999999;

// After a gap or a damaged value: when a line of a value alone follows, it
// becomes the first line of a new series of the same identification from
// the year after the gap (put back as such a line); true then.
bool continueAfterGap(const Series& s, std::int32_t unit, std::int64_t year) {
  std::string line(kLineLength, ' ');
  if (readLine(unit, line) != LineStatus::Ok) return false;
  float value = 0.0f;
  bool alone = followingLine(line, year, value) == Following::Value && blank(yearField(line));
  if (!alone || year < kLowestFirstYear || year > kHighestFirstYear) {
    unreadLine(unit);
    return false;
  }
  std::string first(kLineLength, ' ');
  fmtio::WRITE(fmtio::Internal(first), FMT("(A,I6,1X,A)"), valueField(line), year,
               shownIdent(s.ident));
  unreadLine(unit, first);
  return true;
}

// Tells how the series ended, when that was not at a line ending it.
void valueYearEnd(const Series& s, std::int32_t unit, Following end, std::int64_t year,
                  std::string_view line) {
  if (end == Following::OtherYear) {
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Sbr DATVY:  Series ',A,' ends in ',I0,': the line of another',"
                     "' year starts a new series:'/T2,A)"),
                 shownIdent(s.ident), year - 1, line);
    return unreadLine(unit);
  }
  if (end != Following::Gap && end != Following::Damaged) return;
  bool continued = continueAfterGap(s, unit, year + 1);
  if (end == Following::Damaged && continued)
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Sbr DATVY:  Series ',A,': the value of ',I0,' does not read,',"
                     "' the values after it start a new series:'/T2,A)"),
                 shownIdent(s.ident), year, line);
  else if (end == Following::Damaged)
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Sbr DATVY:  Series ',A,' ends in ',I0,' at a value that does',"
                     "' not read:'/T2,A)"),
                 shownIdent(s.ident), year - 1, line);
  else if (continued)
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Sbr DATVY:  Series ',A,': no value for ',I0,', the values',"
                     "' after it start a new series')"),
                 shownIdent(s.ident), year);
}

}  // namespace

void DATVY(Series& s, std::int32_t unit) {
  ReaderState& state = readerState();
  s.count = 0;
  std::string line(kLineLength, ' ');
  std::string ident(std::min(s.ident.size(), std::size_t{kMaxIdentLength}), ' ');
  float value = 0.0f;
  std::int32_t year = 0;
  if (!firstValueYearLine(line, unit, value, year, ident))
    return updateTitleFlag(state.valueYearNote);
  setIdent(s.ident, ident);
  s.firstYear = year;
  SeriesFill fill(s, "DATVY");
  std::int64_t nextYear = year;
  Following next = Following::Value;
  while (next == Following::Value) {
    fill.add(value);
    ++nextYear;
    if (readLine(unit, line) != LineStatus::Ok) break;
    next = followingLine(line, nextYear, value);
  }
  if (next != Following::Value) valueYearEnd(s, unit, next, nextYear, trimmed(line));
  updateTitleFlag(state.valueYearNote);
}

}  // namespace series
