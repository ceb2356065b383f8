// Runtime options from VELMAR_RT_FLAGS and TABSIZE, read once before the
// first I/O statement of the run.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "fmtio/records.h"

namespace fmtio {

struct RuntimeOptions {
  bool defaultCarriage = false;  // console units use FORTRAN carriage control
  bool filePrompt = false;       // unnamed OPENs take command-line words
  bool vaxNames = false;
  bool unixNames = false;  // set when neither naming option is given
  bool bigEndian = false;
  bool littleEndian = false;
  bool noLeadZero = false;  // F output drops the 0 before the point
  bool reclen32 = false;
  bool f90nlexts = false;
  bool printStop = false;     // STOP writes " STOP"
  bool connectUnit9 = false;  // unit 9 is a console unit
  char terminator = '\n';
  char companion = '\r';
  int terminatorLength = 1;
  bool hexUppercase = false;  // Z output uses A..F
  int tabSize = 8;            // input tab stops
  // Longest input record after tab expansion; not an environment setting
  // (tests set a small one).
  std::size_t recordLimit = kDefaultRecordLimit;
  // Every READ and WRITE walks its format, none runs by a plan; not an environment
  // setting (tests compare the two).
  bool walkEveryFormat = false;
};

// Applies the words of a VELMAR_RT_FLAGS text; unknown words and the
// byte-order overrides add their warning lines to warnings.
void parseRuntimeFlags(std::string_view text, RuntimeOptions& options, std::string& warnings);
// TABSIZE's value: missing, longer than 20 characters, non-numeric or negative gives 8.
int parseTabSize(const char* value);

// The process-wide options; the first call reads the environment (and writes
// any warnings to standard error through the console hooks).
const RuntimeOptions& runtimeOptions();
// Replaces the process-wide options (tests, and the process entry's reset).
void setRuntimeOptions(const RuntimeOptions& options);
// Forgets the options so that the next runtimeOptions() reads the environment again.
void resetRuntimeOptions();

// The program's command-line words after the program name, for "-fileprompt".
void setCommandLine(std::vector<std::string> words);
// Takes the next unused word; false when none is left.
bool takeCommandLineWord(std::string& word);

}  // namespace fmtio
