// Prompted answers on the console units.
#include "dialogue/ask.h"

#include <cmath>
#include <type_traits>

#include "common/text.h"
#include "fmtio/io.h"
#include "fmtio/stop.h"

namespace dialogue {
namespace {

// Ends every question; the answer is typed after it.
constexpr std::string_view kArrow = " => ";
// Control characters sent as text inside the records.
constexpr std::string_view kBell = "\a";
constexpr std::string_view kEsc = "\x1b";
constexpr std::string_view kCursorUp = "[1A";
// Buffer of the numeric answers.
constexpr std::size_t kNumberLength = 10;

// How a question's first characters lay it out.
struct QuestionLayout {
  std::size_t textStart = 0;  // 0-based index of the first character shown
  bool blankLineFirst = false;
  bool keepCase = false;
};

// "|" puts an empty line first, "$" keeps the answer's case, "$|" does both.
QuestionLayout layoutOf(std::string_view question) {
  QuestionLayout layout;
  if (!question.empty() && question[0] == '$') {
    layout.keepCase = true;
    layout.textStart = 1;
  }
  if (question.size() > layout.textStart && question[layout.textStart] == '|') {
    layout.blankLineFirst = true;
    ++layout.textStart;
  }
  return layout;
}

// "/" alone, or followed by a blank, ends the run.
bool isExitAnswer(const std::string& answer) {
  return !answer.empty() && answer[0] == '/' && (answer.size() == 1 || answer[1] == ' ');
}

// Reads a number from the answer buffer, list-directed; true when it read.
template <class T>
bool readListed(const std::string& buffer, T& value) {
  int rc = fmtio::READ(fmtio::Internal(std::string_view(buffer), fmtio::Control::catching()),
                       fmtio::LIST, value);
  return rc == fmtio::kCompleted;
}

// True when the answer gives the number a value. A null value ("," "3*" "/5")
// leaves the item as it was, so the answer is read from two different
// starting values: a result that follows its start was not given. A number
// that is not finite (Inf, NaN) is no answer either.
template <class T>
bool readNumber(const std::string& buffer, T& value) {
  T fromZero = 0, fromOne = 1;
  if (!readListed(buffer, fromZero) || !readListed(buffer, fromOne)) return false;
  if (!(fromZero == fromOne)) return false;
  if constexpr (std::is_floating_point_v<T>) {
    if (!std::isfinite(fromZero)) return false;
  }
  value = fromZero;
  return true;
}

// ASKINT and ASKNUM: ask until the answer reads as a number or is empty. The
// marker record blanks the question's line and puts its word at the right.
template <class T>
void askNumber(std::string_view question, T& value, const fmtio::Format& marker) {
  for (;;) {
    std::string buffer(kNumberLength, ' ');
    ASKSTR(question, buffer);
    int last = common::LASTNB(buffer);
    if (readNumber(buffer, value)) return;
    if (last <= 1 && buffer[0] == ' ') {
      value = 0;
      return;
    }
    BELLUP();
    fmtio::WRITE(fmtio::kConsoleOutput, marker, kEsc, kCursorUp, kEsc, kCursorUp);
  }
}

}  // namespace

void ASKSTR(std::string_view question, std::string& answer) {
  std::size_t last = static_cast<std::size_t>(common::LASTNB(question));
  QuestionLayout layout = layoutOf(question);
  std::string_view shown;
  if (last > layout.textStart && last <= question.size())
    shown = question.substr(layout.textStart, last - layout.textStart);
  if (layout.blankLineFirst)
    fmtio::WRITE(fmtio::kConsoleOutput, FMT("(/1X,2A,$)"), shown, kArrow);
  else
    fmtio::WRITE(fmtio::kConsoleOutput, FMT("(1X,2A,$)"), shown, kArrow);
  fmtio::READ(fmtio::kConsoleInput, FMT("(A)"), answer);
  if (isExitAnswer(answer)) fmtio::STOP(kExitMessage);
  if (!layout.keepCase) common::UPCASE(answer);
}

void ASKINT(std::string_view question, std::int32_t& value) {
  askNumber(question, value, FMT("(1X,2A,70(' '),T73,'INTEGER!',2A)"));
}

void ASKNUM(std::string_view question, float& value) {
  askNumber(question, value, FMT("(1X,2A,70(' '),T74,'NUMBER!',2A)"));
}

void BELLUP() { fmtio::WRITE(fmtio::kConsoleOutput, FMT("(1X,2A,'[1A')"), kBell, kEsc); }

}  // namespace dialogue
