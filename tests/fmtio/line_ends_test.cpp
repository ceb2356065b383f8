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

// Every record of the file, each followed by '|'.
std::string records(const std::string& bytes) {
  TempDir dir;
  dir.write("f.txt", bytes);
  ConsoleScript console;
  std::string all;
  console.run([&] {
    OpenSpec spec;
    spec.file = dir.file("f.txt");
    spec.status = "OLD";
    OPEN(Control::of(30), spec);
    std::string line(20, ' ');
    for (;;) {
      Control c = Control::of(30);
      c.end = true;
      if (READ(c, FMT("(A)"), line) != 0) break;
      all += line.substr(0, line.find_last_not_of(' ') + 1) + "|";
    }
    REWIND(Control::of(30));
    std::string first(20, ' ');
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

TEST(FileLineEnds, FindsCrAloneFilesBeyondTheFirstBuffer) {
  std::string bytes;
  for (int i = 0; i < 3000; ++i) bytes += "line" + std::to_string(i % 10) + "\r";
  std::string got = records(bytes);
  EXPECT_EQ(got.substr(0, 12), "line0|line1|");
  EXPECT_EQ(got.size(), 3000u * 6 + std::string("again:line0").size());
}

}  // namespace
}  // namespace fmtio
