// The format workbench as users and checks call it: its exact output, error
// reports and exit statuses.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/process.h"

namespace {

using testing_support::ProcessResult;
using testing_support::runProcess;

ProcessResult ringfmt(std::vector<std::string> args, const std::string& input = "",
                      std::vector<std::string> env = {}) {
  args.insert(args.begin(), RINGFMT_PATH);
  env.insert(env.begin(), "VELMAR_RT_FLAGS=");
  return runProcess(args, input, env);
}

struct CliCase {
  std::vector<std::string> args;
  std::string input;
  std::string out;
  int status;
};

TEST(Ringfmt, PrintsStatementResultsExactly) {
  const CliCase cases[] = {
      {{"compile", "(I12)"}, "", "1 I repeat=1 w=12 m=absent\r\n0 end\r\n", 0},
      {{"write", "(I4,F6.2,A3)", "i:12", "r:3.14159", "c:ab"}, "", "  12  3.14 ab\r\n", 0},
      {{"write", "--internal", "10", "(I4.3,L2)", "i:7", "l:T"}, "", "[ 007 T    ]\r\n", 0},
      {{"write", "--iostat", "(I2)", "r:1.5"}, "", "outcome=1 iostat=10022\r\n", 0},
      {{"write", "(A,:,'x')", "c4:ab"}, "", "ab  \r\n", 0},
      {{"read", "(I4,F6.2)", "i", "r"}, "  42  1234\n", "i 42\r\nr 12.34\r\n", 0},
      {{"read", "*", "i", "r", "c8"}, "3*7\n", "i 7\r\nr 7\r\nc [7       ]\r\n", 0},
      {{"read", "--iostat", "(I4)", "i=5"}, "12a4\n", "i 5\r\noutcome=1 iostat=10016\r\n", 0},
      {{"read", "--end", "(I4)", "i"}, "", "i 0\r\noutcome=2\r\n", 0},
      {{"read", "--internal", "'It''s'", "*", "c8"}, "", "c [It's    ]\r\n", 0},
      {{"read", "(L4,A3)", "l", "c3=xyz"}, " .T  ab\n", "l T\r\nc [ ab]\r\n", 0},
  };
  for (const CliCase& c : cases) {
    ProcessResult r = ringfmt(c.args, c.input);
    std::string line = c.args[0] + " " + c.args[1];
    EXPECT_EQ(r.out, c.out) << line;
    EXPECT_EQ(r.status, c.status) << line << "\n" << r.err;
  }
}

TEST(Ringfmt, ReportsErrorsOnStandardErrorWithStatus255) {
  ProcessResult bad = ringfmt({"compile", "(I4"});
  EXPECT_EQ(bad.status, 255);
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(bad.err,
            "? FORTRAN Runtime Error:\n? Format string has unmatched parens\n  (I4\n     ^\n");

  ProcessResult eof = ringfmt({"read", "(I4)", "i"});
  EXPECT_EQ(eof.status, 255);
  EXPECT_EQ(eof.err,
            "? FORTRAN Runtime Error:\n? Attempt to read past end of file\n? READ(UNIT=5,...\n");
}

TEST(Ringfmt, ReachesEveryFormatErrorNumber) {
  const std::pair<const char*, const char*> cases[] = {
      {"(I4,,I4)", "Error in format string"},
      {"(0I4)", "Illegal repeat count"},
      {"(5Habc)", "Hollerith count exceeds remaining format string"},
      {"I4)", "Format string missing opening ("},
      {"(I4", "Format string has unmatched parens"},
      {"('abc)", "Format string has unmatched quotes"},
      {"(2'x')", "Non-repeatable format descriptor"},
  };
  for (const auto& [format, message] : cases) {
    ProcessResult r = ringfmt({"compile", format});
    EXPECT_EQ(r.status, 255) << format;
    EXPECT_NE(r.err.find(std::string("? ") + message + "\n"), std::string::npos) << format;
  }
  std::string deep = "(" + std::string(21, '(') + "I1" + std::string(21, ')') + ")";
  ProcessResult overflow = ringfmt({"write", deep, "i:1"});
  EXPECT_EQ(overflow.status, 255);
  EXPECT_NE(overflow.err.find("? Format group table overflow\n"), std::string::npos);
}

// Under the report, the format with a caret where the compiler stopped.
TEST(Ringfmt, PointsAtTheFormatError) {
  const CliCase cases[] = {
      {{"compile", "(I4,W2)"}, "", "? Error in format string\n  (I4,W2)\n      ^\n", 255},
      {{"compile", "(I4,,I4)"}, "", "? Error in format string\n  (I4,,I4)\n      ^\n", 255},
      {{"compile", "(F6)"}, "", "? Error in format string\n  (F6)\n     ^\n", 255},
      {{"compile", "(I4, 0X)"}, "", "? Illegal repeat count\n  (I4, 0X)\n       ^\n", 255},
      {{"compile", "(A,2'x')"},
       "",
       "? Non-repeatable format descriptor\n  (A,2'x')\n     ^\n",
       255},
      {{"compile", "(A,'abc)"},
       "",
       "? Format string has unmatched quotes\n  (A,'abc)\n     ^\n",
       255},
      {{"compile", "(9Habc)"},
       "",
       "? Hollerith count exceeds remaining format string\n  (9Habc)\n    ^\n",
       255},
      {{"compile", "  I4)"}, "", "? Format string missing opening (\n    I4)\n    ^\n", 255},
      {{"compile", "(I4,\tQ2)"}, "", "? Error in format string\n  (I4,\tQ2)\n      \t  ^\n", 255},
      {{"write", "(I4,Y)", "i:1"},
       "",
       "? Error in format string\n? WRITE(UNIT=6,...\n  (I4,Y)\n      ^\n",
       255},
      {{"write", "--internal", "8", "(I4,Y)", "i:1"},
       "",
       "? Error in format string\n? WRITE(UNIT=INTERNAL,...\n  (I4,Y)\n      ^\n",
       255},
      {{"read", "(I4,,I2)", "i"},
       "1\n",
       "? Error in format string\n? READ(UNIT=5,...\n  (I4,,I2)\n      ^\n",
       255},
      // END= takes the end of file only: a format error still ends the run.
      {{"read", "--end", "(I4,Y)", "i"},
       "1\n",
       "? Error in format string\n? READ(UNIT=5,...\n  (I4,Y)\n      ^\n",
       255},
      // A statement that takes the error itself shows its outcome, then the caret.
      {{"write", "--iostat", "(I4,Y)", "i:1"}, "", "  (I4,Y)\n      ^\n", 0},
      {{"read", "--err", "(I4,Y)", "i"}, "1\n", "  (I4,Y)\n      ^\n", 0},
  };
  const std::string header = "? FORTRAN Runtime Error:\n";
  for (const CliCase& c : cases) {
    ProcessResult r = ringfmt(c.args, c.input);
    std::string want = c.status == 0 ? c.out : header + c.out;
    EXPECT_EQ(r.err, want) << c.args[0] << " " << c.args[1];
    EXPECT_EQ(r.status, c.status) << c.args[0] << " " << c.args[1];
  }
  ProcessResult taken = ringfmt({"write", "--iostat", "(I4,Y)", "i:1"});
  EXPECT_EQ(taken.out, "outcome=1 iostat=10006\r\n");
}

// An internal variable longer than the longest record is error 10004
// through the error path, not an allocation that ends the process.
TEST(Ringfmt, RefusesAnInternalRecordLongerThanTheLongestRecord) {
  ProcessResult report = ringfmt({"write", "--internal", "2147483647", "(I4)", "i:1"});
  EXPECT_EQ(report.status, 255);
  EXPECT_EQ(report.out, "");
  EXPECT_EQ(report.err,
            "? FORTRAN Runtime Error:\n? Buffer allocation failed\n? WRITE(UNIT=INTERNAL,...\n");
  ProcessResult taken = ringfmt({"write", "--iostat", "--internal", "2147483647", "(I4)", "i:1"});
  EXPECT_EQ(taken.status, 0);
  EXPECT_EQ(taken.out, "outcome=1 iostat=10004\r\n");
  ProcessResult longest = ringfmt({"write", "--internal", "1048576", "(I4)", "i:1"});
  EXPECT_EQ(longest.status, 0) << longest.err;
  EXPECT_EQ(longest.out.size(), 1048576u + 4u);
}

// A record that tabs under a huge TABSIZE, or a line without its end, would
// make longer than the longest record is error 10004 like any other error.
TEST(Ringfmt, RefusesAnInputRecordLongerThanTheLongestRecord) {
  const std::vector<std::string> hugeTabs = {"TABSIZE=2147483647"};
  ProcessResult taken = ringfmt({"read", "--iostat", "(A)", "c5"}, "a\tb\n", hugeTabs);
  EXPECT_EQ(taken.status, 0) << taken.err;
  EXPECT_EQ(taken.out, "c [     ]\r\noutcome=1 iostat=10004\r\n");
  ProcessResult report = ringfmt({"read", "(A)", "c5"}, std::string(2000000, 'x'));
  EXPECT_EQ(report.status, 255);
  EXPECT_EQ(report.err,
            "? FORTRAN Runtime Error:\n? Buffer allocation failed\n? READ(UNIT=5,...\n");
  ProcessResult fits = ringfmt({"read", "(A)", "c5"}, "a\tb\n", {"TABSIZE=2"});
  EXPECT_EQ(fits.out, "c [a b  ]\r\n");
}

// Standard input is read line by line whatever bytes a line holds.
TEST(Ringfmt, ReadsANulByteOfStandardInputAsPartOfItsLine) {
  ProcessResult r = ringfmt({"read", "(A,/,A)", "c5", "c2"}, std::string("ab\0cd\nxy\n", 9));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, std::string("c [ab\0cd]\r\nc [xy]\r\n", 19));
}

