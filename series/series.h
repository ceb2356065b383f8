// The Series record every reader fills and every writer takes.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace series {

constexpr int kMaxValues = 4096;
constexpr int kMaxIdentLength = 40;

struct Series {
  // Identification: fixed length, blank padded; its size is the caller's
  // length (8 in the edit session); readers and writers use at most 40.
  std::string ident = std::string(8, ' ');
  std::int32_t firstYear = 0;
  // 1 or more for a series; 0 or -1 when there is no further series.
  std::int32_t count = 0;
  std::array<float, kMaxValues> values{};
  // Sample counts of index series, parallel to values.
  std::array<std::int32_t, kMaxValues> samples{};

  // The year of the last value, counted in wrapping 32-bit arithmetic as the
  // dating commands count years: any first year and count give a year.
  std::int32_t lastYear() const {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(firstYear) +
                                     static_cast<std::uint32_t>(count - 1));
  }
};

}  // namespace series
