// The survey of a data file's bytes: its lines split at every CR and LF
// (so that it does not depend on which line ends the file uses), each
// expanded at its tabs as the runtime expands them.
#include "series/file_survey.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "fmtio/io.h"
#include "fmtio/records.h"
#include "fmtio/unit_kinds.h"
#include "series/lines.h"

namespace series {
namespace {

// The name of the file connected to the unit; empty for a console unit.
std::string fileOf(std::int32_t unit) {
  fmtio::ConnectedUnit* u = fmtio::connectedUnit(unit, fmtio::StatementKind::Read);
  if (u == nullptr || u->isConsole()) return {};
  return u->connection().file;
}

// A tab with a non-blank character after it on its line: the blanks it
// becomes may have moved that character into another field. Tabs among
// the trailing blanks of a line move nothing.
bool tabBeforeText(std::string_view raw) {
  std::size_t tab = raw.find('\t');
  return tab != std::string_view::npos &&
         raw.find_first_not_of(" \t", tab) != std::string_view::npos;
}

std::string withoutTrailingBlanks(std::string_view text) {
  std::size_t end = text.find_last_not_of(' ');
  return std::string(text.substr(0, end == std::string_view::npos ? 0 : end + 1));
}

// A UTF-8 byte order mark before the first line, which the runtime passes over.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The end of the line that starts at `at`: its CR or LF, or the end of the
// bytes. The CR is looked for only before the LF, so that a file without CRs
// is not searched to the end of the piece for every line.
std::size_t lineEnd(std::string_view bytes, std::size_t at) {
  const std::size_t lf = std::min(bytes.find('\n', at), bytes.size());
  const std::size_t cr = bytes.substr(0, lf).find('\r', at);
  return std::min(cr, lf);
}

// Takes the lines of one piece of the file; `pending` holds the line begun at
// the end of the piece before, which this piece goes on with.
template <class Take>
void takePiece(std::string_view bytes, std::string& pending, Take& take) {
  for (std::size_t at = 0;;) {
    std::size_t end = lineEnd(bytes, at);
    std::string_view part = bytes.substr(at, end - at);
    if (end == bytes.size()) {
      pending.append(part);
      return;
    }
    at = end + 1;
    if (pending.empty()) {
      if (!part.empty()) take(part);
      continue;
    }
    pending.append(part);
    take(std::string_view(pending));
    pending.clear();
  }
}

// A piece without a tab, when only lines with a tab are wanted: of its
// lines only the one it finishes (begun in pending) and the one it leaves
// unfinished can hold a tab, so the lines between are passed over unread.
template <class Take>
void takeTablessPiece(std::string_view bytes, std::string& pending, Take& take) {
  const std::size_t first = lineEnd(bytes, 0);
  if (first == bytes.size()) {
    pending.append(bytes);
    return;
  }
  if (!pending.empty()) {
    pending.append(bytes.substr(0, first));
    take(std::string_view(pending));
  }
  const std::size_t last = bytes.find_last_of("\r\n");
  pending.assign(bytes.substr(last + 1));
}

// Which lines forEachLine hands over.
enum class Lines : bool { All, WithTab };

// Calls take(raw) for every non-empty line of the file as it stands there
// (with Lines::WithTab: at least for every one with a tab), split at every
// CR and LF (so that it does not matter which line ends the file uses); the
// file is read a piece at a time, never held whole. False when it cannot be
// read.
template <class Take>
bool forEachLine(const std::string& file, Lines lines, Take&& take) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(file.c_str(), "rb"), std::fclose);
  if (!f) return false;
  std::string pending;
  char piece[65536];
  bool first = true;
  for (std::size_t n; (n = std::fread(piece, 1, sizeof piece, f.get())) > 0; first = false) {
    std::string_view bytes(piece, n);
    if (first && bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    if (lines == Lines::WithTab && bytes.find('\t') == std::string_view::npos)
      takeTablessPiece(bytes, pending, take);
    else
      takePiece(bytes, pending, take);
  }
  if (!pending.empty()) take(std::string_view(pending));
  return std::ferror(f.get()) == 0;
}

// The line as the runtime reads it: tabs expanded.
std::string expanded(std::string_view raw, const fmtio::LineEnds& ends) {
  std::string line;
  fmtio::appendInputText(line, raw.data(), raw.size(), ends);
  return line;
}

// Only the lines with a tab are expanded and kept: the rest need nothing.
bool survey(const std::string& file, FileSurvey& s) {
  const fmtio::LineEnds ends = fmtio::currentLineEnds();
  bool read = forEachLine(file, Lines::WithTab, [&](std::string_view raw) {
    if (tabBeforeText(raw)) s.tabbed.push_back(withoutTrailingBlanks(expanded(raw, ends)));
  });
  std::sort(s.tabbed.begin(), s.tabbed.end());
  return read;
}

// Files larger than this are not surveyed (tabs and the file's markers are
// then unknown): a data file of series is a few megabytes at most.
constexpr std::uintmax_t kLargestSurveyed = std::uintmax_t{64} << 20;

// The file's size, or 0 when it cannot be told.
std::uintmax_t sizeOf(const std::string& file) {
  std::error_code error;
  std::uintmax_t size = std::filesystem::file_size(file, error);
  return error ? 0 : size;
}

}  // namespace

