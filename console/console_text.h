// The text of one console window: its lines, caret, scroll positions,
// selection and read state, and the rules by which typed and written
// characters change them. Plain C++; the console widget paints this model
// and feeds it the user's keys and the program's output.
//
// Positions are cells: columns and lines from 0; a cell is one character of
// the UTF-8 text (text_cells.h), so that a column never splits a character
// while the reply of a read still hands the runtime its bytes. Only the last
// line grows:
// output and typing always go to the caret on the last line, which may be
// moved back into the line (typing inserts). The first visible line and
// column follow the output by the window's own rules and may be moved by the
// scroll requests; every change records what must be drawn again (Damage).
#pragma once

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace console {

// Capacities of one window; when either would be exceeded the oldest lines
// are discarded (never the last line).
constexpr int kTextCapacity = 262144;
constexpr int kLineCapacity = 32767;
// Tab stops of typed and written text.
constexpr int kTabStop = 8;
// Columns a page request moves the view sideways.
constexpr int kHorizontalPage = 8;
// A span reaching the right edge of the window.
constexpr int kRightEdge = INT_MAX;

// Cells of one line to draw again: columns [fromColumn, toColumn).
struct CellSpan {
  int line = 0;
  int fromColumn = 0;
  int toColumn = kRightEdge;
};

// What changed since the view last looked.
struct Damage {
  bool everything = false;    // the view moved or the text was cleared
  bool scrollRanges = false;  // a scroll limit or position changed
  std::vector<CellSpan> spans;
};

// The selection: from column start of line to column end (not included) of
// endLine; a selected word lies on one line (endLine == line).
struct Selection {
  int line = 0;
  int start = 0;
  int end = 0;
  int endLine = 0;
};

// How the result of writing the text to a file turned out.
enum class SaveResult { Saved, CannotCreate, WriteFailed };

class ConsoleText {
 public:
  ConsoleText();

  // One character, typed or from output: backspace, tab, carriage return
  // (Enter) and line feed have their console meanings; every other byte is
  // stored as it is.
  void feed(char c);
  // Characters the user typed or pasted, one step for Undo: Backspace stops
  // at the start of the answer, so that the question stays whole, and
  // control characters other than backspace, tab and carriage return are
  // not taken.
  void typeText(std::string_view typed);
  // Where the answer on the caret's line begins: the input start column on
  // the line the last output ended on, else 0.
  int answerStart() const { return caretLine_ == inputLine_ ? inputStart_ : 0; }
  // Undo takes the answer back to what it was before the last typing,
  // deletion or insertion; the steps go when the line ends or output comes.
  bool canUndo() const { return !undo_.empty(); }
  void undo();
  // A block of output: a final line feed is dropped, every other byte is fed;
  // the reply of the next read then begins at the caret.
  void write(std::string_view block);
  // A read is waiting; Enter clears it.
  void beginRead() { readPending_ = true; }
  bool readPending() const { return readPending_; }
  // The reply of a read: the last line from the input start column, cut so
  // that it and the CR LF after it fit capacity, then CR LF.
  std::string takeReply(int capacity);

  // Editing keys; the caret does not go left of the answer's start.
  void caretLeft();
  void caretRight();
  void insertBlank();
  void deleteAtCaret();
  // Removes count characters at column of line; later text moves back.
  void deleteChars(int line, int column, int count);

  // View-only keys and the vertical scroll bar.
  void lineUp() { scrollLinesBy(-1); }
  void lineDown() { scrollLinesBy(1); }
  void pageUp() { scrollLinesBy(-std::max(visibleRows_, 1)); }
  void pageDown() { scrollLinesBy(std::max(visibleRows_, 1)); }
  void scrollToTop() { scrollLinesBy(-firstLine_); }
  void scrollToBottom() { scrollLinesBy(lineLimit_ - firstLine_); }
  void scrollToLine(int line) { scrollLinesBy(line - firstLine_); }
  // The horizontal scroll bar.
  void scrollColumnsBy(int step);
  void scrollToColumn(int column) { scrollColumnsBy(column - firstColumn_); }
  // The window's client area in cells; the caret's cell stays in view.
  void resize(int columns, int rows);
  // Moves the view so that the caret's cell is in it.
  void showCaret();
  // Empties the window.
  void clear();

  // Selects the word (run of non-blanks) at a cell; false on a blank or
  // past the end of the line, which leaves nothing selected.
  bool selectWordAt(int line, int column);
  // Selects the text between two cells (in either order); the cells are
  // kept within the lines and their ends. Nothing when they are the same.
  void selectStretch(int fromLine, int fromColumn, int toLine, int toColumn);
  void clearSelection();
  // Deletes the selection from its line and clears it; a stretch over
  // several lines is not deleted (only the last line may change length).
  void deleteSelection();
  bool hasSelection() const { return hasSelection_; }
  bool selectionOnOneLine() const { return hasSelection_ && selection_.endLine == selection_.line; }
  const Selection& selection() const { return selection_; }
  // The selected text; the lines of a stretch are joined by line feeds.
  std::string selectedText() const;
  // Columns [first, second) of a line that the selection covers.
  std::pair<int, int> selectedColumns(int line) const;

  // Lines [first, last] to draw for the cell rows [topRow, bottomRow] of
  // the window; empty when first > last.
  std::pair<int, int> linesToPaint(int topRow, int bottomRow) const;

  int lineCount() const { return static_cast<int>(starts_.size()) - 1; }
  std::string_view line(int k) const;
  int caretColumn() const { return caretColumn_; }
  int caretLine() const { return caretLine_; }
  int firstVisibleLine() const { return firstLine_; }
  int firstVisibleColumn() const { return firstColumn_; }
  int lineLimit() const { return lineLimit_; }
  int columnLimit() const { return columnLimit_; }
  int visibleRows() const { return visibleRows_; }
  int visibleColumns() const { return visibleColumns_; }
  int inputStartColumn() const { return inputStart_; }
  bool linePending() const { return linePending_; }
  int characterCount() const { return static_cast<int>(text_.size()); }

  // Saving: every line followed by CR LF.
  std::string fileBytes() const;
  SaveResult saveTo(const std::string& path);
  bool modified() const { return modified_; }
  void markSaved() { modified_ = false; }
  bool hasFileName() const { return hasFileName_; }
  const std::string& fileName() const { return fileName_; }
  // Save names the window's file once; Save As only changes the name.
  void setFileName(const std::string& path, bool chosenBySave);

  // What must be drawn again since the last call.
  Damage takeDamage();

 private:
  // The answer on the caret's line, and the caret, before one edit.
  struct AnswerState {
    int line = 0;
    int caretColumn = 0;
    std::string answer;
    bool operator==(const AnswerState&) const = default;
  };

  void enter();
  bool type(char c);
  bool appendLine();
  void insertAt(std::size_t at, char c);
  // Runs an edit of the answer and keeps the answer before it for Undo.
  void editAnswer(const std::function<void()>& edit);
  AnswerState answerState() const;
  bool makeRoom(int characters, int lines);
  void discardOldestLines(int characters, int lines);
  void scrollLinesBy(int step);
  void recomputeRanges();
  void damageCells(int line, int from, int to);
  void damageAll() { damage_.everything = true; }
  int lastLineLength() const;
  std::string_view lastLine() const { return line(lineCount() - 1); }
  // Columns and bytes of the last line; a line of ASCII alone (the usual
  // one) needs no walk over its characters.
  std::size_t lastLineByte(int column) const;
  int lastLineColumn(std::size_t at) const;
  void typeOne(char c);

  std::string text_;         // all lines, one after another
  std::vector<int> starts_;  // starts_[k] begins line k, starts_[k+1] ends it
  int visibleColumns_ = 0;
  int visibleRows_ = 0;
  int caretColumn_ = 0;
  int caretLine_ = 0;
  int columnLimit_ = 0;
  int firstColumn_ = 0;
  int lineLimit_ = 0;
  int firstLine_ = 0;
  bool linePending_ = true;
  bool hasSelection_ = false;
  Selection selection_;
  int widest_ = 0;
  bool readPending_ = false;
  int inputStart_ = 0;
  int inputLine_ = 0;          // the line the input start column belongs to
  bool lastLineAscii_ = true;  // no byte of the last line is above 0x7F
  std::vector<AnswerState> undo_;
  bool modified_ = true;
  bool hasFileName_ = false;
  std::string fileName_;
  Damage damage_;
};

}  // namespace console
