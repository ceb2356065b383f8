// Formats whose nested repeat counts multiply to billions of control entries
// before (or instead of) the next data descriptor, or move the output
// position billions of columns: a format typed for a file of unknown layout
// must end with an error, not keep the program busy for hours or allocate
// gigabytes. Formats that are merely large still work.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "fmtio/errors.h"
#include "fmtio/io.h"

namespace fmtio {
namespace {

// READ of one REAL*4 from "  1.5", WRITE of 7 into an internal record, or
// WRITE of 7 to standard output.
enum class Statement { Read, WriteInternal, WriteConsole };

struct LimitRow {
  const char* format;
  Statement statement;
  std::size_t size;  // of the internal record
  std::int32_t wantIostat;
};

int run(const LimitRow& row, std::int32_t& ios) {
  Format format(row.format);
  EXPECT_EQ(format.status(), 0) << row.format;
  std::string record = row.statement == Statement::Read ? "  1.5" : std::string(row.size, ' ');
  float value = 0;
  Control control{.unit = kConsoleOutput, .iostat = &ios, .err = true, .end = true};
  switch (row.statement) {
    case Statement::Read: return READ(Internal(record, control), format, value);
    case Statement::WriteInternal: return WRITE(Internal(record, control), format, std::int32_t{7});
    default: return WRITE(control, format, std::int32_t{7});
  }
}

TEST(WalkLimits, BillionsOfControlEntriesOrColumnsAreAnErrorNotAHang) {
  const LimitRow rows[] = {
      {"(32767(32767(32767X)),F8.3)", Statement::Read, 80, kErrFormat},
      {"(32767(32767(32767(32767()))),F8.3)", Statement::Read, 80, kErrFormat},
      {"(4(2999(2(47(4(3X))))),I4)", Statement::WriteInternal, 80, kErrFormat},
      {"(32767(32767('-')))", Statement::WriteConsole, 0, kErrFormat},
      {"(32767(32767('-')))", Statement::WriteInternal, 80, kErrRecordTooLong},
      {"(2000(1000(TR65535)),'F')", Statement::WriteInternal, 80, kErrRecordTooLong},
      {"(2000(1000(TR65535)),I4)", Statement::WriteInternal, 80, kErrRecordTooLong},
      {"(2000(1000(TR65535)),'F')", Statement::WriteConsole, 0, kErrRecordTooLong},
      {"(100(100(' ')),I4)", Statement::WriteInternal, 10004, 0},
      {"(T20,TL15,I4)", Statement::WriteInternal, 10, 0},
      {"(2000X,F8.3)", Statement::Read, 80, 0},
  };
  for (const LimitRow& row : rows) {
    std::int32_t ios = -7;
    int rc = run(row, ios);
    EXPECT_EQ(ios, row.wantIostat) << row.format;
    EXPECT_EQ(rc, row.wantIostat == 0 ? kCompleted : kOutcomeError) << row.format;
  }
}

}  // namespace
}  // namespace fmtio
