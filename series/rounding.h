// Rounding to the nearest integer, halves away from zero, without a call
// into the maths library: the writers round every value of a series. And
// values divided by a power of ten, rounded once, as the compact reader
// scales the integers of its data lines; and the integers the decadal
// writers store, from a single-precision product.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <span>

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

// What nearestStoredInteger gives for a product that is not a number or
// lies beyond +-2e9: no field holds it.
constexpr std::int32_t kBeyondStoredIntegers = std::numeric_limits<std::int32_t>::max();

// The integer nearest value times factor, the product taken in single
// precision as the value is stored, halves away from zero; or
// kBeyondStoredIntegers. Worked in single precision without a branch, so
// that a loop of them runs on vectors: below 2^23 the product's integer
// part is exact in a float and so is the rest; above it every float is an
// integer and the rest is 0. A product beyond the limit is made 0 before
// it is truncated and its integer replaced afterwards.
inline std::int32_t nearestStoredInteger(float value, float factor) {
  constexpr float kLimit = 2.0e9f;  // exact in single precision
  const float product = value * factor;
  // All ones when the product is within the limit; a NaN is not.
  const std::int32_t within = -static_cast<std::int32_t>(std::fabs(product) < kLimit);
  const float kept = std::bit_cast<float>(std::bit_cast<std::int32_t>(product) & within);
  const auto whole = static_cast<std::int32_t>(kept);  // towards zero
  const float rest = kept - static_cast<float>(whole);
  const std::int32_t up = -static_cast<std::int32_t>(rest >= 0.5f);
  const std::int32_t down = -static_cast<std::int32_t>(rest <= -0.5f);
  return ((whole - up + down) & within) | (kBeyondStoredIntegers & ~within);
}

// Whether test holds (is nonzero) for any of the n elements of type T
// stored from data on. Where the compiler has vectors the test is given
// four lanes at a time, which it must take as it takes one element, and
// the lanes are joined once at the end.
template <class T, class Test>
bool anyElement(const void* data, std::size_t n, Test test) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  std::size_t i = 0;
  bool any = false;
#if defined(__GNUC__)
  typedef T Lanes __attribute__((vector_size(16)));
  constexpr std::size_t kLanes = sizeof(Lanes) / sizeof(T);
  Lanes told{};
  for (; i + kLanes <= n; i += kLanes) {
    Lanes v;
    std::memcpy(&v, bytes + i * sizeof(T), sizeof v);
    told |= reinterpret_cast<Lanes>(test(v));
  }
  for (std::size_t k = 0; k < kLanes; ++k) any |= told[k] != 0;
#endif
  for (; i < n; ++i) {
    T v;
    std::memcpy(&v, bytes + i * sizeof(T), sizeof v);
    any |= test(v) != 0;
  }
  return any;
}

// Each value replaced by static_cast<float>(value / power), power = 10^digits
// (as std::pow gives it). Up to six digits the quotient is the product with
// the double nearest 1/power, which rounds to the same float: the exact
// quotient of a float by 10^digits is never a midpoint between two floats
// and lies at least 2^-25 / 10^digits (relative) from every one, farther
// than the product's error of about 2^-52. That holds while the quotient is
// a normal float, so a run with a tiny value (not 0) or a NaN, and longer
// powers, are divided. Both passes go in blocks of eight, loops of a known
// count that run on vectors.
inline void divideByPowerOfTen(std::span<float> values, int digits, double power) {
  constexpr double kReciprocals[] = {1.0, 1e-1, 1e-2, 1e-3, 1e-4, 1e-5, 1e-6};
  constexpr int kLongest = 6;
  constexpr std::size_t kBlock = 8;
  const std::size_t n = values.size();
  // Magnitude bits 1 to below 2^-100, or beyond infinity (a NaN).
  auto unusual = [](auto bits) {
    constexpr std::uint32_t kSmallest = 0x0D800000u;  // 2^-100: over 10^6 still a normal float
    constexpr std::uint32_t kInfinity = 0x7F800000u;
    bits &= 0x7FFFFFFFu;
    return (bits - 1u < kSmallest - 1u) | (bits > kInfinity);
  };
  const bool any = anyElement<std::uint32_t>(values.data(), n, unusual);
  if (digits < 0 || digits > kLongest || any) {
    for (float& v : values) v = static_cast<float>(v / power);
    return;
  }
  const double reciprocal = kReciprocals[digits];
  std::size_t i = 0;
  for (; i + kBlock <= n; i += kBlock)
    for (std::size_t j = 0; j < kBlock; ++j)
      values[i + j] = static_cast<float>(values[i + j] * reciprocal);
  for (; i < n; ++i) values[i] = static_cast<float>(values[i] * reciprocal);
}

}  // namespace series
