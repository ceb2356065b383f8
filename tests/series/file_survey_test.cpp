// The survey of a data file, read a piece at a time: lines that cross the
// boundary between two pieces, a CR LF split by it, a byte order mark, and
// the tabbed lines found wherever they stand.
#include "series/file_survey.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fmtio/io.h"
#include "fmtio/records.h"
#include "fmtio/unit.h"
#include "series/datol.h"
#include "tests/support/console_script.h"

namespace series {
namespace {

constexpr std::int32_t kUnit = 11;
// The size of the pieces the survey reads the file in.
constexpr std::size_t kPiece = 65536;

// The non-empty lines of a text split at every CR and LF, a leading byte
// order mark passed over: what the survey must find.
std::vector<std::string> splitLines(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c != '\r' && c != '\n') {
      line += c;
      continue;
    }
    if (!line.empty()) lines.push_back(line);
    line.clear();
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// Filler lines of 40 characters and a shorter one ending in CR, then tail,
// which begins `before` bytes ahead of the first piece boundary.
std::string withTailAtBoundary(std::size_t before, std::string_view tail) {
  const std::size_t target = kPiece - before;
  const std::string filler = std::string(38, 'x') + "\r\n";
  std::string text;
  while (text.size() + filler.size() + 1 <= target) text += filler;
  text += std::string(target - text.size() - 1, 'y') + "\r";
  return text + std::string(tail);
}

struct Surveyed {
  bool known = false;
  std::vector<std::string> lines;
  bool tabFound = false;
};

// Surveys the text as the file of the input unit; asks heldTab about line.
Surveyed surveyText(const std::string& text, const std::string& tabbedLine) {
  testing_support::TempDir dir;
  dir.write("in.txt", text);
  Surveyed got;
  testing_support::ConsoleScript script;
  script.run([&] {
    resetReaders();
    fmtio::OpenSpec file;
    file.file = dir.file("in.txt");
    file.status = "OLD";
    fmtio::OPEN(fmtio::Control::of(kUnit), file);
    const FileSurvey& s = surveyOf(kUnit);
    got.known = s.known;
    got.lines = surveyLines(s);
    if (!tabbedLine.empty()) {
      std::string expanded;
      fmtio::appendInputText(expanded, tabbedLine.data(), tabbedLine.size(),
                             fmtio::currentLineEnds());
      got.tabFound = heldTab(kUnit, expanded);
    }
    fmtio::CLOSE(fmtio::Control::of(kUnit));
  });
  return got;
}

struct BoundaryCase {
  const char* what;
  std::size_t before;  // bytes of the filler's last line before the boundary
  const char* tail;
};

constexpr BoundaryCase kCases[] = {
    {"a tabbed line crossing the boundary", 5, "ABC\tDEF 1950   123\r\nlast line\r\n"},
    {"its CR LF split by the boundary", 2, "X\r\nA\tB after the split\r\n"},
    {"a tabbed line starting on the boundary", 0, "Q\t1950 12\nend"},
    {"a last line without a line end", 3, "ab\tcd"},
    {"the tab just after the boundary", 40, "0123456789012345678901234567890123456789\tX\n"},
};

TEST(FileSurvey, LinesAcrossPieceBoundariesAreWhole) {
  for (const BoundaryCase& c : kCases) {
    const std::string text = withTailAtBoundary(c.before, c.tail);
    const std::vector<std::string> want = splitLines(text);
    std::string tabbed;
    for (const std::string& line : want)
      if (line.find('\t') != std::string::npos) tabbed = line;
    ASSERT_FALSE(tabbed.empty()) << c.what;
    Surveyed got = surveyText(text, tabbed);
    ASSERT_TRUE(got.known) << c.what;
    EXPECT_EQ(got.lines.size(), want.size()) << c.what;
    if (got.lines.size() == want.size()) {
      for (std::size_t i = 0; i < want.size(); ++i) {
        if (want[i].find('\t') == std::string::npos) {
          EXPECT_EQ(got.lines[i], want[i]) << c.what;
        }
      }
    }
    EXPECT_TRUE(got.tabFound) << c.what;
  }
}

TEST(FileSurvey, ByteOrderMarkIsPassedOverAndNoTabIsFoundWhereThereIsNone) {
  const std::string text =
      "\xEF\xBB\xBF"
      "first line\r\n\r\nsecond\rthird\n";
  Surveyed got = surveyText(text, "first line");
  ASSERT_TRUE(got.known);
  EXPECT_EQ(got.lines, (std::vector<std::string>{"first line", "second", "third"}));
  EXPECT_FALSE(got.tabFound);
}

}  // namespace
}  // namespace series
