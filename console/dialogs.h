// The environment's message boxes and file dialogs.
#pragma once

#include <QMessageBox>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace console {

// The file of a unit opened without a name: an open dialog for an existing
// file (mustExist) or a save dialog that asks before overwriting; 0, or
// 10014 when cancelled.
int askUnitFileName(int unit, bool mustExist, std::string& name);

// The text Save dialog for a window: proposes the window's title (the
// first window's as "Untitled") in the directory last used.
std::optional<std::string> askTextSavePath(const QString& windowTitle);

// "Save changes to <title>?" with Yes, No and Cancel.
QMessageBox::StandardButton askSaveChanges(const QString& windowTitle);

// A warning box captioned "KOVA".
void warn(std::string_view text);

// An error box without an owner.
void showError(std::string_view text, std::string_view caption);

}  // namespace console
