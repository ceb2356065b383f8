// ringedit's command line, run as a program: help, version and usage errors,
// "convert" giving the new file the session writes for the same input byte
// for byte, the files it never replaces, and "check".
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/console_script.h"
#include "tests/support/process.h"
#include "tests/support/shared_data.h"

namespace {

namespace fs = std::filesystem;
using testing_support::runProcess;
using testing_support::TempDir;

const fs::path kExamples = fs::path(RINGEDIT_SOURCE_DIR) / "examples";
const fs::path kSharedData = testing_support::sharedData();

testing_support::ProcessResult ringedit(std::vector<std::string> words,
                                        const std::string& input = "") {
  words.insert(words.begin(), RINGEDIT_PATH);
  return runProcess(words, input);
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(CommandLine, HelpVersionAndUsageErrors) {
  struct Case {
    std::vector<std::string> words;
    int status;
    const char* out;  // the beginning of standard output
    const char* err;  // a part of standard error
  } cases[] = {
      {{"--help"}, 0, "usage: ringedit", ""},
      {{"-h"}, 0, "usage: ringedit", ""},
      {{"--version"}, 0, "ringedit " RINGEDIT_VERSION "\n", ""},
      {{"--bogus"}, 2, "", "unknown command or option --bogus"},
      {{"file.rwl"}, 2, "", "unknown command or option file.rwl"},
      {{"convert", "x.rwl"}, 2, "", "either -o NEWFILE or --out-dir DIR"},
      {{"convert", "-o", "a", "--out-dir", "d", "x"}, 2, "", "either -o NEWFILE or --out-dir"},
      {{"convert", "-o", "a", "x", "y"}, 2, "", "-o names the new file of one INPUT"},
      {{"convert", "-o", "a"}, 2, "", "no INPUT given"},
      {{"convert", "--to", "Q", "-o", "a", "x"}, 2, "", "--to Q: C, M, 3, I, fh, csv or tridas"},
      {{"convert", "--from", "S", "-o", "a", "x"}, 2, "", "spreadsheet files ask questions"},
      {{"check", "--from", "Z", "x"}, 2, "", "--from Z: not a format"},
      {{"check", "-o", "a", "x"}, 2, "", "unknown option -o"},
      {{"check", "--force", "x"}, 2, "", "unknown option --force"},
  };
  for (const Case& c : cases) {
    std::string what = c.words[0] + (c.words.size() > 1 ? " " + c.words[1] : "");
    auto run = ringedit(c.words);
    EXPECT_EQ(run.status, c.status) << what;
    EXPECT_EQ(run.out.rfind(c.out, 0), 0u) << what << "\n" << run.out;
    EXPECT_NE(run.err.find(c.err), std::string::npos) << what << "\n" << run.err;
    if (c.status == 2) {
      EXPECT_NE(run.err.find("usage: ringedit"), std::string::npos) << what;
    }
  }
}

// The session's answers that convert stands for: the input, its format
// confirmed (compact files are taken without a question) or chosen from the
// menu, the new file, its format, no title line, then "T".
std::string sessionAnswers(const std::string& input, char letter, bool detected,
                           const std::string& newFile, char to) {
  std::string format = letter == 'C' && detected ? ""
                       : detected                ? "\n"
                                                 : std::string(1, letter) + "\n";
  return input + "\n" + format + newFile + "\n" + to + "\nN\nT\n";
}

// The format check reports, or blank.
char checkedFormat(const std::string& input) {
  auto run = ringedit({"check", input});
  std::size_t at = run.out.find(": format ");
  return at == std::string::npos ? ' ' : run.out[at + 9];
}

// Converts input both ways, in a folder whose path is over 100 characters,
// and compares the new files.
void expectSameAsSession(const fs::path& source, char from, char to) {
  TempDir dir;
  const fs::path folder =
      fs::path(dir.path()) / "a_folder_name_long_enough_to_pass_one_hundred_characters_in_all";
  fs::create_directories(folder);
  const std::string input = (folder / "input_file_of_series.dat").string();
  fs::copy_file(source, input);
  const char detected = checkedFormat(input);
  const char letter = from != ' ' ? from : detected;
  std::string what = source.filename().string() + " " + letter + " to " + to;
  ASSERT_NE(letter, ' ') << what;
  ASSERT_GT(input.size(), 100u);
  const std::string converted = (folder / "converted_by_the_command_line.new").string();
  const std::string edited = (folder / "written_by_the_session_of_questions.new").string();
  std::vector<std::string> words = {"convert", "--to", std::string(1, to), "-o", converted, input};
  if (from != ' ') words.insert(words.begin() + 1, {"--from", std::string(1, from)});
  auto run = ringedit(words);
  EXPECT_LE(run.status, 1) << what << "\n" << run.err;
  auto session = ringedit({}, sessionAnswers(input, letter, detected == letter, edited, to));
  EXPECT_EQ(session.status, 0) << what << "\n" << session.err;
  ASSERT_TRUE(fs::exists(edited)) << what;
  EXPECT_EQ(readFile(converted), readFile(edited)) << what;
  EXPECT_NE(run.out.find(" -> " + converted + "\n"), std::string::npos) << what << run.out;
}

TEST(Convert, WritesWhatTheSessionWritesForEveryExampleFile) {
  struct Example {
    const char* file;
    char from;  // blank: identified
  } examples[] = {
      {"compact.rwm", ' '},    {"measurements_01.rwl", ' '}, {"measurements_001.rwl", ' '},
      {"indices.crn", ' '},    {"accurite.txt", 'A'},        {"single_column.txt", '1'},
      {"year_value.txt", '2'}, {"value_year.txt", 'V'},
  };
  for (const Example& e : examples)
    for (char to : {'C', 'M', '3'}) expectSameAsSession(kExamples / e.file, e.from, to);
}

TEST(Convert, WritesWhatTheSessionWritesForTheRealFiles) {
  if (!testing_support::haveSharedData()) GTEST_SKIP() << testing_support::needsSharedData();
  int compared = 0;
  for (const char* folder : {"rwl", "crn", "compact", "derived"}) {
    for (const fs::directory_entry& e : fs::directory_iterator(kSharedData / folder)) {
      if (checkedFormat(e.path().string()) == ' ') continue;
      for (char to : {'C', '3'}) expectSameAsSession(e.path(), ' ', to);
      ++compared;
    }
  }
  EXPECT_GE(compared, 20);
}

TEST(Convert, NeverReplacesAFileUnasked) {
  TempDir dir;
  const std::string input = dir.file("site.rwl");
  fs::copy_file(kExamples / "measurements_01.rwl", input);
  const std::string original = readFile(input);
  dir.write("site.rwm", "keep me\n");

  auto refused = ringedit({"convert", "--out-dir", dir.path(), input});
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("exists: not replaced (use --force)"), std::string::npos)
      << refused.err;
  EXPECT_EQ(dir.read("site.rwm"), "keep me\n");

  auto forced = ringedit({"convert", "--force", "--out-dir", dir.path(), input});
  EXPECT_EQ(forced.status, 0) << forced.err;
  EXPECT_NE(dir.read("site.rwm"), "keep me\n");

  for (const std::string& target : {input, dir.path() + "/./site.rwl"}) {
    auto self = ringedit({"convert", "--force", "--from", "M", "-o", target, input});
    EXPECT_EQ(self.status, 2) << target;
    EXPECT_NE(self.err.find("would replace the input"), std::string::npos) << self.err;
    EXPECT_EQ(readFile(input), original) << target;
  }
}

TEST(Convert, ManyInputsIntoAFolderWithTheirOwnOutcome) {
  TempDir dir;
  const std::string out = dir.file("out");
  dir.write("unknown.txt", "nothing a reader knows\nat all\n");
  fs::copy_file(kExamples / "compact.rwm", dir.file("a.rwm"));
  fs::copy_file(kExamples / "measurements_001.rwl", dir.file("b.rwl"));
  auto run = ringedit({"convert", "--to", "M", "--out-dir", out, dir.file("a.rwm"),
                       dir.file("unknown.txt"), dir.file("b.rwl"), dir.file("missing.rwl")});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, dir.file("a.rwm") + ": 2 series, 61 values -> " + out + "/a.rwl\n" +
                         dir.file("b.rwl") + ": 2 series, 51 values -> " + out + "/b.rwl\n");
  EXPECT_NE(run.err.find(dir.file("unknown.txt") +
                         ": >> its format is not recognised: name it with --from"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find(dir.file("missing.rwl") + ": >> cannot be opened"), std::string::npos)
      << run.err;
  EXPECT_TRUE(fs::exists(out + "/a.rwl"));
  EXPECT_TRUE(fs::exists(out + "/b.rwl"));
  EXPECT_FALSE(fs::exists(out + "/unknown.rwl"));
}

// Many inputs are read by two worker processes: the lines come in the
// inputs' order all the same, and every new file is the one a single input
// gives.
TEST(Convert, ManyInputsKeepTheirOrderAndTheirNewFiles) {
  TempDir dir;
  const char* sources[] = {"compact.rwm", "measurements_01.rwl", "measurements_001.rwl",
                           "indices.crn"};
  std::vector<std::string> words = {"convert", "--to", "3", "--out-dir", dir.file("out")};
  std::string want;
  for (int k = 0; k < 13; ++k) {
    std::string input = dir.file("in" + std::to_string(k) + ".dat");
    fs::copy_file(kExamples / sources[k % 4], input);
    words.push_back(input);
  }
  words.push_back(dir.file("absent.dat"));
  auto run = ringedit(words);
  EXPECT_EQ(run.status, 2) << run.err;
  EXPECT_EQ(run.err, dir.file("absent.dat") + ": >> cannot be opened\n");
  std::istringstream lines(run.out);
  std::string line;
  for (int k = 0; k < 13; ++k) {
    ASSERT_TRUE(std::getline(lines, line)) << k;
    std::string input = dir.file("in" + std::to_string(k) + ".dat");
    EXPECT_EQ(line.rfind(input + ": ", 0), 0u) << line;
    auto single = ringedit({"convert", "--to", "3", "-o", dir.file("single.rwl"), input});
    EXPECT_EQ(readFile(dir.file("out/in" + std::to_string(k) + ".rwl")),
              readFile(dir.file("single.rwl")))
        << k;
    fs::remove(dir.file("single.rwl"));
  }
  EXPECT_FALSE(std::getline(lines, line)) << line;
}

TEST(Convert, MessagesGiveStatusOneAndGoToStandardErrorByName) {
  TempDir dir;
  // The second line of the series is cut inside a value field.
  dir.write("cut.rwl",
            "CUT01   1901   101   102   103   104   105   106   107   108   109\n"
            "CUT01   1910   110   1\n"
            "CUT01   1920   120   999\n");
  auto run = ringedit({"convert", "--from", "M", "-o", dir.file("new.rwm"), dir.file("cut.rwl")});
  EXPECT_EQ(run.status, 1) << run.err;
  EXPECT_EQ(run.err.rfind(dir.file("cut.rwl") + ": >> ", 0), 0u) << run.err;
  EXPECT_NE(run.out.find(" -> " + dir.file("new.rwm")), std::string::npos) << run.out;
}

// A decadal file in hundredths of n series of 200 years each.
std::string decadalFile(int n) {
  std::string text;
  char line[96];
  for (int k = 0; k < n; ++k) {
    for (int decade = 1800; decade < 2000; decade += 10) {
      int used = std::snprintf(line, sizeof line, "S%03d    %4d", k, decade);
      for (int year = decade; year < decade + 10; ++year)
        used += std::snprintf(line + used, sizeof line - used, "%6d", 100 + (year + k) % 50);
      text += std::string(line, used) + "\n";
    }
    std::snprintf(line, sizeof line, "S%03d    2000   999\n", k);
    text += line;
  }
  return text;
}

// The new file is written through to the disk at the end, not after each
// series: a write that fails, in the middle (the file is over two of the file
// unit's 64 KiB buffers) or at the very end, is still reported and fails the
// input. A limit of the whole size writes the file.
TEST(Convert, AWriteThatFailsIsReportedWhereverTheNewFileStops) {
  TempDir dir;
  dir.write("in.rwl", decadalFile(200));
  for (const char* to : {"C", "M", "fh"}) {
    const std::string out = dir.file(std::string("new.") + to);
    const std::vector<std::string> words = {RINGEDIT_PATH, "convert", "--to", to,
                                            "--force",     "-o",      out,    dir.file("in.rwl")};
    auto whole = runProcess(words);
    ASSERT_EQ(whole.status, 0) << to << "\n" << whole.err;
    const std::string written = readFile(out);
    const long size = static_cast<long>(written.size());
    ASSERT_GT(size, 2 * 65536) << to;
    struct Case {
      long limit;
      bool fails;
    } cases[] = {{size, false}, {size - 1, true}, {size / 2, true}, {65536 + 100, true}};
    for (const Case& c : cases) {
      std::string what = std::string(to) + " limit " + std::to_string(c.limit);
      fs::remove(out);
      auto run = runProcess(words, "", {}, c.limit);
      if (!c.fails) {
        EXPECT_EQ(run.status, 0) << what << "\n" << run.err;
        EXPECT_EQ(readFile(out), written) << what;
        continue;
      }
      EXPECT_EQ(run.status, 2) << what << "\n" << run.err;
      EXPECT_NE(run.err.find("? File too large"), std::string::npos) << what << "\n" << run.err;
      EXPECT_EQ(run.out.find(" -> "), std::string::npos) << what << "\n" << run.out;
    }
  }
}

// Lines however they end (CR LF, LF or CR alone).
std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
    lines.push_back(text.substr(at, end - at));
    at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

// The line as a data line holds it: 80 columns, no trailing blanks.
std::string dataColumns(std::string line) {
  line.resize(std::min<std::size_t>(line.size(), 80));
  return line.substr(0, line.find_last_not_of(' ') + 1);
}

// An index file converted to indices keeps every value with its sample
// count: the new file's lines are the input's data lines, in order, and
// both list the same series.
TEST(Convert, IndicesKeepTheirSampleCounts) {
  std::vector<fs::path> inputs = {kExamples / "indices.crn"};
  const bool real = testing_support::haveSharedData();
  if (real)
    for (const char* name : {"Tucson2.crn", "Tucson4-cr.crn", "Tucson5-cr.crn"})
      inputs.push_back(kSharedData / "crn" / name);
  for (const fs::path& input : inputs) {
    TempDir dir;
    const std::string output = dir.file(input.stem().string() + ".crn");
    auto run = ringedit({"convert", "--to", "I", "--out-dir", dir.path(), input.string()});
    EXPECT_EQ(run.status, 0) << input << run.err;
    std::vector<std::string> in = linesOf(readFile(input));
    std::transform(in.begin(), in.end(), in.begin(), dataColumns);
    const std::vector<std::string> out = linesOf(dir.read(input.stem().string() + ".crn"));
    auto at = in.begin();
    for (const std::string& line : out) {
      at = std::find(at, in.end(), line);
      ASSERT_NE(at, in.end()) << input << ": not an input line in order: " << line;
    }
    // The series lines of a listing, without the file's name.
    auto series = [](const std::string& listing) {
      std::vector<std::string> lines = linesOf(listing);
      for (std::string& line : lines) line.erase(0, line.find(": ") + 2);
      return lines;
    };
    EXPECT_EQ(series(ringedit({"check", "--from", "I", output}).out),
              series(ringedit({"check", "--from", "I", input.string()}).out))
        << input;
    EXPECT_GT(out.size(), 5u) << input;
  }
  TempDir dir;
  auto refused = ringedit({"convert", "--to", "I", "-o", dir.file("x.crn"),
                           (kExamples / "measurements_01.rwl").string()});
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("--to I writes index files"), std::string::npos) << refused.err;
  EXPECT_FALSE(fs::exists(dir.file("x.crn")));
  if (!real)
    GTEST_SKIP() << testing_support::needsSharedData() << "; the examples alone were compared";
}

