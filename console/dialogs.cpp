// Message boxes and file dialogs.
#include "console/dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include "console/messages.h"
#include "fmtio/errors.h"

namespace console {
namespace {

QString text(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The last path chosen in a text Save dialog.
QString& lastTextPath() {
  static QString path;
  return path;
}

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The single chosen file of a dialog that was accepted.
std::optional<QString> chosenFile(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

}  // namespace

int askUnitFileName(int unit, bool mustExist, std::string& name) {
  const QString title = text(mustExist ? kOpenUnitTitle : kCreateUnitTitle) + QString::number(unit);
  QFileDialog dialog(nullptr, title, QDir::currentPath(), text(kDataFilter));
  dialog.setAcceptMode(mustExist ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setDefaultSuffix(text(kDataExtension));
  const std::optional<QString> file = chosenFile(dialog);
  if (!file) return fmtio::kErrBadFileSpec;
  name = localPath(*file);
  return 0;
}

std::optional<std::string> askTextSavePath(const QString& windowTitle) {
  const QString shown = windowTitle == text(kInputOutputTitle) ? text(kUntitled) : windowTitle;
  const QString directory =
      lastTextPath().isEmpty() ? QDir::currentPath() : QFileInfo(lastTextPath()).absolutePath();
  QFileDialog dialog(nullptr, shown, QDir(directory).filePath(shown), text(kTextFilter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(text(kTextExtension));
  const std::optional<QString> file = chosenFile(dialog);
  if (!file) return std::nullopt;
  lastTextPath() = *file;
  return localPath(*file);
}

QMessageBox::StandardButton askSaveChanges(const QString& windowTitle) {
  QString title = windowTitle;
  while (title.endsWith(QLatin1Char(' '))) title.chop(1);
  QString question = text(kSaveChangesPrefix) + title + text(kSaveChangesSuffix);
  question.truncate(static_cast<qsizetype>(kSaveChangesLimit));
  QMessageBox box(QMessageBox::Warning, text(kWarningCaption), question,
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

void warn(std::string_view message) {
  QMessageBox box(QMessageBox::Warning, text(kWarningCaption), text(message), QMessageBox::Ok);
  box.exec();
}

void showError(std::string_view message, std::string_view caption) {
  QMessageBox box(QMessageBox::Critical, text(caption), text(message), QMessageBox::Ok);
  box.exec();
}

}  // namespace console
