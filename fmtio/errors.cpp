// Message tables of the runtime's error path.
#include "fmtio/errors.h"

#include <cerrno>
#include <iterator>

namespace fmtio {
namespace {

// Runtime library errors 10000..10074, indexed by number - 10000.
constexpr std::string_view kRuntimeMessages[] = {
    "File not open for read",                                                    // 10000
    "File not open for write",                                                   // 10001
    "File not found",                                                            // 10002
    "Record length negative or 0",                                               // 10003
    "Buffer allocation failed",                                                  // 10004
    "Bad iolist specifier",                                                      // 10005
    "Error in format string",                                                    // 10006
    "Illegal repeat count",                                                      // 10007
    "Hollerith count exceeds remaining format string",                           // 10008
    "Format string missing opening (",                                           // 10009
    "Format string has unmatched parens",                                        // 10010
    "Format string has unmatched quotes",                                        // 10011
    "Non-repeatable format descriptor",                                          // 10012
    "Attempt to read past end of file",                                          // 10013
    "Bad file specification",                                                    // 10014
    "Format group table overflow",                                               // 10015
    "Illegal character in numeric input",                                        // 10016
    "No record specified for direct access",                                     // 10017
    "Maximum record number exceeded",                                            // 10018
    "Illegal file type for namelist directed I/O",                               // 10019
    "Illegal input for namelist directed I/O",                                   // 10020
    "Variable not present in current namelist",                                  // 10021
    "Variable type or size does not match edit descriptor",                      // 10022
    "Illegal direct access record number",                                       // 10023
    "Illegal use of internal file",                                              // 10024
    "RECL= only valid for direct access files",                                  // 10025
    "BLOCK= only valid for unformatted sequential files",                        // 10026
    "Unable to truncate file after rewind, backspace, or endfile",               // 10027
    "Entire structures can only be read/written with unformatted I/O",           // 10028
    "Unconnected or illegal unit specified",                                     // 10029
    "Specifications in OPEN statement must match currently open file",           // 10030
    "Cannot implicitly open for direct access -- record length unknown",         // 10031
    "Status 'NEW' specified for an existing file",                               // 10032
    "Command not allowed for unit type",                                         // 10033
    "KOVA is required for that feature",                                         // 10034
    "Bad specification for window",                                              // 10035
    "Endian specifier not BIG_ENDIAN or LITTLE_ENDIAN",                          // 10036
    "Cannot ENDIAN convert entire structures",                                   // 10037
    "Attempt to read past end of record",                                        // 10038
    "Attempt to read past end of record in non-advancing I/O",                   // 10039
    "Illegal specifier for ADVANCE=",                                            // 10040
    "Illegal specifier for DELIM=",                                              // 10041
    "Illegal specifier for PAD=",                                                // 10042
    "SIZE= specified with ADVANCE=YES",                                          // 10043
    "EOR= specified with ADVANCE=YES",                                           // 10044
    "Cannot DEALLOCATE disassociated pointer or unallocated array",              // 10045
    "Cannot DEALLOCATE a portion of an original allocation",                     // 10046
    "An allocatable array has already been allocated",                           // 10047
    "Internal or unknown runtime library error",                                 // 10048
    "Unknown data type passed to runtime library",                               // 10049
    "Illegal DIM argument to array intrinsic",                                   // 10050
    "Size of SOURCE argument to RESHAPE smaller than SHAPE array",               // 10051
    "SHAPE array for RESHAPE contains a negative value",                         // 10052
    "Unallocated or disassociated array passed to inquiry function",             // 10053
    "The ncopies argument to REPEAT is negative",                                // 10054
    "The S argument to NEAREST is negative",                                     // 10055
    "The ORDER argument to RESHARE is contains an illegal value",                // 10056
    "Result of TRANSFER with no SIZE is smaller than source",                    // 10057
    "SHAPE array for RESHAPE is zero sized array",                               // 10058
    "VECTOR argument to UNPACK contains insufficient values",                    // 10059
    "Attempt to write a record longer than specified record length",             // 10060
    "ADVANCE= specified for direct access or unformatted file",                  // 10061
    "NAMELIST name is longer than specified record length",                      // 10062
    "NAMELIST variable name exceeds maximum length",                             // 10063
    "PAD= specified for unformatted file",                                       // 10064
    "NAMELIST input contains multiple strided arrays",                           // 10065
    "Expected & or $ as first character for NAMELIST input",                     // 10066
    "NAMELIST group does not match current input group",                         // 10067
    "Pointer or allocatable array not associated or allocated",                  // 10068
    "NAMELIST input contains negative array stride",                             // 10069
    "Runtime memory allocation fails",                                           // 10070
    "Illegal rank for matrix argument to MATMUL array instrinsic",               // 10071
    "Matrix arguments to MATMUL array intrinsic are not conformable",            // 10072
    "Non-conformal flag value array or conflicting flag values",                 // 10073
    "Control of gradual/abrupt underflow is not supported in this environment",  // 10074
};

// Operating-system errors 0..43 in errno numbering.
constexpr std::string_view kSystemMessages[] = {
    "No error",                   // 0
    "Operation not permitted",    // 1
    "No such file or directory",  // 2
    "No such process",            // 3
    "Interrupted function call",  // 4
    "Input/output error",         // 5
    "No such device or address",  // 6
    "Arg list too long",          // 7
    "Exec format error",          // 8
    "Bad file descriptor",        // 9
    "No child processes",         // 10
    "Resource unavailable",       // 11
    "Not enough space",           // 12
    "Permission denied",          // 13
    "Bad address",                // 14
    "Unknown error",              // 15
    "Resource device",            // 16
    "File exists",                // 17
    "Improper link",              // 18
    "No such device",             // 19
    "Not a directory",            // 20
    "Is a directory",             // 21
    "Invalid argument",           // 22
    "Too many open sys files",    // 23
    "Too many open files",        // 24
    "Bad I/O control op",         // 25
    "Unknown error",              // 26
    "File too large",             // 27
    "No space left on device",    // 28
    "Invalid seek",               // 29
    "Read-only file system",      // 30
    "Too many links",             // 31
    "Broken pipe",                // 32
    "Domain error",               // 33
    "Result too large",           // 34
    "Unknown error",              // 35
    "Resource deadlock avoided",  // 36
    "Unknown error",              // 37
    "Filename too long",          // 38
    "No locks available",         // 39
    "Function not implemented",   // 40
    "Directory not empty",        // 41
    "Illegal byte sequence",      // 42
    "Unrecognized Errno",         // 43
};

// Messages of the runtime checks outside I/O, indexed 0..7.
constexpr std::string_view kCheckMessages[] = {
    "Unknown Error",
    "No match for select case",
    "Array boundary error",
    "Floating point divide by zero",
    "Floating point underflow",
    "Floating point operand error",
    "Floating point overflow",
    "Unable to increase stack",
};

// Statement names by statement kind 0..7.
constexpr std::string_view kStatementNames[] = {
    "REWIND", "BACKSPACE", "OPEN", "CLOSE", "INQUIRE", "READ", "WRITE", "ENDFILE",
};

// Platform errno value -> number of the 0..43 table with the same meaning.
struct ErrnoMapping {
  int platform;
  int table;
};
constexpr ErrnoMapping kErrnoMap[] = {
    {EPERM, 1},      {ENOENT, 2},  {ESRCH, 3},    {EINTR, 4},         {EIO, 5},     {ENXIO, 6},
    {E2BIG, 7},      {ENOEXEC, 8}, {EBADF, 9},    {ECHILD, 10},       {EAGAIN, 11}, {ENOMEM, 12},
    {EACCES, 13},    {EFAULT, 14}, {EBUSY, 16},   {EEXIST, 17},       {EXDEV, 18},  {ENODEV, 19},
    {ENOTDIR, 20},   {EISDIR, 21}, {EINVAL, 22},  {ENFILE, 23},       {EMFILE, 24}, {ENOTTY, 25},
    {EFBIG, 27},     {ENOSPC, 28}, {ESPIPE, 29},  {EROFS, 30},        {EMLINK, 31}, {EPIPE, 32},
    {EDOM, 33},      {ERANGE, 34}, {EDEADLK, 36}, {ENAMETOOLONG, 38}, {ENOLCK, 39}, {ENOSYS, 40},
    {ENOTEMPTY, 41}, {EILSEQ, 42}, {EDQUOT, 28},  {ELOOP, 38},
};
constexpr int kUnrecognizedErrno = 43;

}  // namespace

std::string_view runtimeMessage(int number) {
  if (number < kFirstRuntimeError || number > kLastRuntimeError) return {};
  return kRuntimeMessages[number - kFirstRuntimeError];
}

std::string_view systemMessage(int number) {
  if (number < 0 || number > kLastSystemError) return kSystemMessages[kUnrecognizedErrno];
  return kSystemMessages[number];
}

std::string_view checkMessage(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kCheckMessages))) return kCheckMessages[0];
  return kCheckMessages[index];
}

std::string_view messageFor(int number) {
  return number >= kFirstRuntimeError ? runtimeMessage(number) : systemMessage(number);
}

int systemErrorFromErrno(int platformErrno) {
  for (const ErrnoMapping& m : kErrnoMap)
    if (m.platform == platformErrno) return m.table;
  return kUnrecognizedErrno;
}

std::string_view statementName(StatementKind kind) {
  return kStatementNames[static_cast<int>(kind)];
}

}  // namespace fmtio
