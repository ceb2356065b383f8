// Whole edit sessions on damaged files: the session runs in a scratch folder
// on an existing file "old.dat" and creates "new.dat"; afterwards the new
// file is read back series by series and the existing file's bytes are
// compared with what they were before the run.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace robustness {

// A series as the files hold it: identification without trailing blanks.
struct SeriesData {
  std::string ident;
  std::int32_t firstYear = 0;
  std::vector<float> values;
};

// Values first, first + step, ... (n of them), rounded to hundredths.
std::vector<float> ramp(int n, float first = 1.0f, float step = 0.01f);

// A good file of the format: "C" compact, "MW"/"3W" decadal measurements,
// "IW" indices (sample count 5), "A" Accurite, "1" single column, "2" year
// and value, "V" value and year; a title line first (not for Accurite, whose
// series begin with their identification). Lines end in LF.
std::string fileOf(const std::string& format, const std::vector<SeriesData>& series);

// The lines of a text and back (LF).
std::vector<std::string> linesOf(const std::string& text);
std::string textOf(const std::vector<std::string>& lines);

struct SessionRun {
  int code = 0;                    // 0 STOP, -1 runtime error
  std::string out;                 // console output, CR LF as LF
  std::string err;                 // stop message or error report
  bool existingUnchanged = false;  // old.dat has its bytes of before the run
  bool newFileExists = false;
  std::vector<SeriesData> written;  // read back from new.dat
  std::string readBackOut;          // messages of the reading back
};

struct SessionPlan {
  char letter = 'C';             // format of old.dat, confirmed or chosen from the menu
  char output = 'C';             // answer to "FORMAT for edited file"
  std::string commands = "T\n";  // answers after the title offer
};

// Runs the session in-process on old.dat holding existing.
SessionRun runSession(const std::string& existing, const SessionPlan& plan);

// How a session as a separate program is restricted.
struct ProcessLimits {
  long fileSizeLimit = -1;    // bytes a file may grow to; -1 none
  bool unprivileged = false;  // run as an ordinary user when started as root
};

struct ProgramRun {
  int status = -1;  // exit status, or 128 + signal
  std::string out, err;
  bool existingUnchanged = false;
  std::string newFile;  // its bytes ("" when it was not created)
};

// Runs the ringedit program in a scratch folder holding old.dat, with the
// answers on standard input; prepare(folder) may add to the folder first.
ProgramRun runRingedit(const std::string& existing, const std::string& answers,
                       const ProcessLimits& limits,
                       const std::function<void(const std::string&)>& prepare = {});

// The answers of a session up to the first command prompt.
std::string sessionAnswers(const std::string& existingPath, const SessionPlan& plan);

// Every series of a compact ('C') or measurement ('M') file.
std::vector<SeriesData> readBack(const std::string& path, char letter, std::string* out = nullptr);
// The same for the bytes of such a file.
std::vector<SeriesData> readBackBytes(const std::string& bytes, char letter);

}  // namespace robustness
