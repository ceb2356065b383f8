// Damaged existing files, for every input format: whole sessions copy every
// series ("T") to a compact file, which is then read back. Whatever the
// damage, the session ends normally, the existing file keeps its bytes, no
// value is written for a wrong year or with a wrong value, every value of an
// undamaged line reaches the new file, and damage inside a series is told
// with a " >> " message.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/robustness/session_runs.h"

namespace robustness {
namespace {

// Two series with years apart, so that a year names one value of the file.
const std::vector<SeriesData> kSeries = {{"SER01", 1901, ramp(60, 1.0f)},
                                         {"SER02", 1971, ramp(35, 2.0f)}};
constexpr float kTolerance = 0.005f;

// The formats: letter of the file, writer of a good file, how years are
// known, and the values on the data lines of the first series.
struct Format {
  const char* name;
  char letter;
  bool yearsInFile;  // false: a single column, the values count from year 1
  int firstLine;     // values on the first data line of a series
  int perLine;       // values on each further line
};
const Format kFormats[] = {{"C", 'C', true, 13, 13}, {"MW", 'M', true, 9, 10},
                           {"3W", 'M', true, 9, 10}, {"IW", 'I', true, 9, 10},
                           {"A", 'A', true, 10, 10}, {"1", '1', false, 1, 1},
                           {"2", '2', true, 1, 1},   {"V", 'V', true, 1, 1}};
constexpr int kFirstYear = 1901;  // of the first series, written first

// A damaged file: its text, the years whose values may be missing, and the
// years whose precision the file no longer tells (.001 read as .01).
struct Damaged {
  std::string text;
  std::set<int> mayLose;
  std::set<int> mayBeTenfold;
};

// Lines after the title that hold values.
bool isDataLine(const std::string& line, const Format& f) {
  bool named = line.find("SER0") != std::string::npos;
  switch (f.letter) {
    case 'C': return line.find('~') == std::string::npos;
    case 'M':
    case 'I': return named;
    case 'V': return line != "END";
    default: return !named;
  }
}

// The data line that is damaged: the second of the first series (compact),
// else the fourth. Its years may go missing; for the compact format all
// later ones of the series too, as its reading ends at a bad line.
std::size_t middleLine(const std::vector<std::string>& lines, const Format& f,
                       std::set<int>& years) {
  const int wanted = f.letter == 'C' ? 2 : 4;
  int from = kFirstYear + f.firstLine + (wanted - 2) * f.perLine;
  int to = f.letter == 'C' ? kFirstYear + 59 : from + f.perLine - 1;
  for (int y = from; y <= to; ++y) years.insert(y);
  int seen = 0;
  for (std::size_t i = 1; i < lines.size(); ++i)
    if (isDataLine(lines[i], f) && ++seen == wanted) return i;
  ADD_FAILURE() << f.name << ": no middle line";
  return 0;
}

using Damage = std::function<Damaged(const Format&)>;

Damaged changeMiddle(const Format& f, const std::function<void(std::string&)>& change) {
  Damaged d;
  std::vector<std::string> lines = linesOf(fileOf(f.name, kSeries));
  change(lines[middleLine(lines, f, d.mayLose)]);
  d.text = textOf(lines);
  return d;
}

// The last digit of the line's last number becomes a letter or a NUL.
void replaceDigit(std::string& line, char with) { line[line.find_last_not_of(' ')] = with; }

Damaged intact(const Format& f) { return {fileOf(f.name, kSeries), {}, {}}; }

// Cut in the middle of a field (a single column loses its number).
Damaged truncated(const Format& f) {
  std::size_t keep = f.letter == '1' ? 0 : 1;
  return changeMiddle(f, [keep](std::string& line) { line.resize(keep * line.size() / 2); });
}

Damaged letterInNumber(const Format& f) {
  return changeMiddle(f, [](std::string& line) { replaceDigit(line, 'O'); });
}

Damaged nulInNumber(const Format& f) {
  return changeMiddle(f, [](std::string& line) { replaceDigit(line, '\0'); });
}

// A data line followed by more numbers far to the right, and a line of
// 9000 characters between the series.
Damaged overlong(const Format& f) {
  Damaged d = changeMiddle(f, [](std::string& line) { line += std::string(120, ' ') + "77 88"; });
  std::vector<std::string> lines = linesOf(d.text);
  auto second = std::find_if(lines.begin() + 1, lines.end(), [&](const std::string& line) {
    return line.find("SER02") != std::string::npos || line.find("1971") != std::string::npos;
  });
  lines.insert(second, "Note " + std::string(9000, '-'));
  d.text = textOf(lines);
  d.mayLose.clear();
  return d;
}

Damaged carriageReturnsOnly(const Format& f) {
  Damaged d = intact(f);
  std::replace(d.text.begin(), d.text.end(), '\n', '\r');
  return d;
}

// The file ends without the last series' end: its stop marker (measurement
// formats), its closing line (value-year), or its last line with the values
// on it (compact, index and Accurite formats; those years go).
Damaged missingEnd(const Format& f) {
  // Format letter -> first year on the last line of the second series.
  const std::map<char, int> lastLineYear = {{'C', 1997}, {'I', 2000}, {'A', 2001}};
  Damaged d;
  std::vector<std::string> lines = linesOf(fileOf(f.name, kSeries));
  std::string& last = lines.back();
  if (f.letter == 'M') last.resize(last.find_last_not_of(' ') - 5);
  if (f.letter != 'M' && f.letter != '1' && f.letter != '2') lines.pop_back();
  if (auto it = lastLineYear.find(f.letter); it != lastLineYear.end())
    for (int y = it->second; y <= 2005; ++y) d.mayLose.insert(y);
  if (std::string(f.name) == "3W")  // only the -9999 marker tells thousandths
    for (int y = 1971; y <= 2005; ++y) d.mayBeTenfold.insert(y);
  d.text = textOf(lines);
  return d;
}

// A damage and the formats that must tell it with a " >> " message. A line
// that does not read is an identification line in the single-column and
// year-value formats, and numbers after a list-directed line's values are
// no values of it.
struct DamageKind {
  const char* name;
  Damage make;
  std::string_view toldFor;
};
const DamageKind kDamages[] = {{"intact", intact, ""},
                               {"truncated line", truncated, "CMIAV"},
                               {"letter in a number", letterInNumber, "CMIAV"},
                               {"NUL in a number", nulInNumber, "CMIAV"},
                               {"overlong lines", overlong, "CMI"},
                               {"CR line ends", carriageReturnsOnly, ""},
                               {"missing end", missingEnd, "CMIA"}};

// Year -> value of every series of the undamaged file.
std::map<int, float> valuesByYear() {
  std::map<int, float> byYear;
  for (const SeriesData& s : kSeries)
    for (std::size_t i = 0; i < s.values.size(); ++i)
      byYear[s.firstYear + static_cast<int>(i)] = s.values[i];
  return byYear;
}

// What is wrong with the new file: values for years the existing file does
// not hold or with other values, and values of undamaged lines that are not
// there (single column: fewer values than the file's undamaged lines hold).
std::vector<std::string> wrongOrLost(const SessionRun& run, const Format& f, const Damaged& d) {
  std::map<int, float> want = valuesByYear();
  std::map<int, int> seen;
  std::vector<std::string> faults;
  std::size_t written = 0;
  for (const SeriesData& s : run.written) {
    written += s.values.size();
    for (std::size_t i = 0; f.yearsInFile && i < s.values.size(); ++i) {
      int year = s.firstYear + static_cast<int>(i);
      ++seen[year];
      auto it = want.find(year);
      bool tenfold = d.mayBeTenfold.count(year) > 0 && it != want.end() &&
                     std::fabs(10 * it->second - s.values[i]) <= 10 * kTolerance;
      if (!tenfold && (it == want.end() || std::fabs(it->second - s.values[i]) > kTolerance))
        faults.push_back(s.ident + " " + std::to_string(year) + " written as " +
                         std::to_string(s.values[i]));
    }
  }
  for (const auto& [year, value] : want)
    if (f.yearsInFile && seen[year] == 0 && d.mayLose.count(year) == 0)
      faults.push_back(std::to_string(year) + " lost (" + std::to_string(value) + ")");
  if (!f.yearsInFile && written + f.perLine < want.size())
    faults.push_back(std::to_string(want.size() - written) + " values lost");
  return faults;
}

std::string firstOf(const std::vector<std::string>& faults) {
  std::string text;
  for (std::size_t i = 0; i < faults.size() && i < 4; ++i) text += "\n  " + faults[i];
  if (faults.size() > 4) text += "\n  ... " + std::to_string(faults.size()) + " in all";
  return text;
}

TEST(MalformedInput, EverySeriesThatCanBeReadIsCopiedRightAndDamageIsTold) {
  for (const Format& f : kFormats) {
    for (const DamageKind& damage : kDamages) {
      std::string what = std::string(f.name) + ", " + damage.name;
      Damaged d = damage.make(f);
      SessionRun run = runSession(d.text, {.letter = f.letter});
      EXPECT_EQ(run.code, 0) << what << "\n" << run.err;
      EXPECT_EQ(run.err, "- = [ ] = -\n") << what;
      EXPECT_TRUE(run.existingUnchanged) << what;
      std::vector<std::string> faults = wrongOrLost(run, f, d);
      EXPECT_TRUE(faults.empty()) << what << firstOf(faults);
      if (damage.toldFor.find(f.letter) != std::string_view::npos) {
        EXPECT_NE(run.out.find(" >> "), std::string::npos) << what << ": damage not told";
      }
    }
  }
}

}  // namespace
}  // namespace robustness
