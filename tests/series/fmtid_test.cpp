// Format identification: the guess from the first lines, the listing with
// its ruler, and the confirmation and menu dialogue.
#include "series/fmtid.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "common/tables.h"
#include "fmtio/io.h"
#include "fmtio/unit.h"
#include "tests/support/console_script.h"

namespace series {
namespace {

using testing_support::ConsoleScript;
using testing_support::TempDir;

constexpr int kUnit = 11;

std::string rep(const std::string& s, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += s;
  return out;
}

// Sample lines: a compact header, "(I4,12F5.1)", "(A,I4,10I6)", "(A,I4,10(I4,I3))".
const std::string kCompact = "       3=N    1950=I  ABC" + rep(" ", 43) + "  0( 3F6.0)~\n";
const std::string kMeteo = "1950" + rep(" 12.5", 12) + "\n";
const std::string kMeasure =
    "ABC12345"
    "1950" +
    rep("   123", 10) + "\n";
const std::string kIndex =
    "ABC123"
    "1950" +
    rep("9990  0", 3) + rep("1012 12", 7) + "\n";
const std::string kIndexMiddle =
    "ABC123"
    "1960" +
    rep("1012 12", 10) + "\n";

// Blank in the T columns and in the M columns at once: T is tested first.
const std::string kMeteoAndMeasure = [] {
  std::string line(72, '1');
  for (int col = 5; col <= 65; col += 5) line[col - 1] = ' ';
  for (int col = 13; col <= 72; col += 6) line[col - 1] = ' ';
  return line + "\n";
}();

// Runs body on the console script with the file open on kUnit; returns the
// unit's first record afterwards (trailing blanks removed) to show it was rewound.
std::string runOn(ConsoleScript& script, const std::string& file,
                  const std::function<void()>& body) {
  TempDir dir;
  dir.write("data", file);
  std::string line(80, ' ');
  script.run([&] {
    common::PROGID("EDIT TIME SERIES");
    fmtio::OpenSpec connection;
    connection.file = dir.file("data");
    fmtio::OPEN(fmtio::Control::catching(kUnit), connection);
    body();
    // No line is read at the end of the file.
    if (fmtio::READ(fmtio::Control::catching(kUnit), FMT("(A)"), line) != fmtio::kCompleted)
      line.clear();
  });
  return line.substr(0, line.find_last_not_of(' ') + 1);
}

std::string firstLineOf(const std::string& file) {
  std::string line = file.substr(0, file.find('\n'));
  return line.substr(0, line.find_last_not_of(' ') + 1);
}

TEST(FormatDetection, GuessesTheLetterFromTheFirstLines) {
  struct Case {
    const char* name;
    std::string file;
    char want;
  } cases[] = {
      {"compact header on line 3", "Title\n\n" + kCompact, 'C'},
      {"compact header ending in @", "x\n" + kCompact.substr(0, 79) + "@\n", 'C'},
      {"compact header on line 9", rep("Title\n", 8) + kCompact, ' '},
      {"meteorological", "Station\n" + kMeteo, 'T'},
      {"meteorological value of 100", "1950100.0" + kMeteo.substr(9), ' '},
      {"meteorological with column 65 used", kMeteo.substr(0, 64) + "7\n", ' '},
      {"measurements", kMeasure, 'M'},
      {"T and M columns both blank", kMeteoAndMeasure, 'T'},
      {"minus in column 13, then a good line",
       "ABC123451950-12345" + kMeasure.substr(18) + kMeasure, 'M'},
      {"minus in column 13 only", "ABC123451950-12345" + kMeasure.substr(18), ' '},
      {"measurements with column 73 used", kMeasure.substr(0, 72) + "5\n", ' '},
      {"letter in a measurement line", kMeasure.substr(0, 19) + "a" + kMeasure.substr(20), ' '},
      {"indices with filler", kIndexMiddle + kIndex, 'I'},
      {"index line without 9990", kIndexMiddle, ' '},
      {"accurite", "TREE0001.ACC\n   1 1950   0 123 145\n", 'A'},
      {"point in column 10", "TREE00001.ACC\n", ' '},
      {"measurements after 50 lines", rep("Title\n", 50) + kMeasure, ' '},
      {"FIRE2 marker after 50 lines", rep("Title\n", 50) + "FIRE2 FORMAT\n", ' '},
      {"empty file", "", ' '},
  };
  for (const Case& c : cases) {
    ConsoleScript script;
    char letter = '?';
    std::string first = runOn(script, c.file, [&] { letter = FMTDET(kUnit); });
    EXPECT_EQ(letter, c.want) << c.name;
    EXPECT_EQ(first, firstLineOf(c.file)) << c.name << ": unit not rewound";
    EXPECT_EQ(script.out() + script.err(), "") << c.name;
  }
}

TEST(FormatDetection, Fire2FileEndsTheRun) {
  ConsoleScript script;
  bool returned = false;
  runOn(script, "Header\nFIRE2 FORMAT version 3\n", [&] {
    FMTDET(kUnit);
    returned = true;
  });
  EXPECT_FALSE(returned);
  EXPECT_EQ(script.err(), "File is FIRE2 FORMAT\n");
}

const std::string kRuler =
    " ....:....1....:....2....:....3....:....4....:....5....:....6....:....7....:....8\n";

TEST(ShowFirstLines, ListsTheLinesWithControlsBlankedAndARuler) {
  struct Case {
    std::string file;
    std::int32_t lines;
    char platform;
    std::string want;  // LF line ends
  } cases[] = {
      {"a\x1f"
       "b\x7f"
       "c\xe9"
       "d~\x01\n",
       1, 'V', "+First  1 lines\n a_b_c_d~_" + rep(" ", 71) + "\n"},
      {"one\ntwo\nthree\n", 2, 'V',
       "+First  2 lines\n one" + rep(" ", 77) + "\n two" + rep(" ", 77) + "\n"},
      {rep("9", 80) + "\n", 6, 'V', "+First  6 lines\n " + rep("9", 80) + "\n"},
      {rep("9", 80) + "\n", 6, 'U', "+First  6 lines\n " + rep("9", 79) + "\n"},
  };
  for (const Case& c : cases) {
    ConsoleScript script;
    std::string first = runOn(script, c.file, [&] {
      common::tables().banner[common::kPlatformColumn - 1] = c.platform;
      SHOWFL(kUnit, c.lines);
    });
    EXPECT_EQ(script.outLines(), c.want + kRuler) << c.file;
    EXPECT_EQ(first, firstLineOf(c.file)) << c.file << ": unit not rewound";
  }
}

const std::string kMenu =
    " FORMAT\n C: Compact\n M: Measurements\n I: Indices or chronology\n"
    " A: Accurite measurements\n T: Meteorological\n S: Spreadsheet (casewise)\n"
    " 1: Single column of values\n 2: Two columns: year, value\n"
    " V: Two columns: value, year\n X: User\n -: Not data\n     FORMAT of file => ";

int countOf(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += what.size()) ++n;
  return n;
}

TEST(FormatIdentification, ConfirmsTheGuessOrAsksFromTheMenu) {
  struct Case {
    std::string file;
    const char* typed;
    char want;
    int questions, menus;
  } cases[] = {
      {kCompact, "", 'C', 0, 0},       {kMeasure, "\n", 'M', 1, 0},  {kMeasure, "x\n", 'M', 1, 0},
      {kMeasure, "n\ni\n", 'I', 1, 1}, {kMeteo, "N\n\n", '-', 1, 1}, {"", "s\n", 'S', 0, 1},
      {"", "q\n?\n1\n", '1', 0, 3},    {"", "x\n", 'X', 0, 1},
  };
  for (const Case& c : cases) {
    ConsoleScript script(c.typed);
    std::string first = runOn(script, c.file, [&] {
      common::setUnitFormat(kUnit, 'T');
      FMTID(kUnit);
    });
    std::string out = script.outLines();
    EXPECT_EQ(common::unitFormat(kUnit), c.want) << c.typed;
    EXPECT_EQ(first, firstLineOf(c.file)) << c.typed << ": unit not rewound";
    EXPECT_EQ(script.remainingInput(), "") << c.typed;
    EXPECT_EQ(countOf(out, "  Is this correct?  <Y>/N => "), c.questions) << c.typed;
    EXPECT_EQ(countOf(out, kMenu), c.menus) << c.typed;
  }
}

TEST(FormatIdentification, UnknownAnswerShowsTheLinesAndMenuAgain) {
  ConsoleScript script("n\nz\nm\n");
  runOn(script, kMeasure, [] { FMTID(kUnit); });
  std::string listing = "+First  6 lines\n " + kMeasure.substr(0, 72) + rep(" ", 8) + "\n" + kRuler;
  EXPECT_EQ(script.outLines(), listing + " Format is M  Is this correct?  <Y>/N => " + kMenu +
                                   " \a\x1b[1A\n >> Unknown format\n\n" + listing + kMenu);
}

}  // namespace
}  // namespace series
