// The error path: IOSTAT, the handler outcomes and the report that stops the run.
#include "fmtio/control.h"

#include <gtest/gtest.h>

#include "console_capture.h"
#include "fmtio/stop.h"

namespace fmtio {
namespace {

using units_testing::ConsoleCaptureTest;

class ErrorPathTest : public ConsoleCaptureTest {};

struct HandlerRow {
  bool iostat, err, end, eor;
  int number;
  int wantOutcome;
  int wantIostat;  // when iostat is given
};

TEST_F(ErrorPathTest, HandlersTakeTheirConditions) {
  const HandlerRow rows[] = {
      {true, false, true, false, kErrEndOfFile, kOutcomeEnd, -1},
      {false, false, true, false, kErrEndOfFile, kOutcomeEnd, 0},
      {true, false, false, false, kErrEndOfFile, kOutcomeError, -1},
      {true, true, false, false, kErrEndOfFile, kOutcomeError, -1},
      {false, true, true, false, kErrEndOfFile, kOutcomeEnd, 0},
      {true, false, false, true, kErrEndOfRecordNonAdvancing, kOutcomeEor, -2},
      {true, false, false, false, kErrEndOfRecordNonAdvancing, kOutcomeError, -2},
      {false, true, true, false, kErrEndOfRecordNonAdvancing, kOutcomeError, 0},
      {true, false, true, true, kErrIllegalChar, kOutcomeError, kErrIllegalChar},
      {false, true, true, true, kErrIllegalChar, kOutcomeError, 0},
      {true, false, false, false, 28, kOutcomeError, 28},
  };
  for (const HandlerRow& row : rows) {
    std::int32_t iostat = 12345;
    Control control;
    control.unit = 11;
    if (row.iostat) control.iostat = &iostat;
    control.err = row.err;
    control.end = row.end;
    control.eor = row.eor;
    int outcome = takeError(control, ErrorSite{StatementKind::Read, 11}, row.number);
    std::string label = "iostat=" + std::to_string(row.iostat) + " err=" + std::to_string(row.err) +
                        " end=" + std::to_string(row.end) + " eor=" + std::to_string(row.eor) +
                        " n=" + std::to_string(row.number);
    EXPECT_EQ(outcome, row.wantOutcome) << label;
    EXPECT_EQ(iostat, row.iostat ? row.wantIostat : 12345) << label;
  }
  EXPECT_EQ(err, "");
}

TEST_F(ErrorPathTest, IostatIsStoredInItsOwnWidth) {
  std::int16_t narrow[3] = {7, 7, 7};
  std::int8_t tiny[3] = {7, 7, 7};
  Control control;
  control.iostat = &narrow[1];
  takeError(control, ErrorSite{}, kErrStatusNewExists);
  EXPECT_EQ(narrow[0], 7);
  EXPECT_EQ(narrow[1], kErrStatusNewExists);
  EXPECT_EQ(narrow[2], 7);
  control.iostat = &tiny[1];
  takeError(control, ErrorSite{}, kErrEndOfFile);
  EXPECT_EQ(tiny[0], 7);
  EXPECT_EQ(tiny[1], -1);
  EXPECT_EQ(tiny[2], 7);
}

TEST(ErrorReport, NamesTheTableTheMessageAndTheStatement) {
  const struct {
    ErrorSite site;
    int number;
    const char* want;
  } rows[] = {
      {{StatementKind::Read, 11},
       kErrEndOfFile,
       "? FORTRAN Runtime Error:\n? Attempt to read past end of file\n? READ(UNIT=11,...\n"},
      {{StatementKind::Write, kDefaultUnit},
       28,
       "? System Error:\n? No space left on device\n? WRITE(UNIT=*,...\n"},
      {{StatementKind::Read, kInternalUnit},
       kErrIllegalChar,
       "? FORTRAN Runtime Error:\n? Illegal character in numeric input\n"
       "? READ(UNIT=INTERNAL,...\n"},
      {{StatementKind::Open, 12},
       kErrStatusNewExists,
       "? FORTRAN Runtime Error:\n? Status 'NEW' specified for an existing file\n"
       "? OPEN(UNIT=12,...\n"},
      {{StatementKind::Close, -3},
       2,
       "? System Error:\n? No such file or directory\n? CLOSE(UNIT=-3,...\n"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(errorReport(row.site, row.number), row.want) << "error " << row.number;
}

TEST_F(ErrorPathTest, AnUntakenErrorIsReportedAndEndsTheRunWithMinusOne) {
  const struct {
    bool err, end;
    int number;
    const char* want;
  } rows[] = {
      {false, false, kErrEndOfFile,
       "? FORTRAN Runtime Error:\n? Attempt to read past end of file\n? READ(UNIT=11,...\n"},
      // ERR= does not take the end of file: that is END='s (or IOSTAT's).
      {true, false, kErrEndOfFile,
       "? FORTRAN Runtime Error:\n? Attempt to read past end of file\n? READ(UNIT=11,...\n"},
      {false, true, kErrIllegalChar,
       "? FORTRAN Runtime Error:\n? Illegal character in numeric input\n? READ(UNIT=11,...\n"},
  };
  for (const auto& row : rows) {
    err.clear();
    bool returned = false;
    int code = runProgram([&] {
      Control control;
      control.unit = 11;
      control.err = row.err;
      control.end = row.end;
      takeError(control, ErrorSite{StatementKind::Read, 11}, row.number);
      returned = true;
    });
    EXPECT_EQ(code, -1) << row.number;
    EXPECT_FALSE(returned) << row.number;
    EXPECT_EQ(err, row.want) << row.number;
  }
}

}  // namespace
}  // namespace fmtio
