// The decadal formats: TRRW reading measurement and index series (layouts,
// markers, precision, slots) and writing them (decade alignment, markers,
// the values a field cannot hold).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "tests/series/series_files.h"

namespace series::testing {
namespace {

using Pairs = std::vector<std::pair<int, int>>;

// An index line: identification, year and ten pairs of value and count.
std::string indexLine(const std::string& ident6, int year, const Pairs& pairs) {
  char buf[128];
  int n = std::snprintf(buf, sizeof buf, "%-6s%4d", ident6.c_str(), year);
  for (auto [v, c] : pairs)
    n += std::snprintf(buf + n, sizeof buf - static_cast<std::size_t>(n), "%4d%3d", v, c);
  return std::string(buf) + "\n";
}

// n slots of the 9990 filler.
Pairs fillers(int n) { return Pairs(n, {9990, 0}); }

Pairs operator+(Pairs a, const Pairs& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Values first, first + step, ... (n of them).
std::vector<float> run(int n, float first, float step) {
  std::vector<float> v;
  for (int i = 0; i < n; ++i) v.push_back(first + step * static_cast<float>(i));
  return v;
}

struct DecadalReadCase {
  const char* name;
  char letter;
  std::string text;
  std::vector<ReadSeries> want;  // samples compared when not empty
  std::string out;               // expected in the console output
  int messages;                  // number of " >> " messages
};

void expectRead(const DecadalReadCase& c, const ReadOutcome& got) {
  expectSeries(got, c.want, c.name);
  EXPECT_EQ(got.finalCount, -1) << c.name;
  expectOutput(got.out, c.out, c.messages, c.name);
}

TEST(DecadalReading, MeasurementLayoutsMarkersAndPrecision) {
  std::string longSeries;
  for (int year = 1000; year < 5200; year += 10) {
    longSeries += "LONG    " + std::to_string(year);
    for (int k = 0; k < 10; ++k) longSeries += "   100";
    longSeries += "\n";
  }
  // clang-format off
  const DecadalReadCase cases[] = {
      {"marker 999: hundredths", 'M',
       "ABC123  1923   100   250  1000  -999   999\n",
       {{"ABC123  ", 1923, {1.0f, 2.5f, 10.0f, -9.99f}, {}}}, "", 0},
      {"marker -9999: thousandths", 'M',
       "ABC123  1923   100   250 -9999\n",
       {{"ABC123  ", 1923, {0.1f, 0.25f}, {}}}, "", 0},
      {"marker alone on the line of the next decade", 'M',
       "X1      1920   101   102   103   104   105   106   107   108   109   110\n"
       "X1      1930   999\n",
       {{"X1      ", 1920, run(10, 1.01f, 0.01f), {}}}, "", 0},
      {"first year 1929 has one value on its line", 'M',
       "X2      1929    50\nX2      1930    60   999\n",
       {{"X2      ", 1929, {0.5f, 0.6f}, {}}}, "", 0},
      {"first year -1 has one value, -10 has ten", 'M',
       "N1        -1    10\nN1         0    20   999\n"
       "N2       -10     1     2     3     4     5     6     7     8     9    10\n"
       "N2         0 -9999\n",
       {{"N1      ", -1, {0.1f, 0.2f}, {}}, {"N2      ", -10, run(10, 0.001f, 0.001f), {}}}, "", 0},
      {"a - in column 8 reads the I5 year, back to I4 at -990", 'M',
       "LONG01 -1005    11    12    13    14    15\n"
       "LONG01 -1000    21    22    23    24    25    26    27    28    29    30\n"
       "LONG01  -990    31   999\n",
       {{"LONG01  ", -1005,
         [] {
           std::vector<float> v = run(5, 0.11f, 0.01f), w = run(10, 0.21f, 0.01f);
           v.insert(v.end(), w.begin(), w.end());
           v.push_back(0.31f);
           return v;
         }(),
         {}}}, "", 0},
      {"eight-character identification touching the year", 'M',
       "AKK00010-384   200   130   999\n",
       {{"AKK00010", -384, {2.0f, 1.3f}, {}}}, "", 0},
      {"titles echoed, short lines skipped, a line of another year starts a new series", 'M',
       "Site of the example\n\nshort\nT1      1995   100   200   300   400   500\n"
       "T1      1234   600   999\n",
       {{"T1      ", 1995, {1, 2, 3, 4, 5}, {}}, {"T1      ", 1234, {6}, {}}},
       " Title:\n Site of the example", 1},
      {"no stop marker at the end of the file: kept with a warning", 'M',
       "M1      1950   100   200\n",
       {{"M1      ", 1950, {1, 2}, {}}},
       " >> Sbr TRRW:  Series M1 ends without its stop marker at the end of the file", 1},
      {"more than 4096 values: cut, the next series follows", 'M',
       longSeries + "LONG    5200   999\nNEXT    2000   100   999\n",
       {{"LONG    ", 1000, std::vector<float>(4096, 1.0f), {}}, {"NEXT    ", 2000, {1}, {}}},
       " >> Sbr TRRW:  Series LONG has more than 4096 values: the rest is skipped", 1},
  };
  // clang-format on
  for (const DecadalReadCase& c : cases) expectRead(c, readText(c.text, c.letter));
}

TEST(DecadalReading, IndexSlotsFillersAndSampleCounts) {
  // clang-format off
  const DecadalReadCase cases[] = {
      {"first year 1923 starts in slot 4", 'I',
       indexLine("IDX001", 1923, fillers(3) + Pairs(7, {1012, 12})) +
           indexLine("IDX001", 1930, Pairs{{980, 9}, {1100, 10}} + fillers(8)),
       {{"IDX001  ", 1923,
         {1.012f, 1.012f, 1.012f, 1.012f, 1.012f, 1.012f, 1.012f, 0.98f, 1.1f},
         {12, 12, 12, 12, 12, 12, 12, 9, 10}}}, "", 0},
      {"first year -37 starts in slot 4", 'I',
       indexLine("NEG001", -37, fillers(3) + Pairs(7, {500, 3})) +
           indexLine("NEG001", -30, fillers(10)),
       {{"NEG001  ", -37, std::vector<float>(7, 0.5f), std::vector<std::int32_t>(7, 3)}}, "", 0},
      {"a value of 9990 or more ends the series", 'I',
       indexLine("HIGH01", 1950, Pairs{{1000, 1}, {9995, 2}} + fillers(8)),
       {{"HIGH01  ", 1950, {1.0f}, {1}}}, "", 0},
      {"a full last line is followed by a filler line", 'I',
       indexLine("FULL01", 1960, Pairs(10, {2000, 40})) + indexLine("FULL01", 1970, fillers(10)) +
           indexLine("NEXT01", 1981, Pairs{{9990, 0}, {750, 5}} + fillers(8)),
       {{"FULL01  ", 1960, std::vector<float>(10, 2.0f), std::vector<std::int32_t>(10, 40)},
        {"NEXT01  ", 1981, {0.75f}, {5}}}, "", 0},
  };
  // clang-format on
  for (const DecadalReadCase& c : cases) expectRead(c, readText(c.text, c.letter));
}

TEST(DecadalReading, SixAsterisksKeepTheSampleCounts) {
  std::string text = indexLine("IDX001", 1950, Pairs{{1000, 7}, {1200, 8}} + fillers(8));
  ReadOptions options;
  options.passedIdent = "******  ";
  ReadOutcome got = readText(text, 'I', options);
  ASSERT_EQ(got.series.size(), 1u);
  EXPECT_EQ(got.series[0].samples, (std::vector<std::int32_t>{0, 0}));
  ReadOutcome counted = readText(text, 'I');
  ASSERT_EQ(counted.series.size(), 1u);
  EXPECT_EQ(counted.series[0].samples, (std::vector<std::int32_t>{7, 8}));
}

TEST(DecadalReading, TwentySixTextLinesEndTheRun) {
  struct Row {
    char letter;
    int lines;
    int series;
    bool stopped;
  };
  const Row rows[] = {{'M', 25, 1, false}, {'M', 26, 0, true}, {'I', 26, 0, true}};
  for (const Row& r : rows) {
    std::string text;
    for (int i = 0; i < r.lines; ++i) text += "Text line " + std::to_string(i) + " of the header\n";
    text += r.letter == 'M' ? "ABC     1950   100   999\n"
                            : indexLine("ABC", 1950, Pairs{{1000, 1}} + fillers(9));
    ReadOutcome got = readText(text, r.letter);
    EXPECT_EQ(got.series.size(), static_cast<std::size_t>(r.series)) << r.letter << r.lines;
    EXPECT_EQ(got.err.find(">> Sbr TRRW:  Text over 25 lines") != std::string::npos, r.stopped)
        << r.letter << r.lines << got.err;
    EXPECT_EQ(got.exitCode, 0) << r.letter << r.lines;
  }
}

struct DecadalWriteCase {
  const char* name;
  const char* request;
  ReadSeries series;
  std::string want;
  std::string message;  // expected " >> " message, or empty for none
};

TEST(DecadalWriting, AlignmentMarkersAndFields) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  // clang-format off
  const DecadalWriteCase cases[] = {
      {"1995 three values: the marker on the same line", "MW",
       {"ID", 1995, {1.23f, 4.56f, 7.89f}, {}},
       "ID      1995   123   456   789   999\n", ""},
      {"1995 five values: the marker alone on the 2000 line", "MW",
       {"ID", 1995, {1, 2, 3, 4, 5}, {}},
       "ID      1995   100   200   300   400   500\nID      2000   999\n", ""},
      {"1920: ten values on the first line", "MW",
       {"ID", 1920, run(10, 0.1f, 0.1f), {}},
       "ID      1920    10    20    30    40    50    60    70    80    90   100\n"
       "ID      1930   999\n", ""},
      {"1929: one value on the first line", "MW",
       {"ID", 1929, {0.5f, 0.6f}, {}},
       "ID      1929    50\nID      1930    60   999\n", ""},
      {"-1: one value on the first line", "MW",
       {"ID", -1, {0.5f, 0.6f}, {}},
       "ID        -1    50\nID         0    60   999\n", ""},
      {"-10: ten values on the first line", "3W",
       {"ID", -10, run(10, 0.001f, 0.001f), {}},
       "ID       -10     1     2     3     4     5     6     7     8     9    10\n"
       "ID         0 -9999\n", ""},
      {"-1005: I5 and seven characters until -999", "MW",
       {"LONG01XY", -1005, run(16, 1.0f, 0.0f), {}},
       "LONG01X-1005   100   100   100   100   100\n"
       "LONG01X-1000   100   100   100   100   100   100   100   100   100   100\n"
       "LONG01XY-990   100   999\n", ""},
      {"1990 twenty values: two full lines, then the marker alone", "MW",
       {"ID", 1990, run(20, 0.01f, 0.01f), {}},
       "ID      1990     1     2     3     4     5     6     7     8     9    10\n"
       "ID      2000    11    12    13    14    15    16    17    18    19    20\n"
       "ID      2010   999\n", ""},
      {"-1025: a short first line, three I5 lines, then the I4 line", "MW",
       {"LONG01XY", -1025, run(40, 1.0f, 0.0f), {}},
       "LONG01X-1025   100   100   100   100   100\n"
       "LONG01X-1020   100   100   100   100   100   100   100   100   100   100\n"
       "LONG01X-1010   100   100   100   100   100   100   100   100   100   100\n"
       "LONG01X-1000   100   100   100   100   100   100   100   100   100   100\n"
       "LONG01XY-990   100   100   100   100   100   999\n", ""},
      {"a stop marker's stand-in on the last of three lines", "MW",
       {"ID", 1990, [] { std::vector<float> v = run(25, 1.0f, 0.0f); v[21] = 9.99f; return v; }(), {}},
       "ID      1990   100   100   100   100   100   100   100   100   100   100\n"
       "ID      2000   100   100   100   100   100   100   100   100   100   100\n"
       "ID      2010   100  1000   100   100   100   999\n", 
       " >> Sbr TRRW:  Series ID, year  2011: the stored value 999 is the stop marker: written as "
       "1000"},
      {"9.99 at .01 is written as 1000", "MW",
       {"ID", 1950, {9.99f}, {}},
       "ID      1950  1000   999\n",
       " >> Sbr TRRW:  Series ID, year  1950: the stored value 999 is the stop marker: written as "
       "1000"},
      {"0.999 at .001 is written as 1000", "3W",
       {"ID", 1950, {0.999f, 1.5f}, {}},
       "ID      1950  1000  1500 -9999\n",
       " >> Sbr TRRW:  Series ID, year  1950: the stored value 999 is the stop marker"},
      {"-9.999 at .001 would be the marker", "3W",
       {"ID", 1950, {-9.999f}, {}},
       "ID      1950-10000 -9999\n",
       " >> Sbr TRRW:  Series ID, year  1950: the stored value -9999 is the stop marker: written "
       "as -10000"},
      {"-99.99 at .01 would be the .001 marker", "MW",
       {"ID", 1950, {-99.99f}, {}},
       "ID      1950-10000   999\n",
       " >> Sbr TRRW:  Series ID, year  1950: the stored value -9999 is the stop marker"},
      {"a value beyond the I6 field", "MW",
       {"WIDE", 1950, {12345.67f}, {}},
       "WIDE    1950******   999\n",
       " >> Sbr TRRW:  Series WIDE, year  1950: value  1.2346E+04 does not fit its 6-column field: "
       "written as asterisks"},
      {"not a number", "3W",
       {"NAN", 1950, {nan}, {}},
       "NAN     1950****** -9999\n",
       " >> Sbr TRRW:  Series NAN, year  1950: value"},
  };
  // clang-format on
  for (const DecadalWriteCase& c : cases) {
    std::string out;
    std::string got = writeText(
        {c.series}, [&](Series& s, std::int32_t unit) { TRRW(s, unit, c.request); }, &out);
    EXPECT_EQ(got, c.want) << c.name;
    expectMessage(out, c.message, c.name);
  }
}

TEST(DecadalWriting, IndexSlotsFillersScalingAndCounts) {
  // clang-format off
  const DecadalWriteCase cases[] = {
      {"1923 starts in slot 4", "IW",
       {"IDX001", 1923, run(9, 1.0f, 0.0f), std::vector<std::int32_t>(9, 12)},
       indexLine("IDX001", 1923, fillers(3) + Pairs(7, {1000, 12})) +
           indexLine("IDX001", 1930, Pairs(2, {1000, 12}) + fillers(8)), ""},
      {"-37 starts in slot 4", "IW",
       {"NEG", -37, {0.5f}, {3}},
       indexLine("NEG", -37, fillers(3) + Pairs{{500, 3}} + fillers(6)), ""},
      {"a last value in slot 10 is followed by a filler line", "IW",
       {"FULL01", 1960, std::vector<float>(10, 2.0f), std::vector<std::int32_t>(10, 40)},
       indexLine("FULL01", 1960, Pairs(10, {2000, 40})) + indexLine("FULL01", 1970, fillers(10)),
       ""},
      {"counts default to 1 when the first is below 1", "IW",
       {"ONE", 1950, {1.0f, 2.0f}, {0, 7}},
       indexLine("ONE", 1950, Pairs{{1000, 1}, {2000, 1}} + fillers(8)), ""},
      {"a maximum of 12.5 is scaled by 0.1", "IW",
       {"SCALED01", 1950, {12.5f, 3.0f}, {2, 2}},
       indexLine("SCALED", 1950, Pairs{{1250, 2}, {300, 2}} + fillers(8)),
       " >> Sbr TRRW: Series SCALED01 max value   12.500 multiplied by  0.10000"},
  };
  // clang-format on
  for (const DecadalWriteCase& c : cases) {
    std::string out;
    std::string got = writeText({c.series}, writeIndexFile, &out);
    EXPECT_EQ(got, c.want) << c.name;
    expectMessage(out, c.message, c.name);
  }
}

TEST(DecadalWriting, NothingForAnEmptySeries) {
  for (const char* request : {"MW", "3W", "IW"})
    EXPECT_EQ(writeText({{"EMPTY", 1950, {}, {}}},
                        [&](Series& s, std::int32_t unit) { TRRW(s, unit, request); }),
              "")
        << request;
}

}  // namespace
}  // namespace series::testing
