// Message boxes and file dialogs, through the installed platform dialogs.
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

// The last path chosen in a text Save dialog and in a BMP Save dialog.
QString& lastTextPath() {
  static QString path;
  return path;
}
QString& lastBitmapPath() {
  static QString path;
  return path;
}

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

// The single chosen file of a dialog that was accepted.
std::optional<QString> chosenFile(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

// The directory of the last path (the current one when none) joined with name.
QString proposedPath(const QString& lastPath, const QString& name) {
  const QString directory =
      lastPath.isEmpty() ? QDir::currentPath() : QFileInfo(lastPath).absolutePath();
  return QDir(directory).filePath(name);
}

// Asks with a save dialog captioned name; the choice becomes lastPath.
std::optional<std::string> askSave(QString& lastPath, const QString& name, std::string_view filter,
                                   std::string_view suffix) {
  const std::optional<QString> file =
      platformDialogs().saveFile({name, proposedPath(lastPath, name), text(filter), text(suffix)});
  if (!file) return std::nullopt;
  lastPath = *file;
  return localPath(*file);
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
  return askSave(lastTextPath(), shown, kTextFilter, kTextExtension);
}

std::optional<std::string> askBitmapSavePath(const QString& windowTitle, bool offerPng) {
  return askSave(lastBitmapPath(), windowTitle, offerPng ? kPictureFilter : kBitmapFilter,
                 kBitmapExtension);
}

QString saveChangesQuestion(const QString& windowTitle) {
  QString title = windowTitle;
  while (title.endsWith(QLatin1Char(' '))) title.chop(1);
  QString question = text(kSaveChangesPrefix) + title + text(kSaveChangesSuffix);
  question.truncate(static_cast<qsizetype>(kSaveChangesLimit));
  return question;
}

QMessageBox::StandardButton askSaveChanges(const QString& windowTitle) {
  return platformDialogs().message(QMessageBox::Warning, text(kWarningCaption),
                                   saveChangesQuestion(windowTitle),
                                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

void warn(std::string_view message) {
  platformDialogs().message(QMessageBox::Warning, text(kWarningCaption), text(message),
                            QMessageBox::Ok);
}

void showError(std::string_view message, std::string_view caption) {
  platformDialogs().message(QMessageBox::Critical, text(caption), text(message), QMessageBox::Ok);
}

}  // namespace console
