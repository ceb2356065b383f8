// Scrolling, size, clearing, word selection, the lines to paint and saving
// of a console window's text.
#include <cstdio>

#include "console/console_text.h"
#include "console/text_cells.h"

namespace console {
namespace {

// Ends every line of a saved text file.
constexpr std::string_view kSavedLineEnd = "\r\n";

}  // namespace

void ConsoleText::scrollLinesBy(int step) {
  const int target = std::clamp(firstLine_ + step, 0, lineLimit_);
  if (target == firstLine_) return;
  firstLine_ = target;
  damageAll();
  damage_.scrollRanges = true;
}

void ConsoleText::scrollColumnsBy(int step) {
  const int target = std::clamp(firstColumn_ + step, 0, columnLimit_);
  if (target == firstColumn_) return;
  firstColumn_ = target;
  damageAll();
  damage_.scrollRanges = true;
}

// The last line may stand two rows above the bottom; the widest line
// reached sets how far the view can move right.
void ConsoleText::recomputeRanges() {
  lineLimit_ = std::max(0, lineCount() - visibleRows_ + 2);
  if (firstLine_ > lineLimit_) {
    firstLine_ = lineLimit_;
    damageAll();
  }
  columnLimit_ = std::max(0, widest_ - visibleColumns_);
  if (firstColumn_ > columnLimit_) {
    firstColumn_ = columnLimit_;
    damageAll();
  }
  damage_.scrollRanges = true;
}

void ConsoleText::resize(int columns, int rows) {
  visibleColumns_ = std::max(0, columns);
  visibleRows_ = std::max(0, rows);
  recomputeRanges();
  showCaret();
}

void ConsoleText::clear() {
  text_.clear();
  starts_.assign(1, 0);
  widest_ = 0;
  firstLine_ = 0;
  firstColumn_ = 0;
  caretColumn_ = 0;
  caretLine_ = 0;
  inputStart_ = 0;
  inputLine_ = 0;
  lastLineAscii_ = true;
  undo_.clear();
  hasSelection_ = false;
  linePending_ = true;
  recomputeRanges();
  damageAll();
}

// One line above the damaged rows is drawn too, as the window always has.
std::pair<int, int> ConsoleText::linesToPaint(int topRow, int bottomRow) const {
  return {std::max(0, firstLine_ + topRow - 1), std::min(lineCount() - 1, firstLine_ + bottomRow)};
}

std::string ConsoleText::fileBytes() const {
  std::string bytes;
  bytes.reserve(text_.size() + 2 * static_cast<std::size_t>(lineCount()));
  for (int k = 0; k < lineCount(); ++k) {
    bytes += line(k);
    bytes += kSavedLineEnd;
  }
  return bytes;
}

SaveResult ConsoleText::saveTo(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return SaveResult::CannotCreate;
  bool written = true;
  for (int k = 0; k < lineCount() && written; ++k) {
    const std::string_view text = line(k);
    written =
        std::fwrite(text.data(), 1, text.size(), file) == text.size() &&
        std::fwrite(kSavedLineEnd.data(), 1, kSavedLineEnd.size(), file) == kSavedLineEnd.size();
  }
  if (std::fclose(file) != 0) written = false;
  return written ? SaveResult::Saved : SaveResult::WriteFailed;
}

void ConsoleText::setFileName(const std::string& path, bool chosenBySave) {
  fileName_ = path;
  if (chosenBySave) hasFileName_ = true;
}

}  // namespace console
