// Spreadsheet files read through DATOL: the column count, the data pass with
// its heading lines, the date flag and the first-year question, the series
// per column, the capacities, and the redirection of the input unit.
#include "series/spreadsheet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/tables.h"
#include "fmtio/unit.h"
#include "tests/series/series_files.h"
#include "tests/support/shared_data.h"

namespace series::testing {
namespace {

ReadOptions answered(const std::string& answers) {
  ReadOptions options;
  options.answers = answers;
  return options;
}

ReadOutcome readSheet(const std::string& text, const std::string& answers) {
  return readText(text, 'S', answered(answers));
}

// The same columns and rows, separated as given.
std::string yearsABC(const std::string& lastYear, char separator = ' ') {
  std::string s(1, separator);
  return "YEAR A B C\n1950" + s + "1.0" + s + "2.0" + s + "3.0\n1951" + s + "1.1" + s + "2.1" + s +
         "3.1\n" + lastYear + s + "1.2" + s + "2.2" + s + "3.2\n";
}

struct SheetCase {
  const char* name;
  std::string text;
  std::string answers;
  std::vector<ReadSeries> want;
  std::string summary;   // the summary line
  std::string question;  // the first-year question as shown, "" when none is asked
};

TEST(SpreadsheetReading, ColumnsBecomeSeries) {
  // clang-format off
  const SheetCase cases[] = {
      {"a year column: kept as the first year, not as a series", yearsABC("1952"), "\n",
       {{"   1_Col", 1950, {1.0f, 1.1f, 1.2f}, {}}, {"   2_Col", 1950, {2.0f, 2.1f, 2.2f}, {}},
        {"   3_Col", 1950, {3.0f, 3.1f, 3.2f}, {}}},
       "     3 Rows   4 Columns      12 Data   1 Header lines    4 Data lines",
       " First year of data  <   1950> => "},
      {"years that do not follow: every column is a series", yearsABC("1953"), "1900\n",
       {{"   1_Col", 1900, {1950, 1951, 1953}, {}}, {"   2_Col", 1900, {1.0f, 1.1f, 1.2f}, {}},
        {"   3_Col", 1900, {2.0f, 2.1f, 2.2f}, {}}, {"   4_Col", 1900, {3.0f, 3.1f, 3.2f}, {}}},
       "     3 Rows   4 Columns      12 Data   1 Header lines    4 Data lines",
       " First year of data => "},
      {"the answer to the dated question becomes the first year", yearsABC("1952"), "1800\n",
       {{"   1_Col", 1800, {1.0f, 1.1f, 1.2f}, {}}, {"   2_Col", 1800, {2.0f, 2.1f, 2.2f}, {}},
        {"   3_Col", 1800, {3.0f, 3.1f, 3.2f}, {}}},
       "", " First year of data  <   1950> => "},
      {"commas separate like blanks", yearsABC("1952", ','), "\n",
       {{"   1_Col", 1950, {1.0f, 1.1f, 1.2f}, {}}, {"   2_Col", 1950, {2.0f, 2.1f, 2.2f}, {}},
        {"   3_Col", 1950, {3.0f, 3.1f, 3.2f}, {}}},
       "     3 Rows   4 Columns      12 Data   1 Header lines    4 Data lines", ""},
      {"a short row ends the data", "1950 1 2 3\n1951 4 5 6\n1952 7 8\n1953 1 1 1\n", "\n",
       {{"   1_Col", 1950, {1, 4}, {}}, {"   2_Col", 1950, {2, 5}, {}},
        {"   3_Col", 1950, {3, 6}, {}}},
       "     2 Rows   4 Columns       8 Data   0 Header lines    4 Data lines", ""},
      {"an empty line after the first row ends the data", "1 2\n3 4\n\n5 6\n", "0\n",
       {{"   1_Col", 0, {1, 3}, {}}, {"   2_Col", 0, {2, 4}, {}}},
       "     2 Rows   2 Columns       4 Data   0 Header lines    4 Data lines",
       " First year of data => "},
      {"lines before the first row are passed over, text lines copied as they come",
       "Site X\n\n2005\nYEAR W\n1950 1\nnote 7\n1951 2\n", "\n",
       {{"   1_Col", 1950, {1, 2}, {}}},
       "     2 Rows   2 Columns       4 Data   5 Header lines    7 Data lines", ""},
      {"a word before numbers makes a heading line", "x 1 2\n10 20\n30 40\n", "7\n",
       {{"   1_Col", 7, {10, 30}, {}}, {"   2_Col", 7, {20, 40}, {}}},
       "     2 Rows   2 Columns       4 Data   1 Header lines    3 Data lines", ""},
      {"text after as many numbers as there are columns is not read", "1 2 x\n10 20\n30 40\n",
       "7\n", {{"   1_Col", 7, {1, 10, 30}, {}}, {"   2_Col", 7, {2, 20, 40}, {}}},
       "     3 Rows   2 Columns       6 Data   0 Header lines    3 Data lines", ""},
      {"a slash ends the values of a line as its end does", "1950 1 2 / 9\n1951 3 4\n1952 5 /\n",
       "\n", {{"   1_Col", 1950, {1, 3}, {}}, {"   2_Col", 1950, {2, 4}, {}}},
       "     2 Rows   3 Columns       6 Data   0 Header lines    3 Data lines", ""},
      {"a slash in quotes is text", "'a/b' 1 2\n1 2 3\n4 5 6\n", "0\n",
       {{"   1_Col", 0, {1, 4}, {}}, {"   2_Col", 0, {2, 5}, {}}, {"   3_Col", 0, {3, 6}, {}}},
       "     2 Rows   3 Columns       6 Data   1 Header lines    3 Data lines", ""},
      {"a single row with a year is one value per column", "2001 5 6\n", "\n",
       {{"   1_Col", 2001, {5}, {}}, {"   2_Col", 2001, {6}, {}}}, "", ""},
      {"a first value too large for a year is no year", "5e9 5\n2e9 6\n", "1\n",
       {{"   1_Col", 1, {5e9f, 2e9f}, {}}, {"   2_Col", 1, {5, 6}, {}}}, "",
       " First year of data => "},
  };
  // clang-format on
  for (const SheetCase& c : cases) {
    ReadOutcome got = readSheet(c.text, c.answers);
    expectSeries(got, c.want, c.name, 1e-5);
    EXPECT_NE(got.out.find(c.summary), std::string::npos) << c.name << "\n" << got.out;
    EXPECT_NE(got.out.find(c.question), std::string::npos) << c.name << "\n" << got.out;
    EXPECT_EQ(got.unreadAnswers, "") << c.name;
    EXPECT_EQ(messageCount(got.out), 0) << c.name << "\n" << got.out;
    EXPECT_EQ(got.finalCount, -1) << c.name;
  }
}

// An empty cell between two commas reads as 0, as the file's columns stand;
// the reading says how many there were and where the first one is.
TEST(SpreadsheetReading, EmptyCellsAreReadAsZeroAndTold) {
  ReadOutcome got = readSheet("YEAR,A,B\n1950,1.0,2.0\n1951,,2.1\n1952,1.2,,\n", "\n");
  expectSeries(
      got, {{"   1_Col", 1950, {1.0f, 0.0f, 1.2f}, {}}, {"   2_Col", 1950, {2.0f, 2.1f, 0.0f}, {}}},
      "empty cells", 1e-6);
  expectMessage(got.out,
                " >> Sbr SPRDIN:     2 empty values (nothing between two commas) are read as 0;"
                " the first on line     3",
                "empty cells");
}

TEST(SpreadsheetReading, HeadingLinesComeBeforeTheSeries) {
  ReadOutcome got = readSheet("YEAR A B\n1950 1 2\nmid note\n1951 3 4\n", "\n");
  ASSERT_EQ(got.series.size(), 2u) << got.out;
  // The compact reader meets both heading lines before the first series.
  std::size_t first = got.out.find(" Title:\n YEAR A B");
  std::size_t second = got.out.find(" Title:\n mid note");
  std::size_t summary = got.out.find(" Rows");
  ASSERT_NE(first, std::string::npos) << got.out;
  ASSERT_NE(second, std::string::npos) << got.out;
  EXPECT_LT(summary, first) << got.out;
  EXPECT_LT(first, second) << got.out;
  EXPECT_NE(got.out.find("+First  8 lines"), std::string::npos) << got.out;
}

TEST(SpreadsheetReading, FilesWithoutTwoNumbersOnALineGiveNoSeries) {
  const std::string texts[] = {"", "\n\n", "TITLE\n5\n6\n", "one\ntwo\n"};
  for (const std::string& text : texts) {
    ReadOutcome got = readSheet(text, "");
    EXPECT_TRUE(got.series.empty()) << text;
    EXPECT_EQ(got.finalCount, -1) << text;
    EXPECT_EQ(got.exitCode, 0) << text;
    expectMessage(got.out, " >> Sbr SPRDIN: No line holds two or more numbers: no series", text);
    EXPECT_EQ(got.out.find("First year"), std::string::npos) << got.out;
  }
}

// n rows of a year and the given number of values after it.
std::string rows(int n, int values) {
  std::string text;
  for (int i = 0; i < n; ++i) {
    text += std::to_string(1000 + i);
    for (int j = 0; j < values; ++j) text += " " + std::to_string(j + 1);
    text += '\n';
  }
  return text;
}

TEST(SpreadsheetCapacities, RowsBeyondATableStopTheData) {
  struct Row {
    const char* name;
    std::string text;
    std::size_t series;
    std::size_t values;
    std::string message;
  };
  const Row cases[] = {
      {"a column holds 4096 values", rows(4097, 1), 1, 4096,
       " >> Sbr SPRDIN: Only  4096 rows of    2 values fit: the data end before line  4097"},
      {"4096 rows fit without a message", rows(4096, 1), 1, 4096, ""},
      {"the table holds 49152 values", rows(2500, 19), 19, 2457,
       " >> Sbr SPRDIN: Only  2457 rows of   20 values fit: the data end before line  2458"},
  };
  for (const Row& c : cases) {
    ReadOutcome got = readSheet(c.text, "\n");
    ASSERT_EQ(got.series.size(), c.series) << c.name << "\n" << got.out.substr(0, 2000);
    for (const ReadSeries& s : got.series) {
      EXPECT_EQ(s.values.size(), c.values) << c.name;
      EXPECT_EQ(s.firstYear, 1000) << c.name;
    }
    expectMessage(got.out, c.message, c.name);
  }
}

TEST(SpreadsheetCapacities, LongLinesAreCutAt2048Characters) {
  // 600 values of four characters: the first 2048 columns hold 512 of them.
  std::string wide = "1950";
  for (int i = 1; i < 600; ++i) wide += " 1.5";
  std::string text = std::string(3000, 'x') + "\n" + wide + "\n" + "1951" + wide.substr(4) + "\n";
  ReadOutcome got = readSheet(text, "\n");
  expectMessage(got.out,
                " >> Sbr LINCNT:     3 lines longer than 2048 characters: only the first 2048 of "
                "each are read",
                "long lines");
  EXPECT_NE(got.out.find("     2 Rows 512 Columns    1024 Data   1 Header lines    3 Data lines"),
            std::string::npos)
      << got.out.substr(0, 3000);
  ASSERT_EQ(got.series.size(), 511u);
  EXPECT_EQ(got.series[510].ident, " 511_Col");
  EXPECT_EQ(got.series[510].values, (std::vector<float>{1.5f, 1.5f}));
}

TEST(SpreadsheetConversion, RedirectsTheInputUnitToTheScratchUnit) {
  testing_support::TempDir dir;
  dir.write("in.txt", yearsABC("1952"));
  testing_support::ConsoleScript script("\n");
  std::int32_t entry = 0;
  char inputLetter = ' ', scratchLetter = ' ';
  std::vector<std::string> idents;
  script.run([&] {
    common::PROGID("EDIT TIME SERIES");
    resetReaders();
    fmtio::OpenSpec file;
    file.file = dir.file("in.txt");
    file.status = "OLD";
    fmtio::OPEN(fmtio::Control::catching(kInputUnit), file);
    common::setUnitFormat(kInputUnit, 'S');
    Series s;
    for (DATOL(s, kInputUnit); s.count > 0; DATOL(s, kInputUnit)) idents.push_back(s.ident);
    entry = common::UNITNO(1);
    inputLetter = common::unitFormat(kInputUnit);
    scratchLetter = common::unitFormat(common::UNITNO(59));
  });
  EXPECT_EQ(idents, (std::vector<std::string>{"   1_Col", "   2_Col", "   3_Col"}));
  EXPECT_EQ(entry, 69);
  EXPECT_EQ(inputLetter, 'C');
  EXPECT_EQ(scratchLetter, 'C');
}

TEST(LineCount, CountsRecordsAndTheLongestLineAndRewinds) {
  struct Row {
    std::string text;
    std::int32_t lines;
    std::int32_t longest;
    std::string first;  // the first 8 columns read after the count
  };
  const Row cases[] = {
      {"", 0, 0, "        "},
      {"abc", 1, 3, "abc     "},
      {"   \n", 1, 1, "        "},
      {"abc\nabcdef   \n\n", 3, 6, "abc     "},
      {std::string(2048, 'a') + "\n", 1, 2048, "aaaaaaaa"},
      {std::string(2049, 'a') + "\nb\n", 2, 2048, "aaaaaaaa"},
  };
  for (const Row& c : cases) {
    testing_support::TempDir dir;
    dir.write("in.txt", c.text);
    testing_support::ConsoleScript script;
    std::int32_t lines = -1, longest = -1;
    std::string first(8, ' ');
    int outcome = -1;
    script.run([&] {
      fmtio::OpenSpec file;
      file.file = dir.file("in.txt");
      file.status = "OLD";
      fmtio::OPEN(fmtio::Control::catching(kInputUnit), file);
      LINCNT(lines, longest, kInputUnit);
      outcome = fmtio::READ(fmtio::Control::catching(kInputUnit), FMT("(A)"), first);
    });
    EXPECT_EQ(outcome, c.text.empty() ? fmtio::kOutcomeEnd : fmtio::kCompleted) << "rewound";
    EXPECT_EQ(lines, c.lines) << c.text.substr(0, 20);
    EXPECT_EQ(longest, c.longest) << c.text.substr(0, 20);
    EXPECT_EQ(first, c.first) << c.text.substr(0, 20);
  }
}

using testing_support::haveSharedData;
using testing_support::needsSharedData;

TEST(SpreadsheetRealFiles, CasewiseFilesGiveOneSeriesPerColumn) {
  if (!haveSharedData()) GTEST_SKIP() << needsSharedData();
  struct Row {
    const char* path;
    std::size_t series;
    std::size_t values;  // per series
    std::int32_t firstYear;
  };
  const Row cases[] = {
      {"other/CH2.DAT", 16, 312, 1680},          // tabs between the values
      {"other/wa082.csv", 23, 43, 1889},         // rows holding NA are heading lines
      {"other/csvmatrix-test.csv", 1, 14, 500},  // "500,0.33," has two columns
  };
  for (const Row& c : cases) {
    ReadOutcome got = readFile(testing_support::sharedData(c.path).string(), 'S', answered("\n"));
    ASSERT_EQ(got.series.size(), c.series) << c.path << "\n" << got.out.substr(0, 3000);
    for (const ReadSeries& s : got.series) {
      EXPECT_EQ(s.values.size(), c.values) << c.path << " " << s.ident;
      EXPECT_EQ(s.firstYear, c.firstYear) << c.path << " " << s.ident;
    }
  }
}

}  // namespace
}  // namespace series::testing
