// Arithmetic of the edit commands on the current series.
#include "app/edits.h"

#include <algorithm>
#include <cmath>

namespace app {
namespace {

// Index of a year's value; the year must have been checked.
std::size_t indexOf(const series::Series& s, std::int32_t year) {
  return static_cast<std::size_t>(static_cast<std::int64_t>(year) - s.firstYear);
}

}  // namespace

std::int32_t yearAt(std::int32_t first, std::int64_t offset) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(first) +
                                   static_cast<std::uint32_t>(offset));
}

void saveCopy(CurrentSeries& c) {
  const series::Series& s = c.series;
  c.saved.ident = s.ident;
  c.saved.firstYear = s.firstYear;
  c.saved.count = s.count;
  c.saved.values = s.values;
}

void restoreCopy(CurrentSeries& c) {
  series::Series& s = c.series;
  s.ident = c.saved.ident;
  s.firstYear = c.saved.firstYear;
  s.count = c.saved.count;
  s.values = c.saved.values;
}

float valueRule(float value) {
  const float hundredfold = 100.0f * value;
  return std::lround(hundredfold) == 999 ? 10.0f : value;
}

void setFirstYear(series::Series& s, std::int32_t year) { s.firstYear = year; }

void setLastYear(series::Series& s, std::int32_t year) {
  s.firstYear = yearAt(s.firstYear, static_cast<std::int64_t>(year) - s.lastYear());
}

int checkYear(const series::Series& s, std::int32_t year) {
  return year >= s.firstYear && year <= s.lastYear() ? kEdited : kYearOutOfRange;
}

int checkInsert(const series::Series& s, std::int32_t year) {
  if (s.count >= series::kMaxValues) return kSeriesFull;
  std::int64_t end = static_cast<std::int64_t>(s.firstYear) + s.count;
  return year >= s.firstYear && year <= end ? kEdited : kYearOutOfRange;
}

int insertValue(CurrentSeries& c, std::int32_t year, float value, bool earlyBack) {
  series::Series& s = c.series;
  if (int status = checkInsert(s, year)) return status;
  const std::size_t at = indexOf(s, year);
  const float stored = valueRule(value);
  s.count += 1;
  std::size_t next = 0;
  for (std::size_t i = 0; i < static_cast<std::size_t>(s.count); ++i)
    c.scratch[i] = i == at ? stored : s.values[next++];
  std::copy_n(c.scratch.begin(), s.count, s.values.begin());
  if (earlyBack) s.firstYear = yearAt(s.firstYear, -1);
  return kEdited;
}

int eliminateValue(CurrentSeries& c, std::int32_t year, bool earlyForward) {
  series::Series& s = c.series;
  if (int status = checkYear(s, year)) return status;
  const std::size_t skip = indexOf(s, year);
  s.count -= 1;
  std::size_t next = 0;
  for (std::size_t i = 0; i < static_cast<std::size_t>(s.count); ++i) {
    if (next == skip) ++next;
    c.scratch[i] = s.values[next++];
  }
  std::copy_n(c.scratch.begin(), s.count, s.values.begin());
  if (earlyForward) s.firstYear = yearAt(s.firstYear, 1);
  return kEdited;
}

int replaceValue(series::Series& s, std::int32_t year, float value) {
  if (int status = checkYear(s, year)) return status;
  s.values[indexOf(s, year)] = valueRule(value);
  return kEdited;
}

int cutBeginning(series::Series& s, std::int32_t year) {
  if (int status = checkYear(s, year)) return status;
  const std::size_t k = indexOf(s, year);
  std::copy(s.values.begin() + k, s.values.begin() + s.count, s.values.begin());
  s.count -= static_cast<std::int32_t>(k);
  s.firstYear = year;
  return kEdited;
}

int cutEnd(series::Series& s, std::int32_t year) {
  if (int status = checkYear(s, year)) return status;
  s.count = static_cast<std::int32_t>(indexOf(s, year)) + 1;
  return kEdited;
}

void newIdentification(std::string& ident, std::string answer) {
  if (answer.empty() || answer[0] == ' ' || answer[0] == '=') return;
  std::replace(answer.begin(), answer.end(), '\t', ' ');
  answer.resize(ident.size(), ' ');
  ident = answer;
}

YearWindow displayWindow(std::int32_t firstYear, std::int32_t lastYear, std::int32_t year) {
  const std::int64_t first = firstYear;
  const std::int64_t last = lastYear;
  std::int64_t centre = std::max<std::int64_t>(year, first + 18);
  centre = std::min(centre, last - 18);
  std::int64_t start = std::max(centre - 25, first);
  const std::int64_t end = std::min(start + 49, last);
  start = std::max(end - 49, first);
  return {static_cast<std::int32_t>(start), static_cast<std::int32_t>(end)};
}

}  // namespace app
