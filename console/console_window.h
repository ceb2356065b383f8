// A console window: the frame's child window that holds a console widget,
// takes the text commands (save, print, clipboard, font, colour) and asks
// before it closes.
#pragma once

#include <QMdiSubWindow>
#include <string>

#include "console/console_widget.h"
#include "console/frame.h"
#include "console/print_plan.h"

class QPrinter;

namespace console {

// Paste feeds at most this many characters of the clipboard.
constexpr int kPasteLimit = 1024;

// The system clipboard holds text to paste.
bool clipboardHasText();

// What a print produced: the plan of one copy and the pages started.
struct PrintReport {
  PrintPlan plan;
  int pagesPrinted = 0;
  int linesPrinted = 0;
};

class ConsoleWindow : public QMdiSubWindow, public CommandTarget {
  Q_OBJECT

 public:
  ConsoleWindow(const QString& title, bool scrollBars);

  ConsoleWidget* console() const { return console_; }
  // The console window commands by identifier (500 to 651).
  void command(int id) override;
  // Save: asks for a file the first time, then writes to it; false when
  // cancelled or failed.
  bool save();
  // Save As: always asks; the window is renamed after the file.
  bool saveAs();
  // The selected word to the clipboard; false when nothing could be put.
  bool copy();
  bool cut();
  void paste();
  void chooseFont();
  void chooseColour();
  // Prints the text after the print dialog; nothing when cancelled.
  PrintReport print();
  // The lines of the text on a printer set up by the print dialog.
  PrintReport printOn(QPrinter& printer);

 signals:
  // The user let the window close; it is about to go.
  void closing(ConsoleWindow* window);
  // The user cancelled the close.
  void closeCancelled();
  // A Cut or Copy put text on the clipboard.
  void copied();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  bool mayClose();
  bool writeText(const std::string& path);
  void nameAfter(const std::string& path);

  ConsoleWidget* console_;
  bool printContinue_ = true;
};

}  // namespace console
