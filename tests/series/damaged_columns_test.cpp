// Damaged Accurite, value-year and year-value files: a series ends where
// its lines stop following each other, the lines after the break start a
// new series with their own years (or the years they follow), and every
// break is told with a " >> " message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/series/series_files.h"

namespace series::testing {
namespace {

const std::string kFirst = "1 1950 100 101 102 103 104 105 106 107 108 109\n";
const std::vector<float> kFirstValues = {1.00f, 1.01f, 1.02f, 1.03f, 1.04f,
                                         1.05f, 1.06f, 1.07f, 1.08f, 1.09f};

TEST(DamagedAccuriteReading, ASeriesEndsWhereItsLinesStopFollowing) {
  // clang-format off
  const ReadCase cases[] = {
      {"a damaged line: the lines after it continue under the same name", 'A',
       "EXA first\n" + kFirst + "2 1960 200 201 2O2 203 204 205 206 207 208 209\n"
       "3 1970 300 999 0 0 0 0 0 0 0 0\nEXB second\n1 -45 0 210 999 0 0 0 0 0 0 0\n",
       {{"EXA firs", 1950, kFirstValues, {}}, {"EXA firs", 1970, {3.0f}, {}},
        {"EXB seco", -44, {2.1f}, {}}},
       " >> Sbr TRRAC:  Series EXA firs ends in 1959 at a line that does not read:\n"
       " 2 1960 200 201 2O2", 1},
      {"a line of another year starts a new series", 'A',
       "EXA\n" + kFirst + "3 1970 300 999 0 0 0 0 0 0 0 0\n",
       {{"EXA     ", 1950, kFirstValues, {}}, {"EXA     ", 1970, {3.0f}, {}}},
       " >> Sbr TRRAC:  Series EXA ends in 1959 without its 999: the line of 1970 starts a new "
       "series", 1},
      {"a lost 999: the next identification names the next series", 'A',
       "EXA\n" + kFirst + "EXB\n1 -45 0 210 999 0 0 0 0 0 0 0\n",
       {{"EXA     ", 1950, kFirstValues, {}}, {"EXB     ", -44, {2.1f}, {}}},
       "Series EXA ends in 1959 without its 999: the line of -45", 1},
      {"a damaged last line: the next identification names the next series", 'A',
       "EXA\n" + kFirst + "2 1960 200 999 0 0 0 0 0 0 0 O\nEXB\n1 -45 0 210 999 0 0 0 0 0 0 0\n",
       {{"EXA     ", 1950, kFirstValues, {}}, {"EXB     ", -44, {2.1f}, {}}},
       "Series EXA ends in 1959 at a line that does not read", 1},
      {"a first value in -32000 is kept", 'A',
       "NEG\n1 -32000 100 101 999 0 0 0 0 0 0 0\n",
       {{"NEG     ", -32000, {1.0f, 1.01f}, {}}}, "", 0},
      {"a 999 before any value is no series, the file goes on", 'A',
       "NONE\n1 1950 0 0 999 0 0 0 0 0 0 0\nEXB\n1 1950 100 999 0 0 0 0 0 0 0 0\n",
       {{"EXB     ", 1950, {1.0f}, {}}},
       " >> Sbr TRRAC:  Series NONE: its 999 in 1952 comes before any value: skipped", 1},
      {"years past the largest year are no data line", 'A',
       "EXA\n" + kFirst + "2 2147483640 1 2 3 4 5 6 7 8 9 10\n",
       {{"EXA     ", 1950, kFirstValues, {}}},
       "Series EXA ends in 1959 at a line that does not read", 1},
  };
  // clang-format on
  for (const ReadCase& c : cases) expectRead(c);
}

// A list-directed read leaves the values after a slash, and a null value
// between two commas, as they were. The values of a line end at its slash
// as at its end; a null value is told and taken as 0, so that the years
// after it stay right.
TEST(DamagedListedLines, SlashesEndTheLineAndNullValuesAreTold) {
  const std::string missing = " is missing on its line: taken as 0";
  // clang-format off
  const ReadCase cases[] = {
      {"Accurite: a slash leaves the line short", 'A',
       "EXA\n" + kFirst + "2 1960 200 201 / 203\n", {{"EXA     ", 1950, kFirstValues, {}}},
       " >> Sbr TRRAC:  Series EXA ends in 1959 at a line that does not read:\n"
       " 2 1960 200 201 / 203", 1},
      {"Accurite: a null value", 'A',
       "EXA\n1 1950 100,,102 103 104 105 106 107 108 109\n2 1960 999 0 0 0 0 0 0 0 0 0\n",
       {{"EXA     ", 1950, {1.0f, 0.0f, 1.02f, 1.03f, 1.04f, 1.05f, 1.06f, 1.07f, 1.08f, 1.09f},
         {}}},
       " >> Sbr TRRAC:  Series EXA: value    2" + missing, 1},
      {"Accurite: null values before the first value are passed over like zeros", 'A',
       "EXA\n1 1950,,,102 103 104 105 106 107 108 109\n2 1960 999 0 0 0 0 0 0 0 0 0\n",
       {{"EXA     ", 1952, {1.02f, 1.03f, 1.04f, 1.05f, 1.06f, 1.07f, 1.08f, 1.09f}, {}}}, "", 0},
      {"single column: a slash line is no value", '1', "HEAD\n1.0\n/\n2.5\n",
       {{"HEAD    ", 1, {1.0f}, {}}, {"/       ", 1, {2.5f}, {}}}, "", 0},
      {"single column: a null value", '1', "HEAD\n1.0\n,\n2.5\n",
       {{"HEAD    ", 1, {1.0f, 0.0f, 2.5f}, {}}}, " >> Sbr DAT1C:  Series HEAD: value    2" + missing,
       1},
      {"year and value: a slash before the value", '2', "SER01\n1950 1.0\n1951 /\n1952 2.0\n",
       {{"SER01   ", 1950, {1.0f}, {}}, {"1951 /  ", 1952, {2.0f}, {}}}, "", 0},
      {"year and value: a line without its year is no data line", '2',
       "SER01\n1950 1.0\n,1.5\n1952 2.0\n",
       {{"SER01   ", 1950, {1.0f}, {}}, {",1.5    ", 1952, {2.0f}, {}}}, "", 0},
      {"year and value: a null value", '2', "SER01\n1950 1.0\n1951,,\n1952 2.0\n",
       {{"SER01   ", 1950, {1.0f, 0.0f, 2.0f}, {}}},
       " >> Sbr DAT2C:  Series SER01: value    2" + missing, 1},
  };
  // clang-format on
  for (const ReadCase& c : cases) expectRead(c);
}

TEST(DamagedValueYearReading, GapsDamagedValuesAndOtherYears) {
  const std::string start = "      1.23  1950 EXV01\n      1.05\n";
  const std::string next = "      0.88   -20 EXV02\n      0.92\n";
  const ReadSeries first{"EXV01   ", 1950, {1.23f, 1.05f}, {}};
  const ReadSeries second{"EXV02   ", -20, {0.88f, 0.92f}, {}};
  // clang-format off
  const ReadCase cases[] = {
      {"a blank line inside a series: the values after it from the year after", 'V',
       start + "\n      1.41\n      1.37\nEND\n" + next,
       {first, {"EXV01   ", 1953, {1.41f, 1.37f}, {}}, second},
       " >> Sbr DATVY:  Series EXV01: no value for 1952, the values after it start a new series",
       1},
      {"a blank line between series is no damage", 'V', start + "\n" + next, {first, second}, "",
       0},
      {"a damaged value inside a series", 'V',
       start + "      1.O5\n      1.41\nEND\n" + next,
       {first, {"EXV01   ", 1953, {1.41f}, {}}, second},
       " >> Sbr DATVY:  Series EXV01: the value of 1952 does not read, the values after it start "
       "a new series:\n       1.O5", 1},
      {"a damaged last value", 'V', start + "      1.O5\nEND\n" + next, {first, second},
       " >> Sbr DATVY:  Series EXV01 ends in 1951 at a value that does not read:", 1},
      {"value lines outside a series are no series of year 0", 'V',
       start + "END\n      1.41\n" + next, {first, second},
       " >> Sbr DATVY:  A first line of a series needs a value and a year: line not read:\n"
       "       1.41", 1},
      {"a first line without an END before it", 'V', start + next, {first, second},
       " >> Sbr DATVY:  Series EXV01 ends in 1951: the line of another year starts a new series",
       1},
      {"years on every line that follow each other", 'V',
       "      1.23  1950 EXV01\n      1.05  1951\n      1.10  1952\n",
       {{"EXV01   ", 1950, {1.23f, 1.05f, 1.10f}, {}}}, "", 0},
  };
  // clang-format on
  for (const ReadCase& c : cases) expectRead(c);
}

TEST(DamagedYearValueReading, NoSeriesRunsPastTheLargestYear) {
  const ReadCase c = {
      "the line after the largest year starts a new series",
      '2',
      "YV\n2147483646 1.0\n2147483647 1.1\n7 1.5\n",
      {{"YV      ", 2147483646, {1.0f, 1.1f}, {}}, {"YV      ", 7, {1.5f}, {}}},
      " >> Sbr DAT2C:  Series YV reaches the largest year 2147483647: the next line starts a new "
      "series",
      2};  // the " >> Years go" of the year going back, and the end of the series
  expectRead(c);
}

}  // namespace
}  // namespace series::testing
