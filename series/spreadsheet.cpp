// The spreadsheet conversion: a column count, a data pass that fills the
// value table row by row (heading lines go to the scratch file as they come),
// the first-year question, one compact series per column on the scratch file
// and the redirection of the input unit to it.
#include "series/spreadsheet.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/tables.h"
#include "common/text.h"
#include "dialogue/ask.h"
#include "dialogue/fileop.h"
#include "fmtio/io.h"
#include "series/fmtid.h"
#include "series/lines.h"
#include "series/series.h"
#include "series/writers.h"

namespace series {
namespace {

// Lines of the input shown before the summary.
constexpr int kShownLines = 8;
// A first value farther from 0 than this is not taken for a year.
constexpr float kLargestYear = 1.0e9f;
// The first-year questions: plain, and with the year of the first row.
constexpr std::string_view kAskFirstYear = "First year of data";
constexpr std::string_view kAskFirstYearAt = "First year of data  <";

// What the first column holds: not known yet, consecutive years, anything else.
enum class DateFlag : char { Unknown = ' ', Years = 'J', NotYears = 'N' };

// How a line reads as values: all that were asked, text, or fewer.
enum class RowRead { Row, Text, Short };

// The working storage of one conversion.
struct Sheet {
  std::int32_t unit = 0;
  std::int32_t scratch = 0;
  std::int32_t lines = 0;   // records of the file
  std::int32_t length = 0;  // characters of a line that are read
  std::int32_t columns = 0;
  std::int32_t rows = 0;
  std::int32_t values = 0;
  std::int32_t headers = 0;
  std::int32_t emptyValues = 0;     // null values of the rows taken, read as 0
  std::int32_t firstEmptyLine = 0;  // the line of the first of them
  std::int32_t firstYear = 0;
  DateFlag date = DateFlag::Unknown;
  std::string line;
  std::vector<float> row;  // the values of the current line
  std::vector<float> table = std::vector<float>(kSheetTableSize);
};

void fileRequest(std::int32_t unit, std::string_view request) {
  std::string name(kMaxIdentLength, ' ');
  dialogue::FILEOP(unit, name, 0, request);
}

// Reads values.size() values of the line, list-directed; a slash ends the
// values as the end of the line does. A null value keeps the unread mark.
RowRead readValues(std::string_view line, std::span<float> values) {
  std::fill(values.begin(), values.end(), unreadValue());
  int rc = fmtio::READ(fmtio::Internal(beforeSlash(line), fmtio::Control::catching()), fmtio::LIST,
                       values);
  if (rc == fmtio::kCompleted) return RowRead::Row;
  return rc == fmtio::kOutcomeEnd ? RowRead::Short : RowRead::Text;
}

// The number of values on the line: the largest k up to the line length for
// which k values read before the line ends; -1 for a text line. A read of k
// values succeeds for every k up to that number and ends short above it, so
// the number is found by halving instead of trying every k.
int valuesOnLine(Sheet& sh) {
  std::span<float> row(sh.row);
  RowRead all = readValues(sh.line, row.first(static_cast<std::size_t>(sh.length)));
  if (all == RowRead::Text) return -1;
  if (all == RowRead::Row) return sh.length;
  int low = 0, high = sh.length;  // low values read, high values do not
  while (high - low > 1) {
    int k = low + (high - low) / 2;
    if (readValues(sh.line, row.first(static_cast<std::size_t>(k))) == RowRead::Row)
      low = k;
    else
      high = k;
  }
  return low;
}

// Column count: the number of values of the first line that holds two or
// more numbers, text lines passed over. Below 2 when no line does.
void countColumns(Sheet& sh) {
  sh.columns = 0;
  while (sh.columns <= 1) {
    if (readLine(sh.unit, sh.line) != LineStatus::Ok) return;
    sh.columns = std::max(sh.columns, valuesOnLine(sh));
  }
}

// A heading line goes to the scratch file up to its last non-blank character.
void copyHeader(Sheet& sh) {
  ++sh.headers;
  std::string_view text(sh.line);
  fmtio::WRITE(sh.scratch, FMT("(A)"),
               text.substr(0, static_cast<std::size_t>(common::LASTNB(text))));
}

// The first value of a row rounded to a year; false when it is too large.
bool yearOf(float value, std::int32_t& year) {
  if (!(std::fabs(value) <= kLargestYear)) return false;
  year = static_cast<std::int32_t>(std::lround(value));
  return true;
}

// The date flag after a row: "J" while the first column counts the years
// up from the first row's, "N" from the first row where it does not.
void noteYear(Sheet& sh, float first) {
  std::int32_t year = 0;
  bool isYear = yearOf(first, year);
  if (sh.rows == 1) {
    sh.date = isYear ? DateFlag::Years : DateFlag::NotYears;
    if (isYear) sh.firstYear = year;
  } else if (!isYear || year != sh.firstYear + sh.rows - 1) {
    sh.date = DateFlag::NotYears;
  }
}

// Null values of a row (an empty cell between two commas) become 0; they
// are counted for the message after the summary.
void zeroEmptyValues(Sheet& sh, std::span<float> row, std::int32_t lineNumber) {
  for (float& v : row) {
    if (!isUnread(v)) continue;
    v = 0.0f;
    if (sh.emptyValues++ == 0) sh.firstEmptyLine = lineNumber;
  }
}

// Takes a full row into the table; false when it does not fit (the data end).
bool storeRow(Sheet& sh, std::span<float> row, std::int32_t lineNumber) {
  std::int32_t fit = std::min(kMaxValues, kSheetTableSize / sh.columns);
  if (sh.rows == fit) {
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Sbr SPRDIN: Only',I6,' rows of',I5,' values fit:',"
                     "' the data end before line',I6)"),
                 fit, sh.columns, lineNumber);
    return false;
  }
  zeroEmptyValues(sh, row, lineNumber);
  std::copy(row.begin(), row.end(), sh.table.begin() + sh.values);
  ++sh.rows;
  sh.values += sh.columns;
  noteYear(sh, row[0]);
  return true;
}

