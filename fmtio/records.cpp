// Record text: terminators, companions, tabs and carriage control.
#include "fmtio/records.h"

#include <algorithm>
#include <cstring>

#include "fmtio/options.h"

namespace fmtio {
namespace {

constexpr char kFormFeed = '\f';
constexpr int kFallbackTabSize = 8;

// First c in [p, end), or end.
const char* findChar(const char* p, const char* end, char c) {
  const void* hit = std::memchr(p, c, static_cast<std::size_t>(end - p));
  return hit != nullptr ? static_cast<const char*>(hit) : end;
}

// FORTRAN carriage control character -> number of terminators written before
// the record (-1: a form feed instead).
int terminatorsBefore(char control) {
  switch (control) {
    case '+': return 0;
    case '0': return 2;
    case '-': return 3;
    case '1': return -1;
    default: return 1;
  }
}

}  // namespace

LineEnds currentLineEnds() {
  const RuntimeOptions& options = runtimeOptions();
  LineEnds ends;
  ends.terminator = options.terminator;
  ends.companion = options.companion;
  ends.tabSize = options.tabSize > 0 ? options.tabSize : kFallbackTabSize;
  ends.recordLimit = options.recordLimit;
  return ends;
}

namespace {

// Copies runs between special characters whole; each memchr scans a byte
// once. companion: the first companion character in [p, end), or end.
void appendExpanded(std::string& record, const char* p, const char* end, const char* companion,
                    const LineEnds& ends) {
  const std::size_t most = ends.recordLimit + 1;
  const char* tab = findChar(p, end, '\t');
  for (;;) {
    if (record.size() >= most) return;
    const char* stop = std::min(companion, tab);
    record.append(p, std::min(static_cast<std::size_t>(stop - p), most - record.size()));
    if (stop == end) return;
    if (stop == tab) {
      std::size_t column = record.size() % static_cast<std::size_t>(ends.tabSize);
      std::size_t blanks = static_cast<std::size_t>(ends.tabSize) - column;
      record.append(std::min(blanks, most - record.size()), ' ');
      tab = findChar(stop + 1, end, '\t');
    } else {
      companion = findChar(stop + 1, end, ends.companion);
    }
    p = stop + 1;
  }
}

}  // namespace

void appendInputText(std::string& record, const char* p, std::size_t n, const LineEnds& ends) {
  appendExpanded(record, p, p + n, findChar(p, p + n, ends.companion), ends);
}

void appendLineText(std::string& record, const char* p, std::size_t n, const LineEnds& ends) {
  const char* end = p + n;
  const bool lineEnd = ends.companion == '\n' || ends.companion == '\r';
  appendExpanded(record, p, end, lineEnd ? end : findChar(p, end, ends.companion), ends);
}

void appendPlainText(std::string& record, const char* p, std::size_t n, const LineEnds& ends) {
  if (ends.companion != '\n' && ends.companion != '\r') return appendLineText(record, p, n, ends);
  const std::size_t most = ends.recordLimit + 1;
  if (record.size() < most) record.append(p, std::min(n, most - record.size()));
}

void appendOutputRecord(std::string& out, std::string_view record, bool continuing, bool advance,
                        Carriage carriage, const LineEnds& ends) {
  if (carriage == Carriage::Fortran && !continuing) {
    char control = record.empty() ? ' ' : record.front();
    if (!record.empty()) record.remove_prefix(1);
    int before = terminatorsBefore(control);
    if (before < 0)
      out += kFormFeed;
    else
      out.append(static_cast<std::size_t>(before), ends.terminator);
  }
  out.append(record);
  if (advance) appendRecordEnd(out, carriage, ends);
}

// One append of the companion and, for LIST, the terminator.
void appendRecordEnd(std::string& out, Carriage carriage, const LineEnds& ends) {
  const char end[] = {ends.companion, ends.terminator};
  out.append(end, carriage == Carriage::List ? 2 : 1);
}

}  // namespace fmtio
