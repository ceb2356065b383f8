// File units: records read and written through an 8192-byte buffer with the
// POSIX file calls. A file is read or written sequentially; the first write
// after reading, opening or rewinding makes the written record the last one
// of the file (the rest is cut off), as a sequential WRITE does.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "fmtio/unit_kinds.h"

namespace fmtio {
namespace {

int lastSystemError() { return systemErrorFromErrno(errno); }

}  // namespace

FileUnit::FileUnit(int number, int fd, const Connection& connection, const LineEnds& ends)
    : ConnectedUnit(number, connection, ends),
      fd_(fd),
      canRead_(connection.action != Action::Write),
      canWrite_(connection.action != Action::Read),
      in_(new char[kBufferSize]) {
  out_.reserve(kBufferSize + kBufferSize / 2);
}

FileUnit::~FileUnit() { release(connection_.status == OpenStatus::Scratch); }

// Drops buffered bytes and the descriptor; a scratch file goes with them.
void FileUnit::release(bool deleteFile) {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
  out_.clear();
  if (deleteFile) ::unlink(connection_.file.c_str());
}

int FileUnit::fill() {
  ssize_t n;
  do {
    n = ::read(fd_, in_.get(), kBufferSize);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return lastSystemError();
  inPos_ = 0;
  inEnd_ = static_cast<std::size_t>(n);
  endOfFile_ = n == 0;
  if (!lineEndsKnown_) detectLineEnds();
  return kOk;
}

// A file whose first buffer holds companion characters but not one
// terminator was written with the companion as its line end (CR alone, as
// old Macintosh files are): read it with the two exchanged, so that its
// lines stay lines instead of running together into one record.
void FileUnit::detectLineEnds() {
  lineEndsKnown_ = true;
  const char* p = in_.get();
  if (inEnd_ == 0 || std::memchr(p, ends_.terminator, inEnd_) != nullptr) return;
  if (std::memchr(p, ends_.companion, inEnd_) == nullptr) return;
  std::swap(ends_.terminator, ends_.companion);
}

// Leaves writing: an open line is ended and the buffer written out.
int FileUnit::endWriting() {
  if (mode_ == Mode::Writing) {
    if (recordOpen_) appendRecordEnd(out_, connection_.carriage, ends_);
    noteWritten(0, true);
    mode_ = Mode::Idle;
  }
  return out_.empty() ? kOk : writeOut();
}

// The record is read from the buffer with memchr; a record longer than the
// buffer is gathered over several fills. End of file ends a record that has
// at least one character.
int FileUnit::readRecord(std::string& record) {
  record.clear();
  if (!canRead_) return kErrNotOpenRead;
  if (mode_ != Mode::Reading) {
    if (int status = endWriting()) return status;
    mode_ = Mode::Reading;
  }
  bool any = false;
  for (;;) {
    if (inPos_ == inEnd_) {
      if (endOfFile_) return any ? kOk : kErrEndOfFile;
      if (int status = fill()) return status;
      if (endOfFile_) return any ? kOk : kErrEndOfFile;
    }
    const char* p = in_.get() + inPos_;
    std::size_t n = inEnd_ - inPos_;
    const void* hit = std::memchr(p, ends_.terminator, n);
    std::size_t length =
        hit != nullptr ? static_cast<std::size_t>(static_cast<const char*>(hit) - p) : n;
    appendInputText(record, p, length, ends_);
    any = true;
    inPos_ += length;
    if (hit != nullptr) {
      ++inPos_;
      return kOk;
    }
  }
}

// Goes back over read-ahead bytes and cuts the file there.
int FileUnit::startWriting() {
  off_t position = ::lseek(fd_, 0, SEEK_CUR);
  if (position >= 0 && mode_ == Mode::Reading) {
    position -= static_cast<off_t>(inEnd_ - inPos_);
    if (::lseek(fd_, position, SEEK_SET) < 0) return lastSystemError();
  }
  inPos_ = inEnd_ = 0;
  endOfFile_ = false;
  struct stat info;
  if (position >= 0 && ::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode) &&
      info.st_size > position && ::ftruncate(fd_, position) != 0)
    return lastSystemError();
  mode_ = Mode::Writing;
  return kOk;
}

int FileUnit::writeRecord(std::string_view record, bool advance) {
  if (!canWrite_) return kErrNotOpenWrite;
  if (mode_ != Mode::Writing) {
    if (int status = startWriting()) return status;
  }
  if (int status = checkLength(record.size())) return status;
  appendOutputRecord(out_, record, recordOpen_, advance, connection_.carriage, ends_);
  noteWritten(record.size(), advance);
  return out_.size() >= kBufferSize ? writeOut() : kOk;
}

// Bytes that cannot be written stay in the buffer for a later attempt.
int FileUnit::writeOut() {
  std::size_t done = 0;
  int status = kOk;
  while (done < out_.size()) {
    ssize_t n = ::write(fd_, out_.data() + done, out_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      status = lastSystemError();
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  out_.erase(0, done);
  return status;
}

int FileUnit::flush() { return out_.empty() ? kOk : writeOut(); }

int FileUnit::rewind() {
  if (int status = endWriting()) return status;
  if (::lseek(fd_, 0, SEEK_SET) < 0) return lastSystemError();
  inPos_ = inEnd_ = 0;
  endOfFile_ = false;
  mode_ = Mode::Idle;
  return kOk;
}

int FileUnit::seekEnd() {
  if (::lseek(fd_, 0, SEEK_END) < 0) return lastSystemError();
  return kOk;
}

int FileUnit::close(bool deleteFile) {
  int status = endWriting();
  if (::close(fd_) != 0 && status == kOk) status = lastSystemError();
  fd_ = -1;
  out_.clear();
  if (deleteFile) ::unlink(connection_.file.c_str());
  return status;
}

}  // namespace fmtio
