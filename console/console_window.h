// A console window: the frame's child window that holds a console widget,
// saves its text, and asks before it closes.
#pragma once

#include <QMdiSubWindow>
#include <string>

#include "console/console_widget.h"

namespace console {

class ConsoleWindow : public QMdiSubWindow {
  Q_OBJECT

 public:
  ConsoleWindow(const QString& title, bool scrollBars);

  ConsoleWidget* console() const { return console_; }
  // Save: asks for a file the first time, then writes to it; false when
  // cancelled or failed.
  bool save();
  // Save As: always asks; the window is renamed after the file.
  bool saveAs();

 signals:
  // The user let the window close; it is about to go.
  void closing(ConsoleWindow* window);
  // The user cancelled the close.
  void closeCancelled();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  bool mayClose();
  bool writeText(const std::string& path);
  void nameAfter(const std::string& path);

  ConsoleWidget* console_;
};

}  // namespace console
