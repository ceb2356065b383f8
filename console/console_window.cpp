// Saving a console window's text and the question before it closes.
#include "console/console_window.h"

#include <QCloseEvent>
#include <QFileInfo>

#include "console/dialogs.h"
#include "console/messages.h"

namespace console {

ConsoleWindow::ConsoleWindow(const QString& title, bool scrollBars) : console_(new ConsoleWidget) {
  setWidget(console_);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(title);
  const Qt::ScrollBarPolicy policy = scrollBars ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded;
  console_->setVerticalScrollBarPolicy(policy);
  console_->setHorizontalScrollBarPolicy(policy);
}

bool ConsoleWindow::save() {
  if (!console_->text().hasFileName()) {
    const std::optional<std::string> path = askTextSavePath(windowTitle());
    if (!path) return false;
    console_->nameFile(*path, true);
    nameAfter(*path);
  }
  return writeText(console_->text().fileName());
}

bool ConsoleWindow::saveAs() {
  const std::optional<std::string> path = askTextSavePath(windowTitle());
  if (!path) return false;
  console_->nameFile(*path, false);
  nameAfter(*path);
  return writeText(*path);
}

void ConsoleWindow::nameAfter(const std::string& path) {
  setWindowTitle(QFileInfo(QString::fromLocal8Bit(path.c_str())).fileName());
}

bool ConsoleWindow::writeText(const std::string& path) {
  switch (console_->saveTo(path)) {
    case SaveResult::Saved: return true;
    case SaveResult::CannotCreate: warn(kCannotCreateFile); return false;
    case SaveResult::WriteFailed: warn(kWriteFailed); return false;
  }
  return false;
}

// The save prompt: an unmodified window closes at once; Yes saves (asking
// for a file when the window has none) and closes even if no file was chosen.
bool ConsoleWindow::mayClose() {
  if (!console_->text().modified()) return true;
  switch (askSaveChanges(windowTitle())) {
    case QMessageBox::No: return true;
    case QMessageBox::Yes: break;
    default: return false;
  }
  if (console_->text().hasFileName()) {
    writeText(console_->text().fileName());
  } else if (const std::optional<std::string> path = askTextSavePath(windowTitle())) {
    writeText(*path);
  }
  return true;
}

void ConsoleWindow::closeEvent(QCloseEvent* event) {
  if (!mayClose()) {
    event->ignore();
    emit closeCancelled();
    return;
  }
  emit closing(this);
  QMdiSubWindow::closeEvent(event);
}

}  // namespace console
