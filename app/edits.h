// The current series of the edit session and the arithmetic of its edit
// commands, kept free of any dialogue so that each edit can be checked alone.
//
// The value of year Y is values[Y - firstYear]; the last year is always
// firstYear + count - 1. Year arithmetic wraps like the 32-bit integers of the
// files, so any year the user types is taken without overflow.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "series/series.h"

namespace app {

// Length of an identification in the edit session.
constexpr int kIdentLength = 8;

// Outcomes of an edit.
enum : int {
  kEdited = 0,
  kYearOutOfRange = 1,  // the year lies outside what the command accepts
  kSeriesFull = 2,      // an insertion would exceed the series capacity
};

// The series as it was read from the file, for the restore commands.
struct SavedCopy {
  std::string ident = std::string(kIdentLength, ' ');
  std::int32_t firstYear = 0;
  std::int32_t count = 0;
  std::array<float, series::kMaxValues> values{};
};

// The current series (its sample counts serve as the integer work array of
// the reader and the measurement writer), its saved copy and the scratch
// array of insert and eliminate.
struct CurrentSeries {
  series::Series series;
  SavedCopy saved;
  std::array<float, series::kMaxValues> scratch{};
};

// first + offset in wrapping 32-bit arithmetic.
std::int32_t yearAt(std::int32_t first, std::int64_t offset);

void saveCopy(CurrentSeries& c);
void restoreCopy(CurrentSeries& c);

// An entered value whose hundredfold rounds to 999 (single precision, halves
// away from zero) is stored as 10.0.
float valueRule(float value);

// "F" and "U": redate the whole series; any year is accepted.
void setFirstYear(series::Series& s, std::int32_t year);
void setLastYear(series::Series& s, std::int32_t year);

// kEdited when year lies within first year .. last year.
int checkYear(const series::Series& s, std::int32_t year);
// kEdited when a value can be inserted before year (first .. last + 1).
int checkInsert(const series::Series& s, std::int32_t year);

// "I": the new value takes the year; later values move a year on, or with
// earlyBack the earlier values move a year back.
int insertValue(CurrentSeries& c, std::int32_t year, float value, bool earlyBack);
// "E": later values move a year back, or with earlyForward the earlier
// values move a year on.
int eliminateValue(CurrentSeries& c, std::int32_t year, bool earlyForward);
// "R".
int replaceValue(series::Series& s, std::int32_t year, float value);
// "(" and ")": keep the values from year on, or up to year.
int cutBeginning(series::Series& s, std::int32_t year);
int cutEnd(series::Series& s, std::int32_t year);

// "N": an answer starting with a blank or "=" keeps the identification;
// otherwise the answer, tabs made blanks, becomes it.
void newIdentification(std::string& ident, std::string answer);

// The years SHOWDAT lists around a year: at most 50, never past either end.
struct YearWindow {
  std::int32_t first = 0;
  std::int32_t last = 0;
};
YearWindow displayWindow(std::int32_t firstYear, std::int32_t lastYear, std::int32_t year);

}  // namespace app
