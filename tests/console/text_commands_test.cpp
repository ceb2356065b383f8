// The console window's commands: Save and Save As with their dialog, the
// save prompt of Exit, the clipboard, printing, font and colour.
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QTest>
#include <cctype>

#include "console/console_window.h"
#include "console/frame.h"
#include "tests/console/fake_dialogs.h"
#include "tests/console/window_fixture.h"
#include "tests/support/console_script.h"

namespace console {
namespace {

using testing_support::TempDir;

class TextCommandTest : public WindowTest {
 protected:
  Frame* frame() { return environment_.frame(); }
  ConsoleWindow* window() { return frame()->currentConsole(); }
  void run(Command c) { frame()->command(static_cast<int>(c)); }
  QString path(const char* name) { return QString::fromStdString(dir_.path() + "/" + name); }
  static QByteArray contents(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }
  FakeDialogs dialogs_;
  TempDir dir_;
};

TEST_F(TextCommandTest, SaveAsksOnceThenWritesToTheSameFile) {
  io_->writeBlock("first\rsecond");
  dialogs_.files.push_back(path("log.txt"));
  run(Command::Save);
  ASSERT_EQ(dialogs_.saveRequests.size(), 1u);
  const SaveFileRequest& asked = dialogs_.saveRequests[0];
  EXPECT_EQ(asked.caption, "Untitled");
  EXPECT_TRUE(asked.proposedPath.endsWith("/Untitled")) << asked.proposedPath.toStdString();
  EXPECT_EQ(asked.filter, "Text Files (*.txt);;All Files (*.*)");
  EXPECT_EQ(asked.defaultSuffix, "txt");
  EXPECT_EQ(contents(path("log.txt")), "first\r\nsecond\r\n");
  EXPECT_EQ(window()->windowTitle(), "log.txt");
  EXPECT_FALSE(io_->text().modified());
  io_->writeBlock("\rthird");
  run(Command::Save);
  EXPECT_EQ(dialogs_.saveRequests.size(), 1u) << "no dialog the second time";
  EXPECT_EQ(contents(path("log.txt")), "first\r\nsecond\r\nthird\r\n");
}

TEST_F(TextCommandTest, SaveAsAlwaysAsksAndCancelChangesNothing) {
  io_->writeBlock("text");
  dialogs_.files = {path("a.txt"), std::nullopt, path("b.txt")};
  run(Command::SaveAs);
  EXPECT_EQ(window()->windowTitle(), "a.txt");
  run(Command::SaveAs);  // cancelled
  EXPECT_EQ(window()->windowTitle(), "a.txt");
  run(Command::SaveAs);
  ASSERT_EQ(dialogs_.saveRequests.size(), 3u);
  EXPECT_EQ(dialogs_.saveRequests[1].proposedPath, path("a.txt")) << "last directory and title";
  EXPECT_EQ(contents(path("b.txt")), "text\r\n");
  io_->writeBlock(" more");
  dialogs_.files.push_back(path("c.txt"));
  run(Command::Save);
  EXPECT_EQ(dialogs_.saveRequests.size(), 4u) << "Save As did not name the file for Save";
}

TEST_F(TextCommandTest, AFileThatCannotBeCreatedIsReported) {
  io_->writeBlock("text");
  dialogs_.files.push_back(path("no/such/dir/x.txt"));
  run(Command::Save);
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text, "Cannot create file");
  EXPECT_EQ(dialogs_.messages[0].caption, "KOVA");
  EXPECT_TRUE(io_->text().modified());
}

struct PromptCase {
  QMessageBox::StandardButton answer;
  bool chooseFile;
  bool closed;
  bool written;
};

// A new "Input/Output" window counts as modified: Exit asks first.
TEST_F(TextCommandTest, ExitAsksAboutTheNewWindow) {
  const PromptCase cases[] = {{QMessageBox::Cancel, false, false, false},
                              {QMessageBox::Yes, true, true, true},
                              {QMessageBox::Yes, false, true, false},
                              {QMessageBox::No, false, true, false}};
  int row = 0;
  for (const PromptCase& c : cases) {
    WindowRun run;
    FakeDialogs& dialogs = dialogs_;
    dialogs.messages.clear();
    dialogs.saveRequests.clear();
    dialogs.buttons = {c.answer};
    const QString file = path("exit.txt");
    QFile::remove(file);
    if (c.chooseFile) dialogs.files = {file};
    run.environment.frame()->command(static_cast<int>(Command::Exit));
    ASSERT_EQ(dialogs.messages.size(), 1u) << row;
    EXPECT_EQ(dialogs.messages[0].text, "Save changes to Input/Output?") << row;
    EXPECT_EQ(dialogs.messages[0].caption, "KOVA") << row;
    EXPECT_EQ(run.environment.quitPosted(), c.closed) << row;
    EXPECT_EQ(run.environment.registry().openCount(), c.closed ? 0 : 1) << row;
    if (c.answer == QMessageBox::Yes) {
      ASSERT_EQ(dialogs.saveRequests.size(), 1u) << row;
      EXPECT_EQ(dialogs.saveRequests[0].caption, "Untitled") << row;
    }
    EXPECT_EQ(QFile::exists(file), c.written) << row;
    ++row;
  }
}

TEST_F(TextCommandTest, TheQuestionIsCutToFiftyCharacters) {
  EXPECT_EQ(saveChangesQuestion(QString(60, 'x') + "  "), "Save changes to " + QString(34, 'x'));
  EXPECT_EQ(saveChangesQuestion("Unit 12   "), "Save changes to Unit 12?");
}

TEST_F(TextCommandTest, PasteFeedsAtMost1024Characters) {
  QString text;
  for (int k = 0; k < 2000; ++k) text += QChar(u'a' + k % 26);
  QGuiApplication::clipboard()->setText(text);
  io_->resize(2000, 200);
  run(Command::Paste);
  ASSERT_EQ(io_->text().lineCount(), 1);
  EXPECT_EQ(io_->text().line(0), text.left(kPasteLimit).toStdString());
}

TEST_F(TextCommandTest, PastedCarriageReturnsEndLinesAndTabsExpand) {
  QGuiApplication::clipboard()->setText(QStringLiteral("ab\tc\rnext"));
  run(Command::Paste);
  EXPECT_EQ(linesOf(io_), std::vector<std::string>({"ab      c", "next"}));
}

TEST_F(TextCommandTest, CutTakesTheWordToTheClipboard) {
  io_->writeBlock("keep this word");
  QTest::mouseDClick(io_->viewport(), Qt::LeftButton, {}, io_->cellPosition(0, 6) + QPoint(2, 2));
  run(Command::Cut);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "this");
  EXPECT_EQ(io_->text().line(0), "keep  word");
  EXPECT_EQ(io_->text().caretColumn(), 10);
  EXPECT_FALSE(frame()->action(Command::Cut)->isEnabled());
  EXPECT_TRUE(frame()->action(Command::Paste)->isEnabled());
}

