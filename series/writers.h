// Writing series: CMPWR writes the compact format; TRRW with "MW", "3W" or
// "IW" (declared in datol.h) writes the decadal formats. Nothing is written
// for a count below 1, nor for a series whose years the format cannot hold
// (the writer says so); callers ask writerYearsFit first to know which.
#pragma once

#include <cstdint>
#include <string_view>

#include "series/series.h"

namespace series {

void CMPWR(const Series& s, std::int32_t unit);

// Whether the writer of the request ("C" compact; "MW", "3W", "IW" decadal)
// can hold the series' years in its year fields. Prints nothing.
bool writerYearsFit(const Series& s, std::string_view request);
// The same for the compact header's year field alone.
bool compactYearsFit(const Series& s);
// The index of the first value the writer of the request cannot store as it
// is (not a number, infinite, or beyond a decadal 6-column value field), or
// -1 when every value fits. Prints nothing.
int firstValueBeyond(const Series& s, std::string_view request);

}  // namespace series
