// Selecting in the console widget: a word by a double click, any stretch by
// dragging the mouse or by Shift with the arrow keys from the caret.
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>

#include "console/console_widget.h"
#include "console/text_cells.h"

namespace console {
namespace {

// Arrow key -> how it moves the selection's end (columns, lines).
struct SelectionStep {
  int key;
  int columns;
  int lines;
};
constexpr SelectionStep kSelectionSteps[] = {
    {Qt::Key_Left, -1, 0}, {Qt::Key_Right, 1, 0}, {Qt::Key_Up, 0, -1}, {Qt::Key_Down, 0, 1}};

}  // namespace

QPoint ConsoleWidget::cellBoundaryAt(QPoint at) const {
  return {(at.x() + characterWidth_ / 2) / characterWidth_ + text_.firstVisibleColumn(),
          text_.firstVisibleLine() + at.y() / characterHeight_};
}

void ConsoleWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  text_.clearSelection();
  dragging_ = true;
  anchor_ = selectionEnd_ = cellBoundaryAt(event->position().toPoint());
  refresh();
}

void ConsoleWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  selectionEnd_ = cellBoundaryAt(event->position().toPoint());
  text_.selectStretch(anchor_.y(), anchor_.x(), selectionEnd_.y(), selectionEnd_.x());
  refresh();
}

void ConsoleWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  const int column = at.x() / characterWidth_ + text_.firstVisibleColumn();
  const int line = text_.firstVisibleLine() + at.y() / characterHeight_;
  text_.selectWordAt(line, column);
  dragging_ = false;
  refresh();
}

void ConsoleWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = false;
  refresh();
}

// Left and Right go over the end of a line to the next; Up and Down keep
// the column as far as the line allows. A new selection starts at the caret.
bool ConsoleWidget::extendSelection(const QKeyEvent& event) {
  if (!(event.modifiers() & Qt::ShiftModifier) || text_.lineCount() == 0) return false;
  const SelectionStep* step = nullptr;
  for (const SelectionStep& s : kSelectionSteps)
    if (s.key == event.key()) step = &s;
  if (step == nullptr) return false;
  const int lastLine = text_.lineCount() - 1;
  auto length = [this](int line) { return cellCount(text_.line(line)); };
  if (!text_.hasSelection()) {
    const int line = std::min(text_.caretLine(), lastLine);
    anchor_ = selectionEnd_ = {std::min(text_.caretColumn(), length(line)), line};
  }
  int line = std::clamp(selectionEnd_.y() + step->lines, 0, lastLine);
  int column = std::min(selectionEnd_.x(), length(line)) + step->columns;
  if (column < 0 && line > 0) column = length(--line);
  if (column > length(line) && line < lastLine) {
    column = 0;
    ++line;
  }
  selectionEnd_ = {std::clamp(column, 0, length(line)), line};
  text_.selectStretch(anchor_.y(), anchor_.x(), selectionEnd_.y(), selectionEnd_.x());
  if (line < text_.firstVisibleLine() || line >= text_.firstVisibleLine() + text_.visibleRows())
    text_.scrollToLine(line);
  refresh();
  return true;
}

}  // namespace console
