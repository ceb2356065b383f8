// Test helpers of the series module: read every series of a file through
// DATOL, write series with a writer, all against a scripted console.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "common/tables.h"
#include "fmtio/io.h"
#include "fmtio/options.h"
#include "fmtio/unit.h"
#include "series/datol.h"
#include "series/series.h"
#include "series/writers.h"
#include "tests/support/console_script.h"

namespace series::testing {

constexpr std::int32_t kInputUnit = 11;
constexpr std::int32_t kOutputUnit = 12;

// One series as a reader returned it.
struct ReadSeries {
  std::string ident;
  std::int32_t firstYear = 0;
  std::vector<float> values;
  std::vector<std::int32_t> samples;
};

struct ReadOutcome {
  std::vector<ReadSeries> series;
  std::int32_t finalCount = 0;  // the count that ended the reading
  std::string out;              // console output, CR LF as LF
  std::string err;
  int exitCode = 0;
  std::string unreadAnswers;  // console input left when the reading ended
};

inline ReadSeries copyOf(const Series& s) {
  ReadSeries r{s.ident, s.firstYear, {}, {}};
  r.values.assign(s.values.begin(), s.values.begin() + s.count);
  r.samples.assign(s.samples.begin(), s.samples.begin() + s.count);
  return r;
}

inline Series seriesOf(const ReadSeries& r) {
  Series s;
  s.ident = r.ident;
  s.firstYear = r.firstYear;
  s.count = static_cast<std::int32_t>(r.values.size());
  std::copy(r.values.begin(), r.values.end(), s.values.begin());
  std::copy(r.samples.begin(), r.samples.end(), s.samples.begin());
  return s;
}

// Options of the run.
struct ReadOptions {
  std::size_t identLength = 8;
  std::string passedIdent;  // identification in the record before each call
  std::function<void()> setUp;
  std::string answers;  // lines typed on the console, each ending in "\n"
  // Opened as the session opens its existing file: lines end however they
  // end in the file.
  bool dataFile = false;
};

// Reads every series of the file with the format letter set for the unit,
// until the reader returns a count below 1 (at most 10000 series).
inline ReadOutcome readFile(const std::string& path, char letter, const ReadOptions& options = {}) {
  ReadOutcome result;
  testing_support::ConsoleScript script(options.answers);
  result.exitCode = script.run([&] {
    common::PROGID("EDIT TIME SERIES");
    resetReaders();
    fmtio::OpenSpec file;
    file.file = path;
    file.status = "OLD";
    file.dataFile = options.dataFile;
    fmtio::OPEN(fmtio::Control::catching(kInputUnit), file);
    common::setUnitFormat(kInputUnit, letter);
    if (options.setUp) options.setUp();
    Series s;
    s.ident = std::string(options.identLength, ' ');
    for (int n = 0; n < 10000; ++n) {
      if (!options.passedIdent.empty()) s.ident = options.passedIdent;
      DATOL(s, kInputUnit);
      result.finalCount = s.count;
      if (s.count < 1) break;
      result.series.push_back(copyOf(s));
    }
  });
  result.out = script.outLines();
  result.err = script.err();
  result.unreadAnswers = script.remainingInput();
  return result;
}

inline ReadOutcome readText(const std::string& text, char letter, const ReadOptions& options = {}) {
  testing_support::TempDir dir;
  dir.write("in.txt", text);
  return readFile(dir.file("in.txt"), letter, options);
}

// Runs write(unit) for every series on a new file; the file's text with
// CR LF as LF, and the console output in out.
inline std::string writeText(const std::vector<ReadSeries>& all,
                             const std::function<void(Series&, std::int32_t)>& write,
                             std::string* out = nullptr) {
  testing_support::TempDir dir;
  testing_support::ConsoleScript script;
  script.run([&] {
    common::PROGID("EDIT TIME SERIES");
    fmtio::OpenSpec file;
    file.file = dir.file("out.txt");
    file.status = "NEW";
    fmtio::OPEN(fmtio::Control::catching(kOutputUnit), file);
    for (const ReadSeries& r : all) {
      Series s = seriesOf(r);
      write(s, kOutputUnit);
    }
    fmtio::Control output;
    output.unit = kOutputUnit;
    fmtio::CLOSE(output);
  });
  if (out != nullptr) *out = script.outLines();
  std::string text = dir.read("out.txt");
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return text;
}

// The writers as write functions.
inline void writeCompact(Series& s, std::int32_t unit) { CMPWR(s, unit); }
inline void writeHundredths(Series& s, std::int32_t unit) { TRRW(s, unit, "MW"); }
inline void writeThousandths(Series& s, std::int32_t unit) { TRRW(s, unit, "3W"); }
inline void writeIndexFile(Series& s, std::int32_t unit) { TRRW(s, unit, "IW"); }

// Messages of the data readers and writers begin " >> ".
inline int messageCount(const std::string& out) {
  int n = 0;
  for (std::size_t at = 0; (at = out.find(" >> ", at)) != std::string::npos; at += 4) ++n;
  return n;
}

// The series read are want: identifications, first years, values within
// tolerance and, where want has them, sample counts.
inline void expectSeries(const ReadOutcome& got, const std::vector<ReadSeries>& want,
                         const std::string& name, double tolerance = 1e-6) {
  ASSERT_EQ(got.series.size(), want.size()) << name << "\n" << got.out;
  for (std::size_t i = 0; i < want.size(); ++i) {
    const ReadSeries& g = got.series[i];
    const ReadSeries& w = want[i];
    EXPECT_EQ(g.ident, w.ident) << name << " series " << i;
    EXPECT_EQ(g.firstYear, w.firstYear) << name << " series " << i;
    ASSERT_EQ(g.values.size(), w.values.size()) << name << " series " << i;
    for (std::size_t k = 0; k < w.values.size(); ++k)
      EXPECT_NEAR(g.values[k], w.values[k], tolerance + std::fabs(w.values[k]) * 1e-7)
          << name << " series " << i << " value " << k;
    if (!w.samples.empty()) {
      EXPECT_EQ(g.samples, w.samples) << name << " series " << i;
    }
  }
}

// The console output holds `messages` " >> " messages and the text want.
inline void expectOutput(const std::string& out, const std::string& want, int messages,
                         const std::string& name) {
  EXPECT_NE(out.find(want), std::string::npos) << name << ": no \"" << want << "\" in\n" << out;
  EXPECT_EQ(messageCount(out), messages) << name << "\n" << out;
}

// The console output holds the one " >> " message want, or none when want
// is empty.
inline void expectMessage(const std::string& out, const std::string& want,
                          const std::string& name) {
  EXPECT_EQ(messageCount(out), want.empty() ? 0 : 1) << name << "\n" << out;
  EXPECT_NE(out.find(want), std::string::npos) << name << "\n" << out;
}

// One text read with a format letter: the series, text and message count wanted.
struct ReadCase {
  const char* name;
  char letter;
  std::string text;
  std::vector<ReadSeries> want;
  std::string out;  // expected in the console output
  int messages;     // number of " >> " messages
};

// Reads the case's text and checks series, output and a normal end of the run.
inline void expectRead(const ReadCase& c) {
  ReadOutcome got = readText(c.text, c.letter);
  expectSeries(got, c.want, c.name);
  expectOutput(got.out, c.out, c.messages, c.name);
  EXPECT_EQ(got.exitCode, 0) << c.name << got.err;
}

// A compact header line of the fixed layout, the marker in column 80.
inline std::string compactHeader(int count, int year, const std::string& ident,
                                 const std::string& tail) {
  char head[32];
  std::snprintf(head, sizeof head, "%8d=N%8d=I ", count, year);
  std::string line = head + ident;
  line.resize(80 - tail.size(), ' ');
  return line + tail + "\n";
}

}  // namespace series::testing
