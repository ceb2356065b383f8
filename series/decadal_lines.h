// The lines of the decadal formats as TRRW reads them: parsing one line,
// the fields it really holds, and where its stop marker stands.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace series {

// Fields are read in double precision so that the thousandths of a -9999
// series are rounded to single precision once, after the division by ten.
struct DecadalLine {
  std::string ident = std::string(8, ' ');
  std::int32_t year = 0;
  std::array<double, 10> values{};
  std::array<std::int32_t, 10> samples{};
};

// The outcome of the internal read: 0, or the runtime's error or end.
int parseMeasurementLine(std::string_view line, DecadalLine& d);
int parseIndexLine(std::string_view line, DecadalLine& d);
// The year field alone of a line that may not read whole; false when even
// the year does not read.
bool lineYear(std::string_view line, bool index, std::int32_t& year);

// Columns of the identification a measurement line holds: 7 on the lines
// of I5 years (column 8 holds the year's sign), else 8.
std::size_t identWidth(std::string_view line);

// Where the value fields of a line stand: the 0-based column of the first
// and the width of each (an I6 value, or an index slot of I4 value and I3
// count); every line has room for ten.
struct FieldColumns {
  std::size_t first;
  std::size_t width;
  std::size_t end() const { return first + 10 * width; }
};
constexpr FieldColumns kMeasurementFields{12, 6};
constexpr FieldColumns kIndexFields{10, 7};

// The fields a line really holds: those up to its last non-blank column
// within the fields (fields beyond the line's end read as 0). The last of
// them is cut when the line ends inside it while the field before it (or
// the year) is filled to its last column: its number stood right-justified
// and lost its last digits, so it would read as a smaller number. Lines
// whose numbers all stop short of their fields' ends, and lines that run
// on past their fields, are read as they stand.
struct FieldsPresent {
  int whole = 0;
  bool cut = false;
  int held() const { return whole + (cut ? 1 : 0); }
};
FieldsPresent fieldsPresent(std::string_view line, FieldColumns f);
// The same for a line whose last non-blank column is known: last (0-based),
// or npos for a line of blanks.
FieldsPresent fieldsPresent(std::string_view line, std::size_t last, FieldColumns f);

// Stop markers as F6.2 reads them: 999 (.01 precision), -9999 (.001).
bool isMeasurementMarker(double v);
std::int32_t markerKind(double v);  // 999 or -9999 for a marker

// The stop marker of a measurement line: the last value on the line, or the
// first of a run of the same marker that reaches the line's end (files pad
// with «999 999 999»). A marker with other values after it is a value.
struct LineMarker {
  int at = -1;            // field of the marker, -1 for none
  std::int32_t kind = 0;  // 999 or -9999
};
LineMarker stopMarker(const DecadalLine& d, FieldsPresent present);

// Whether line b goes on with the series of line a, whose values reach the
// year before next: the same identification and the year next.
bool continuesWith(std::string_view a, std::string_view b, std::int64_t next);

// The stop markers of a whole file (its lines in order), counting neither
// a 999 that ends its line while the next line goes on with the series
// (a value or a marker: the file must decide) nor anything of lines that
// are no measurement lines.
struct FileMarkers {
  int hundredths = 0;
  int thousandths = 0;
};
FileMarkers markersOf(const std::vector<std::string>& lines);

}  // namespace series
