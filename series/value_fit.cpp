// Whether the new file's value fields hold a series' values as they are.
#include <cmath>
#include <cstdint>

#include "series/writers.h"

namespace series {
namespace {

// Decadal writer request -> what a stored integer is the value times, and
// the integers its 6-column field holds (a negative one with its sign).
struct ValueField {
  std::string_view request;
  double factor;
};
constexpr ValueField kValueFields[] = {{"MW", 100.0}, {"3W", 1000.0}};
constexpr double kLowestStored = -99999.0;
constexpr double kHighestStored = 999999.0;

// The stored integer as the writer rounds it: the single-precision product,
// halves away from zero. It lies in [lowest, highest] exactly when the
// product lies within half a unit beyond them, the halves themselves
// rounding outwards; the comparison needs no rounding call.
bool storedFits(float value, double factor) {
  const double product = value * static_cast<float>(factor);
  return product > kLowestStored - 0.5 && product < kHighestStored + 0.5;
}

}  // namespace

int firstValueBeyond(const Series& s, std::string_view request) {
  double factor = 0.0;  // 0: the compact format, whose scale follows the values
  for (const ValueField& field : kValueFields)
    if (field.request == request) factor = field.factor;
  for (int i = 0; i < s.count && i < kMaxValues; ++i) {
    float v = s.values[i];
    if (!std::isfinite(v)) return i;
    if (factor != 0.0 && !storedFits(v, factor)) return i;
  }
  return -1;
}

}  // namespace series
