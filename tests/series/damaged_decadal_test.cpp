// Damaged decadal files and series the decadal formats cannot hold: no
// value is invented, none lands in another year, and every break, cut or
// refusal is told with a " >> " message.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/series/series_files.h"

namespace series::testing {
namespace {

// Values first, first + step, ... (n of them).
std::vector<float> run(int n, float first, float step) {
  std::vector<float> v;
  for (int i = 0; i < n; ++i) v.push_back(first + step * static_cast<float>(i));
  return v;
}

const std::string k1930 =
    "EX      1930   101   102   103   104   105   106   107   108   109   110\n";
const std::string k1940 = "EX      1940   201   202   999\n";

TEST(DamagedDecadalReading, MeasurementSeriesBreakWhereTheLinesDoNotFollow) {
  // clang-format off
  const ReadCase cases[] = {
      {"a line cut inside a field: its whole fields kept, the next line a new series", 'M',
       "EX      1930   101   102   103   104   10\n" + k1940,
       {{"EX      ", 1930, run(4, 1.01f, 0.01f), {}}, {"EX      ", 1940, {2.01f, 2.02f}, {}}},
       " >> Sbr TRRW:  Series EX ends in 1933 without its stop marker: the line of 1940 starts a "
       "new series", 1},
      {"a line with fewer fields than its decade", 'M',
       "EX      1930   101   102\n" + k1940,
       {{"EX      ", 1930, {1.01f, 1.02f}, {}}, {"EX      ", 1940, {2.01f, 2.02f}, {}}},
       "Series EX ends in 1931", 1},
      {"a short line followed by the year of its next value goes on", 'M',
       "EX      1930   101   102\nEX      1932   103   999\n",
       {{"EX      ", 1930, {1.01f, 1.02f, 1.03f}, {}}}, "", 0},
      {"a letter in a value: the series ends before its line", 'M',
       "EX      1925     1     2     3     4     5\n"
       "EX      1930   101   102   1O3   104   105   106   107   108   109   110\n" + k1940,
       {{"EX      ", 1925, {0.01f, 0.02f, 0.03f, 0.04f, 0.05f}, {}},
        {"EX      ", 1940, {2.01f, 2.02f}, {}}},
       " >> Sbr TRRW:  Series EX ends in 1929 at a line that does not read:\n"
       " EX      1930   101   102   1O3", 1},
      {"a lost line: the line of a later decade starts a new series", 'M',
       "EX      1925     1     2     3     4     5\n" + k1940,
       {{"EX      ", 1925, run(5, 0.01f, 0.01f), {}}, {"EX      ", 1940, {2.01f, 2.02f}, {}}},
       "Series EX ends in 1929 without its stop marker: the line of 1940", 1},
      {"a lost marker: the next series keeps its own name and years", 'M',
       k1930 + "NEXT    1500   301   999\n",
       {{"EX      ", 1930, run(10, 1.01f, 0.01f), {}}, {"NEXT    ", 1500, {3.01f}, {}}},
       "Series EX ends in 1939 without its stop marker: the line of 1500", 1},
      {"a broken series takes the precision of the marker that follows", 'M',
       "EX      1938  1001  1002\nEX      1950  2001 -9999\n",
       {{"EX      ", 1938, {1.001f, 1.002f}, {}}, {"EX      ", 1950, {2.001f}, {}}},
       "Series EX ends in 1939", 1},
      {"a marker alone after a break is skipped, the file goes on", 'M',
       "EX      1935   101   102\nEX      1940   999\nNEXT    1500   301   999\n",
       {{"EX      ", 1935, {1.01f, 1.02f}, {}}, {"NEXT    ", 1500, {3.01f}, {}}},
       " >> Sbr TRRW:  Series EX: the line of 1940 ends a series before any value: skipped", 2},
      {"a field cut at the end of the file is no value", 'M',
       "EX      1930   101   102   10\n",
       {{"EX      ", 1930, {1.01f, 1.02f}, {}}},
       "Series EX ends without its stop marker at the end of the file", 1},
      {"numbers that all stop a column short are read as they stand", 'M',
       "EX     -990    39    19    28    27    35    13    11    42    27    26\n"
       "EX     -980    10   999\n",
       {{"EX      ", -990,
         {0.39f, 0.19f, 0.28f, 0.27f, 0.35f, 0.13f, 0.11f, 0.42f, 0.27f, 0.26f, 0.10f}, {}}},
       "", 0},
      {"a note after the fields leaves the fields as they are", 'M',
       "EX      1938   101   102" + std::string(51, ' ') + "Simpl\nEX      1940   999\n",
       {{"EX      ", 1938, {1.01f, 1.02f}, {}}}, "", 0},
  };
  // clang-format on
  for (const ReadCase& c : cases) expectRead(c);
}

// An index line: identification, year, then the slots as text.
std::string indexLine(int year, const std::string& slots) {
  char head[16];
  std::snprintf(head, sizeof head, "IDX001%4d", year);
  return head + slots + "\n";
}
// n slots holding the index 1.000 of 5 samples, and n 9990 fillers.
std::string ones(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "1000  5";
  return s;
}
std::string fillers(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "9990  0";
  return s;
}

TEST(DamagedDecadalReading, IndexSeriesBreakWhereTheLinesDoNotFollow) {
  const std::vector<float> one(10, 1.0f);
  // clang-format off
  const ReadCase cases[] = {
      {"a cut line: its whole slots kept, the next line a new series", 'I',
       indexLine(1950, ones(4) + "10") + indexLine(1960, ones(2) + fillers(8)),
       {{"IDX001  ", 1950, {1, 1, 1, 1}, {5, 5, 5, 5}}, {"IDX001  ", 1960, {1, 1}, {5, 5}}},
       "Series IDX001 ends in 1953 without its stop marker: the line of 1960", 1},
      {"a line of another decade", 'I',
       indexLine(1950, ones(10)) + indexLine(1970, ones(1) + fillers(9)),
       {{"IDX001  ", 1950, one, {}}, {"IDX001  ", 1970, {1}, {}}},
       "Series IDX001 ends in 1959 without its stop marker: the line of 1970", 1},
      {"a line of fillers alone is skipped", 'I',
       indexLine(1950, fillers(10)) + indexLine(1961, fillers(1) + ones(1) + fillers(8)),
       {{"IDX001  ", 1961, {1}, {5}}},
       " >> Sbr TRRW:  Series IDX001: the line of 1950 ends a series before any value", 1},
  };
  // clang-format on
  for (const ReadCase& c : cases) expectRead(c);
}

struct LimitWrite {
  const char* name;
  const char* request;
  ReadSeries series;
  std::string want;     // the new file
  std::string message;  // the one " >> " message, or empty
};

// Years the I4 and I5 year fields cannot hold leave the series unwritten;
// an identification whose "-" in column 8 would make an I4 line read as an
// I5 one gets a blank there. What is written reads back with its years.
TEST(DecadalWritingLimits, YearsBeyondTheFieldsAndASignInColumnEight) {
  const std::string notWritten = " does not fit its year field: the series is not written";
  // clang-format off
  const LimitWrite cases[] = {
      {"first year above 9999", "MW", {"AB01", 12000, {1, 2}, {}}, "",
       " >> Sbr TRRW:  Series AB01: the year 12000" + notWritten},
      {"later lines pass 9999", "3W", {"LATE", 8963, std::vector<float>(3949, 1.0f), {}}, "",
       " >> Sbr TRRW:  Series LATE: the year 10000" + notWritten},
      {"the marker alone on the line of 10000", "MW", {"END", 9999, {1}, {}}, "",
       "the year 10000" + notWritten},
      {"the marker beside the last value in 9998", "MW", {"END", 9998, {1}, {}},
       "END     9998   100   999\n", ""},
      {"below the I5 field", "MW", {"OLD", -10000, {1}, {}}, "", "the year -10000" + notWritten},
      {"the lowest I5 year", "MW", {"OLD", -9999, {1}, {}}, "OLD    -9999   100   999\n", ""},
      {"indices below the I4 field", "IW", {"IDX", -1000, {1}, {1}}, "",
       "the year -1000" + notWritten},
      {"indices with their filler line in 10000", "IW",
       {"IDX", 9990, std::vector<float>(10, 1.0f), std::vector<std::int32_t>(10, 1)}, "",
       "the year 10000" + notWritten},
      {"a - in column 8 of an I4 line is written as a blank", "MW",
       {"ABCDEFG-", 1998, {1, 2}, {}}, "ABCDEFG 1998   100   200\nABCDEFG 2000   999\n",
       " >> Sbr TRRW:  Series ABCDEFG-: the - in column 8 would be read as the sign of the year: "
       "written as a blank"},
      {"I5 lines keep seven characters and the year's sign", "MW",
       {"ABCDEFG-", -1005, {1, 2}, {}}, "ABCDEFG-1005   100   200   999\n", ""},
      {"from I5 to I4 lines", "3W",
       {"ABCDEFG-", -1001, std::vector<float>(11, 1.0f), {}},
       "ABCDEFG-1001  1000\n"
       "ABCDEFG-1000  1000  1000  1000  1000  1000  1000  1000  1000  1000  1000\n"
       "ABCDEFG -990 -9999\n",
       "the - in column 8 would be read as the sign of the year"},
  };
  // clang-format on
  for (const LimitWrite& c : cases) {
    std::string out;
    std::string got = writeText(
        {c.series}, [&](Series& s, std::int32_t unit) { TRRW(s, unit, c.request); }, &out);
    EXPECT_EQ(got, c.want) << c.name;
    EXPECT_EQ(messageCount(out), c.message.empty() ? 0 : 1) << c.name << "\n" << out;
    EXPECT_NE(out.find(c.message), std::string::npos) << c.name << "\n" << out;
    // The session asks before copying whether the writer will refuse.
    EXPECT_EQ(writerYearsFit(seriesOf(c.series), c.request), !got.empty()) << c.name;
    if (got.empty()) continue;
    ReadOutcome back = readText(got, c.request[0] == 'I' ? 'I' : 'M');
    ASSERT_EQ(back.series.size(), 1u) << c.name << "\n" << back.out;
    EXPECT_EQ(back.series[0].firstYear, c.series.firstYear) << c.name;
    EXPECT_EQ(back.series[0].values.size(), c.series.values.size()) << c.name;
  }
}

}  // namespace
}  // namespace series::testing