// A CSV table's numbers by series name and year.
std::map<std::string, std::map<long, double>> tableOf(const std::string& csv) {
  std::map<std::string, std::map<long, double>> table;
  std::vector<std::string> lines = linesOf(csv);
  if (lines.empty()) return table;
  auto cells = [](const std::string& line) {
    std::vector<std::string> list(1);
    for (char c : line) {
      if (c == ',')
        list.emplace_back();
      else
        list.back().push_back(c);
    }
    return list;
  };
  const std::vector<std::string> names = cells(lines[0]);
  for (std::size_t n = 1; n < lines.size(); ++n) {
    std::vector<std::string> row = cells(lines[n]);
    for (std::size_t k = 1; k < row.size() && k < names.size(); ++k)
      if (row[k] != "NA") table[names[k]][std::stol(row[0])] = std::stod(row[k]);
  }
  return table;
}

// Every pair of new-file formats one after the other keeps the series'
// names, years and values as far as the formats hold them (M: hundredths).
TEST(Convert, EveryPairOfFormatsKeepsTheSeries) {
  std::vector<fs::path> sources = {kExamples / "measurements_001.rwl", kExamples / "compact.rwm"};
  const bool real = testing_support::haveSharedData();
  if (real) {
    sources.push_back(kSharedData / "rwl" / "ca533.rwl");
    sources.push_back(kSharedData / "compact" / "tucsoncompact.rwm");
  }
  const std::vector<std::string> formats = {"C", "M", "3", "fh", "csv", "tridas"};
  for (const fs::path& source : sources) {
    TempDir dir;
    ASSERT_EQ(
        ringedit({"convert", "--to", "csv", "-o", dir.file("direct.csv"), source.string()}).status,
        0);
    const auto direct = tableOf(dir.read("direct.csv"));
    for (const std::string& x : formats) {
      for (const std::string& y : formats) {
        if (x == y) continue;
        std::string what = source.filename().string() + " " + x + " then " + y;
        fs::remove_all(dir.file("w"));
        fs::create_directories(dir.file("w"));
        auto first = ringedit({"convert", "--to", x, "-o", dir.file("w/1"), source.string()});
        auto second = ringedit({"convert", "--to", y, "-o", dir.file("w/2"), dir.file("w/1")});
        auto last = ringedit({"convert", "--to", "csv", "-o", dir.file("w/3"), dir.file("w/2")});
        ASSERT_EQ(first.status + second.status + last.status, 0)
            << what << first.err << second.err << last.err;
        const auto table = tableOf(dir.read("w/3"));
        const double tolerance = x == "M" || y == "M" ? 0.005001 : 0.0005001;
        ASSERT_EQ(table.size(), direct.size()) << what;
        for (const auto& [name, years] : direct) {
          ASSERT_EQ(table.count(name), 1u) << what << " " << name;
          const auto& got = table.at(name);
          ASSERT_EQ(got.size(), years.size()) << what << " " << name;
          EXPECT_EQ(got.begin()->first, years.begin()->first) << what << " " << name;
          for (const auto& [year, value] : years)
            ASSERT_NEAR(got.at(year), value, tolerance) << what << " " << name << " " << year;
        }
      }
    }
  }
  if (!real)
    GTEST_SKIP() << testing_support::needsSharedData() << "; the examples alone were compared";
}

