// Reading many inputs on both cores: two worker processes take every other
// input each and send their reports back through a pipe; the reports are
// handed on in input order, so the output is the same as from one process.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <map>

#include "app/batch.h"
#include "fmtio/interrupt.h"

namespace app {
namespace {

constexpr std::size_t kWorkers = 2;
// Fewer inputs than this are read by the process itself.
constexpr std::size_t kInputsForWorkers = 8;

// A report as bytes: numbers and texts, each text behind its length.
void putNumber(std::string& out, std::int64_t n) { out += std::to_string(n) + ' '; }
void putText(std::string& out, const std::string& text) {
  putNumber(out, static_cast<std::int64_t>(text.size()));
  out += text;
}
void putTexts(std::string& out, const std::vector<std::string>& texts) {
  putNumber(out, static_cast<std::int64_t>(texts.size()));
  for (const std::string& t : texts) putText(out, t);
}

std::string encode(std::size_t index, const InputReport& r) {
  std::string body;
  putNumber(body, static_cast<std::int64_t>(index));
  putNumber(body, r.status);
  putNumber(body, r.series);
  putNumber(body, r.values);
  putTexts(body, r.lines);
  putTexts(body, r.messages);
  std::string record;
  putText(record, body);
  return record;
}

// Reads back what encode wrote; false when the bytes are not whole.
class Decoder {
 public:
  explicit Decoder(std::string_view bytes) : bytes_(bytes) {}
  bool number(std::int64_t& n) {
    std::size_t blank = bytes_.find(' ', at_);
    if (blank == std::string_view::npos) return false;
    n = std::stoll(std::string(bytes_.substr(at_, blank - at_)));
    at_ = blank + 1;
    return true;
  }
  bool text(std::string& t) {
    std::int64_t n = 0;
    if (!number(n) || bytes_.size() - at_ < static_cast<std::size_t>(n)) return false;
    t.assign(bytes_.substr(at_, static_cast<std::size_t>(n)));
    at_ += static_cast<std::size_t>(n);
    return true;
  }
  bool texts(std::vector<std::string>& list) {
    std::int64_t n = 0;
    if (!number(n)) return false;
    list.resize(static_cast<std::size_t>(n));
    for (std::string& t : list)
      if (!text(t)) return false;
    return true;
  }
  std::size_t used() const { return at_; }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

bool decode(const std::string& body, std::size_t& index, InputReport& r) {
  Decoder d(body);
  std::int64_t i = 0, status = 0, series = 0;
  if (!d.number(i) || !d.number(status) || !d.number(series) || !d.number(r.values) ||
      !d.texts(r.lines) || !d.texts(r.messages))
    return false;
  index = static_cast<std::size_t>(i);
  r.status = static_cast<int>(status);
  r.series = static_cast<std::int32_t>(series);
  return true;
}

void writeAll(int fd, const std::string& bytes) {
  for (std::size_t done = 0; done < bytes.size();) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

// A new file that a signal would leave incomplete is removed by the signal's
// handler while it is being written.
InputReport runJob(const BatchJob& job, const BatchOptions& options) {
  if (job.refused.empty()) {
    fmtio::setInterruptRemoval(job.newFile);
    InputReport report = processInput(job.input, job.newFile, options);
    fmtio::setInterruptRemoval("");
    return report;
  }
  InputReport report;
  report.status = kBatchFailed;
  report.messages.push_back(">> " + job.refused);
  return report;
}

// The worker: its share of the jobs, then it ends. A signal ends it quietly
// (its incomplete new file removed): the parent says what was interrupted.
[[noreturn]] void work(std::size_t first, const std::vector<BatchJob>& jobs,
                       const BatchOptions& options, int fd) {
  fmtio::setInterruptQuiet(true);
  fmtio::setInterruptChildren({});
  for (std::size_t k = first; k < jobs.size(); k += kWorkers)
    writeAll(fd, encode(k, runJob(jobs[k], options)));
  ::close(fd);
  std::fflush(nullptr);
  ::_exit(0);
}

// Takes the whole records at the front of the worker's bytes.
void takeRecords(std::string& bytes, std::map<std::size_t, InputReport>& reports) {
  for (;;) {
    Decoder outer(bytes);
    std::string body;
    if (!outer.text(body)) return;
    std::size_t index = 0;
    InputReport report;
    if (decode(body, index, report)) reports[index] = std::move(report);
    bytes.erase(0, outer.used());
  }
}

}  // namespace

void processAll(const std::vector<BatchJob>& jobs, const BatchOptions& options,
                const std::function<void(std::size_t, InputReport)>& done) {
  if (jobs.size() < kInputsForWorkers || sysconf(_SC_NPROCESSORS_ONLN) < 2) {
    for (std::size_t k = 0; k < jobs.size(); ++k) done(k, runJob(jobs[k], options));
    return;
  }
  std::fflush(nullptr);
  std::vector<pollfd> pipes;
  std::vector<pid_t> workers;
  for (std::size_t w = 0; w < kWorkers; ++w) {
    int fds[2];
    if (::pipe(fds) != 0) break;
    pid_t pid = ::fork();
    if (pid == 0) {
      ::close(fds[0]);
      for (const pollfd& p : pipes) ::close(p.fd);
      work(w, jobs, options, fds[1]);
    }
    ::close(fds[1]);
    if (pid < 0) {
      ::close(fds[0]);
      break;
    }
    pipes.push_back({fds[0], POLLIN, 0});
    workers.push_back(pid);
  }
  fmtio::setInterruptChildren(workers);
  std::vector<std::string> bytes(pipes.size());
  std::map<std::size_t, InputReport> reports;
  std::size_t next = 0;
  for (std::size_t open = pipes.size(); open > 0;) {
    if (::poll(pipes.data(), pipes.size(), -1) < 0) continue;
    for (std::size_t w = 0; w < pipes.size(); ++w) {
      if (pipes[w].fd < 0 || pipes[w].revents == 0) continue;
      char buffer[65536];
      ssize_t n = ::read(pipes[w].fd, buffer, sizeof buffer);
      if (n > 0) {
        bytes[w].append(buffer, static_cast<std::size_t>(n));
        takeRecords(bytes[w], reports);
      } else if (n == 0 || errno != EINTR) {
        ::close(pipes[w].fd);
        pipes[w].fd = -1;
        --open;
      }
    }
    for (auto it = reports.find(next); it != reports.end(); it = reports.find(++next)) {
      done(next, std::move(it->second));
      reports.erase(it);
    }
  }
  for (pid_t pid : workers) ::waitpid(pid, nullptr, 0);
  fmtio::setInterruptChildren({});
  // Inputs whose worker ended before reporting them.
  for (; next < jobs.size(); ++next) {
    auto it = reports.find(next);
    if (it != reports.end()) {
      done(next, std::move(it->second));
      continue;
    }
    InputReport lost;
    lost.status = kBatchFailed;
    lost.messages.push_back(">> the process reading it ended unexpectedly");
    done(next, std::move(lost));
  }
}

}  // namespace app
