// Nested repeated groups against the records gfortran wrote for the same
// formats and items (data/nested_gfortran.txt, made by nested_gfortran.f90
// beside it): repeat counts at every depth, reversion, slashes, colons and
// the literals that follow the last item.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "fmtio/io.h"
#include "tests/support/console_script.h"

namespace fmtio {
namespace {

struct NestedCase {
  std::string format;
  int items = 0;
  std::string records;  // each record followed by "\n"
};

std::vector<NestedCase> loadCases() {
  std::ifstream in(std::string(RINGEDIT_SOURCE_DIR) + "/tests/fmtio/data/nested_gfortran.txt");
  std::vector<NestedCase> cases;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line[0] == '@') {
      std::size_t bar = line.rfind('|');
      cases.push_back({line.substr(1, bar - 1), std::stoi(line.substr(bar + 1)), ""});
    } else if (!cases.empty()) {
      cases.back().records += line + "\n";
    }
  }
  return cases;
}

std::string written(const NestedCase& c) {
  testing_support::ConsoleScript console;
  int code = console.run([&] {
    Format format(c.format);
    WriteStatement s = Statement::write(Control::of(kConsoleOutput), &format);
    for (std::int32_t i = 1; i <= c.items; ++i) s << i;
    s.end();
  });
  if (code != 0) return "exit " + std::to_string(code) + ": " + console.err();
  return console.outLines();
}

TEST(NestedGroups, WriteTheRecordsGfortranWrites) {
  std::vector<NestedCase> cases = loadCases();
  ASSERT_GE(cases.size(), 300u) << "data/nested_gfortran.txt missing or short";
  for (const NestedCase& c : cases)
    EXPECT_EQ(written(c), c.records) << c.format << " with " << c.items << " items";
}

}  // namespace
}  // namespace fmtio
