// Units: record reading and writing on files and on the console streams.
#include "fmtio/unit.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "console_capture.h"
#include "fmtio/unit_kinds.h"

namespace fmtio {
namespace {

using units_testing::ConsoleCaptureTest;

class UnitTest : public ConsoleCaptureTest {
 protected:
  Unit* openFile(int number, const std::string& file, const char* carriage = nullptr) {
    Control control;
    control.unit = number;
    OpenSpec spec;
    spec.file = file;
    if (carriage) spec.carriageControl = carriage;
    EXPECT_EQ(OPEN(control, spec), kCompleted) << file;
    int status = 0;
    return findUnit(number, StatementKind::Read, status);
  }
  static std::vector<std::string> readAll(Unit* unit) {
    std::vector<std::string> records;
    std::string record;
    int status;
    while ((status = unit->readRecord(record)) == 0) records.push_back(record);
    EXPECT_EQ(status, kErrEndOfFile);
    return records;
  }
  static int closeUnit(int number) {
    Control control;
    control.unit = number;
    return CLOSE(control);
  }
};

struct ReadRow {
  const char* what;
  bool macEol;
  int tabSize;
  std::string bytes;
  std::vector<std::string> want;
};

TEST_F(UnitTest, RecordsEndAtTheTerminatorWithCompanionsDroppedAndTabsExpanded) {
  const std::string longLine(20000, 'x');
  const std::string edge(8191, 'y');  // CR is the buffer's last byte, LF the next one's first
  const ReadRow rows[] = {
      {"LF", false, 8, "ab\ncd\n", {"ab", "cd"}},
      {"CR LF", false, 8, "ab\r\ncd\r\n", {"ab", "cd"}},
      {"last record unterminated", false, 8, "ab\ncd", {"ab", "cd"}},
      {"empty file", false, 8, "", {}},
      {"empty records", false, 8, "\n\r\n", {"", ""}},
      {"CR inside a line", false, 8, "a\rb\n", {"ab"}},
      // A file without one LF but with CRs has CR line ends (old Macintosh files).
      {"CR only: CR ends the lines", false, 8, "ab\rcd\r", {"ab", "cd"}},
      {"-maceol CR", true, 8, "ab\rcd\r", {"ab", "cd"}},
      {"-maceol LF dropped", true, 8, "ab\ncd\r", {"abcd"}},
      {"tab after one column", false, 8, "a\tb\n", {"a       b"}},
      {"tab at column 0", false, 8, "\tx\n", {"        x"}},
      {"tab at a stop", false, 8, "12345678\tx\n", {"12345678        x"}},
      {"TABSIZE 4", false, 4, "ab\tc\t\td\n", {"ab  c       d"}},
      {"TABSIZE 1", false, 1, "a\tb\n", {"a b"}},
      {"tab after a dropped CR", false, 4, "a\r\tb\n", {"a   b"}},
      {"record over several buffers", false, 8, longLine + "\r\nz", {longLine, "z"}},
      {"CR LF across buffers", false, 8, edge + "\r\nz\n", {edge, "z"}},
  };
  int number = 20;
  for (const ReadRow& row : rows) {
    RuntimeOptions options;
    if (row.macEol) parseRuntimeFlags("-maceol", options, err);
    options.tabSize = row.tabSize;
    useOptions(options);
    create(path("in.txt"), row.bytes);
    Unit* unit = openFile(++number, path("in.txt"));
    ASSERT_NE(unit, nullptr) << row.what;
    EXPECT_EQ(readAll(unit), row.want) << row.what;
    std::string record = "stale";
    EXPECT_EQ(unit->readRecord(record), kErrEndOfFile) << row.what << ": end of file again";
    EXPECT_EQ(record, "") << row.what;
  }
}

TEST_F(UnitTest, RewindReadsTheFirstRecordAgainAfterPendingOutput) {
  Unit* unit = openFile(11, path("rw.txt"));
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(unit->writeRecord("first", true), 0);
  EXPECT_EQ(unit->writeRecord("sec", false), 0);
  EXPECT_EQ(unit->writeRecord("ond", false), 0);
  Control control;
  control.unit = 11;
  EXPECT_EQ(REWIND(control), kCompleted);
  EXPECT_EQ(contents(path("rw.txt")), "first\r\nsecond\r\n") << "open record ended, buffer out";
  EXPECT_EQ(readAll(unit), (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(REWIND(control), kCompleted);
  std::string record;
  EXPECT_EQ(unit->readRecord(record), 0);
  EXPECT_EQ(record, "first");
  EXPECT_EQ(unit->writeRecord("new", true), 0);
  EXPECT_EQ(closeUnit(11), kCompleted);
  EXPECT_EQ(contents(path("rw.txt")), "first\r\nnew\r\n") << "a write after a read ends the file";
  control.unit = 40;
  EXPECT_EQ(REWIND(control), kCompleted) << "an unconnected unit is left alone";
  EXPECT_EQ(out, "") << "and no file name is asked for";
}

struct WriteRow {
  const char* what;
  const char* carriage;
  bool macEol;
  std::vector<std::pair<std::string, bool>> records;  // text, advance
  std::string want;
};

TEST_F(UnitTest, CarriageControlSelectsTheBytesOfEachRecord) {
  const WriteRow rows[] = {
      {"LIST", nullptr, false, {{"abc", true}}, "abc\r\n"},
      {"LIST blank first", "LIST", false, {{" abc", true}, {"", true}}, " abc\r\n\r\n"},
      {"LIST open line", nullptr, false, {{"ab", false}, {"cd", true}}, "abcd\r\n"},
      {"LIST open at close", nullptr, false, {{"ab", false}}, "ab\r\n"},
      {"LIST -maceol", nullptr, true, {{"ab", true}}, "ab\n\r"},
      {"FORTRAN blank", "FORTRAN", false, {{" abc", true}}, "\nabc\r"},
      {"FORTRAN +", "fortran", false, {{"+First  3 lines", true}}, "First  3 lines\r"},
      {"FORTRAN 0", "FORTRAN", false, {{"0x", true}}, "\n\nx\r"},
      {"FORTRAN -", "FORTRAN", false, {{"-x", true}}, "\n\n\nx\r"},
      {"FORTRAN 1", "FORTRAN", false, {{"1x", true}}, "\fx\r"},
      {"FORTRAN other", "FORTRAN", false, {{"Ax", true}}, "\nx\r"},
      {"FORTRAN empty", "FORTRAN", false, {{"", true}}, "\n\r"},
      {"FORTRAN open line", "FORTRAN", false, {{"1ab", false}, {"0cd", true}}, "\fab0cd\r"},
  };
  int number = 20;
  for (const WriteRow& row : rows) {
    RuntimeOptions options;
    if (row.macEol) parseRuntimeFlags("-maceol", options, err);
    useOptions(options);
    std::string file = path("out" + std::to_string(++number) + ".txt");
    Unit* unit = openFile(number, file, row.carriage);
    ASSERT_NE(unit, nullptr) << row.what;
    for (const auto& [text, advance] : row.records)
      EXPECT_EQ(unit->writeRecord(text, advance), 0) << row.what;
    EXPECT_EQ(closeUnit(number), kCompleted) << row.what;
    EXPECT_EQ(contents(file), row.want) << row.what;
  }
}

TEST_F(UnitTest, RecordLengthLimitCountsTheWholeLine) {
  Control control;
  control.unit = 12;
  OpenSpec spec;
  spec.file = path("recl.txt");
  spec.recl = 5;
  ASSERT_EQ(OPEN(control, spec), kCompleted);
  int status = 0;
  Unit* unit = findUnit(12, StatementKind::Write, status);
  EXPECT_EQ(unit->writeRecord("123456", true), kErrRecordTooLong);
  EXPECT_EQ(unit->writeRecord("12345", true), 0);
  EXPECT_EQ(unit->writeRecord("123", false), 0);
  EXPECT_EQ(unit->writeRecord("456", true), kErrRecordTooLong);
  EXPECT_EQ(unit->writeRecord("45", true), 0);
  EXPECT_EQ(closeUnit(12), kCompleted);
  EXPECT_EQ(contents(path("recl.txt")), "12345\r\n12345\r\n");
}

TEST_F(UnitTest, AFullDiskIsReportedNotLost) {
  Unit* unit = openFile(13, "/dev/full");
  ASSERT_NE(unit, nullptr);
  EXPECT_EQ(unit->writeRecord("abc", true), 0) << "buffered";
  EXPECT_EQ(unit->flush(), 28);
  EXPECT_EQ(unit->flush(), 28) << "the bytes are still waiting";
  std::int32_t iostat = 0;
  Control control;
  control.unit = 13;
  control.iostat = &iostat;
  EXPECT_EQ(CLOSE(control), kOutcomeError);
  EXPECT_EQ(iostat, 28);

  unit = openFile(13, "/dev/full");
  std::string big(FileUnit::kBufferSize, 'x');
  EXPECT_EQ(unit->writeRecord(big, true), 28) << "a full buffer is written at once";
  EXPECT_EQ(closeAllUnits(), 28);
  EXPECT_EQ(err, "? System Error:\n? No space left on device\n? CLOSE(UNIT=13,...\n");
}

TEST_F(UnitTest, ConsoleStreamsGoThroughTheHooks) {
  int status = 0;
  Unit* input = findUnit(kConsoleInput, StatementKind::Read, status);
  Unit* output = findUnit(kConsoleOutput, StatementKind::Write, status);
  Unit* error = findUnit(kConsoleError, StatementKind::Write, status);
  ASSERT_TRUE(input && output && error);
  EXPECT_TRUE(input->isConsole() && output->isConsole() && error->isConsole());
  EXPECT_EQ(findUnit(kDefaultUnit, StatementKind::Read, status), input);
  EXPECT_EQ(findUnit(kDefaultUnit, StatementKind::Write, status), output);
  EXPECT_TRUE(input->pad());

  EXPECT_EQ(output->writeRecord(" Name => ", false), 0);
  EXPECT_EQ(out, " Name => ") << "a question is shown before the read";
  EXPECT_EQ(lastWindow, kStandardWindow);
  typed = {"a\tb\r\n", "last"};
  std::string record;
  EXPECT_EQ(input->readRecord(record), 0);
  EXPECT_EQ(record, "a       b");
  EXPECT_EQ(input->readRecord(record), 0);
  EXPECT_EQ(record, "last");
  EXPECT_EQ(input->readRecord(record), kErrEndOfFile);
  EXPECT_EQ(output->writeRecord("done", true), 0);
  EXPECT_EQ(error->writeRecord("oops", true), 0);
  EXPECT_EQ(out, " Name => done\r\n");
  EXPECT_EQ(err, "oops\r\n");
  EXPECT_EQ(input->writeRecord("x", true), kErrNotOpenWrite);
  EXPECT_EQ(output->readRecord(record), kErrNotOpenRead);
  EXPECT_EQ(findUnit(-4, StatementKind::Write, status), nullptr);
  EXPECT_EQ(status, 10029);
}

TEST_F(UnitTest, DefaultCarriageGivesTheConsoleFortranCarriageControl) {
  RuntimeOptions options;
  options.defaultCarriage = true;
  useOptions(options);
  int status = 0;
  Unit* output = findUnit(kConsoleOutput, StatementKind::Write, status);
  ASSERT_NE(output, nullptr);
  EXPECT_EQ(output->writeRecord(" x", true), 0);
  EXPECT_EQ(output->writeRecord("+y", true), 0);
  EXPECT_EQ(out, "\nx\ry\r");
}

}  // namespace
}  // namespace fmtio
