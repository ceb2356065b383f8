// FLUSH, the hold of whole work and the interrupt line's note, run
// in-process (the signal handler itself is tested on the ringedit program).
#include "fmtio/interrupt.h"

#include <gtest/gtest.h>
#include <signal.h>

#include "console_capture.h"
#include "fmtio/io.h"
#include "fmtio/stop.h"

namespace fmtio {
namespace {

using units_testing::ConsoleCaptureTest;

class InterruptTest : public ConsoleCaptureTest {
 protected:
  std::string fileText(const std::string& name) {
    std::ifstream in(dir + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  void openNew(int unit, const std::string& name) {
    OpenSpec spec;
    spec.file = dir + "/" + name;
    spec.status = "NEW";
    ASSERT_EQ(OPEN(Control::of(unit), spec), kCompleted);
  }
};

TEST_F(InterruptTest, FlushPutsEveryRecordWrittenIntoTheFile) {
  openNew(12, "f.txt");
  WRITE(12, FMT("(A)"), "one");
  WRITE(12, FMT("(A)"), "two");
  EXPECT_EQ(fileText("f.txt"), "") << "still buffered";
  EXPECT_EQ(FLUSH(Control::of(12)), kCompleted);
  EXPECT_EQ(fileText("f.txt"), "one\r\ntwo\r\n");
  EXPECT_EQ(FLUSH(Control::of(77)), kCompleted) << "an unconnected unit is left alone";
}

TEST_F(InterruptTest, AFlushThatFailsTakesTheErrorPath) {
  OpenSpec spec;
  spec.file = "/dev/full";
  ASSERT_EQ(OPEN(Control::of(13), spec), kCompleted);
  WRITE(13, FMT("(A)"), "lost");
  std::int32_t iostat = 0;
  EXPECT_EQ(FLUSH({.unit = 13, .iostat = &iostat, .err = true}), kOutcomeError);
  EXPECT_EQ(iostat, 28);
  resetUnitTable();
}

TEST_F(InterruptTest, AHoldKeepsConsoleTextAndPumpsUntilReleased) {
  int pumps = 0;
  consoleHooks().pump = [&] { ++pumps; };
  std::string held;
  {
    Uninterrupted hold;
    WRITE(kConsoleOutput, FMT("(A)"), "a message");
    WRITE(kConsoleError, FMT("(A)"), "an error");
    EXPECT_EQ(out, "") << "the message waits";
    EXPECT_EQ(err, "an error\r\n") << "errors are shown at once";
    held = hold.release();
    WRITE(kConsoleOutput, FMT("(A)"), "after");
  }
  EXPECT_EQ(pumps, 1) << "only the statement after the release pumps";
  EXPECT_EQ(held, "a message\r\n");
  EXPECT_EQ(out, "after\r\n");
  showHeldText(held);
  EXPECT_EQ(out, "after\r\na message\r\n");
}

TEST_F(InterruptTest, AHoldMakesTheSignalsWaitAndRestoresTheMask) {
  sigset_t before, during, after;
  sigprocmask(SIG_SETMASK, nullptr, &before);
  {
    Uninterrupted hold;
    sigprocmask(SIG_SETMASK, nullptr, &during);
  }
  sigprocmask(SIG_SETMASK, nullptr, &after);
  for (int number : {SIGINT, SIGTERM, SIGHUP}) {
    EXPECT_EQ(sigismember(&during, number), 1) << number;
    EXPECT_EQ(sigismember(&after, number), sigismember(&before, number)) << number;
  }
}

TEST_F(InterruptTest, AStopUnwindingThroughAHoldRestoresTheHooks) {
  int pumps = 0;
  consoleHooks().pump = [&] { ++pumps; };
  int code = runProgram([&] {
    Uninterrupted hold;
    WRITE(kConsoleOutput, FMT("(A)"), "dropped");
    STOP("stopped");
  });
  EXPECT_EQ(code, 0);
  WRITE(kConsoleOutput, FMT("(A)"), "shown");
  EXPECT_EQ(pumps, 1);
  EXPECT_EQ(out, "shown\r\n");
  EXPECT_EQ(err, "stopped\n");
}

}  // namespace
}  // namespace fmtio
