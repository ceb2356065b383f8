// The texts of the window environment: window titles, message boxes and
// file dialogs.
#pragma once

#include <string_view>

namespace console {

// The first console window, which serves the standard units.
inline constexpr std::string_view kInputOutputTitle = "Input/Output";

// Recoverable problems: a warning box with this caption.
inline constexpr std::string_view kWarningCaption = "KOVA";
inline constexpr std::string_view kSaveChangesPrefix = "Save changes to ";
inline constexpr std::string_view kSaveChangesSuffix = "?";
inline constexpr std::size_t kSaveChangesLimit = 50;
inline constexpr std::string_view kCannotCreateFile = "Cannot create file";
inline constexpr std::string_view kWriteFailed = "I/O error while writing file";

// The text Save dialog.
inline constexpr std::string_view kTextFilter = "Text Files (*.txt);;All Files (*.*)";
inline constexpr std::string_view kTextExtension = "txt";
// The BMP Save dialog of the graphics window.
inline constexpr std::string_view kBitmapFilter = "BitMap Files (*.bmp);;All Files (*.*)";
inline constexpr std::string_view kBitmapExtension = "bmp";
// The plot's Save dialog offers PNG beside BMP.
inline constexpr std::string_view kPictureFilter =
    "BitMap Files (*.bmp);;PNG Files (*.png);;All Files (*.*)";
inline constexpr std::string_view kPngExtension = ".png";
// Printing.
inline constexpr std::string_view kNoPrinter = "Cannot obtain Printer DC";
inline constexpr std::string_view kTextDocument = "KOVA Input/Output";
inline constexpr std::string_view kGraphicDocument = "KOVA Graphic";
// The graphics window.
inline constexpr std::string_view kGraphicsTitle = "Graphics";
inline constexpr std::size_t kGraphicsTitleLimit = 80;
// Proposed instead of the title "Input/Output".
inline constexpr std::string_view kUntitled = "Untitled";

// The file dialogs of units opened without a file name.
inline constexpr std::string_view kOpenUnitTitle = "Open file on FORTRAN UNIT ";
inline constexpr std::string_view kCreateUnitTitle = "Create file on FORTRAN UNIT ";
inline constexpr std::string_view kDataFilter = "Data Files (*.dat)";
inline constexpr std::string_view kDataExtension = "dat";

// Fatal errors of the environment.
inline constexpr std::string_view kSystemErrorPrefix = "System Error found! ";
inline constexpr std::string_view kSystemErrorSuffix = ", program stop";
inline constexpr std::size_t kSystemErrorLimit = 100;
inline constexpr std::string_view kSystemErrorCaption = "System Error";
inline constexpr std::string_view kErrorCodeLabel = "error code = ";
inline constexpr std::string_view kTooManyWindows = "Maximun window allowed to open is 100";
inline constexpr std::string_view kInvalidWindow = "Not a valid window, program exited.";
inline constexpr std::string_view kInvalidWindowCaption = "Window Handler Error";

}  // namespace console
