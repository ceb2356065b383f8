// nearestInteger against std::llround: halves of both signs, the doubles
// either side of each half, the largest values with a fraction, integers
// beyond 2^52, values beyond every integer type, and a sweep of products
// as the compact writer makes them (values times powers of ten). And
// divideByPowerOfTen against the quotient in double: every integer a data
// field of up to seven columns holds, floats of every binade with random
// significands, the quotients nearest a midpoint, tiny values and NaNs.
// And nearestStoredInteger against the product rounded in double.
#include "series/rounding.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <span>
#include <vector>

namespace series {
namespace {

std::vector<double> probes() {
  const double base[] = {0.0,
                         -0.0,
                         0.5,
                         -0.5,
                         1.5,
                         -1.5,
                         2.5,
                         -2.5,
                         0.49999999999999994,
                         -0.49999999999999994,
                         99999.5,
                         -99999.5,
                         999999.5,
                         -100000.5,
                         0x1p52 - 0.5,
                         -(0x1p52 - 0.5),
                         0x1p52,
                         -0x1p52,
                         0x1p52 + 1,
                         0x1p53 + 2,
                         0x1p62,
                         -0x1p62,
                         1e-300,
                         -1e-300,
                         4.9e-324,
                         123456.49,
                         -123456.51};
  std::vector<double> v;
  for (double b : base) {
    v.push_back(b);
    v.push_back(std::nextafter(b, HUGE_VAL));
    v.push_back(std::nextafter(b, -HUGE_VAL));
  }
  return v;
}

void expectAsLlround(double y) {
  EXPECT_EQ(nearestInteger(y), std::llround(y)) << std::hexfloat << y;
}

TEST(NearestInteger, AsLlroundAtHalvesAndLimits) {
  for (double y : probes()) expectAsLlround(y);
}

TEST(NearestInteger, AsLlroundOverScaledValues) {
  // Values with up to three decimals, as measurements are, times the
  // powers of ten the compact writer tries.
  for (int scale = -3; scale <= 8; ++scale) {
    const double power = std::pow(10.0, scale);
    for (int n = -20000; n <= 20000; n += 7) {
      const float value = static_cast<float>(n) / 1000.0f;
      expectAsLlround(value * power);
      expectAsLlround(static_cast<double>(n) * 0.0005 * power);
    }
  }
}

// The values divided one at a time in double, bit for bit against the
// helper given them in runs of `run` (as the values of a line come); the
// first difference is reported.
void expectAsQuotients(const std::vector<float>& values, int digits, std::size_t run) {
  const double power = std::pow(10.0, digits);
  std::vector<float> got = values;
  for (std::size_t at = 0; at < got.size(); at += run)
    divideByPowerOfTen(std::span(got).subspan(at, std::min(run, got.size() - at)), digits, power);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const float want = static_cast<float>(values[i] / power);
    if (std::bit_cast<std::uint32_t>(got[i]) != std::bit_cast<std::uint32_t>(want)) {
      ADD_FAILURE() << "10^" << digits << ", runs of " << run << ": " << std::hexfloat << values[i]
                    << " gives " << got[i] << ", not " << want;
      return;
    }
  }
}

TEST(DivideByPowerOfTen, AsTheQuotientForEveryFieldInteger) {
  std::vector<float> integers;
  for (int n = -999999; n <= 9999999; ++n) integers.push_back(static_cast<float>(n));
  for (int digits = 1; digits <= 8; ++digits) expectAsQuotients(integers, digits, 26);
}

TEST(DivideByPowerOfTen, AsTheQuotientForFloatsOfEveryBinade) {
  // Floats with random significands of every binade from 2^-100 up; runs
  // of them hold no value the product may not take.
  std::mt19937 random(20261207);
  std::vector<float> values;
  while (values.size() < 2'000'000) {
    const auto bits = static_cast<std::uint32_t>(random());
    const std::uint32_t magnitude = bits & 0x7FFFFFFFu;
    if (magnitude >= 0x0D800000u && magnitude < 0x7F800000u)
      values.push_back(std::bit_cast<float>(bits));
  }
  for (int digits = 1; digits <= 12; ++digits)
    for (std::size_t run : {1, 7, 26, 80}) expectAsQuotients(values, digits, run);
}

TEST(DivideByPowerOfTen, AsTheQuotientWithTinyValuesAndNaNsInTheRun) {
  // Quotients below the normal range, among them two whose product with
  // 1e-5 rounds otherwise than the quotient by 10^5 and the exact halves of
  // the smallest float (25 * 2^-148 over 100); zeros, NaNs (signalling and
  // quiet), infinities, the largest float; each alone and in the middle of a
  // run of ordinary values.
  const float edges[] = {0x1.3d62p-130f,
                         0x1.312dp-129f,
                         0x19p-148f,
                         -0x19p-148f,
                         0x1p-100f,
                         0x1.fffffep-101f,
                         0x1p-126f,
                         0.0f,
                         -0.0f,
                         std::bit_cast<float>(0x7FA5A5A5u),
                         std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::max(),
                         std::numeric_limits<float>::denorm_min()};
  std::vector<float> alone, amid;
  for (float e : edges)
    for (float v : {e, std::nextafter(e, 1.0f), std::nextafter(e, -1.0f)}) {
      alone.push_back(v);
      for (int k = 0; k < 26; ++k) amid.push_back(k == 13 ? v : 0x19p-148f * (k + 1) * 1e30f);
    }
  for (int digits = 1; digits <= 12; ++digits) {
    expectAsQuotients(alone, digits, 1);
    expectAsQuotients(amid, digits, 26);
  }
}

// The stored integer as the product's double rounds it, halves away from
// zero, or the mark of no field.
std::int32_t storedInDouble(float value, float factor) {
  const double product = value * factor;
  if (!(std::fabs(product) < 2.0e9)) return kBeyondStoredIntegers;
  return static_cast<std::int32_t>(nearestInteger(product));
}

TEST(NearestStoredInteger, AsTheProductRoundedInDouble) {
  // The result depends on the single-precision product alone: factor 1
  // over a stride through every float bit pattern, then the factors of the
  // writers over halves, the limit and their neighbours.
  for (std::uint64_t bits = 0; bits <= 0xFFFFFFFFu; bits += 251) {
    const float v = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
    ASSERT_EQ(nearestStoredInteger(v, 1.0f), storedInDouble(v, 1.0f)) << std::hexfloat << v;
  }
  const float edges[] = {0.5f,
                         1.5f,
                         2.5f,
                         0.49999997f,
                         4194304.5f,
                         8388607.5f,
                         8388608.0f,
                         16777217.0f,
                         99999.5f,
                         999999.5f,
                         2.0e9f,
                         1.0e9f,
                         0.005f,
                         0.0005f,
                         0.0f,
                         std::numeric_limits<float>::denorm_min(),
                         std::numeric_limits<float>::max(),
                         std::numeric_limits<float>::infinity(),
                         std::numeric_limits<float>::quiet_NaN()};
  for (float factor : {1.0f, 100.0f, 1000.0f, 0.1f})
    for (float e : edges)
      for (float m : {e, -e})
        for (float v : {m, std::nextafter(m, 1e30f), std::nextafter(m, -1e30f)})
          EXPECT_EQ(nearestStoredInteger(v, factor), storedInDouble(v, factor))
              << std::hexfloat << v << " * " << factor;
}

}  // namespace
}  // namespace series
