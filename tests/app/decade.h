// Test support for the edit commands: a current series of ten years.
#pragma once

#include <memory>
#include <vector>

#include "app/edits.h"

namespace app::testing {

// AB01, 1901-1910, values 1 to 10, its saved copy taken.
inline std::unique_ptr<CurrentSeries> decade() {
  auto c = std::make_unique<CurrentSeries>();
  c->series.ident = "AB01    ";
  c->series.firstYear = 1901;
  c->series.count = 10;
  for (int i = 0; i < 10; ++i) c->series.values[i] = static_cast<float>(i + 1);
  saveCopy(*c);
  return c;
}

// The values the series holds.
inline std::vector<float> valuesOf(const series::Series& s) {
  return std::vector<float>(s.values.begin(), s.values.begin() + s.count);
}

}  // namespace app::testing
