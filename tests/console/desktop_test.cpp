// The console window as desktop users meet it: keys with Ctrl type nothing,
// text copied anywhere can be pasted, UTF-8 names and text pass unchanged,
// the line being answered stays in view, the question stays whole, and a
// minimised window comes back from the Window menu.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "console/console_window.h"
#include "console/frame.h"
#include "fmtio/hooks.h"
#include "fmtio/stop.h"
#include "tests/console/fake_dialogs.h"
#include "tests/console/window_fixture.h"
#include "tests/support/console_script.h"

namespace console {
namespace {

namespace fs = std::filesystem;

class DesktopTest : public WindowTest {
 protected:
  Frame* frame() { return environment_.frame(); }
  QMdiSubWindow* ioWindow() { return frame()->mdiArea()->subWindowList().first(); }
  bool enabled(Command c) { return frame()->action(c)->isEnabled(); }
  // A key as the platform delivers it, with its text.
  void press(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(io_, &event);
  }
  bool caretInView() const {
    const ConsoleText& t = io_->text();
    return t.firstVisibleLine() <= t.caretLine() &&
           t.caretLine() < t.firstVisibleLine() + t.visibleRows() &&
           t.firstVisibleColumn() <= t.caretColumn() &&
           t.caretColumn() < t.firstVisibleColumn() + t.visibleColumns();
  }
};

struct ControlKey {
  Qt::Key key;
  char16_t text;
};

TEST_F(DesktopTest, KeysWithCtrlTypeNoControlCharacterIntoTheAnswer) {
  QGuiApplication::clipboard()->clear();
  io_->writeBlock("Name => ");
  QTest::keyClicks(io_, "wc");
  // Their commands are disabled: nothing selected, nothing to paste or undo.
  const ControlKey keys[] = {{Qt::Key_V, 0x16}, {Qt::Key_C, 0x03}, {Qt::Key_X, 0x18},
                             {Qt::Key_S, 0x13}, {Qt::Key_Z, 0x1A}, {Qt::Key_P, 0x10},
                             {Qt::Key_Q, 0x11}, {Qt::Key_G, 0x07}};
  for (const ControlKey& k : keys) {
    press(k.key, Qt::ControlModifier, QString(QChar(k.text)));
    press(k.key, Qt::ControlModifier | Qt::ShiftModifier, QString(QChar(k.text)));
  }
  press(Qt::Key_unknown, Qt::NoModifier, QString(QChar(u'\x01')));
  QTest::keyClicks(io_, "tl.rwl");
  EXPECT_EQ(io_->text().line(0), "Name => wctl.rwl");
  io_->beginRead();
  QTest::keyClick(io_, Qt::Key_Return);
  EXPECT_EQ(io_->takeReply(kReadCapacity), "wctl.rwl\r\n");
}

TEST_F(DesktopTest, TextCopiedInAnyProgramCanBePasted) {
  QGuiApplication::clipboard()->clear();
  EXPECT_FALSE(enabled(Command::Paste));
  QGuiApplication::clipboard()->setText(QString::fromUtf8("M\xc3\xbcller\nnext\r\nlast\x01"));
  EXPECT_TRUE(enabled(Command::Paste)) << "text put there by another program";
  frame()->command(static_cast<int>(Command::Paste));
  EXPECT_EQ(linesOf(io_), std::vector<std::string>({"M\xc3\xbcller", "next", "last"}));
  QGuiApplication::clipboard()->clear();
  EXPECT_FALSE(enabled(Command::Paste));
}

TEST_F(DesktopTest, PastedLinesAnswerOneQuestionEach) {
  std::vector<std::string> replies;
  driver_.then(driver_.whenReading([this] {
    QGuiApplication::clipboard()->setText("old.txt\nnew.txt\nM");
    frame()->command(static_cast<int>(Command::Paste));
  }));
  driver_.then(driver_.whenReading([this] { QTest::keyClick(io_, Qt::Key_Return); }));
  driver_.exitWhenFinished();
  FakeDialogs dialogs;
  dialogs.buttons = {QMessageBox::No};
  run([&] {
    for (const char* question : {"Existing => ", "New => ", "Format => "}) {
      fmtio::consoleHooks().writeBlock(-1, false, question);
      std::string line;
      fmtio::consoleHooks().readLine(-1, line);
      replies.push_back(line);
    }
  });
  EXPECT_EQ(replies, std::vector<std::string>({"old.txt\r\n", "new.txt\r\n", "M\r\n"}));
  EXPECT_EQ(linesOf(io_),
            std::vector<std::string>({"Existing => old.txt", "New => new.txt", "Format => M"}));
}

TEST_F(DesktopTest, Utf8NamesReachTheFileSystemUnchanged) {
  testing_support::TempDir dir;
  const std::string existing = "m\xc3\xbcller.rwm";
  dir.write(existing, "data\n");
  std::string opened;
  std::string created;
  driver_.type(existing).type("w\xc3\xbc.rwl");
  driver_.exitWhenFinished().press(QMessageBox::No);
  auto readName = [] {
    std::string line;
    fmtio::consoleHooks().readLine(-1, line);
    return line.substr(0, line.find('\r'));
  };
  run([&] {
    const std::string name = readName();
    std::ifstream in(dir.file(name));
    std::getline(in, opened);
    created = readName();
    std::ofstream(dir.file(created)) << "new\n";
  });
  EXPECT_EQ(opened, "data") << "the existing file opened by its typed name";
  EXPECT_TRUE(fs::exists(fs::path(dir.path()) / fs::u8path("w\xc3\xbc.rwl")));
  EXPECT_EQ(created, "w\xc3\xbc.rwl");
}

TEST_F(DesktopTest, Utf8TextIsShownOneCharacterToACell) {
  io_->writeBlock("Ful\xc3\xa9!");
  EXPECT_EQ(io_->text().caretColumn(), 5);
  const QImage image = io_->viewport()->grab().toImage();
  auto inked = [&](int column) { return cellInked(io_, image, 0, column); };
  for (int column = 0; column < 5; ++column) EXPECT_TRUE(inked(column)) << "column " << column;
  EXPECT_FALSE(inked(6)) << "no second cell for the two bytes of the accented letter";
}

TEST_F(DesktopTest, BackspaceKeysLeaveTheQuestionWhole) {
  io_->writeBlock("Select => ");
  io_->beginRead();
  QTest::keyClicks(io_, "ab");
  for (int k = 0; k < 6; ++k) QTest::keyClick(io_, Qt::Key_Backspace);
  for (int k = 0; k < 6; ++k) QTest::keyClick(io_, Qt::Key_Left);
  QTest::keyClicks(io_, "C");
  EXPECT_EQ(io_->text().line(0), "Select => C");
  QTest::keyClick(io_, Qt::Key_Return);
  EXPECT_EQ(io_->takeReply(kReadCapacity), "C\r\n");
}

// Each way of changing the window's size or arrangement, done while the
// user has scrolled back to the top of a long dialogue.
struct ViewChange {
  const char* what;
  std::function<void()> change;
};

TEST_F(DesktopTest, TheLineBeingAnsweredStaysInView) {
  QWidget* window = ioWindow();
  auto command = [this](Command c) { frame()->command(static_cast<int>(c)); };
  const ViewChange changes[] = {
      {"resize", [&] { window->resize(window->width() - 40, window->height() / 2); }},
      {"cascade", [&] { command(Command::Cascade); }},
      {"tile", [&] { command(Command::TileHorizontally); }},
      {"font",
       [&] {
         QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
         font.setPointSize(font.pointSize() * 2);
         io_->setTextFont(font);
       }},
  };
  for (const ViewChange& c : changes) {
    environment_.clearWindow(-1);
    for (int k = 0; k < 80; ++k) io_->writeBlock("line " + std::to_string(k) + "\r\n");
    io_->writeBlock("Select => ");
    QTest::keyClick(io_, Qt::Key_Home);
    ASSERT_EQ(io_->text().firstVisibleLine(), 0);
    c.change();
    EXPECT_TRUE(caretInView()) << c.what;
  }
  // Backspace over an answer wider than the window.
  environment_.clearWindow(-1);
  io_->writeBlock("Q => ");
  QTest::keyClicks(io_, QString(io_->text().visibleColumns() * 2, QChar(u'a')));
  for (int k = 0; k < io_->text().visibleColumns() * 2 - 1; ++k)
    QTest::keyClick(io_, Qt::Key_Backspace);
  EXPECT_TRUE(caretInView()) << "backspace";
}

TEST_F(DesktopTest, TheWindowMenuRestoresAMinimisedWindow) {
  QMdiSubWindow* window = ioWindow();
  window->showMinimized();
  ASSERT_TRUE(window->isMinimized());
  frame()->command(100);
  EXPECT_FALSE(window->isMinimized());
  EXPECT_EQ(frame()->mdiArea()->currentSubWindow(), window);
}

TEST_F(DesktopTest, TheEndOfTheSessionShowsAndTakesNoMoreTyping) {
  const QString title = frame()->windowTitle();
  io_->writeBlock("Q => ");
  driver_.then(driver_.whenFinished([this] {
    QTest::keyClicks(io_, "late");
    QTest::keyClick(io_, Qt::Key_Return);
    QTest::keyClick(io_, Qt::Key_Backspace);
  }));
  driver_.exitWhenFinished();
  FakeDialogs dialogs;
  dialogs.buttons = {QMessageBox::No};
  EXPECT_EQ(run([] { fmtio::STOP(); }), 0);
  EXPECT_EQ(frame()->windowTitle(), title + QString::fromUtf8(" \u2014 finished"));
  EXPECT_FALSE(frame()->statusBar()->currentMessage().isEmpty());
  EXPECT_EQ(linesOf(io_), std::vector<std::string>{"Q => "});
}

TEST_F(DesktopTest, DraggingSelectsAnyStretchToCopy) {
  io_->writeBlock("alpha beta\r\n");
  io_->writeBlock("gamma\r\n");
  io_->writeBlock("delta");
  const QPoint from = io_->cellPosition(0, 6) + QPoint(1, 2);
  const QPoint to = io_->cellPosition(2, 2) + QPoint(1, 2);
  QTest::mousePress(io_->viewport(), Qt::LeftButton, {}, from);
  QMouseEvent move(QEvent::MouseMove, to, io_->viewport()->mapToGlobal(to), Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(io_->viewport(), &move);
  QTest::mouseRelease(io_->viewport(), Qt::LeftButton, {}, to);
  EXPECT_EQ(io_->text().selectedText(), "beta\ngamma\nde");
  EXPECT_TRUE(enabled(Command::Copy));
  EXPECT_FALSE(enabled(Command::Cut)) << "lines are not cut out of the dialogue";
  EXPECT_FALSE(enabled(Command::Delete));
  frame()->command(static_cast<int>(Command::Copy));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "beta\ngamma\nde");
  // Every selected cell white on blue, the lines between included.
  const QImage image = io_->viewport()->grab().toImage();
  for (const QPoint& cell :
       {io_->cellPosition(0, 6), io_->cellPosition(1, 0), io_->cellPosition(2, 1)})
    EXPECT_EQ(image.pixelColor(cell), QColor(Qt::blue));
  EXPECT_EQ(image.pixelColor(io_->cellPosition(2, 3)), QColor(Qt::white));
}

TEST_F(DesktopTest, ShiftWithTheArrowsSelectsFromTheCaret) {
  io_->writeBlock("first line\r\n");
  io_->writeBlock("Q => ");
  QTest::keyClicks(io_, "abc");
  for (int k = 0; k < 3; ++k) QTest::keyClick(io_, Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(io_->text().selectedText(), "abc");
  EXPECT_TRUE(enabled(Command::Cut));
  QTest::keyClick(io_, Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_EQ(io_->text().selectedText(), " line\nQ => abc") << "up keeps the column";
  QTest::keyClick(io_, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(io_->text().selectedText(), "line\nQ => abc");
  EXPECT_EQ(io_->text().line(1), "Q => abc") << "the keys only select";
  EXPECT_EQ(io_->text().caretColumn(), 8);
}

TEST(RememberedWindows, FrameAndConsoleLookComeBackInTheNextRun) {
  const QRect place(120, 90, 700, 500);
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(font.pointSize() + 5);
  {
    WindowRun first;
    FakeDialogs dialogs;
    dialogs.font = font;
    dialogs.colour = QColor(0, 0, 160);
    dialogs.buttons = {QMessageBox::No};
    first.environment.frame()->setGeometry(place);
    first.environment.frame()->command(static_cast<int>(Command::Font));
    first.environment.frame()->command(static_cast<int>(Command::Colour));
    first.environment.frame()->command(static_cast<int>(Command::Exit));
  }
  WindowRun second("ringedit-test", true);
  EXPECT_EQ(second.environment.frame()->geometry().size(), place.size());
  EXPECT_EQ(second.io->textFont().pointSize(), font.pointSize());
  EXPECT_EQ(second.io->textColour(), QColor(0, 0, 160));
  WindowRun fresh;
  EXPECT_NE(fresh.io->textColour(), QColor(0, 0, 160)) << "a fresh start remembers nothing";
}

}  // namespace
}  // namespace console
