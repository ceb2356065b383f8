// The user-format reading of DATOL (letter X): blocks of values read through
// a format the user types, the reversion over records, the end of the
// reading, the error message and the count capacity.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/series/series_files.h"

namespace series::testing {
namespace {

// Ten values of six columns with two decimals: k + 0.01, k + 0.02, ...
std::string record(int k, int values) {
  std::string line;
  for (int i = 1; i <= values; ++i) {
    std::string v = std::to_string(k) + "." + (i < 10 ? "0" : "") + std::to_string(i);
    line += std::string(6 - v.size(), ' ') + v;
  }
  return line + "\n";
}

std::vector<float> valuesOf(int k, int values) {
  std::vector<float> v;
  for (int i = 1; i <= values; ++i)
    v.push_back(static_cast<float>(k) + 0.01f * static_cast<float>(i));
  return v;
}

std::vector<float> joined(std::vector<std::vector<float>> parts) {
  std::vector<float> all;
  for (const std::vector<float>& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

struct UserCase {
  const char* name;
  std::string text;
  std::string answers;
  std::vector<std::vector<float>> want;  // values of each series
  std::int32_t finalCount;
  std::string message;  // the one " >> " message, or ""
};

TEST(UserFormatReading, BlocksThroughTheTypedFormat) {
  const std::string three = record(1, 10) + record(2, 10) + record(3, 5) + record(4, 3);
  // clang-format off
  const UserCase cases[] = {
      {"25 values take three records; the next block starts after them", three,
       "(10F6.2)\n25\n(10F6.2)\n3\n\n",
       {joined({valuesOf(1, 10), valuesOf(2, 10), valuesOf(3, 5)}), valuesOf(4, 3)}, 0, ""},
      {"the format is upper-cased and may skip columns", "ID      " + record(5, 4),
       "(8x,4f6.2)\n4\n\n", {valuesOf(5, 4)}, 0, ""},
      {"an empty answer ends the reading at once", three, "\n", {}, 0, ""},
      {"fewer values than asked", record(1, 10) + record(2, 8), "(10F6.2)\n25\n", {}, -1,
       " >> Sbr DATOL: Format error or less than    25 data"},
      {"a format that does not compile", three, "(10F6.2\n5\n", {}, -1,
       " >> Sbr DATOL: Format error or less than     5 data"},
      {"a record the format cannot read", three, "(10I6)\n5\n", {}, -1,
       " >> Sbr DATOL: Format error or less than     5 data"},
      {"a count of 0 ends the reading", three, "(10F6.2)\n0\n", {}, 0, ""},
      {"a negative count is returned as it is", three, "(10F6.2)\n-3\n", {}, -3, ""},
      {"a count above 4096 is asked again", three, "(10F6.2)\n5000\n2\n\n",
       {valuesOf(1, 2)}, 0, " >> Sbr DATOL: A series holds at most 4096 values, not       5000"},
      {"4096 values fit", std::string(4096, '1') + "\n", "(4096F1.0)\n4096\n\n",
       {std::vector<float>(4096, 1.0f)}, 0, ""},
  };
  // clang-format on
  for (const UserCase& c : cases) {
    ReadOptions options;
    options.answers = c.answers;
    ReadOutcome got = readText(c.text, 'X', options);
    ASSERT_EQ(got.series.size(), c.want.size()) << c.name << "\n" << got.out;
    for (std::size_t i = 0; i < c.want.size(); ++i) {
      ASSERT_EQ(got.series[i].values.size(), c.want[i].size()) << c.name << " series " << i;
      for (std::size_t k = 0; k < c.want[i].size(); ++k)
        EXPECT_NEAR(got.series[i].values[k], c.want[i][k], 1e-5) << c.name << " value " << k;
    }
    EXPECT_EQ(got.finalCount, c.finalCount) << c.name;
    expectMessage(got.out, c.message, c.name);
    EXPECT_EQ(got.out.find('\a') != std::string::npos, !c.message.empty()) << c.name;
    EXPECT_EQ(got.unreadAnswers, "") << c.name;
    EXPECT_EQ(got.exitCode, 0) << c.name;
  }
}

TEST(UserFormatReading, AsksWithTheHintAndKeepsIdentificationAndYear) {
  ReadOptions options;
  options.answers = "(10F6.2)\n2\n\n";
  options.passedIdent = "KEEP ME ";
  ReadOutcome got = readText(record(1, 10), 'X', options);
  ASSERT_EQ(got.series.size(), 1u);
  EXPECT_EQ(got.series[0].ident, "KEEP ME ");
  EXPECT_EQ(got.series[0].firstYear, 0);
  // Each question is answered on its own line; the hint starts in column 40
  // of the record after it.
  const std::string hint = std::string(39, ' ') + "<CR> if no more data to read\n";
  const std::string asked = hint +
                            " FORMAT for reading file (with parentheses) =>  Number of values "
                            "to read => " +
                            hint + " FORMAT for reading file (with parentheses) => ";
  EXPECT_NE(got.out.find(asked), std::string::npos) << got.out;
}

}  // namespace
}  // namespace series::testing
