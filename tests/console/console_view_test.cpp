// Scrolling, selection, clearing, capacity and saving of a console window's text.
#include <gtest/gtest.h>

#include <string>

#include "console/console_text.h"
#include "tests/support/console_script.h"

namespace console {
namespace {

ConsoleText window(int columns, int rows) {
  ConsoleText text;
  text.resize(columns, rows);
  return text;
}

// Writes bytes one block per line, as the console hooks hand them over.
void show(ConsoleText& text, std::string_view bytes) {
  while (!bytes.empty()) {
    std::size_t n = std::min(bytes.find('\n'), bytes.size() - 1) + 1;
    text.write(bytes.substr(0, n));
    bytes.remove_prefix(n);
  }
}

void writeRecords(ConsoleText& text, int n, const std::string& record = "x") {
  for (int k = 0; k < n; ++k) text.write(record + "\r\n");
}

struct FollowCase {
  int records;
  int wantFirstLine;
  int wantLimit;
};

TEST(ConsoleScroll, ViewFollowsOutputOnceTheLinesFillTheWindow) {
  // 20 visible rows: the view starts to move when the line count passes 18.
  const FollowCase cases[] = {{1, 0, 0}, {18, 0, 0}, {19, 1, 1}, {25, 7, 7}};
  for (const FollowCase& c : cases) {
    ConsoleText text = window(80, 20);
    writeRecords(text, c.records);
    EXPECT_EQ(text.firstVisibleLine(), c.wantFirstLine) << c.records << " records";
    EXPECT_EQ(text.lineLimit(), c.wantLimit) << c.records << " records";
  }
}

TEST(ConsoleScroll, NewOutputReturnsToTheBottom) {
  ConsoleText text = window(80, 20);
  writeRecords(text, 40);
  text.scrollToTop();
  ASSERT_EQ(text.firstVisibleLine(), 0);
  text.write("more");
  EXPECT_EQ(text.firstVisibleLine(), text.lineLimit());
}

struct ScrollCase {
  const char* what;
  void (*request)(ConsoleText&);
  int wantFirstLine;
};

TEST(ConsoleScroll, VerticalRequestsStayWithinTheLimit) {
  // 30 lines in 20 rows: the limit is 12; the view starts at 5.
  const ScrollCase cases[] = {
      {"line up", [](ConsoleText& t) { t.lineUp(); }, 4},
      {"line down", [](ConsoleText& t) { t.lineDown(); }, 6},
      {"page up", [](ConsoleText& t) { t.pageUp(); }, 0},
      {"page down", [](ConsoleText& t) { t.pageDown(); }, 12},
      {"top", [](ConsoleText& t) { t.scrollToTop(); }, 0},
      {"bottom", [](ConsoleText& t) { t.scrollToBottom(); }, 12},
      {"thumb", [](ConsoleText& t) { t.scrollToLine(9); }, 9},
      {"thumb past the limit", [](ConsoleText& t) { t.scrollToLine(99); }, 12},
      {"thumb above the top", [](ConsoleText& t) { t.scrollToLine(-3); }, 0},
  };
  for (const ScrollCase& c : cases) {
    ConsoleText text = window(80, 20);
    writeRecords(text, 30);
    ASSERT_EQ(text.lineLimit(), 12);
    text.scrollToLine(5);
    c.request(text);
    EXPECT_EQ(text.firstVisibleLine(), c.wantFirstLine) << c.what;
  }
}

TEST(ConsoleScroll, LongLinesScrollSidewaysAndEnterScrollsBack) {
  ConsoleText text = window(10, 20);
  text.write("0123456789AB");
  EXPECT_EQ(text.firstVisibleColumn(), 2);
  EXPECT_EQ(text.columnLimit(), 2);
  text.write("\r\n");
  EXPECT_EQ(text.firstVisibleColumn(), 0);
  text.scrollColumnsBy(kHorizontalPage);
  EXPECT_EQ(text.firstVisibleColumn(), 2);
  text.scrollToColumn(-1);
  EXPECT_EQ(text.firstVisibleColumn(), 0);
}

TEST(ConsoleScroll, ResizeRecomputesTheLimits) {
  ConsoleText text = window(80, 20);
  writeRecords(text, 30);
  text.resize(80, 40);
  EXPECT_EQ(text.lineLimit(), 0);
  EXPECT_EQ(text.firstVisibleLine(), 0);
  text.resize(80, 10);
  EXPECT_EQ(text.lineLimit(), 22);
}

TEST(ConsoleScroll, PaintsTheDamagedRowsAndOneLineAbove) {
  ConsoleText text = window(80, 20);
  writeRecords(text, 30);
  text.scrollToLine(5);
  EXPECT_EQ(text.linesToPaint(0, 19), std::make_pair(4, 24));
  EXPECT_EQ(text.linesToPaint(3, 3), std::make_pair(7, 8));
  text.scrollToLine(12);
  EXPECT_EQ(text.linesToPaint(0, 30), std::make_pair(11, 29));
}

TEST(ConsoleDamage, OneCharacterAtTheEndRedrawsOneCell) {
  ConsoleText text = window(80, 20);
  text.write("ab");
  (void)text.takeDamage();
  text.feed('c');
  Damage d = text.takeDamage();
  EXPECT_FALSE(d.everything);
  ASSERT_EQ(d.spans.size(), 1u);
  EXPECT_EQ(d.spans[0].line, 0);
  EXPECT_EQ(d.spans[0].fromColumn, 2);
  EXPECT_EQ(d.spans[0].toColumn, 3);
  text.caretLeft();
  text.feed('X');
  d = text.takeDamage();
  ASSERT_EQ(d.spans.size(), 1u);
  EXPECT_EQ(d.spans[0].toColumn, kRightEdge) << "an insertion moves the rest of the line";
}

struct WordCase {
  int line;
  int column;
  bool want;
  std::string word;
};

TEST(ConsoleSelection, DoubleClickSelectsTheWordAroundTheCell) {
  const WordCase cases[] = {
      {1, 2, true, "hello"},                        // the first letter
      {1, 6, true, "hello"},                        // the last letter
      {1, 8, true, "w\x1b[1A"},                     // a word with an escape sequence in it
      {1, 7, false, ""},                            // a blank
      {1, 30, false, ""},                           // past the end of the line
      {0, 0, true, "top"},      {5, 0, false, ""},  // no such line
  };
  for (const WordCase& c : cases) {
    ConsoleText text = window(80, 20);
    show(text, "top\r\n  hello w\x1b[1A");
    EXPECT_EQ(text.selectWordAt(c.line, c.column), c.want) << c.line << "," << c.column;
    EXPECT_EQ(text.hasSelection(), c.want) << c.line << "," << c.column;
    EXPECT_EQ(text.selectedText(), c.word) << c.line << "," << c.column;
  }
}

TEST(ConsoleSelection, TypingClearsIt) {
  ConsoleText text = window(80, 20);
  text.write("word");
  ASSERT_TRUE(text.selectWordAt(0, 1));
  text.feed('s');
  EXPECT_FALSE(text.hasSelection());
}

TEST(ConsoleClear, EmptiesTheWindowAndPendsALine) {
  ConsoleText text = window(80, 20);
  writeRecords(text, 30);
  text.write("Q => ");
  text.selectWordAt(3, 0);
  text.clear();
  EXPECT_EQ(text.lineCount(), 0);
  EXPECT_EQ(text.caretLine(), 0);
  EXPECT_EQ(text.caretColumn(), 0);
  EXPECT_EQ(text.firstVisibleLine(), 0);
  EXPECT_EQ(text.inputStartColumn(), 0);
  EXPECT_TRUE(text.linePending());
  EXPECT_FALSE(text.hasSelection());
  text.write("new");
  EXPECT_EQ(text.line(0), "new");
}

TEST(ConsoleCapacity, TooManyLinesDiscardsTheOldest) {
  ConsoleText text = window(80, 20);
  for (int k = 0; k < kLineCapacity + 10; ++k) text.write(std::to_string(k) + "\r\n");
  text.write("typing");
  EXPECT_LE(text.lineCount(), kLineCapacity);
  EXPECT_EQ(text.line(text.lineCount() - 1), "typing");
  EXPECT_EQ(text.line(text.lineCount() - 2), std::to_string(kLineCapacity + 9));
  EXPECT_EQ(text.caretLine(), text.lineCount() - 1);
  EXPECT_LE(text.firstVisibleLine(), text.lineLimit());
}

TEST(ConsoleCapacity, TooManyCharactersDiscardsTheOldestButNeverTheTypedLine) {
  ConsoleText text = window(80, 20);
  const std::string record(200, 'r');
  writeRecords(text, kTextCapacity / 200 + 5, record);
  text.write("partial");
  EXPECT_LE(text.characterCount(), kTextCapacity);
  EXPECT_EQ(text.line(text.lineCount() - 1), "partial");
  EXPECT_EQ(text.line(text.lineCount() - 2), record);
  // One line as long as the whole buffer: later characters are refused.
  ConsoleText full = window(80, 20);
  full.write(std::string(kTextCapacity + 10, 'z'));
  EXPECT_EQ(full.characterCount(), kTextCapacity);
  EXPECT_EQ(full.lineCount(), 1);
  show(full, "\r\nnext");
  EXPECT_EQ(full.line(full.lineCount() - 1), "next");
}

TEST(ConsoleSave, WritesEveryLineWithCrLf) {
  ConsoleText text = window(80, 20);
  EXPECT_TRUE(text.modified()) << "a new window counts as modified";
  show(text, "abc\r\n\r\n\x1b[1Adef");
  EXPECT_EQ(text.fileBytes(), "abc\r\n\r\n\x1b[1Adef\r\n");
  testing_support::TempDir dir;
  EXPECT_EQ(text.saveTo(dir.file("dialogue.txt")), SaveResult::Saved);
  EXPECT_EQ(dir.read("dialogue.txt"), text.fileBytes());
  EXPECT_EQ(text.saveTo(dir.file("missing/dialogue.txt")), SaveResult::CannotCreate);
}

}  // namespace
}  // namespace console
