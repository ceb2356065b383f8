// DATOL: the dispatch on the unit's format letter (over the example files of
// every format), the identification of a unit without a letter, and the
// title echo with the Title flag and IULIST.
#include "series/datol.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/tables.h"
#include "tests/series/series_files.h"

namespace series::testing {
namespace {

std::string example(const std::string& name) {
  return std::string(RINGEDIT_SOURCE_DIR) + "/examples/" + name;
}

struct ExampleCase {
  const char* file;
  char letter;
  std::vector<std::string> idents;
  std::vector<std::int32_t> firstYears;
  std::vector<std::size_t> counts;
};

TEST(SeriesDispatch, EveryLetterReadsItsExampleFile) {
  // clang-format off
  const ExampleCase cases[] = {
      {"compact.rwm", 'C', {"EXA01   ", "EXA02   "}, {1950, -25}, {30, 31}},
      {"measurements_01.rwl", 'M', {"EXA01   ", "EXB02   "}, {1923, -1012}, {35, 28}},
      {"measurements_001.rwl", 'M', {"EXC01   ", "EXD02   "}, {1981, -15}, {23, 28}},
      {"indices.crn", 'I', {"EXAIDX  ", "EXBIDX  "}, {1923, -37}, {39, 35}},
      {"accurite.txt", 'A', {"EXACC01 ", "EXACC02 "}, {1950, -44}, {20, 12}},
      {"single_column.txt", '1', {"EXS01 Ex", "EXS02 Se"}, {1, 1}, {7, 5}},
      {"year_value.txt", '2', {"EXY01 Ex", "EXY02 Se"}, {1950, -20}, {6, 6}},
      {"value_year.txt", 'V', {"EXV01   ", "EXV02   "}, {1950, -20}, {5, 6}},
  };
  // clang-format on
  for (const ExampleCase& c : cases) {
    ReadOutcome got = readFile(example(c.file), c.letter);
    ASSERT_EQ(got.series.size(), c.idents.size()) << c.file << "\n" << got.out;
    for (std::size_t i = 0; i < c.idents.size(); ++i) {
      EXPECT_EQ(got.series[i].ident, c.idents[i]) << c.file << " " << i;
      EXPECT_EQ(got.series[i].firstYear, c.firstYears[i]) << c.file << " " << i;
      EXPECT_EQ(got.series[i].values.size(), c.counts[i]) << c.file << " " << i;
    }
    EXPECT_EQ(messageCount(got.out), 0) << c.file << "\n" << got.out;
  }
}

struct ConvertedCase {
  const char* file;
  char letter;
  std::string answers;
  std::vector<std::string> idents;
  std::vector<std::int32_t> firstYears;
  std::vector<std::size_t> counts;
  std::vector<std::string> messages;
};

TEST(SeriesDispatch, ConvertedAndUserFormatsReadTheirExampleFiles) {
  // clang-format off
  const ConvertedCase cases[] = {
      {"spreadsheet.txt", 'S', "\n", {"   1_Col", "   2_Col", "   3_Col"}, {1961, 1961, 1961},
       {12, 12, 12}, {}},
      {"meteo_4col.txt", 'T', "", {"Example "}, {1951}, {84},
       {" >> Sbr CLDMR: Years skipped, taken as missing: 1955 to 1955"}},
      {"meteo_5col.txt", 'T', "", {"Example "}, {1895}, {84},
       {" >> Sbr CLDMR: Years skipped, taken as missing: 1898 to 1899"}},
      {"user_format.txt", 'X', "(8X,10F6.2)\n25\n(8X,10F6.2)\n18\n\n", {"        ", "        "},
       {0, 0}, {25, 18}, {}},
  };
  // clang-format on
  for (const ConvertedCase& c : cases) {
    ReadOptions options;
    options.answers = c.answers;
    ReadOutcome got = readFile(example(c.file), c.letter, options);
    ASSERT_EQ(got.series.size(), c.idents.size()) << c.file << "\n" << got.out;
    for (std::size_t i = 0; i < c.idents.size(); ++i) {
      EXPECT_EQ(got.series[i].ident, c.idents[i]) << c.file << " " << i;
      EXPECT_EQ(got.series[i].firstYear, c.firstYears[i]) << c.file << " " << i;
      EXPECT_EQ(got.series[i].values.size(), c.counts[i]) << c.file << " " << i;
    }
    EXPECT_EQ(messageCount(got.out), static_cast<int>(c.messages.size())) << c.file << "\n"
                                                                          << got.out;
    for (const std::string& m : c.messages)
      EXPECT_NE(got.out.find(m), std::string::npos) << c.file << "\n" << got.out;
    EXPECT_EQ(got.unreadAnswers, "") << c.file;
  }
}

// Reads one series of the compact example with the letter given to the
// unit; after receives the letter the unit holds afterwards.
ReadOutcome readWithLetter(char letter, char* after) {
  ReadOutcome result;
  testing_support::ConsoleScript script;
  result.exitCode = script.run([&] {
    common::PROGID("EDIT TIME SERIES");
    resetReaders();
    fmtio::OpenSpec file;
    file.file = example("compact.rwm");
    file.status = "OLD";
    fmtio::OPEN(fmtio::Control::catching(kInputUnit), file);
    common::setUnitFormat(kInputUnit, letter);
    Series s;
    DATOL(s, kInputUnit);
    if (s.count > 0) result.series.push_back(copyOf(s));
    result.finalCount = s.count;
    *after = common::unitFormat(kInputUnit);
  });
  result.out = script.outLines();
  return result;
}

TEST(SeriesDispatch, UnitWithoutLetterIsIdentifiedFirst) {
  struct Row {
    char letter;
    std::size_t series;
    bool bell;
  };
  // Blank and "-" identify the file (compact: no question) and read it; an
  // unknown letter rings the bell, identifies the unit again and reads nothing.
  const Row rows[] = {{' ', 1, false}, {'-', 1, false}, {'Q', 0, true}};
  for (const Row& r : rows) {
    char after = '?';
    ReadOutcome got = readWithLetter(r.letter, &after);
    EXPECT_EQ(got.series.size(), r.series) << "'" << r.letter << "'\n" << got.out;
    EXPECT_EQ(after, 'C') << "'" << r.letter << "'";
    EXPECT_NE(got.out.find("+First  6 lines"), std::string::npos) << got.out;
    EXPECT_EQ(got.out.find('\a') != std::string::npos, r.bell) << "'" << r.letter << "'";
  }
}

// Three compact series, each after a title line.
std::string titledSeries() {
  std::string text;
  for (int i = 1; i <= 3; ++i)
    text += "Title number " + std::to_string(i) + "\n" + "       1=N    1950=I S" +
            std::to_string(i) + std::string(45, ' ') + "  0(80F1.0)~\n" + std::to_string(i) + "\n";
  return text;
}

int countOf(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size()) ++n;
  return n;
}

TEST(TitleLines, EchoedUntilAListingHasThem) {
  testing_support::TempDir dir;
  dir.write("in.txt", titledSeries());
  // No listing unit: every title is echoed.
  ReadOutcome got = readFile(dir.file("in.txt"), 'C');
  ASSERT_EQ(got.series.size(), 3u);
  EXPECT_EQ(countOf(got.out, " Title:\n Title number "), 3) << got.out;

  // A listing unit takes the titles of the first series and sets the flag;
  // later titles are neither echoed nor listed.
  ReadOptions listed;
  listed.setUp = [&] {
    fmtio::OpenSpec file;
    file.file = dir.file("list.txt");
    file.status = "NEW";
    fmtio::OPEN(fmtio::Control::catching(20), file);
    common::tables().iulist = 20;
  };
  got = readFile(dir.file("in.txt"), 'C', listed);
  ASSERT_EQ(got.series.size(), 3u);
  EXPECT_EQ(countOf(got.out, " Title:\n Title number "), 1) << got.out;
  std::string listing = dir.read("list.txt");
  EXPECT_EQ(countOf(listing, " Title of data: Title number 1"), 1) << listing;
  EXPECT_EQ(countOf(listing, "Title number 2"), 0) << listing;
}

TEST(TitleLines, ResetReadersForgetsTheSavedIdentification) {
  testing_support::TempDir dir;
  dir.write("in.txt", "FIRST\n1\nSECOND\n2\n");
  ReadOutcome got = readFile(dir.file("in.txt"), '1');
  ASSERT_EQ(got.series.size(), 2u);
  EXPECT_EQ(got.series[1].ident, "SECOND  ");
  // A new file starts without the "SECOND" line saved from the last one.
  dir.write("next.txt", "3\n");
  got = readFile(dir.file("next.txt"), '1');
  ASSERT_EQ(got.series.size(), 1u);
  EXPECT_EQ(got.series[0].ident, "        ");
}

}  // namespace
}  // namespace series::testing
