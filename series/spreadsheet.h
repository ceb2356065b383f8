// Casewise spreadsheet files (format letter S): one case per line, numbers
// separated by blanks or commas, perhaps a first column of consecutive years
// and heading lines. SPRDIN writes every column as one compact series to a
// scratch file and redirects the input unit's UNITNO entry to it with the
// letter C, so that the compact reader then takes the columns one by one.
#pragma once

#include <cstdint>

namespace series {

// Characters of a spreadsheet line that are read; the rest of a longer line
// is cut off (and reported).
constexpr int kSheetLineLength = 2048;
// Values of all rows together; a column holds at most kMaxValues rows.
constexpr int kSheetTableSize = 49152;

// Converts the file on unit to compact series on the scratch unit; letter is
// "S" on entry and "C" on return. Asks for the first year on the console.
void SPRDIN(std::int32_t unit, std::int32_t scratch, char& letter);

// Counts the records of the unit and finds the longest significant length
// (at most kSheetLineLength). Leaves the unit rewound.
void LINCNT(std::int32_t& lines, std::int32_t& longest, std::int32_t unit);

}  // namespace series
