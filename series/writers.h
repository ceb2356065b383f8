// Writing series: CMPWR writes the compact format; TRRW with "MW", "3W" or
// "IW" (declared in datol.h) writes the decadal formats. Nothing is written
// for a count below 1.
#pragma once

#include <cstdint>

#include "series/series.h"

namespace series {

void CMPWR(const Series& s, std::int32_t unit);

}  // namespace series
