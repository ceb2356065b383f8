// ringedit-window: the edit session in a window of its own, with the
// dialogue in the "Input/Output" console window.
#include <QApplication>
#include <QFileInfo>
#include <string>
#include <vector>

#include "app/session.h"
#include "console/startup.h"
#include "fmtio/interrupt.h"
#include "fmtio/options.h"

int main(int argc, char** argv) {
  console::setFloatingPointControl();
  QApplication application(argc, argv);
  // Where QSettings keeps the frame's place and the console's look.
  QCoreApplication::setOrganizationName(QStringLiteral("ringedit"));
  QCoreApplication::setApplicationName(QStringLiteral("ringedit-window"));
  QApplication::setQuitOnLastWindowClosed(false);
  // The arguments after the program name, without the toolkit's own options.
  const QStringList arguments = QCoreApplication::arguments();
  std::vector<std::string> words;
  for (qsizetype k = 1; k < arguments.size(); ++k)
    words.push_back(arguments[k].toLocal8Bit().toStdString());
  fmtio::setCommandLine(std::move(words));
  fmtio::catchInterrupts();
  const QString title = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
  const int code = console::runWindowed(app::editSession, title);
  return code == -1 ? 255 : code;
}
