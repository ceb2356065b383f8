// The column formats: Accurite (TRRAC), single column (DAT1C), year and
// value (DAT2C), value and year (DATVY).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/series/series_files.h"

namespace series::testing {
namespace {

TEST(AccuriteReading, FirstPositiveValueToTheEndValue) {
  // clang-format off
  const ReadCase cases[] = {
      {"values start at the first positive one and end at 999", 'A',
       "EXACC01 first\n1 1948 0 0 123 145 98 110 134 156 142 127\n2 1958 118 999 0 0 0 0 0 0 0 0\n"
       "EXACC02 second\n1,-45,0,210,0,176,999,5,5,5,5,5\n",
       {{"EXACC01 ", 1950, {1.23f, 1.45f, 0.98f, 1.10f, 1.34f, 1.56f, 1.42f, 1.27f, 1.18f}, {}},
        {"EXACC02 ", -44, {2.10f, 0.0f, 1.76f}, {}}}, "", 0},
      {"lines that are not ten values are text lines", 'A',
       "ID\nmeasured 2024\n1 1950 100 999\n1 1950 100 200 300 400 500 600 700 800 900 999\n",
       {{"ID      ", 1950, {1, 2, 3, 4, 5, 6, 7, 8, 9}, {}}},
       " Text line:\n measured 2024", 0},
      {"no 999 at the end of the file: kept with a warning", 'A',
       "ID\n1 1950 100 200 300 400 500 600 700 800 900 1000\n",
       {{"ID      ", 1950, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {}}},
       " >> Sbr TRRAC:  Series ID ends without its 999 at the end of the file", 1},
      {"an identification line alone is no series", 'A', "ID\n", {}, "", 0},
  };
  // clang-format on
  for (const ReadCase& c : cases) expectRead(c);
}

TEST(AccuriteReading, TwentySixTextLinesEndTheRun) {
  std::string text = "ID\n";
  for (int i = 1; i <= 26; ++i) text += "note " + std::to_string(i) + "\n";
  ReadOutcome got = readText(text + "1 1950 100 999 0 0 0 0 0 0 0 0\n", 'A');
  EXPECT_TRUE(got.series.empty());
  EXPECT_NE(got.out.find(" Text line:\n note 26"), std::string::npos) << got.out;
  EXPECT_NE(got.err.find(">> SBR TRRAC:  Text over 25 lines"), std::string::npos) << got.err;
}

TEST(SingleColumnReading, TextLinesNameAndSeparateSeries) {
  // clang-format off
  const ReadCase cases[] = {
      {"a leading text line names the first series", '1',
       "EXS01 first\n1.5\n2\nEXS02\n3\n",
       {{"EXS01 fi", 1, {1.5f, 2.0f}, {}}, {"EXS02   ", 1, {3.0f}, {}}}, "", 0},
      {"no text line: one series with a blank identification", '1',
       "1\n2\n3\n",
       {{"        ", 1, {1, 2, 3}, {}}}, "", 0},
      {"1.5E3 counts as a text line", '1',
       "A\n1\n1.5E3\n2\n",
       {{"A       ", 1, {1}, {}}, {"1.5E3   ", 1, {2}, {}}}, "", 0},
      {"a line that is not a number separates series", '1',
       "1\n--\n2\n\n3\n",
       {{"        ", 1, {1}, {}}, {"--      ", 1, {2}, {}}, {"        ", 1, {3}, {}}}, "", 0},
      {"the last of several text lines names the series", '1',
       "one\ntwo\n4\n",
       {{"two     ", 1, {4}, {}}}, "", 0},
  };
  // clang-format on
  for (const ReadCase& c : cases) expectRead(c);
}

TEST(YearValueReading, YearsAndIdentificationLines) {
  // clang-format off
  const ReadCase cases[] = {
      {"a gap in the years is reported, the value kept", '2',
       "1950 1.0\n1952 2.0\n",
       {{"        ", 1950, {1, 2}, {}}},
       " >> Years go  1950  1952", 1},
      {"identification lines and negative years", '2',
       "EXY01 first\n1950 1.0\n1951 2\nEXY02\n-20 0.5\n-19 0.6\n",
       {{"EXY01 fi", 1950, {1, 2}, {}}, {"EXY02   ", -20, {0.5f, 0.6f}, {}}}, "", 0},
      {"tab between year and value", '2',
       "1680\t   2.493\n1681\t   3.173\n",
       {{"        ", 1680, {2.493f, 3.173f}, {}}}, "", 0},
      {"a year going back is reported", '2',
       "10 1\n11 2\n9 3\n",
       {{"        ", 10, {1, 2, 3}, {}}},
       " >> Years go    11     9", 1},
  };
  // clang-format on
  for (const ReadCase& c : cases) expectRead(c);
}

TEST(ValueYearReading, FirstLineCarriesYearAndIdentification) {
  // clang-format off
  const ReadCase cases[] = {
      {"titles first, a line that does not read ends the series", 'V',
       "Example title\n      1.23  1950 EXV01\n      1.05\nEND\n      0.88   -20 EXV02\n      "
       "0.92\n",
       {{"EXV01   ", 1950, {1.23f, 1.05f}, {}}, {"EXV02   ", -20, {0.88f, 0.92f}, {}}},
       " Title:\n Example title", 0},
      {"values without a decimal point are whole numbers", 'V',
       "       123  2001 W\n        45\n",
       {{"W       ", 2001, {123, 45}, {}}}, "", 0},
  };
  // clang-format on
  for (const ReadCase& c : cases) expectRead(c);
}

TEST(ValueYearReading, IdentificationUpToFortyColumns) {
  std::string name = "A value-year series with a long name of more than forty";
  ReadOptions options;
  options.identLength = 40;
  ReadOutcome got = readText("       1.0  1990 " + name + "\n       2.0\n", 'V', options);
  ASSERT_EQ(got.series.size(), 1u);
  EXPECT_EQ(got.series[0].ident, name.substr(0, 40));
  EXPECT_EQ(got.series[0].values.size(), 2u);
}

}  // namespace
}  // namespace series::testing
