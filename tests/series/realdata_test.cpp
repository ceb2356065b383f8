// Real public data files (read where they lie, never copied): every file of
// a format read here gives its series without a " >> " message unless it is
// damaged, files that hold the same series in other formats agree, and every
// file survives being written in compact and decadal format and read again.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/series/series_files.h"

namespace series::testing {
namespace {

std::string shared(const std::string& name) {
  return std::string(RINGEDIT_SHARED_DATA) + "/" + name;
}

bool haveSharedData() { return std::filesystem::is_directory(RINGEDIT_SHARED_DATA); }

struct RealFile {
  const char* path;
  char letter;
  std::size_t series;
  std::size_t values;
  const char* message;  // the only " >> " message expected (on one or more lines), or nullptr
};

// A data line with text beyond the columns the reader takes.
constexpr const char* kCutLine = " >> Data line longer than 80 characters; not read:";

// The files of the formats C, M, I and 2, with the series and values they hold.
const RealFile kRealFiles[] = {
    {"rwl/Maris.rwl", 'M', 5, 928, nullptr},
    {"rwl/TTHH_raw.txt", 'M', 74, 19593, nullptr},
    {"rwl/az621.rwl", 'M', 19, 5171, kCutLine},  // damaged line 45 runs past column 80
    {"rwl/bcdates.rwl", 'M', 1, 80, nullptr},
    {"rwl/ca533.rwl", 'M', 34, 23276, nullptr},
    {"rwl/ca667.rwl", 'M', 311, 142507, nullptr},
    {"rwl/che417.rwl", 'M', 24, 5234, nullptr},
    {"rwl/co021.rwl", 'M', 35, 19772, nullptr},
    {"rwl/co566.rwl", 'M', 23, 5759, nullptr},
    {"rwl/deu313.rwl", 'M', 15, 756, nullptr},
    {"rwl/egy002.rwl", 'M', 7, 608, nullptr},
    {"rwl/fran034l.rwl", 'M', 7, 521, nullptr},
    {"rwl/kyrg014.rwl", 'M', 40, 8911, nullptr},
    {"rwl/microns.rwl", 'M', 3, 618, nullptr},
    {"rwl/min.rwl", 'M', 1, 2, nullptr},  // malformed: not in fixed columns
    {"rwl/mixedunits.rwl", 'M', 5, 784, nullptr},
    {"rwl/neth012.rwl", 'M', 7, 578, nullptr},
    {"rwl/nm580.rwl", 'M', 119, 35005, nullptr},
    {"rwl/test1-tabs.txt", 'M', 2, 48, kCutLine},  // malformed: tab separated
    {"rwl/turk029.rwl", 'M', 3, 2053, nullptr},
    {"rwl/ut566.rwl", 'M', 18, 1151, nullptr},
    {"rwl/wa130.rwl", 'M', 8, 2092, nullptr},
    {"rwl/zmb001.rwl", 'M', 8, 347, nullptr},
    {"crn/Tucson1.crn", 'I', 1, 619, nullptr},
    {"crn/Tucson2.crn", 'I', 1, 182, nullptr},
    {"crn/Tucson3.crn", 'I', 1, 316,
     " >> Sbr TRRW:  Series BOST02 ends without its stop marker"},
    {"crn/Tucson4-cr.crn", 'I', 4, 540, nullptr},
    {"crn/Tucson5-cr.crn", 'I', 4, 1176, nullptr},
    {"crn/xxxxxx.crn", 'I', 1, 247, nullptr},
    {"compact/tucsoncompact.rwm", 'C', 1, 176, nullptr},
    {"derived/bcdates-dplR-0.001.rwm", 'C', 1, 80, nullptr},
    {"derived/bcdates-dplR.rwl", 'M', 1, 80, nullptr},
    {"derived/ca533-3series-dplR.rwm", 'C', 3, 1633, nullptr},
    {"derived/egy002-2series-dplR-0.001.rwl", 'M', 2, 204, nullptr},
    {"other/MAE2.DAT", '2', 1, 312, nullptr},
};

ReadOutcome readReal(const RealFile& f) {
  return readFile(shared(f.path), f.letter, ReadOptions{});
}

std::size_t valueCount(const ReadOutcome& r) {
  std::size_t n = 0;
  for (const ReadSeries& s : r.series) n += s.values.size();
  return n;
}

// Same identifications, years and values within tolerance; the decadal
// writers store a value whose integer is 999 as 1000 (one unit more).
void expectSameSeries(const ReadOutcome& got, const ReadOutcome& want, double tolerance,
                      double unit, const std::string& what) {
  ASSERT_EQ(got.series.size(), want.series.size()) << what;
  for (std::size_t i = 0; i < want.series.size(); ++i) {
    const ReadSeries& g = got.series[i];
    const ReadSeries& w = want.series[i];
    ASSERT_EQ(g.ident, w.ident) << what << " series " << i;
    ASSERT_EQ(g.firstYear, w.firstYear) << what << " " << w.ident;
    ASSERT_EQ(g.values.size(), w.values.size()) << what << " " << w.ident;
    for (std::size_t k = 0; k < w.values.size(); ++k) {
      double d = std::fabs(static_cast<double>(g.values[k]) - w.values[k]);
      bool standIn = unit > 0 && std::lround(w.values[k] / unit) == 999 &&
                     std::fabs(g.values[k] - 1000 * unit) < tolerance;
      ASSERT_TRUE(d <= tolerance || standIn)
          << what << " " << w.ident << " year " << w.firstYear + static_cast<int>(k) << ": "
          << g.values[k] << " for " << w.values[k];
    }
  }
}

TEST(RealFiles, ReadWithoutMessages) {
  if (!haveSharedData()) GTEST_SKIP() << "no shared data folder";
  for (const RealFile& f : kRealFiles) {
    ReadOutcome got = readReal(f);
    EXPECT_EQ(got.exitCode, 0) << f.path << got.err;
    EXPECT_EQ(got.series.size(), f.series) << f.path;
    EXPECT_EQ(valueCount(got), f.values) << f.path;
    std::size_t expected = 0;
    if (f.message)
      for (std::size_t at = got.out.find(f.message); at != std::string::npos;
           at = got.out.find(f.message, at + 1))
        ++expected;
    EXPECT_EQ(messageCount(got.out), f.message ? std::max<std::size_t>(expected, 1) : 0)
        << f.path << "\n" << got.out;
  }
}

TEST(RealFiles, SameSeriesInOtherFormatsAgree) {
  if (!haveSharedData()) GTEST_SKIP() << "no shared data folder";
  struct Pair {
    const char* original;
    const char* other;
    char letter;
  };
  const Pair pairs[] = {
      {"rwl/ca533.rwl", "derived/ca533-3series-dplR.rwm", 'C'},
      {"rwl/bcdates.rwl", "derived/bcdates-dplR-0.001.rwm", 'C'},
      {"rwl/bcdates.rwl", "derived/bcdates-dplR.rwl", 'M'},
      {"rwl/egy002.rwl", "derived/egy002-2series-dplR-0.001.rwl", 'M'},
  };
  for (const Pair& p : pairs) {
    ReadOutcome original = readFile(shared(p.original), 'M');
    ReadOutcome other = readFile(shared(p.other), p.letter);
    ASSERT_FALSE(other.series.empty()) << p.other;
    // The other file holds the series of the original with the same name.
    ReadOutcome matching;
    for (const ReadSeries& s : other.series)
      for (const ReadSeries& o : original.series)
        if (o.ident == s.ident && o.firstYear == s.firstYear) matching.series.push_back(o);
    expectSameSeries(other, matching, 1e-6, 0, p.other);
  }
}

TEST(RealFiles, SurviveCompactAndDecadalRoundTrips) {
  if (!haveSharedData()) GTEST_SKIP() << "no shared data folder";
  struct Trip {
    const char* name;
    char letter;
    void (*write)(Series&, std::int32_t);
    double tolerance;
    double unit;  // stored unit of a decadal writer, for its 999 stand-in
  };
  const Trip trips[] = {
      {"compact", 'C', writeCompact, 1e-5, 0},
      {".001 decadal", 'M', writeThousandths, 0.0005 + 1e-6, 0.001},
      {".01 decadal", 'M', writeHundredths, 0.005 + 1e-5, 0.01},
  };
  for (const RealFile& f : kRealFiles) {
    ReadOutcome original = readReal(f);
    std::vector<Trip> all(std::begin(trips), std::end(trips));
    if (f.letter == 'I') all.push_back({"index", 'I', writeIndexFile, 0.0005 + 1e-6, 0});
    for (const Trip& t : all) {
      std::string out;
      std::string text = writeText(original.series, t.write, &out);
      EXPECT_EQ(messageCount(out), 0) << f.path << " as " << t.name << "\n" << out;
      ReadOutcome again = readText(text, t.letter);
      expectSameSeries(again, original, t.tolerance, t.unit, std::string(f.path) + " as " + t.name);
      if (t.letter == 'I') {
        for (std::size_t i = 0; i < original.series.size(); ++i)
          EXPECT_EQ(again.series[i].samples, original.series[i].samples) << f.path;
      }
    }
  }
}

}  // namespace
}  // namespace series::testing
