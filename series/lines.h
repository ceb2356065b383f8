// What the series readers and writers share: reading a line whole, the
// echo of title lines with the Title flag, the state kept between series,
// the identification field and the filling of a series up to its capacity.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fmtio/format.h"
#include "series/file_survey.h"
#include "series/series.h"

namespace series {

// Columns of a data line as the readers take it with "(A)".
constexpr int kLineLength = 80;
// Text lines allowed in front of one decadal or Accurite series.
constexpr int kMaxTextLines = 25;

// Outcome of reading one line, as the runtime reports it.
enum class LineStatus { Ok, Error, End };

// Columns read beyond a line's own length, to tell the user what is cut off.
constexpr std::size_t kLookBeyond = 256;

// The reading of whole lines: the lines a reader put back, returned first,
// and the last line read, as wide as kLookBeyond, with the columns its
// reader took. One belongs to the readers' state (ReaderState::lines) and
// is reset with it.
class LineReader {
 public:
  // The next line of the unit: a line put back for it, else its next record
  // read with "(A)". line keeps its size (a shorter record is padded with
  // blanks, a longer one cut).
  LineStatus read(std::int32_t unit, std::string& line);
  // Makes text the next line read from the unit (the line put back last
  // comes first); lines put back for another unit are dropped.
  void unread(std::int32_t unit, std::string_view text);
  // The last line read, with the columns beyond its length, and how many
  // columns its reader took.
  const std::string& last() const { return last_; }
  std::size_t taken() const { return taken_; }

 private:
  bool takePending(std::int32_t unit);
  std::vector<std::string> pending_;  // the next line first
  std::int32_t pendingUnit_ = 0;
  std::string last_;
  std::size_t taken_ = 0;
};

// The readers' line reader (readerState().lines): readLine reads the next
// record of the unit with "(A)" into line (its size is kept: a shorter
// record is padded with blanks, a longer one cut).
LineStatus readLine(std::int32_t unit, std::string& line);
// A reader that took the last line as data calls this: text standing beyond
// the columns it read is shown with a message instead of being lost silently.
// fieldsEnd: the column its last field ends in, when that is before the end
// of the line; a number between the two is shown from fieldsEnd on.
void reportCutData();
void reportCutData(std::size_t fieldsEnd);
// Makes the last line readLine returned, or text, the next line readLine
// returns for the unit (the line put back last comes first).
void unreadLine(std::int32_t unit);
void unreadLine(std::int32_t unit, std::string_view text);
// The last line readLine returned, with the columns beyond its length.
const std::string& lastLineRead();

// The state the readers keep from one series to the next.
struct ReaderState {
  // The identification lines that ended the previous series of DAT1C and DAT2C.
  std::string singleColumnIdent = std::string(kLineLength, ' ');
  std::string yearValueIdent = std::string(kLineLength, ' ');
  // Listing notes of DATR, TRRW and DATVY: "1" once a title went to IULIST.
  char compactNote = ' ';
  char decadalNote = ' ';
  char valueYearNote = ' ';
  // The line of a meteorological block that did not fit its series: the
  // first line the next block of that unit reads.
  std::string meteoPending;
  std::int32_t meteoPendingUnit = 0;
  // DATR: the data format of the last header as written and compiled; the
  // headers of a file mostly repeat one.
  std::string compactFormatText;
  fmtio::Format compactFormat;
  // The line reader: the lines a reader took from a unit and put back for
  // the next series, which readLine returns before it reads that unit
  // again, and the last line read.
  LineReader lines;
  // TRRAC: the pending identification line continues a series that broke
  // off inside the file.
  bool accuriteContinues = false;
  // The survey of the file a reader last looked at, its unit and the
  // serial number of the unit's connection (a file opened again is
  // surveyed again).
  FileSurvey survey;
  std::int32_t surveyUnit = 0;
  std::uint64_t surveySerial = 0;
  // TRRW: the last stop marker read from markerUnit (999, -9999, 0 for none).
  std::int32_t lastMarker = 0;
  std::int32_t markerUnit = 0;
};

ReaderState& readerState();

// How a skipped title line is shown: after a caption, from column 2.
enum class TitleStyle { Blank1X, Tab2 };

// Shows a title line while the Title flag is blank, and copies it to the
// listing unit IULIST when there is one, noting that in note.
void echoTitle(std::string_view line, TitleStyle style, char& note);
// Copies a reader's listing note into the Title flag (column 14 of BANNER).
void updateTitleFlag(char note);

// Sets the identification field from text: at most 40 characters, the rest
// of the field blank.
void setIdent(std::string& ident, std::string_view text);
// The identification as messages show it: at most 40 characters, without
// trailing blanks.
std::string_view shownIdent(std::string_view ident);
// The first n characters of the identification, blank-padded to n.
std::string identColumns(std::string_view ident, std::size_t n);

// The line up to its first slash outside quotes. A list-directed read stops
// at a slash and leaves every later item as it was, so that a line cut
// short by a slash would read as a whole line of values; readers parse this
// part instead, and the values end at the slash as at the end of the line.
std::string_view beforeSlash(std::string_view line);

// A list-directed read also leaves a value as it was for a null value
// (nothing between two commas). Readers preset their values with this mark
// to tell such a value from a read one.
float unreadValue();
bool isUnread(float value);

// Appends values to a series that was emptied, up to kMaxValues; the first
// value beyond writes one message naming the series and the rest is dropped.
class SeriesFill {
 public:
  SeriesFill(Series& s, std::string_view routine);
  // Appends a value; past kMaxValues the message of the cut, once.
  void add(float value) {
    if (s_.count < kMaxValues)
      s_.values[s_.count++] = value;
    else
      room();
  }
  // add for each value in turn, the values copied at once.
  void addAll(std::span<const float> values) {
    const auto n = std::min(values.size(), static_cast<std::size_t>(kMaxValues - s_.count));
    std::copy_n(values.begin(), n, s_.values.begin() + s_.count);
    s_.count += static_cast<std::int32_t>(n);
    if (n < values.size()) room();
  }
  void add(float value, std::int32_t samples);
  // Appends a value read list-directed; an unread one is taken as 0 with a
  // message naming its place, so that the values after it keep their years.
  void addListed(float value);
  bool cut() const { return cut_; }

 private:
  bool room();
  Series& s_;
  std::string_view routine_;
  bool cut_ = false;
};

}  // namespace series
