// Damaged compact files and series the compact format cannot hold: a data
// line shorter than its values is a read error (no value read as 0 or as a
// cut number), a first year beyond the header's field is refused with a
// message, and every finite value is written so that it reads back.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/series/series_files.h"

namespace series::testing {
namespace {

struct DamagedCompact {
  const char* name;
  std::string text;
  std::vector<ReadSeries> want;
};

TEST(DamagedCompactReading, ALineShorterThanItsValuesIsAReadError) {
  // 26 values of three columns: 1.00 to 1.25.
  std::string row;
  std::vector<float> first;
  for (int i = 0; i < 26; ++i) {
    row += std::to_string(100 + i);
    first.push_back(1.0f + 0.01f * static_cast<float>(i));
  }
  const std::string next = compactHeader(1, 7, "NEXT", "  0(13F6.0)~") + "     9\n";
  const ReadSeries nextSeries{"NEXT    ", 7, {9}, {}};
  // clang-format off
  const DamagedCompact cases[] = {
      {"the first line cut inside a field: the series is skipped",
       compactHeader(30, 1950, "CUT", " -2(26F3.0)~") + row.substr(0, 40) + "\n101102103104\n" + next,
       {nextSeries}},
      {"the last line shorter than the values left",
       compactHeader(30, 1950, "CUT", " -2(26F3.0)~") + row + "\n101102\n" + next,
       {{"CUT     ", 1950, first, {}}, nextSeries}},
      {"a blank line where values stand",
       compactHeader(2, 1, "BLANK", "  0(13F6.0)~") + "\n" + next, {nextSeries}},
      {"the last field cut by one column",
       compactHeader(2, 1, "SHORT", "  0(13F6.0)~") + "    12    3\n" + next, {nextSeries}},
  };
  // clang-format on
  for (const DamagedCompact& c : cases) {
    ReadOutcome got = readText(c.text, 'C');
    expectSeries(got, c.want, c.name);
    expectOutput(got.out, " >> Sbr DATR:  Read error", 1, c.name);
  }
}

struct CompactLimit {
  const char* name;
  std::int32_t firstYear;
  std::vector<float> values;
  std::string want;     // the new file
  std::string message;  // the one " >> " message, or empty
};

TEST(CompactWritingLimits, FirstYearsOfTheHeaderFieldAndNegativeRoundings) {
  const std::string refused = " does not fit its 8-column field: the series is not written";
  // clang-format off
  const CompactLimit cases[] = {
      {"first year above the I8 field", 100000000, {1}, "",
       " >> Sbr CMPWR:  Series ID: the first year 100000000" + refused},
      {"first year below the I8 field", -10000000, {1}, "",
       " >> Sbr CMPWR:  Series ID: the first year -10000000" + refused},
      {"the largest first year", 99999999, {1}, compactHeader(1, 99999999, "ID", "  0(80F1.0)~") + "1\n",
       ""},
      {"the smallest first year", -9999999, {1}, compactHeader(1, -9999999, "ID", "  0(80F1.0)~") + "1\n",
       ""},
      {"a negative value rounding to -100000 takes the next scale", 1950, {-999.999f, 1.0f},
       compactHeader(2, 1950, "ID", "  0(16F5.0)~") + "-1000    1\n", ""},
      {"the same alone below 1", 1950, {-0.999996f},
       compactHeader(1, 1950, "ID", "  0(40F2.0)~") + "-1\n", ""},
  };
  // clang-format on
  for (const CompactLimit& c : cases) {
    std::string out;
    std::string got = writeText({{"ID", c.firstYear, c.values, {}}}, writeCompact, &out);
    EXPECT_EQ(got, c.want) << c.name;
    EXPECT_EQ(messageCount(out), c.message.empty() ? 0 : 1) << c.name << "\n" << out;
    EXPECT_NE(out.find(c.message), std::string::npos) << c.name << "\n" << out;
    EXPECT_EQ(writerYearsFit(seriesOf({"ID", c.firstYear, c.values, {}}), "C"), !got.empty())
        << c.name;
    if (got.empty()) continue;
    ReadOutcome back = readText(got, 'C');
    ASSERT_EQ(back.series.size(), 1u) << c.name << "\n" << back.out;
    EXPECT_EQ(back.series[0].firstYear, c.firstYear) << c.name;
    ASSERT_EQ(back.series[0].values.size(), c.values.size()) << c.name;
    for (std::size_t i = 0; i < c.values.size(); ++i)
      EXPECT_NEAR(back.series[0].values[i], c.values[i], 1e-5 * 10 * std::fabs(c.values[0]))
          << c.name << " value " << i;
  }
}

}  // namespace
}  // namespace series::testing
