// Whether the decadal writers' 6-column fields hold a series' values: the
// answer of firstValueBeyond is compared, value by value, with the rule the
// writer rounds by (the single-precision product rounded halves away from
// zero, then held when it is -99999 to 999999), over values on both sides
// of each limit, the halves at the limits, and values that are no numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "series/writers.h"

namespace series {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Values near the limits of the hundredths field (times 100) and of the
// thousandths field (times 1000), and ordinary ones.
std::vector<float> probes() {
  std::vector<float> v = {0.0f,      -0.0f,     1.5f,      -3.25f,    9999.99f,  9999.995f,
                          9999.994f, 9999.996f, -999.99f,  -999.995f, -999.994f, -999.996f,
                          999.9995f, 999.9994f, 999.9996f, -99.9995f, -99.9994f, -99.9996f,
                          1e7f,      -1e7f,     3.4e38f,   -3.4e38f,  1e-30f,    kInf,
                          -kInf,     kNaN,      10000.0f,  -1000.0f,  1000.0f,   -100.0f};
  // The floats either side of each half at the limits.
  const float halves[] = {9999.995f, -999.995f, 999.9995f, -99.9995f};
  for (float h : halves) {
    v.push_back(std::nextafter(h, kInf));
    v.push_back(std::nextafter(h, -kInf));
    v.push_back(std::nextafter(std::nextafter(h, kInf), kInf));
    v.push_back(std::nextafter(std::nextafter(h, -kInf), -kInf));
  }
  return v;
}

// The rule as the writer states it.
bool held(float value, double factor) {
  if (!std::isfinite(value)) return false;
  if (factor == 0.0) return true;
  const double k = std::round(static_cast<double>(value * static_cast<float>(factor)));
  return k >= -99999.0 && k <= 999999.0;
}

struct Request {
  const char* name;
  double factor;  // 0 for the compact format
};
constexpr Request kRequests[] = {{"MW", 100.0}, {"3W", 1000.0}, {"C", 0.0}};

TEST(FirstValueBeyond, FollowsTheWritersRounding) {
  int outside = 0;
  for (const Request& r : kRequests) {
    for (float v : probes()) {
      Series s;
      s.count = 3;
      s.values[0] = 1.0f;
      s.values[1] = v;
      s.values[2] = 2.0f;
      const int expected = held(v, r.factor) ? -1 : 1;
      outside += expected == 1;
      EXPECT_EQ(firstValueBeyond(s, r.name), expected)
          << r.name << " value " << std::to_string(v) << " bits " << std::hexfloat << v;
    }
  }
  // The probes reach both sides of the limits.
  EXPECT_GT(outside, 20);
}

TEST(FirstValueBeyond, CountsOnlyTheSeriesValues) {
  Series s;
  s.count = 2;
  s.values[0] = 5.0f;
  s.values[1] = 6.0f;
  s.values[2] = kNaN;  // beyond the count
  EXPECT_EQ(firstValueBeyond(s, "MW"), -1);
  s.values[1] = 20000.0f;
  EXPECT_EQ(firstValueBeyond(s, "MW"), 1);
  EXPECT_EQ(firstValueBeyond(s, "3W"), 1);
  EXPECT_EQ(firstValueBeyond(s, "C"), -1);
}

}  // namespace
}  // namespace series
