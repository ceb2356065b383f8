// Rounding to the nearest integer, halves away from zero, without a call
// into the maths library: the writers round every value of a series.
#pragma once

#include <cmath>
#include <cstdint>

namespace series {

// std::llround(y) for every y it is defined for. Below 2^52 the integer
// part is exact in a double and so is y minus it; the rest is left to
// llround (integers already, or beyond every field).
inline std::int64_t nearestInteger(double y) {
  constexpr double kExactParts = 0x1p52;
  if (!(std::fabs(y) < kExactParts)) return std::llround(y);
  const auto whole = static_cast<std::int64_t>(y);  // towards zero
  const double rest = y - static_cast<double>(whole);
  return whole + (rest >= 0.5 ? 1 : 0) - (rest <= -0.5 ? 1 : 0);
}

}  // namespace series
