// Every statement ends: one left unended ends when it is destroyed (reported
// as a program error in debug builds), one an exception unwinds through is
// dropped, and one ended or moved from ends once.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

#include "fmtio/io.h"
#include "tests/support/console_script.h"

namespace fmtio {
namespace {

using testing_support::ConsoleScript;

#ifdef NDEBUG
constexpr bool kReportsUnended = false;
#else
constexpr bool kReportsUnended = true;
#endif

// The program-error line a debug build writes for an unended statement.
std::string unendedReport(const char* statement) {
  if (!kReportsUnended) return "";
  return std::string("? Program error: ") + statement + " statement destroyed without end()\n";
}

struct EndCase {
  const char* name;
  void (*body)();
  int wantCode;
  const char* wantOut;
  std::string wantErr;
};

TEST(StatementEnd, AStatementEndsOnceWhateverHappensToIt) {
  const EndCase cases[] = {
      {"an unended WRITE writes its record when destroyed",
       [] {
         WriteStatement s = Statement::write(kConsoleOutput, FMT("(I3,A)"));
         s << std::int32_t{42} << "!";
       },
       0, " 42!\n", unendedReport("WRITE")},
      {"an ended WRITE writes once",
       [] {
         WriteStatement s = Statement::write(kConsoleOutput, FMT("(I3)"));
         s << std::int32_t{7};
         EXPECT_EQ(s.end(), kCompleted);
       },
       0, "  7\n", ""},
      {"a moved-from statement leaves the ending to the one it moved to",
       [] {
         WriteStatement first = Statement::write(kConsoleOutput, FMT("(2I2)"));
         first << std::int32_t{1};
         WriteStatement second = std::move(first);
         second << std::int32_t{2};
         EXPECT_EQ(second.end(), kCompleted);
       },
       0, " 1 2\n", ""},
      {"an exception drops the record and the next statement runs",
       [] {
         try {
           WriteStatement s = Statement::write(kConsoleOutput, FMT("(A)"));
           s << "dropped";
           throw std::runtime_error("unwinding");
         } catch (const std::runtime_error&) {
         }
         WRITE(kConsoleOutput, FMT("(A)"), "next");
       },
       0, "next\n", ""},
      {"an error in the ending stops the run as end() would",
       [] {
         std::string two(2, ' ');
         WriteStatement s = Statement::write(Internal(two), &FMT("(I4)"));
         s << std::int32_t{1234};
       },
       -1, "",
       unendedReport("WRITE") + "? FORTRAN Runtime Error:\n"
                                "? Attempt to write a record longer than specified record length\n"
                                "? WRITE(UNIT=INTERNAL,...\n"},
  };
  for (const EndCase& c : cases) {
    ConsoleScript console;
    EXPECT_EQ(console.run(c.body), c.wantCode) << c.name;
    EXPECT_EQ(console.outLines(), c.wantOut) << c.name;
    EXPECT_EQ(console.err(), c.wantErr) << c.name;
  }
}

TEST(StatementEnd, AnUnendedReadEndsWithItsOutcomeStored) {
  ConsoleScript console;
  std::string record = "  12";
  std::int32_t value = 0, ios = 99;
  console.run([&] {
    ReadStatement s = Statement::read(Internal(record, {.iostat = &ios}), &FMT("(I4)"));
    s << value;
  });
  EXPECT_EQ(value, 12);
  EXPECT_EQ(ios, 0) << "the ending stores IOSTAT";
  EXPECT_EQ(console.err(), unendedReport("READ"));
}

TEST(StatementEnd, AnUnendedInternalWriteFillsItsVariable) {
  ConsoleScript console;
  std::string record(6, '#');
  console.run([&] {
    WriteStatement s = Statement::write(Internal(record), &FMT("(I3)"));
    s << std::int32_t{5};
  });
  EXPECT_EQ(record, "  5   ");
  EXPECT_EQ(console.err(), unendedReport("WRITE"));
}

}  // namespace
}  // namespace fmtio
