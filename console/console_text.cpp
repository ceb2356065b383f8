// Character input, output blocks, replies, editing keys and the capacity
// rule of a console window's text.
#include "console/console_text.h"

#include "console/text_cells.h"

namespace console {
namespace {

constexpr char kBackspace = '\b';
constexpr char kTab = '\t';
constexpr char kEnter = '\r';
constexpr char kLineFeed = '\n';
// Ends the reply of a read.
constexpr std::string_view kReplyEnd = "\r\n";
// A span list longer than this is drawn as a whole instead.
constexpr std::size_t kMaxSpans = 256;

}  // namespace

ConsoleText::ConsoleText() : starts_{0} {}

std::string_view ConsoleText::line(int k) const {
  if (k < 0 || k >= lineCount()) return {};
  const std::size_t begin = static_cast<std::size_t>(starts_[k]);
  return std::string_view(text_).substr(begin, static_cast<std::size_t>(starts_[k + 1]) - begin);
}

int ConsoleText::lastLineLength() const {
  if (lineCount() == 0) return 0;
  return lastLineAscii_ ? static_cast<int>(lastLine().size()) : cellCount(lastLine());
}

std::size_t ConsoleText::lastLineByte(int column) const {
  if (lastLineAscii_) return std::min(static_cast<std::size_t>(column), lastLine().size());
  return byteOfColumn(lastLine(), column);
}

int ConsoleText::lastLineColumn(std::size_t at) const {
  if (lastLineAscii_) return static_cast<int>(std::min(at, lastLine().size()));
  return columnOfByte(lastLine(), at);
}

void ConsoleText::feed(char c) {
  clearSelection();
  switch (c) {
    case kBackspace:
      if (caretColumn_ > 0) {
        --caretColumn_;
        deleteChars(lineCount() - 1, caretColumn_, 1);
      }
      break;
    case kTab:
      do {
        if (!type(' ')) break;
      } while (caretColumn_ % kTabStop != 0);
      break;
    case kEnter: enter(); break;
    default: type(c == kLineFeed ? ' ' : c); break;
  }
  modified_ = true;
}

void ConsoleText::write(std::string_view block) {
  if (!block.empty() && block.back() == kLineFeed) block.remove_suffix(1);
  for (char c : block) feed(c);
  inputStart_ = caretColumn_;
  inputLine_ = caretLine_;
  undo_.clear();
  modified_ = true;
}

std::string ConsoleText::takeReply(int capacity) {
  const std::string_view last = lineCount() > 0 ? line(lineCount() - 1) : std::string_view();
  const std::size_t n = std::min(last.size(), static_cast<std::size_t>(std::max(capacity - 2, 0)));
  const std::size_t begin = byteOfColumn(last, inputStart_);
  std::string reply;
  if (begin < n) reply.assign(last.substr(begin, n - begin));
  reply += kReplyEnd;
  inputStart_ = 0;
  return reply;
}

// Enter: a pending line becomes an empty line, the caret goes to the start
// of the next one, and the view follows once the text fills the window.
void ConsoleText::enter() {
  if (linePending_) {
    if (firstLine_ + visibleRows_ + 2 < lineCount()) scrollToBottom();
    appendLine();
  }
  if (firstLine_ < visibleRows_) recomputeRanges();
  caretColumn_ = 0;
  ++caretLine_;
  linePending_ = true;
  if (firstColumn_ > 0) scrollColumnsBy(-firstColumn_);
  if (lineCount() + 2 > visibleRows_) {
    ++firstLine_;
    damageAll();
    recomputeRanges();
  }
  readPending_ = false;
  undo_.clear();
}

// Inserts c at the caret of the last line (starting it if pending); false
// when there is no room even after discarding old lines. A continuation
// byte completes the character before the caret and leaves the caret there.
bool ConsoleText::type(char c) {
  scrollToBottom();
  if (linePending_) {
    if (!appendLine()) return false;
    linePending_ = false;
  }
  if (!makeRoom(1, 0)) return false;
  const int column = caretColumn_;
  const std::size_t at = lastLineByte(column);
  insertAt(at, c);
  caretColumn_ = lastLineColumn(at + 1);
  widest_ = std::max(widest_, caretColumn_);
  const int from = std::max(caretColumn_ - 1, 0);
  damageCells(lineCount() - 1, from, caretColumn_ == lastLineLength() ? caretColumn_ : kRightEdge);
  if (caretColumn_ > column && caretColumn_ + 1 > visibleColumns_) {
    recomputeRanges();
    scrollColumnsBy(1);
  }
  return true;
}

bool ConsoleText::appendLine() {
  if (!makeRoom(0, 1)) return false;
  starts_.push_back(static_cast<int>(text_.size()));
  lastLineAscii_ = true;
  return true;
}

void ConsoleText::insertAt(std::size_t at, char c) {
  at = std::min(at, lastLine().size());
  text_.insert(static_cast<std::size_t>(starts_[starts_.size() - 2]) + at, 1, c);
  ++starts_.back();
  if (static_cast<unsigned char>(c) > 0x7F) lastLineAscii_ = false;
}

bool ConsoleText::makeRoom(int characters, int lines) {
  auto fits = [&] {
    return characterCount() + characters <= kTextCapacity && lineCount() + lines <= kLineCapacity;
  };
  if (fits()) return true;
  discardOldestLines(characters, lines);
  return fits();
}

// Drops lines from the top until a quarter of either capacity is free, so
// that a full window does not move its whole text for every character. The
// last line always stays.
void ConsoleText::discardOldestLines(int characters, int lines) {
  const int keepCharacters = kTextCapacity - kTextCapacity / 4 - characters;
  const int keepLines = kLineCapacity - kLineCapacity / 4 - lines;
  int n = 0;
  while (n < lineCount() - 1 &&
         (characterCount() - starts_[n] > keepCharacters || lineCount() - n > keepLines))
    ++n;
  if (n == 0) return;
  const int removed = starts_[n];
  text_.erase(0, static_cast<std::size_t>(removed));
  starts_.erase(starts_.begin(), starts_.begin() + n);
  for (int& start : starts_) start -= removed;
  caretLine_ -= n;
  inputLine_ -= n;
  firstLine_ = std::max(0, firstLine_ - n);
  if (hasSelection_ && selection_.line < n) hasSelection_ = false;
  if (hasSelection_) {
    selection_.line -= n;
    selection_.endLine -= n;
  }
  damageAll();
  recomputeRanges();
}

void ConsoleText::caretLeft() {
  if (caretColumn_ > answerStart()) --caretColumn_;
  showCaret();
}

void ConsoleText::caretRight() {
  if (!linePending_) caretColumn_ = std::min(caretColumn_ + 1, lastLineLength());
}

void ConsoleText::insertBlank() {
  editAnswer([this] {
    if (linePending_ || !makeRoom(1, 0)) return;
    insertAt(lastLineByte(caretColumn_), ' ');
    damageCells(lineCount() - 1, caretColumn_, kRightEdge);
    modified_ = true;
  });
}

void ConsoleText::deleteAtCaret() {
  editAnswer([this] {
    if (linePending_) return;
    deleteChars(lineCount() - 1, caretColumn_, 1);
    modified_ = true;
  });
}

void ConsoleText::deleteChars(int line, int column, int count) {
  if (text_.empty() || line < 0 || line >= lineCount() || column < 0) return;
  const std::string_view text = this->line(line);
  auto byteOf = [&](int c) {
    return line == lineCount() - 1 ? lastLineByte(c) : byteOfColumn(text, c);
  };
  const std::size_t begin = byteOf(column);
  const int bytes = static_cast<int>(byteOf(column + std::max(count, 0)) - begin);
  if (bytes <= 0) return;
  text_.erase(static_cast<std::size_t>(starts_[line]) + begin, static_cast<std::size_t>(bytes));
  for (std::size_t k = static_cast<std::size_t>(line) + 1; k < starts_.size(); ++k)
    starts_[k] -= bytes;
  damageCells(line, column, kRightEdge);
}

void ConsoleText::damageCells(int line, int from, int to) {
  if (damage_.everything) return;
  if (damage_.spans.size() >= kMaxSpans) {
    damage_.spans.clear();
    damage_.everything = true;
    return;
  }
  damage_.spans.push_back({line, from, to});
}

Damage ConsoleText::takeDamage() { return std::exchange(damage_, Damage{}); }

}  // namespace console
