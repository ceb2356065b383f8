// Meteorological blocks read by CLDMR: both year layouts, the title, gaps
// filled with missing values, the end of a block, the summary lines and the
// year capacity; SERSTA; and the files read through DATOL.
#include "series/meteo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "common/tables.h"
#include "fmtio/unit.h"
#include "tests/series/series_files.h"
#include "tests/support/shared_data.h"

namespace series::testing {
namespace {

// One year line in the four-column ("(I4,12F5.1)") or five-column layout;
// every month holds value, with the fields given in fields replaced.
std::string yearLine(int year, const std::string& value = "  1.0", bool wide = false,
                     const std::vector<std::pair<int, std::string>>& fields = {}) {
  std::string months;
  for (int m = 1; m <= 12; ++m) months += value;
  for (const auto& [month, text] : fields) months.replace((month - 1) * 5, 5, text);
  std::string y = std::to_string(year);
  return std::string((wide ? 5 : 4) - y.size(), ' ') + y + months + "\n";
}

struct Block {
  std::string title;
  std::int32_t years = 0;
  std::int32_t firstYear = 0;
  std::int32_t monthsWithData = 0;
  std::vector<float> values;
};

struct BlockRun {
  std::vector<Block> blocks;  // every call until one returns no years
  std::string out;
  std::string listing;
};

// Calls CLDMR on the text until a call stores no year (at most 20 calls).
BlockRun readBlocks(const std::string& text, std::int32_t capacity = kMeteoYears,
                    bool listed = false) {
  testing_support::TempDir dir;
  dir.write("in.txt", text);
  testing_support::ConsoleScript script;
  BlockRun run;
  script.run([&] {
    resetReaders();
    fmtio::OpenSpec file;
    file.file = dir.file("in.txt");
    file.status = "OLD";
    fmtio::OPEN(fmtio::Control::catching(kInputUnit), file);
    std::int32_t list = 0;
    if (listed) {
      fmtio::OpenSpec listing;
      listing.file = dir.file("list.txt");
      listing.status = "NEW";
      list = 20;
      fmtio::OPEN(fmtio::Control::catching(list), listing);
    }
    std::vector<float> values(kMaxValues);
    for (int call = 0; call < 20; ++call) {
      Block b;
      b.title.assign(80, '?');
      CLDMR(b.title, b.years, values, b.firstYear, b.monthsWithData, kInputUnit, list, capacity);
      b.values.assign(values.begin(), values.begin() + b.years * 12);
      run.blocks.push_back(b);
      if (b.years == 0) break;
    }
  });
  run.out = script.outLines();
  if (listed) run.listing = dir.read("list.txt");
  return run;
}

// A text line as shown: its first 60 characters after a blank.
std::string shown(const std::string& line) {
  return " " + line + std::string(60 - line.size(), ' ') + "\n";
}

std::string titled(const std::string& lines) { return "Station 7 monthly means\n" + lines; }

struct BlockCase {
  const char* name;
  std::string text;
  std::vector<std::int32_t> years;       // per call, ending with 0
  std::vector<std::int32_t> firstYears;  // per call
  std::int32_t monthsWithData;           // of the first call
  std::vector<std::string> shown;        // lines expected in the output
  std::vector<std::string> absent;       // texts that must not be there
};

TEST(MeteoBlocks, YearsGapsTextAndSummary) {
  const std::string full3 = yearLine(1950) + yearLine(1951) + yearLine(1952);
  // clang-format off
  const BlockCase cases[] = {
      {"three full years after a title", titled(full3), {3, 0}, {1950, 0}, 12,
       {" Station 7 monthly means", " Span  1950  1952     3 years", " Sbr CLDMR: End of file"},
       {"missing data", "Lamont", "no data"}},
      {"a gap is filled and counted", yearLine(1950) + yearLine(1953), {4, 0}, {1950, 0}, 12,
       {" >> Sbr CLDMR: Years skipped, taken as missing: 1951 to 1952",
        " Span  1950  1953     4 years", "      24 missing data"}, {}},
      {"a blank month field is missing, 0.0 is not",
       yearLine(1950, "  0.0", false, {{3, "     "}}) + yearLine(1951, "  2.5"), {2, 0},
       {1950, 0}, 12, {"       1 missing data"}, {"no data"}},
      {"a month missing or zero every year has no data",
       yearLine(1950, "  1.0", false, {{3, "     "}, {4, "  0.0"}}) +
           yearLine(1951, "  1.0", false, {{3, "  0.0"}, {4, "     "}}), {2, 0}, {1950, 0}, 10,
       {" Month  3 has no data", " Month  4 has no data", "       2 missing data"}, {}},
      {"a year read as 195 switches to five columns once",
       yearLine(1950, "  1.0", true) + yearLine(1951, "  1.0", true), {2, 0}, {1950, 0}, 12,
       {" Lamont-Doherty met data format\n Span  1950  1951     2 years"}, {}},
      {"a text line after two years ends the block at once",
       yearLine(1950) + yearLine(1951) + "next station\n" + yearLine(1960), {2, 1, 0}, {1950, 1960, 0}, 0,
       {" Span  1960  1960     1 years"}, {" Span  1950", " next station"}},
      {"a text line after one year is shown and reading goes on",
       yearLine(1950) + "remark\n" + yearLine(1951), {2, 0}, {1950, 0}, 12,
       {shown("remark") + " Span  1950  1951     2 years"}, {}},
      {"a year going backwards ends the block at once",
       yearLine(1950) + yearLine(1951) + yearLine(1949) + yearLine(1980), {2, 1, 0},
       {1950, 1980, 0}, 0, {" >> Sbr CLDMR: Year goes from 1952 to 1949"}, {" Span  1950"}},
      {"an empty file", "", {0}, {0}, 0, {" Sbr CLDMR: End of file"}, {"Span"}},
      {"text only", "one\ntwo\n", {0}, {0}, 0, {shown("one") + shown("two") + " Sbr CLDMR: End of file"}, {}},
      {"a blank line is text and keeps the four-column layout",
       "\n" + full3 + "\n", {3, 0}, {1950, 0}, 0, {}, {"Lamont", "Span"}},
      {"a year below 1000 in five columns is a text line",
       yearLine(1950) + "  195  1.0  1.0\n" + yearLine(1951), {2, 0}, {1950, 0}, 12,
       {shown("  195  1.0  1.0") + " Span  1950  1951     2 years"}, {"Lamont"}},
      {"in five columns, a year still below 1000 is a text line",
       yearLine(1950, "  1.0", true) + "  195  1.0\n" + yearLine(1951, "  1.0", true), {2, 0},
       {1950, 0}, 12, {shown("  195  1.0") + " Span  1950  1951     2 years"}, {}},
      {"values without a decimal point have one implied place",
       yearLine(1950, " 0084"), {1, 0}, {1950, 0}, 12, {" Span  1950  1950     1 years"}, {}},
  };
  // clang-format on
  for (const BlockCase& c : cases) {
    BlockRun got = readBlocks(c.text);
    ASSERT_EQ(got.blocks.size(), c.years.size()) << c.name << "\n" << got.out;
    for (std::size_t i = 0; i < c.years.size(); ++i) {
      EXPECT_EQ(got.blocks[i].years, c.years[i]) << c.name << " call " << i << "\n" << got.out;
      EXPECT_EQ(got.blocks[i].firstYear, c.firstYears[i]) << c.name << " call " << i;
    }
    EXPECT_EQ(got.blocks[0].monthsWithData, c.monthsWithData) << c.name << "\n" << got.out;
    for (const std::string& s : c.shown)
      EXPECT_NE(got.out.find(s), std::string::npos) << c.name << ": no \"" << s << "\"\n"
                                                    << got.out;
    for (const std::string& s : c.absent)
      EXPECT_EQ(got.out.find(s), std::string::npos) << c.name << ": \"" << s << "\"\n" << got.out;
  }
}

TEST(MeteoBlocks, ValuesAndTitle) {
  BlockRun got = readBlocks(titled("Second text line\n" +
                                   yearLine(1950, "  1.5", false, {{2, "     "}, {12, " 0084"}}) +
                                   yearLine(1952, " -2.0")));
  ASSERT_EQ(got.blocks.size(), 2u);
  const Block& b = got.blocks[0];
  EXPECT_EQ(b.title, "Station 7 monthly means" + std::string(57, ' '));
  ASSERT_EQ(b.values.size(), 36u);
  std::vector<float> want(36, kMissingValue);
  for (int m = 0; m < 12; ++m) {
    want[m] = 1.5f;
    want[24 + m] = -2.0f;
  }
  want[1] = kMissingValue;
  want[11] = 8.4f;
  for (std::size_t i = 0; i < want.size(); ++i)
    EXPECT_NEAR(b.values[i], want[i], 1e-4) << "value " << i;
  // A later call starts with a blank title.
  EXPECT_EQ(got.blocks[1].title, std::string(80, ' '));
}

TEST(MeteoBlocks, YearCapacityIsNeverExceeded) {
  struct Row {
    const char* name;
    std::string text;
    std::int32_t capacity;
    std::vector<std::int32_t> years;
    std::vector<std::int32_t> firstYears;
    std::string message;
  };
  std::string five;
  for (int y = 1950; y <= 1954; ++y) five += yearLine(y);
  const Row cases[] = {
      {"the year beyond begins the next block",
       five,
       3,
       {3, 2, 0},
       {1950, 1953, 0},
       " >> Sbr CLDMR: Only   3 years fit one series: kept 1950 to 1952; the line of 1953 "
       "begins the next"},
      {"a gap fills the block up to its capacity",
       yearLine(1950) + yearLine(1960),
       3,
       {3, 1, 0},
       {1950, 1960, 0},
       " >> Sbr CLDMR: Only   3 years fit one series: kept 1950 to 1952; the line of 1960 "
       "begins the next"},
      {"a block of exactly the capacity", five, 5, {5, 0}, {1950, 0}, ""},
  };
  for (const Row& c : cases) {
    BlockRun got = readBlocks(c.text, c.capacity);
    ASSERT_EQ(got.blocks.size(), c.years.size()) << c.name << "\n" << got.out;
    for (std::size_t i = 0; i < c.years.size(); ++i) {
      EXPECT_EQ(got.blocks[i].years, c.years[i]) << c.name << " call " << i;
      EXPECT_EQ(got.blocks[i].firstYear, c.firstYears[i]) << c.name << " call " << i;
    }
    if (c.message.empty())
      EXPECT_EQ(got.out.find("fit one series"), std::string::npos) << c.name << "\n" << got.out;
    else
      EXPECT_NE(got.out.find(c.message), std::string::npos) << c.name << "\n" << got.out;
  }
}

TEST(MeteoBlocks, ListedLinesGoToTheListingUnit) {
  BlockRun got = readBlocks(titled(yearLine(1950) + yearLine(1953)), kMeteoYears, true);
  EXPECT_NE(got.listing.find("         Station 7 monthly means"), std::string::npos) << got.listing;
  EXPECT_NE(got.listing.find("         Span  1950  1953     4 years"), std::string::npos)
      << got.listing;
  EXPECT_NE(got.listing.find("          24 missing data"), std::string::npos) << got.listing;
  EXPECT_EQ(got.listing.find("Years skipped"), std::string::npos) << got.listing;
}

TEST(SeriesStatistics, MeanRangeSensitivityAndDeviation) {
  struct Row {
    std::vector<float> x;
    SeriesStats want;
  };
  const Row cases[] = {
      {{}, {0, 0, 0, 0, 0}},
      {{5}, {5, 5, 5, 0, 0}},
      {{1, 2, 3}, {2, 1, 3, (2.0f / 3 + 2.0f / 5) / 2, 1}},
      {{0, 0, 2}, {2.0f / 3, 0, 2, 1, std::sqrt(4.0f / 3)}},
      {{-1, 1}, {0, -1, 1, 0, std::sqrt(2.0f)}},
      {{4, 4, 4, 4}, {4, 4, 4, 0, 0}},
  };
  for (const Row& c : cases) {
    SeriesStats got = SERSTA(c.x);
    std::string row = "n=" + std::to_string(c.x.size());
    EXPECT_NEAR(got.mean, c.want.mean, 1e-6) << row;
    EXPECT_NEAR(got.minimum, c.want.minimum, 1e-6) << row;
    EXPECT_NEAR(got.maximum, c.want.maximum, 1e-6) << row;
    EXPECT_NEAR(got.sensitivity, c.want.sensitivity, 1e-6) << row;
    EXPECT_NEAR(got.deviation, c.want.deviation, 1e-6) << row;
  }
}

TEST(MeteoThroughDatol, TwelveValuesPerYearAndThe341YearCapacity) {
  std::string text = "Long record\n";
  for (int y = 1600; y < 2000; ++y) text += yearLine(y);
  ReadOutcome got = readText(text, 'T');
  ASSERT_EQ(got.series.size(), 2u) << got.out.substr(0, 2000);
  EXPECT_EQ(got.series[0].ident, "Long rec");
  EXPECT_EQ(got.series[0].firstYear, 1600);
  EXPECT_EQ(got.series[0].values.size(), 341u * 12);
  EXPECT_EQ(got.series[1].ident, "        ");
  EXPECT_EQ(got.series[1].firstYear, 1941);
  EXPECT_EQ(got.series[1].values.size(), 59u * 12);
  expectMessage(got.out,
                " >> Sbr CLDMR: Only 341 years fit one series: kept 1600 to 1940; the line of "
                "1941 begins the next",
                "400 years");
}

using testing_support::haveSharedData;
using testing_support::needsSharedData;

TEST(MeteoRealFiles, StationFilesGiveOneSeries) {
  if (!haveSharedData()) GTEST_SKIP() << needsSharedData();
  struct Row {
    const char* path;
    const char* ident;
    std::int32_t firstYear;
    std::size_t years;
  };
  const Row cases[] = {
      {"met/BAKENA.PPT", "04050442", 1900, 96},
      {"met/CUYANA.PPT", "04062239", 1900, 96},
      {"met/FRESNA.PPT", "04053257", 1882, 114},
      {"met/NEEDNA.PPT", "04076118", 1897, 99},
  };
  for (const Row& c : cases) {
    ReadOutcome got = readFile(testing_support::sharedData(c.path).string(), 'T');
    ASSERT_EQ(got.series.size(), 1u) << c.path << "\n" << got.out;
    EXPECT_EQ(got.series[0].ident, c.ident) << c.path;
    EXPECT_EQ(got.series[0].firstYear, c.firstYear) << c.path;
    EXPECT_EQ(got.series[0].values.size(), c.years * 12) << c.path;
    // Fields without a decimal point are tenths: 0084 is 8.4.
    EXPECT_EQ(messageCount(got.out), 0) << c.path << "\n" << got.out;
  }
}

}  // namespace
}  // namespace series::testing
