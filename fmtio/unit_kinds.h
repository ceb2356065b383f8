// The kinds of unit behind the Unit interface, and the unit table's inner
// operations shared by the table, OPEN and CLOSE.
//
// A ConsoleUnit is a standard stream or a console window of its own; it
// reaches the console only through the console hooks. A FileUnit is a file
// read and written through an 8192-byte buffer.
#pragma once

#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "fmtio/records.h"
#include "fmtio/unit.h"

namespace fmtio {

enum class OpenStatus : std::uint8_t { Old, New, Scratch, Replace, Unknown };
enum class Access : std::uint8_t { Sequential, Direct, Append, Transparent, Window };
enum class Form : std::uint8_t { Formatted, Unformatted, Binary };
enum class Action : std::uint8_t { Read, Write, ReadWrite };
enum class Position : std::uint8_t { Rewind, Asis, Append };
enum class Delim : std::uint8_t { None, Apostrophe, Quote };

// Record length limit of a unit opened without RECL=.
constexpr int kNoRecordLimit = INT_MAX;

// Runtime errors met only by the unit layer.
constexpr int kErrUnconnectedUnit = 10029;  // a negative unit number
constexpr int kErrWindowsRequired = 10034;  // ACCESS='WINDOW' without console windows

// The settings of a connection, as OPEN gave them or by default.
struct Connection {
  std::string file;
  OpenStatus status = OpenStatus::Unknown;
  Access access = Access::Sequential;
  Form form = Form::Formatted;
  Action action = Action::ReadWrite;
  Position position = Position::Rewind;
  int recl = kNoRecordLimit;
  BlankMode blank = BlankMode::Null;
  Delim delim = Delim::None;
  bool pad = true;
  Carriage carriage = Carriage::List;
  bool deleteAtClose = false;  // SCRATCH, or a disposition that deletes
  bool dataFile = false;       // any line end, byte order mark skipped (OpenSpec)
  int windowWidth = 0;         // ACCESS='WINDOW,w,h'; 0 = the window's default
  int windowHeight = 0;
};

class ConnectedUnit : public Unit {
 public:
  ConnectedUnit(int number, const Connection& connection, const LineEnds& ends);
  const Connection& connection() const { return connection_; }
  // Tells what the connection reads from every other of the run: a number
  // given when the connection is made and again whenever writing starts on
  // it (what it reads may then differ), never the same twice.
  std::uint64_t serial() const { return serial_; }
  // A re-OPEN changes only these.
  void updateModes(BlankMode blank, bool pad, Carriage carriage, Delim delim);

  // Positions at the first record; pending output is written first.
  virtual int rewind() = 0;
  // Ends an open record, writes out the buffer and releases the file,
  // removing it when deleteFile; 0 or the first error.
  virtual int close(bool deleteFile) = 0;

 protected:
  // 10060 when n more characters on the current line pass RECL=.
  int checkLength(std::size_t n) const {
    return openLength_ + n > static_cast<std::size_t>(connection_.recl) ? kErrRecordTooLong : kOk;
  }
  // Gives the connection a new serial number.
  void renumber();
  // Records that n characters went out; advance ends the line.
  void noteWritten(std::size_t n, bool advance) {
    recordOpen_ = !advance;
    openLength_ = advance ? 0 : openLength_ + n;
  }

  Connection connection_;
  LineEnds ends_;
  std::uint64_t serial_;
  bool recordOpen_ = false;  // the last write left its line open
  std::size_t openLength_ = 0;
};

class ConsoleUnit final : public ConnectedUnit {
 public:
  enum class Stream : std::uint8_t { Input, Output, Error, Window };
  // window: kStandardWindow for the standard streams, else the unit number.
  ConsoleUnit(int number, Stream stream, const Connection& connection, const LineEnds& ends);

  int readRecord(std::string& record) override;
  int writeRecord(std::string_view record, bool advance) override;
  int flush() override { return kOk; }
  int rewind() override { return kOk; }
  // The line last read as it was typed: up to its terminator, companions
  // dropped, tabs kept.
  std::string typedLine() const;
  int close(bool deleteFile) override;

 private:
  Stream stream_;
  int window_;
  std::string line_;   // the line last typed
  std::string bytes_;  // the bytes of the record being written
};

class FileUnit final : public ConnectedUnit {
 public:
  static constexpr std::size_t kBufferSize = 65536;
  // Takes ownership of the open descriptor fd.
  FileUnit(int number, int fd, const Connection& connection, const LineEnds& ends);
  ~FileUnit() override;

  int readRecord(std::string& record) override;
  int writeRecord(std::string_view record, bool advance) override;
  int flush() override;
  int rewind() override;
  int close(bool deleteFile) override;
  // Moves to the end of the file (POSITION='APPEND').
  int seekEnd();

 private:
  enum class Mode : std::uint8_t { Idle, Reading, Writing };
  int fill();
  // Keeps the unread bytes and reads more after them until n are unread or
  // the file ends.
  int ensure(std::size_t n);
  void detectLineEnds();
  int readTerminated(std::string& record);
  int readDataLine(std::string& record);
  int endDataLine();
  int skipByteOrderMark();
  int endWriting();
  int startWriting();
  int writeOut();
  void release(bool deleteFile);

  int fd_;
  bool canRead_;
  bool canWrite_;
  Mode mode_ = Mode::Idle;
  std::unique_ptr<char[]> in_;
  std::size_t inPos_ = 0;
  std::size_t inEnd_ = 0;
  bool endOfFile_ = false;
  bool lineEndsKnown_ = false;  // the first buffer has been looked at
  bool atStart_ = true;         // nothing read since the open or a rewind
  std::string out_;             // bytes not yet written
};

// A specifier value as it is compared: trailing blanks removed, upper case.
std::string normalizedValue(std::string_view value);

// The unit table's inner operations.
// The connected unit (console streams created on first use), or nullptr.
ConnectedUnit* connectedUnit(int number, StatementKind kind);
// True when the number names a console stream for the options in force.
bool isConsoleNumber(int number);
void addUnit(std::unique_ptr<ConnectedUnit> unit);
// Closes the unit and removes it from the table; 0 or the first error.
int removeUnit(ConnectedUnit* unit, bool deleteFile);
// Opens an ordinary unit with default specifiers (the file-name rule applies).
int openImplicitly(int number);
// The end of OPEN, CLOSE and REWIND: IOSTAT 0 on success, else the error path.
int finishStatement(const Control& control, const ErrorSite& site, int status);
// Calls the pump hook, as every statement does at its start.
void pumpConsole();

}  // namespace fmtio
