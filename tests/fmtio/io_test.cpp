// READ and WRITE statements end to end: records, positioning, literals, the
// end-of-statement rule, outcomes and IOSTAT, on internal files and the console.
#include "fmtio/io.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/console_script.h"

namespace fmtio {
namespace {

using testing_support::ConsoleScript;

struct InternalWriteCase {
  const char* name;
  std::string (*run)();
  const char* want;  // ';' marks the end so trailing blanks show
};

template <class... Ts>
std::string internalWrite(std::size_t length, const char* format, const Ts&... items) {
  std::string var(length, '#');
  Format f(format);
  std::int32_t ios = 0;
  int rc = WRITE(Internal(var, {.iostat = &ios}), f, items...);
  if (rc != 0) return "outcome " + std::to_string(rc) + " iostat " + std::to_string(ios);
  return var + ";";
}

TEST(InternalWrite, BuildsRecordsColumnForColumn) {
  const InternalWriteCase cases[] = {
      {"built format", [] { return internalWrite(20, "('(',I2,'F',I1,'.0)')", 10, 6); },
       "(10F6.0)            ;"},
      {"summary line",
       [] {
         return internalWrite(60, "(' No',I4,2X,A,' Interval',3I6,' years')", 3,
                              std::string("ABC01   "), 1901, 1910, 10);
       },
       " No   3  ABC01    Interval  1901  1910    10 years          ;"},
      {"colon stops trailing text", [] { return internalWrite(10, "(I4,:,' more')", 7); },
       "   7      ;"},
      {"T moves to a column", [] { return internalWrite(12, "(T10,'x',T2,'y')"); },
       " y       x  ;"},
      {"TL lets a later field overwrite",
       [] { return internalWrite(8, "(A5,TL3,A1)", std::string("abcde"), std::string("X")); },
       "abXde   ;"},
      {"X skips with blanks", [] { return internalWrite(8, "(I2,3X,I2)", 1, 2); }, " 1    2 ;"},
      {"trailing literals stop where an outer group loops",
       [] { return internalWrite(6, "(2(2(I1,\"q\")),\"x\")", 1, 2); }, "1q2q  ;"},
      {"trailing literals repeat with every enclosing group",
       [] { return internalWrite(8, "(I1,3(2(\"a\")))", 1); }, "1aaaaaa ;"},
      {"trailing X adds nothing", [] { return internalWrite(6, "(I2,3X)", 1); }, " 1    ;"},
      {"A shorter and longer than the datum",
       [] { return internalWrite(8, "(A1,A5)", std::string("abc"), std::string("ab")); },
       "a   ab  ;"},
      {"A without width writes the datum", [] { return internalWrite(5, "(A)", "xyz"); }, "xyz  ;"},
      {"doubled quote and Hollerith", [] { return internalWrite(8, "('It''s',3HA,B)"); },
       "It'sA,B ;"},
      {"array items",
       [] {
         return internalWrite(9, "(3I3)", std::vector<std::int32_t>{1, 22, 333});
       },
       "  1 22333;"},
      {"record longer than the variable", [] { return internalWrite(3, "(I4)", 1234); },
       "outcome 1 iostat 10060"},
      {"second record of one variable", [] { return internalWrite(8, "(I2/I2)", 1, 2); },
       "outcome 1 iostat 10060"},
      {"I edits no real", [] { return internalWrite(8, "(I4)", 1.5f); }, "outcome 1 iostat 10022"},
      {"F edits no character", [] { return internalWrite(8, "(F4.1)", "ab"); },
       "outcome 1 iostat 10022"},
      {"format error", [] { return internalWrite(8, "(I4"); }, "outcome 1 iostat 10010"},
  };
  for (const InternalWriteCase& c : cases) EXPECT_EQ(c.run(), c.want) << c.name;
}

struct ReadResult {
  int outcome;
  std::int32_t iostat;
};

template <class... Ts>
ReadResult internalRead(std::string_view text, const char* format, Ts&... items) {
  Format f(format);
  std::int32_t ios = 12345;
  int rc = READ(Internal(text, {.iostat = &ios, .end = true}), f, items...);
  return {rc, ios};
}

TEST(InternalRead, ReadsFieldsWithImpliedPointsAndBlankModes) {
  float a = 0, b = 0, c = 0, d = 0;
  ASSERT_EQ(internalRead("  1234  12.3", "(2F6.2)", a, b).outcome, 0);
  EXPECT_FLOAT_EQ(a, 12.34f);
  EXPECT_FLOAT_EQ(b, 12.3f);
  ASSERT_EQ(internalRead("1 2 31 2 3", "(F5.2,BZ,F5.2)", c, d).outcome, 0);
  EXPECT_FLOAT_EQ(c, 1.23f);
  EXPECT_FLOAT_EQ(d, 102.03f);
}

TEST(InternalRead, ReportsOutcomesThroughIostat) {
  std::int32_t i = 7, j = 7;
  ReadResult bad = internalRead("12a4", "(I4)", i);
  EXPECT_EQ(bad.outcome, 1);
  EXPECT_EQ(bad.iostat, 10016);
  ReadResult blank = internalRead("    ", "(I4)", i);
  EXPECT_EQ(blank.outcome, 0);
  EXPECT_EQ(blank.iostat, 0);
  EXPECT_EQ(i, 0);
  ReadResult past = internalRead("  12", "(I4/I4)", i, j);
  EXPECT_EQ(past.outcome, 2);
  EXPECT_EQ(past.iostat, -1);
}

TEST(InternalRead, ReadsFieldsPastTheEndAsBlanks) {
  std::string s(6, '*');
  std::int32_t n = 9;
  ASSERT_EQ(internalRead("ab", "(A6,I3)", s, n).outcome, 0);
  EXPECT_EQ(s, "ab    ");
  EXPECT_EQ(n, 0);
}

TEST(InternalRead, TakesAlphaFieldsWiderOrNarrowerThanTheVariable) {
  std::string three(3, '*'), five(5, '*');
  ASSERT_EQ(internalRead("abcdefgh", "(A5,A2)", three, five).outcome, 0);
  EXPECT_EQ(three, "cde");
  EXPECT_EQ(five, "fg   ");
}

// A field the record's end cuts short holds only the characters present.
TEST(InternalRead, TakesAlphaFieldsCutShortByTheRecord) {
  const struct {
    const char* record;
    const char* format;
    const char* want;  // a CHARACTER*5 item, ';' after it
  } rows[] = {
      {"abc", "(A10)", "abc  ;"},        {"abcdef", "(A7)", "bcdef;"},
      {"abcdefg", "(A7)", "cdefg;"},     {"abcdef", "(A6)", "bcdef;"},
      {"ab", "(A5)", "ab   ;"},          {"xyz", "(3X,A9)", "     ;"},
      {"abcdefgh", "(2X,A9)", "defgh;"},
  };
  for (const auto& row : rows) {
    std::string five(5, '*');
    ASSERT_EQ(internalRead(row.record, row.format, five).outcome, 0) << row.format;
    EXPECT_EQ(five + ";", row.want) << row.record << " " << row.format;
  }
}

TEST(InternalRead, ReadsListDirectedValues) {
  std::int32_t year = 0;
  float value = 0;
  ASSERT_EQ(READ(Internal(std::string_view("  1950  1.234")), LIST, year, value), 0);
  EXPECT_EQ(year, 1950);
  EXPECT_FLOAT_EQ(value, 1.234f);
  std::int32_t ios = 0;
  EXPECT_EQ(READ(Internal(std::string_view("   "), {.iostat = &ios}), LIST, year), 1);
  EXPECT_EQ(ios, -1);
}

TEST(Statement, RejectsUnknownItemTypes) {
  std::string var(4, ' ');
  std::int32_t ios = 0;
  Statement s = Statement::write(Internal(var, {.iostat = &ios}), &FMT("(I4)"));
  Item bogus;
  bogus.type = 0x12345;
  bogus.address = &ios;
  s.item(bogus);
  EXPECT_EQ(s.end(), 1);
  EXPECT_EQ(ios, 10048);
}

TEST(ConsoleStatements, RevertsToTheLastOutermostGroupOnNewRecords) {
  ConsoleScript console;
  int code = console.run([] {
    WriteStatement s = Statement::write(kConsoleOutput, FMT("(I4,2(I2,F6.2))"));
    for (int i = 1; i <= 7; ++i) {
      if (i == 1 || i % 2 == 0)
        s << std::int32_t(i);
      else
        s << float(i);
    }
    s.end();
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(console.outLines(), "   1 2  3.00 4  5.00\n 6  7.00\n");
}

TEST(ConsoleStatements, DollarKeepsTheAnswerOnTheQuestionLine) {
  ConsoleScript console("yes\n");
  std::string answer(5, ' ');
  console.run([&] {
    WRITE(kConsoleOutput, FMT("(1X,2A,$)"), "Name", " => ");
    READ(kConsoleInput, FMT("(A)"), answer);
    WRITE(kConsoleOutput, FMT("(A)"), "next");
  });
  EXPECT_EQ(answer, "yes  ");
  EXPECT_EQ(console.outLines(), " Name => next\n");
}

TEST(ConsoleStatements, WritesLiteralsUpToTheNextDataDescriptor) {
  ConsoleScript console;
  console.run([] { WRITE(kConsoleOutput, FMT("(2('a',I2))"), std::int32_t(1)); });
  EXPECT_EQ(console.outLines(), "a 1a\n");
}

TEST(ConsoleStatements, ReportsAnUntakenErrorAndStops) {
  ConsoleScript console;
  int code = console.run([] {
    std::int32_t n = 0;
    READ(Internal(std::string_view("x")), FMT("(I1)"), n);
    WRITE(kConsoleOutput, FMT("('not reached')"));
  });
  EXPECT_EQ(code, -1);
  EXPECT_EQ(console.out(), "");
  EXPECT_EQ(console.err(),
            "? FORTRAN Runtime Error:\n? Illegal character in numeric input\n"
            "? READ(UNIT=INTERNAL,...\n");
}

}  // namespace
}  // namespace fmtio
