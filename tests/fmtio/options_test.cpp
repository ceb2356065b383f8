// Runtime options: VELMAR_RT_FLAGS words, TABSIZE and the command-line words.
#include "fmtio/options.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <functional>
#include <string>

#include "console_capture.h"

namespace fmtio {
namespace {

// Every field, so that a row's failure shows what differs.
std::string describe(const RuntimeOptions& o) {
  std::string s;
  auto flag = [&s](const char* name, bool on) {
    if (on) (s += name) += ' ';
  };
  flag("defaultcarriage", o.defaultCarriage);
  flag("fileprompt", o.filePrompt);
  flag("vaxnames", o.vaxNames);
  flag("unixnames", o.unixNames);
  flag("bigendian", o.bigEndian);
  flag("littleendian", o.littleEndian);
  flag("noleadzero", o.noLeadZero);
  flag("reclen32", o.reclen32);
  flag("f90nlexts", o.f90nlexts);
  flag("printstop", o.printStop);
  flag("connectunit9", o.connectUnit9);
  flag("hex_uppercase", o.hexUppercase);
  s += "term=" + std::to_string(o.terminator) + " comp=" + std::to_string(o.companion) +
       " len=" + std::to_string(o.terminatorLength) + " tab=" + std::to_string(o.tabSize);
  return s;
}

struct FlagsRow {
  const char* text;
  std::function<void(RuntimeOptions&)> want;  // changes from the defaults
  const char* warnings;
};

TEST(RuntimeFlags, WordsApplyInOrderAndUnknownOnesWarn) {
  const FlagsRow rows[] = {
      {"", [](RuntimeOptions& o) { o.unixNames = true; }, ""},
      {"  -doseol   -noleadzero",
       [](RuntimeOptions& o) {
         o.unixNames = true;
         o.terminatorLength = 2;
         o.noLeadZero = true;
       },
       ""},
      {"-bogus", [](RuntimeOptions& o) { o.unixNames = true; },
       "Warning: unknown runtime option -bogus\n"},
      {"-bogus -printstop -what",
       [](RuntimeOptions& o) {
         o.unixNames = true;
         o.printStop = true;
       },
       "Warning: unknown runtime option -bogus\nWarning: unknown runtime option -what\n"},
      {"-maceol",
       [](RuntimeOptions& o) {
         o.unixNames = true;
         o.terminator = '\r';
         o.companion = '\n';
       },
       ""},
      {"-maceol -unixeol", [](RuntimeOptions& o) { o.unixNames = true; }, ""},
      {"-vaxnames", [](RuntimeOptions& o) { o.vaxNames = true; }, ""},
      {"-vaxnames -unixnames", [](RuntimeOptions& o) { o.unixNames = true; }, ""},
      {"-bigendian -littleendian", [](RuntimeOptions& o) { o.unixNames = true; },
       "Warning: compile time option overrides -bigendian\n"
       "Warning: compile time option overrides -littleendian\n"},
      // Names are compared over their own length: no blank is needed between them.
      {"-printstop-connectunit9",
       [](RuntimeOptions& o) {
         o.unixNames = true;
         o.printStop = true;
         o.connectUnit9 = true;
       },
       ""},
      {"-connectunit9 -nounit9", [](RuntimeOptions& o) { o.unixNames = true; }, ""},
      {"-nounit9x", [](RuntimeOptions& o) { o.unixNames = true; },
       "Warning: unknown runtime option x\n"},
      {"\t-hex_uppercase -defaultcarriage -fileprompt -reclen32 -f90nlexts ",
       [](RuntimeOptions& o) {
         o.unixNames = true;
         o.hexUppercase = true;
         o.defaultCarriage = true;
         o.filePrompt = true;
         o.reclen32 = true;
         o.f90nlexts = true;
       },
       ""},
      {"-DOSEOL", [](RuntimeOptions& o) { o.unixNames = true; },
       "Warning: unknown runtime option -DOSEOL\n"},
  };
  for (const FlagsRow& row : rows) {
    RuntimeOptions got;
    std::string warnings;
    parseRuntimeFlags(row.text, got, warnings);
    RuntimeOptions want;
    row.want(want);
    EXPECT_EQ(describe(got), describe(want)) << "flags '" << row.text << "'";
    EXPECT_EQ(warnings, row.warnings) << "flags '" << row.text << "'";
  }
}

TEST(RuntimeFlags, TabSizeFallsBackToEight) {
  const struct {
    const char* value;
    int want;
  } rows[] = {
      {nullptr, 8},       {"", 8},   {"4", 4},     {"12", 12},
      {"abc", 8},         {"-3", 8}, {"0", 8},     {"12abc", 8},
      {" 4", 8},          {"00000000000000000004", 4},  // 20 characters
      {"000000000000000000004", 8},                      // 21 characters
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
