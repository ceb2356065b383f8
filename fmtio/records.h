// Record text: how the characters of a record become the bytes of a file or
// of the console, and back.
//
// Input: a record ends at the terminator character; companion characters are
// dropped wherever they stand; a tab becomes blanks up to the next column that
// is a multiple of the tab size (a full tab size at a multiple).
// Output, carriage control LIST: the record, the companion, the terminator.
// Output, carriage control FORTRAN: the first character selects what goes
// before the rest ('+' nothing, '0' two terminators, '-' three, '1' a form
// feed, anything else one terminator); after the record only the companion.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fmtio {

enum class Carriage : std::uint8_t { List, Fortran };

// The longest input record, counted after tab expansion, by default: far
// above any line of a data file or of the console. A longer record is error
// 10004 instead of a buffer grown without bound (a line with no terminator,
// tabs under a huge TABSIZE).
constexpr std::size_t kDefaultRecordLimit = std::size_t{1} << 20;

// The characters that end records, the tab stops of input and its bound.
struct LineEnds {
  char terminator = '\n';
  char companion = '\r';
  int tabSize = 8;
  std::size_t recordLimit = kDefaultRecordLimit;
};

// The line ends of the runtime options in force.
LineEnds currentLineEnds();

// A blank or a tab: what input fields, list-directed values and the words of
// the runtime options are padded and separated with.
constexpr bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Appends n input bytes, none of them a terminator, to record. The record
// grows to at most ends.recordLimit + 1 characters: one more than the limit
// tells that the record is too long, without the memory the rest would take.
void appendInputText(std::string& record, const char* p, std::size_t n, const LineEnds& ends);
// The same for the bytes of a line already cut at its end, none of them a
// line feed or a carriage return: a companion that is one of the two is not
// looked for.
void appendLineText(std::string& record, const char* p, std::size_t n, const LineEnds& ends);
// The same for bytes among which there is no tab either: the record limit
// alone, when the companion is a line feed or a carriage return.
void appendPlainText(std::string& record, const char* p, std::size_t n, const LineEnds& ends);

// Appends the bytes of one output record. continuing: the record goes on a
// line left open by the previous write (no carriage control character is
// taken from it); advance false leaves the line open (nothing after it).
void appendOutputRecord(std::string& out, std::string_view record, bool continuing, bool advance,
                        Carriage carriage, const LineEnds& ends);

// Appends what ends a line that was left open.
void appendRecordEnd(std::string& out, Carriage carriage, const LineEnds& ends);

}  // namespace fmtio
