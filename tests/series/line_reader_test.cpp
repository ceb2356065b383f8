// The line reader: lines put back come first, the last line keeps the
// columns beyond its length, every reader object keeps its own lines, and
// resetReaders forgets the readers' lines (put back and last) with the rest
// of their state.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "fmtio/io.h"
#include "fmtio/unit.h"
#include "series/datol.h"
#include "series/lines.h"
#include "tests/support/console_script.h"

namespace series {
namespace {

constexpr std::int32_t kUnit = 11;

void openLines(const std::string& path) {
  fmtio::OpenSpec file;
  file.file = path;
  file.status = "OLD";
  file.dataFile = true;
  fmtio::OPEN(fmtio::Control::of(kUnit), file);
}

// Runs body in a program run with the readers reset and unit kUnit
// connected to a data file holding text; closes the unit afterwards.
void withLines(const std::string& text, const std::function<void()>& body) {
  testing_support::TempDir dir;
  dir.write("in.txt", text);
  testing_support::ConsoleScript script;
  script.run([&] {
    resetReaders();
    openLines(dir.file("in.txt"));
    body();
    fmtio::CLOSE(fmtio::Control::of(kUnit));
  });
}

TEST(LineReader, LinesPutBackComeFirstTheLastPutBackFirst) {
  withLines("one\ntwo\nthree\n", [] {
    std::string line(5, ' ');
    ASSERT_EQ(readLine(kUnit, line), LineStatus::Ok);
    EXPECT_EQ(line, "one  ");
    unreadLine(kUnit);
    unreadLine(kUnit, "zero");
    ASSERT_EQ(readLine(kUnit, line), LineStatus::Ok);
    EXPECT_EQ(line, "zero ");
    ASSERT_EQ(readLine(kUnit, line), LineStatus::Ok);
    EXPECT_EQ(line, "one  ");
    ASSERT_EQ(readLine(kUnit, line), LineStatus::Ok);
    EXPECT_EQ(line, "two  ");
  });
}

TEST(LineReader, TheLastLineKeepsTheColumnsBeyondTheLine) {
  withLines("abcdefgh\nxy\n", [] {
    std::string line(4, ' ');
    ASSERT_EQ(readLine(kUnit, line), LineStatus::Ok);
    EXPECT_EQ(line, "abcd");
    EXPECT_EQ(lastLineRead(), "abcdefgh" + std::string(kLookBeyond - 8, ' '));
    ASSERT_EQ(readLine(kUnit, line), LineStatus::Ok);
    EXPECT_EQ(lastLineRead(), "xy" + std::string(kLookBeyond - 2, ' '));
    ASSERT_EQ(readLine(kUnit, line), LineStatus::End);
    EXPECT_EQ(lastLineRead(), std::string(kLookBeyond, ' '));
  });
}

TEST(LineReader, EachReaderKeepsItsOwnLines) {
  withLines("one\ntwo\n", [] {
    LineReader first, second;
    std::string line(3, ' ');
    first.unread(kUnit, "put");
    ASSERT_EQ(second.read(kUnit, line), LineStatus::Ok);
    EXPECT_EQ(line, "one");
    ASSERT_EQ(first.read(kUnit, line), LineStatus::Ok);
    EXPECT_EQ(line, "put");
    EXPECT_EQ(second.last().substr(0, 3), "one");
  });
}

TEST(LineReader, ResetReadersForgetsTheLinesPutBackAndTheLastLine) {
  withLines("one\ntwo\n", [] {
    std::string line(3, ' ');
    ASSERT_EQ(readLine(kUnit, line), LineStatus::Ok);
    unreadLine(kUnit);
    resetReaders();
    EXPECT_EQ(lastLineRead(), "");
    ASSERT_EQ(readLine(kUnit, line), LineStatus::Ok);
    EXPECT_EQ(line, "two");
  });
}

// What a reader that took the columns up to fieldsEnd of the line's first
// width columns is told about the rest: digits there are shown, blanks and
// words are not, whether the fields end before or after the columns read.
TEST(LineReader, DigitsBeyondTheColumnsReadAreShown) {
  const struct {
    const char* line;
    std::size_t width;
    std::size_t fieldsEnd;
    bool shown;
  } rows[] = {
      {"abcde", 5, 5, false},        {"abcde     ", 5, 3, false},
      {"abcde12345", 5, 5, true},    {"abcde12345", 5, 10, true},
      {"abcde   45", 5, 10, true},   {"abc 12    ", 10, 3, true},
      {"abc note  ", 10, 3, false},  {"abcdefgh  note", 10, 8, false},
      {"abcdefgh  12", 10, 8, true}, {"abcdefghij", 10, 12, false},
  };
  for (const auto& row : rows) {
    testing_support::TempDir dir;
    dir.write("in.txt", std::string(row.line) + "\n");
    testing_support::ConsoleScript script;
    script.run([&] {
      resetReaders();
      openLines(dir.file("in.txt"));
      std::string line(row.width, ' ');
      ASSERT_EQ(readLine(kUnit, line), LineStatus::Ok);
      reportCutData(row.fieldsEnd);
      fmtio::CLOSE(fmtio::Control::of(kUnit));
    });
    EXPECT_EQ(script.out().find("not read") != std::string::npos, row.shown)
        << "line '" << row.line << "' width " << row.width << " fields end " << row.fieldsEnd
        << ": " << script.out();
  }
}

}  // namespace
}  // namespace series
