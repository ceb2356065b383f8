// FILEOP: the name dialogue for existing and new files, scratch files, the
// record length rule, rewinding and closing.
#include "dialogue/fileop.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/tables.h"
#include "fmtio/io.h"
#include "fmtio/unit.h"
#include "tests/support/console_script.h"

namespace dialogue {
namespace {

using testing_support::ConsoleScript;
using testing_support::TempDir;

const std::string kAskOld = "   ... Name of EXISTING file => ";
const std::string kAskNew = "   ... Name of NEW file to create => ";
const std::string kBellUp = " \a\x1b[1A\n";

// Runs each test in a fresh directory so that typed names stay short.
class FileopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
  }
  void TearDown() override { std::filesystem::current_path(previous_); }

  TempDir dir_;
  std::filesystem::path previous_;
};

std::string padded(const std::string& name) { return name + std::string(40 - name.size(), ' '); }

TEST_F(FileopTest, ExistingFileIsOpenedAndIdentifiedAfterRetries) {
  // A compact header needs no confirmation question.
  const std::string header = "       3=N    1950=I  ABC" + std::string(43, ' ') + "  0( 3F6.0)~";
  dir_.write("data.txt", header + "\n   1   2   3\n");
  ConsoleScript script("nosuch.txt\n  da ta.t xt \n");
  std::string name(40, '#');
  std::string first(80, ' ');
  int code = script.run([&] {
    common::PROGID("EDIT TIME SERIES");
    FILEOP(11, name, 0, "?OMEASUREMENTS TO BE EDITED");
    fmtio::READ(11, FMT("(A)"), first);
  });
  EXPECT_EQ(code, 0) << script.err();
  EXPECT_EQ(name, padded("data.txt"));
  EXPECT_EQ(common::unitFormat(11), 'C');
  EXPECT_EQ(first, header) << "unit not rewound";
  std::string heading = "\n MEASUREMENTS TO BE EDITED\n";
  std::string want = heading + kAskOld + kBellUp + " Cannot open file " + padded("nosuch.txt") +
                     "\n" + heading + kAskOld + "\n" + std::string(16, ' ') + "file " +
                     padded("data.txt") + "\n+First  6 lines\n";
  EXPECT_EQ(script.outLines().substr(0, want.size()), want);
}

TEST_F(FileopTest, NewFileIsNeverOverwrittenAndTheNameThatOpenedIsReturned) {
  dir_.write("old.txt", "keep me\n");
  ConsoleScript script("old.txt\n\nnew.txt\n");
  std::string name(40, ' ');
  int code = script.run([&] {
    common::PROGID("EDIT TIME SERIES");
    FILEOP(common::UNITNO(2), name, 0, "?LEDITED MEASUREMENTS");
    fmtio::WRITE(common::UNITNO(2), FMT("(A)"), "line one");
    FILEOP(common::UNITNO(2), name, 0, ">C");
  });
  EXPECT_EQ(code, 0) << script.err();
  EXPECT_EQ(name, padded("new.txt"));
  EXPECT_EQ(dir_.read("old.txt"), "keep me\n");
  EXPECT_EQ(dir_.read("new.txt"), "line one\r\n");
  EXPECT_EQ(script.outLines(), "\n EDITED MEASUREMENTS\n" + kAskNew + kBellUp +
                                   " Cannot open new file old.txt    12\n" + kAskNew + kBellUp +
                                   " >> The new file needs a name\n" + kAskNew);
}

// The new file needs a name: an empty answer would copy every series into
// a scratch file that vanishes at the end of the run.
TEST_F(FileopTest, AnEmptyNameForTheNewFileIsAskedAgain) {
  ConsoleScript script("\n   \nnew.txt\n");
  std::string name(40, '#');
  int code = script.run([&] {
    common::PROGID("EDIT TIME SERIES");
    FILEOP(common::UNITNO(2), name, 0, "?LEDITED MEASUREMENTS");
  });
  EXPECT_EQ(code, 0) << script.err();
  EXPECT_EQ(name, padded("new.txt"));
  EXPECT_TRUE(std::filesystem::exists(dir_.file("new.txt")));
  const std::string again = kBellUp + " >> The new file needs a name\n" + kAskNew;
  EXPECT_EQ(script.outLines(), "\n EDITED MEASUREMENTS\n" + kAskNew + again + again);
}

