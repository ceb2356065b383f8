// Prompted answers: the question's layout, the answer's case and length, the
// "/" rule, and the numeric questions with their rejection records.
#include "dialogue/ask.h"

#include <gtest/gtest.h>

#include <string>

#include "fmtio/io.h"
#include "tests/support/console_script.h"

namespace dialogue {
namespace {

using testing_support::ConsoleScript;

TEST(AskString, LaysOutTheQuestionAndTakesTheAnswer) {
  struct Case {
    const char* question;
    std::size_t length;
    const char* typed;
    const char* wantOut;     // console text, LF line ends
    const char* wantAnswer;  // ';' marks the end
  } cases[] = {
      {"S: Copy all until ..      Select", 1, "c\n", " S: Copy all until ..      Select => ", "C;"},
      {"$New identification  _", 8, "ab1c\n", " New identification  _ => ", "ab1c    ;"},
      {"|Copy as title?  Y/<N>", 1, "y\n", "\n Copy as title?  Y/<N> => ", "Y;"},
      {"$|Name   ", 5, "aBc\n", "\n Name => ", "aBc  ;"},
      {"Cut", 3, "abcdef\n", " Cut => ", "ABC;"},
      {"Slash then text", 4, "/x\n", " Slash then text => ", "/X  ;"},
      {"Blank then slash", 3, " /\n", " Blank then slash => ", " / ;"},
  };
  for (const Case& c : cases) {
    ConsoleScript script(c.typed);
    std::string answer(c.length, '#');
    int code = script.run([&] {
      ASKSTR(c.question, answer);
      fmtio::WRITE(fmtio::kConsoleOutput, FMT("(A)"), "|");  // continues the question's open line
    });
    EXPECT_EQ(code, 0) << c.question;
    EXPECT_EQ(script.outLines(), std::string(c.wantOut) + "|\n") << c.question;
    EXPECT_EQ(answer + ";", c.wantAnswer) << c.question << " typed " << c.typed;
  }
}

TEST(AskString, SlashAloneOrBeforeABlankEndsTheRun) {
  struct Case {
    std::size_t length;
    const char* typed;
    bool exits;
  } cases[] = {{1, "/\n", true},
               {8, "/\n", true},
               {8, "/ 12\n", true},
               {1, "/xyz\n", true},
               {8, "/12\n", false}};
  for (const Case& c : cases) {
    ConsoleScript script(c.typed);
    bool returned = false;
    int code = script.run([&] {
      std::string answer(c.length, ' ');
      ASKSTR("Correct date of FIRST year", answer);
      returned = true;
    });
    EXPECT_EQ(code, 0) << c.typed << " length " << c.length;
    EXPECT_EQ(returned, !c.exits) << c.typed << " length " << c.length;
    EXPECT_EQ(script.err(), c.exits ? "Exit\n" : "") << c.typed << " length " << c.length;
  }
}

// The records a rejected answer adds after the question: BELLUP, then the
// marker record ending in column 80 of the record (76 of the screen).
std::string rejection(std::string_view word) {
  return " \a\x1b[1A\r\n \x1b[1A" + std::string(75 - word.size(), ' ') + std::string(word) +
         "\x1b[1A\r\n";
}

TEST(AskNumbers, ReadTheNumberOrMarkTheLineAndAskAgain) {
  struct Case {
    bool integer;
    const char* typed;
    double want;
    int rejections;
  } cases[] = {
      {true, "42\n", 42, 0},
      {true, "      42\n", 42, 0},
      {true, "\n", 0, 0},
      {true, "    \n", 0, 0},
      {true, "-17 9,\n", -17, 0},
      {true, "12ab\n4\n", 4, 1},
      {true, "x\n2.5\n3\n", 3, 2},
      {true, "1234567890123\n", 1234567890, 0},
      {false, "2.5\n", 2.5, 0},
      {false, "1.5e2\n", 150, 0},
      {false, "\n", 0, 0},
      {false, "a\n-.5\n", -0.5, 1},
      // Answers that give no value leave the item as it was: rejected, not 0.
      {true, ",\n7\n", 7, 1},
      {true, "3*\n7\n", 7, 1},
      {true, "/5\n7\n", 7, 1},
      {true, ",1950\n,\n1\n", 1, 2},
      {true, "0\n", 0, 0},
      {true, "1\n", 1, 0},
      {false, ",\n2\n", 2, 1},
      {false, "2*\n2\n", 2, 1},
      {false, "0,\n", 0, 0},
      {false, "1\n", 1, 0},
      // A value that is not finite is no value.
      {false, "inf\n-Infinity\nnan\n3\n", 3, 3},
  };
  for (const Case& c : cases) {
    ConsoleScript script(c.typed);
    std::int32_t ivalue = 99;
    float rvalue = 99;
    int code = script.run([&] {
      if (c.integer) ASKINT("Years", ivalue);
      if (!c.integer) ASKNUM("Years", rvalue);
    });
    EXPECT_EQ(code, 0) << c.typed;
    EXPECT_FLOAT_EQ(c.integer ? ivalue : rvalue, c.want) << c.typed;
    std::string want = " Years => ";
    for (int i = 0; i < c.rejections; ++i)
      want += rejection(c.integer ? "INTEGER!" : "NUMBER!") + " Years => ";
    EXPECT_EQ(script.out(), want) << c.typed;
  }
}

TEST(AskNumbers, SlashEndsTheRunBeforeTheNumberIsRead) {
  ConsoleScript script("/\n");
  std::int32_t value = 5;
  int code = script.run([&] {
    ASKINT("Correct date of FIRST year", value);
    value = 6;
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(value, 5);
  EXPECT_EQ(script.err(), "Exit\n");
}

}  // namespace
}  // namespace dialogue
