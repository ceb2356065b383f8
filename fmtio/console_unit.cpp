// Console units: the standard streams and console windows of their own,
// reached through the console hooks.
#include <cstring>

#include "fmtio/hooks.h"
#include "fmtio/unit_kinds.h"

namespace fmtio {

namespace {

// The number of the next connection made.
struct ConnectionSerials {
  std::uint64_t next = 1;
};

ConnectionSerials& connectionSerials() {
  static ConnectionSerials serials;
  return serials;
}

}  // namespace

ConnectedUnit::ConnectedUnit(int number, const Connection& connection, const LineEnds& ends)
    : connection_(connection), ends_(ends), serial_(connectionSerials().next++) {
  number_ = number;
  pad_ = connection.pad;
  blank_ = connection.blank;
}

void ConnectedUnit::updateModes(BlankMode blank, bool pad, Carriage carriage, Delim delim) {
  connection_.blank = blank_ = blank;
  connection_.pad = pad_ = pad;
  connection_.carriage = carriage;
  connection_.delim = delim;
}

void ConnectedUnit::renumber() { serial_ = connectionSerials().next++; }

ConsoleUnit::ConsoleUnit(int number, Stream stream, const Connection& connection,
                         const LineEnds& ends)
    : ConnectedUnit(number, connection, ends),
      stream_(stream),
      window_(stream == Stream::Window ? number : kStandardWindow) {
  console_ = true;
}

// The typed line up to its terminator, companions dropped and tabs expanded.
int ConsoleUnit::readRecord(std::string& record) {
  record.clear();
  if (stream_ == Stream::Output || stream_ == Stream::Error) return kErrNotOpenRead;
  if (!consoleHooks().readLine(window_, line_)) return kErrEndOfFile;
  const void* end = std::memchr(line_.data(), ends_.terminator, line_.size());
  std::size_t n = end != nullptr
                      ? static_cast<std::size_t>(static_cast<const char*>(end) - line_.data())
                      : line_.size();
  appendInputText(record, line_.data(), n, ends_);
  return kOk;
}

std::string ConsoleUnit::typedLine() const {
  std::string typed = line_.substr(0, line_.find(ends_.terminator));
  std::erase(typed, ends_.companion);
  return typed;
}

// Every record, an open one included, is on the console before this returns.
int ConsoleUnit::writeRecord(std::string_view record, bool advance) {
  if (stream_ == Stream::Input) return kErrNotOpenWrite;
  if (int status = checkLength(record.size())) return status;
  bytes_.clear();
  appendOutputRecord(bytes_, record, recordOpen_, advance, connection_.carriage, ends_);
  consoleHooks().writeBlock(window_, stream_ == Stream::Error, bytes_);
  noteWritten(record.size(), advance);
  return kOk;
}

// The console keeps what was shown; a window stays open as its hook decides.
int ConsoleUnit::close(bool /*deleteFile*/) {
  if (stream_ == Stream::Window) consoleHooks().closeWindow(number_);
  return kOk;
}

}  // namespace fmtio
