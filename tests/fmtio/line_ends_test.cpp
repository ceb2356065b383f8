// Lines of files written on different systems read as the same records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fmtio/io.h"
#include "fmtio/unit.h"
#include "tests/support/console_script.h"

namespace fmtio {
namespace {

using testing_support::ConsoleScript;
using testing_support::TempDir;

// Every record of the file, each followed by '|', then the first record
// again after a REWIND, as a variable of width characters holds them. A data
// file is opened as one.
std::string records(const std::string& bytes, bool dataFile = false, std::size_t width = 20) {
  TempDir dir;
  dir.write("f.txt", bytes);
  ConsoleScript console;
  std::string all;
  console.run([&] {
    OpenSpec spec;
    spec.file = dir.file("f.txt");
    spec.status = "OLD";
    spec.dataFile = dataFile;
    OPEN(Control::of(30), spec);
    std::string line(width, ' ');
    for (;;) {
      Control c = Control::of(30);
      c.end = true;
      if (READ(c, FMT("(A)"), line) != 0) break;
      all += line.substr(0, line.find_last_not_of(' ') + 1) + "|";
    }
    REWIND(Control::of(30));
    std::string first(width, ' ');
    READ(30, FMT("(A)"), first);
    all += "again:" + first.substr(0, first.find_last_not_of(' ') + 1);
  });
  return all;
}

struct LineEndCase {
  const char* name;
  std::string bytes;
  const char* want;
};

TEST(FileLineEnds, ReadTheSameRecordsWhateverTheLineEnd) {
  const LineEndCase cases[] = {
      {"LF", "ab\ncd\n", "ab|cd|again:ab"},
      {"CR LF", "ab\r\ncd\r\n", "ab|cd|again:ab"},
      {"CR CR LF", "ab\r\r\ncd\r\r\n", "ab|cd|again:ab"},
      {"CR alone", "ab\rcd\r", "ab|cd|again:ab"},
      {"CR alone, no final line end", "ab\rcd", "ab|cd|again:ab"},
      {"no line end at all", "abcd", "abcd|again:abcd"},
      {"CR inside an LF line is dropped", "a\rb\ncd\n", "ab|cd|again:ab"},
  };
  for (const LineEndCase& c : cases) EXPECT_EQ(records(c.bytes), c.want) << c.name;
}

// A data file is read line by line however its lines end, each line end
// once, and a byte order mark before its first line is passed over.
TEST(DataFileLineEnds, ReadEveryKindOfLineEndAsOneEnd) {
  const std::string bom = "\xEF\xBB\xBF";
  const std::string edge(8191, 'y');                // a line end at the end of the first buffer
  const std::string edgeRead = edge.substr(0, 20);  // as the 20-character variable holds it
  const struct {
    const char* name;
    std::string bytes;
    std::string want;
  } cases[] = {
      {"LF", "ab\ncd\n", "ab|cd|again:ab"},
      {"CR LF", "ab\r\ncd\r\n", "ab|cd|again:ab"},
      {"CR alone", "ab\rcd\r", "ab|cd|again:ab"},
      {"CR CR LF", "ab\r\r\ncd\r\r\n", "ab|cd|again:ab"},
      {"header in CR LF, data in CR", "h1\r\nh2\r\nd1\rd2\rd3\r", "h1|h2|d1|d2|d3|again:h1"},
      {"CR lines with one LF late", "a\rb\rc\nd\re\r", "a|b|c|d|e|again:a"},
      {"LF lines with one CR line", "a\nb\rc\n", "a|b|c|again:a"},
      {"empty lines in each kind", "a\n\nb\r\n\r\nc\r\rd", "a||b||c||d|again:a"},
      {"no line end at all", "abcd", "abcd|again:abcd"},
      {"byte order mark", bom + "ab\r\ncd\r\n", "ab|cd|again:ab"},
      {"byte order mark and CR lines", bom + "ab\rcd", "ab|cd|again:ab"},
      {"byte order mark alone: no record, the READ after REWIND ends the run", bom, ""},
      {"byte order mark only at the start", "ab\n" + bom + "cd\n", "ab|" + bom + "cd|again:ab"},
      {"CR LF across buffers", edge + "\r\nz\n", edgeRead + "|z|again:" + edgeRead},
      {"CR CR LF across buffers", edge.substr(1) + "\r\r\nz\r", edgeRead + "|z|again:" + edgeRead},
      {"CR at a buffer's end", edge + "\rz\r", edgeRead + "|z|again:" + edgeRead},
      {"CR CR at a buffer's end", edge.substr(1) + "\r\rz", edgeRead + "||z|again:" + edgeRead},
  };
  for (const auto& c : cases) EXPECT_EQ(records(c.bytes, true), c.want) << c.name;
}

// Lines of every length up to three times the sixteen bytes the quick
// search compares at once, each with no tab or one at a column around
// those sixteens, under each line end: every line reads whole, its tab
// expanded to the next multiple of eight, and the line after it too.
TEST(DataFileLineEnds, LinesOfEveryLengthReadWholeWithTheirTabsExpanded) {
  std::string bytes, want;
  for (std::size_t length = 0; length <= 48; ++length)
    for (std::size_t tab : {length, std::size_t{0}, std::size_t{7}, std::size_t{15},
                            std::size_t{16}, std::size_t{17}, length == 0 ? 0 : length - 1})
      for (const char* end : {"\n", "\r\n", "\r", "\r\r\n"}) {
        if (tab > length) continue;  // a tab at the line's length: none
        std::string line, expanded;
        for (std::size_t i = 0; i < length; ++i) {
          const char c = i == tab ? '\t' : static_cast<char>('a' + i % 26);
          line += c;
          if (c == '\t')
            expanded.append(8 - expanded.size() % 8, ' ');
          else
            expanded += c;
        }
        bytes += line + end + "next" + end;
        want += expanded.substr(0, expanded.find_last_not_of(' ') + 1) + "|next|";
      }
  EXPECT_EQ(records(bytes, true, 80), want + "again:");
}

// Files that are not data files keep the rules above: a CR inside an LF
// line is dropped, a byte order mark is read as characters.
TEST(DataFileLineEnds, OtherFilesKeepTheirRules) {
  EXPECT_EQ(records("a\rb\nc\n"), "ab|c|again:ab");
  EXPECT_EQ(records("\xEF\xBB\xBF"
                    "ab\n"),
            "\xEF\xBB\xBF"
            "ab|again:\xEF\xBB\xBF"
            "ab");
}

TEST(FileLineEnds, FindsCrAloneFilesBeyondTheFirstBuffer) {
  std::string bytes;
  for (int i = 0; i < 3000; ++i) bytes += "line" + std::to_string(i % 10) + "\r";
  std::string got = records(bytes);
  EXPECT_EQ(got.substr(0, 12), "line0|line1|");
  EXPECT_EQ(got.size(), 3000u * 6 + std::string("again:line0").size());
}

}  // namespace
}  // namespace fmtio