// Every line a reader takes asks for the survey: it is made once per
// connection of the unit (a file opened again is surveyed again), without a
// call to the system for the lines after the first.
FileSurvey& surveyOf(std::int32_t unit) {
  ReaderState& state = readerState();
  fmtio::ConnectedUnit* connected = fmtio::connectedUnit(unit, fmtio::StatementKind::Read);
  const std::uint64_t serial = connected == nullptr ? 0 : connected->serial();
  if (state.surveyUnit == unit && state.surveySerial == serial && serial != 0) return state.survey;
  std::string file = fileOf(unit);
  std::uintmax_t size = file.empty() ? 0 : sizeOf(file);
  state.surveyUnit = unit;
  state.surveySerial = serial;
  state.survey = FileSurvey{};
  if (file.empty() || size > kLargestSurveyed) return state.survey;
  if (!survey(file, state.survey)) {
    state.survey = FileSurvey{};
    return state.survey;
  }
  state.survey.known = true;
  state.survey.file = file;
  return state.survey;
}

std::vector<std::string> surveyLines(const FileSurvey& survey) {
  std::vector<std::string> lines;
  if (!survey.known) return lines;
  const fmtio::LineEnds ends = fmtio::currentLineEnds();
  forEachLine(survey.file, Lines::All,
              [&](std::string_view raw) { lines.push_back(expanded(raw, ends)); });
  return lines;
}

bool heldTab(std::int32_t unit, std::string_view lineRead) {
  const FileSurvey& s = surveyOf(unit);
  if (s.tabbed.empty()) return false;
  // The line read is the record cut to the width the reader looked at.
  std::string line = withoutTrailingBlanks(lineRead);
  for (auto it = std::lower_bound(s.tabbed.begin(), s.tabbed.end(), line);
       it != s.tabbed.end() && it->starts_with(line); ++it)
    if (withoutTrailingBlanks(std::string_view(*it).substr(0, lineRead.size())) == line)
      return true;
  return false;
}

bool TabWatch::heldTab(std::string_view lineRead) {
  if (tabbed_) tabbed_ = !surveyOf(unit_).tabbed.empty();
  return tabbed_ && series::heldTab(unit_, lineRead);
}

void reportTab(std::string_view routine, std::string_view ident, std::int64_t year) {
  fmtio::WRITE(fmtio::kConsoleOutput,
               FMT("(' >> Sbr ',A,':  Series ',A,', year',I6,': the line holds a tab, read as',"
                   "' blanks: its numbers may stand in other fields than meant')"),
               routine, ident, year);
}

}  // namespace series
