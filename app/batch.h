// The commands convert and check: each input is read as the edit session
// reads it after the user confirms its format, copies no title line and
// answers "T", with no question asked. convert writes the new file the
// session would write, byte for byte; check writes nothing and lists the
// series. The " >> " messages go to standard error (check: standard output),
// each behind the input's name.
//
// Exit status: 0 every input done without a message, 1 done with messages,
// 2 an input could not be read, identified or written.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/arguments.h"

namespace app {

enum : int { kBatchClean = 0, kBatchMessages = 1, kBatchFailed = 2 };

// What one input gave.
struct InputReport {
  int status = kBatchClean;
  std::int32_t series = 0;  // series written (convert) or read (check)
  std::int64_t values = 0;
  std::vector<std::string> lines;     // check: the format line and the series lines
  std::vector<std::string> messages;  // without the input's name
};

// Reads one input (and with newFile not empty writes the new file); the
// messages and the outcome come back, nothing is printed.
InputReport processInput(const std::string& input, const std::string& newFile,
                         const BatchOptions& options);

// One input and the new file it goes to (empty: nothing is written).
struct BatchJob {
  std::string input;
  std::string newFile;
  std::string refused;  // why the input is not read at all, or empty
};

// Runs processInput for every job not refused, on two worker processes when there are
// many; done receives each report, in the jobs' order, as soon as it can.
void processAll(const std::vector<BatchJob>& jobs, const BatchOptions& options,
                const std::function<void(std::size_t, InputReport)>& done);

// The whole commands: every input in order, printing as they go; the exit status.
int convertFiles(const BatchOptions& options);
int checkFiles(const BatchOptions& options);

}  // namespace app