TEST(Ringfmt, EndsThroughStop) {
  ProcessResult r = ringfmt({"write", "(I4)", "i:1"}, "", {"VELMAR_RT_FLAGS=-printstop"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "   1\r\n");
  EXPECT_EQ(r.err, " STOP\n");
}

TEST(Ringfmt, RejectsBadUsageWithStatus2) {
  EXPECT_EQ(ringfmt({}).status, 2);
  for (const char* help : {"--help", "-h"}) {
    auto r = ringfmt({help});
    EXPECT_EQ(r.status, 0) << help;
    EXPECT_EQ(r.out.rfind("usage:\n  ringfmt compile FORMAT\n", 0), 0u) << r.out;
    EXPECT_EQ(r.err, "") << help;
  }
  auto version = ringfmt({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "ringfmt " RINGEDIT_VERSION "\n");
  EXPECT_EQ(ringfmt({"--bogus"}).status, 2);
  EXPECT_EQ(ringfmt({"frobnicate"}).status, 2);
  EXPECT_EQ(ringfmt({"write", "(I4)", "x:1"}).status, 2);
}

std::string fileText(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(Project, CiRunsTheReadmeTestCommand) {
  std::string readme = fileText(std::string(RINGEDIT_SOURCE_DIR) + "/README.md");
  std::string ci = fileText(std::string(RINGEDIT_SOURCE_DIR) + "/.ci/run");
  const std::string command = "./build.sh test";
  EXPECT_NE(readme.find("    " + command + "\n"), std::string::npos);
  EXPECT_NE(ci.find("\n" + command + "\n"), std::string::npos);
}

}  // namespace
