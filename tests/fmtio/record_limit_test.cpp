// The longest input record: a line longer than the bound (after tab
// expansion) is error 10004 through the error path and is passed over, so
// that the next READ takes the line after it; no line, tab size or failed
// allocation makes a record grow without bound or ends the process.
#include <gtest/gtest.h>

#include <cstdint>
#include <new>
#include <string>

#include "console_capture.h"
#include "fmtio/io.h"
#include "fmtio/stop.h"

namespace fmtio {
namespace {

class RecordLimitTest : public units_testing::ConsoleCaptureTest {
 protected:
  // Every record of a file read with "(A)" under IOSTAT: the text and '|',
  // or "E" and the IOSTAT value and '|', then "end".
  std::string readFile(const std::string& bytes, RuntimeOptions options) {
    useOptions(options);
    create(path("in.txt"), bytes);
    OpenSpec spec;
    spec.file = path("in.txt");
    spec.status = "OLD";
    EXPECT_EQ(OPEN(Control::of(21), spec), kCompleted);
    std::string all;
    for (int n = 0; n < 10; ++n) {
      std::string line(80, ' ');
      std::int32_t ios = 0;
      int rc = READ({.unit = 21, .iostat = &ios}, FMT("(A)"), line);
      if (ios == -1) return all + "end";
      all += rc == 0 ? line.substr(0, line.find_last_not_of(' ') + 1) + "|"
                     : "E" + std::to_string(ios) + "|";
    }
    return all + "more";
  }
};

RuntimeOptions withLimit(std::size_t limit, int tabSize = 8) {
  RuntimeOptions options;
  options.recordLimit = limit;
  options.tabSize = tabSize;
  return options;
}

TEST_F(RecordLimitTest, ALongerRecordIsError10004AndIsPassedOver) {
  const std::string atLimit(64, 'x');
  const struct {
    const char* what;
    std::string bytes;
    RuntimeOptions options;
    std::string want;
  } rows[] = {
      {"a record as long as the limit", atLimit + "\nz\n", withLimit(64), atLimit + "|z|end"},
      {"one character more", atLimit + "x\nz\n", withLimit(64), "E10004|z|end"},
      {"CR LF line one more", "ab\r\n" + atLimit + "x\r\nz\r\n", withLimit(64), "ab|E10004|z|end"},
      {"no terminator at all", std::string(100000, 'y'), withLimit(64), "E10004|end"},
      {"over several buffers", "a\n" + std::string(30000, 'y') + "\nb\n", withLimit(64),
       "a|E10004|b|end"},
      {"tabs expand past the limit", "a" + std::string(8, '\t') + "b\nz\n", withLimit(64),
       "E10004|z|end"},
      {"tabs up to the limit", std::string(8, '\t') + "\nz\n", withLimit(64), "|z|end"},
      {"a huge tab size", "a\tb\nz\n", withLimit(64, 1 << 30), "E10004|z|end"},
      {"the default limit", std::string(kDefaultRecordLimit + 1, 'y') + "\nz\n", RuntimeOptions{},
       "E10004|z|end"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(readFile(row.bytes, row.options), row.want) << row.what;
    CLOSE(Control::of(21));
  }
  EXPECT_EQ(err, "");
}

TEST_F(RecordLimitTest, ConsoleLinesAndListInputAreBoundedAlike) {
  useOptions(withLimit(16));
  typed = {std::string(17, '7') + "\n", "42\n", std::string(40, ' ') + "\n"};
  std::int32_t value = 0, ios = 0;
  EXPECT_EQ(READ({.unit = kConsoleInput, .iostat = &ios}, LIST, value), kOutcomeError);
  EXPECT_EQ(ios, kErrNoMemory);
  EXPECT_EQ(READ({.unit = kConsoleInput, .iostat = &ios}, LIST, value), kCompleted);
  EXPECT_EQ(value, 42);
  std::string text(4, '*');
  EXPECT_EQ(READ({.unit = kConsoleInput, .iostat = &ios}, FMT("(A)"), text), kOutcomeError);
  EXPECT_EQ(ios, kErrNoMemory);
}

TEST_F(RecordLimitTest, WithoutIostatTheRunEndsWithTheReport) {
  useOptions(withLimit(16));
  typed = {std::string(20, 'a') + "\n"};
  int code = runProgram([] {
    std::string text(4, ' ');
    READ(kConsoleInput, FMT("(A)"), text);
  });
  EXPECT_EQ(code, -1);
  EXPECT_EQ(err, "? FORTRAN Runtime Error:\n? Buffer allocation failed\n? READ(UNIT=5,...\n");
}

// Memory that cannot be had while a statement runs is its error 10004.
TEST_F(RecordLimitTest, AFailedAllocationIsAnErrorOfTheStatement) {
  consoleHooks().readLine = [](int, std::string&) -> bool { throw std::bad_alloc(); };
  std::string text(4, '*');
  std::int32_t ios = 0;
  EXPECT_EQ(READ({.unit = kConsoleInput, .iostat = &ios, .err = true}, FMT("(A)"), text),
            kOutcomeError);
  EXPECT_EQ(ios, kErrNoMemory);
  EXPECT_EQ(text, "****");
}

}  // namespace
}  // namespace fmtio
