// OPEN: specifier validation, re-OPEN of a connected unit, the file-name
// rule for units without FILE=, and the creation of file and window units.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <string>

#include "fmtio/hooks.h"
#include "fmtio/options.h"
#include "fmtio/unit_kinds.h"

namespace fmtio {
namespace {

template <class Value>
struct Keyword {
  std::string_view text;
  Value value;
};

// STATUS= value -> creation mode.
constexpr Keyword<OpenStatus> kStatusWords[] = {{"OLD", OpenStatus::Old},
                                                {"NEW", OpenStatus::New},
                                                {"SCRATCH", OpenStatus::Scratch},
                                                {"REPLACE", OpenStatus::Replace},
                                                {"UNKNOWN", OpenStatus::Unknown}};
// ACCESS= value -> access (a text beginning WINDOW is handled apart).
constexpr Keyword<Access> kAccessWords[] = {{"SEQUENTIAL", Access::Sequential},
                                            {"DIRECT", Access::Direct},
                                            {"APPEND", Access::Append},
                                            {"TRANSPARENT", Access::Transparent}};
// FORM= value -> form.
constexpr Keyword<Form> kFormWords[] = {
    {"FORMATTED", Form::Formatted}, {"UNFORMATTED", Form::Unformatted}, {"BINARY", Form::Binary}};
// BLANK= value -> blank mode of numeric input.
constexpr Keyword<BlankMode> kBlankWords[] = {{"NULL", BlankMode::Null}, {"ZERO", BlankMode::Zero}};
// POSITION= value -> position at open.
constexpr Keyword<Position> kPositionWords[] = {
    {"REWIND", Position::Rewind}, {"ASIS", Position::Asis}, {"APPEND", Position::Append}};
// ACTION= value -> allowed transfers.
constexpr Keyword<Action> kActionWords[] = {
    {"READ", Action::Read}, {"WRITE", Action::Write}, {"READWRITE", Action::ReadWrite}};
// DELIM= value -> delimiter of list-directed character output.
constexpr Keyword<Delim> kDelimWords[] = {
    {"APOSTROPHE", Delim::Apostrophe}, {"QUOTE", Delim::Quote}, {"NONE", Delim::None}};
// PAD= value -> padding of short input records.
constexpr Keyword<bool> kPadWords[] = {{"YES", true}, {"NO", false}};
// CARRIAGECONTROL= value -> carriage control.
constexpr Keyword<Carriage> kCarriageWords[] = {{"FORTRAN", Carriage::Fortran},
                                                {"LIST", Carriage::List}};
// Byte-order value -> accepted (the byte order itself is fixed).
constexpr Keyword<bool> kByteOrderWords[] = {{"BIG_ENDIAN", true}, {"LITTLE_ENDIAN", true}};
// Disposition value -> whether CLOSE deletes the file.
constexpr Keyword<bool> kDispositionWords[] = {
    {"KEEP", false},   {"SAVE", false},        {"DELETE", true},       {"PRINT", false},
    {"SUBMIT", false}, {"PRINT/DELETE", true}, {"SUBMIT/DELETE", true}};

constexpr std::string_view kWindowWord = "WINDOW";
constexpr std::string_view kFileNamePrompt =
    "FORTRAN I/O LIBRARY - file name needed for OPEN(UNIT=";
constexpr std::string_view kScratchPattern = "/fmtio-scratch-XXXXXX";

// 0 when the specifier is absent or names a value of the table, else error.
template <class Value, std::size_t N>
int check(const std::optional<std::string>& given, const Keyword<Value> (&table)[N], Value& out,
          int error) {
  if (!given) return kOk;
  std::string text = normalizedValue(*given);
  for (const Keyword<Value>& word : table)
    if (word.text == text) {
      out = word.value;
      return kOk;
    }
  return error;
}

std::string trimmed(std::string_view text) {
  std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(" \t\r\n");
  return std::string(text.substr(first, last - first + 1));
}

// Field k (counted from 0) of a comma-separated text as a window size: blanks
// are ignored, digits accumulate in decimal, any other character makes the
// field 0 (the window then takes its default size).
int windowField(std::string_view text, int k) {
  std::size_t start = 0;
  for (; k > 0; --k) {
    start = text.find(',', start);
    if (start == std::string_view::npos) return 0;
    ++start;
  }
  constexpr int kLargest = 99999;
  int value = 0;
  for (std::size_t i = start; i < text.size() && text[i] != ','; ++i) {
    char c = text[i];
    if (c == ' ' || c == '\t') continue;
    if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
    value = std::min(kLargest, value * 10 + (c - '0'));
  }
  return value;
}

// ACCESS=: a value of the table, or "WINDOW" optionally followed by ",w,h".
int checkAccess(const std::optional<std::string>& given, Connection& c) {
  if (!given) return kOk;
  std::string text = normalizedValue(*given);
  if (text.compare(0, kWindowWord.size(), kWindowWord) != 0)
    return check(given, kAccessWords, c.access, kErrBadSpecifier);
  c.access = Access::Window;
  c.windowWidth = windowField(text, 1);
  c.windowHeight = windowField(text, 2);
  return kOk;
}

// Checks in the order of the specifier table; the first bad value is the error.
int validateOpen(const OpenSpec& spec, Connection& c) {
  if (spec.file && (c.file = trimmed(*spec.file)).empty()) return kErrBadFileSpec;
  if (int e = check(spec.status, kStatusWords, c.status, kErrBadSpecifier)) return e;
  if (c.status == OpenStatus::Scratch && spec.file) return kErrBadFileSpec;
  if (int e = checkAccess(spec.access, c)) return e;
  if (int e = check(spec.form, kFormWords, c.form, kErrBadSpecifier)) return e;
  if (spec.recl) {
    if (*spec.recl <= 0) return kErrReclNonPositive;
    c.recl = *spec.recl;
  } else if (c.access == Access::Direct) {
    return kErrReclNonPositive;
  }
  if (int e = check(spec.blank, kBlankWords, c.blank, kErrBadSpecifier)) return e;
  if (int e = check(spec.position, kPositionWords, c.position, kErrBadSpecifier)) return e;
  if (int e = check(spec.action, kActionWords, c.action, kErrBadSpecifier)) return e;
  if (int e = check(spec.delim, kDelimWords, c.delim, kErrDelim)) return e;
  if (int e = check(spec.pad, kPadWords, c.pad, kErrPad)) return e;
  if (spec.pad && c.form != Form::Formatted) return kErrPadUnformatted;
  if (int e = check(spec.carriageControl, kCarriageWords, c.carriage, kErrBadSpecifier)) return e;
  bool byteOrder = false;
  if (int e = check(spec.byteOrder, kByteOrderWords, byteOrder, kErrEndian)) return e;
  if (int e = check(spec.disposition, kDispositionWords, c.deleteAtClose, kErrBadSpecifier))
    return e;
  if (c.status == OpenStatus::Scratch) c.deleteAtClose = true;
  c.dataFile = spec.dataFile;
  return kOk;
}

// A re-OPEN must agree in the file and in every given action, record
// length, position and status.
bool agrees(const OpenSpec& spec, const Connection& wanted, const Connection& now) {
  return (!spec.file || wanted.file == now.file) && (!spec.action || wanted.action == now.action) &&
         (!spec.recl || wanted.recl == now.recl) &&
         (!spec.position || wanted.position == now.position) &&
         (!spec.status || wanted.status == now.status);
}

int reopen(ConnectedUnit& unit, const OpenSpec& spec, const Connection& wanted) {
  const Connection& now = unit.connection();
  if (!agrees(spec, wanted, now)) return kErrOpenMismatch;
  unit.updateModes(spec.blank ? wanted.blank : now.blank, spec.pad ? wanted.pad : now.pad,
                   spec.carriageControl ? wanted.carriage : now.carriage,
                   spec.delim ? wanted.delim : now.delim);
  return kOk;
}

// Names the file of a unit opened without FILE=: the next command-line word
// under -fileprompt, else a question on a plain console, else the window
// environment's file dialog.
int unnamedFile(int number, bool mustExist, std::string& name) {
  if (runtimeOptions().filePrompt && takeCommandLineWord(name)) {
    name = trimmed(name);
    return name.empty() ? kErrBadFileSpec : kOk;
  }
  ConsoleHooks& hooks = consoleHooks();
  if (!hooks.plainConsole)
    return hooks.askFileName ? hooks.askFileName(number, mustExist, name) : kErrBadFileSpec;
  hooks.writeBlock(kStandardWindow, false,
                   std::string(kFileNamePrompt) + std::to_string(number) + "? ");
  std::string line;
  if (!hooks.readLine(kStandardWindow, line)) return kErrBadFileSpec;
  name = trimmed(line);
  return name.empty() ? kErrBadFileSpec : kOk;
}

int openFlags(const Connection& c) {
  int flags = O_CLOEXEC;
  flags |= c.action == Action::Read ? O_RDONLY : c.action == Action::Write ? O_WRONLY : O_RDWR;
  switch (c.status) {
    case OpenStatus::New: return flags | O_CREAT | O_EXCL;
    case OpenStatus::Replace: return flags | O_CREAT | O_TRUNC;
    case OpenStatus::Old: return flags;
    default: return flags | O_CREAT;
  }
}

// Without ACTION=, a file that may not be written is opened for reading.
int openFile(const OpenSpec& spec, Connection& c, int& fd) {
  fd = ::open(c.file.c_str(), openFlags(c), 0666);
  if (fd < 0 && errno == EEXIST && c.status == OpenStatus::New) return kErrStatusNewExists;
  if (fd < 0 && (errno == EACCES || errno == EROFS) && !spec.action &&
      (c.status == OpenStatus::Old || c.status == OpenStatus::Unknown)) {
    c.action = Action::Read;
    fd = ::open(c.file.c_str(), openFlags(c), 0666);
  }
  if (fd < 0) return systemErrorFromErrno(errno);
  struct stat info;
  if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
    ::close(fd);
    return systemErrorFromErrno(EISDIR);
  }
  return kOk;
}

// A new file in the temporary directory (the current one when none is known).
int openScratch(Connection& c, int& fd) {
  std::error_code failed;
  std::filesystem::path dir = std::filesystem::temp_directory_path(failed);
  c.file = (failed ? std::string(".") : dir.string()) + std::string(kScratchPattern);
  fd = ::mkstemp(c.file.data());
  if (fd < 0) return systemErrorFromErrno(errno);
  ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  return kOk;
}

int openWindowUnit(int number, const Connection& c) {
  if (!consoleHooks().openWindow(number, c.file, c.windowWidth, c.windowHeight))
    return kErrWindowsRequired;
  addUnit(std::make_unique<ConsoleUnit>(number, ConsoleUnit::Stream::Window, c, currentLineEnds()));
  return kOk;
}

int connectNew(int number, const OpenSpec& spec, Connection& c) {
  if (number < 0) return kErrUnconnectedUnit;
  if (c.access == Access::Window) return openWindowUnit(number, c);
  int fd = -1;
  int status = kOk;
  if (c.status == OpenStatus::Scratch) {
    status = openScratch(c, fd);
  } else {
    if (!spec.file) status = unnamedFile(number, c.status == OpenStatus::Old, c.file);
    if (status == kOk) status = openFile(spec, c, fd);
  }
  if (status != kOk) return status;
  auto unit = std::make_unique<FileUnit>(number, fd, c, currentLineEnds());
  if (c.position == Position::Append || c.access == Access::Append) {
    if (int e = unit->seekEnd()) return e;
  }
  addUnit(std::move(unit));
  return kOk;
}

}  // namespace

std::string normalizedValue(std::string_view value) {
  std::size_t end = value.find_last_not_of(' ');
  std::string text(value.substr(0, end == std::string_view::npos ? 0 : end + 1));
  for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return text;
}

int OPEN(const Control& control, const OpenSpec& spec) {
  pumpConsole();
  (void)runtimeOptions();
  Connection wanted;
  int status = validateOpen(spec, wanted);
  if (status == kOk) {
    ConnectedUnit* unit = connectedUnit(control.unit, StatementKind::Open);
    status = unit != nullptr ? reopen(*unit, spec, wanted) : connectNew(control.unit, spec, wanted);
  }
  return finishStatement(control, ErrorSite{StatementKind::Open, control.unit}, status);
}

int openImplicitly(int number) {
  Connection defaults;
  return connectNew(number, OpenSpec{}, defaults);
}

}  // namespace fmtio
