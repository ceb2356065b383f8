// Painting a console window: the visible lines, the selected word and the caret.
#include <QPaintEvent>
#include <QPainter>

#include "console/console_widget.h"

namespace console {
namespace {

// Colours of the selected word: white on blue.
constexpr QRgb kSelectionText = 0xFFFFFF;
constexpr QRgb kSelectionBackground = 0x0000FF;
// Pictures standing for the control characters, which keep their cells.
constexpr char16_t kControlPictures = 0x2400;
constexpr char16_t kDeletePicture = 0x2421;
constexpr char16_t kReplacement = 0xFFFD;

bool drawsAsIs(unsigned char c) { return (c >= 0x20 && c < 0x7F) || c >= 0xA0; }

QChar pictureOf(unsigned char c) {
  if (c < 0x20) return QChar(static_cast<char16_t>(kControlPictures + c));
  return QChar(c == 0x7F ? kDeletePicture : kReplacement);
}

// Draws bytes cell by cell from x; runs of plain characters go in one call,
// each control character by itself at its own cell.
void drawCells(QPainter& painter, int x, int baseline, int cellWidth, std::string_view bytes) {
  std::size_t k = 0;
  while (k < bytes.size()) {
    std::size_t end = k;
    while (end < bytes.size() && drawsAsIs(static_cast<unsigned char>(bytes[end]))) ++end;
    const int left = x + static_cast<int>(k) * cellWidth;
    if (end > k) {
      painter.drawText(QPoint(left, baseline),
                       QString::fromLatin1(bytes.data() + k, static_cast<qsizetype>(end - k)));
    } else {
      painter.drawText(QPoint(left, baseline), QString(pictureOf(bytes[k])));
      end = k + 1;
    }
    k = end;
  }
}

}  // namespace

void ConsoleWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), Qt::white);
  painter.setFont(font_);
  painter.setPen(textColour_);
  const QRect area = event->rect();
  const auto [first, last] =
      text_.linesToPaint(area.top() / characterHeight_, area.bottom() / characterHeight_);
  for (int line = first; line <= last; ++line) drawLine(painter, line);
  drawSelection(painter);
  drawCaret(painter);
}

// Only the columns in view are drawn.
void ConsoleWidget::drawLine(QPainter& painter, int line) const {
  const std::string_view text = text_.line(line);
  const int from = std::min(text_.firstVisibleColumn(), static_cast<int>(text.size()));
  const int count = std::min(static_cast<int>(text.size()) - from, text_.visibleColumns() + 1);
  const QPoint at = cellPosition(line, from);
  drawCells(painter, at.x(), at.y() + ascent_, characterWidth_,
            text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(count)));
}

void ConsoleWidget::drawSelection(QPainter& painter) const {
  if (!text_.hasSelection()) return;
  const Selection& s = text_.selection();
  const int first = text_.firstVisibleLine();
  if (s.line < first || s.line > first + text_.visibleRows()) return;
  const QRect cells = cellsRect(s.line, s.start, s.end);
  painter.fillRect(cells, QColor(kSelectionBackground));
  painter.setPen(QColor(kSelectionText));
  drawCells(painter, cells.left(), cells.top() + ascent_, characterWidth_, text_.selectedText());
  painter.setPen(textColour_);
}

// The caret is the character cell in reverse: a block of the text colour
// with the character under it in white.
void ConsoleWidget::drawCaret(QPainter& painter) const {
  if (!caretShown_ || !caretOn_) return;
  const QRect cell = caretRect();
  painter.fillRect(cell, textColour_);
  const std::string_view line = text_.line(text_.caretLine());
  const int column = text_.caretColumn();
  if (column >= static_cast<int>(line.size())) return;
  painter.setPen(Qt::white);
  drawCells(painter, cell.left(), cell.top() + ascent_, characterWidth_,
            line.substr(static_cast<std::size_t>(column), 1));
  painter.setPen(textColour_);
}

}  // namespace console
