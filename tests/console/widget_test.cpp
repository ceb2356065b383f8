// The console widget: output, typing, keys, scrolling, selection and painting.
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "console/frame.h"
#include "tests/console/window_fixture.h"

namespace console {
namespace {

using Lines = std::vector<std::string>;

class ConsoleWidgetTest : public WindowTest {
 protected:
  // Gives the first window's viewport room for exactly rows lines.
  void showRows(int rows) {
    QWidget* window = io_->parentWidget();
    while (window != nullptr && qobject_cast<QMdiSubWindow*>(window) == nullptr)
      window = window->parentWidget();
    ASSERT_NE(window, nullptr);
    const int extra = rows * io_->characterHeight() - io_->viewport()->height();
    window->resize(window->width(), window->height() + extra);
    ASSERT_EQ(io_->viewport()->height() / io_->characterHeight(), rows);
  }

  std::string enterReply(const std::string& typed) {
    io_->beginRead();
    typeLine(io_, typed);
    EXPECT_FALSE(io_->readPending());
    return io_->takeReply(kReadCapacity);
  }
};

struct TypingCase {
  const char* what;
  std::vector<std::string> blocks;  // written, one block each
  std::string typed;                // then Enter
  Lines want;
  std::string wantReply;
};

TEST_F(ConsoleWidgetTest, OutputAndTypingFollowTheConsoleRules) {
  const TypingCase cases[] = {
      {"abc CR LF def, then a reply", {"abc\r\n", "def"}, "xyz", {"abc", "defxyz"}, "xyz\r\n"},
      {"a block ending in LF keeps the line", {"abc\n"}, "x", {"abcx"}, "x\r\n"},
      {"LF inside a block is a blank", {"a\nb"}, "", {"a b"}, "\r\n"},
      {"escape sequence shown as text", {"\x1b[2J"}, "", {"\x1b[2J"}, "\r\n"},
      {"Enter on a pending line", {"abc\r\n"}, "", {"abc", ""}, "\r\n"},
      {"tab at 5 goes to 8", {"abcde"}, "\tx", {"abcde   x"}, "   x\r\n"},
      {"tab at 8 goes to 16", {"abcdefgh"}, "\tx", {"abcdefgh        x"}, "        x\r\n"},
      {"backspace at 0 does nothing", {}, "\bok", {"ok"}, "ok\r\n"},
      {"backspace stops at the question", {"Q => "}, "ab\b\b\bX", {"Q => X"}, "X\r\n"},
      {"escape typed is not taken", {"Q => "}, "\x1bok", {"Q => ok"}, "ok\r\n"},
  };
  for (const TypingCase& c : cases) {
    environment_.clearWindow(-1);
    for (const std::string& block : c.blocks) io_->writeBlock(block);
    EXPECT_EQ(enterReply(c.typed), c.wantReply) << c.what;
    EXPECT_EQ(linesOf(io_), c.want) << c.what;
  }
}

TEST_F(ConsoleWidgetTest, ASmallCapacityCutsTheReply) {
  io_->beginRead();
  typeLine(io_, "abcdef");
  EXPECT_EQ(io_->takeReply(5), "abc\r\n");
}

struct KeyCase {
  const char* what;
  std::vector<Qt::Key> keys;
  std::string typed;
  Lines want;
};

TEST_F(ConsoleWidgetTest, EditingKeysActOnTheLastLine) {
  const KeyCase cases[] = {
      {"left, then typing inserts", {Qt::Key_Left, Qt::Key_Left}, "X", {"Q => aXbc"}},
      {"right stops at the end", {Qt::Key_Left, Qt::Key_Right, Qt::Key_Right}, "X", {"Q => abcX"}},
      {"insert opens a blank", {Qt::Key_Left, Qt::Key_Insert}, "", {"Q => ab c"}},
      {"delete removes at the caret",
       {Qt::Key_Left, Qt::Key_Left, Qt::Key_Delete},
       "",
       {"Q => ac"}},
      {"view keys keep the text",
       {Qt::Key_Home, Qt::Key_PageUp, Qt::Key_Up, Qt::Key_End},
       "",
       {"Q => abc"}},
  };
  for (const KeyCase& c : cases) {
    environment_.clearWindow(-1);
    io_->writeBlock("Q => ");
    QTest::keyClicks(io_, "abc");
    for (Qt::Key key : c.keys) QTest::keyClick(io_, key);
    QTest::keyClicks(io_, QString::fromLatin1(c.typed.c_str()));
    EXPECT_EQ(linesOf(io_), c.want) << c.what;
  }
}

TEST_F(ConsoleWidgetTest, WithTwentyRowsTheViewFollowsPastEighteenLines) {
  showRows(20);
  QScrollBar* bar = io_->verticalScrollBar();
  for (int k = 0; k < 18; ++k) io_->writeBlock("line\r\n");
  EXPECT_EQ(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), 0);
  io_->writeBlock("line\r\n");
  EXPECT_EQ(bar->maximum(), 1);
  EXPECT_EQ(bar->value(), 1);
  for (int k = 0; k < 10; ++k) io_->writeBlock("line\r\n");
  EXPECT_EQ(bar->value(), 11);
  EXPECT_EQ(io_->text().firstVisibleLine(), 11);
}

TEST_F(ConsoleWidgetTest, ScrollBarsAndViewKeysMoveOnlyTheView) {
  showRows(20);
  for (int k = 0; k < 40; ++k) io_->writeBlock("line\r\n");
  QScrollBar* bar = io_->verticalScrollBar();
  ASSERT_EQ(bar->maximum(), 22);
  QTest::keyClick(io_, Qt::Key_Home);
  EXPECT_EQ(bar->value(), 0);
  QTest::keyClick(io_, Qt::Key_PageDown);
  EXPECT_EQ(io_->text().firstVisibleLine(), 20);
  QTest::keyClick(io_, Qt::Key_Up);
  EXPECT_EQ(bar->value(), 19);
  bar->setValue(5);
  EXPECT_EQ(io_->text().firstVisibleLine(), 5);
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(io_->text().firstVisibleLine(), 22);
  EXPECT_EQ(io_->text().caretLine(), 40) << "the caret stays on the last line";
}

TEST_F(ConsoleWidgetTest, LongLinesScrollSideways) {
  const int columns = io_->text().visibleColumns();
  io_->writeBlock(std::string(static_cast<std::size_t>(columns) + 5, 'w'));
  QScrollBar* bar = io_->horizontalScrollBar();
  EXPECT_EQ(bar->maximum(), 5);
  EXPECT_EQ(bar->value(), io_->text().firstVisibleColumn());
  EXPECT_GT(bar->value(), 0);
  io_->writeBlock("\r\n");
  EXPECT_EQ(bar->value(), 0) << "Enter scrolls back to column 0";
}

TEST_F(ConsoleWidgetTest, DoubleClickOnTheFirstLetterSelectsTheWord) {
  io_->writeBlock("top\r\n");
  io_->writeBlock("  hello world");
  QSignalSpy selection(io_, &ConsoleWidget::selectionChanged);
  const QPoint firstLetter = io_->cellPosition(1, 2) + QPoint(1, 1);
  QTest::mouseDClick(io_->viewport(), Qt::LeftButton, {}, firstLetter);
  EXPECT_EQ(io_->text().selectedText(), "hello");
  ASSERT_FALSE(selection.isEmpty());
  EXPECT_TRUE(selection.last().at(0).toBool());
  // Drawn white on blue.
  const QImage image = io_->viewport()->grab().toImage();
  const QPoint corner = io_->cellPosition(1, 2);
  EXPECT_EQ(image.pixelColor(corner.x(), corner.y()), QColor(Qt::blue));
  const QPoint outside = io_->cellPosition(1, 0);
  EXPECT_EQ(image.pixelColor(outside.x(), outside.y()), QColor(Qt::white));
  // A click elsewhere clears it.
  QTest::mouseClick(io_->viewport(), Qt::LeftButton, {}, io_->cellPosition(0, 0) + QPoint(1, 1));
  EXPECT_FALSE(io_->text().hasSelection());
  EXPECT_FALSE(selection.last().at(0).toBool());
  // A double click on a blank selects nothing.
  QTest::mouseDClick(io_->viewport(), Qt::LeftButton, {}, io_->cellPosition(1, 7) + QPoint(1, 1));
  EXPECT_FALSE(io_->text().hasSelection());
}

TEST_F(ConsoleWidgetTest, PaintsEveryCharacterInItsOwnCell) {
  const int width = std::min(io_->text().visibleColumns() - 4, 70);
  io_->writeBlock("\x1b[2J" + std::string(static_cast<std::size_t>(width - 4), '#'));
  const QImage image = io_->viewport()->grab().toImage();
  auto inked = [&](int column) { return cellInked(io_, image, 0, column); };
  // The escape character keeps a cell of its own, and a long run of
  // characters does not drift from the cells.
  for (int column = 0; column < width; ++column) EXPECT_TRUE(inked(column)) << "column " << column;
  EXPECT_FALSE(inked(width + 1)) << "nothing past the text and the caret";
  EXPECT_FALSE(inked(width + 2)) << "nothing past the text and the caret";
}

TEST_F(ConsoleWidgetTest, ClearingEmptiesTheWindow) {
  for (int k = 0; k < 30; ++k) io_->writeBlock("line\r\n");
  io_->writeBlock("Q => ");
  environment_.clearWindow(0);
  EXPECT_EQ(io_->text().lineCount(), 0);
  EXPECT_EQ(io_->verticalScrollBar()->maximum(), 0);
  io_->writeBlock("again");
  EXPECT_EQ(linesOf(io_), Lines{"again"});
}

}  // namespace
}  // namespace console
