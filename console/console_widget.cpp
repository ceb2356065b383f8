// The console widget: keys, mouse, focus, scroll bars and painting.
#include "console/console_widget.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <utility>

namespace console {
namespace {

// Keys that act on the text without typing a character.
// Key -> its action; edits: it changes the answer (not once the program ended).
struct KeyCommand {
  int key;
  void (ConsoleText::*action)();
  bool edits;
};
constexpr KeyCommand kKeyCommands[] = {{Qt::Key_PageUp, &ConsoleText::pageUp, false},
                                       {Qt::Key_PageDown, &ConsoleText::pageDown, false},
                                       {Qt::Key_End, &ConsoleText::scrollToBottom, false},
                                       {Qt::Key_Home, &ConsoleText::scrollToTop, false},
                                       {Qt::Key_Up, &ConsoleText::lineUp, false},
                                       {Qt::Key_Down, &ConsoleText::lineDown, false},
                                       {Qt::Key_Left, &ConsoleText::caretLeft, true},
                                       {Qt::Key_Right, &ConsoleText::caretRight, true},
                                       {Qt::Key_Insert, &ConsoleText::insertBlank, true},
                                       {Qt::Key_Delete, &ConsoleText::deleteAtCaret, true}};

// Keys typed as a control character.
struct KeyCharacter {
  int key;
  char c;
};
constexpr KeyCharacter kKeyCharacters[] = {
    {Qt::Key_Return, '\r'}, {Qt::Key_Enter, '\r'}, {Qt::Key_Backspace, '\b'}, {Qt::Key_Tab, '\t'}};

}  // namespace

ConsoleWidget::ConsoleWidget(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setCursor(Qt::IBeamCursor);
  QPalette palette = viewport()->palette();
  palette.setColor(QPalette::Base, Qt::white);
  viewport()->setPalette(palette);
  viewport()->setBackgroundRole(QPalette::Base);
  horizontalScrollBar()->setTracking(false);
  measureFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  syncScrollBars();
}

void ConsoleWidget::measureFont(QFont font) {
  font_ = font;
  font_.setLetterSpacing(QFont::AbsoluteSpacing, 0);
  font_.setStyleHint(QFont::TypeWriter);
  font_.setFixedPitch(true);
  font_.setKerning(false);
  // Cells are whole pixels; the spacing makes every advance exactly one
  // cell, so that a run of characters drawn at once keeps to the cells.
  const qreal advance = QFontMetricsF(font_).horizontalAdvance(QLatin1Char('M'));
  characterWidth_ = std::max(1, qRound(advance));
  font_.setLetterSpacing(QFont::AbsoluteSpacing, characterWidth_ - advance);
  const QFontMetrics metrics(font_);
  characterHeight_ = std::max(1, metrics.height());
  ascent_ = metrics.ascent();
}

void ConsoleWidget::writeBlock(std::string_view block) {
  text_.write(block);
  refresh();
}

void ConsoleWidget::clearText() {
  text_.clear();
  dragging_ = false;
  refresh();
}

// Lines pasted ahead answer the reads that follow, one line each.
void ConsoleWidget::beginRead() {
  text_.beginRead();
  emit readStarted();
  if (!typeAhead_.empty()) typeText(std::exchange(typeAhead_, {}));
}

SaveResult ConsoleWidget::saveTo(const std::string& path) {
  SaveResult result = text_.saveTo(path);
  if (result == SaveResult::Saved) text_.markSaved();
  refresh();
  return result;
}

// Typed or pasted text, one step for Undo. Enter in it ends a waiting
// read; what follows waits for the next read, so that each pasted line is
// the answer to one question.
void ConsoleWidget::typeText(std::string_view typed) {
  if (inputClosed_) return QApplication::beep();
  if (!typeAhead_.empty()) {
    typeAhead_.append(typed);
    return;
  }
  const bool reading = text_.readPending();
  const std::size_t enter = reading ? typed.find('\r') : std::string_view::npos;
  if (enter != std::string_view::npos) {
    typeAhead_.assign(typed.substr(enter + 1));
    typed = typed.substr(0, enter + 1);
  }
  text_.typeText(typed);
  refresh();
  if (reading && !text_.readPending()) emit readEnded();
}

void ConsoleWidget::undo() {
  text_.undo();
  refresh();
}

void ConsoleWidget::showCaret() {
  text_.showCaret();
  refresh();
}

void ConsoleWidget::deleteSelection() {
  text_.deleteSelection();
  refresh();
}

void ConsoleWidget::setTextFont(const QFont& font) {
  measureFont(font);
  caretDrawn_ = QRect();
  resizeEvent(nullptr);
  viewport()->update();
}

void ConsoleWidget::setTextColour(const QColor& colour) {
  textColour_ = colour;
  viewport()->update();
}

void ConsoleWidget::keyPressEvent(QKeyEvent* event) {
  if (extendSelection(*event)) return;
  for (const KeyCommand& command : kKeyCommands)
    if (event->key() == command.key && !(inputClosed_ && command.edits)) {
      (text_.*command.action)();
      refresh();
      return;
    }
  if (!typeKey(*event)) event->ignore();
}

// A typed key: the control character of its key, else its text in UTF-8.
// A key with Ctrl or Meta types nothing (its command may be disabled), nor
// does one whose text is a control character.
bool ConsoleWidget::typeKey(const QKeyEvent& event) {
  for (const KeyCharacter& k : kKeyCharacters)
    if (event.key() == k.key) {
      typeText(std::string_view(&k.c, 1));
      return true;
    }
  // AltGr may come as Ctrl with Alt; it types its character.
  const Qt::KeyboardModifiers modifiers = event.modifiers();
  if ((modifiers & Qt::MetaModifier) ||
      ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier)))
    return false;
  const QByteArray bytes = event.text().toUtf8();
  for (char c : bytes)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
  typeText(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  return !bytes.isEmpty();
}

