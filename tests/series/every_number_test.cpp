// Every number on a data line of a real fixed-column file (measurement,
// index and compact formats, read where they lie) reaches a series or is
// named in a " >> " message. The test counts the numbers itself, from the
// file's bytes and its own reading of the columns, and compares them with
// the values the readers return and the numbers their messages name.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "tests/series/series_files.h"
#include "tests/support/shared_data.h"

namespace series::testing {
namespace {

namespace fs = std::filesystem;

// Files of the fixed-column formats that are not laid out in their columns:
// tab-separated, and space-separated numbers.
const char* const kLeftOut[] = {"test1-tabs.txt", "min.rwl"};

// Folder and file ending -> format letter of the fixed-column files.
struct FolderFormat {
  const char* folder;
  const char* ending;
  char letter;
};
const FolderFormat kFormats[] = {
    {"rwl", ".rwl", 'M'}, {"rwl", ".txt", 'M'},     {"derived", ".rwl", 'M'},
    {"crn", ".crn", 'I'}, {"compact", ".rwm", 'C'}, {"derived", ".rwm", 'C'},
};

// The file's lines, split at every CR and LF, tabs as blanks.
std::vector<std::string> linesOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> lines;
  std::string line;
  for (char c : bytes) {
    if (c == '\r' || c == '\n') {
      if (!line.empty()) lines.push_back(line);
      line.clear();
    } else {
      line += c == '\t' ? ' ' : c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

bool isNumber(std::string_view w) {
  static const std::regex number(R"([+-]?[0-9]+\.?[0-9]*)");
  return std::regex_match(w.begin(), w.end(), number);
}

std::string_view trimmed(std::string_view s) {
  std::size_t from = s.find_first_not_of(' ');
  if (from == std::string_view::npos) return {};
  return s.substr(from, s.find_last_not_of(' ') + 1 - from);
}

// The columns [from, from + width) of a line, trimmed.
std::string_view cols(std::string_view line, std::size_t from, std::size_t width) {
  if (from >= line.size()) return {};
  return trimmed(line.substr(from, width));
}

std::vector<std::string> numberWords(std::string_view text) {
  std::vector<std::string> numbers;
  std::size_t at = 0;
  while ((at = text.find_first_not_of(' ', at)) != std::string_view::npos) {
    std::size_t end = std::min(text.find(' ', at), text.size());
    if (isNumber(text.substr(at, end - at))) numbers.emplace_back(text.substr(at, end - at));
    at = end;
  }
  return numbers;
}

// Numbers of a file's data lines: those that must reach a series or a
// message, and the stop markers and fillers that end series.
struct Tally {
  std::size_t values = 0;
  std::size_t markers = 0;
};

bool isMarker(std::string_view w) { return w == "999" || w == "-9999"; }

// The trailing run of one stop marker among the fields of a line.
std::size_t trailingMarkers(const std::vector<std::string>& fields) {
  std::size_t n = 0;
  while (n < fields.size() && isMarker(fields[fields.size() - 1 - n]) &&
         fields[fields.size() - 1 - n] == fields.back())
    ++n;
  return n;
}

// Fixed fields of a line: count of them, width and first column; false
// when one of them holds anything but a number.
bool fieldNumbers(std::string_view line, std::size_t first, std::size_t width, int count,
                  std::size_t step, std::vector<std::string>& out) {
  for (int k = 0; k < count; ++k) {
    std::string_view f = cols(line, first + static_cast<std::size_t>(k) * step, width);
    if (f.empty()) continue;
    if (!isNumber(f)) return false;
    out.emplace_back(f);
  }
  return true;
}

// A measurement line: identification, a year in columns 9-12 (8-12 with a
// "-" in column 8), ten fields of six columns, and numbers after them.
void tallyMeasurementLine(std::string_view line, Tally& t) {
  bool longYear = line.size() > 7 && line[7] == '-';
  std::string_view year = cols(line, longYear ? 7 : 8, longYear ? 5 : 4);
  std::vector<std::string> fields;
  if (line.size() < 9 || year.empty() || !isNumber(year) ||
      !fieldNumbers(line, 12, 6, 10, 6, fields))
    return;
  std::size_t markers = trailingMarkers(fields);
  t.markers += markers;
  t.values += fields.size() - markers;
  if (line.size() > 72) t.values += numberWords(line.substr(72)).size();
}

// An index line: a year in columns 7-10 and ten slots of a four-column
// value and a three-column sample count; values of 9990 and up are fillers.
void tallyIndexLine(std::string_view line, Tally& t) {
  std::string_view year = cols(line, 6, 4);
  std::vector<std::string> values, samples;
  if (line.size() < 9 || year.empty() || !isNumber(year) ||
      !fieldNumbers(line, 10, 4, 10, 7, values) || !fieldNumbers(line, 14, 3, 10, 7, samples))
    return;
  for (const std::string& v : values) (std::stod(v) >= 9990 ? t.markers : t.values) += 1;
  if (line.size() > 80) t.values += numberWords(line.substr(80)).size();
}

// Compact: after a header ending in "~", lines of fields as wide as its
// format says, up to the next line that is not such a data line.
void tallyCompact(const std::vector<std::string>& lines, Tally& t) {
  static const std::regex format(R"(\(\s*([0-9]+)F([0-9])\.0\)\s*~\s*$)");
  std::size_t perLine = 0, width = 0;
  for (const std::string& line : lines) {
    std::smatch m;
    if (std::regex_search(line, m, format)) {
      perLine = std::stoul(m[1]);
      width = std::stoul(m[2]);
      continue;
    }
    std::vector<std::string> fields;
    if (width == 0 || trimmed(line).empty() ||
        !fieldNumbers(line, 0, width, static_cast<int>(perLine), width, fields)) {
      width = 0;
      continue;
    }
    t.values += fields.size();
    if (line.size() > perLine * width) t.values += numberWords(line.substr(perLine * width)).size();
  }
}

Tally tallyFile(const fs::path& path, char letter) {
  Tally t;
  std::vector<std::string> lines = linesOf(path);
  if (letter == 'C') tallyCompact(lines, t);
  for (const std::string& line : lines) {
    if (letter == 'M') tallyMeasurementLine(line, t);
    if (letter == 'I') tallyIndexLine(line, t);
  }
  return t;
}

std::vector<std::string> outputLines(const std::string& out) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  for (std::size_t end; (end = out.find('\n', at)) != std::string::npos; at = end + 1)
    lines.push_back(out.substr(at, end - at));
  if (at < out.size()) lines.push_back(out.substr(at));
  return lines;
}

// What the reading gave: values in series, numbers named after "not read:"
// (a stop marker ending the fields of a line beyond its decade is still a
// marker), and stop markers the reader took as values, each told.
struct Accounted {
  std::size_t values = 0;
  std::size_t named = 0;
  std::size_t markersAsValues = 0;
};

Accounted accountedFor(const ReadOutcome& got) {
  Accounted a;
  for (const ReadSeries& s : got.series) a.values += s.values.size();
  std::vector<std::string> out = outputLines(got.out);
  for (std::size_t i = 0; i < out.size(); ++i) {
    std::string_view m = trimmed(out[i]);
    if (m.find(">> ") != 0) continue;
    if (m.find("read as a value") != std::string_view::npos) ++a.markersAsValues;
    if (!m.ends_with("not read:") || i + 1 == out.size()) continue;
    std::vector<std::string> numbers = numberWords(out[i + 1]);
    a.named += numbers.size();
    if (m.find("beyond the decade") != std::string_view::npos) a.named -= trailingMarkers(numbers);
  }
  return a;
}

TEST(EveryNumber, OfTheRealFixedColumnFilesIsReadOrNamed) {
  if (!testing_support::haveSharedData()) GTEST_SKIP() << testing_support::needsSharedData();
  int files = 0;
  for (const FolderFormat& f : kFormats) {
    fs::path folder = testing_support::sharedData(f.folder);
    if (!fs::is_directory(folder)) continue;
    for (const fs::directory_entry& e : fs::directory_iterator(folder)) {
      std::string name = e.path().filename().string();
      if (!name.ends_with(f.ending) || std::ranges::count(kLeftOut, name) > 0) continue;
      ++files;
      Tally t = tallyFile(e.path(), f.letter);
      ReadOptions asSession;
      asSession.dataFile = true;
      ReadOutcome got = readFile(e.path().string(), f.letter, asSession);
      Accounted a = accountedFor(got);
      EXPECT_GT(t.values, 0u) << name;
      EXPECT_EQ(a.values + a.named, t.values + a.markersAsValues)
          << name << ": " << a.values << " values read, " << a.named << " numbers named, "
          << a.markersAsValues << " markers read as values, for " << t.values << " numbers and "
          << t.markers << " markers on its data lines\n"
          << got.out;
    }
  }
  EXPECT_GE(files, 30);
}

}  // namespace
}  // namespace series::testing
