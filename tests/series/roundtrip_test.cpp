// Random series through every writer and back through its reader: the
// same identifications, years, values (to the precision of the format) and
// sample counts, for any first year and length.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "tests/series/series_files.h"

namespace series::testing {
namespace {

constexpr int kRounds = 40;
constexpr int kSeriesPerFile = 3;

std::string randomIdent(std::mt19937& rng, int maxLength) {
  static constexpr char kChars[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
  std::uniform_int_distribution<int> length(1, maxLength), pick(0, sizeof kChars - 2);
  std::string ident(8, ' ');
  int n = length(rng);
  for (int i = 0; i < n; ++i) ident[i] = kChars[pick(rng)];
  return ident;
}

// Decadal integers: any I6 value but the two stop markers and the 999 that
// the writers store as 1000.
std::int32_t decadalInteger(std::mt19937& rng) {
  std::uniform_int_distribution<std::int32_t> any(-99999, 999999), small(-2000, 3000);
  for (;;) {
    std::int32_t k = rng() % 4 == 0 ? any(rng) : small(rng);
    if (k != 999 && k != -9999) return k;
  }
}

std::vector<ReadSeries> randomSeries(std::mt19937& rng, int identLength, std::int32_t earliest,
                                     float (*value)(std::mt19937&)) {
  std::uniform_int_distribution<std::int32_t> year(earliest, 3000), length(1, 400), samples(1, 999);
  std::vector<ReadSeries> all;
  for (int i = 0; i < kSeriesPerFile; ++i) {
    ReadSeries s{randomIdent(rng, identLength), year(rng), {}, {}};
    int n = length(rng);
    for (int k = 0; k < n; ++k) {
      s.values.push_back(value(rng));
      s.samples.push_back(samples(rng));
    }
    all.push_back(s);
  }
  return all;
}

float hundredths(std::mt19937& rng) { return static_cast<float>(decadalInteger(rng) / 100.0); }
float thousandths(std::mt19937& rng) { return static_cast<float>(decadalInteger(rng) / 1000.0); }
float index(std::mt19937& rng) {
  return static_cast<float>(std::uniform_int_distribution<int>(-999, 9989)(rng) / 1000.0);
}
// Any magnitude from 10^-4 to 10^7, either sign.
float anyReal(std::mt19937& rng) {
  std::uniform_real_distribution<double> exponent(-4.0, 7.0), sign(-1.0, 1.0);
  return static_cast<float>(std::copysign(std::pow(10.0, exponent(rng)), sign(rng)));
}

// Largest error the compact format allows for a series: six digits of
// the range max(1, x, -10x) (half a unit of the sixth), plus float rounding.
double compactTolerance(const ReadSeries& s) {
  double range = 1.0;
  for (float x : s.values) range = std::max({range, double{x}, -10.0 * x});
  return 0.5 * range / 99999.95 + range * 1e-7;
}

struct Trip {
  const char* name;
  void (*write)(Series&, std::int32_t);
  char letter;
  int identLength;
  std::int32_t earliest;  // first years from here to 3000
  float (*value)(std::mt19937&);
  double tolerance;  // absolute; negative: the compact tolerance of the series
};

TEST(RoundTrips, RandomSeriesThroughEveryWriterAndItsReader) {
  const Trip trips[] = {
      {"compact, any magnitude", writeCompact, 'C', 8, -30000, anyReal, -1},
      {"compact, hundredths", writeCompact, 'C', 8, -30000, hundredths, 1e-6},
      {".01 decadal", writeHundredths, 'M', 7, -3000, hundredths, 1e-6},
      {".001 decadal", writeThousandths, 'M', 7, -3000, thousandths, 1e-6},
      {"index", writeIndexFile, 'I', 6, -999, index, 1e-6},
  };
  std::mt19937 rng(20240607);
  for (const Trip& t : trips) {
    for (int round = 0; round < kRounds; ++round) {
      std::vector<ReadSeries> written = randomSeries(rng, t.identLength, t.earliest, t.value);
      std::string out;
      std::string text = writeText(written, t.write, &out);
      EXPECT_EQ(messageCount(out), 0) << t.name << "\n" << out;
      ReadOutcome got = readText(text, t.letter);
      ASSERT_EQ(got.series.size(), written.size()) << t.name << "\n" << text << got.out;
      for (std::size_t i = 0; i < written.size(); ++i) {
        const ReadSeries& w = written[i];
        const ReadSeries& g = got.series[i];
        EXPECT_EQ(g.ident, w.ident) << t.name;
        EXPECT_EQ(g.firstYear, w.firstYear) << t.name << " " << w.ident;
        ASSERT_EQ(g.values.size(), w.values.size()) << t.name << " " << w.ident;
        double tolerance = t.tolerance < 0 ? compactTolerance(w) : t.tolerance;
        for (std::size_t k = 0; k < w.values.size(); ++k)
          ASSERT_NEAR(g.values[k], w.values[k], tolerance + std::fabs(w.values[k]) * 1e-7)
              << t.name << " " << w.ident << " value " << k << " of " << w.values.size()
              << ", first year " << w.firstYear;
        if (t.letter == 'I') {
          EXPECT_EQ(g.samples, w.samples) << t.name << " " << w.ident;
        }
      }
    }
  }
}

}  // namespace
}  // namespace series::testing
