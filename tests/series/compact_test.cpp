// The compact format: DATR reading headers and data lines, CMPWR choosing
// scale, width and exponent, and the exact columns it writes.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "tests/series/series_files.h"

namespace series::testing {
namespace {

struct DatrCase {
  const char* name;
  std::string text;
  std::vector<ReadSeries> want;
  std::int32_t finalCount;
  std::string out;  // expected in the console output
  int messages;     // number of " >> " messages
};

std::string digits(int n, char c) { return std::string(static_cast<std::size_t>(n), c) + "\n"; }

TEST(CompactReading, HeadersDataLinesAndDamage) {
  std::vector<float> ones(4096, 1.0f);
  std::vector<float> first26;
  for (int i = 1; i <= 26; ++i) first26.push_back(static_cast<float>(i) * 0.1f);
  std::string row26;
  for (int i = 1; i <= 26; ++i) row26 += (i < 10 ? "  " : " ") + std::to_string(i);
  row26 += "\n";
  const std::string longSeries = [] {
    std::string s;
    for (int i = 0; i < 62; ++i) s += digits(80, '1');
    return s + digits(40, '1');
  }();
  std::vector<float> tenths = first26;
  tenths.push_back(2.7f);
  // clang-format off
  const DatrCase cases[] = {
      {"worked example", compactHeader(3, 1950, "ABC", " -2(26F3.0)~") + "123 50 -7\n",
       {{"ABC     ", 1950, {1.23f, 0.5f, -0.07f}, {}}}, -1, "", 0},
      {"blank and title lines first",
       "\n\nSite of the example\n" + compactHeader(2, -5, "NEG", "  0(13F6.0)~") + "    12   -34\n",
       {{"NEG     ", -5, {12, -34}, {}}}, -1, " Title:\n Site of the example", 0},
      {"positive exponent", compactHeader(2, 1, "E3", "  3(13F6.0)~") + "     7    -2\n",
       {{"E3      ", 1, {7000, -2000}, {}}}, -1, "", 0},
      {"marker @ builds the format, exponent 0",
       compactHeader(3, 1700, "AT", "(10,I6)@") + "     1     2     3\n",
       {{"AT      ", 1700, {1, 2, 3}, {}}}, -1, "", 0},
      {"values over two lines", compactHeader(27, 2000, "TWO", " -1(26F3.0)~") + row26 + " 27\n",
       {{"TWO     ", 2000, tenths, {}}}, -1, "", 0},
      {"header of 0 values ends the reading",
       compactHeader(0, 1950, "NONE", "  0(13F6.0)~") + compactHeader(1, 1950, "NEXT", "  0(13F6.0)~") +
           "     1\n",
       {}, 0, "", 0},
      {"header written by another program",
       "3=N 1950=I FREE                  -2(26F3.0)~\n123 50 -7\n",
       {{"FREE    ", 1950, {1.23f, 0.5f, -0.07f}, {}}}, -1, "", 0},
      {"read error keeps the lines read whole",
       compactHeader(30, 1900, "BAD", " -1(26F3.0)~") + row26 + "  1  x  3  4\n" +
           compactHeader(1, 1, "NEXT", "  0(13F6.0)~") + "     5\n",
       {{"BAD     ", 1900, first26, {}}, {"NEXT    ", 1, {5}, {}}}, -1,
       " >> Sbr DATR:  Read error", 1},
      {"read error on the first line skips the series",
       compactHeader(3, 1900, "BAD", "  0(13F6.0)~") + "     1     x\n" +
           compactHeader(1, 7, "GOOD", "  0(13F6.0)~") + "     9\n",
       {{"GOOD    ", 7, {9}, {}}}, -1, " >> Sbr DATR:  Read error", 1},
      {"end of file inside a series, no earlier values leak",
       compactHeader(3, 10, "FULL", "  0(13F6.0)~") + "     4     5     6\n" +
           compactHeader(30, 20, "SHORT", " -1(26F3.0)~") + row26,
       {{"FULL    ", 10, {4, 5, 6}, {}}, {"SHORT   ", 20, first26, {}}}, -1,
       " >> Sbr DATR:  EOF unexpected", 1},
      {"each series read by its own header's format, one after another and back",
       compactHeader(3, 1950, "F3", " -2(26F3.0)~") + "123 50 -7\n" +
           compactHeader(2, 1960, "F6", "  0(13F6.0)~") + "    12   -34\n" +
           compactHeader(2, 1970, "F3B", " -1(26F3.0)~") + "  4 -5\n",
       {{"F3      ", 1950, {1.23f, 0.5f, -0.07f}, {}}, {"F6      ", 1960, {12, -34}, {}},
        {"F3B     ", 1970, {0.4f, -0.5f}, {}}}, -1, "", 0},
      {"longer than 4096 values is cut, the next series follows",
       compactHeader(5000, 1, "LONG", "  0(80F1.0)~") + longSeries +
           compactHeader(1, 3, "AFTER", "  0(13F6.0)~") + "     8\n",
       {{"LONG    ", 1, ones, {}}, {"AFTER   ", 3, {8}, {}}}, -1,
       " >> Sbr DATR:  Series LONG has more than 4096 values: the rest is skipped", 1},
  };
  // clang-format on
  for (const DatrCase& c : cases) {
    ReadOutcome got = readText(c.text, 'C');
    expectSeries(got, c.want, c.name);
    EXPECT_EQ(got.finalCount, c.finalCount) << c.name;
    expectOutput(got.out, c.out, c.messages, c.name);
  }
}

TEST(CompactReading, IdentificationTakesTheCallersLengthUpToForty) {
  struct Row {
    std::size_t length;
    std::string want;
  };
  std::string ident = "A-LONG-IDENTIFICATION-OF-45-CHARACTERS-XYZ12";
  std::string text = compactHeader(1, 1, ident.substr(0, 40), "  0(13F6.0)~") + "     1\n";
  const Row rows[] = {
      {8, "A-LONG-I"}, {40, ident.substr(0, 40)}, {44, ident.substr(0, 40) + "    "}};
  for (const Row& r : rows) {
    ReadOptions options;
    options.identLength = r.length;
    ReadOutcome got = readText(text, 'C', options);
    ASSERT_EQ(got.series.size(), 1u) << r.length;
    EXPECT_EQ(got.series[0].ident, r.want) << r.length;
  }
}

// The header line and data lines CMPWR writes for one series.
struct CmpwrCase {
  const char* name;
  std::string ident;
  std::int32_t firstYear;
  std::vector<float> values;
  std::string want;
  std::string message;  // a " >> " message expected on the console, or empty
};

TEST(CompactWriting, ScaleWidthExponentAndColumns) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  std::vector<float> many(81, 5.0f);
  // clang-format off
  const CmpwrCase cases[] = {
      {"worked example", "ABC", 1950, {1.23f, 0.5f, -0.07f},
       compactHeader(3, 1950, "ABC", " -2(26F3.0)~") + "123 50 -7\n", ""},
      {"all zeros", "Z", 1, {0, 0, 0}, compactHeader(3, 1, "Z", "  0(80F1.0)~") + "000\n", ""},
      {"common trailing zeros with a positive exponent", "TENS", -20, {120, 250, 1000},
       compactHeader(3, -20, "TENS", "  1(26F3.0)~") + " 12 25100\n", ""},
      {"a negative value takes a column for its sign", "NEG", 0, {-1.5f, 2.25f},
       compactHeader(2, 0, "NEG", " -2(20F4.0)~") + "-150 225\n", ""},
      {"six-digit fields", "SIX", 1, {1.23456f, 0.1f},
       compactHeader(2, 1, "SIX", " -5(13F6.0)~") + "123456 10000\n", ""},
      {"the last line is shorter", "P", 3, many,
       compactHeader(81, 3, "P", "  0(80F1.0)~") + std::string(80, '5') + "\n5\n", ""},
      {"identification cut at 40 columns", std::string(40, 'I') + "TAIL", 1, {1},
       compactHeader(1, 1, std::string(40, 'I'), "  0(80F1.0)~") + "1\n", ""},
      {"trailing blanks of the identification dropped", "AB      ", 1, {2},
       compactHeader(1, 1, "AB", "  0(80F1.0)~") + "2\n", ""},
      {"not numbers are written as 0", "NAN", 1950, {1.5f, nan, inf, 2.5f},
       compactHeader(4, 1950, "NAN", " -1(40F2.0)~") + "15 0 025\n",
       " >> Sbr CMPWR:  Series NAN:    2 values not numbers or infinite, the first in year  1951"},
      {"common trailing zeros fall value by value", "FALL", 1, {5, 0.5f, 0.05f, 0.005f},
       compactHeader(4, 1, "FALL", " -3(20F4.0)~") + "5000 500  50   5\n", ""},
      {"zeros keep every trailing zero", "ZS", 1, {0, 3, 0, -0.0f, 7},
       compactHeader(5, 1, "ZS", "  0(80F1.0)~") + "03007\n", ""},
      {"one value without a trailing zero at the end", "LAST", 1, {4, 2, 8, 6, 1.00001f},
       compactHeader(5, 1, "LAST", " -5(13F6.0)~") + "400000200000800000600000100001\n", ""},
      {"negative values and trailing zeros", "NZ", 1, {-2, -0.25f, -0.5f, 1},
       compactHeader(4, 1, "NZ", " -2(20F4.0)~") + "-200 -25 -50 100\n", ""},
      {"magnitudes beyond the usual scales", "BIG", 1, {1.0e30f, -2.0e29f},
       compactHeader(2, 1, "BIG", " 29(40F2.0)~") + "10-2\n",
       " >> Sbr CMPWR:  Series BIG: values up to  2.0000E+30 are beyond the usual scales"},
  };
  // clang-format on
  for (const CmpwrCase& c : cases) {
    std::string out;
    std::string got = writeText({{c.ident, c.firstYear, c.values, {}}}, writeCompact, &out);
    EXPECT_EQ(got, c.want) << c.name;
    expectMessage(out, c.message, c.name);
  }
}

TEST(CompactWriting, NothingForAnEmptySeries) {
  EXPECT_EQ(writeText({{"EMPTY", 1, {}, {}}}, writeCompact), "");
}

TEST(CompactWriting, LargeMagnitudesReadBackAsWritten) {
  std::vector<float> values = {3.0e38f, -1.0e37f, 2.5e20f, 7.0e25f};
  std::string text = writeText({{"HUGE", 1, values, {}}}, writeCompact);
  ReadOutcome got = readText(text, 'C');
  ASSERT_EQ(got.series.size(), 1u) << text;
  for (std::size_t i = 0; i < values.size(); ++i)
    EXPECT_NEAR(got.series[0].values[i], values[i], 3.0e38 * 1e-6) << i;
  EXPECT_FLOAT_EQ(got.series[0].values[0], 3.0e38f);
}

}  // namespace
}  // namespace series::testing
