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
#include "tests/support/shared_data.h"

namespace series::testing {
namespace {

using testing_support::haveSharedData;
using testing_support::needsSharedData;

std::string shared(const std::string& name) { return testing_support::sharedData(name).string(); }

struct RealFile {
  const char* path;
  char letter;
  std::size_t series;
  std::size_t values;
  // The only " >> " messages expected, each at least once (a message may
  // take more than one line).
  std::vector<std::string> messages;
};

// A data line with text beyond the columns the reader takes.
constexpr const char* kCutLine = " >> Data line longer than 80 characters; not read:";

// What a decadal writer says of a value it writes as 1000.
constexpr const char* kStandIn = "the stored value 999 is the stop marker: written as 1000";

std::size_t occurrences(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// The files of the formats C, M, I and 2, with the series and values they hold.
const RealFile kRealFiles[] = {
    {"rwl/AA_21_OS.rwl",
     'M',
     30,
     4305,  // one 999 ends its line inside a .001 series
     {" >> Sbr TRRW:  Series 01A, year  1879: 999 ends its line and the series goes on"}},
    {"rwl/Maris.rwl", 'M', 5, 928, {}},
    {"rwl/TTHH_raw.txt", 'M', 74, 19593, {}},
    {"rwl/az621.rwl", 'M', 19, 5171, {kCutLine}},  // damaged line 45 runs past column 80
    {"rwl/bcdates.rwl", 'M', 1, 80, {}},
    {"rwl/ca533.rwl", 'M', 34, 23276, {}},
    {"rwl/ca667.rwl", 'M', 311, 142507, {}},
    {"rwl/che417.rwl", 'M', 24, 5234, {}},
    {"rwl/co021.rwl", 'M', 35, 19772, {}},
    {"rwl/co566.rwl", 'M', 23, 5759, {}},
    {"rwl/deu313.rwl", 'M', 15, 756, {}},
    {"rwl/egy002.rwl", 'M', 7, 608, {}},
    {"rwl/fran034l.rwl", 'M', 7, 521, {}},
    {"rwl/kyrg014.rwl", 'M', 40, 8911, {}},
    {"rwl/microns.rwl", 'M', 3, 618, {}},
    {"rwl/min.rwl", 'M', 1, 2, {}},  // malformed: not in fixed columns
    {"rwl/mixedunits.rwl", 'M', 5, 784, {}},
    {"rwl/neth012.rwl", 'M', 7, 578, {}},
    {"rwl/nm580.rwl", 'M', 119, 35005, {}},
    // Malformed: tab separated. Every data line is told to hold a tab; the
    // blanks the tabs become push numbers beyond the fields.
    {"rwl/test1-tabs.txt",
     'M',
     2,
     48,
     {" >> Data line longer than 72 characters; not read:", "the line holds a tab",
      "beyond the decade of the line of 923; not read:"}},
    {"rwl/turk029.rwl", 'M', 3, 2053, {}},
    {"rwl/ut566.rwl", 'M', 18, 1151, {}},
    {"rwl/wa130.rwl", 'M', 8, 2092, {}},
    {"rwl/zmb001.rwl", 'M', 8, 347, {}},
    {"crn/Tucson1.crn", 'I', 1, 619, {}},
    {"crn/Tucson2.crn", 'I', 1, 182, {}},
    {"crn/Tucson3.crn", 'I', 1, 316, {" >> Sbr TRRW:  Series BOST02 ends without its stop marker"}},
    {"crn/Tucson4-cr.crn", 'I', 4, 540, {}},
    {"crn/Tucson5-cr.crn", 'I', 4, 1176, {}},
    {"crn/xxxxxx.crn", 'I', 1, 247, {}},
    {"compact/tucsoncompact.rwm", 'C', 1, 176, {}},
    {"derived/bcdates-dplR-0.001.rwm", 'C', 1, 80, {}},
    {"derived/bcdates-dplR.rwl", 'M', 1, 80, {}},
    {"derived/ca533-3series-dplR.rwm", 'C', 3, 1633, {}},
    {"derived/egy002-2series-dplR-0.001.rwl", 'M', 2, 204, {}},
    {"other/MAE2.DAT", '2', 1, 312, {}},
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
  if (!haveSharedData()) GTEST_SKIP() << needsSharedData();
  for (const RealFile& f : kRealFiles) {
    ReadOutcome got = readReal(f);
    EXPECT_EQ(got.exitCode, 0) << f.path << got.err;
    EXPECT_EQ(got.series.size(), f.series) << f.path;
    EXPECT_EQ(valueCount(got), f.values) << f.path;
    std::size_t expected = 0;
    for (const std::string& m : f.messages) {
      std::size_t n = occurrences(got.out, m);
      EXPECT_GT(n, 0u) << f.path << ": no \"" << m << "\" in\n" << got.out;
      expected += n;
    }
    EXPECT_EQ(static_cast<std::size_t>(messageCount(got.out)), expected) << f.path << "\n"
                                                                         << got.out;
  }
}

TEST(RealFiles, SameSeriesInOtherFormatsAgree) {
  if (!haveSharedData()) GTEST_SKIP() << needsSharedData();
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
  if (!haveSharedData()) GTEST_SKIP() << needsSharedData();
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
      // The only messages: a value stored as 999 is written as 1000, one
      // message for each.
      std::size_t standIns = 0;
      for (const ReadSeries& s : original.series)
        for (float v : s.values) standIns += t.unit > 0 && std::lround(v / t.unit) == 999;
      EXPECT_EQ(static_cast<std::size_t>(messageCount(out)), standIns)
          << f.path << " as " << t.name << "\n"
          << out;
      EXPECT_EQ(occurrences(out, kStandIn), standIns) << f.path << " as " << t.name;
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
