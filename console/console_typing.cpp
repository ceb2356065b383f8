// What the user types into a console window: the characters taken, the
// answer's protected start, Undo of the answer, and the view following the
// caret.
#include "console/console_text.h"
#include "console/text_cells.h"

namespace console {
namespace {

// The control characters that keep their console meaning when typed.
constexpr std::string_view kTypedControls = "\b\t\r";
// Undo steps kept for one answer.
constexpr std::size_t kUndoSteps = 256;

bool isControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

}  // namespace

void ConsoleText::typeText(std::string_view typed) {
  editAnswer([this, typed] {
    for (char c : typed) typeOne(c);
  });
}

void ConsoleText::typeOne(char c) {
  if (isControl(static_cast<unsigned char>(c)) && kTypedControls.find(c) == std::string_view::npos)
    return;
  const bool backspace = c == '\b';
  if (backspace && caretColumn_ <= answerStart()) return;
  feed(c);
  if (backspace) showCaret();
}

ConsoleText::AnswerState ConsoleText::answerState() const {
  AnswerState state{caretLine_, caretColumn_, {}};
  if (!linePending_ && caretLine_ == lineCount() - 1) {
    state.answer = std::string(lastLine().substr(lastLineByte(answerStart())));
  }
  return state;
}

// A step is kept only when the edit changed the answer and left the caret
// on its line (Enter ends the answer and its steps).
void ConsoleText::editAnswer(const std::function<void()>& edit) {
  AnswerState before = answerState();
  edit();
  if (caretLine_ != before.line || answerState() == before) return;
  if (undo_.size() == kUndoSteps) undo_.erase(undo_.begin());
  undo_.push_back(std::move(before));
}

void ConsoleText::undo() {
  if (undo_.empty()) return;
  const AnswerState state = std::move(undo_.back());
  undo_.pop_back();
  if (state.line != caretLine_ || linePending_) return undo_.clear();
  const int from = answerStart();
  const int growth =
      static_cast<int>(state.answer.size() - (lastLine().size() - lastLineByte(from)));
  if (growth > 0 && !makeRoom(growth, 0)) return;
  const std::size_t lineStart = static_cast<std::size_t>(starts_[starts_.size() - 2]);
  text_.replace(lineStart + lastLineByte(from), std::string::npos, state.answer);
  starts_.back() = static_cast<int>(text_.size());
  for (char c : state.answer)
    if (static_cast<unsigned char>(c) > 0x7F) lastLineAscii_ = false;
  caretColumn_ = std::min(state.caretColumn, lastLineLength());
  widest_ = std::max(widest_, lastLineLength());
  clearSelection();
  damageCells(lineCount() - 1, from, kRightEdge);
  modified_ = true;
  showCaret();
}

void ConsoleText::showCaret() {
  if (visibleRows_ > 0) {
    int first = firstLine_;
    if (caretLine_ < first) first = caretLine_;
    if (caretLine_ >= first + visibleRows_) first = caretLine_ - visibleRows_ + 1;
    scrollLinesBy(first - firstLine_);
  }
  if (visibleColumns_ > 0) {
    int first = firstColumn_;
    if (caretColumn_ < first) first = caretColumn_;
    if (caretColumn_ >= first + visibleColumns_) first = caretColumn_ - visibleColumns_ + 1;
    scrollColumnsBy(first - firstColumn_);
  }
}

}  // namespace console