// One record of the data pass; false when the data end. A line that ends
// before a full row ends the data once a row was taken; before that it is
// passed over like a heading line, as the column count passed it over.
bool takeLine(Sheet& sh, std::int32_t lineNumber) {
  std::span<float> row = std::span<float>(sh.row).first(static_cast<std::size_t>(sh.columns));
  switch (readValues(sh.line, row)) {
    case RowRead::Row: return storeRow(sh, row, lineNumber);
    case RowRead::Short:
      if (sh.rows > 0) return false;
      break;
    case RowRead::Text: break;
  }
  copyHeader(sh);
  return true;
}

// Data pass from the start of the file, at most as many records as it has.
void readRows(Sheet& sh) {
  fileRequest(sh.unit, ">R");
  for (std::int32_t n = 1; n <= sh.lines; ++n) {
    LineStatus status = readLine(sh.unit, sh.line);
    if (status == LineStatus::End) return;
    if (status == LineStatus::Error) continue;
    if (!takeLine(sh, n)) return;
  }
}

// Asks for the first year; returns the first column to save (2 when the
// first column holds the years).
int askFirstYear(Sheet& sh) {
  std::int32_t answer = 0;
  if (sh.date != DateFlag::Years) {
    dialogue::ASKINT(kAskFirstYear, answer);
    sh.firstYear = answer;
    return 1;
  }
  std::string shown(8, ' ');
  fmtio::WRITE(fmtio::Internal(shown), FMT("(I7,'>')"), sh.firstYear);
  dialogue::ASKINT(std::string(kAskFirstYearAt) + shown, answer);
  if (answer != 0) sh.firstYear = answer;
  return 2;
}

// One compact series per column from first on, numbered from 1.
void writeColumns(const Sheet& sh, int first) {
  auto s = std::make_unique<Series>();
  s->count = sh.rows;
  s->firstYear = sh.firstYear;
  for (int j = first; j <= sh.columns; ++j) {
    for (int i = 0; i < sh.rows; ++i)
      s->values[static_cast<std::size_t>(i)] =
          sh.table[static_cast<std::size_t>(i * sh.columns + j - 1)];
    fmtio::WRITE(fmtio::Internal(s->ident), FMT("(I4,'_Col')"), j - first + 1);
    CMPWR(*s, sh.scratch);
  }
}

// Every later read of the unit's entry goes to the scratch file.
void redirect(std::int32_t unit, std::int32_t scratch) {
  common::SharedTables& t = common::tables();
  int entry = unit - t.iubase;
  if (entry >= 1 && entry <= common::kUnitEntries)
    t.unitno[static_cast<std::size_t>(entry - 1)] = scratch;
  common::setUnitFormat(scratch, 'C');
}

}  // namespace

void LINCNT(std::int32_t& lines, std::int32_t& longest, std::int32_t unit) {
  fileRequest(unit, ">R");
  std::string buffer(kSheetLineLength, ' ');
  std::int32_t cut = 0;
  lines = 0;
  longest = 0;
  for (;;) {
    // The record's length first (Q), then the part that is kept and the rest.
    std::int32_t length = 0;
    fmtio::ReadStatement read =
        fmtio::Statement::read(fmtio::Control::catching(unit), &FMT("(Q,A,A)"));
    read << length;
    std::fill(buffer.begin(), buffer.end(), ' ');
    std::string rest(static_cast<std::size_t>(std::max(length - kSheetLineLength, 0)), ' ');
    read << buffer << rest;
    if (read.end() == fmtio::kOutcomeEnd) break;
    ++lines;
    if (rest.find_first_not_of(' ') != std::string::npos) ++cut;
    longest = std::max(longest, common::LASTNB(buffer));
  }
  fileRequest(unit, ">R");
  if (cut > 0)
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Sbr LINCNT:',I6,' lines longer than',I5,' characters:',"
                     "' only the first',I5,' of each are read')"),
                 cut, kSheetLineLength, kSheetLineLength);
}

void SPRDIN(std::int32_t unit, std::int32_t scratch, char& letter) {
  auto sh = std::make_unique<Sheet>();
  sh->unit = unit;
  sh->scratch = scratch;
  fileRequest(scratch, "*S");
  LINCNT(sh->lines, sh->length, unit);
  sh->length = std::max(sh->length, 1);
  sh->line.assign(static_cast<std::size_t>(sh->length), ' ');
  sh->row.assign(static_cast<std::size_t>(sh->length), 0.0f);
  countColumns(*sh);
  if (sh->columns > 1) readRows(*sh);
  SHOWFL(unit, kShownLines);
  fileRequest(unit, ">C");
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(I6,' Rows',I4,' Columns',I8,' Data',I4,' Header lines',I5,' Data lines')"),
               sh->rows, sh->columns, sh->values, sh->headers, sh->lines);
  if (sh->emptyValues > 0)
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Sbr SPRDIN:',I6,' empty values (nothing between two commas) are',"
                     "' read as 0; the first on line',I6)"),
                 sh->emptyValues, sh->firstEmptyLine);
  if (sh->rows > 0)
    writeColumns(*sh, askFirstYear(*sh));
  else
    fmtio::WRITE(fmtio::kConsoleOutput,
                 FMT("(' >> Sbr SPRDIN: No line holds two or more numbers: no series')"));
  fileRequest(scratch, ">R");
  redirect(unit, scratch);
  letter = 'C';
}

}  // namespace series
