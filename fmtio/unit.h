// Units: the unit table, the console streams, OPEN, CLOSE, REWIND and the
// record reading and writing that transfers use.
//
// Console streams (units *, 5, 6, 0, and 9 under "-connectunit9") are
// created on first use and reach the console only through the console hooks.
// Every other unit is a file opened by OPEN or implicitly on first use.
// Records end in the terminator character; companion characters are dropped
// on input and written before the terminator on output (carriage control LIST).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "fmtio/control.h"

namespace fmtio {

enum class BlankMode : std::uint8_t { Null, Zero };

// OPEN specifiers; an absent one takes its default.
struct OpenSpec {
  std::optional<std::string> file;
  std::optional<std::string> status;  // OLD NEW SCRATCH REPLACE UNKNOWN
  std::optional<std::string> access;  // SEQUENTIAL DIRECT APPEND TRANSPARENT WINDOW[,w,h]
  std::optional<std::string> form;    // FORMATTED UNFORMATTED BINARY
  std::optional<int> recl;
  std::optional<std::string> blank;            // NULL ZERO
  std::optional<std::string> position;         // REWIND ASIS APPEND
  std::optional<std::string> action;           // READ WRITE READWRITE
  std::optional<std::string> delim;            // APOSTROPHE QUOTE NONE
  std::optional<std::string> pad;              // YES NO
  std::optional<std::string> carriageControl;  // FORTRAN LIST
  std::optional<std::string> byteOrder;        // BIG_ENDIAN LITTLE_ENDIAN
  std::optional<std::string> disposition;      // KEEP SAVE DELETE PRINT SUBMIT ...
  // Not a FORTRAN specifier: the file is a data file, read line by line
  // however its lines end (LF, CR LF, CR CR LF, or a CR that no LF follows),
  // a UTF-8 byte order mark at its start passed over. The record terminator
  // options do not apply to it; writing is unchanged.
  bool dataFile = false;
};

class Unit {
 public:
  virtual ~Unit() = default;
  int number() const { return number_; }
  bool pad() const { return pad_; }
  BlankMode blank() const { return blank_; }
  bool isConsole() const { return console_; }

  // Reads the next record (terminator removed, companions dropped, tabs
  // expanded) into record; 0, kErrEndOfFile, or an error number.
  virtual int readRecord(std::string& record) = 0;
  // Writes one record; with advance false the record stays open (the "$"
  // edit descriptor) and the next write continues the same line. Console
  // streams pass the bytes to the console before returning. 0 or an error number.
  virtual int writeRecord(std::string_view record, bool advance) = 0;
  // Writes out buffered bytes; 0 or an error number.
  virtual int flush() = 0;

 protected:
  int number_ = 0;
  bool pad_ = true;
  BlankMode blank_ = BlankMode::Null;
  bool console_ = false;
};

// Finds the unit for a statement, connecting a console stream or opening an
// ordinary unit implicitly when needed; nullptr with status set on failure.
Unit* findUnit(int number, StatementKind kind, int& status);

// The statements; each returns its outcome (0, or 1 when an error was taken).
int OPEN(const Control& control, const OpenSpec& spec);
int CLOSE(const Control& control, const std::optional<std::string>& status = {});
int REWIND(const Control& control);
// Writes out what the unit's buffer holds, so that every record written so
// far is in the file; an unconnected unit is left alone. Errors are those of
// a WRITE.
int FLUSH(const Control& control);

// The line last read from standard input as it was typed (tabs not
// expanded); empty before the first read.
std::string typedLine();

// Closes every unit, writing out buffers (the end of the run); each failure is
// reported on standard error; 0 or the first error.
int closeAllUnits();
// Drops every unit without writing anything (tests only).
void resetUnitTable();

}  // namespace fmtio
