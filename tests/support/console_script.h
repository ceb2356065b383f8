// Test support: runs program code against a scripted console. The typed
// lines come from a string; everything written to standard output and
// standard error is captured. The destructor puts the process-stream hooks
// back and forgets every unit and option, so each test starts clean.
#pragma once

#include <functional>
#include <string>

namespace testing_support {

class ConsoleScript {
 public:
  // input: the lines the user types, each ending in "\n".
  explicit ConsoleScript(std::string input = "");
  ~ConsoleScript();
  ConsoleScript(const ConsoleScript&) = delete;
  ConsoleScript& operator=(const ConsoleScript&) = delete;

  // Runs body as a program: returns its exit code (0 STOP, -1 runtime error).
  int run(const std::function<void()>& body);

  const std::string& out() const { return out_; }
  const std::string& err() const { return err_; }
  // Standard output with every "\r\n" turned into "\n".
  std::string outLines() const;
  // Input not yet read.
  std::string remainingInput() const { return input_.substr(pos_); }

 private:
  std::string input_;
  std::size_t pos_ = 0;
  std::string out_;
  std::string err_;
};

// A fresh empty directory under the system's temporary directory, removed
// with its files by the destructor.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  void write(const std::string& name, const std::string& bytes) const;
  std::string read(const std::string& name) const;

 private:
  std::string path_;
};

}  // namespace testing_support
