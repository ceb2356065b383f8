// The console widget: paints a console window's text (ConsoleText) in a
// fixed-pitch font and feeds it the user's keys and mouse clicks and the
// program's output. The scroll bars show the text's scroll limits and
// positions and send the user's scroll requests back to it.
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QColor>
#include <QFont>
#include <string>
#include <string_view>

#include "console/console_text.h"

namespace console {

class ConsoleWidget : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit ConsoleWidget(QWidget* parent = nullptr);

  const ConsoleText& text() const { return text_; }
  // Shows a block of program output.
  void writeBlock(std::string_view block);
  // Empties the window.
  void clearText();
  // A read waits for Enter.
  void beginRead();
  bool readPending() const { return text_.readPending(); }
  // The reply of the read that Enter ended, with CR LF.
  std::string takeReply(int capacity) { return text_.takeReply(capacity); }
  // Saving: the text goes to path; the window's name follows the choice.
  SaveResult saveTo(const std::string& path);
  void nameFile(const std::string& path, bool chosenBySave) {
    text_.setFileName(path, chosenBySave);
  }

  // Characters typed or pasted (UTF-8): one step for Undo; only backspace,
  // tab and carriage return among the control characters are taken.
  void typeText(std::string_view typed);
  // Takes the answer back one step.
  void undo();
  // Moves the view so that the caret (the line being answered) is in it.
  void showCaret();
  // The program has ended: keys and Paste no longer type or edit.
  void closeInput() { inputClosed_ = true; }
  bool inputClosed() const { return inputClosed_; }
  // Deletes the selected word (the caret follows) and clears the selection.
  void deleteSelection();
  const QFont& textFont() const { return font_; }
  // A new font: new cell size, visible rows and columns, repaint.
  void setTextFont(const QFont& font);
  QColor textColour() const { return textColour_; }
  void setTextColour(const QColor& colour);

  int characterWidth() const { return characterWidth_; }
  int characterHeight() const { return characterHeight_; }
  // The pixel position of a cell in the viewport.
  QPoint cellPosition(int line, int column) const;

 signals:
  void readStarted();
  // Enter ended a waiting read.
  void readEnded();
  void selectionChanged(bool hasSelection);
  void modificationChanged(bool modified);
  // Undo became possible or impossible.
  void undoChanged(bool canUndo);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void measureFont(QFont font);
  bool typeKey(const QKeyEvent& event);
  // Shift with an arrow key: the selection's moving end goes one cell or
  // line; false for any other key.
  bool extendSelection(const QKeyEvent& event);
  // The cell boundary nearest a point of the viewport (x: column, y: line).
  QPoint cellBoundaryAt(QPoint at) const;
  void refresh();
  void syncScrollBars();
  void updateCaret();
  QRect cellsRect(int line, int from, int to) const;
  QRect caretRect() const;
  void drawLine(QPainter& painter, int line) const;
  void drawSelection(QPainter& painter) const;
  void drawCaret(QPainter& painter) const;

  ConsoleText text_;
  QFont font_;
  QColor textColour_ = Qt::black;
  int characterWidth_ = 1;
  int characterHeight_ = 1;
  int ascent_ = 0;
  bool caretShown_ = false;  // the window has the focus
  bool caretOn_ = true;      // the blink phase
  QBasicTimer blink_;
  QRect caretDrawn_;
  bool syncing_ = false;
  bool dragging_ = false;
  QPoint anchor_;        // the fixed end of a selection being made (column, line)
  QPoint selectionEnd_;  // its moving end
  bool selected_ = false;
  bool modified_ = true;
  bool canUndo_ = false;
  bool inputClosed_ = false;
  std::string typeAhead_;  // pasted lines after the one that ended a read
};

}  // namespace console
