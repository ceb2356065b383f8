// Data files opened as the session opens the existing file: the format
// identification and every reader see the same lines whatever the file's
// line ends (LF, CR LF, CR alone, CR CR LF, or a mixture) and whether or
// not a UTF-8 byte order mark stands before the first line.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/tables.h"
#include "dialogue/fileop.h"
#include "series/fmtid.h"
#include "tests/series/series_files.h"
#include "tests/support/shared_data.h"

namespace series::testing {
namespace {

struct Opened {
  char letter = 0;  // as the format identification guessed it
  std::vector<ReadSeries> series;
  std::string out;
};

// Opens the file as the session's existing file, identifies its format and
// reads every series with the letter found.
Opened readOpened(const std::string& path) {
  Opened r;
  testing_support::ConsoleScript script;
  script.run([&] {
    common::PROGID("EDIT TIME SERIES");
    resetReaders();
    if (!dialogue::openDataFile(kInputUnit, path)) return;
    r.letter = FMTDET(kInputUnit);
    common::setUnitFormat(kInputUnit, r.letter);
    Series s;
    s.ident = std::string(8, ' ');
    for (int n = 0; n < 1000; ++n) {
      DATOL(s, kInputUnit);
      if (s.count < 1) break;
      r.series.push_back(copyOf(s));
    }
  });
  r.out = script.outLines();
  return r;
}

Opened readOpenedText(const std::string& text) {
  testing_support::TempDir dir;
  dir.write("in.txt", text);
  return readOpened(dir.file("in.txt"));
}

// The file's LF line ends replaced by `end`.
std::string withLineEnds(const std::string& text, const std::string& end) {
  std::string out;
  for (char c : text) out += c == '\n' ? end : std::string(1, c);
  return out;
}

// The first line ending in CR LF and the others in CR alone, as files whose
// header was written apart from their data.
std::string headerCrLfDataCr(const std::string& text) {
  std::size_t first = text.find('\n');
  return text.substr(0, first) + "\r\n" + withLineEnds(text.substr(first + 1), "\r");
}

std::string withByteOrderMark(const std::string& text) { return "\xEF\xBB\xBF" + text; }

const std::vector<ReadSeries> kSeries = {
    {"ABC01",
     1901,
     {1.25f, 0.5f, 2.0f, 1.75f, 0.98f, 1.5f, 1.0f, 0.75f, 1.1f, 1.2f, 0.3f, 2.5f},
     {}},
    {"ABC02", 1950, {0.4f, 0.6f, 0.8f}, {}},
};

TEST(DataFiles, ReadTheSameSeriesWhateverTheLineEndsAndByteOrderMark) {
  const struct {
    const char* name;
    char letter;
    void (*write)(Series&, std::int32_t);
  } formats[] = {
      {"compact", 'C', writeCompact},
      {"decadal .01", 'M', writeHundredths},
      {"decadal .001", 'M', writeThousandths},
      {"decadal index", 'I', writeIndexFile},
  };
  const struct {
    const char* name;
    std::string (*make)(const std::string&);
  } variants[] = {
      {"LF", [](const std::string& t) { return t; }},
      {"CR LF", [](const std::string& t) { return withLineEnds(t, "\r\n"); }},
      {"CR", [](const std::string& t) { return withLineEnds(t, "\r"); }},
      {"CR CR LF", [](const std::string& t) { return withLineEnds(t, "\r\r\n"); }},
      {"header CR LF, data CR", headerCrLfDataCr},
      {"byte order mark, LF", withByteOrderMark},
      {"byte order mark, CR",
       [](const std::string& t) { return withByteOrderMark(withLineEnds(t, "\r")); }},
  };
  for (const auto& format : formats) {
    std::string text = writeText(kSeries, format.write);
    Opened plain = readOpenedText(text);
    ASSERT_EQ(plain.letter, format.letter) << format.name << "\n" << text;
    for (const auto& variant : variants) {
      std::string name = std::string(format.name) + ", " + variant.name;
      Opened got = readOpenedText(variant.make(text));
      EXPECT_EQ(got.letter, format.letter) << name;
      ReadOutcome outcome;
      outcome.series = got.series;
      outcome.out = got.out;
      expectSeries(outcome, plain.series, name);
      EXPECT_EQ(messageCount(got.out), messageCount(plain.out)) << name << "\n" << got.out;
    }
  }
}

// A real file whose header lines end in CR LF and whose data lines end in CR
// alone (see PROVENANCE.md beside it).
TEST(DataFiles, ReadAllSeriesOfAFileWithMixedLineEnds) {
  const char* const name = "rwl/can683.rwl";
  if (!testing_support::haveSharedData(name))
    GTEST_SKIP() << testing_support::needsSharedData(name);
  const std::string path = testing_support::sharedData(name).string();
  Opened got = readOpened(path);
  EXPECT_EQ(got.letter, 'M');
  ASSERT_EQ(got.series.size(), 59u) << got.out;
  std::size_t values = 0;
  for (const ReadSeries& s : got.series) values += s.values.size();
  EXPECT_EQ(values, 6766u);
  const ReadSeries& first = got.series.front();
  EXPECT_EQ(first.ident, "j0105s  ");
  EXPECT_EQ(first.firstYear, 1936);
  ASSERT_GE(first.values.size(), 5u);
  EXPECT_NEAR(first.values[0], 0.753f, 1e-6);
  EXPECT_NEAR(first.values[4], 1.004f, 1e-6);
  const ReadSeries& last = got.series.back();
  EXPECT_EQ(last.ident, "j0127s  ");
  EXPECT_EQ(last.firstYear + static_cast<std::int32_t>(last.values.size()) - 1, 2022);
  EXPECT_NEAR(last.values.back(), 0.214f, 1e-6);
  EXPECT_EQ(messageCount(got.out), 0) << got.out;
}

}  // namespace
}  // namespace series::testing
