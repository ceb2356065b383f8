// The frame: MainMenu and MDIAccel, the routing of commands, the menu item
// states, the program's menu items and timers, arranging and the About box.
#include "console/frame.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "console/console_window.h"
#include "console/resource_dialog.h"
#include "resources/resource_tables.h"
#include "tests/console/fake_dialogs.h"
#include "tests/console/window_fixture.h"

namespace console {
namespace {

class FrameTest : public WindowTest {
 protected:
  Frame* frame() { return environment_.frame(); }
  ConsoleWindow* io() { return frame()->currentConsole(); }
  QStringList popupTexts(int popup) {
    QStringList texts;
    for (QAction* a : frame()->menuBar()->actions()[popup]->menu()->actions())
      texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
  }
  FakeDialogs dialogs_;
};

TEST_F(FrameTest, MenuBarIsMainMenu) {
  QStringList titles;
  for (QAction* popup : frame()->menuBar()->actions()) titles << popup->text();
  EXPECT_EQ(titles, QStringList({"&File", "&Edit", "F&ormat", "&Window"}));
  EXPECT_EQ(popupTexts(0), QStringList({"&Save\tCtrl+S", "Save As...", "-", "Print...\tCtrl+P", "-",
                                        "&About...", "-", "E&xit\tCtrl+Q"}));
  EXPECT_EQ(popupTexts(1), QStringList({"&Undo\tCtrl+Z", "-", "Cu&t\tCtrl+X", "&Copy\tCtrl+C",
                                        "&Paste\tCtrl+V", "De&lete"}));
  EXPECT_EQ(popupTexts(2), QStringList({"&Font...", "&Color"}));
  EXPECT_EQ(popupTexts(3),
            QStringList({"&Cascade\tShift+F5", "Tile &Horizontally", "Tile &Vertically",
                         "&Arrange Icons", "-", "&Plot series\tCtrl+G"}));
}

TEST_F(FrameTest, AcceleratorsAreTheKeysOfMdiAccel) {
  struct Row {
    Command command;
    QKeySequence key;
  } rows[] = {
      {Command::Undo, QKeySequence("Ctrl+Z")},       {Command::Cut, QKeySequence("Ctrl+X")},
      {Command::Copy, QKeySequence("Ctrl+C")},       {Command::Paste, QKeySequence("Ctrl+V")},
      {Command::Cascade, QKeySequence("Shift+F5")},  {Command::Save, QKeySequence("Ctrl+S")},
      {Command::Print, QKeySequence("Ctrl+P")},      {Command::Exit, QKeySequence("Ctrl+Q")},
      {Command::PlotSeries, QKeySequence("Ctrl+G")}, {Command::SaveAs, QKeySequence()}};
  for (const Row& row : rows)
    EXPECT_EQ(frame()->action(row.command)->shortcut(), row.key)
        << static_cast<int>(row.command) << " " << row.key.toString().toStdString();
}

TEST_F(FrameTest, RoutesCommandsByIdentifier) {
  struct Row {
    int parameter;
    Route want;
  } rows[] = {
      {702, Route::Frame},     {0x10000 | 700, Route::Frame},  // high bits ignored
      {701, Route::Frame},     {703, Route::Frame},
      {600, Route::Child},     {613, Route::Child},
      {100, Route::Child},     {800, Route::Child},  // no program item yet
      {0xF060, Route::System}, {0xF000, Route::System},
  };
  for (const Row& row : rows)
    EXPECT_EQ(frame()->command(row.parameter), row.want) << std::hex << row.parameter;
  ASSERT_TRUE(frame()->appendMenuItem(1, 0, "Plot", nullptr));
  EXPECT_EQ(frame()->command(800), Route::ProgramItem) << "an item without a callback";
  EXPECT_EQ(frame()->command(801), Route::Child);
}

TEST_F(FrameTest, UndoTakesBackOnlyTheAnswer) {
  auto undoEnabled = [&] { return frame()->action(Command::Undo)->isEnabled(); };
  io_->writeBlock("some text");
  EXPECT_FALSE(undoEnabled()) << "output is not undone";
  frame()->command(static_cast<int>(Command::Undo));
  EXPECT_EQ(linesOf(io_), std::vector<std::string>{"some text"});
  QTest::keyClicks(io_, "xy");
  EXPECT_TRUE(undoEnabled());
  frame()->command(static_cast<int>(Command::Undo));
  EXPECT_EQ(linesOf(io_), std::vector<std::string>{"some textx"});
  frame()->action(Command::Undo)->trigger();
  EXPECT_EQ(linesOf(io_), std::vector<std::string>{"some text"});
  EXPECT_FALSE(undoEnabled());
  EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(FrameTest, MenuStatesFollowTheWindow) {
  auto enabled = [&](Command c) { return frame()->action(c)->isEnabled(); };
  QGuiApplication::clipboard()->clear();
  io_->writeBlock("alpha beta");
  EXPECT_TRUE(enabled(Command::Save)) << "a modified window";
  for (Command c : {Command::Cut, Command::Copy, Command::Delete, Command::Paste})
    EXPECT_FALSE(enabled(c)) << static_cast<int>(c);
  QTest::mouseDClick(io_->viewport(), Qt::LeftButton, {}, io_->cellPosition(0, 1) + QPoint(2, 2));
  for (Command c : {Command::Cut, Command::Copy, Command::Delete})
    EXPECT_TRUE(enabled(c)) << static_cast<int>(c);
  EXPECT_FALSE(enabled(Command::Paste)) << "the clipboard is empty";
  frame()->command(static_cast<int>(Command::Copy));
  EXPECT_TRUE(enabled(Command::Paste));
  QTest::mouseClick(io_->viewport(), Qt::LeftButton);
  EXPECT_FALSE(enabled(Command::Copy)) << "selection cleared";
  EXPECT_TRUE(enabled(Command::Paste));
  dialogs_.files.push_back(QDir::temp().filePath("ringedit-frame-state.txt"));
  frame()->command(static_cast<int>(Command::Save));
  EXPECT_FALSE(enabled(Command::Save)) << "grayed after the save";
  QFile::remove(QDir::temp().filePath("ringedit-frame-state.txt"));
}

TEST_F(FrameTest, ProgramMenuItemsCallBackWithTheirCheckMark) {
  std::vector<int> calls;
  auto record = [&](int checked) { calls.push_back(checked); };
  ASSERT_TRUE(frame()->appendMenuItem(3, kMenuChecked, "&Plot", record));  // id 800
  ASSERT_TRUE(frame()->insertMenuItem(3, 1, 0, "&Zoom", record));          // id 801, first
  EXPECT_EQ(popupTexts(2), QStringList({"&Zoom", "&Font...", "&Color", "&Plot"}));
  EXPECT_EQ(frame()->nextProgramItem(), 802);
  frame()->command(800);
  frame()->command(801);
  frame()->checkMenuItem(3, 1, kMenuChecked);
  frame()->checkMenuItem(3, 4, 0);
  frame()->command(800);
  frame()->command(801);
  EXPECT_EQ(calls, std::vector<int>({1, 0, 0, 1}));
  frame()->enableMenuItem(3, 4, kMenuGrayed);
  EXPECT_FALSE(frame()->menuBar()->actions()[2]->menu()->actions()[3]->isEnabled());
  frame()->deleteMenuItem(3, 0);  // position 0: nothing
  frame()->deleteMenuItem(3, 1);
  EXPECT_EQ(popupTexts(2), QStringList({"&Font...", "&Color", "&Plot"}));
  ASSERT_TRUE(frame()->insertMenuItem(2, 0, 0, "&Graph", nullptr));
  EXPECT_EQ(frame()->menuBar()->actions()[1]->text(), "&Graph") << "a new popup at position 2";
}

TEST_F(FrameTest, TimersCallTheirCallbacksUntilKilled) {
  int ticks = 0;
  ASSERT_EQ(frame()->setTimer(5, 1, [&] { ++ticks; }), 1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 2000));
  frame()->killTimer(5);
  const int stopped = ticks;
  QTest::qWait(20);
  EXPECT_EQ(ticks, stopped);
  EXPECT_EQ(frame()->timers().inUse(), 0);
}

TEST_F(FrameTest, TheHundredAndFirstTimerFails) {
  for (int k = 1; k <= kTimerEntries; ++k) ASSERT_EQ(frame()->setTimer(k, 100000, [] {}), 1) << k;
  EXPECT_EQ(frame()->setTimer(101, 100000, [] {}), 0);
  frame()->killTimer(50);
  EXPECT_EQ(frame()->setTimer(101, 100000, [] {}), 1);
  for (int k = 1; k <= 101; ++k) frame()->killTimer(k);
}

TEST_F(FrameTest, TilesSideBySideOrOneAboveTheOther) {
  int width = 0, height = 0;
  ASSERT_EQ(environment_.openGraphics(width, height, "", 1, nullptr), 1);
  const QSize area = frame()->mdiArea()->viewport()->size();
  frame()->command(static_cast<int>(Command::TileVertically));
  const QList<QMdiSubWindow*> children = frame()->mdiArea()->subWindowList();
  ASSERT_EQ(children.size(), 2);
  EXPECT_EQ(children[0]->geometry(), QRect(0, 0, area.width() / 2, area.height()));
  EXPECT_EQ(children[1]->geometry().left(), area.width() / 2);
  frame()->command(static_cast<int>(Command::TileHorizontally));
  EXPECT_EQ(children[0]->geometry(), QRect(0, 0, area.width(), area.height() / 2));
  EXPECT_EQ(children[1]->geometry().top(), area.height() / 2);
  frame()->command(static_cast<int>(Command::Cascade));
  EXPECT_LT(children[0]->geometry().topLeft().manhattanLength(),
            children[1]->geometry().topLeft().manhattanLength());
}

// The Window menu ends with the children when it opens; choosing one makes
// it the current child, and a closed child is no longer listed.
TEST_F(FrameTest, WindowMenuListsTheChildrenAndActivatesTheChosenOne) {
  int width = 0, height = 0;
  ASSERT_EQ(environment_.openGraphics(width, height, "", 1, nullptr), 1);
  const QList<QMdiSubWindow*> children = frame()->mdiArea()->subWindowList();
  ASSERT_EQ(children.size(), 2);
  children[1]->setWindowTitle("Rings & years");
  frame()->mdiArea()->setActiveSubWindow(children[1]);
  QMenu* menu = frame()->menuBar()->actions()[3]->menu();
  const QStringList fixed = popupTexts(3);
  const auto checkedItems = [&] {
    QStringList checked;
    for (QAction* a : menu->actions())
      if (a->isChecked()) checked << a->text();
    return checked;
  };
  emit menu->aboutToShow();
  EXPECT_EQ(popupTexts(3),
            fixed + QStringList({"-", "&1 " + children[0]->windowTitle(), "&2 Rings && years"}));
  EXPECT_EQ(checkedItems(), QStringList({"&2 Rings && years"}));

  menu->actions()[fixed.size() + 1]->trigger();
  EXPECT_EQ(frame()->mdiArea()->currentSubWindow(), children[0]);
  emit menu->aboutToShow();
  EXPECT_EQ(popupTexts(3).size(), fixed.size() + 3) << "listed once, not once per opening";
  EXPECT_EQ(checkedItems(), QStringList({"&1 " + children[0]->windowTitle()}));

  delete children[1];
  emit menu->aboutToShow();
  EXPECT_EQ(popupTexts(3), fixed + QStringList({"-", "&1 " + children[0]->windowTitle()}));
}

TEST_F(FrameTest, AboutShowsTheMachineAndCloses) {
  QStringList fields;
  QString caption;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    caption = dialog->windowTitle();
    for (int id = 102; id <= 106; ++id) fields << field(*dialog, id);
    dialog->findChild<QPushButton*>()->click();
  });
  frame()->command(static_cast<int>(Command::About));
  EXPECT_EQ(caption, "About KOVA");
  ASSERT_EQ(fields.size(), 5);
  EXPECT_GT(fields[0].toInt(), 0);
  for (int k : {1, 2}) EXPECT_TRUE(fields[k].startsWith("0x") && fields[k] == fields[k].toLower());
  EXPECT_FALSE(fields[3].isEmpty());
  EXPECT_GT(fields[4].toInt(), 0);
}

}  // namespace
}  // namespace console
