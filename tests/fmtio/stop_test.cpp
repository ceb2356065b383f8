// STOP, runtime termination and the exit sequence, run in-process.
#include "fmtio/stop.h"

#include <gtest/gtest.h>

#include "console_capture.h"

namespace fmtio {
namespace {

using units_testing::ConsoleCaptureTest;

class StopTest : public ConsoleCaptureTest {};

TEST_F(StopTest, StopWritesItsTextToStandardError) {
  const struct {
    bool printStop;
    const char* text;
    const char* want;
  } rows[] = {
      {false, "", ""},
      {false, " ", ""},
      {false, "x", "x\n"},
      {false, "  ", "  \n"},
      {false, "- = [ ] = -", "- = [ ] = -\n"},
      {true, "", " STOP\n"},
      {true, "Exit", " STOP Exit\n"},
      {true, " ", " STOP \n"},
  };
  for (const auto& row : rows) {
    RuntimeOptions options;
    options.printStop = row.printStop;
    useOptions(options);
    err.clear();
    EXPECT_EQ(runProgram([&] { STOP(row.text); }), 0) << "'" << row.text << "'";
    EXPECT_EQ(err, row.want) << "printstop=" << row.printStop << " text '" << row.text << "'";
    EXPECT_EQ(out, "");
  }
}

TEST_F(StopTest, ABodyThatReturnsEndsLikeStopWithoutText) {
  RuntimeOptions options;
  options.printStop = true;
  useOptions(options);
  EXPECT_EQ(runProgram([] {}), 0);
  EXPECT_EQ(err, " STOP\n");
}

TEST_F(StopTest, FinalLoopRunsOnceBeforeTheExitHandlersLastRegisteredFirst) {
  std::string trace;
  int finalLoops = 0;
  consoleHooks().finalLoop = [&] {
    ++finalLoops;
    trace += "final ";
  };
  registerExitHandler([&] { trace += "h1 "; });
  int code = runProgram([&] {
    registerExitHandler([&] { trace += "h2 "; });
    registerExitHandler([&] {
      trace += "h3 ";
      STOP("again");
    });
    trace += "body ";
    runtimeTerminate(7);
  });
  EXPECT_EQ(code, 7);
  EXPECT_EQ(trace, "body final h3 h2 h1 ");
  EXPECT_EQ(finalLoops, 1);
  trace.clear();
  EXPECT_EQ(runProgram([] {}), 0);
  EXPECT_EQ(trace, "final ") << "handlers run once; the next run has its own final loop";
}

TEST_F(StopTest, StopClosesUnitsWritingTheirBuffers) {
  std::string file = path("kept.txt");
  int code = runProgram([&] {
    Control control;
    control.unit = 12;
    OpenSpec spec;
    spec.file = file;
    ASSERT_EQ(OPEN(control, spec), kCompleted);
    int status = 0;
    Unit* unit = findUnit(12, StatementKind::Write, status);
    ASSERT_NE(unit, nullptr);
    ASSERT_EQ(unit->writeRecord("last line", true), 0);
    ASSERT_EQ(contents(file), "") << "still buffered";
    STOP("done");
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(contents(file), "last line\r\n");
  EXPECT_EQ(err, "done\n");
}

TEST_F(StopTest, AFailedCloseAtTheEndIsReported) {
  int code = runProgram([&] {
    Control control;
    control.unit = 13;
    OpenSpec spec;
    spec.file = "/dev/full";
    ASSERT_EQ(OPEN(control, spec), kCompleted);
    int status = 0;
    Unit* unit = findUnit(13, StatementKind::Write, status);
    ASSERT_NE(unit, nullptr);
    ASSERT_EQ(unit->writeRecord("lost?", true), 0);
  });
  // A run that could not write what it had written is no success.
  EXPECT_EQ(code, -1);
  EXPECT_EQ(err, "? System Error:\n? No space left on device\n? CLOSE(UNIT=13,...\n");
}

}  // namespace
}  // namespace fmtio
