// What the user types into a console window's text: the characters taken,
// UTF-8 characters as single cells, the question kept whole, Undo of the
// answer, and the view following the caret.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/console_text.h"
#include "console/text_cells.h"

namespace console {
namespace {

ConsoleText window(int columns = 80, int rows = 20) {
  ConsoleText text;
  text.resize(columns, rows);
  return text;
}

std::string replyOf(ConsoleText& text, std::string_view typed) {
  text.beginRead();
  text.typeText(typed);
  text.typeText("\r");
  return text.takeReply(256);
}

struct TypedCase {
  const char* what;
  std::string question;
  std::string typed;
  std::string wantLine;
  std::string wantReply;
};

// The question written, the keys typed and Enter: the line and the reply.
void expectTyped(const TypedCase& c) {
  ConsoleText text = window();
  text.write(c.question);
  EXPECT_EQ(replyOf(text, c.typed), c.wantReply) << c.what;
  EXPECT_EQ(text.line(0), c.wantLine) << c.what;
}

TEST(ConsoleTyping, TakesOnlyTheConsolesControlCharacters) {
  const TypedCase cases[] = {
      {"Ctrl+V, C, X, S and Z type nothing", "Q => ",
       "w\x16"
       "c\x03\x18\x13\x1atl",
       "Q => wctl", "wctl\r\n"},
      {"escape and delete type nothing", "Q => ",
       "a\x1b\x7f"
       "b",
       "Q => ab", "ab\r\n"},
      {"line feed and bell type nothing", "Q => ", "a\n\ab", "Q => ab", "ab\r\n"},
      {"tab expands", "Q => ", "a\tb", "Q => a  b", "a  b\r\n"},
      {"backspace takes the last character", "Q => ", "abc\b", "Q => ab", "ab\r\n"},
  };
  for (const TypedCase& c : cases) expectTyped(c);
}

TEST(ConsoleTyping, BackspaceAndLeftStopAtTheStartOfTheAnswer) {
  const TypedCase cases[] = {
      {"more backspaces than typed", "Select => ", "ab\b\b\b\b\bC", "Select => C", "C\r\n"},
      {"backspace with nothing typed", "Select => ", "\b", "Select => ", "\r\n"},
      {"a question on a new line", "Title\r\n => ", "x\b\b\b", "Title", "\r\n"},
  };
  for (const TypedCase& c : cases) expectTyped(c);
  ConsoleText text = window();
  text.write("Q => ");
  text.typeText("ab");
  for (int k = 0; k < 5; ++k) text.caretLeft();
  EXPECT_EQ(text.caretColumn(), 5) << "Left stops at the answer";
  text.typeText("X");
  EXPECT_EQ(text.line(0), "Q => Xab");
  EXPECT_EQ(text.takeReply(256), "Xab\r\n");
}

TEST(ConsoleTyping, DeletingAWordOfTheQuestionKeepsTheAnswerWhole) {
  ConsoleText text = window();
  text.write("Copy it => ");
  text.typeText("yes");
  ASSERT_TRUE(text.selectWordAt(0, 1));
  text.deleteSelection();
  EXPECT_EQ(text.line(0), " it => yes");
  EXPECT_EQ(text.answerStart(), 7);
  EXPECT_EQ(text.takeReply(256), "yes\r\n");
}

// Written and typed text in UTF-8: one cell per character, the bytes kept.
struct CellCase {
  const char* what;
  std::vector<std::string> blocks;
  std::string typed;
  std::string wantLine;
  int wantColumns;
  std::string wantReply;
};

TEST(ConsoleTyping, Utf8CharactersTakeOneCellAndKeepTheirBytes) {
  const CellCase cases[] = {
      {"written text", {"Ful\xc3\xa9"}, "", "Ful\xc3\xa9", 4, "\r\n"},
      {"a character split over two blocks", {"F\xc3", "\xa9 "}, "", "F\xc3\xa9 ", 3, "\r\n"},
      {"a typed name",
       {"Q => "},
       "m\xc3\xbcller.rwm",
       "Q => m\xc3\xbcller.rwm",
       15,
       "m\xc3\xbcller.rwm\r\n"},
      {"backspace takes the whole character", {"Q => "}, "w\xc3\xbc\b", "Q => w", 6, "w\r\n"},
      {"four-byte character",
       {"Q => "},
       "\xf0\x9f\x8c\xb2!",
       "Q => \xf0\x9f\x8c\xb2!",
       7,
       "\xf0\x9f\x8c\xb2!\r\n"},
      {"a Latin-1 byte keeps its own cell", {"Ful\xe9"}, "x", "Ful\xe9x", 5, "x\r\n"},
  };
  for (const CellCase& c : cases) {
    ConsoleText text = window();
    for (const std::string& block : c.blocks) text.write(block);
    text.typeText(c.typed);
    EXPECT_EQ(text.line(0), c.wantLine) << c.what;
    EXPECT_EQ(text.caretColumn(), c.wantColumns) << c.what;
    EXPECT_EQ(cellCount(text.line(0)), c.wantColumns) << c.what;
    EXPECT_EQ(text.takeReply(256), c.wantReply) << c.what;
  }
}

TEST(ConsoleTyping, EditingKeysAndSelectionWorkOnWholeCharacters) {
  ConsoleText text = window();
  text.write("Q => ");
  text.typeText("w\xc3\xbc");
  text.caretLeft();
  text.typeText("X");
  EXPECT_EQ(text.line(0), "Q => wX\xc3\xbc");
  text.deleteAtCaret();
  EXPECT_EQ(text.line(0), "Q => wX");
  text.write("\rFul\xc3\xa9 Ca\xc3\xb1on");
  ASSERT_TRUE(text.selectWordAt(1, 5));
  EXPECT_EQ(text.selectedText(), "Ca\xc3\xb1on");
  EXPECT_EQ(text.selection().start, 5);
  EXPECT_EQ(text.selection().end, 10);
}

TEST(ConsoleTyping, UndoTakesTheAnswerBackStepByStep) {
  ConsoleText text = window();
  text.write("Q => ");
  EXPECT_FALSE(text.canUndo());
  text.typeText("abc");
  text.typeText("\b");
  text.caretLeft();
  text.deleteAtCaret();
  EXPECT_EQ(text.line(0), "Q => a");
  text.undo();
  EXPECT_EQ(text.line(0), "Q => ab");
  EXPECT_EQ(text.caretColumn(), 6);
  text.undo();
  EXPECT_EQ(text.line(0), "Q => abc");
  text.undo();
  EXPECT_EQ(text.line(0), "Q => ");
  EXPECT_FALSE(text.canUndo());
  text.typeText("\x16");
  EXPECT_FALSE(text.canUndo()) << "nothing typed, nothing to undo";
  text.typeText("yes\r");
  EXPECT_FALSE(text.canUndo()) << "Enter ends the answer";
  text.typeText("x");
  text.write("more output");
  EXPECT_FALSE(text.canUndo()) << "output ends the answer";
  EXPECT_EQ(text.line(1), "xmore output");
}

TEST(ConsoleTyping, TheCaretStaysInView) {
  // Backspace over a long answer: the view follows to the left.
  ConsoleText text = window(20, 10);
  text.write("Q => ");
  text.typeText(std::string(40, 'a'));
  EXPECT_GT(text.firstVisibleColumn(), 0);
  for (int k = 0; k < 38; ++k) text.typeText("\b");
  EXPECT_EQ(text.caretColumn(), 7);
  EXPECT_LE(text.firstVisibleColumn(), 7);
  // Scrolled back to the top, a resize brings the caret's line into view.
  for (int k = 0; k < 30; ++k) text.write("line\r\n");
  text.write("Q => ");
  text.scrollToTop();
  ASSERT_EQ(text.firstVisibleLine(), 0);
  text.resize(20, 8);
  EXPECT_LE(text.firstVisibleLine(), text.caretLine());
  EXPECT_LT(text.caretLine(), text.firstVisibleLine() + text.visibleRows());
}

}  // namespace
}  // namespace console
