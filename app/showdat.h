// SHOWDAT: lists a series around a year, at most 50 values in groups of ten,
// each value under its year.
#pragma once

#include <cstdint>
#include <span>

namespace app {

// values[0] belongs to firstYear.
void SHOWDAT(std::span<const float> values, std::int32_t firstYear, std::int32_t lastYear,
             std::int32_t year);

}  // namespace app
