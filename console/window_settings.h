// What ringedit-window remembers from one run to the next, in the
// application's QSettings: the frame's size and place, and the font and text
// colour last chosen for a console window (every console window starts
// with them).
#pragma once

class QMainWindow;

namespace console {

class ConsoleWidget;

void restoreFrame(QMainWindow& frame);
void rememberFrame(const QMainWindow& frame);
void restoreLook(ConsoleWidget& console);
void rememberLook(const ConsoleWidget& console);

}  // namespace console
