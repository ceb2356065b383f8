// Painting a console window: the visible lines, the selected word and the caret.
#include <QPaintEvent>
#include <QPainter>

#include "console/console_widget.h"
#include "console/text_cells.h"

namespace console {
namespace {

// Colours of the selected word: white on blue.
constexpr QRgb kSelectionText = 0xFFFFFF;
constexpr QRgb kSelectionBackground = 0x0000FF;
// Pictures standing for the control characters, which keep their cells.
constexpr char16_t kControlPictures = 0x2400;
constexpr char16_t kDeletePicture = 0x2421;
constexpr char16_t kReplacement = 0xFFFD;

bool isPlain(unsigned char c) { return c >= 0x20 && c < 0x7F; }

// What one cell that is not plain ASCII shows: its character when it is
// whole UTF-8, a control picture for a control character, a single byte
// from 0xA0 as its Latin-1 character, else the replacement character.
QString cellPicture(std::string_view cell) {
  if (isWideCharacter(cell))
    return QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size()));
  const auto c = static_cast<unsigned char>(cell[0]);
  if (c < 0x20) return QString(QChar(static_cast<char16_t>(kControlPictures + c)));
  if (c == 0x7F) return QString(QChar(kDeletePicture));
  if (cell.size() == 1 && c >= 0xA0) return QString(QChar(static_cast<char16_t>(c)));
  return QString(QChar(kReplacement));
}

// Draws the cells of bytes from x; runs of plain characters go in one
// call, every other character by itself at its own cell.
void drawCells(QPainter& painter, int x, int baseline, int cellWidth, std::string_view bytes) {
  std::size_t k = 0;
  int column = 0;
  while (k < bytes.size()) {
    std::size_t end = k;
    while (end < bytes.size() && isPlain(static_cast<unsigned char>(bytes[end]))) ++end;
    const int left = x + column * cellWidth;
    if (end > k) {
      painter.drawText(QPoint(left, baseline),
                       QString::fromLatin1(bytes.data() + k, static_cast<qsizetype>(end - k)));
      column += static_cast<int>(end - k);
    } else {
      end = k + cellBytes(bytes, k);
      painter.drawText(QPoint(left, baseline), cellPicture(bytes.substr(k, end - k)));
      ++column;
    }
    k = end;
  }
}

// The bytes of count cells from a column.
std::string_view cellsOf(std::string_view text, int column, int count) {
  const std::size_t begin = byteOfColumn(text, column);
  return text.substr(begin, byteOfColumn(text.substr(begin), count));
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
  const int from = std::min(text_.firstVisibleColumn(), cellCount(text));
  const QPoint at = cellPosition(line, from);
  drawCells(painter, at.x(), at.y() + ascent_, characterWidth_,
            cellsOf(text, from, text_.visibleColumns() + 1));
}

// Line by line, the lines in view only.
void ConsoleWidget::drawSelection(QPainter& painter) const {
  if (!text_.hasSelection()) return;
  const Selection& s = text_.selection();
  const int first = std::max(s.line, text_.firstVisibleLine());
  const int last = std::min(s.endLine, text_.firstVisibleLine() + text_.visibleRows());
  painter.setPen(QColor(kSelectionText));
  for (int k = first; k <= last; ++k) {
    const auto [from, to] = text_.selectedColumns(k);
    const QRect cells = cellsRect(k, from, to);
    painter.fillRect(cells, QColor(kSelectionBackground));
    drawCells(painter, cells.left(), cells.top() + ascent_, characterWidth_,
              cellsOf(text_.line(k), from, to - from));
  }
  painter.setPen(textColour_);
}

// The caret is the character cell in reverse: a block of the text colour
// with the character under it in white.
void ConsoleWidget::drawCaret(QPainter& painter) const {
  if (!caretShown_ || !caretOn_) return;
  const QRect cell = caretRect();
  painter.fillRect(cell, textColour_);
  const std::string_view under = cellsOf(text_.line(text_.caretLine()), text_.caretColumn(), 1);
  if (under.empty()) return;
  painter.setPen(Qt::white);
  drawCells(painter, cell.left(), cell.top() + ascent_, characterWidth_, under);
  painter.setPen(textColour_);
}

}  // namespace console
