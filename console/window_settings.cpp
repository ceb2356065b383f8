// The frame's geometry and the console look in the application's settings.
#include "console/window_settings.h"

#include <QMainWindow>
#include <QSettings>

#include "console/console_widget.h"

namespace console {
namespace {

// Setting keys.
constexpr char kFrameGeometry[] = "frame/geometry";
constexpr char kConsoleFont[] = "console/font";
constexpr char kConsoleColour[] = "console/colour";

}  // namespace

void restoreFrame(QMainWindow& frame) {
  const QByteArray geometry = QSettings().value(kFrameGeometry).toByteArray();
  if (!geometry.isEmpty()) frame.restoreGeometry(geometry);
}

void rememberFrame(const QMainWindow& frame) {
  QSettings().setValue(kFrameGeometry, frame.saveGeometry());
}

// A font or colour that does not read back is left as it is.
void restoreLook(ConsoleWidget& console) {
  const QSettings settings;
  QFont font;
  if (settings.contains(kConsoleFont) && font.fromString(settings.value(kConsoleFont).toString()))
    console.setTextFont(font);
  const QColor colour(settings.value(kConsoleColour).toString());
  if (colour.isValid()) console.setTextColour(colour);
}

void rememberLook(const ConsoleWidget& console) {
  QSettings settings;
  settings.setValue(kConsoleFont, console.textFont().toString());
  settings.setValue(kConsoleColour, console.textColour().name());
}

}  // namespace console
