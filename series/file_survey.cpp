// The survey of a data file's bytes: its lines split at every CR and LF
// (so that it does not depend on which line ends the file uses), each
// expanded at its tabs as the runtime expands them.
#include "series/file_survey.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

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

void survey(const std::string& bytes, FileSurvey& s) {
  const fmtio::LineEnds ends = fmtio::currentLineEnds();
  std::size_t start = bytes.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
  for (std::size_t at = start; at < bytes.size();) {
    std::size_t end = std::min(bytes.find_first_of("\r\n", at), bytes.size());
    std::string_view raw(bytes.data() + at, end - at);
    at = end + 1;
    if (raw.empty()) continue;
    std::string line;
    fmtio::appendInputText(line, raw.data(), raw.size(), ends);
    if (tabBeforeText(raw)) s.tabbed.push_back(withoutTrailingBlanks(line));
    s.lines.push_back(std::move(line));
  }
  std::sort(s.tabbed.begin(), s.tabbed.end());
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
  if (state.surveyUnit == unit && state.surveySerial == serial && serial != 0)
    return state.survey;
  std::string file = fileOf(unit);
  std::uintmax_t size = file.empty() ? 0 : sizeOf(file);
  state.surveyUnit = unit;
  state.surveySerial = serial;
  state.survey = FileSurvey{};
  std::ifstream in(file, std::ios::binary);
  if (file.empty() || size > kLargestSurveyed || !in) return state.survey;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  state.survey.known = true;
  survey(bytes, state.survey);
  return state.survey;
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

void reportTab(std::string_view routine, std::string_view ident, std::int64_t year) {
  fmtio::WRITE(6,
               FMT("(' >> Sbr ',A,':  Series ',A,', year',I6,': the line holds a tab, read as',"
                   "' blanks: its numbers may stand in other fields than meant')"),
               routine, ident, year);
}

}  // namespace series
