// What the readers learn from a data file's own bytes that its records, as
// the runtime hands them over, no longer show: which lines hold a tab among
// their characters (the runtime has turned it into blanks, which may move
// the numbers after it into other fields), and the lines of the whole file,
// for decisions that need the file's other stop markers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace series {

struct FileSurvey {
  bool known = false;  // false for a console unit or a file that cannot be read
  std::string file;    // the file surveyed
  // The lines with a tab before their last non-blank character, as the
  // runtime reads them (tabs expanded), trailing blanks removed, sorted.
  std::vector<std::string> tabbed;
  // The file's stop markers of the measurement format, counted by TRRW
  // when it first needs them (from surveyLines: the survey keeps no lines).
  bool markersCounted = false;
  int hundredthsMarkers = 0;
  int thousandthsMarkers = 0;
};

// The survey of the file connected to the unit, made on the first call
// for that unit and file and kept until the readers are reset.
FileSurvey& surveyOf(std::int32_t unit);

// Every non-empty line of the surveyed file, tabs expanded, in file order,
// read again from the file: for the rare decisions that need the whole file.
std::vector<std::string> surveyLines(const FileSurvey& survey);

// Whether a line the unit gave (tabs already expanded) held such a tab.
bool heldTab(std::int32_t unit, std::string_view lineRead);

// heldTab for the lines one reader takes from one unit in a row (one
// series): a file without a tabbed line, nearly every file, is found so at
// the first line, and the lines after it are not looked up.
class TabWatch {
 public:
  explicit TabWatch(std::int32_t unit) : unit_(unit) {}
  bool heldTab(std::string_view lineRead);

 private:
  std::int32_t unit_;
  bool tabbed_ = true;  // the file may hold tabbed lines
};

// The message for a data line that held a tab, naming the series and the
// year of the line's first value.
void reportTab(std::string_view routine, std::string_view ident, std::int64_t year);

}  // namespace series
