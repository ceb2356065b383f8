// Golden sessions: every folder of tests/golden is one scripted edit session.
// Its file "stdin" holds the typed answers; every file whose name does not
// begin with "new" (and is not an expected text) is an input file. The
// session runs in a scratch folder holding copies of the input files, with
// the clock fixed at Friday 4 March 2005, 15:32. Expected: console.txt (the
// standard output, byte for byte), stderr.txt (the stop message) and every
// file the session creates, under its own name.
//
// RINGEDIT_REGENERATE_GOLDEN=1 rewrites the expected files from the run
// instead of comparing; review the result as a diff.
//
// The same sessions are also run through the ringedit program with the
// answers piped on standard input; they must give the same text and files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/session.h"
#include "common/tables.h"
#include "tests/support/console_script.h"
#include "tests/support/process.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ConsoleScript;
using testing_support::TempDir;

const fs::path kGoldenDir = fs::path(RINGEDIT_SOURCE_DIR) / "tests" / "golden";
constexpr const char* kAnswers = "stdin";
constexpr const char* kConsole = "console.txt";
constexpr const char* kStderr = "stderr.txt";
// The date stamp the fixed clock puts into a copied title line.
constexpr const char* kStamp = "[04Mar05-1532]";

bool regenerating() {
  const char* v = std::getenv("RINGEDIT_REGENERATE_GOLDEN");
  return v != nullptr && std::string(v) == "1";
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

bool isExpected(const std::string& name) {
  return name == kConsole || name == kStderr || name.rfind("new", 0) == 0;
}

// Files of a folder by name.
std::map<std::string, std::string> filesIn(const fs::path& dir, bool expected) {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
    std::string name = e.path().filename().string();
    if (e.is_regular_file() && name != kAnswers && isExpected(name) == expected)
      files[name] = readFile(e.path());
  }
  return files;
}

std::vector<std::string> caseNames() {
  std::vector<std::string> names;
  if (fs::is_directory(kGoldenDir))
    for (const fs::directory_entry& e : fs::directory_iterator(kGoldenDir))
      if (e.is_directory()) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// What one session produced.
struct Outcome {
  int code = 0;
  std::string remainingInput;
  std::map<std::string, std::string> files;  // console.txt, stderr.txt, created files
};

// Copies the inputs into dir; returns their names.
std::set<std::string> prepare(const fs::path& caseDir, const TempDir& dir) {
  std::set<std::string> inputs;
  for (const auto& [name, bytes] : filesIn(caseDir, false)) {
    dir.write(name, bytes);
    inputs.insert(name);
  }
  return inputs;
}

void collectCreated(const TempDir& dir, const std::set<std::string>& inputs, Outcome& outcome) {
  for (const fs::directory_entry& e : fs::directory_iterator(dir.path())) {
    std::string name = e.path().filename().string();
    if (inputs.count(name) == 0) outcome.files[name] = readFile(e.path());
  }
}

// Runs the session in-process with the working directory in a scratch folder.
Outcome runInProcess(const fs::path& caseDir) {
  TempDir dir;
  std::set<std::string> inputs = prepare(caseDir, dir);
  const fs::path home = fs::current_path();
  fs::current_path(dir.path());
  common::setClock([] { return common::LocalTime{2005, 3, 4, 15, 32}; });
  Outcome outcome;
  {
    ConsoleScript script(readFile(caseDir / kAnswers));
    outcome.code = script.run(app::editSession);
    outcome.remainingInput = script.remainingInput();
    outcome.files[kConsole] = script.out();
    outcome.files[kStderr] = script.err();
  }
  common::setClock({});
  fs::current_path(home);
  collectCreated(dir, inputs, outcome);
  return outcome;
}

void regenerate(const fs::path& caseDir, const Outcome& outcome) {
  for (const auto& [name, bytes] : filesIn(caseDir, true)) fs::remove(caseDir / name);
  for (const auto& [name, bytes] : outcome.files) writeFile(caseDir / name, bytes);
}

void expectFiles(const std::map<std::string, std::string>& got,
                 const std::map<std::string, std::string>& want, const std::string& how) {
  for (const auto& [name, bytes] : want) {
    auto it = got.find(name);
    if (it == got.end()) {
      ADD_FAILURE() << how << ": " << name << " was not created";
      continue;
    }
    EXPECT_EQ(it->second, bytes) << how << ": " << name << " differs";
  }
  for (const auto& [name, bytes] : got)
    if (want.count(name) == 0) ADD_FAILURE() << how << ": unexpected file " << name;
}

class Golden : public testing::TestWithParam<std::string> {};

TEST_P(Golden, ConsoleAndNewFileMatch) {
  const fs::path caseDir = kGoldenDir / GetParam();
  Outcome outcome = runInProcess(caseDir);
  EXPECT_EQ(outcome.code, 0);
  EXPECT_EQ(outcome.remainingInput, "") << "answers left unread";
  if (regenerating()) regenerate(caseDir, outcome);
  expectFiles(outcome.files, filesIn(caseDir, true), "in-process");
}

// The run's own date stamp replaced by the fixed clock's.
std::string withFixedStamp(const std::string& text) {
  static const std::regex stamp(R"(\[[0-9]{2}[A-Z][a-z]{2}[0-9]{2}-[0-9]{4}\])");
  return std::regex_replace(text, stamp, kStamp);
}

TEST_P(Golden, SameThroughThePipedProgram) {
  if (regenerating()) GTEST_SKIP() << "expected files are being rewritten";
  const fs::path caseDir = kGoldenDir / GetParam();
  TempDir dir;
  std::set<std::string> inputs = prepare(caseDir, dir);
  const std::string script = "cd '" + dir.path() + "' && exec '" + RINGEDIT_PATH + "'";
  testing_support::ProcessResult run =
      testing_support::runProcess({"/bin/sh", "-c", script}, readFile(caseDir / kAnswers));
  EXPECT_EQ(run.status, 0);
  Outcome outcome;
  outcome.files[kConsole] = run.out;
  outcome.files[kStderr] = run.err;
  collectCreated(dir, inputs, outcome);
  for (auto& [name, bytes] : outcome.files)
    if (name.rfind("new", 0) == 0) bytes = withFixedStamp(bytes);
  expectFiles(outcome.files, filesIn(caseDir, true), "piped");
}

INSTANTIATE_TEST_SUITE_P(Sessions, Golden, testing::ValuesIn(caseNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           return info.param;
                         });

TEST(GoldenCases, ArePresent) { EXPECT_FALSE(caseNames().empty()) << kGoldenDir; }

}  // namespace
