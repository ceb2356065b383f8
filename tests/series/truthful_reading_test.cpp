// Every number of a data line reaches its series at its year and precision
// or is named in a " >> " message: stop markers that are values, fields
// beyond the decade, the count or the columns read, a series cut off by the
// end of the file, tabs, and lines of another identification inside a
// series. The real file AA_21_OS.rwl is read where it lies.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "series/lines.h"
#include "tests/series/series_files.h"
#include "tests/support/shared_data.h"

namespace series::testing {
namespace {

// A measurement line: identification, year (I5 below -999, after seven
// columns of identification) and fields of six columns.
std::string line(const std::string& ident, int year, const std::vector<int>& fields) {
  char buf[160];
  int n = year < -999 ? std::snprintf(buf, sizeof buf, "%-7.7s%5d", ident.c_str(), year)
                      : std::snprintf(buf, sizeof buf, "%-8s%4d", ident.c_str(), year);
  for (int v : fields)
    n += std::snprintf(buf + n, sizeof buf - static_cast<std::size_t>(n), "%6d", v);
  return std::string(buf) + "\n";
}

const std::string kNextSeries = line("NEXT", 1500, {7, -9999});
const ReadSeries kNext{"NEXT    ", 1500, {0.007f}, {}};

TEST(TruthfulReading, StopMarkersFollowedByValuesAreValues) {
  // clang-format off
  const ReadCase cases[] = {
      {"a 999 inside a .001 line", 'M',
       line("EX", 1937, {101, 999, 103}) + line("EX", 1940, {201, -9999}),
       {{"EX      ", 1937, {0.101f, 0.999f, 0.103f, 0.201f}, {}}}, "", 0},
      {"a -9999 inside a .01 line", 'M',
       line("EX", 1937, {101, -9999, 103}) + line("EX", 1940, {201, 999}),
       {{"EX      ", 1937, {1.01f, -99.99f, 1.03f, 2.01f}, {}}}, "", 0},
      {"a run of the same marker to the end of the line is one marker", 'M',
       line("EX", 1935, {101, 102, 999, 999, 999}) + kNextSeries,
       {{"EX      ", 1935, {1.01f, 1.02f}, {}}, kNext}, "", 0},
      {"a 999 ending its line, the series going on, in a file of -9999 markers", 'M',
       line("EX", 1935, {1, 2, 3, 4, 999}) + line("EX", 1940, {5, -9999}) + kNextSeries,
       {{"EX      ", 1935, {0.001f, 0.002f, 0.003f, 0.004f, 0.999f, 0.005f}, {}}, kNext},
       " >> Sbr TRRW:  Series EX, year  1939: 999 ends its line and the series goes on; every "
       "other stop marker of the file is -9999: read as a value", 1},
      {"the same where the file also ends a series with 999: a marker", 'M',
       line("EX", 1935, {1, 2, 3, 4, 999}) + line("EX", 1940, {5, -9999}) +
           line("NEXT", 1500, {7, 999}),
       {{"EX      ", 1935, {0.01f, 0.02f, 0.03f, 0.04f}, {}}, {"EX      ", 1940, {0.005f}, {}},
        {"NEXT    ", 1500, {0.07f}, {}}},
       " >> Sbr TRRW:  Series EX, year  1939: 999 ends its line and the series goes on; the file "
       "also ends series with 999: read as the stop marker", 1},
      {"a 999 ending its line before another series: a marker", 'M',
       line("EX", 1935, {1, 2, 999}) + kNextSeries,
       {{"EX      ", 1935, {0.01f, 0.02f}, {}}, kNext}, "", 0},
  };
  // clang-format on
  for (const ReadCase& c : cases) expectRead(c);
}

TEST(TruthfulReading, NumbersBeyondWhatALineHoldsAreNamed) {
  const std::string header = compactHeader(3, 1950, "EX", "  0(13F6.0)~");
  // clang-format off
  const ReadCase cases[] = {
      {"a first line with more values than its decade", 'M',
       line("EX", 1937, {101, 102, 103, 104}) + line("EX", 1940, {201, 999}),
       {{"EX      ", 1937, {1.01f, 1.02f, 1.03f, 2.01f}, {}}},
       " >> Sbr TRRW:  Series EX, year  1940: beyond the decade of the line of 1937; not read:\n"
       " 104\n", 1},
      {"an eleventh value in columns 73-78", 'M',
       line("EX", 1930, {101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111}) +
           line("EX", 1940, {999}),
       {{"EX      ", 1930, {1.01f, 1.02f, 1.03f, 1.04f, 1.05f, 1.06f, 1.07f, 1.08f, 1.09f, 1.1f},
         {}}},
       " >> Data line longer than 72 characters; not read:\n    111\n", 1},
      {"a compact line with more values than the header counts", 'C',
       header + "   101   102   103   104   105\n",
       {{"EX      ", 1950, {101, 102, 103}, {}}},
       " >> Sbr DATR:  Series EX: values beyond the header count of 3; not read:\n 104   105\n", 1},
      {"digits after the last field of a compact line", 'C',
       compactHeader(13, 1950, "EX", "  0(13F6.0)~") +
           "     1     2     3     4     5     6     7     8     9    10    11    12    1314\n",
       {{"EX      ", 1950, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, {}}},
       " >> Data line longer than 78 characters; not read:\n 14\n", 1},
      {"lines of values after the header's count", 'C',
       header + "   101   102   103\n   104   105\n" + compactHeader(1, 1960, "NEXT", "  0(13F6.0)~") +
           "     7\n",
       {{"EX      ", 1950, {101, 102, 103}, {}}, {"NEXT    ", 1960, {7}, {}}},
       " >> Sbr DATR:  Series EX: values beyond the header count of 3; not read:\n 104   105\n", 1},
  };
  // clang-format on
  for (const ReadCase& c : cases) expectRead(c);
}

TEST(TruthfulReading, ACutOffSeriesTakesThePrecisionOfTheFileBeforeIt) {
  const std::string atEnd = "ends without its stop marker at the end of the file: read at ";
  // clang-format off
  const ReadCase cases[] = {
      {"after -9999 markers", 'M',
       line("EX", 1938, {1001, 1002}) + line("EX", 1940, {-9999}) +
           line("LAST", 1950, {1001, 1002}),
       {{"EX      ", 1938, {1.001f, 1.002f}, {}}, {"LAST    ", 1950, {1.001f, 1.002f}, {}}},
       " >> Sbr TRRW:  Series LAST " + atEnd + ".001 precision", 1},
      {"after 999 markers", 'M',
       line("EX", 1938, {101, 102}) + line("EX", 1940, {999}) + line("LAST", 1950, {101, 102}),
       {{"EX      ", 1938, {1.01f, 1.02f}, {}}, {"LAST    ", 1950, {1.01f, 1.02f}, {}}},
       "Series LAST " + atEnd + ".01 precision", 1},
      {"without any marker before it", 'M',
       line("LAST", 1950, {101, 102}),
       {{"LAST    ", 1950, {1.01f, 1.02f}, {}}},
       "Series LAST " + atEnd + ".01 precision", 1},
  };
  // clang-format on
  for (const ReadCase& c : cases) expectRead(c);
}

TEST(TruthfulReading, TabsAndLinesOfAnotherIdentificationAreTold) {
  const std::string tab = ": the line holds a tab, read as blanks";
  // clang-format off
  const ReadCase cases[] = {
      {"a tab before the year: told even where the columns come out right", 'M',
       "EX\t1935   101   102   103   104   105\n" + line("EX", 1940, {999}),
       {{"EX      ", 1935, {1.01f, 1.02f, 1.03f, 1.04f, 1.05f}, {}}},
       " >> Sbr TRRW:  Series EX, year  1935" + tab, 1},
      {"tabs after the last number move nothing", 'M',
       "EX      1935   101   102   103   104   105\t\t\n" + line("EX", 1940, {999}),
       {{"EX      ", 1935, {1.01f, 1.02f, 1.03f, 1.04f, 1.05f}, {}}}, "", 0},
      {"a tab in a compact data line", 'C',
       compactHeader(3, 1950, "EX", "  0(13F6.0)~") + "   101\t 102   103\n",
       {{"EX      ", 1950, {101, 102, 103}, {}}},
       " >> Sbr DATR:  Series EX, year  1950" + tab, 1},
      {"a tab in a later line of a series", 'M',
       line("EX", 1935, {101, 102, 103, 104, 105}) + "EX\t1940   106   999\n",
       {{"EX      ", 1935, {1.01f, 1.02f, 1.03f, 1.04f, 1.05f, 1.06f}, {}}},
       " >> Sbr TRRW:  Series EX, year  1940" + tab, 1},
      {"a tab in a later compact data line", 'C',
       compactHeader(15, 1950, "EX", "  0(13F6.0)~") +
           "     1     2     3     4     5     6     7     8     9    10    11    12    13\n"
           "    14\t  15\n",
       {{"EX      ", 1950, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, {}}},
       " >> Sbr DATR:  Series EX, year  1963" + tab, 1},
      {"the first line of another identification, once per series", 'M',
       line("NRX14B", 1935, {1, 2, 3, 4, 5}) + line("NRX14A", 1940, {6}) +
           line("NRX14A", 1941, {7, 999}),
       {{"NRX14B  ", 1935, {0.01f, 0.02f, 0.03f, 0.04f, 0.05f, 0.06f, 0.07f}, {}}},
       " >> Sbr TRRW:  Series NRX14B, year  1940: the line is of NRX14A; read as part of the "
       "series", 1},
      {"a tab in a file of CR LF line ends", 'M',
       "TITLE\r\nEX\t1935   101   102   103   104   105\r\n" + line("EX", 1940, {999}),
       {{"EX      ", 1935, {1.01f, 1.02f, 1.03f, 1.04f, 1.05f}, {}}},
       " >> Sbr TRRW:  Series EX, year  1935" + tab, 1},
      {"an index line of another identification", 'I',
       "IDX00119519990  01000  51000  51000  51000  51000  51000  51000  51000  51000  5\n"
       "IDX0021960 900  59990  09990  09990  09990  09990  09990  09990  09990  09990  0\n",
       {{"IDX001  ", 1951, {1, 1, 1, 1, 1, 1, 1, 1, 1, 0.9f}, {5, 5, 5, 5, 5, 5, 5, 5, 5, 5}}},
       " >> Sbr TRRW:  Series IDX001, year  1960: the line is of IDX002; read as part of the "
       "series", 1},
      {"an I5 line keeps seven columns of the identification", 'M',
       line("ABCDEFG", -1005, {1, 2, 3, 4, 5}) + line("ABCDEFG", -1000, {6, 999}),
       {{"ABCDEFG ", -1005, {0.01f, 0.02f, 0.03f, 0.04f, 0.05f, 0.06f}, {}}}, "", 0},
  };
  // clang-format on
  for (const ReadCase& c : cases) expectRead(c);
}

// A series' first line that does not read would pass as a title line: it is
// told when it is of the series' identification and of the decade before.
TEST(TruthfulReading, AFirstLineThatDoesNotReadIsTold) {
  const std::string told = ": the line before its first does not read; not read:";
  // clang-format off
  const ReadCase cases[] = {
      {"a letter in the first line's values", 'M',
       "EX      1901  1x9   102\n" + line("EX", 1910, {110, 999}),
       {{"EX      ", 1910, {1.1f}, {}}},
       " >> Sbr TRRW:  Series EX, year  1901" + told, 1},
      {"a title line before the series is no data line", 'M',
       "EX   Site of the valley, 1901 to 1910\n" + line("EX", 1901, {1, 999}),
       {{"EX      ", 1901, {0.01f}, {}}}, "", 0},
      {"a line of another series before it", 'M',
       "OTHER   1901  1x9\n" + line("EX", 1910, {110, 999}),
       {{"EX      ", 1910, {1.1f}, {}}}, "", 0},
      {"a line of another decade before it", 'M',
       "EX      1891  1x9\n" + line("EX", 1910, {110, 999}),
       {{"EX      ", 1910, {1.1f}, {}}}, "", 0},
      {"an index line", 'I',
       "IDX0011940 9x0  5\n"
       "IDX00119501000  59990  09990  09990  09990  09990  09990  09990  09990  09990  0\n",
       {{"IDX001  ", 1950, {1}, {5}}},
       " >> Sbr TRRW:  Series IDX001, year  1940" + told, 1},
  };
  // clang-format on
  for (const ReadCase& c : cases) expectRead(c);
}

std::string shared(const std::string& name) { return testing_support::sharedData(name).string(); }

struct SeriesFacts {
  const char* ident;
  std::int32_t first;
  std::int32_t last;
  std::size_t count;
  float firstValue;
  float lastValue;
};

// A .001 file whose series hold the measurement 0.999 (stored 999) five
// times, four of them with more values after it on the same line.
TEST(TruthfulReading, RealFileOfThousandthsHoldingTheValue999) {
  if (!testing_support::haveSharedData()) GTEST_SKIP() << testing_support::needsSharedData();
  ReadOutcome got = readFile(shared("rwl/AA_21_OS.rwl"), 'M');
  // clang-format off
  const SeriesFacts want[] = {
      {"01A", 1855, 2021, 167, 0.378f, 0.737f},
      {"01B", 1855, 2021, 167, 0.821f, 0.513f},
      {"02A", 1867, 2021, 155, 1.838f, 2.579f},
      {"02B", 1863, 2021, 159, 2.231f, 1.941f},
      {"03A", 1870, 2021, 152, 2.218f, 1.001f},
      {"03B", 1862, 2021, 160, 0.476f, 1.026f},
      {"04A", 1950, 2021, 72, 3.509f, 2.039f},
      {"04B", 1915, 2021, 107, 3.522f, 1.895f},
      {"05A", 1948, 2021, 74, 1.311f, 1.912f},
      {"05B", 1944, 2021, 78, 0.826f, 1.563f},
      {"06A", 1902, 2021, 120, 0.611f, 0.590f},
      {"06B", 1883, 2021, 139, 2.066f, 0.583f},
      {"07A", 1832, 2021, 190, 1.319f, 0.440f},
      {"07B", 1791, 2021, 231, 1.046f, 0.793f},
      {"08A", 1947, 2021, 75, 0.466f, 1.092f},
      {"08B", 1942, 2021, 80, 0.826f, 0.644f},
      {"09A", 1816, 2021, 206, 2.580f, 0.199f},
      {"09B", 1817, 2021, 205, 0.856f, 0.498f},
      {"10A", 1957, 2021, 65, 1.956f, 1.631f},
      {"10B", 1958, 2021, 64, 4.111f, 2.076f},
      {"11A", 1808, 2021, 214, 0.667f, 0.139f},
      {"11B", 1828, 2021, 194, 1.336f, 0.419f},
      {"18A", 1891, 2021, 131, 4.163f, 0.083f},
      {"18B", 1880, 2021, 142, 0.147f, 0.314f},
      {"20A", 1871, 2021, 151, 0.488f, 0.518f},
      {"20B", 1867, 2021, 155, 2.274f, 0.573f},
      {"24A", 1930, 2021, 92, 0.331f, 0.709f},
      {"24B", 1924, 2021, 98, 0.764f, 0.575f},
      {"25A", 1792, 2021, 230, 0.563f, 1.283f},
      {"25B", 1790, 2021, 232, 0.356f, 0.167f},
  };
  // clang-format on
  ASSERT_EQ(got.series.size(), std::size(want)) << got.out;
  std::size_t values = 0;
  for (std::size_t i = 0; i < std::size(want); ++i) {
    const ReadSeries& s = got.series[i];
    const SeriesFacts& w = want[i];
    EXPECT_EQ(shownIdent(s.ident), w.ident) << i;
    EXPECT_EQ(s.firstYear, w.first) << w.ident;
    ASSERT_EQ(s.values.size(), w.count) << w.ident;
    EXPECT_EQ(s.firstYear + static_cast<std::int32_t>(s.values.size()) - 1, w.last) << w.ident;
    EXPECT_NEAR(s.values.front(), w.firstValue, 1e-6) << w.ident;
    EXPECT_NEAR(s.values.back(), w.lastValue, 1e-6) << w.ident;
    values += s.values.size();
  }
  EXPECT_EQ(values, 4305u);
  // The stored 999s at their years, and the values beside them.
  struct At {
    std::size_t series;
    std::int32_t year;
    float value;
  };
  const At at[] = {{0, 1878, 0.799f},  {0, 1879, 0.999f},  {0, 1880, 1.043f},
                   {2, 1981, 0.999f},  {2, 1982, 1.135f},  {5, 1930, 0.999f},
                   {21, 1844, 0.999f}, {21, 1845, 1.065f}, {25, 1980, 0.999f}};
  for (const At& a : at) {
    const ReadSeries& s = got.series[a.series];
    EXPECT_NEAR(s.values[static_cast<std::size_t>(a.year - s.firstYear)], a.value, 1e-6)
        << s.ident << " " << a.year;
  }
  // The 999 ending the line of 1870 is the one the file leaves open.
  expectMessage(got.out,
                " >> Sbr TRRW:  Series 01A, year  1879: 999 ends its line and the series goes on",
                "AA_21_OS.rwl");
}

}  // namespace
}  // namespace series::testing
