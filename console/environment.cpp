// Start of the window environment, its windows and the Exit command.
#include "console/environment.h"

#include <QMdiArea>

#include "console/console_window.h"
#include "console/frame.h"
#include "console/messages.h"
#include "console/series_plotter.h"
#include "console/window_settings.h"
#include "fmtio/hooks.h"
#include "fmtio/stop.h"

namespace console {
Environment::Environment() = default;

// The runtime gets its plain console back.
Environment::~Environment() {
  fmtio::installDefaultHooks();
  plotter_.reset();
  frame_.reset();
}

// Qt needs no registration of window kinds: the frame, the console windows
// and their widgets are classes of their own.
int Environment::start(const QString& frameTitle) {
  installHooks();
  registry_.reset();
  registry_.registerUnit(fmtio::kStandardWindow);
  frame_ = std::make_unique<Frame>(frameTitle);
  frame_->setExitCommand([this] { return exitCommand(); });
  plotter_ = std::make_unique<SeriesPlotter>(*frame_);
  frame_->setPlotCommand([this] { plotter_->show(); });
  restoreFrame(*frame_);
  frame_->show();
  const QString title = QString::fromLatin1(kInputOutputTitle.data(),
                                            static_cast<qsizetype>(kInputOutputTitle.size()));
  ConsoleWindow* io = createConsole(title, kInputOutputGeometry, true);
  if (io == nullptr) return kStartFailed;
  frame_->activateWindow();
  io->console()->setFocus();
  return 0;
}

int Environment::run(const std::function<void()>& mainRoutine) {
  return fmtio::runProgram(mainRoutine);
}

// A new window takes the registry entry registered last; the 101st is fatal.
// A geometry without a position leaves the placing to the frame.
ConsoleWindow* Environment::createConsole(const QString& title, const QRect& geometry,
                                          bool scrollBars) {
  auto* window = new ConsoleWindow(title, scrollBars);
  if (!registry_.attach(window->console())) {
    delete window;
    fatalSystemError(kTooManyWindows, 0);
  }
  frame_->addConsole(window);
  restoreLook(*window->console());
  QObject::connect(window->console(), &ConsoleWidget::readEnded, window,
                   [this] { loops_.recheck(); });
  QObject::connect(window, &ConsoleWindow::closing, window,
                   [this](ConsoleWindow* w) { windowClosing(w); });
  QObject::connect(window, &ConsoleWindow::closeCancelled, window,
                   [this] { registry_.closing = false; });
  if (geometry.isValid() && geometry.topLeft() != QPoint())
    window->setGeometry(geometry);
  else if (geometry.isValid())
    window->resize(geometry.size());
  window->show();
  return window;
}

void Environment::windowClosing(ConsoleWindow* window) {
  registry_.detach(window->console());
  loops_.recheck();
}

// The end of the session shows: the frame's title and status line say so,
// and the console windows take no more typing.
void Environment::showFinished() {
  if (frame_ == nullptr) return;
  frame_->markFinished();
  for (QMdiSubWindow* child : frame_->mdiArea()->subWindowList())
    if (auto* window = qobject_cast<ConsoleWindow*>(child)) window->console()->closeInput();
}

void Environment::clearWindow(int unit) {
  ConsoleWidget* console = registry_.find(unit <= 0 ? fmtio::kStandardWindow : unit);
  if (console != nullptr) console->clearText();
  pump();
}

// Exit: closes the console windows one by one, the current one first; a
// cancelled close keeps everything. Then the frame goes and quit is posted;
// a program still running stops when its next console call sees the quit.
bool Environment::exitCommand() {
  rememberFrame(*frame_);
  for (;;) {
    registry_.closing = true;
    if (registry_.openCount() == 0) break;
    ConsoleWindow* window = windowToClose();
    const int open = registry_.openCount();
    if (window != nullptr) window->close();
    if (!registry_.closing || registry_.openCount() == open) return false;
  }
  frame_->hide();
  loops_.postQuit(0);
  return true;
}

ConsoleWindow* Environment::windowToClose() const {
  auto* current = qobject_cast<ConsoleWindow*>(frame_->mdiArea()->currentSubWindow());
  if (current != nullptr && registry_.holds(current->console())) return current;
  for (QMdiSubWindow* child : frame_->mdiArea()->subWindowList()) {
    auto* window = qobject_cast<ConsoleWindow*>(child);
    if (window != nullptr && registry_.holds(window->console())) return window;
  }
  return nullptr;
}

}  // namespace console
