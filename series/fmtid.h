// Format identification of an open input unit: FMTDET guesses the letter from
// the first lines, SHOWFL shows them with a ruler, FMTID asks the user to
// confirm or choose and stores the letter in UNITFM.
#pragma once

#include <cstdint>

namespace series {

void FMTID(std::int32_t unit);
// 'C', 'T', 'M', 'I', 'A' or ' ' (unknown). Rewinds the unit before and after.
char FMTDET(std::int32_t unit);
void SHOWFL(std::int32_t unit, std::int32_t lines);

}  // namespace series
