// Selecting any stretch of a console window's text, and what may be done
// with it.
#include <gtest/gtest.h>

#include <string>

#include "console/console_text.h"

namespace console {
namespace {

ConsoleText threeLines() {
  ConsoleText text;
  text.resize(80, 20);
  text.write("alpha beta\rgamma\rde\xc3\xa9ta");
  return text;
}

struct StretchCase {
  const char* what;
  int fromLine, fromColumn, toLine, toColumn;
  std::string want;
  bool oneLine;
};

TEST(ConsoleSelection, AStretchRunsFromOneCellToAnotherOverLines) {
  const StretchCase cases[] = {
      {"part of a line", 0, 6, 0, 10, "beta", true},
      {"over three lines", 0, 6, 2, 2, "beta\ngamma\nde", false},
      {"ends given in reverse", 2, 2, 0, 6, "beta\ngamma\nde", false},
      {"columns past the ends are the ends", 0, 50, 1, 99, "\ngamma", false},
      {"lines past the text are its last", 1, 0, 9, 9, "gamma\nde\xc3\xa9ta", false},
      {"a UTF-8 character is one cell", 2, 2, 2, 3, "\xc3\xa9", true},
  };
  for (const StretchCase& c : cases) {
    ConsoleText text = threeLines();
    text.selectStretch(c.fromLine, c.fromColumn, c.toLine, c.toColumn);
    ASSERT_TRUE(text.hasSelection()) << c.what;
    EXPECT_EQ(text.selectedText(), c.want) << c.what;
    EXPECT_EQ(text.selectionOnOneLine(), c.oneLine) << c.what;
  }
  ConsoleText text = threeLines();
  text.selectStretch(1, 2, 1, 2);
  EXPECT_FALSE(text.hasSelection()) << "an empty stretch selects nothing";
}

TEST(ConsoleSelection, OnlyAStretchOnOneLineIsDeleted) {
  ConsoleText text = threeLines();
  text.selectStretch(0, 5, 1, 2);
  text.deleteSelection();
  EXPECT_EQ(text.line(0), "alpha beta");
  EXPECT_EQ(text.line(1), "gamma");
  EXPECT_EQ(text.selectedColumns(0), std::make_pair(5, 10));
  EXPECT_EQ(text.selectedColumns(1), std::make_pair(0, 2));
  EXPECT_EQ(text.selectedColumns(2), std::make_pair(0, 0));
  text.selectStretch(0, 0, 0, 6);
  text.deleteSelection();
  EXPECT_EQ(text.line(0), "beta");
  EXPECT_FALSE(text.hasSelection());
}

}  // namespace
}  // namespace console
