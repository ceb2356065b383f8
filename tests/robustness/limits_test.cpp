// Files at the limits, for every input format: series of exactly 4096 and
// of 4097 values, years at the ends of their fields, an empty file; and an
// existing file that cannot be read (a directory, a file without read
// permission). Every session ends normally and copies every series it can
// hold; what it cannot hold it says.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "tests/robustness/session_runs.h"
#include "tests/support/console_script.h"

namespace robustness {
namespace {

constexpr float kTolerance = 0.005f;
constexpr int kCapacity = 4096;

// Values 1.00 to 1.99, over and over: they fit every format's fields.
std::vector<float> cycle(int n) {
  std::vector<float> v;
  for (int i = 0; i < n; ++i) v.push_back(1.0f + static_cast<float>(i % 100) / 100.0f);
  return v;
}

const SeriesData kAfter = {"SER02", 6001, cycle(12)};

struct FileFormat {
  const char* name;
  char letter;
};
const FileFormat kFileFormats[] = {{"C", 'C'}, {"MW", 'M'}, {"3W", 'M'}, {"IW", 'I'},
                                   {"A", 'A'}, {"1", '1'},  {"2", '2'},  {"V", 'V'}};

// The series as the new file should hold it: the single-column format
// counts its years from 1.
SeriesData asWritten(SeriesData s, char letter, std::size_t count) {
  if (letter == '1') s.firstYear = 1;
  s.values.resize(count);
  return s;
}

std::string compare(const std::vector<SeriesData>& got, const std::vector<SeriesData>& want) {
  if (got.size() != want.size())
    return std::to_string(got.size()) + " series written, " + std::to_string(want.size()) +
           " expected";
  for (std::size_t k = 0; k < want.size(); ++k) {
    const SeriesData& g = got[k];
    const SeriesData& w = want[k];
    if (g.ident != w.ident || g.firstYear != w.firstYear || g.values.size() != w.values.size())
      return "series " + std::to_string(k) + ": '" + g.ident + "' " + std::to_string(g.firstYear) +
             " n=" + std::to_string(g.values.size()) + ", expected '" + w.ident + "' " +
             std::to_string(w.firstYear) + " n=" + std::to_string(w.values.size());
    for (std::size_t i = 0; i < w.values.size(); ++i)
      if (std::fabs(g.values[i] - w.values[i]) > kTolerance)
        return "series " + std::to_string(k) + " value " + std::to_string(i) + ": " +
               std::to_string(g.values[i]) + ", expected " + std::to_string(w.values[i]);
  }
  return "";
}

TEST(Limits, SeriesOfTheCapacityAreCopiedWholeLongerOnesCutWithAMessage) {
  for (const FileFormat& f : kFileFormats) {
    for (int n : {kCapacity, kCapacity + 1}) {
      std::string what = std::string(f.name) + ", " + std::to_string(n) + " values";
      SeriesData big = {"SER01", 1001, cycle(n)};
      SessionRun run = runSession(fileOf(f.name, {big, kAfter}), {.letter = f.letter});
      EXPECT_EQ(run.code, 0) << what << "\n" << run.err;
      EXPECT_TRUE(run.existingUnchanged) << what;
      std::vector<SeriesData> want = {asWritten(big, f.letter, kCapacity),
                                      asWritten(kAfter, f.letter, kAfter.values.size())};
      EXPECT_EQ(compare(run.written, want), "") << what;
      bool told = run.out.find("more than 4096 values") != std::string::npos;
      EXPECT_EQ(told, n > kCapacity) << what << "\n" << run.out.substr(0, 4000);
    }
  }
}

// Years at the ends of what a format holds, and the series after them.
struct YearCase {
  const char* format;
  char letter;
  SeriesData series;
};

TEST(Limits, YearsAtTheEndsOfTheirFieldsAreKept) {
  const YearCase cases[] = {
      {"C", 'C', {"NEG", -9999999, cycle(30)}}, {"C", 'C', {"BIG", 99999000, cycle(30)}},
      {"MW", 'M', {"NEG", -2005, cycle(40)}},   {"3W", 'M', {"LATE", 9950, cycle(45)}},
      {"IW", 'I', {"NEG", -995, cycle(30)}},    {"A", 'A', {"NEG", -32000, cycle(30)}},
      {"2", '2', {"NEG", -99999, cycle(30)}},   {"V", 'V', {"NEG", -99999, cycle(30)}},
      {"V", 'V', {"BIG", 999000, cycle(30)}},
  };
  for (const YearCase& c : cases) {
    std::string what = std::string(c.format) + " from " + std::to_string(c.series.firstYear);
    SessionRun run = runSession(fileOf(c.format, {c.series, kAfter}), {.letter = c.letter});
    EXPECT_EQ(run.code, 0) << what << "\n" << run.err;
    EXPECT_TRUE(run.existingUnchanged) << what;
    std::vector<SeriesData> want = {c.series, kAfter};
    EXPECT_EQ(compare(run.written, want), "") << what << "\n" << run.out.substr(run.out.size() / 2);
    EXPECT_EQ(run.out.find(" >> "), std::string::npos) << what << "\n" << run.out;
  }
}

// Years no compact header holds (more than 8 columns): the series cannot be
// copied, and the session must say so instead of writing a broken header or
// counting it as copied. It ends "T" and asks; here the series is omitted.
TEST(Limits, YearsBeyondTheNewFilesFieldsAreToldNotWrittenBroken) {
  const SeriesData huge = {"HUGE", INT_MAX - 7, cycle(8)};
  std::string text = fileOf("2", {huge, kAfter});
  // A value line right after the last year a year field holds.
  std::string next = fileOf("2", {{"NEXT", INT_MAX - 1, cycle(2)}});
  text += next.substr(next.find('\n') + 1) + "7 1.5\n";
  SessionRun run = runSession(text, {.letter = '2', .commands = "T\nO\nY\nT\nO\nY\nT\n"});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_TRUE(run.existingUnchanged);
  EXPECT_NE(run.out.find(" >> Years go"), std::string::npos) << run.out;
  ASSERT_FALSE(run.written.empty());
  EXPECT_EQ(compare({run.written[0]}, {kAfter}), "") << "the series after the huge years";
  EXPECT_NE(run.out.find("HUGE     Interval************     8 years, NOT COPIED\n Its years"),
            std::string::npos)
      << "not told:\n"
      << run.out;
  std::string copiedCount = "\n     " + std::to_string(run.written.size()) + " edited series";
  EXPECT_NE(run.out.find(copiedCount), std::string::npos) << "the count:\n" << run.out;
}

TEST(Limits, AnEmptyFileGivesNoSeriesAndEndsTheSession) {
  for (const FileFormat& f : kFileFormats) {
    SessionRun run = runSession("", {.letter = f.letter});
    EXPECT_EQ(run.code, 0) << f.name << "\n" << run.err;
    EXPECT_EQ(run.err, "- = [ ] = -\n") << f.name;
    EXPECT_TRUE(run.written.empty()) << f.name;
    EXPECT_NE(run.out.find("     0 edited series in new.dat"), std::string::npos) << f.name;
  }
}

// An existing file that cannot be opened is refused; the session asks again
// and goes on with the file named next.
TEST(Limits, AFileThatCannotBeReadIsRefusedAndAskedForAgain) {
  const struct {
    const char* name;
    std::function<void(const std::string&)> prepare;
  } cases[] = {
      {"a directory", [](const std::string& dir) { mkdir((dir + "/bad").c_str(), 0755); }},
      {"no read permission",
       [](const std::string& dir) {
         std::ofstream(dir + "/bad") << "SER01 1950 1.0\n";
         chmod((dir + "/bad").c_str(), 0);
       }},
  };
  const SeriesData good = {"SER01", 1950, cycle(20)};
  const std::string existing = fileOf("C", {good});
  testing_support::TempDir scratch;
  scratch.write("old.dat", existing);
  const std::string answers = "bad\n" + sessionAnswers(scratch.file("old.dat"), {});
  for (const auto& c : cases) {
    ProgramRun run = runRingedit(existing, answers, {.unprivileged = true}, c.prepare);
    EXPECT_EQ(run.status, 0) << c.name << "\n" << run.err;
    EXPECT_NE(run.out.find(" Cannot open file bad"), std::string::npos) << c.name << run.out;
    EXPECT_TRUE(run.existingUnchanged) << c.name;
    EXPECT_EQ(compare(readBackBytes(run.newFile, 'C'), {good}), "") << c.name;
  }
}

}  // namespace
}  // namespace robustness
