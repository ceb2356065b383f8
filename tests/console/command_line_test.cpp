// Splitting the process's command line into the argument list.
#include "console/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace console {
namespace {

using Words = std::vector<std::string>;

struct SplitCase {
  std::string line;
  Words want;
};

TEST(CommandLineSplit, FollowsTheQuotingRules) {
  const SplitCase cases[] = {
      {R"(prog  a "b c" d)", {"prog", "a", "b c", "d"}},
      {R"(prog "" x)", {"prog"}},  // an empty argument ends the list
      {"prog\ta\t\tb", {"prog", "a", "b"}},
      {R"("C:\Program Files\ed.exe" -x)", {R"(C:\Program Files\ed.exe)", "-x"}},
      {R"(prog a\"b)", {"prog", R"(a"b)"}},
      {R"(prog "a""b")", {"prog", R"(a"b)"}},
      {R"(prog a\\"b c)", {"prog", R"(a\)", "b", "c"}},
      {R"(prog "x y"z)", {"prog", "x y", "z"}},  // a closing quote ends the argument
      {R"(prog "open to the end)", {"prog", "open to the end"}},
      {R"(prog a\b)", {"prog", R"(a\b)"}},
      {"prog   ", {"prog"}},
      {"", {}},
  };
  for (const SplitCase& c : cases) EXPECT_EQ(splitCommandLine(c.line), c.want) << c.line;
}

struct RemainderCase {
  std::string line;
  std::string want;
};

TEST(CommandLineRemainder, StartsAfterTheProgramName) {
  const RemainderCase cases[] = {
      {R"(prog  a "b c" d)", R"(a "b c" d)"},
      {R"("my prog" -fileprompt old.dat)", "-fileprompt old.dat"},
      {"prog\t\t x", "x"},
      {"prog", ""},
      {R"("unclosed name)", ""},
  };
  for (const RemainderCase& c : cases) EXPECT_EQ(commandLineRemainder(c.line), c.want) << c.line;
}

}  // namespace
}  // namespace console
