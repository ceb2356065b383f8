// Monthly meteorological files (format letter T): one line per year, the
// year in four columns ("(I4,12F5.1)") or five ("(I5,12F5.1)", the
// Lamont-Doherty layout), then twelve monthly values. CLDMR reads one block
// of years as a series of twelve values per year.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace series {

// The value of a month without data; a value not above it is missing.
constexpr float kMissingValue = -999.9f;
// Rows DATOL lets one block fill: 341 years of 12 months fit 4096 values.
constexpr std::int32_t kMeteoYears = 341;

// Reads one block from the unit: the title (the first text line before the
// data, cut to title.size(); blank if none), the number of years stored,
// their values (month m of year k at (k - 1) * 12 + m - 1), the first year
// (0 when nothing was read) and the number of months with data. Messages go
// to the console and, when listUnit is positive, the listed ones to it too.
// At most yearCapacity years are stored (values must hold 12 per year); the
// year that does not fit begins the next block.
void CLDMR(std::string& title, std::int32_t& years, std::span<float> values,
           std::int32_t& firstYear, std::int32_t& monthsWithData, std::int32_t unit,
           std::int32_t listUnit, std::int32_t yearCapacity);

// Summary statistics of a run of values.
struct SeriesStats {
  float mean = 0.0f;
  float minimum = 0.0f;
  float maximum = 0.0f;
  float sensitivity = 0.0f;  // mean sensitivity; 0 when a value is negative
  float deviation = 0.0f;    // standard deviation
};

SeriesStats SERSTA(std::span<const float> x);

}  // namespace series
