#include "tests/robustness/session_runs.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/session.h"
#include "common/tables.h"
#include "fmtio/io.h"
#include "fmtio/unit.h"
#include "series/datol.h"
#include "series/fmtid.h"
#include "series/series.h"
#include "tests/support/console_script.h"

namespace robustness {
namespace {

namespace fs = std::filesystem;
using testing_support::ConsoleScript;
using testing_support::TempDir;

constexpr std::int32_t kUnit = 20;
constexpr const char* kExisting = "old.dat";
constexpr const char* kNew = "new.dat";

std::string withoutCarriageReturns(std::string text) {
  std::erase(text, '\r');
  return text;
}

std::string trimmed(std::string s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
  return s;
}

// Values of the decadal lines before the end of the first line's decade.
int onFirstLine(std::int32_t year) {
  int r = year % 10;
  return year >= 0 ? 10 - r : (r == 0 ? 10 : -r);
}

std::string field(const char* format, long value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// Compact: 13 values of 6 columns per line, in hundredths (exponent -2).
std::string compact(const SeriesData& d) {
  std::string header =
      field("%8ld=N", static_cast<long>(d.values.size())) + field("%8ld=I ", d.firstYear) + d.ident;
  header.resize(68, ' ');
  std::string text = header + " -2(13F6.0)~\n";
  for (std::size_t i = 0; i < d.values.size(); ++i) {
    text += field("%6ld", std::lround(d.values[i] * 100));
    if (i % 13 == 12 || i + 1 == d.values.size()) text += "\n";
  }
  return text;
}

// Decadal measurements at .01 or .001 with the stop marker.
std::string measurements(const SeriesData& d, bool thousandths) {
  std::vector<long> stored;
  for (float v : d.values) stored.push_back(std::lround(v * (thousandths ? 1000 : 100)));
  stored.push_back(thousandths ? -9999 : 999);
  std::string text;
  std::int32_t year = d.firstYear;
  for (std::size_t i = 0, room = onFirstLine(year); i < stored.size(); year += room, room = 10) {
    std::string ident = d.ident;
    ident.resize(year < -999 ? 7 : 8, ' ');
    text += ident + field(year < -999 ? "%5ld" : "%4ld", year);
    for (std::size_t k = 0; k < room && i < stored.size(); ++k) text += field("%6ld", stored[i++]);
    text += "\n";
  }
  return text;
}

std::string hundredths(const SeriesData& d) { return measurements(d, false); }
std::string thousandths(const SeriesData& d) { return measurements(d, true); }

// Decadal indices in thousandths, 5 samples each, 9990 fillers around; a
// series whose last value fills a line gets a line of fillers.
std::string indices(const SeriesData& d) {
  std::string text;
  std::size_t i = 0;
  std::int32_t year = d.firstYear;
  for (int first = 10 - onFirstLine(year), filled = 0; !filled; year += 10 - first, first = 0) {
    std::string ident = d.ident;
    ident.resize(6, ' ');
    text += ident + field("%4ld", year);
    for (int slot = 0; slot < 10; ++slot) {
      bool value = slot >= first && i < d.values.size();
      if (!value && slot >= first) filled = 1;
      text += value ? field("%4ld", std::lround(d.values[i] * 1000)) + "  5" : "9990  0";
      i += value ? 1 : 0;
    }
    text += "\n";
  }
  return text;
}

std::string number(float v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", v);
  return text;
}

// Accurite: the identification, then a line number, the line's year and ten
// values in hundredths per line, the series ended by 999 (zeros after it).
std::string accurite(const SeriesData& d) {
  std::vector<long> stored;
  for (float v : d.values) stored.push_back(std::lround(v * 100));
  stored.push_back(999);
  std::string text = d.ident + "\n";
  for (std::size_t i = 0; i < stored.size(); i += 10) {
    text += std::to_string(i / 10 + 1) + " " + std::to_string(d.firstYear + static_cast<int>(i));
    for (std::size_t k = i; k < i + 10; ++k)
      text += " " + std::to_string(k < stored.size() ? stored[k] : 0);
    text += "\n";
  }
  return text;
}

std::string singleColumn(const SeriesData& d) {
  std::string text = d.ident + "\n";
  for (float v : d.values) text += number(v) + "\n";
  return text;
}

std::string yearValue(const SeriesData& d) {
  std::string text = d.ident + "\n";
  for (std::size_t i = 0; i < d.values.size(); ++i)
    text += std::to_string(d.firstYear + static_cast<int>(i)) + " " + number(d.values[i]) + "\n";
  return text;
}

// Value in columns 1-10; the first line also the year and the name; "END"
// after the series.
std::string valueYear(const SeriesData& d) {
  std::string text;
  for (std::size_t i = 0; i < d.values.size(); ++i) {
    char line[128];
    if (i == 0)
      std::snprintf(line, sizeof line, "%10.2f%6d %s\n", d.values[i], d.firstYear, d.ident.c_str());
    else
      std::snprintf(line, sizeof line, "%10.2f\n", d.values[i]);
    text += line;
  }
  return text + "END\n";
}

struct FileWriter {
  const char* format;
  std::string (*write)(const SeriesData&);
};
// Format name of fileOf -> how one series of it is written.
constexpr FileWriter kFileWriters[] = {{"C", compact},   {"MW", hundredths}, {"3W", thousandths},
                                       {"IW", indices},  {"A", accurite},    {"1", singleColumn},
                                       {"2", yearValue}, {"V", valueYear}};

// FMTID's question for the letter the file's first lines suggest.
std::string formatAnswers(const std::string& path, char letter) {
  char guessed = ' ';
  {
    ConsoleScript console;
    console.run([&] {
      common::PROGID("EDIT TIME SERIES");
      fmtio::OpenSpec spec;
      spec.file = path;
      spec.status = "OLD";
      if (fmtio::OPEN(fmtio::Control::catching(kUnit), spec) != 0) return;
      guessed = series::FMTDET(kUnit);
      fmtio::CLOSE(fmtio::Control::of(kUnit));
    });
  }
  if (guessed == 'C') return "";  // taken without a question
  if (guessed == letter) return "\n";
  std::string menu(1, letter);
  return guessed == ' ' ? menu + "\n" : "N\n" + menu + "\n";
}

}  // namespace

std::vector<float> ramp(int n, float first, float step) {
  std::vector<float> v;
  for (int i = 0; i < n; ++i) v.push_back(std::round((first + step * i) * 100.0f) / 100.0f);
  return v;
}

std::string fileOf(const std::string& format, const std::vector<SeriesData>& list) {
  // An Accurite series begins with its identification line: no title.
  std::string text = format == "A" ? "" : "Test data, made for the robustness suite\n";
  for (const FileWriter& writer : kFileWriters)
    if (format == writer.format)
      for (const SeriesData& d : list) text += writer.write(d);
  return text;
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string textOf(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

std::string sessionAnswers(const std::string& existingPath, const SessionPlan& plan) {
  return std::string(kExisting) + "\n" + formatAnswers(existingPath, plan.letter) + kNew + "\n" +
         plan.output + "\nN\n" + plan.commands;
}

std::vector<SeriesData> readBack(const std::string& path, char letter, std::string* out) {
  std::vector<SeriesData> list;
  ConsoleScript console;
  console.run([&] {
    common::PROGID("EDIT TIME SERIES");
    series::resetReaders();
    fmtio::OpenSpec spec;
    spec.file = path;
    spec.status = "OLD";
    fmtio::OPEN(fmtio::Control::of(kUnit), spec);
    common::setUnitFormat(kUnit, letter);
    series::Series s;
    for (int calls = 0; calls <= series::kMaxValues; ++calls) {
      series::DATOL(s, kUnit);
      if (s.count < 1) break;
      list.push_back({trimmed(s.ident), s.firstYear,
                      std::vector<float>(s.values.begin(), s.values.begin() + s.count)});
    }
  });
  if (out != nullptr) *out = console.outLines();
  return list;
}

std::vector<SeriesData> readBackBytes(const std::string& bytes, char letter) {
  TempDir dir;
  dir.write(kNew, bytes);
  return readBack(dir.file(kNew), letter);
}

SessionRun runSession(const std::string& existing, const SessionPlan& plan) {
  TempDir dir;
  dir.write(kExisting, existing);
  SessionRun run;
  std::string answers = sessionAnswers(dir.file(kExisting), plan);
  const fs::path home = fs::current_path();
  fs::current_path(dir.path());
  {
    ConsoleScript console(answers);
    run.code = console.run(app::editSession);
    run.out = console.outLines();
    run.err = console.err();
  }
  fs::current_path(home);
  run.existingUnchanged = dir.read(kExisting) == existing;
  run.newFileExists = fs::exists(dir.file(kNew));
  char letter = plan.output == 'M' || plan.output == '3' ? 'M' : 'C';
  if (run.newFileExists) run.written = readBack(dir.file(kNew), letter, &run.readBackOut);
  return run;
}

namespace {

// The child: limits, an ordinary user, the scratch folder, the program.
[[noreturn]] void startProgram(const TempDir& dir, const ProcessLimits& limits) {
  int in = open(dir.file("stdin").c_str(), O_RDONLY);
  int out = open(dir.file("stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  int err = open(dir.file("stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (in < 0 || out < 0 || err < 0 || chdir(dir.path().c_str()) != 0) _exit(127);
  dup2(in, 0);
  dup2(out, 1);
  dup2(err, 2);
  std::signal(SIGXFSZ, SIG_DFL);
  if (limits.fileSizeLimit >= 0) {
    rlimit limit{static_cast<rlim_t>(limits.fileSizeLimit),
                 static_cast<rlim_t>(limits.fileSizeLimit)};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(126);
  }
  if (limits.unprivileged && geteuid() == 0) {
    const passwd* nobody = getpwnam("nobody");
    if (nobody == nullptr || setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0) _exit(125);
  }
  execl(RINGEDIT_PATH, RINGEDIT_PATH, static_cast<char*>(nullptr));
  _exit(127);
}

}  // namespace

ProgramRun runRingedit(const std::string& existing, const std::string& answers,
                       const ProcessLimits& limits,
                       const std::function<void(const std::string&)>& prepare) {
  TempDir dir;
  dir.write(kExisting, existing);
  dir.write("stdin", answers);
  // An ordinary user must be able to create the new file here.
  chmod(dir.path().c_str(), 0777);
  if (prepare) prepare(dir.path());
  ProgramRun run;
  pid_t pid = fork();
  if (pid == 0) startProgram(dir, limits);
  int status = 0;
  waitpid(pid, &status, 0);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.out = withoutCarriageReturns(dir.read("stdout"));
  run.err = dir.read("stderr");
  chmod(dir.file(kExisting).c_str(), 0644);
  run.existingUnchanged = dir.read(kExisting) == existing;
  if (fs::exists(dir.file(kNew))) run.newFile = dir.read(kNew);
  return run;
}

}  // namespace robustness
