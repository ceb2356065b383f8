// The dialogue of the edit commands and the SHOWDAT listing, on a scripted
// console. Every script ends in the line "NEXT" so that a test can see which
// answers a command did not read.
#include "app/commands.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/showdat.h"
#include "tests/app/decade.h"
#include "tests/support/console_script.h"

namespace {

using app::testing::decade;
using app::testing::valuesOf;

using testing_support::ConsoleScript;

constexpr const char* kWarning = " >> WARNING!  No change was made\r\n \a\x1b[1A\r\n";
constexpr const char* kUnread = "NEXT\n";

using Command = void (*)(app::CurrentSeries&);

TEST(EditCommands, YearOutsideTheSeriesIsRefusedWithoutFurtherQuestions) {
  struct Row {
    const char* name;
    Command command;
    const char* answers;
    const char* question;
  };
  const Row rows[] = {
      {"I 1900", app::editInsert, "1900\n", " Date of value BEFORE which to insert => "},
      {"I 1912", app::editInsert, "1912\n", " Date of value BEFORE which to insert => "},
      {"E 1911", app::editEliminate, "1911\n", " Present date of value to ELIMINATE => "},
      {"R 1900", app::editReplace, "1900\n", " Date of value to REPLACE => "},
      {"R empty", app::editReplace, "\n", " Date of value to REPLACE => "},
      {"( 1911", app::editCutBeginning, "1911\n", " FIRST year to keep => "},
      {") 1900", app::editCutEnd, "1900\n", " LAST year to keep => "},
  };
  for (const Row& row : rows) {
    auto c = decade();
    ConsoleScript script(std::string(row.answers) + kUnread);
    EXPECT_EQ(script.run([&] { row.command(*c); }), 0) << row.name;
    EXPECT_EQ(script.out(), std::string(row.question) + kWarning) << row.name;
    EXPECT_EQ(script.remainingInput(), kUnread) << row.name;
    EXPECT_EQ(c->series.firstYear, 1901) << row.name;
    EXPECT_EQ(valuesOf(c->series), valuesOf(decade()->series)) << row.name;
  }
}

TEST(EditCommands, InsertIntoAFullSeriesAsksNothing) {
  auto c = decade();
  c->series.count = series::kMaxValues;
  ConsoleScript script(kUnread);
  script.run([&] { app::editInsert(*c); });
  EXPECT_EQ(script.out(), kWarning);
  EXPECT_EQ(script.remainingInput(), kUnread);
  EXPECT_EQ(c->series.count, series::kMaxValues);
}

TEST(EditCommands, MoveAnswerChoosesTheSideThatMoves) {
  struct Row {
    const char* name;
    Command command;
    const char* answers;
    std::int32_t first;
    std::vector<float> values;
  };
  const Row rows[] = {
      {"I default", app::editInsert, "1905\n2.5\n\n", 1901, {1, 2, 3, 4, 2.5, 5, 6, 7, 8, 9, 10}},
      {"I <", app::editInsert, "1905\n2.5\n<\n", 1900, {1, 2, 3, 4, 2.5, 5, 6, 7, 8, 9, 10}},
      {"I >", app::editInsert, "1905\n2.5\n>\n", 1901, {1, 2, 3, 4, 2.5, 5, 6, 7, 8, 9, 10}},
      {"I 9.99 stored as 10",
       app::editInsert,
       "1911\n9.99\n\n",
       1901,
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 10}},
      {"E default", app::editEliminate, "1905\n\n", 1901, {1, 2, 3, 4, 6, 7, 8, 9, 10}},
      {"E >", app::editEliminate, "1905\n>\n", 1902, {1, 2, 3, 4, 6, 7, 8, 9, 10}},
      {"E <", app::editEliminate, "1905\n<\n", 1901, {1, 2, 3, 4, 6, 7, 8, 9, 10}},
      {"R empty value", app::editReplace, "1902\n\n", 1901, {1, 0, 3, 4, 5, 6, 7, 8, 9, 10}},
      {"F empty", app::editFirstYear, "\n", 0, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
  };
  for (const Row& row : rows) {
    auto c = decade();
    ConsoleScript script(std::string(row.answers) + kUnread);
    script.run([&] { row.command(*c); });
    EXPECT_EQ(script.remainingInput(), kUnread) << row.name;
    EXPECT_EQ(c->series.firstYear, row.first) << row.name;
    EXPECT_EQ(valuesOf(c->series), row.values) << row.name;
  }
}

TEST(EditCommands, NewIdentificationKeepsCaseAndShowsThePresentOne) {
  struct Row {
    const char* answer;
    const char* want;
  };
  const Row rows[] = {{"xy12\n", "xy12    "},
                      {"\n", "AB01    "},
                      {"=\n", "AB01    "},
                      {"LongerThanEight\n", "LongerTh"}};
  for (const Row& row : rows) {
    auto c = decade();
    ConsoleScript script(row.answer);
    script.run([&] { app::editIdentification(*c); });
    EXPECT_EQ(script.outLines(), "\n Present identification_: AB01    \n New identification  _ => ")
        << row.answer;
    EXPECT_EQ(c->series.ident, row.want) << row.answer;
  }
}

// The console text of one SHOWDAT call.
std::string showdat(const std::vector<float>& values, std::int32_t first, std::int32_t year) {
  ConsoleScript script;
  const auto last = static_cast<std::int32_t>(first + values.size() - 1);
  script.run([&] { app::SHOWDAT(values, first, last, year); });
  return script.outLines();
}

std::string yearLine(std::int32_t from, int n) {
  std::string line;
  for (int k = 0; k < n; ++k) {
    std::string year = std::to_string(from + k);
    line += std::string(8 - year.size(), ' ') + year;
  }
  return line;
}

TEST(Showdat, GroupsOfTenEachValueUnderItsYear) {
  struct Row {
    const char* name;
    std::vector<float> values;
    std::int32_t first, year;
    std::string want;
  };
  const Row rows[] = {
      {"two groups, the last short",
       {1.5f, -2.25f, 0, 10, 99.994f, 1, 2, 3, 4, 5, 0.126f, 7},
       1901,
       1905,
       "\n" + yearLine(1901, 10) + "\n" +
           "    1.50   -2.25    0.00   10.00   99.99    1.00    2.00    3.00    4.00    5.00\n" +
           "\n" + yearLine(1911, 2) + "\n" + "    0.13    7.00" + std::string(64, ' ') + "\n"},
      {"too wide for F8.2",
       {123456.0f, -12345.6f},
       -1,
       0,
       "\n" + yearLine(-1, 2) + "\n" + std::string(16, '*') + std::string(64, ' ') + "\n"},
      {"no values", {}, 1901, 1901, ""},
  };
  for (const Row& row : rows)
    EXPECT_EQ(showdat(row.values, row.first, row.year), row.want) << row.name;
}

TEST(Showdat, LongSeriesShowsFiftyYearsAroundTheYear) {
  std::vector<float> values(120);
  for (int i = 0; i < 120; ++i) values[i] = static_cast<float>(i) / 100.0f;
  struct Row {
    std::int32_t year, from;
  };
  const Row rows[] = {{1805, 1800}, {1900, 1870}, {2100, 1870}, {1850, 1825}};
  for (const Row& row : rows) {
    std::string want;
    for (std::int32_t g = row.from; g < row.from + 50; g += 10) {
      want += "\n" + yearLine(g, 10) + "\n";
      for (int k = 0; k < 10; ++k) {
        char field[16];
        std::snprintf(field, sizeof field, "%8.2f", values[g + k - 1800]);
        want += field;
      }
      want += "\n";
    }
    EXPECT_EQ(showdat(values, 1800, row.year), want) << "around " << row.year;
  }
}

}  // namespace
