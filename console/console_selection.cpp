// Selecting in a console window's text: a word by a double click, any
// stretch by dragging or Shift with the arrow keys; copying and deleting it.
#include "console/console_text.h"
#include "console/text_cells.h"

namespace console {
namespace {

constexpr char kLineBreak = '\n';

}  // namespace

bool ConsoleText::selectWordAt(int lineNumber, int column) {
  clearSelection();
  const std::string_view text = line(lineNumber);
  const std::size_t at = byteOfColumn(text, std::max(column, 0));
  if (column < 0 || at >= text.size() || text[at] == ' ') return false;
  std::size_t start = at;
  while (start > 0 && text[start - 1] != ' ') --start;
  const std::size_t end = std::min(text.find(' ', at), text.size());
  selection_ = {lineNumber, columnOfByte(text, start), columnOfByte(text, end), lineNumber};
  hasSelection_ = true;
  damageCells(lineNumber, selection_.start, selection_.end);
  return true;
}

void ConsoleText::selectStretch(int fromLine, int fromColumn, int toLine, int toColumn) {
  clearSelection();
  if (lineCount() == 0) return;
  auto clampLine = [this](int k) { return std::clamp(k, 0, lineCount() - 1); };
  auto clampColumn = [this](int k, int column) {
    return std::clamp(column, 0, cellCount(line(k)));
  };
  fromLine = clampLine(fromLine);
  toLine = clampLine(toLine);
  fromColumn = clampColumn(fromLine, fromColumn);
  toColumn = clampColumn(toLine, toColumn);
  if (std::pair(toLine, toColumn) < std::pair(fromLine, fromColumn)) {
    std::swap(fromLine, toLine);
    std::swap(fromColumn, toColumn);
  }
  if (fromLine == toLine && fromColumn == toColumn) return;
  selection_ = {fromLine, fromColumn, toColumn, toLine};
  hasSelection_ = true;
  if (fromLine == toLine)
    damageCells(fromLine, fromColumn, toColumn);
  else
    damageAll();
}

void ConsoleText::clearSelection() {
  if (!hasSelection_) return;
  hasSelection_ = false;
  if (selection_.endLine == selection_.line)
    damageCells(selection_.line, selection_.start, selection_.end);
  else
    damageAll();
}

std::pair<int, int> ConsoleText::selectedColumns(int k) const {
  if (!hasSelection_ || k < selection_.line || k > selection_.endLine) return {0, 0};
  return {k == selection_.line ? selection_.start : 0,
          k == selection_.endLine ? selection_.end : cellCount(line(k))};
}

// A selection before the caret on its line moves the caret back by its
// length, or to its start when the caret is inside it; the start of the
// answer moves the same way.
void ConsoleText::deleteSelection() {
  if (!selectionOnOneLine()) return;
  const Selection s = selection_;
  auto follow = [&s](int& column) {
    if (s.start < column) column = column >= s.end ? column - (s.end - s.start) : s.start;
  };
  if (s.line == caretLine_) follow(caretColumn_);
  // The answer still begins where it began.
  if (s.line == inputLine_) follow(inputStart_);
  deleteChars(s.line, s.start, s.end - s.start);
  clearSelection();
}

std::string ConsoleText::selectedText() const {
  std::string text;
  if (!hasSelection_) return text;
  for (int k = selection_.line; k <= selection_.endLine; ++k) {
    const auto [from, to] = selectedColumns(k);
    const std::string_view whole = line(k);
    const std::size_t begin = byteOfColumn(whole, from);
    text += whole.substr(begin, byteOfColumn(whole, to) - begin);
    if (k < selection_.endLine) text += kLineBreak;
  }
  return text;
}

}  // namespace console
