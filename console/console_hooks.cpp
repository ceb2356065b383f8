// The console hooks of the window environment: the runtime's reads, writes,
// pumps, final loop, window units and unnamed files, and the stops that the
// environment itself makes.
#include <QPointer>

#include "console/console_window.h"
#include "console/dialogs.h"
#include "console/environment.h"
#include "console/messages.h"
#include "console/stream_blocks.h"
#include "fmtio/hooks.h"
#include "fmtio/io.h"
#include "fmtio/stop.h"

namespace console {
namespace {

std::string trimmedRight(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return std::string(text.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

}  // namespace

void Environment::installHooks() {
  fmtio::ConsoleHooks& hooks = fmtio::consoleHooks();
  hooks.readLine = [this](int unit, std::string& line) { return readLine(unit, line); };
  hooks.writeBlock = [this](int unit, bool, std::string_view bytes) { writeBlock(unit, bytes); };
  hooks.pump = [this] { pump(); };
  hooks.finalLoop = [this] { finalLoop(); };
  hooks.openWindow = [this](int unit, std::string_view title, int width, int height) {
    return openWindow(unit, title, width, height);
  };
  hooks.closeWindow = [](int) {};  // the window stays open after CLOSE
  hooks.askFileName = [this](int unit, bool mustExist, std::string& name) {
    return askFileName(unit, mustExist, name);
  };
  hooks.plainConsole = false;
}

// Waits in a loop of its own until Enter in the unit's window (or until the
// window goes, or quit); the reply is the last line from the input start.
bool Environment::readLine(int unit, std::string& line) {
  if (ConsoleWidget* console = registry_.find(unit)) {
    QPointer<ConsoleWidget> window(console);
    console->beginRead();
    loops_.runUntil([&] { return !window || !registry_.holds(window) || !window->readPending(); });
  }
  stopIfQuit();
  ConsoleWidget* console = registry_.find(unit);
  if (console == nullptr) {
    showError(kInvalidWindow, kInvalidWindowCaption);
    stopNow(-1);
  }
  line = console->takeReply(kReadCapacity);
  return true;
}

// One block per line, each shown and followed by a pump. A unit without a
// window ends the program.
void Environment::writeBlock(int unit, std::string_view bytes) {
  QPointer<ConsoleWidget> window(registry_.find(unit));
  if (window == nullptr) loops_.postQuit(-1);
  for (const std::string& block : consoleBlocks(bytes)) {
    if (!window || !registry_.holds(window)) break;
    window->writeBlock(block);
    EventLoops::pump();
  }
  stopIfQuit();
}

void Environment::pump() {
  EventLoops::pump();
  stopIfQuit();
}

// After the program has stopped the windows stay usable until Exit.
void Environment::finalLoop() {
  finalLoopRunning_ = true;
  showFinished();
  loops_.runUntil([] { return false; });
}

bool Environment::openWindow(int unit, std::string_view title, int width, int height) {
  if (!registry_.registerUnit(unit)) fatalSystemError(kTooManyWindows, 0);
  if (unit <= 0) return true;
  const QRect size = width != 0 && height != 0 ? QRect(0, 0, width, height) : QRect();
  createConsole(QString::fromLocal8Bit(title.data(), static_cast<qsizetype>(title.size())), size,
                false);
  return true;
}

int Environment::askFileName(int unit, bool mustExist, std::string& name) {
  return askUnitFileName(unit, mustExist, name);
}

void Environment::fatalSystemError(std::string_view text, int code) {
  std::string message = std::string(kSystemErrorPrefix) + '"' + trimmedRight(text) + '"' +
                        std::string(kSystemErrorSuffix);
  if (message.size() > kSystemErrorLimit) message.resize(kSystemErrorLimit);
  // Laid out as a list-directed WRITE lays out a text and an integer.
  fmtio::WRITE(fmtio::kConsoleOutput, FMT("(1X,A,I12)"), kErrorCodeLabel,
               static_cast<std::int32_t>(code));
  showError(message, kSystemErrorCaption);
  stopNow(-1);
}

// Quit was posted while the program ran: it stops as a STOP without text does.
void Environment::stopIfQuit() {
  if (loops_.quitPosted() && !stopping_) stopNow(0);
}

void Environment::stopNow(int quitCode) {
  loops_.postQuit(quitCode);
  stopping_ = true;
  fmtio::STOP();
}

}  // namespace console