TEST_F(FileopTest, EmptyNameOpensAScratchFile) {
  for (const char* request : {"?OMEASUREMENTS TO BE EDITED"}) {
    ConsoleScript script("   \n");
    std::string name(40, '#');
    std::string back(10, '#');
    int atStart = -1;
    int code = script.run([&] {
      FILEOP(11, name, 0, request);
      atStart = fmtio::READ(fmtio::Control::catching(11), FMT("(A)"), back);
      fmtio::WRITE(11, FMT("(A)"), "scratch");
      FILEOP(11, name, 0, ">R");
      fmtio::READ(11, FMT("(A)"), back);
    });
    EXPECT_EQ(code, 0) << request << script.err();
    EXPECT_EQ(atStart, fmtio::kOutcomeEnd) << request;
    EXPECT_EQ(back, "scratch   ") << request;
    EXPECT_EQ(name, std::string(40, ' ')) << request;
    EXPECT_EQ(script.outLines().find("+First"), std::string::npos) << request;
    EXPECT_TRUE(std::filesystem::is_empty(dir_.path())) << request;
  }
}

TEST_F(FileopTest, NameAnswersThatEndTheRun) {
  for (const char* typed : {"/\n", " / \n", "/ rest\n"}) {
    for (const char* request : {"?OMEASUREMENTS TO BE EDITED", "?LEDITED MEASUREMENTS"}) {
      ConsoleScript script(typed);
      std::string name(40, ' ');
      int code = script.run([&] {
        FILEOP(11, name, 0, request);
        fmtio::WRITE(fmtio::kConsoleOutput, FMT("('returned')"));
      });
      EXPECT_EQ(code, 0) << request << " typed " << typed;
      EXPECT_EQ(script.out().find("returned"), std::string::npos) << request << " typed " << typed;
      EXPECT_EQ(script.err(), "Exit\n") << request << " typed " << typed;
    }
  }
}

TEST_F(FileopTest, RecordLengthIsAtLeast8192) {
  struct Case {
    const char* request;
    std::int32_t recordLength;
    std::size_t written;
    std::int32_t wantIostat;
  } cases[] = {
      {"*S", 0, 8192, 0},        {"*S", 0, 8193, 10060},    {"*S", 100, 8193, 10060},
      {"*S", 9000, 9000, 0},     {"*S", 9000, 9001, 10060}, {"?LNEW", 0, 8192, 0},
      {"?LNEW", 0, 8193, 10060},
  };
  int n = 0;
  for (const Case& c : cases) {
    ConsoleScript script("file" + std::to_string(++n) + "\n");
    std::string name(40, ' ');
    std::int32_t ios = -1;
    int outcome = -1;
    script.run([&] {
      FILEOP(13, name, c.recordLength, c.request);
      outcome = fmtio::WRITE({.unit = 13, .iostat = &ios}, FMT("(A)"), std::string(c.written, 'x'));
    });
    EXPECT_EQ(ios, c.wantIostat) << c.request << " " << c.recordLength << " " << c.written;
    EXPECT_EQ(outcome, c.wantIostat == 0 ? fmtio::kCompleted : fmtio::kOutcomeError) << c.request;
  }
}

TEST_F(FileopTest, RewindAndCloseReportNothing) {
  dir_.write("data.txt", "first\nsecond\n");
  ConsoleScript script;
  std::string line(6, ' ');
  int code = script.run([&] {
    std::string name(40, ' ');
    FILEOP(20, name, 0, ">R");  // not connected
    FILEOP(20, name, 0, ">C");
    fmtio::OpenSpec connection;
    connection.file = "data.txt";
    fmtio::OPEN(fmtio::Control::catching(20), connection);
    fmtio::READ(20, FMT("(A)"), line);
    fmtio::READ(20, FMT("(A)"), line);
    FILEOP(20, name, 0, ">R");
    fmtio::READ(20, FMT("(A)"), line);
    FILEOP(20, name, 0, ">C");
    FILEOP(20, name, 0, ">C");
  });
  EXPECT_EQ(code, 0) << script.err();
  EXPECT_EQ(line, "first ");
  EXPECT_EQ(script.out() + script.err(), "");
}

}  // namespace
}  // namespace dialogue
