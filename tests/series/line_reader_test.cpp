// The line reader: lines put back come first, the last line keeps the
// columns beyond its length, every reader object keeps its own lines, and
// resetReaders forgets the readers' lines (put back and last) with the rest
// of their state.
#include <gtest/gtest.h>

#include <cstdint>
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

TEST(LineReader, LinesPutBackComeFirstTheLastPutBackFirst) {
  testing_support::TempDir dir;
  dir.write("in.txt", "one\ntwo\nthree\n");
  testing_support::ConsoleScript script;
  script.run([&] {
    resetReaders();
    openLines(dir.file("in.txt"));
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
    fmtio::CLOSE(fmtio::Control::of(kUnit));
  });
}

TEST(LineReader, TheLastLineKeepsTheColumnsBeyondTheLine) {
  testing_support::TempDir dir;
  dir.write("in.txt", "abcdefgh\nxy\n");
  testing_support::ConsoleScript script;
  script.run([&] {
    resetReaders();
    openLines(dir.file("in.txt"));
    std::string line(4, ' ');
    ASSERT_EQ(readLine(kUnit, line), LineStatus::Ok);
    EXPECT_EQ(line, "abcd");
    EXPECT_EQ(lastLineRead(), "abcdefgh" + std::string(kLookBeyond - 8, ' '));
    ASSERT_EQ(readLine(kUnit, line), LineStatus::Ok);
    EXPECT_EQ(lastLineRead(), "xy" + std::string(kLookBeyond - 2, ' '));
    ASSERT_EQ(readLine(kUnit, line), LineStatus::End);
    EXPECT_EQ(lastLineRead(), std::string(kLookBeyond, ' '));
    fmtio::CLOSE(fmtio::Control::of(kUnit));
  });
}

TEST(LineReader, EachReaderKeepsItsOwnLines) {
  testing_support::TempDir dir;
  dir.write("in.txt", "one\ntwo\n");
  testing_support::ConsoleScript script;
  script.run([&] {
    openLines(dir.file("in.txt"));
    LineReader first, second;
    std::string line(3, ' ');
    first.unread(kUnit, "put");
    ASSERT_EQ(second.read(kUnit, line), LineStatus::Ok);
    EXPECT_EQ(line, "one");
    ASSERT_EQ(first.read(kUnit, line), LineStatus::Ok);
    EXPECT_EQ(line, "put");
    EXPECT_EQ(second.last().substr(0, 3), "one");
    fmtio::CLOSE(fmtio::Control::of(kUnit));
  });
}

TEST(LineReader, ResetReadersForgetsTheLinesPutBackAndTheLastLine) {
  testing_support::TempDir dir;
  dir.write("in.txt", "one\ntwo\n");
  testing_support::ConsoleScript script;
  script.run([&] {
    resetReaders();
    openLines(dir.file("in.txt"));
    std::string line(3, ' ');
    ASSERT_EQ(readLine(kUnit, line), LineStatus::Ok);
    unreadLine(kUnit);
    resetReaders();
    EXPECT_EQ(lastLineRead(), "");
    ASSERT_EQ(readLine(kUnit, line), LineStatus::Ok);
    EXPECT_EQ(line, "two");
    fmtio::CLOSE(fmtio::Control::of(kUnit));
  });
}

}  // namespace
}  // namespace series
