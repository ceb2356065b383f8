// The new file after every way a session can end: the end of the existing
// file, "X", "/", a runtime error (the typed answers run out), the stop for
// too many text lines, and a write that fails (a file size limit, as a full
// disk would stop it). Every series reported COPIED before the end is in the
// new file, whole, in every output format; the existing file keeps its bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/robustness/session_runs.h"
#include "tests/support/console_script.h"

namespace robustness {
namespace {

constexpr float kTolerance = 0.0005f;

std::vector<SeriesData> fourSeries() {
  return {{"SER01", 1901, ramp(45, 1.0f)},
          {"SER02", 1850, ramp(30, 2.0f)},
          {"SER03", -120, ramp(25, 0.5f)},
          {"SER04", 1990, ramp(12, 3.0f)}};
}

// True when got holds the first n series of want, whole and in order.
std::string firstSeries(const std::vector<SeriesData>& got, const std::vector<SeriesData>& want,
                        std::size_t n) {
  if (got.size() != n)
    return std::to_string(got.size()) + " series, " + std::to_string(n) + " expected";
  for (std::size_t k = 0; k < n; ++k) {
    if (got[k].ident != want[k].ident || got[k].firstYear != want[k].firstYear ||
        got[k].values.size() != want[k].values.size())
      return "series " + std::to_string(k) + " is '" + got[k].ident + "' " +
             std::to_string(got[k].firstYear) + " n=" + std::to_string(got[k].values.size());
    for (std::size_t i = 0; i < want[k].values.size(); ++i)
      if (std::fabs(got[k].values[i] - want[k].values[i]) > kTolerance)
        return "series " + std::to_string(k) + " value " + std::to_string(i);
  }
  return "";
}

struct Ending {
  const char* name;
  std::string commands;  // answers after the title offer
  std::size_t copied;    // series in the new file
  int code;              // exit code of the run
  const char* stop;      // what standard error shows last
};

TEST(LostData, TheNewFileHoldsEverySeriesCopiedHoweverTheRunEnds) {
  const Ending endings[] = {
      {"end of file", "T\n", 4, 0, "- = [ ] = -\n"},
      {"X after two", "C\nC\nX\n", 2, 0, "- = [ ] = -\n"},
      {"/ after two", "C\nC\n/\n", 2, 0, "Exit\n"},
      {"/ to the omit question", "C\nO\n/\n", 1, 0, "Exit\n"},
      {"answers run out", "C\nK\nC\n", 3, -1, "? Attempt to read past end of file\n"},
  };
  for (char output : {'C', 'M', '3'}) {
    for (const Ending& e : endings) {
      std::string what = std::string(e.name) + ", output " + output;
      std::vector<SeriesData> series = fourSeries();
      // "K" copies the second series and offers it again: "C" copies it twice.
      if (e.copied == 3) series.insert(series.begin() + 1, series[1]);
      SessionRun run =
          runSession(fileOf("C", fourSeries()), {.output = output, .commands = e.commands});
      EXPECT_EQ(run.code, e.code) << what << "\n" << run.err;
      EXPECT_NE(run.err.find(e.stop), std::string::npos) << what << "\n" << run.err;
      EXPECT_TRUE(run.existingUnchanged) << what;
      EXPECT_EQ(firstSeries(run.written, series, e.copied), "") << what;
    }
  }
}

// Too many text lines in front of a series stop the run; what was copied stays.
TEST(LostData, TheStopForTooManyTextLinesKeepsTheSeriesCopiedBefore) {
  std::vector<SeriesData> series = fourSeries();
  std::vector<std::string> lines = linesOf(fileOf("MW", series));
  auto third = std::find_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.rfind("SER03", 0) == 0; });
  lines.insert(third, 26, "A text line where the third series should begin");
  SessionRun run = runSession(textOf(lines), {.letter = 'M', .commands = "T\n"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.err, ">> Sbr TRRW:  Text over 25 lines\n");
  EXPECT_TRUE(run.existingUnchanged);
  EXPECT_EQ(firstSeries(run.written, series, 2), "");
}

// Writes fail once the new file reaches the limit: the error is reported,
// the run ends with -1 (status 255), and the new file holds whole series up
// to the failing one, nothing wrong.
TEST(LostData, AWriteThatFailsIsReportedAndTheFileHoldsWhatWasWritten) {
  std::vector<SeriesData> series;
  for (int k = 0; k < 40; ++k)
    series.push_back({"S" + std::to_string(100 + k), 1500 + k, ramp(300, 1.0f + 0.01f * k)});
  const std::string existing = fileOf("C", series);
  testing_support::TempDir scratch;
  scratch.write("old.dat", existing);
  for (char output : {'C', 'M', '3'}) {
    std::string what = std::string("output ") + output;
    SessionPlan plan{.output = output, .commands = "T\n"};
    ProgramRun run = runRingedit(existing, sessionAnswers(scratch.file("old.dat"), plan),
                                 {.fileSizeLimit = 16384});
    EXPECT_EQ(run.status, 255) << what << "\n" << run.err;
    EXPECT_NE(run.err.find("? File too large"), std::string::npos) << what << "\n" << run.err;
    EXPECT_TRUE(run.existingUnchanged) << what;
    EXPECT_LE(run.newFile.size(), 16384u) << what;
    std::vector<SeriesData> written = readBackBytes(run.newFile, output == 'C' ? 'C' : 'M');
    ASSERT_FALSE(written.empty()) << what;
    // The last series read back may be the one cut by the failure.
    std::size_t whole = written.size() - 1;
    EXPECT_EQ(firstSeries({written.begin(), written.begin() + whole}, series, whole), "") << what;
  }
}

}  // namespace
}  // namespace robustness
