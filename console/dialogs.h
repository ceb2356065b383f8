// The environment's message boxes and file dialogs.
#pragma once

#include <QColor>
#include <QFont>
#include <QMessageBox>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

class QPrinter;

namespace console {

// A save-file dialog: caption, proposed path, filter ("Name (*.ext);;..."),
// default extension; it asks before overwriting and hides read-only.
struct SaveFileRequest {
  QString caption;
  QString proposedPath;
  QString filter;
  QString defaultSuffix;
};

// What the print dialog gave: cancelled, a printer, or no device to print on.
enum class PrintChoice { Cancelled, Printer, NoDevice };

// The platform's dialogs that the frame's commands open. Tests install
// their own to answer them; the platform's are used otherwise.
class PlatformDialogs {
 public:
  virtual ~PlatformDialogs() = default;
  // The chosen path, or nothing when cancelled.
  virtual std::optional<QString> saveFile(const SaveFileRequest& request) = 0;
  virtual QMessageBox::StandardButton message(QMessageBox::Icon icon, const QString& caption,
                                              const QString& text,
                                              QMessageBox::StandardButtons buttons) = 0;
  // The print dialog; pageRange offers pages 1 to 32767 (1 to 1 preset).
  // On Printer the printer is set up: page range, copies, destination.
  virtual PrintChoice print(QPrinter& printer, bool pageRange) = 0;
  // Fixed-pitch fonts only; false when cancelled.
  virtual bool chooseFont(QFont& font) = 0;
  virtual bool chooseColour(QColor& colour) = 0;
};

PlatformDialogs& platformDialogs();
// Dialogs that answer instead of the platform's; nullptr restores them.
void setPlatformDialogs(PlatformDialogs* dialogs);

// The file of a unit opened without a name: an open dialog for an existing
// file (mustExist) or a save dialog that asks before overwriting; 0, or
// 10014 when cancelled.
int askUnitFileName(int unit, bool mustExist, std::string& name);

// The text Save dialog for a window: proposes the window's title (the
// first window's as "Untitled") in the directory last used.
std::optional<std::string> askTextSavePath(const QString& windowTitle);

// The BMP Save dialog of the graphics window: proposes the title in the
// directory last used by it; with offerPng, PNG files may be chosen too.
std::optional<std::string> askBitmapSavePath(const QString& windowTitle, bool offerPng = false);

// "Save changes to <title>?" with Yes, No and Cancel.
QMessageBox::StandardButton askSaveChanges(const QString& windowTitle);

// "Save changes to <title>?" as the save prompt words it (cut to 50).
QString saveChangesQuestion(const QString& windowTitle);

// A warning box captioned "KOVA".
void warn(std::string_view text);

// An error box without an owner.
void showError(std::string_view text, std::string_view caption);

}  // namespace console
