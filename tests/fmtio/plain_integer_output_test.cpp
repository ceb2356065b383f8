// The fast path of Iw output (no m, no plus sign) held to the general
// layout: Iw.1 asks for the same field through the general path, so both
// must give the same characters for every width and value, at the edges of
// each number of digits, of 32 and of 64 bits, and where the field is just
// too narrow for the digits or the sign.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "fmtio/edit_output.h"

namespace fmtio {
namespace {

// The buffer starts full of '?', so that a column the editor leaves
// unwritten shows instead of passing with what an earlier field left there.
std::string edit(int w, int m, std::int64_t value) {
  char buf[kMaxNumericField];
  std::memset(buf, '?', sizeof buf);
  const std::size_t n = editInteger(buf, Op::I, w, m, value, 8, OutputModes{});
  return std::string(buf, n) + ";";
}

std::vector<std::int64_t> edgeValues() {
  std::vector<std::int64_t> values = {0,
                                      std::numeric_limits<std::int64_t>::min(),
                                      std::numeric_limits<std::int64_t>::max(),
                                      std::numeric_limits<std::int32_t>::min(),
                                      std::numeric_limits<std::int32_t>::max(),
                                      4294967295,
                                      4294967296,
                                      -4294967295,
                                      -4294967296};
  // Every power of ten of 64 bits, 10^0 to 10^18, and its neighbours.
  for (std::int64_t p = 1;; p *= 10) {
    for (std::int64_t v : {p - 1, p, p + 1}) {
      values.push_back(v);
      values.push_back(-v);
    }
    if (p == 1000000000000000000) break;
  }
  return values;
}

TEST(PlainIntegerOutput, SameFieldAsTheGeneralLayout) {
  for (std::int64_t value : edgeValues())
    for (int w = 1; w <= 24; ++w)
      EXPECT_EQ(edit(w, kAbsent, value), edit(w, 1, value)) << "I" << w << " of " << value;
}

// Fields of up to eight columns are made from all eight digits at once:
// every value a decadal or compact field holds, and a stride over the rest
// of the eight digits, in each of those widths.
TEST(PlainIntegerOutput, ShortFieldsAgreeWithTheGeneralLayoutForEveryDataValue) {
  int differences = 0;
  auto check = [&](int w, std::int64_t value) {
    if (edit(w, kAbsent, value) != edit(w, 1, value) && ++differences <= 5)
      ADD_FAILURE() << "I" << w << " of " << value << ": " << edit(w, kAbsent, value);
  };
  for (int w : {3, 4, 6})
    for (std::int64_t value = -99999; value <= 999999; ++value) check(w, value);
  for (int w = 1; w <= 8; ++w)
    for (std::int64_t value = -100000000; value <= 100000000; value += 997) check(w, value);
  EXPECT_EQ(differences, 0);
}

struct Row {
  int w;
  std::int64_t value;
  const char* want;
};

TEST(PlainIntegerOutput, FieldsAtTheirEdges) {
  const Row rows[] = {
      {1, -1, "*;"},
      {2, -1, "-1;"},
      {1, 9, "9;"},
      {1, 10, "*;"},
      {3, -99, "-99;"},
      {3, -100, "***;"},
      {6, 99999, " 99999;"},
      {6, -99999, "-99999;"},
      {6, 100000, "100000;"},
      {6, -100000, "******;"},
      {20, std::numeric_limits<std::int64_t>::min(), "-9223372036854775808;"},
      {19, std::numeric_limits<std::int64_t>::min(), "*******************;"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(edit(r.w, kAbsent, r.value), r.want) << "I" << r.w << " of " << r.value;
}

}  // namespace
}  // namespace fmtio
