// nearestInteger against std::llround: halves of both signs, the doubles
// either side of each half, the largest values with a fraction, integers
// beyond 2^52, values beyond every integer type, and a sweep of products
// as the compact writer makes them (values times powers of ten).
#include "series/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
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

}  // namespace
}  // namespace series
