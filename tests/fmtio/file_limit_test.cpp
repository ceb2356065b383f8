// A write that passes the process's file size limit (as a full disk would
// stop it) is reported through the error path and ends the run with -1; it
// must not kill the process before a word is said. Run in a child process
// with a limit of 4096 bytes and the signal's default action restored.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <string>

#include "fmtio/io.h"
#include "fmtio/stop.h"
#include "fmtio/unit.h"
#include "tests/support/console_script.h"

namespace {

constexpr rlim_t kLimit = 4096;

struct LimitCase {
  const char* name;
  int lines;      // 80-character records written
  int wantCode;   // exit code of the run
  bool reported;  // "File too large" on standard error
};

// Child exit statuses: 0 as expected, 1 otherwise; killed by a signal it is 128 + signal.
int runChild(const LimitCase& c, const std::string& file) {
  std::signal(SIGXFSZ, SIG_DFL);
  rlimit limit{kLimit, kLimit};
  if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
  testing_support::ConsoleScript console;
  int code = console.run([&] {
    fmtio::OpenSpec spec;
    spec.file = file;
    spec.status = "REPLACE";
    fmtio::OPEN(fmtio::Control::of(12), spec);
    std::string line(80, 'x');
    for (int i = 0; i < c.lines; ++i) fmtio::WRITE(12, FMT("(A)"), line);
    fmtio::CLOSE(fmtio::Control::of(12));
  });
  bool reported = console.err().find("? File too large") != std::string::npos;
  return code == c.wantCode && reported == c.reported ? 0 : 1;
}

TEST(FileSizeLimit, AWriteBeyondItIsReportedNotFatal) {
  const LimitCase cases[] = {
      {"within the limit", 40, 0, false},
      {"beyond the limit", 400, -1, true},
  };
  for (const LimitCase& c : cases) {
    testing_support::TempDir dir;
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) _exit(runChild(c, dir.file("new.rwm")));
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << c.name << ": killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0) << c.name;
    EXPECT_LE(dir.read("new.rwm").size(), kLimit) << c.name;
  }
}

}  // namespace
