// Runs ended by a signal (Ctrl-C on a terminal, a kill, a closed terminal):
// the ringedit program runs as a child that is answered as it asks and is
// interrupted at a chosen moment. Every series shown COPIED is in the new
// file, whole, and no part of a later one; standard error says so; the exit
// status is 128 + the signal number.
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "tests/robustness/session_runs.h"
#include "tests/support/console_script.h"
#include "tests/support/process.h"

namespace robustness {
namespace {

constexpr const char* kPrompt = "Select => ";
constexpr const char* kNewFile = "new.dat";

std::vector<SeriesData> manySeries(int n, int length) {
  std::vector<SeriesData> list;
  for (int k = 0; k < n; ++k)
    list.push_back(
        {"S" + std::to_string(1000 + k), 1500 + k % 300, ramp(length, 1.0f + 0.01f * (k % 50))});
  return list;
}

// "" when got is the first got.size() series of want, whole.
std::string wholeSeries(const std::vector<SeriesData>& got, const std::vector<SeriesData>& want) {
  if (got.size() > want.size()) return "more series than the existing file holds";
  for (std::size_t k = 0; k < got.size(); ++k) {
    if (got[k].ident != want[k].ident || got[k].firstYear != want[k].firstYear ||
        got[k].values.size() != want[k].values.size())
      return "series " + std::to_string(k + 1) + " is not whole: '" + got[k].ident +
             "' n=" + std::to_string(got[k].values.size());
    for (std::size_t i = 0; i < got[k].values.size(); ++i)
      if (std::fabs(got[k].values[i] - want[k].values[i]) > 0.0005f)
        return "series " + std::to_string(k + 1) + " value " + std::to_string(i + 1);
  }
  return "";
}

// The series count of the interrupt line, or -1.
int countInNote(const std::string& err) {
  std::smatch m;
  if (!std::regex_search(err, m, std::regex("holds ([0-9]+) series"))) return -1;
  return std::stoi(m[1]);
}

int shownCopied(const std::string& out) {
  int n = 0;
  for (std::size_t at = out.find(", COPIED"); at != std::string::npos;
       at = out.find(", COPIED", at + 1))
    ++n;
  return n;
}

struct CaughtSignal {
  int number;
  const char* name;
};
constexpr CaughtSignal kSignals[] = {{SIGINT, "SIGINT"}, {SIGTERM, "SIGTERM"}, {SIGHUP, "SIGHUP"}};

TEST(Interrupted, WhileWaitingForAnAnswerTheNewFileHoldsTheSeriesCopied) {
  const std::vector<SeriesData> series = manySeries(4, 45);
  for (const CaughtSignal& sig : kSignals) {
    for (char output : {'C', 'M', '3'}) {
      std::string what = std::string(sig.name) + ", output " + output;
      testing_support::TempDir dir;
      dir.write("old.dat", fileOf("C", series));
      testing_support::Conversation child({RINGEDIT_PATH}, dir.path());
      child.send(sessionAnswers(dir.file("old.dat"), {.output = output, .commands = "C\nC\n"}));
      ASSERT_TRUE(child.waitFor(kPrompt, 3)) << what << "\n" << child.out();
      child.signal(sig.number);
      EXPECT_EQ(child.finish(), 128 + sig.number) << what;
      EXPECT_EQ(child.err(), std::string("\nringedit: run interrupted (") + sig.name +
                                 "); the new file new.dat holds 2 series\n")
          << what;
      std::vector<SeriesData> written = readBack(dir.file(kNewFile), output == 'C' ? 'C' : 'M');
      EXPECT_EQ(written.size(), 2u) << what;
      EXPECT_EQ(wholeSeries(written, series), "") << what;
    }
  }
}

// The signal comes while "T" copies thousands of series: whatever moment it
// hits, the file holds exactly the series the interrupt line counts, each
// whole, and at least every series shown COPIED.
TEST(Interrupted, DuringCopyingTheFileHoldsWholeSeriesAsCounted) {
  const std::vector<SeriesData> series = manySeries(3000, 120);
  testing_support::TempDir dir;
  dir.write("old.dat", fileOf("C", series));
  const std::string answers =
      sessionAnswers(dir.file("old.dat"), {.output = 'M', .commands = "T\n"});
  for (int shownBefore : {1, 40, 400}) {
    std::string what = "after " + std::to_string(shownBefore) + " shown";
    std::filesystem::remove(dir.file(kNewFile));
    testing_support::Conversation child({RINGEDIT_PATH}, dir.path());
    child.send(answers);
    ASSERT_TRUE(child.waitFor(", COPIED", shownBefore)) << what;
    child.signal(SIGTERM);
    EXPECT_EQ(child.finish(), 128 + SIGTERM) << what;
    int counted = countInNote(child.err());
    std::vector<SeriesData> written = readBack(dir.file(kNewFile), 'M');
    EXPECT_EQ(static_cast<int>(written.size()), counted) << what << "\n" << child.err();
    EXPECT_GE(counted, shownCopied(child.out())) << what;
    EXPECT_EQ(wholeSeries(written, series), "") << what;
  }
}

// convert of many inputs ended by a signal to the main process: the worker
// processes end with it, no new file is left incomplete (each one there is
// what converting its input alone gives), and the line says how far it got.
TEST(Interrupted, ConvertLeavesNoIncompleteNewFile) {
  testing_support::TempDir dir;
  const std::string text = fileOf("MW", manySeries(40, 300));
  std::vector<std::string> argv = {RINGEDIT_PATH, "convert", "--to", "3", "--out-dir", "out"};
  for (int k = 0; k < 400; ++k) {
    dir.write("in" + std::to_string(k) + ".rwl", text);
    argv.push_back("in" + std::to_string(k) + ".rwl");
  }
  testing_support::Conversation child(argv, dir.path());
  ASSERT_TRUE(child.waitFor(" -> ", 20)) << child.err();
  child.signal(SIGINT);
  ASSERT_EQ(child.finish(), 128 + SIGINT) << "the run was over before the signal";
  std::smatch m;
  const std::string err = child.err();
  ASSERT_TRUE(std::regex_search(err, m,
                                std::regex("run interrupted \\(SIGINT\\); ([0-9]+) of 400 "
                                           "inputs done\n$")))
      << err;
  EXPECT_GE(std::stoi(m[1]), 20);
  testing_support::Conversation single(
      {RINGEDIT_PATH, "convert", "--to", "3", "-o", "single.rwl", "in0.rwl"}, dir.path());
  ASSERT_EQ(single.finish(), 0);
  const std::string whole = dir.read("single.rwl");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.file("out"))) {
    ++files;
    EXPECT_EQ(dir.read("out/" + entry.path().filename().string()), whole)
        << entry.path().filename() << " is not whole";
  }
  EXPECT_GE(files, std::stoi(m[1]));
  EXPECT_LT(files, 400);
}

TEST(Interrupted, BeforeTheNewFileIsNamedNothingIsCreated) {
  testing_support::TempDir dir;
  dir.write("old.dat", fileOf("C", manySeries(2, 20)));
  testing_support::Conversation child({RINGEDIT_PATH}, dir.path());
  ASSERT_TRUE(child.waitFor("Name of EXISTING file => "));
  child.signal(SIGINT);
  EXPECT_EQ(child.finish(), 128 + SIGINT);
  EXPECT_EQ(child.err(), "\nringedit: run interrupted (SIGINT)\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file(kNewFile)));
}

}  // namespace
}  // namespace robustness
