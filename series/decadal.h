// The decadal formats shared by the reading and the writing side of TRRW.
#pragma once

#include <cstdint>

#include "series/series.h"

namespace series {

// Values on the first line of a series: up to the end of its decade.
int valuesOnFirstLine(std::int32_t firstYear);

// Stored integers of the measurement format: hundredths ("MW", marker 999)
// or thousandths ("3W", marker -9999).
enum class Precision { Hundredths, Thousandths };

void writeMeasurements(const Series& s, std::int32_t unit, Precision precision);
void writeIndices(const Series& s, std::int32_t unit);

}  // namespace series