// Tab is typed, not used to move the focus.
bool ConsoleWidget::focusNextPrevChild(bool /*next*/) { return false; }

void ConsoleWidget::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  caretShown_ = true;
  caretOn_ = true;
  const int flash = QApplication::cursorFlashTime();
  if (flash > 0) blink_.start(flash / 2, this);
  viewport()->update(caretRect());
}

void ConsoleWidget::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  caretShown_ = false;
  blink_.stop();
  viewport()->update(caretDrawn_);
}

void ConsoleWidget::timerEvent(QTimerEvent* event) {
  if (event->timerId() != blink_.timerId()) return QAbstractScrollArea::timerEvent(event);
  caretOn_ = !caretOn_;
  viewport()->update(caretRect());
}

void ConsoleWidget::resizeEvent(QResizeEvent* /*event*/) {
  text_.resize(viewport()->width() / characterWidth_, viewport()->height() / characterHeight_);
  refresh();
}

// The user moved a scroll bar.
void ConsoleWidget::scrollContentsBy(int /*dx*/, int /*dy*/) {
  if (syncing_) return;
  text_.scrollToLine(verticalScrollBar()->value());
  text_.scrollToColumn(horizontalScrollBar()->value());
  refresh();
}

// Draws again what the text says changed, and lets the scroll bars, the
// caret and the listeners follow.
void ConsoleWidget::refresh() {
  const Damage damage = text_.takeDamage();
  if (damage.everything) {
    viewport()->update();
  } else {
    for (const CellSpan& span : damage.spans)
      viewport()->update(cellsRect(span.line, span.fromColumn, span.toColumn));
  }
  if (damage.scrollRanges) syncScrollBars();
  updateCaret();
  if (selected_ != text_.hasSelection() && !dragging_) {
    selected_ = text_.hasSelection();
    emit selectionChanged(selected_);
  }
  if (modified_ != text_.modified()) {
    modified_ = text_.modified();
    emit modificationChanged(modified_);
  }
  if (canUndo_ != text_.canUndo()) {
    canUndo_ = text_.canUndo();
    emit undoChanged(canUndo_);
  }
}

void ConsoleWidget::syncScrollBars() {
  syncing_ = true;
  QScrollBar* vertical = verticalScrollBar();
  vertical->setRange(0, text_.lineLimit());
  vertical->setPageStep(std::max(text_.visibleRows(), 1));
  vertical->setValue(text_.firstVisibleLine());
  QScrollBar* horizontal = horizontalScrollBar();
  horizontal->setRange(0, text_.columnLimit());
  horizontal->setPageStep(kHorizontalPage);
  horizontal->setValue(text_.firstVisibleColumn());
  syncing_ = false;
}

void ConsoleWidget::updateCaret() {
  const QRect now = caretRect();
  if (now == caretDrawn_) return;
  viewport()->update(caretDrawn_);
  viewport()->update(now);
  caretDrawn_ = now;
  caretOn_ = true;
}

QPoint ConsoleWidget::cellPosition(int line, int column) const {
  return {(column - text_.firstVisibleColumn()) * characterWidth_,
          (line - text_.firstVisibleLine()) * characterHeight_};
}

QRect ConsoleWidget::cellsRect(int line, int from, int to) const {
  const QPoint topLeft = cellPosition(line, from);
  const int right = to == kRightEdge ? viewport()->width() : cellPosition(line, to).x();
  return QRect(topLeft.x(), topLeft.y(), std::max(0, right - topLeft.x()), characterHeight_);
}

QRect ConsoleWidget::caretRect() const {
  return QRect(cellPosition(text_.caretLine(), text_.caretColumn()),
               QSize(characterWidth_, characterHeight_));
}

}  // namespace console
