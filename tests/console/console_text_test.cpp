// The text rules of a console window, without any window.
#include "console/console_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/console_script.h"

namespace console {
namespace {

using Lines = std::vector<std::string>;

// A window of 80 columns and 20 rows.
ConsoleText window(int columns = 80, int rows = 20) {
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

Lines linesOf(const ConsoleText& text) {
  Lines lines;
  for (int k = 0; k < text.lineCount(); ++k) lines.emplace_back(text.line(k));
  return lines;
}

void type(ConsoleText& text, std::string_view keys) {
  for (char c : keys) text.feed(c);
}

struct OutputCase {
  const char* what;
  std::string written;
  std::string typed;
  Lines want;
  int caretColumn;
  int caretLine;
};

TEST(ConsoleTextOutput, BuildsLinesAndPlacesTheCaret) {
  const OutputCase cases[] = {
      {"CR LF breaks the line", "abc\r\ndef", "", {"abc", "def"}, 3, 1},
      {"final LF alone is dropped", "abc\n", "", {"abc"}, 3, 0},
      {"escape sequences are text", "\x1b[2J", "", {"\x1b[2J"}, 4, 0},
      {"bell is stored", "\a=>", "", {"\a=>"}, 3, 0},
      {"record end leaves a line pending", "abc\r\n", "", {"abc"}, 0, 1},
      {"tab at 5 goes to 8", "abcde\t", "", {"abcde   "}, 8, 0},
      {"tab at 8 goes to 16", "abcdefgh\t", "", {"abcdefgh        "}, 16, 0},
      {"tab at 0 goes to 8", "\tx", "", {"        x"}, 9, 0},
      {"backspace at 0 does nothing", "", "\b", {}, 0, 0},
      {"backspace deletes the prompt", "Q => ", "\b\bX", {"Q =X"}, 4, 0},
      {"escape is typed as a character", "", "ab\x1b", {"ab\x1b"}, 3, 0},
      {"CR alone starts a line", "a\rb", "", {"a", "b"}, 1, 1},
      {"Enter on a pending line adds an empty line", "abc\r\n", "\r", {"abc", ""}, 0, 2},
      {"two record ends give an empty line", "a\r\n\r\nb", "", {"a", "", "b"}, 1, 2},
  };
  for (const OutputCase& c : cases) {
    ConsoleText text = window();
    show(text, c.written);
    type(text, c.typed);
    EXPECT_EQ(linesOf(text), c.want) << c.what;
    EXPECT_EQ(text.caretColumn(), c.caretColumn) << c.what;
    EXPECT_EQ(text.caretLine(), c.caretLine) << c.what;
  }
}

TEST(ConsoleTextOutput, LineFeedInsideABlockIsABlank) {
  ConsoleText text = window();
  text.write("a\nb\r\n");
  text.write("c\n");
  EXPECT_EQ(linesOf(text), (Lines{"a b", "c"}));
  EXPECT_EQ(text.inputStartColumn(), 1);
}

struct ReplyCase {
  const char* what;
  std::string written;
  std::string typed;  // ends with the Enter that ends the read
  int capacity;
  std::string want;
};

TEST(ConsoleTextReply, TakesTheLastLineFromTheInputStart) {
  const ReplyCase cases[] = {
      {"after a finished line", "abc\r\ndef", "xyz\r", 256, "xyz\r\n"},
      {"after a question", " Select => ", "k\r", 256, "k\r\n"},
      {"Enter on a pending line", "abc\r\n", "\r", 256, "\r\n"},
      {"small capacity", "", "abcdef\r", 5, "abc\r\n"},
      {"capacity counts the prompt", "Q => ", "abcdef\r", 9, "ab\r\n"},
      {"prompt deleted by backspace", "Q => ", "\b\bX\r", 256, "\r\n"},
      {"control characters are typed", "Q => ", "ac\x01\r", 256, "ac\x01\r\n"},
      {"tab in the reply", "Q => ", "a\tb\r", 256, "a  b\r\n"},
  };
  for (const ReplyCase& c : cases) {
    ConsoleText text = window();
    show(text, c.written);
    text.beginRead();
    type(text, c.typed);
    EXPECT_FALSE(text.readPending()) << c.what;
    EXPECT_EQ(text.takeReply(c.capacity), c.want) << c.what;
    EXPECT_EQ(text.inputStartColumn(), 0) << c.what;
  }
}

TEST(ConsoleTextReply, OnlyEnterEndsARead) {
  ConsoleText text = window();
  text.beginRead();
  type(text, "abc\n\t\b");
  EXPECT_TRUE(text.readPending());
  text.feed('\r');
  EXPECT_FALSE(text.readPending());
}

// The editing keys act on the answer the user typed first.
struct KeyCase {
  const char* what;
  std::string answer;
  void (ConsoleText::*keys[3])();
  std::string typed;
  Lines want;
  int caretColumn;
};

TEST(ConsoleTextKeys, EditTheLastLine) {
  using T = ConsoleText;
  const KeyCase cases[] = {
      {"left then type inserts", "ab", {&T::caretLeft}, "X", {"aXb"}, 2},
      {"left stops at 0", "a", {&T::caretLeft, &T::caretLeft}, "X", {"Xa"}, 1},
      {"right stops at the end",
       "ab",
       {&T::caretLeft, &T::caretRight, &T::caretRight},
       "",
       {"ab"},
       2},
      {"insert opens a blank",
       "abc",
       {&T::caretLeft, &T::caretLeft, &T::insertBlank},
       "",
       {"a bc"},
       1},
      {"delete removes at the caret",
       "abc",
       {&T::caretLeft, &T::caretLeft, &T::deleteAtCaret},
       "",
       {"ac"},
       1},
      {"delete at the end does nothing", "abc", {&T::deleteAtCaret}, "", {"abc"}, 3},
      {"keys do nothing on a pending line",
       "abc\r\n",
       {&T::insertBlank, &T::deleteAtCaret, &T::caretRight},
       "",
       {"abc"},
       0},
      {"view keys leave the text",
       "abc",
       {&T::pageUp, &T::scrollToTop, &T::lineDown},
       "",
       {"abc"},
       3},
  };
  for (const KeyCase& c : cases) {
    ConsoleText text = window();
    text.typeText(c.answer);
    for (auto key : c.keys)
      if (key != nullptr) (text.*key)();
    type(text, c.typed);
    EXPECT_EQ(linesOf(text), c.want) << c.what;
    EXPECT_EQ(text.caretColumn(), c.caretColumn) << c.what;
  }
}

struct DeleteCase {
  int line;
  int column;
  int count;
  Lines want;
};

TEST(ConsoleTextDelete, MovesLaterTextAndLineBoundaries) {
  const DeleteCase cases[] = {
      {1, 1, 2, {"abc", "dg", "hi"}},    // inside a line
      {0, 0, 3, {"", "defg", "hi"}},     // a whole line's text
      {1, 2, 9, {"abc", "de", "hi"}},    // cut at the end of the line
      {2, 1, 1, {"abc", "defg", "h"}},   // the last line
      {1, 4, 1, {"abc", "defg", "hi"}},  // past the end of the line
      {5, 0, 1, {"abc", "defg", "hi"}},  // no such line
  };
  for (const DeleteCase& c : cases) {
    ConsoleText text = window();
    show(text, "abc\r\ndefg\r\nhi");
    text.deleteChars(c.line, c.column, c.count);
    EXPECT_EQ(linesOf(text), c.want) << c.line << "," << c.column << "," << c.count;
  }
  ConsoleText empty = window();
  empty.deleteChars(0, 0, 1);
  EXPECT_EQ(empty.lineCount(), 0);
}

}  // namespace
}  // namespace console