struct PrintCase {
  int from, to;
  int pages, first, last;
};

// A page of 60 lines: the paper height is measured in lines of the font.
TEST_F(TextCommandTest, PrintsSixtyLinesToAPage) {
  for (int k = 1; k <= 130; ++k) io_->writeBlock("line " + std::to_string(k) + "\r");
  const PrintCase cases[] = {{0, 0, 3, 1, 130}, {2, 2, 1, 61, 120}};
  for (const PrintCase& c : cases) {
    dialogs_.pdfPath = path("print.pdf");
    dialogs_.fromPage = c.from;
    dialogs_.toPage = c.to;
    dialogs_.pageHeightMm = 0;
    QPrinter probe(QPrinter::HighResolution);
    probe.setOutputFormat(QPrinter::PdfFormat);
    const QFontMetrics metrics(io_->textFont(), &probe);
    const int lineUnits = (metrics.height() + metrics.leading()) * 100 / probe.logicalDpiY();
    dialogs_.pageHeightMm = 60.5 * lineUnits / 100 * 25.4;
    const PrintReport report = window()->print();
    EXPECT_EQ(report.plan.linesPerPage, 60) << c.from;
    EXPECT_EQ(report.plan.firstLine, c.first) << c.from;
    EXPECT_EQ(report.plan.lastLine, c.last) << c.from;
    EXPECT_EQ(report.pagesPrinted, c.pages) << c.from;
    EXPECT_EQ(pdfPageCount(dialogs_.pdfPath), c.pages) << c.from;
    // The first and last lines of the range are printed, their neighbours are not.
    const std::string text = pdfText(dialogs_.pdfPath);
    const auto printed = [&](int k) {
      const std::string line = "line " + std::to_string(k);
      for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
        if (at + line.size() == text.size() ||
            !std::isdigit(static_cast<unsigned char>(text[at + line.size()])))
          return true;
      return false;
    };
    EXPECT_TRUE(printed(c.first)) << c.from << "\n" << text;
    EXPECT_TRUE(printed(c.last)) << c.from;
    EXPECT_FALSE(printed(c.first - 1)) << c.from;
    EXPECT_FALSE(printed(c.last + 1)) << c.from;
    EXPECT_TRUE(window()->isEnabled()) << "enabled again after printing";
  }
}

TEST_F(TextCommandTest, PrintCancelledOrWithoutPrinter) {
  dialogs_.printChoice = PrintChoice::Cancelled;
  EXPECT_EQ(window()->print().pagesPrinted, 0);
  EXPECT_TRUE(dialogs_.messages.empty());
  dialogs_.printChoice = PrintChoice::NoDevice;
  EXPECT_EQ(window()->print().pagesPrinted, 0);
  ASSERT_EQ(dialogs_.messages.size(), 1u);
  EXPECT_EQ(dialogs_.messages[0].text, "Cannot obtain Printer DC");
  EXPECT_TRUE(dialogs_.offeredPageRange);
}

TEST_F(TextCommandTest, FontAndColourTakeTheDialogsChoice) {
  const int width = io_->characterWidth();
  QFont big = io_->textFont();
  big.setPointSize(big.pointSize() * 3);
  dialogs_.font = big;
  dialogs_.colour = QColor(Qt::darkRed);
  run(Command::Font);
  run(Command::Colour);
  EXPECT_GT(io_->characterWidth(), width);
  EXPECT_EQ(io_->textColour(), QColor(Qt::darkRed));
  dialogs_.font.reset();
  dialogs_.colour.reset();
  run(Command::Font);
  run(Command::Colour);
  EXPECT_EQ(io_->textColour(), QColor(Qt::darkRed)) << "cancel keeps the colour";
  EXPECT_EQ(dialogs_.fontDialogs, 2);
}

}  // namespace
}  // namespace console
