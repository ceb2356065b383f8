// convert and check over their inputs: the new files' names, the checks that
// keep existing files, the progress line and what is printed per input.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>

#include "app/batch.h"
#include "fmtio/interrupt.h"

namespace app {
namespace {

namespace fs = std::filesystem;

void print(std::FILE* stream, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stream);
}

// "[done/total] input" on standard error while a terminal shows it.
class Progress {
 public:
  explicit Progress(std::size_t total) : total_(total), shown_(total > 1 && isatty(2)) {}
  void show(std::size_t done, const std::string& input) {
    if (!shown_) return;
    print(stderr, "\r\x1b[K[" + std::to_string(done) + "/" + std::to_string(total_) + "] " + input);
    std::fflush(stderr);
  }
  void clear() {
    if (shown_) print(stderr, "\r\x1b[K");
  }

 private:
  std::size_t total_;
  bool shown_;
};

std::string newFileOf(const std::string& input, const BatchOptions& options) {
  if (!options.output.empty()) return options.output;
  std::string extension = options.to == 'C' ? ".rwm" : options.to == 'I' ? ".crn" : ".rwl";
  for (const series::ExchangeFormat& f : series::kExchangeFormats)
    if (f.format == options.toExchange) extension = f.extension;
  return (fs::path(options.outDir) / fs::path(input).stem()).string() + extension;
}

// The same file under two names, as far as the file system can tell.
bool sameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  if (fs::equivalent(a, b, error)) return true;
  return fs::weakly_canonical(a, error) == fs::weakly_canonical(b, error);
}

// Why the new file must not be written, or "".
std::string refusedTarget(const std::string& input, const std::string& newFile,
                          const BatchOptions& options, const std::set<std::string>& made) {
  std::error_code error;
  if (sameFile(input, newFile)) return "the new file " + newFile + " would replace the input";
  if (made.count(fs::weakly_canonical(newFile, error).string()) != 0)
    return "the new file " + newFile + " was written from another input of this run";
  if (fs::exists(newFile, error) && !options.force)
    return "the new file " + newFile + " exists: not replaced (use --force)";
  return "";
}

void printMessages(std::FILE* stream, const std::string& input, const InputReport& report) {
  for (const std::string& m : report.messages) print(stream, input + ": " + m + "\n");
}

}  // namespace

int convertFiles(const BatchOptions& options) {
  std::error_code error;
  if (!options.outDir.empty() && !fs::is_directory(options.outDir, error) &&
      !fs::create_directories(options.outDir, error)) {
    print(stderr, "ringedit: cannot make the folder " + options.outDir + "\n");
    return kBatchFailed;
  }
  std::vector<BatchJob> jobs;
  std::set<std::string> made;
  for (const std::string& input : options.inputs) {
    BatchJob job{input, newFileOf(input, options), ""};
    job.refused = refusedTarget(input, job.newFile, options, made);
    if (job.refused.empty()) made.insert(fs::weakly_canonical(job.newFile, error).string());
    jobs.push_back(std::move(job));
  }
  int status = kBatchClean;
  Progress progress(jobs.size());
  progress.show(0, jobs.empty() ? "" : jobs[0].input);
  auto noteDone = [&](std::size_t done) {
    fmtio::setInterruptNote("; " + std::to_string(done) + " of " + std::to_string(jobs.size()) +
                            " inputs done");
  };
  noteDone(0);
  processAll(jobs, options, [&](std::size_t k, const InputReport& report) {
    noteDone(k + 1);
    progress.clear();
    printMessages(stderr, jobs[k].input, report);
    if (report.status != kBatchFailed)
      print(stdout, jobs[k].input + ": " + std::to_string(report.series) + " series, " +
                        std::to_string(report.values) + " values -> " + jobs[k].newFile + "\n");
    std::fflush(stdout);
    status = std::max(status, report.status);
    if (k + 1 < jobs.size()) progress.show(k + 1, jobs[k + 1].input);
  });
  return status;
}

int checkFiles(const BatchOptions& options) {
  std::vector<BatchJob> jobs;
  for (const std::string& input : options.inputs) jobs.push_back({input, "", ""});
  int status = kBatchClean;
  processAll(jobs, options, [&](std::size_t k, const InputReport& report) {
    for (const std::string& line : report.lines) print(stdout, jobs[k].input + ": " + line + "\n");
    printMessages(stdout, jobs[k].input, report);
    std::fflush(stdout);
    status = std::max(status, report.status);
  });
  return status;
}

}  // namespace app
