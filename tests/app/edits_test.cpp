// The arithmetic of the edit commands on a series 1901-1910 whose value of
// year Y is Y - 1900, so every expected series reads as a list of old years.
#include "app/edits.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/app/decade.h"

namespace {

using app::testing::decade;
using app::testing::valuesOf;

constexpr float kNew = 77.0f;  // the value an insertion adds

std::string show(const std::vector<float>& v) {
  std::ostringstream out;
  for (float x : v) out << x << ' ';
  return out.str();
}

const std::vector<float> kUnchanged = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

struct MoveCase {
  const char* name;
  std::int32_t year;
  bool otherWay;  // "<" for insert, ">" for eliminate
  int status;
  std::int32_t first;
  std::vector<float> values;
};

void expectSeries(const app::CurrentSeries& c, const MoveCase& row, int status) {
  EXPECT_EQ(status, row.status) << row.name;
  EXPECT_EQ(c.series.firstYear, row.first) << row.name;
  EXPECT_EQ(valuesOf(c.series), row.values)
      << row.name << ": got " << show(valuesOf(c.series)) << "want " << show(row.values);
  EXPECT_EQ(c.series.lastYear(), row.first + static_cast<int>(row.values.size()) - 1) << row.name;
}

TEST(InsertValue, PlacesTheValueAndMovesOneSide) {
  const MoveCase rows[] = {
      {"before 1905, late forward",
       1905,
       false,
       app::kEdited,
       1901,
       {1, 2, 3, 4, kNew, 5, 6, 7, 8, 9, 10}},
      {"before 1905, early back",
       1905,
       true,
       app::kEdited,
       1900,
       {1, 2, 3, 4, kNew, 5, 6, 7, 8, 9, 10}},
      {"append at 1911", 1911, false, app::kEdited, 1901, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, kNew}},
      {"append at 1911, early back",
       1911,
       true,
       app::kEdited,
       1900,
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, kNew}},
      {"before the first year",
       1901,
       false,
       app::kEdited,
       1901,
       {kNew, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {"1900 refused", 1900, false, app::kYearOutOfRange, 1901, kUnchanged},
      {"1912 refused", 1912, true, app::kYearOutOfRange, 1901, kUnchanged},
  };
  for (const MoveCase& row : rows) {
    auto c = decade();
    expectSeries(*c, row, app::insertValue(*c, row.year, kNew, row.otherWay));
  }
}

TEST(InsertValue, RefusedAtCapacityAndIntoAnEmptySeriesAllowed) {
  auto c = decade();
  c->series.count = series::kMaxValues - 1;
  EXPECT_EQ(app::insertValue(*c, 1901, kNew, false), app::kEdited);
  EXPECT_EQ(c->series.count, series::kMaxValues);
  EXPECT_EQ(app::insertValue(*c, 1901, kNew, false), app::kSeriesFull);
  EXPECT_EQ(c->series.count, series::kMaxValues);
  EXPECT_EQ(c->series.values[1], 1.0f);

  c = decade();
  c->series.count = 0;
  EXPECT_EQ(app::insertValue(*c, 1902, kNew, false), app::kYearOutOfRange);
  EXPECT_EQ(app::insertValue(*c, 1901, kNew, false), app::kEdited);
  EXPECT_EQ(valuesOf(c->series), std::vector<float>{kNew});
}

TEST(EliminateValue, DropsTheValueAndMovesOneSide) {
  const MoveCase rows[] = {
      {"1905, late back", 1905, false, app::kEdited, 1901, {1, 2, 3, 4, 6, 7, 8, 9, 10}},
      {"1905, early forward", 1905, true, app::kEdited, 1902, {1, 2, 3, 4, 6, 7, 8, 9, 10}},
      {"first year", 1901, false, app::kEdited, 1901, {2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {"last year, early forward", 1910, true, app::kEdited, 1902, {1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {"1900 refused", 1900, false, app::kYearOutOfRange, 1901, kUnchanged},
      {"1911 refused", 1911, true, app::kYearOutOfRange, 1901, kUnchanged},
  };
  for (const MoveCase& row : rows) {
    auto c = decade();
    expectSeries(*c, row, app::eliminateValue(*c, row.year, row.otherWay));
  }
}

TEST(EliminateValue, TheOnlyValueLeavesAnEmptySeries) {
  auto c = decade();
  app::cutEnd(c->series, 1901);
  EXPECT_EQ(app::eliminateValue(*c, 1901, false), app::kEdited);
  EXPECT_EQ(c->series.count, 0);
  EXPECT_EQ(c->series.lastYear(), 1900);
  EXPECT_EQ(app::eliminateValue(*c, 1901, false), app::kYearOutOfRange);
}

TEST(ValueRule, HundredfoldRoundingTo999BecomesTen) {
  struct Row {
    float entered, want;
  };
  const Row rows[] = {
      {9.99f, 10.0f},
      {9.994f, 10.0f},
      {9.985001f, 10.0f},
      {9.996f, 9.996f},
      {9.98f, 9.98f},
      {-9.99f, -9.99f},
      {99.9f, 99.9f},
      {0.0f, 0.0f},
      // 100 x 9.995 is 999.5 in single precision, which rounds away to 1000.
      {9.995f, 9.995f},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(app::valueRule(row.entered), row.want) << row.entered;
    auto c = decade();
    EXPECT_EQ(app::replaceValue(c->series, 1903, row.entered), app::kEdited);
    EXPECT_EQ(c->series.values[2], row.want) << "replace " << row.entered;
    c = decade();
    app::insertValue(*c, 1903, row.entered, false);
    EXPECT_EQ(c->series.values[2], row.want) << "insert " << row.entered;
  }
}

TEST(ReplaceValue, OnlyYearsOfTheSeries) {
  struct Row {
    std::int32_t year;
    int status;
    std::vector<float> values;
  };
  const Row rows[] = {
      {1901, app::kEdited, {kNew, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {1910, app::kEdited, {1, 2, 3, 4, 5, 6, 7, 8, 9, kNew}},
      {1900, app::kYearOutOfRange, kUnchanged},
      {1911, app::kYearOutOfRange, kUnchanged},
  };
  for (const Row& row : rows) {
    auto c = decade();
    EXPECT_EQ(app::replaceValue(c->series, row.year, kNew), row.status) << row.year;
    EXPECT_EQ(valuesOf(c->series), row.values) << row.year;
    EXPECT_EQ(c->series.firstYear, 1901) << row.year;
  }
}

TEST(Cut, KeepsTheYearsFromOrUpTo) {
  struct Row {
    const char* name;
    int (*cut)(series::Series&, std::int32_t);
    std::int32_t year;
    int status;
    std::int32_t first;
    std::vector<float> values;
  };
  const Row rows[] = {
      {"( first year", app::cutBeginning, 1901, app::kEdited, 1901, kUnchanged},
      {"( 1905", app::cutBeginning, 1905, app::kEdited, 1905, {5, 6, 7, 8, 9, 10}},
      {"( last year", app::cutBeginning, 1910, app::kEdited, 1910, {10}},
      {"( 1900", app::cutBeginning, 1900, app::kYearOutOfRange, 1901, kUnchanged},
      {"( 1911", app::cutBeginning, 1911, app::kYearOutOfRange, 1901, kUnchanged},
      {") last year", app::cutEnd, 1910, app::kEdited, 1901, kUnchanged},
      {") 1905", app::cutEnd, 1905, app::kEdited, 1901, {1, 2, 3, 4, 5}},
      {") first year", app::cutEnd, 1901, app::kEdited, 1901, {1}},
      {") 1911", app::cutEnd, 1911, app::kYearOutOfRange, 1901, kUnchanged},
      {") 1900", app::cutEnd, 1900, app::kYearOutOfRange, 1901, kUnchanged},
  };
  for (const Row& row : rows) {
    auto c = decade();
    EXPECT_EQ(row.cut(c->series, row.year), row.status) << row.name;
    EXPECT_EQ(c->series.firstYear, row.first) << row.name;
    EXPECT_EQ(valuesOf(c->series), row.values) << row.name << ": " << show(valuesOf(c->series));
  }
}

TEST(Redate, FirstOrLastYearShiftsTheWholeSeries) {
  struct Row {
    const char* name;
    void (*redate)(series::Series&, std::int32_t);
    std::int32_t year;
    std::int32_t first, last;
  };
  const Row rows[] = {
      {"F 1950", app::setFirstYear, 1950, 1950, 1959},
      {"F 0 (empty answer)", app::setFirstYear, 0, 0, 9},
      {"F -5", app::setFirstYear, -5, -5, 4},
      {"U 1950", app::setLastYear, 1950, 1941, 1950},
      {"U 0", app::setLastYear, 0, -9, 0},
      {"U 1910", app::setLastYear, 1910, 1901, 1910},
      {"F at the top of the integers", app::setFirstYear, INT_MAX, INT_MAX, INT_MIN + 8},
  };
  for (const Row& row : rows) {
    auto c = decade();
    row.redate(c->series, row.year);
    EXPECT_EQ(c->series.firstYear, row.first) << row.name;
    EXPECT_EQ(c->series.lastYear(), row.last) << row.name;
    EXPECT_EQ(valuesOf(c->series), kUnchanged) << row.name;
  }
}

TEST(NewIdentification, BlankOrEqualsKeepsAndTabsBecomeBlanks) {
  struct Row {
    std::string answer, want;
  };
  const Row rows[] = {
      {"        ", "AB01    "}, {"=       ", "AB01    "}, {"=XY     ", "AB01    "},
      {" XY     ", "AB01    "}, {"xy12    ", "xy12    "}, {"a\tb\t   ", "a b     "},
      {"ABCDEFGH", "ABCDEFGH"}, {"", "AB01    "},
  };
  for (const Row& row : rows) {
    std::string ident = "AB01    ";
    app::newIdentification(ident, row.answer);
    EXPECT_EQ(ident, row.want) << "answer '" << row.answer << "'";
  }
}

TEST(Restore, BringsBackTheSeriesAsRead) {
  auto c = decade();
  app::insertValue(*c, 1905, kNew, true);
  app::cutBeginning(c->series, 1903);
  app::setLastYear(c->series, 2000);
  app::newIdentification(c->series.ident, "ZZ      ");
  app::restoreCopy(*c);
  EXPECT_EQ(c->series.ident, "AB01    ");
  EXPECT_EQ(c->series.firstYear, 1901);
  EXPECT_EQ(valuesOf(c->series), kUnchanged);
}

TEST(DisplayWindow, AtMostFiftyYearsNeverPastTheEnds) {
  struct Row {
    std::int32_t first, last, year;
    std::int32_t wantFirst, wantLast;
  };
  const Row rows[] = {
      {1800, 1919, 1805, 1800, 1849}, {1800, 1919, 1900, 1870, 1919},
      {1800, 1919, 2100, 1870, 1919}, {1800, 1919, 1700, 1800, 1849},
      {1800, 1919, 1860, 1835, 1884}, {1901, 1910, 1905, 1901, 1910},
      {1901, 1950, 1990, 1901, 1950}, {1901, 1951, 1901, 1901, 1950},
      {1901, 1951, 1951, 1902, 1951}, {-100, 19, 0, -30, 19},
  };
  for (const Row& row : rows) {
    app::YearWindow w = app::displayWindow(row.first, row.last, row.year);
    EXPECT_EQ(w.first, row.wantFirst) << row.first << "-" << row.last << " around " << row.year;
    EXPECT_EQ(w.last, row.wantLast) << row.first << "-" << row.last << " around " << row.year;
  }
}

}  // namespace