// A real table with "NA" wherever a series has no value (23 series, each of
// its own length): every value reaches a series, and each format identified.
TEST(Convert, TablesWithMissingValuesKeepEveryValue) {
  const char* const name = "other/wa082.csv";
  if (!testing_support::haveSharedData(name))
    GTEST_SKIP() << testing_support::needsSharedData(name);
  const fs::path table = testing_support::sharedData(name);
  TempDir dir;
  auto run = ringedit({"convert", "--to", "tridas", "--out-dir", dir.path(), table.string()});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find(": 23 series, 4537 values -> "), std::string::npos) << run.out;
  auto fh = ringedit({"convert", "--to", "fh", "--out-dir", dir.path(), dir.file("wa082.xml")});
  EXPECT_NE(fh.out.find(": 23 series, 4537 values -> "), std::string::npos) << fh.out;
  for (const char* name : {"wa082.xml", "wa082.fh"}) {
    auto listed = ringedit({"check", dir.file(name)});
    EXPECT_EQ(listed.status, 0) << name;
    EXPECT_NE(listed.out.find(std::string(": format ") + (name[6] == 'x' ? "tridas" : "fh")),
              std::string::npos)
        << listed.out;
  }
}

// A table's row holds a value of every series: a wide one is written whole.
TEST(Convert, WideTablesAreWrittenWhole) {
  TempDir dir;
  std::string header = "year", row = "1900";
  for (int k = 0; k < 1500; ++k) {
    header += ",SERIES" + std::to_string(10000 + k);
    row += ",1." + std::to_string(k % 100);
  }
  dir.write("wide.csv", header + "\n" + row + "\n");
  auto run = ringedit({"convert", "--to", "csv", "-o", dir.file("new.csv"), dir.file("wide.csv")});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find(": 1500 series, 1500 values -> "), std::string::npos) << run.out;
  EXPECT_EQ(linesOf(dir.read("new.csv")).front(), header);
}

