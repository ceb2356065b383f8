#include "tests/console/window_driver.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <memory>

#include "console/console_widget.h"
#include "console/environment.h"
#include "console/frame.h"

namespace console {
namespace {

constexpr int kTickMs = 5;
// A step that waits longer than this fails the test and ends the program.
constexpr int kPatienceTicks = 2000;

}  // namespace

void typeLine(ConsoleWidget* console, const std::string& answer) {
  // A character beyond ASCII has no key of its own: it comes as the text of
  // a key event, as a keyboard layout or an input method delivers it.
  for (QChar ch : QString::fromUtf8(answer.data(), static_cast<qsizetype>(answer.size()))) {
    if (ch.unicode() < 0x80) {
      QTest::keyClick(console, static_cast<char>(ch.unicode()));
      continue;
    }
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
    QApplication::sendEvent(console, &press);
  }
  QTest::keyClick(console, Qt::Key_Return);
}

WindowDriver::WindowDriver(Environment& environment) : environment_(environment) {
  connect(&timer_, &QTimer::timeout, this, &WindowDriver::tick);
  timer_.start(kTickMs);
}

WindowDriver::~WindowDriver() { timer_.stop(); }

WindowDriver& WindowDriver::then(Step step) {
  steps_.push_back(std::move(step));
  return *this;
}

// The step is taken off before it acts: its action may run a dialog whose
// loop lets the next steps run. A program left waiting with nothing more to
// do for it fails the test and is ended.
void WindowDriver::tick() {
  ConsoleWidget* io = environment_.console(-1);
  const bool modal = QApplication::activeModalWidget() != nullptr;
  const bool stuck = !environment_.quitPosted() &&
                     (environment_.finalLoopRunning() || (io != nullptr && io->readPending()));
  const bool waiting = steps_.empty() ? modal || stuck : !steps_.front().ready();
  if (waiting) {
    if (++idleTicks_ > kPatienceTicks) giveUp();
    return;
  }
  idleTicks_ = 0;
  if (steps_.empty() || starting_) return;
  starting_ = true;
  auto step = std::make_shared<Step>(std::move(steps_.front()));
  steps_.pop_front();
  // From a timer of its own: a timer's event does not come again while it
  // is being handled, and the action may wait in a dialog for later steps.
  QTimer::singleShot(0, this, [this, step] {
    starting_ = false;
    step->act();
  });
}

void WindowDriver::giveUp() {
  ADD_FAILURE() << "the program waits; steps left: " << pending();
  steps_.clear();
  for (int k = 0; k < 10 && QApplication::activeModalWidget() != nullptr; ++k)
    QApplication::activeModalWidget()->close();
  environment_.postQuit(-1);
}

std::string WindowDriver::pending() const {
  std::string names;
  for (const Step& s : steps_) names += s.what + "; ";
  return names;
}

WindowDriver::Step WindowDriver::whenReading(std::function<void()> act, std::string what) {
  return {[this] {
            ConsoleWidget* io = environment_.console(-1);
            return io != nullptr && io->readPending() &&
                   QApplication::activeModalWidget() == nullptr;
          },
          std::move(act), std::move(what)};
}

WindowDriver::Step WindowDriver::whenModal(std::function<void(QWidget*)> act, std::string what) {
  return {[] { return QApplication::activeModalWidget() != nullptr; },
          [act = std::move(act)] { act(QApplication::activeModalWidget()); }, std::move(what)};
}

WindowDriver::Step WindowDriver::whenFinished(std::function<void()> act, std::string what) {
  return {[this] {
            return environment_.finalLoopRunning() && QApplication::activeModalWidget() == nullptr;
          },
          std::move(act), std::move(what)};
}

WindowDriver& WindowDriver::type(const std::string& answer) {
  return then(whenReading([this, answer] { typeLine(environment_.console(-1), answer); },
                          "read for '" + answer + "'"));
}

WindowDriver& WindowDriver::exitWhileReading() {
  return then(whenReading([this] { environment_.frame()->action(Command::Exit)->trigger(); },
                          "read, then Exit"));
}

WindowDriver& WindowDriver::exitWhenFinished() {
  return then(whenFinished([this] { environment_.frame()->action(Command::Exit)->trigger(); },
                           "final loop, then Exit"));
}

WindowDriver& WindowDriver::press(QMessageBox::StandardButton button, QString* text,
                                  QString* caption) {
  return then(whenModal(
      [button, text, caption](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr) << "not a message box: " << modal->metaObject()->className();
        if (text != nullptr) *text = box->text();
        if (caption != nullptr) *caption = box->windowTitle();
        box->button(button)->click();
      },
      "message box"));
}

WindowDriver& WindowDriver::chooseFile(const std::string& path, QString* title) {
  return then(whenModal(
      [path, title](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr) << "not a file dialog: " << modal->metaObject()->className();
        if (title != nullptr) *title = dialog->windowTitle();
        // Typed into the file name box, as the user would.
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(QString::fromLocal8Bit(path.c_str()));
        static_cast<QDialog*>(dialog)->accept();  // as the Save or Open button does
      },
      "file dialog for " + path));
}

WindowDriver& WindowDriver::cancelFileDialog(QString* title) {
  return then(whenModal(
      [title](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        ASSERT_NE(dialog, nullptr) << "not a file dialog: " << modal->metaObject()->className();
        if (title != nullptr) *title = dialog->windowTitle();
        dialog->reject();
      },
      "file dialog to cancel"));
}

}  // namespace console
