#include "tests/support/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/support/console_script.h"

namespace testing_support {
namespace {

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& input,
                         const std::vector<std::string>& env, long fileSizeLimit) {
  TempDir dir;
  dir.write("in", input);
  ProcessResult result;
  pid_t pid = fork();
  if (pid == 0) {
    int in = open(dir.file("in").c_str(), O_RDONLY);
    int out = open(dir.file("out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = open(dir.file("err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
    const rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
    if (fileSizeLimit >= 0 && setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(126);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = slurp(dir.file("out"));
  result.err = slurp(dir.file("err"));
  return result;
}

Conversation::Conversation(const std::vector<std::string>& argv, const std::string& folder)
    : errFile_(folder + "/conversation.err") {
  // A child that is gone must not end the test through a write to its pipe.
  ::signal(SIGPIPE, SIG_IGN);
  int in[2], out[2];
  if (pipe(in) != 0 || pipe(out) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    int err = open(errFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (err < 0 || chdir(folder.c_str()) != 0) _exit(127);
    dup2(in[0], 0);
    dup2(out[1], 1);
    dup2(err, 2);
    close(in[1]);
    close(out[0]);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  toChild_ = in[1];
  fromChild_ = out[0];
}

Conversation::~Conversation() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    finish();
  }
  if (fromChild_ >= 0) close(fromChild_);
}

void Conversation::send(const std::string& text) {
  std::size_t done = 0;
  while (toChild_ >= 0 && done < text.size()) {
    ssize_t n = write(toChild_, text.data() + done, text.size() - done);
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

bool Conversation::waitFor(const std::string& text, int count, int timeoutMs) {
  auto occurrences = [&] {
    int n = 0;
    for (std::size_t at = out_.find(text); at != std::string::npos; at = out_.find(text, at + 1))
      ++n;
    return n;
  };
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (occurrences() < count) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd p{fromChild_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[4096];
    ssize_t n = read(fromChild_, buffer, sizeof buffer);
    if (n <= 0) return false;
    out_.append(buffer, static_cast<std::size_t>(n));
  }
  return true;
}

void Conversation::signal(int number) {
  if (pid_ > 0) kill(pid_, number);
}

int Conversation::finish() {
  if (toChild_ >= 0) close(toChild_);
  toChild_ = -1;
  if (pid_ <= 0) return -1;
  char buffer[4096];
  for (ssize_t n; (n = read(fromChild_, buffer, sizeof buffer)) > 0;)
    out_.append(buffer, static_cast<std::size_t>(n));
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string Conversation::err() const { return slurp(errFile_); }

}  // namespace testing_support
