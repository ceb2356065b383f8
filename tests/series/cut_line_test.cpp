// Data lines that run past the columns a reader takes: numbers there are
// reported, notes beside the data are not.
#include <gtest/gtest.h>

#include <string>

#include "tests/series/series_files.h"
#include "tests/support/console_script.h"

namespace series::testing {
namespace {

struct CutCase {
  const char* name;
  char letter;
  std::string text;
  bool reported;
};

TEST(CutDataLines, ReportNumbersBeyondTheColumnsRead) {
  const std::string decade =
      "ABC01   1950   100   200   300   400   500   600   700   800   900   100";
  const CutCase cases[] = {
      {"decadal line with a value beyond column 80", 'M',
       decade + std::string(10, ' ') + "12345\nABC01   1960   999\n", true},
      {"decadal line with a note beyond column 80", 'M',
       decade + std::string(10, ' ') + "RAW\nABC01   1960   999\n", false},
      {"decadal line of 80 columns", 'M', decade + "\nABC01   1960   999\n", false},
      {"decadal line with a value far beyond column 80, off the eight-column steps", 'M',
       decade + std::string(151, ' ') + "7\nABC01   1960   999\n", true},
      {"decadal line with a digit in its 256th column", 'M',
       decade + std::string(183, ' ') + "5\nABC01   1960   999\n", true},
      {"decadal line with a digit only past its 256th column", 'M',
       decade + std::string(184, ' ') + "5\nABC01   1960   999\n", false},
      {"decadal line with a digit inside a note beyond column 80", 'M',
       decade + std::string(13, ' ') + "R2A\nABC01   1960   999\n", true},
      {"decadal line with blanks alone beyond column 80", 'M',
       decade + std::string(100, ' ') + "\nABC01   1960   999\n", false},
      {"compact data line with a value beyond column 80", 'C',
       "       3=N    1950=I ABC01                                            0(26F3.0)~\n" +
           std::string(78, ' ') + "  12  34  56\n",
       true},
  };
  for (const CutCase& c : cases) {
    testing_support::TempDir dir;
    dir.write("f.txt", c.text);
    ReadOutcome got = readFile(dir.file("f.txt"), c.letter);
    bool reported =
        got.out.find(" >> Data line longer than 80 characters; not read:") != std::string::npos;
    EXPECT_EQ(reported, c.reported) << c.name << "\n" << got.out;
  }
}

}  // namespace
}  // namespace series::testing
