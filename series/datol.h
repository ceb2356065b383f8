// Reading series: DATOL dispatches on the unit's format letter to the reader
// of that format; each reader consumes the lines of one series (and the title
// lines in front of it) and leaves the unit after it.
#pragma once

#include <cstdint>
#include <string_view>

#include "series/series.h"

namespace series {

// Reads the next series from the unit; s.count < 1 when there is none.
// Monthly meteorological data go to CLDMR (series/meteo.h); a spreadsheet is
// first converted by SPRDIN (series/spreadsheet.h).
void DATOL(Series& s, std::int32_t unit);

// The readers of the line formats.
void DATR(Series& s, std::int32_t unit);                            // C: compact
void TRRW(Series& s, std::int32_t unit, std::string_view request);  // MR IR (and MW 3W IW)
void TRRAC(Series& s, std::int32_t unit);                           // A: Accurite
void DAT1C(Series& s, std::int32_t unit);                           // 1: single column
void DAT2C(Series& s, std::int32_t unit);                           // 2: year, value
void DATVY(Series& s, std::int32_t unit);                           // V: value, year
// X: asks for a format specification and a count and reads that many values;
// only the count and the values change.
void readUserFormat(Series& s, std::int32_t unit);

// Forgets the state readers keep between series (saved identification lines,
// listing notes); the edit session calls it at its start.
void resetReaders();

}  // namespace series