// Names longer than the new file's identification field are cut, each cut
// told, and two that become equal are kept apart.
TEST(Convert, LongNamesAreCutToDistinctIdentifications) {
  TempDir dir;
  dir.write("long.csv",
            "year,MOUNTAIN_PINE_01,MOUNTAIN_PINE_02,SHORT\n1901,1.5,2.5,0.5\n1902,1.25,2,0.75\n");
  auto run = ringedit({"convert", "--to", "M", "-o", dir.file("new.rwl"), dir.file("long.csv")});
  EXPECT_EQ(run.status, 1) << run.err;
  const std::string name = dir.file("long.csv") + ": >> ";
  EXPECT_EQ(run.err, name + "Series MOUNTAIN_PINE_01: identification cut to 8 columns: MOUNTAIN\n" +
                         name +
                         "Series MOUNTAIN_PINE_02: identification cut to 8 columns: MOUNTAI2 "
                         "(MOUNTAIN stands for an earlier series)\n");
  auto listed = ringedit({"check", "--from", "M", dir.file("new.rwl")});
  EXPECT_NE(listed.out.find("  MOUNTAIN   1901   1902      2"), std::string::npos) << listed.out;
  EXPECT_NE(listed.out.find("  MOUNTAI2   1901   1902      2"), std::string::npos) << listed.out;
  EXPECT_NE(listed.out.find("  SHORT      1901   1902      2"), std::string::npos) << listed.out;
  auto whole = ringedit({"convert", "--to", "fh", "-o", dir.file("new.fh"), dir.file("long.csv")});
  EXPECT_EQ(whole.status, 0) << whole.err;
  EXPECT_NE(dir.read("new.fh").find("KeyCode=MOUNTAIN_PINE_02"), std::string::npos);
}

TEST(Check, ListsTheSeriesAndWritesNothing) {
  TempDir dir;
  fs::copy_file(kExamples / "measurements_01.rwl", dir.file("m.rwl"));
  auto run = ringedit({"check", dir.file("m.rwl")});
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string name = dir.file("m.rwl") + ": ";
  EXPECT_EQ(run.out, name + "format M\n" + name + "  EXA01      1923   1957     35\n" + name +
                         "  EXB02     -1012   -985     28\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
  EXPECT_EQ(ringedit({"check", dir.file("none.rwl")}).status, 2);
}

}  // namespace
