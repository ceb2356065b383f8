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

// env entries are "NAME=value" added to (or replacing in) the environment;
// fileSizeLimit, when not -1, is the bytes a file of the child may grow to
// (RLIMIT_FSIZE, as a full disk stops writes).
ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& input = "",
                         const std::vector<std::string>& env = {}, long fileSizeLimit = -1);

// A program running as a child process in a folder of its own, its standard
// input and output on pipes, for tests that answer as it asks and may
// interrupt it at a chosen moment. Standard error goes to a file.
class Conversation {
 public:
  Conversation(const std::vector<std::string>& argv, const std::string& folder);
  // Kills and reaps a child still running.
  ~Conversation();
  Conversation(const Conversation&) = delete;
  Conversation& operator=(const Conversation&) = delete;

  void send(const std::string& text);
  // Reads standard output until it holds text at least count times; false
  // when the output ends or the time runs out first.
  bool waitFor(const std::string& text, int count = 1, int timeoutMs = 20000);
  void signal(int number);
  // Closes standard input and waits for the end: the exit status, or 128 +
  // the signal number.
  int finish();
  const std::string& out() const { return out_; }
  std::string err() const;

 private:
  int pid_ = -1;
  int toChild_ = -1;
  int fromChild_ = -1;
  std::string errFile_;
  std::string out_;
};

}  // namespace testing_support
