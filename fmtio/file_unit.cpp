// File units: records read and written through a buffer of kBufferSize bytes with the
// POSIX file calls. A file is read or written sequentially; the first write
// after reading, opening or rewinding makes the written record the last one
// of the file (the rest is cut off), as a sequential WRITE does.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <utility>

#include "fmtio/unit_kinds.h"

namespace fmtio {
namespace {

int lastSystemError() { return systemErrorFromErrno(errno); }

// First CR or LF of n bytes, or n. The CR is looked for only before the LF,
// so that a file without CRs is not searched to the end of the buffer for
// every line.
std::size_t lineEndIn(const char* p, std::size_t n) {
  const void* lf = std::memchr(p, '\n', n);
  const std::size_t limit = lf != nullptr ? static_cast<const char*>(lf) - p : n;
  const void* cr = std::memchr(p, '\r', limit);
  return cr != nullptr ? static_cast<std::size_t>(static_cast<const char*>(cr) - p) : limit;
}

// The first line feed, carriage return or tab among the whole sixteens of n
// bytes, sixteen bytes compared at once with each of the three; n when none
// stands there (the bytes after the last whole sixteen are not looked at),
// and on compilers and machines where this is not done.
std::size_t firstLineSpecial(const char* p, std::size_t n) {
#if defined(__GNUC__)
  if constexpr (std::endian::native == std::endian::little) {
    using Bytes = char __attribute__((vector_size(16)));
    for (std::size_t at = 0; at + sizeof(Bytes) <= n; at += sizeof(Bytes)) {
      Bytes bytes;
      std::memcpy(&bytes, p + at, sizeof bytes);
      const auto hits = (bytes == '\n') | (bytes == '\r') | (bytes == '\t');
      std::uint64_t low, high;
      std::memcpy(&low, &hits, sizeof low);
      std::memcpy(&high, reinterpret_cast<const char*>(&hits) + sizeof low, sizeof high);
      if ((low | high) == 0) continue;
      const int bit = low != 0 ? std::countr_zero(low) : 64 + std::countr_zero(high);
      return at + static_cast<std::size_t>(bit) / 8;
    }
  }
#endif
  return n;
}

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

int FileUnit::ensure(std::size_t n) {
  while (inEnd_ - inPos_ < n && !endOfFile_) {
    std::size_t unread = inEnd_ - inPos_;
    std::memmove(in_.get(), in_.get() + inPos_, unread);
    inPos_ = 0;
    inEnd_ = unread;
    ssize_t got;
    do {
      got = ::read(fd_, in_.get() + inEnd_, kBufferSize - inEnd_);
    } while (got < 0 && errno == EINTR);
    if (got < 0) return lastSystemError();
    endOfFile_ = got == 0;
    inEnd_ += static_cast<std::size_t>(got);
  }
  return kOk;
}

int FileUnit::readRecord(std::string& record) {
  record.clear();
  if (!canRead_) return kErrNotOpenRead;
  if (mode_ != Mode::Reading) {
    if (int status = endWriting()) return status;
    mode_ = Mode::Reading;
  }
  return connection_.dataFile ? readDataLine(record) : readTerminated(record);
}

// The record is read from the buffer with memchr; a record longer than the
// buffer is gathered over several fills. End of file ends a record that has
// at least one character.
int FileUnit::readTerminated(std::string& record) {
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

// A line of a data file, ended by whichever line end it has: files move
// between systems and editors, and a header in CR LF before data lines in CR
// alone is as common as a file of one kind throughout.
int FileUnit::readDataLine(std::string& record) {
  if (atStart_)
    if (int status = skipByteOrderMark()) return status;
  bool any = false;
  for (;;) {
    if (int status = ensure(1)) return status;
    if (inPos_ == inEnd_) return any ? kOk : kErrEndOfFile;
    const char* p = in_.get() + inPos_;
    std::size_t n = inEnd_ - inPos_;
    // Nearly every line ends before a tab and within the sixteens the
    // quick search looks at: its bytes are taken as they are.
    std::size_t length = firstLineSpecial(p, n);
    if (length < n && p[length] != '\t') {
      appendPlainText(record, p, length, ends_);
    } else {
      length = lineEndIn(p, n);
      appendLineText(record, p, length, ends_);
    }
    any = true;
    inPos_ += length;
    if (length < n) return endDataLine();
  }
}

// Passes over one line end: LF, CR LF, CR CR LF, or a CR that no LF follows
// (a CR before a CR that is not followed by LF ends an empty line).
int FileUnit::endDataLine() {
  if (int status = ensure(3)) return status;
  const char* p = in_.get() + inPos_;
  std::size_t n = inEnd_ - inPos_;
  std::size_t used = 1;
  if (p[0] == '\r' && n > 1 && p[1] == '\n') used = 2;
  if (p[0] == '\r' && n > 2 && p[1] == '\r' && p[2] == '\n') used = 3;
  inPos_ += used;
  return kOk;
}

// A UTF-8 byte order mark, which editors put before the first line, is no
// part of it: left in, it makes the first line of data a title.
int FileUnit::skipByteOrderMark() {
  static constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
  atStart_ = false;
  if (int status = ensure(3)) return status;
  if (inEnd_ - inPos_ >= 3 && std::memcmp(in_.get() + inPos_, kByteOrderMark, 3) == 0) inPos_ += 3;
  return kOk;
}

// Goes back over read-ahead bytes and cuts the file there.
int FileUnit::startWriting() {
  renumber();
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
  atStart_ = true;
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
