// Runtime options: VELMAR_RT_FLAGS words, TABSIZE and the command-line words.
#include "fmtio/options.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <utility>

#include "console_capture.h"

namespace fmtio {
namespace {

// Every field in one line, so that a row's failure shows what differs.
std::string describe(const RuntimeOptions& o) {
  const std::pair<const char*, bool> flags[] = {{"defaultcarriage", o.defaultCarriage},
                                                {"fileprompt", o.filePrompt},
                                                {"vaxnames", o.vaxNames},
                                                {"unixnames", o.unixNames},
                                                {"bigendian", o.bigEndian},
                                                {"littleendian", o.littleEndian},
                                                {"noleadzero", o.noLeadZero},
                                                {"reclen32", o.reclen32},
                                                {"f90nlexts", o.f90nlexts},
                                                {"printstop", o.printStop},
                                                {"connectunit9", o.connectUnit9},
                                                {"hex_uppercase", o.hexUppercase}};
  std::string s;
  for (const auto& [name, on] : flags)
    if (on) (s += name) += ' ';
  return s + "eol=" + std::to_string(o.terminator) + "," + std::to_string(o.companion) + "," +
         std::to_string(o.terminatorLength) + " tab=" + std::to_string(o.tabSize);
}

constexpr const char* kUnixEol = "eol=10,13,1 tab=8";

TEST(RuntimeFlags, WordsApplyInOrderAndUnknownOnesWarn) {
  const struct {
    const char* text;
    std::string want;
    const char* warnings;
  } rows[] = {
      {"", std::string("unixnames ") + kUnixEol, ""},
      {"  -doseol   -noleadzero", "unixnames noleadzero eol=10,13,2 tab=8", ""},
      {"-bogus", std::string("unixnames ") + kUnixEol, "Warning: unknown runtime option -bogus\n"},
      {"-bogus -printstop -what", std::string("unixnames printstop ") + kUnixEol,
       "Warning: unknown runtime option -bogus\nWarning: unknown runtime option -what\n"},
      {"-maceol", "unixnames eol=13,10,1 tab=8", ""},
      {"-maceol -unixeol", std::string("unixnames ") + kUnixEol, ""},
      {"-vaxnames", std::string("vaxnames ") + kUnixEol, ""},
      {"-vaxnames -unixnames", std::string("unixnames ") + kUnixEol, ""},
      {"-bigendian -littleendian", std::string("unixnames ") + kUnixEol,
       "Warning: compile time option overrides -bigendian\n"
       "Warning: compile time option overrides -littleendian\n"},
      // Names are compared over their own length: no blank is needed between them.
      {"-printstop-connectunit9", std::string("unixnames printstop connectunit9 ") + kUnixEol, ""},
      {"-connectunit9 -nounit9", std::string("unixnames ") + kUnixEol, ""},
      {"-nounit9x", std::string("unixnames ") + kUnixEol, "Warning: unknown runtime option x\n"},
      {"\t-hex_uppercase -defaultcarriage -fileprompt -reclen32 -f90nlexts ",
       std::string("defaultcarriage fileprompt unixnames reclen32 f90nlexts hex_uppercase ") +
           kUnixEol,
       ""},
      {"-DOSEOL", std::string("unixnames ") + kUnixEol,
       "Warning: unknown runtime option -DOSEOL\n"},
  };
  for (const auto& row : rows) {
    RuntimeOptions got;
    std::string warnings;
    parseRuntimeFlags(row.text, got, warnings);
    EXPECT_EQ(describe(got), row.want) << "flags '" << row.text << "'";
    EXPECT_EQ(warnings, row.warnings) << "flags '" << row.text << "'";
  }
}

TEST(RuntimeFlags, TabSizeFallsBackToEight) {
  const struct {
    const char* value;
    int want;
  } rows[] = {
      {nullptr, 8},
      {"", 8},
      {"4", 4},
      {"12", 12},
      {"abc", 8},
      {"-3", 8},
      {"0", 8},
      {"12abc", 8},
      {" 4", 8},
      {"00000000000000000004", 4},   // 20 characters
      {"000000000000000000004", 8},  // 21 characters
      {"99999999999", 8},
  };
  for (const auto& row : rows)
    EXPECT_EQ(parseTabSize(row.value), row.want)
        << "TABSIZE " << (row.value ? row.value : "(unset)");
}

using units_testing::ConsoleCaptureTest;

class RuntimeOptionsTest : public ConsoleCaptureTest {
 protected:
  void TearDown() override {
    unsetenv("VELMAR_RT_FLAGS");
    unsetenv("TABSIZE");
    ConsoleCaptureTest::TearDown();
  }
};

TEST_F(RuntimeOptionsTest, EnvironmentIsReadOnceAndWarningsGoToStandardError) {
  setenv("VELMAR_RT_FLAGS", "-bogus -printstop", 1);
  setenv("TABSIZE", "4", 1);
  resetRuntimeOptions();
  EXPECT_TRUE(runtimeOptions().printStop);
  EXPECT_EQ(runtimeOptions().tabSize, 4);
  EXPECT_TRUE(runtimeOptions().unixNames);
  EXPECT_EQ(err, "Warning: unknown runtime option -bogus\n");
  setenv("VELMAR_RT_FLAGS", "-noleadzero", 1);
  EXPECT_FALSE(runtimeOptions().noLeadZero);
  EXPECT_EQ(err, "Warning: unknown runtime option -bogus\n");
  EXPECT_EQ(out, "");
}

TEST_F(RuntimeOptionsTest, OnlyTheFirst128CharactersOfTheFlagsCount) {
  std::string flags = "-noleadzero" + std::string(117, ' ') + "-printstop";
  setenv("VELMAR_RT_FLAGS", flags.c_str(), 1);
  unsetenv("TABSIZE");
  resetRuntimeOptions();
  EXPECT_TRUE(runtimeOptions().noLeadZero);
  EXPECT_FALSE(runtimeOptions().printStop);
  EXPECT_EQ(runtimeOptions().tabSize, 8);
}

TEST_F(RuntimeOptionsTest, CommandLineWordsAreTakenOnceEachWithoutQuotes) {
  setCommandLine({"in.dat", "'out file.dat'", "\"x\"", "'"});
  const char* want[] = {"in.dat", "out file.dat", "x", "'"};
  std::string word;
  for (const char* w : want) {
    ASSERT_TRUE(takeCommandLineWord(word)) << w;
    EXPECT_EQ(word, w);
  }
  EXPECT_FALSE(takeCommandLineWord(word));
}

}  // namespace
}  // namespace fmtio
