// The column formats: Accurite measurements (TRRAC), a single column of
// values (DAT1C), year and value (DAT2C), value and year (DATVY). Each data
// line is read whole and then taken apart as an internal record.
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

// First year of an Accurite series before its first value is found.
constexpr std::int32_t kYearUnknown = -32000;
// The value that ends an Accurite series, and how close a value must come.
constexpr float kAccuriteEnd = 999.0f;
constexpr float kAccuriteTolerance = 0.00001f;
// Accurite values are stored in hundredths.
constexpr float kAccuriteUnit = 0.01f;

fmtio::Control caught(std::int32_t& ios) { return {.iostat = &ios, .err = true, .end = true}; }

// Whether the line has a letter A-Z or a-z up to its last non-blank character.
bool hasLetter(std::string_view line) {
  std::string_view text = line.substr(0, static_cast<std::size_t>(dialogue::LASTNB(line)));
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
  std::int32_t ios = 0;
  a.values.fill(0.0f);
  std::span<float> values(a.values);
  return fmtio::READ(fmtio::Internal(line, caught(ios)), fmtio::LIST, a.unused, a.year, values) ==
         0;
}

// Takes the values of one line; true at the end value 999.
bool takeAccurite(const AccuriteLine& a, Series& s, SeriesFill& fill) {
  for (std::int32_t pos = 0; pos < 10; ++pos) {
    float v = a.values[pos];
    if (v > 0.0f && s.firstYear == kYearUnknown) s.firstYear = a.year + pos;
    if (s.firstYear == kYearUnknown) continue;
    if (std::fabs(v - kAccuriteEnd) < kAccuriteTolerance) return true;
    fill.add(v * kAccuriteUnit);
  }
  return false;
}

}  // namespace

void TRRAC(Series& s, std::int32_t unit) {
  s.count = 0;
  s.firstYear = kYearUnknown;
  std::string line(kLineLength, ' ');
  if (readLine(unit, line) != LineStatus::Ok) {
    s.count = -1;
    return;
  }
  setIdent(s.ident, line);
  SeriesFill fill(s, "TRRAC");
  AccuriteLine a;
  for (int textLines = 0;;) {
    LineStatus status = readLine(unit, line);
    if (status == LineStatus::End) {
      if (s.count < 1) {
        s.count = -1;
        return;
      }
      fmtio::WRITE(6,
                   FMT("(' >> Sbr TRRAC:  Series ',A,' ends without its 999',"
                       "' at the end of the file')"),
                   shownIdent(s.ident));
      return;
    }
    if (status == LineStatus::Ok && parseAccurite(line, a)) {
      if (takeAccurite(a, s, fill)) return;
      continue;
    }
    fmtio::WRITE(6, FMT("(' Text line:'/1X,A)"), line);
    if (++textLines > kMaxTextLines) fmtio::STOP(">> SBR TRRAC:  Text over 25 lines");
  }
}

void DAT1C(Series& s, std::int32_t unit) {
  ReaderState& state = readerState();
  s.count = 0;
  setIdent(s.ident, state.singleColumnIdent);
  SeriesFill fill(s, "DAT1C");
  std::string line(kLineLength, ' ');
  while (readLine(unit, line) == LineStatus::Ok) {
    float value = 0.0f;
    std::int32_t ios = 0;
    if (!hasLetter(line) && fmtio::READ(fmtio::Internal(std::string_view(line), caught(ios)),
                                        fmtio::LIST, value) == 0) {
      fill.add(value);
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
  std::int32_t previous = 0;
  while (readLine(unit, line) == LineStatus::Ok) {
    std::int32_t year = 0, ios = 0;
    float value = 0.0f;
    if (fmtio::READ(fmtio::Internal(std::string_view(line), caught(ios)), fmtio::LIST, year,
                    value) != 0) {
      if (s.count != 0) {
        state.yearValueIdent = line;
        return;
      }
      setIdent(s.ident, line);
      continue;
    }
    if (s.count == 0)
      s.firstYear = year;
    else if (year != previous + 1)
      fmtio::WRITE(6, FMT("(' >> Years go',2I6)"), previous, year);
    previous = year;
    fill.add(value);
  }
}

void DATVY(Series& s, std::int32_t unit) {
  ReaderState& state = readerState();
  s.count = 0;
  std::string line(kLineLength, ' ');
  std::string ident(std::min(s.ident.size(), std::size_t{kMaxIdentLength}), ' ');
  float value = 0.0f;
  std::int32_t year = 0, ios = 0;
  for (;;) {
    if (readLine(unit, line) != LineStatus::Ok) return updateTitleFlag(state.valueYearNote);
    if (fmtio::READ(fmtio::Internal(std::string_view(line), caught(ios)), FMT("(F10.0,I6,1X,A)"),
                    value, year, ident) == 0)
      break;
    echoTitle(line, TitleStyle::Tab2, state.valueYearNote);
  }
  setIdent(s.ident, ident);
  s.firstYear = year;
  SeriesFill fill(s, "DATVY");
  do {
    fill.add(value);
  } while (readLine(unit, line) == LineStatus::Ok &&
           fmtio::READ(fmtio::Internal(std::string_view(line), caught(ios)), FMT("(F10.0)"),
                       value) == 0);
  updateTitleFlag(state.valueYearNote);
}

}  // namespace series
