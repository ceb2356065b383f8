// Start-up and shutdown of the window environment: the first window, the
// final loop, runtime errors, Exit while the program waits, window units,
// unnamed files and the environment's own fatal errors.
#include <QMdiArea>
#include <QMdiSubWindow>
#include <filesystem>

#include "console/console_window.h"
#include "console/frame.h"
#include "fmtio/io.h"
#include "fmtio/stop.h"
#include "tests/console/window_fixture.h"
#include "tests/support/console_script.h"

namespace console {
namespace {

using testing_support::TempDir;

// The question and answer of a read on the console units.
std::string ask(std::string_view question) {
  fmtio::WRITE(fmtio::kConsoleOutput, FMT("(1X,A,' => ',$)"), question);
  std::string answer(20, ' ');
  fmtio::READ(fmtio::kConsoleInput, FMT("(A)"), answer);
  return answer.substr(0, answer.find_last_not_of(' ') + 1);
}

ConsoleWindow* windowTitled(Frame* frame, const QString& title) {
  for (QMdiSubWindow* child : frame->mdiArea()->subWindowList())
    if (child->windowTitle() == title) return qobject_cast<ConsoleWindow*>(child);
  return nullptr;
}

TEST_F(WindowTest, StartsWithTheFrameAndTheInputOutputWindow) {
  Frame* frame = environment_.frame();
  EXPECT_EQ(frame->windowTitle(), "ringedit-test");
  EXPECT_TRUE(frame->isVisible());
  ConsoleWindow* io = windowTitled(frame, "Input/Output");
  ASSERT_NE(io, nullptr);
  EXPECT_EQ(io->console(), io_);
  EXPECT_EQ(io->geometry(), QRect(15, 15, 600, 300));
  EXPECT_EQ(io_->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(io_->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(environment_.registry().registeredCount(), 1);
  EXPECT_EQ(environment_.registry().openCount(), 1);
  EXPECT_TRUE(io_->text().modified()) << "a new window counts as modified";
}

TEST_F(WindowTest, TheWindowsStayAfterStopUntilExit) {
  bool stayed = false;
  QString question, caption;
  driver_
      .then(driver_.whenFinished([&] {
        stayed = environment_.frame()->isVisible() && hasLine(io_, " done") &&
                 !environment_.quitPosted();
        environment_.frame()->action(Command::Exit)->trigger();
      }))
      .press(QMessageBox::No, &question, &caption);
  const int code = run([] {
    fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' done')"));
    fmtio::STOP();
  });
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(stayed);
  EXPECT_EQ(question, "Save changes to Input/Output?");
  EXPECT_EQ(caption, "KOVA");
  EXPECT_FALSE(environment_.frame()->isVisible());
}

TEST_F(WindowTest, ARuntimeErrorIsReportedInTheWindowAndEndsWithMinusOne) {
  bool reported = false;
  driver_.type("abc")
      .then(driver_.whenFinished([&] {
        reported = hasLine(io_, "? FORTRAN Runtime Error:") && hasLine(io_, "? READ(UNIT=5,...");
        environment_.frame()->action(Command::Exit)->trigger();
      }))
      .press(QMessageBox::No);
  const int code = run([] {
    std::int32_t n = 0;
    fmtio::READ(fmtio::kConsoleInput, FMT("(I4)"), n);
  });
  EXPECT_EQ(code, -1);
  EXPECT_TRUE(reported) << "window text:\n" << io_->text().fileBytes();
}

TEST_F(WindowTest, PrintStopShowsStopInTheWindow) {
  fmtio::RuntimeOptions options;
  options.printStop = true;
  fmtio::setRuntimeOptions(options);
  driver_.exitWhenFinished().press(QMessageBox::No);
  EXPECT_EQ(run([] { fmtio::STOP(); }), 0);
  EXPECT_TRUE(hasLine(io_, " STOP")) << io_->text().fileBytes();
}

struct ExitCase {
  QMessageBox::StandardButton button;
  bool wantContinued;
  bool wantSaved;
};

TEST(WindowExit, ExitWhileTheProgramWaitsForInput) {
  const ExitCase cases[] = {
      {QMessageBox::Cancel, true, false},
      {QMessageBox::No, false, false},
      {QMessageBox::Yes, false, true},
  };
  for (const ExitCase& c : cases) {
    WindowRun window("exit");
    TempDir dir;
    QString question;
    window.driver.exitWhileReading().press(c.button, &question);
    if (c.button == QMessageBox::Cancel)
      window.driver.type("goes on").exitWhenFinished().press(QMessageBox::No);
    if (c.button == QMessageBox::Yes) window.driver.chooseFile(dir.file("dialogue.txt"));
    std::string answer = "never read";
    bool continued = false;
    const int code = window.run([&] {
      answer = ask("Name");
      continued = true;
    });
    EXPECT_EQ(code, 0) << c.button;
    EXPECT_EQ(question, "Save changes to Input/Output?") << c.button;
    EXPECT_EQ(continued, c.wantContinued) << c.button;
    if (c.wantContinued) {
      EXPECT_EQ(answer, "goes on");
    }
    EXPECT_EQ(std::filesystem::exists(dir.file("dialogue.txt")), c.wantSaved) << c.button;
    if (c.wantSaved) {
      EXPECT_EQ(dir.read("dialogue.txt"), " Name => \r\n");
    }
    EXPECT_EQ(window.environment.registry().openCount(), 0) << c.button;
    EXPECT_FALSE(window.environment.frame()->isVisible()) << c.button;
  }
}

TEST_F(WindowTest, AWindowUnitGetsAWindowOfItsOwn) {
  ConsoleWindow* plot = nullptr;
  driver_
      .then(driver_.whenFinished([&] {
        plot = windowTitled(environment_.frame(), "Plot");
        ASSERT_NE(plot, nullptr);
        EXPECT_EQ(plot->size(), QSize(300, 200));
        EXPECT_EQ(linesOf(plot->console()), std::vector<std::string>{"in the plot window"});
        environment_.frame()->action(Command::Exit)->trigger();
      }))
      .press(QMessageBox::No)
      .press(QMessageBox::No);
  const int code = run([] {
    fmtio::OpenSpec spec;
    spec.file = "Plot";
    spec.access = "WINDOW,300,200";
    fmtio::OPEN(fmtio::Control::of(7), spec);
    fmtio::WRITE(7, FMT("('in the plot window')"));
    fmtio::CLOSE(fmtio::Control::of(7));
    fmtio::WRITE(fmtio::kConsoleOutput, FMT("(' after')"));
  });
  EXPECT_EQ(code, 0);
  EXPECT_NE(plot, nullptr);
  EXPECT_FALSE(hasLine(io_, "in the plot window"));
  EXPECT_TRUE(hasLine(io_, " after"));
}

TEST_F(WindowTest, TheHundredAndFirstWindowIsAFatalSystemError) {
  QString text, caption;
  driver_.press(QMessageBox::Ok, &text, &caption);
  int opened = 0;
  const int code = run([&] {
    fmtio::OpenSpec spec;
    spec.access = "WINDOW";
    for (int unit = 10; unit < 200; ++unit) {
      spec.file = "w" + std::to_string(unit);
      fmtio::OPEN(fmtio::Control::of(unit), spec);
      ++opened;
    }
  });
  EXPECT_EQ(code, 0) << "the fatal error stops as STOP does";
  EXPECT_EQ(opened, 99) << "the first window and 99 more";
  EXPECT_EQ(text, "System Error found! \"Maximun window allowed to open is 100\", program stop");
  EXPECT_EQ(caption, "System Error");
  EXPECT_TRUE(hasLine(io_, " error code =            0")) << io_->text().fileBytes();
}

TEST_F(WindowTest, AReadWhoseWindowWentIsAnInvalidWindow) {
  QString text, caption;
  driver_
      .then({[&] {
               ConsoleWindow* seven = windowTitled(environment_.frame(), "Seven");
               return seven != nullptr && seven->console()->readPending();
             },
             [&] { windowTitled(environment_.frame(), "Seven")->close(); }, "read on unit 7"})
      .press(QMessageBox::No)
      .press(QMessageBox::Ok, &text, &caption);
  bool readReturned = false;
  const int code = run([&] {
    fmtio::OpenSpec spec;
    spec.file = "Seven";
    spec.access = "WINDOW";
    fmtio::OPEN(fmtio::Control::of(7), spec);
    std::string line(10, ' ');
    fmtio::READ(7, FMT("(A)"), line);
    readReturned = true;
  });
  EXPECT_EQ(code, 0);
  EXPECT_FALSE(readReturned);
  EXPECT_EQ(text, "Not a valid window, program exited.");
  EXPECT_EQ(caption, "Window Handler Error");
}

struct UnnamedCase {
  const char* status;
  bool choose;
  QString wantTitle;
  std::int32_t wantIostat;
};

TEST(WindowFiles, AUnitWithoutAFileNameAsksWithAFileDialog) {
  TempDir dir;
  dir.write("old.dat", "1901\n");
  const UnnamedCase cases[] = {
      {"OLD", true, "Open file on FORTRAN UNIT 11", 0},
      {"NEW", true, "Create file on FORTRAN UNIT 11", 0},
      {"OLD", false, "Open file on FORTRAN UNIT 11", 10014},
  };
  for (const UnnamedCase& c : cases) {
    WindowRun window("files");
    WindowDriver& driver = window.driver;
    QString title;
    const std::string file = dir.file(std::string(c.status) == "OLD" ? "old.dat" : "made.dat");
    if (c.choose)
      driver.chooseFile(file, &title);
    else
      driver.cancelFileDialog(&title);
    driver.exitWhenFinished().press(QMessageBox::No);
    std::int32_t ios = -1;
    std::string line(4, ' ');
    window.run([&] {
      fmtio::OpenSpec spec;
      spec.status = c.status;
      fmtio::OPEN({.unit = 11, .iostat = &ios, .err = true}, spec);
      if (ios == 0 && std::string(c.status) == "OLD") fmtio::READ(11, FMT("(A)"), line);
    });
    EXPECT_EQ(title, c.wantTitle) << c.status;
    EXPECT_EQ(ios, c.wantIostat) << c.status;
    if (c.choose) {
      EXPECT_TRUE(std::filesystem::exists(file)) << c.status;
      if (std::string(c.status) == "OLD") {
        EXPECT_EQ(line, "1901");
      }
    }
  }
}

}  // namespace
}  // namespace console
