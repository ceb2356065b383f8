// Test support: runs a program of the project as a child process with the
// given standard input and extra environment, and captures its output.
#pragma once

#include <string>
#include <vector>

namespace testing_support {

struct ProcessResult {
  int status = -1;  // exit status, or 128 + signal number
  std::string out;
  std::string err;
};

// env entries are "NAME=value" added to (or replacing in) the environment.
ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& input = "",
                         const std::vector<std::string>& env = {});

}  // namespace testing_support
