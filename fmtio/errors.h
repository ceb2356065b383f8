// Error numbers and message tables of the formatted I/O runtime.
//
// A status is a plain int that travels as a value to the single error path:
//   0              success
//   1 .. 43        operating-system error (errno numbering of the table below)
//   10000 .. 10074 runtime library error
// IOSTAT receives the number itself, except -1 for end of file (10013) and
// -2 for end of record in non-advancing input (10039).
#pragma once

#include <string_view>

namespace fmtio {

// Runtime library errors used by the runtime itself.
enum : int {
  kOk = 0,
  kErrNotOpenRead = 10000,
  kErrNotOpenWrite = 10001,
  kErrFileNotFound = 10002,
  kErrReclNonPositive = 10003,
  kErrNoMemory = 10004,
  kErrBadSpecifier = 10005,
  kErrFormat = 10006,
  kErrRepeatCount = 10007,
  kErrHollerith = 10008,
  kErrNoOpenParen = 10009,
  kErrUnmatchedParens = 10010,
  kErrUnmatchedQuotes = 10011,
  kErrNonRepeatable = 10012,
  kErrEndOfFile = 10013,
  kErrBadFileSpec = 10014,
  kErrGroupOverflow = 10015,
  kErrIllegalChar = 10016,
  kErrTypeMismatch = 10022,
  kErrOpenMismatch = 10030,
  kErrStatusNewExists = 10032,
  kErrBadWindowSpec = 10035,
  kErrEndian = 10036,
  kErrEndOfRecord = 10038,
  kErrEndOfRecordNonAdvancing = 10039,
  kErrDelim = 10041,
  kErrPad = 10042,
  kErrInternal = 10048,
  kErrRecordTooLong = 10060,
  kErrPadUnformatted = 10064,
};

constexpr int kFirstRuntimeError = 10000;
constexpr int kLastRuntimeError = 10074;
constexpr int kLastSystemError = 43;

// True for the operating-system range 1..43.
constexpr bool isSystemError(int n) { return n > 0 && n <= kLastSystemError; }

// Message of a runtime library error 10000..10074 ("" outside the range).
std::string_view runtimeMessage(int number);
// Message of an operating-system error 0..43 ("Unrecognized Errno" outside).
std::string_view systemMessage(int number);
// Message of a runtime check outside I/O, index 0..7 ("Unknown Error" outside).
std::string_view checkMessage(int index);
// Message for any status number: system or runtime table.
std::string_view messageFor(int number);

// Maps the platform's errno value onto the 0..43 table by meaning.
int systemErrorFromErrno(int platformErrno);

// Statement kinds named in error reports.
enum class StatementKind { Rewind, Backspace, Open, Close, Inquire, Read, Write, Endfile };
std::string_view statementName(StatementKind kind);

}  // namespace fmtio
